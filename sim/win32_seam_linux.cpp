// The Windows functions the plug-in calls, answered by the simulated host on Linux with
// Windows semantics.

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "host_image.h"
#include "plugin_loader.h"
#include "platform/local_path.h"
#include "platform/win32.h"
#include "system.h"
#include "text/local_path_form.h"

namespace {

HMODULE handleOf(uintptr_t value) { return reinterpret_cast<HMODULE>(value); }

// Modules other than the plug-in's that GetModuleHandleExA has found, by handle: another
// library loaded in the host process, as another mod would be.
std::map<HMODULE, std::string>& otherModules()
{
    static std::map<HMODULE, std::string> modules;
    return modules;
}

// Whether a module found from an address is the plug-in's own: the library the simulated
// host loads (asked from its start-up, while it is being loaded) or, where the plug-in's
// code is linked into a test program, that program.
bool isPluginModule(const Dl_info& found)
{
    const std::string& library = sim::pluginLibraryPath();
    std::error_code error;
    if (!library.empty() && found.dli_fname && std::filesystem::equivalent(library, found.dli_fname, error))
        return true;
    Dl_info self;
    return dladdr(reinterpret_cast<const void*>(&handleOf), &self) && self.dli_fbase == found.dli_fbase;
}

// Windows names files with backslashes.
std::string windowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

} // namespace

extern "C" {

BOOL WINAPI VirtualProtect(LPVOID address, SIZE_T size, DWORD newProtect, PDWORD oldProtect)
{
    uint32_t begin = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
    sim::system().protectionChanges.push_back({begin, static_cast<uint32_t>(size), newProtect});
    if (!oldProtect || size == 0)
        return FALSE;
    const auto refused = sim::system().protectionRefused.lower_bound(begin);
    if (newProtect == PAGE_EXECUTE_READWRITE && refused != sim::system().protectionRefused.end() &&
        *refused - begin < size)
        return FALSE;
    uint32_t old = sim::pageProtection(begin);
    if (old == 0 || !sim::changeProtection(begin, begin + static_cast<uint32_t>(size), newProtect))
        return FALSE;
    *oldProtect = old;
    return TRUE;
}

// One page at a time: the image's pages each carry their own protection, and outside the
// image nothing of the host is mapped.
SIZE_T WINAPI VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* info, SIZE_T size)
{
    if (!info || size < sizeof *info)
        return 0;
    const uint32_t at = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
    const uint32_t page = at & ~(sim::pageSize - 1);
    *info = {};
    info->BaseAddress = reinterpret_cast<LPVOID>(uintptr_t{page});
    info->RegionSize = sim::pageSize;
    const uint32_t protection = sim::pageProtection(at);
    if (protection != 0) {
        info->AllocationBase = reinterpret_cast<LPVOID>(uintptr_t{sim::imageBegin});
        info->State = MEM_COMMIT;
        info->Protect = protection;
    } else {
        info->State = sim::hostImageBuilt() && sim::inHostImage(at) ? MEM_RESERVE : MEM_FREE;
    }
    return sizeof *info;
}

BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module)
{
    if (!module)
        return FALSE;
    *module = nullptr;
    if (sim::system().moduleLookupFails || !(flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS))
        return FALSE;
    Dl_info info;
    if (!dladdr(moduleName, &info) || !info.dli_fbase)
        return FALSE;
    *module = static_cast<HMODULE>(info.dli_fbase);
    if (!isPluginModule(info) && info.dli_fname)
        otherModules()[*module] = info.dli_fname;
    return TRUE;
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    const sim::SystemState& system = sim::system();
    auto other = otherModules().find(module);
    std::string name = windowsPath(!module                         ? system.hostFile
                                   : other != otherModules().end() ? other->second
                                                                   : system.pluginFile);
    if (size == 0)
        return 0;
    // Like Windows: a name that does not fit is cut and terminated, and the full size returned.
    if (name.size() >= size) {
        std::memcpy(fileName, name.data(), size - 1);
        fileName[size - 1] = '\0';
        return size;
    }
    std::memcpy(fileName, name.c_str(), name.size() + 1);
    return static_cast<DWORD>(name.size());
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    if (!moduleName)
        return handleOf(sim::imageBegin);
    const auto& modules = sim::system().loadedModules;
    for (size_t i = 0; i < modules.size(); ++i)
        if (strcasecmp(modules[i].c_str(), moduleName) == 0)
            return handleOf(0x10000000u + 0x100000u * static_cast<uintptr_t>(i));
    return nullptr;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    sim::system().messageBoxes.push_back({text ? text : "", caption ? caption : "", type, owner != nullptr});
    return 1; // IDOK
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    // High bit: down now; low bit: toggled, flipped at every press.
    const sim::SystemState& system = sim::system();
    unsigned state = (system.keysDown.count(virtualKey) ? 0xFF80u : 0u) | (system.keysToggled.count(virtualKey) ? 1u : 0u);
    return static_cast<SHORT>(state);
}

// A FIFO, socket or device stands for what Windows calls a device: no plain file.
DWORD WINAPI GetFileAttributesA(LPCSTR fileName)
{
    const std::string path = localPathForm(fileName ? fileName : "");
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    return S_ISREG(info.st_mode) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_DEVICE;
}

} // extern "C"

void sim::keyboardChanged(const SystemState&) {}

std::string localPath(const char* path)
{
    const std::string local = localPathForm(path);
    sim::system().dataFilesOpened.push_back(local);
    const auto& replaced = sim::system().filesReplaced;
    const auto found = replaced.find(local);
    return found == replaced.end() ? local : found->second;
}
