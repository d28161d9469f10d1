#pragma once

#include <filesystem>
#include <string>

// Paths held as text are UTF-8 in these programs on every platform (the Windows builds run
// with UTF-8 as their code page: cmake/windows-tools.cmake). A std::filesystem::path made
// from a plain std::string would read its bytes in another encoding on Windows, so text
// and std::filesystem paths cross only here.
inline std::filesystem::path utf8Path(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Text(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
