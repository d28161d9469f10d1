#pragma once

#include <cstdio>
#include <filesystem>

// A file opened to write bytes, by the path's own form on each platform: on Windows its
// wide form, which names the file whatever letters the path holds.
inline std::FILE* openForWriting(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}
