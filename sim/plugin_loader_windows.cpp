#include "plugin_loader.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "system.h"
#include "trace.h"
#include "text/utf8_path.h"

// On Windows the plug-in is the real KellHud.asi with the real system functions: it finds
// its data beside its own file (GetModuleFileNameA), as in the game. So each run puts a
// copy of the library beside a copy of DIR/kell-hud in a folder of its own under the
// temporary folder: the data files linked where the disk allows, copied where not, and
// settings.ini always copied, so that a style set for the run never reaches the modder's.

namespace sim {

namespace fs = std::filesystem;

namespace {

HMODULE handle = nullptr;
std::string loadedPath;
PluginImage image{};
fs::path placed;

std::string systemMessage(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}

bool copyFolder(const fs::path& from, const fs::path& to, std::error_code& ec)
{
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::create_hard_links, ec);
    if (!ec)
        return true;
    fs::remove_all(to, ec);
    fs::copy(from, to, fs::copy_options::recursive, ec);
    return !ec;
}

// settings.ini of the run: written under another name and renamed over the linked one, so
// the modder's file (the other name of a link) is never opened for writing.
bool writeSettings(const fs::path& file, const std::string& text, std::error_code& ec)
{
    const fs::path written = file.parent_path() / "settings.ini.run";
    {
        std::ofstream out(written, std::ios::binary);
        if (!(out << text && out.flush())) {
            ec = std::make_error_code(std::errc::io_error);
            return false;
        }
    }
    fs::rename(written, file, ec);
    return !ec;
}

} // namespace

std::string programFolder()
{
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return ".";
    return utf8Text(utf8Path(std::string(name, length)).parent_path());
}

std::string defaultPluginFile() { return utf8Text(utf8Path(programFolder()) / "KellHud.asi"); }

bool placePlugin(const std::string& library, const std::string& dir, std::optional<int> style, std::string& load,
                 std::string& error)
{
    std::error_code ec;
    placed = fs::temp_directory_path(ec) / ("kellhud-sim-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(placed, ec);
    const fs::path data = utf8Path(dir) / "kell-hud";
    fs::create_directories(placed, ec);
    if (!ec && fs::is_directory(data))
        copyFolder(data, placed / "kell-hud", ec);
    const fs::path settings = placed / "kell-hud" / "settings.ini";
    if (!ec && fs::exists(settings)) {
        std::string text;
        {
            std::ifstream in(data / "settings.ini", std::ios::binary);
            text = style ? settingsWithStyle(in, *style)
                         : std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        writeSettings(settings, text, ec);
    } else if (!ec && style) {
        error = "--style: cannot read " + utf8Text(data / "settings.ini") +
                ": the style is set on a copy of the plug-in folder's settings.ini";
        removePlacedPlugin();
        return false;
    }
    const fs::path copy = placed / utf8Path(library).filename();
    if (!ec && !fs::copy_file(utf8Path(library), copy, ec)) {
        error = "cannot load the plug-in " + library + ": " + ec.message();
        removePlacedPlugin();
        return false;
    }
    if (ec) {
        error = "cannot prepare the run's copy of the plug-in in " + utf8Text(placed) + ": " + ec.message();
        removePlacedPlugin();
        return false;
    }
    system().pluginFile = utf8Text(copy);
    system().hostFile = utf8Text(placed / "host.exe");
    load = utf8Text(copy);
    return true;
}

void removePlacedPlugin()
{
    if (placed.empty())
        return;
    std::error_code ignored;
    fs::remove_all(placed, ignored);
    placed.clear();
}

bool loadPlugin(const std::string& path, std::string& error)
{
    loadedPath = path;
    handle = LoadLibraryA(path.c_str());
    if (!handle) {
        error = path + ": " + systemMessage(GetLastError());
        return false;
    }
    // The library's whole image, from its headers: what lies there is the plug-in's.
    const auto* base = reinterpret_cast<const unsigned char*>(handle);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const uint32_t begin = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(base));
    image = {begin, begin, begin + nt->OptionalHeader.SizeOfImage};
    trace::setPluginRange(image.begin, image.end);
    return true;
}

PluginImage pluginImage() { return image; }

bool pluginFileOpensSeen() { return false; }

const std::string& pluginLibraryPath() { return loadedPath; }

bool unloadPlugin()
{
    if (!handle)
        return true;
    FreeLibrary(handle);
    handle = nullptr;
    return GetModuleHandleA(loadedPath.c_str()) == nullptr;
}

} // namespace sim
