#pragma once

#include <string>

// Data paths are formed the Windows way ("kell-hud\data\hud.dat"). On Windows the path is
// used as it stands. In the simulated build the simulated host turns it into its own form
// (forward slashes) and notes it, so a run can say which data files the plug-in read.
#ifdef _WIN32
inline std::string localPath(const char* path)
{
    return path;
}
#else
std::string localPath(const char* path);
#endif
