#pragma once

#include <string>

// Data paths are formed the Windows way ("kell-hud\data\hud.dat"). The file streams of the
// simulated build need forward slashes; on Windows the path is used as it stands.
inline std::string localPath(const char* path)
{
    std::string local = path;
#ifndef _WIN32
    for (char& c : local)
        if (c == '\\')
            c = '/';
#endif
    return local;
}
