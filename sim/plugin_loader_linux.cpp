#include "plugin_loader.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "system.h"
#include "trace.h"

namespace sim {

namespace {

void* handle = nullptr;
std::string loadedPath;
PluginImage image{};
// The settings.ini copy of a run with another style.
std::string styledSettings;

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

// The library is loaded from where it is; the seam tells the plug-in it lies beside DIR/kell-hud
// and gives it the styled copy of settings.ini in place of its own.
bool placePlugin(const std::string& library, const std::string& dir, std::optional<int> style, std::string& load,
                 std::string& error)
{
    namespace fs = std::filesystem;
    system().pluginFile = (fs::path(dir) / fs::path(library).filename()).string();
    system().hostFile = (fs::path(dir) / "host.exe").string();
    load = library;
    if (!style)
        return true;
    const fs::path settings = fs::path(dir) / "kell-hud" / "settings.ini";
    std::ifstream in(settings, std::ios::binary);
    if (!in) {
        error = "--style: cannot read " + settings.string() + ": the style is set on a copy of the plug-in folder's settings.ini";
        return false;
    }
    styledSettings = (fs::temp_directory_path() / ("kellhud-sim-settings-" + std::to_string(::getpid()) + ".ini")).string();
    std::ofstream out(styledSettings, std::ios::binary);
    if (!(out << settingsWithStyle(in, *style)) || !out.flush()) {
        error = "--style: cannot write the styled copy of settings.ini, " + styledSettings;
        removePlacedPlugin();
        return false;
    }
    system().filesReplaced[settings.string()] = styledSettings;
    return true;
}

void removePlacedPlugin()
{
    if (styledSettings.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(styledSettings, ignored);
    system().filesReplaced.clear();
    styledSettings.clear();
}

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

bool pluginFileOpensSeen() { return true; }

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
