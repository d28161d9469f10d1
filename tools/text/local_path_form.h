#pragma once

#include <string>
#include <string_view>

// The plug-in and its data name files the Windows way ("kell-hud\data\hud.dat"). The same
// name in the form this machine writes paths: backslashes become its separator, which on
// Windows leaves the name as it is.
#ifdef _WIN32
inline constexpr char localSeparator = '\\';
#else
inline constexpr char localSeparator = '/';
#endif

inline std::string localPathForm(std::string_view windowsPath)
{
    std::string local(windowsPath);
    for (char& c : local)
        if (c == '\\')
            c = localSeparator;
    return local;
}
