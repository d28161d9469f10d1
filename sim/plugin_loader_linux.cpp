#include "plugin_loader.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>

#include "trace.h"

namespace sim {

namespace {

void* handle = nullptr;
std::string loadedPath;
PluginImage image{};

struct Range {
    uintptr_t base;
    uint32_t begin = UINT32_MAX;
    uint32_t end = 0;
};

int findSegments(dl_phdr_info* info, size_t, void* data)
{
    Range& range = *static_cast<Range*>(data);
    if (info->dlpi_addr != range.base)
        return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD)
            continue;
        uint32_t begin = static_cast<uint32_t>(info->dlpi_addr + ph.p_vaddr);
        range.begin = std::min(range.begin, begin);
        range.end = std::max(range.end, static_cast<uint32_t>(begin + ph.p_memsz));
    }
    return 1;
}

} // namespace

std::string programFolder()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? "." : self.parent_path().string();
}

std::string defaultPluginFile() { return (std::filesystem::path(programFolder()) / "KellHud.so").string(); }

bool loadPlugin(const std::string& path, std::string& error)
{
    // Known before dlopen: the library's start-up runs inside it and asks for its own module.
    loadedPath = path;
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = dlerror();
        return false;
    }
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map) {
        Range range{map->l_addr};
        dl_iterate_phdr(&findSegments, &range);
        if (range.begin < range.end) {
            trace::setPluginRange(range.begin, range.end);
            image = {static_cast<uint32_t>(range.base), range.begin, range.end};
        }
    }
    return true;
}

PluginImage pluginImage() { return image; }

const std::string& pluginLibraryPath() { return loadedPath; }

bool unloadPlugin()
{
    if (!handle)
        return true;
    dlclose(handle);
    handle = nullptr;
    void* still = dlopen(loadedPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (still) {
        dlclose(still);
        return false;
    }
    return true;
}

} // namespace sim
