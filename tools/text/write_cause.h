#pragma once

#include <cerrno>
#include <cstring>
#include <string>

// Why a write failed (an errno value), in the words a modder acts on.
inline std::string writeCause(int error)
{
    const std::string said = std::strerror(error);
    switch (error) {
    case ENOSPC:
        return "the disk is full (" + said + ")";
    case EACCES:
    case EPERM:
    case EROFS:
        return "the folder is read-only or the file is open in another program (" + said + ")";
    default:
        return said;
    }
}
