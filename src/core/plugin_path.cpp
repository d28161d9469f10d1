#include "core/plugin_path.h"

#include <cstring>

#include "platform/win32.h"

namespace {

constexpr DWORD nameSize = 260;
constexpr std::size_t bufferSize = 261;

char pluginFolder[bufferSize];
char joinedPath[bufferSize];

// Finds the folder of the library that holds this code, with its trailing backslash.
// Returns false when no usable folder name can be had.
bool findPluginFolder()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&findPluginFolder), &module)) {
        MessageBoxA(nullptr, "FILESYSTEM\nFailed to retrieve plugin dir path", "plugin-sdk", MB_OK);
        module = nullptr; // names the host's executable instead
    }

    char name[nameSize];
    const DWORD length = GetModuleFileNameA(module, name, nameSize);
    // A name that filled the buffer was cut short (and, on older Windows, not terminated).
    if (length == 0 || length >= nameSize)
        return false;
    name[length] = '\0';

    char* lastBackslash = std::strrchr(name, '\\');
    if (lastBackslash)
        lastBackslash[1] = '\0';
    std::memcpy(pluginFolder, name, std::strlen(name) + 1);
    return true;
}

} // namespace

const char* pluginPath(const char* relative)
{
    static const bool folderFound = findPluginFolder();

    // No folder, or no room for the whole path: an empty path, which no file opens, so
    // every reader falls back to its defaults.
    joinedPath[0] = '\0';
    if (!folderFound)
        return joinedPath;
    const std::size_t folderLength = std::strlen(pluginFolder);
    const std::size_t relativeLength = std::strlen(relative);
    if (folderLength + relativeLength >= bufferSize)
        return joinedPath;

    std::memcpy(joinedPath, pluginFolder, folderLength);
    std::memcpy(joinedPath + folderLength, relative, relativeLength + 1);
    return joinedPath;
}
