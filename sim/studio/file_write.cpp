#include "studio/file_write.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "text/open_for_writing.h"
#include "text/utf8_path.h"
#include "text/write_cause.h"

namespace studio {

namespace {

std::string openCause(int error, const std::filesystem::path& target)
{
    if (error == ENOENT)
        return "the folder " + utf8Text(target.parent_path()) + " does not exist";
    return writeCause(error);
}

#ifdef _WIN32
// MoveFileExW reports a Windows error code, not errno.
std::string moveCause(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return writeCause(ENOSPC);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return writeCause(EACCES);
    default:
        return std::system_category().message(static_cast<int>(error));
    }
}
#endif

} // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string& error)
{
    const std::filesystem::path target = utf8Path(path);
    std::filesystem::path partial = target;
    partial += ".studio-partial";
    const std::string failed = "cannot save " + path + ": ";
    const std::string unchanged = "; the file is as it was";

    errno = 0;
    std::FILE* file = openForWriting(partial);
    if (!file) {
        error = failed + openCause(errno ? errno : EIO, target) + unchanged;
        return false;
    }
    // The first failure names the cause; a full disk often shows only at the flush or close.
    int failure = 0;
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        failure = errno ? errno : EIO;
    errno = 0;
    if (std::fflush(file) != 0 && !failure)
        failure = errno ? errno : EIO;
    errno = 0;
    if (std::fclose(file) != 0 && !failure)
        failure = errno ? errno : EIO;

    std::string reason;
    if (failure) {
        reason = writeCause(failure);
    } else {
#ifdef _WIN32
        if (!MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            reason = moveCause(GetLastError());
#else
        // The new bytes keep the old file's permissions (a read-only hud.dat stays read-only).
        std::error_code noOldFile;
        const std::filesystem::file_status old = std::filesystem::status(target, noOldFile);
        if (!noOldFile)
            std::filesystem::permissions(partial, old.permissions(), noOldFile);
        errno = 0;
        if (std::rename(partial.c_str(), target.c_str()) != 0)
            reason = writeCause(errno ? errno : EIO);
#endif
    }
    if (reason.empty())
        return true;
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    error = failed + reason + unchanged;
    return false;
}

} // namespace studio
