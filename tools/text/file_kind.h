#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "text/utf8_path.h"

// What lies at a path, found without opening it: opening a pipe waits for a writer that
// may never come, and a file far too large must be refused before it is read. Each reader
// says in its own words what it makes of a folder, a pipe or a size.
enum class FileKind { Missing, Directory, Other, Regular };

struct FileLook {
    FileKind kind;
    uintmax_t size; // of a regular file whose size could be read; 0 otherwise
};

inline FileLook lookAt(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(utf8Path(path), ec);
    if (ec || !fs::exists(status))
        return {FileKind::Missing, 0};
    if (fs::is_directory(status))
        return {FileKind::Directory, 0};
    if (!fs::is_regular_file(status))
        return {FileKind::Other, 0};
    const uintmax_t size = fs::file_size(utf8Path(path), ec);
    return {FileKind::Regular, ec ? 0 : size};
}
