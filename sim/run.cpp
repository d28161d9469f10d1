#include "run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <ostream>
#include <stdexcept>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "check/data_check.h"
#include "host/host.h"
#include "host_build.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_radar.h"
#include "host_renderer_start.h"
#include "host_sites.h"
#include "host_state.h"
#include "plugin_heap.h"
#include "plugin_loader.h"
#include "preview/draw_list.h"
#include "preview/outline.h"
#include "preview/render.h"
#include "system.h"
#include "text/utf8_path.h"
#include "trace.h"

namespace sim {

namespace {

std::string hex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool writeFile(const std::string& path, const std::string& text, std::ostream& err)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        err << "kellhud-sim: cannot write " << path << "\n";
        return false;
    }
    return true;
}

uint32_t u32At(uint32_t address)
{
    uint32_t value;
    std::memcpy(&value, reinterpret_cast<const void*>(uintptr_t{address}), sizeof value);
    return value;
}

// The places in and around a run that now hold a plug-in address: a call or jump whose
// target is in the plug-in, or a 32-bit operand that addresses its data. Each is given as
// an offset into the library, which names the same symbol wherever it was loaded. Branches
// are found first: the four bytes from a call's opcode on may read as an address by chance.
std::string pluginReferences(const PatchRun& run, const PluginImage& plugin)
{
    auto inPlugin = [&](uint32_t a) { return a >= plugin.begin && a < plugin.end; };
    auto readable = [](uint32_t p) { return inHostImage(p - 1) && inHostImage(p + 3); };
    const uint32_t first = run.address - 3, end = run.address + static_cast<uint32_t>(run.after.size());
    std::map<uint32_t, uint32_t> found;                     // place -> offset
    std::vector<std::pair<uint32_t, uint32_t>> branches; // each branch's bytes, opcode on
    for (uint32_t p = first; p < end; ++p) {
        if (!readable(p))
            continue;
        const uint8_t opcode = *reinterpret_cast<const uint8_t*>(uintptr_t{p - 1});
        const uint32_t target = p + 4 + u32At(p);
        if ((opcode == 0xE8 || opcode == 0xE9) && inPlugin(target)) {
            found[p] = target - plugin.base;
            branches.push_back({p - 1, p + 4});
            p += 3;
        }
    }
    for (uint32_t p = first; p < end; ++p) {
        bool overlapsBranch = false;
        for (const auto& [from, to] : branches)
            overlapsBranch |= p < to && p + 4 > from;
        if (!readable(p) || overlapsBranch || !inPlugin(u32At(p)))
            continue;
        found[p] = u32At(p) - plugin.base;
        p += 3;
    }
    std::string out;
    char entry[48];
    for (const auto& [place, offset] : found) {
        std::snprintf(entry, sizeof entry, "%s\"0x%X\":\"+0x%X\"", out.empty() ? "" : ",", place, offset);
        out += entry;
    }
    return out;
}

struct SiteName {
    const char* name;
    uint32_t address;
};

// The sites, and the host functions a row may replace whole from their entry.
#define SIM_NAME_SITE(name, origin, address) {#name, address},
#define SIM_NAME_FUNCTION(name, origin, address, convention, signature) {#name, address},
constexpr SiteName hostSites[] = {HOST_SITES(SIM_NAME_SITE) HOST_FUNCTIONS(SIM_NAME_FUNCTION)};
#undef SIM_NAME_FUNCTION
#undef SIM_NAME_SITE

// The longest row the plug-in writes from a site (a run of 16 bytes made nops).
constexpr uint32_t longestRow = 16;

// The site whose row a run belongs to: the nearest site at or before the run's first byte
// (a run begins after the bytes a row left as they were), within the row's bytes.
const char* siteOf(const PatchRun& run)
{
    const SiteName* found = nullptr;
    for (const SiteName& site : hostSites)
        if (site.address <= run.address && run.address - site.address < longestRow &&
            (!found || site.address > found->address))
            found = &site;
    return found ? found->name : nullptr;
}

std::string patchLines(const std::vector<PatchRun>& runs)
{
    const PluginImage plugin = pluginImage();
    std::string out;
    char address[16];
    for (const PatchRun& run : runs) {
        std::snprintf(address, sizeof address, "0x%X", run.address);
        out += std::string("{\"addr\":\"") + address + "\",\"before\":\"" + hex(run.before) +
               "\",\"after\":\"" + hex(run.after) + "\"";
        std::string references = pluginReferences(run, plugin);
        if (!references.empty())
            out += ",\"plugin\":{" + references + "}";
        if (const char* site = siteOf(run))
            out += std::string(",\"site\":\"") + site + "\"";
        out += "}\n";
    }
    return out;
}

std::string endingWith(const std::vector<std::string>& files, const std::string& name)
{
    for (const std::string& file : files)
        if (file.size() >= name.size() && file.compare(file.size() - name.size(), name.size(), name) == 0)
            return file;
    return "";
}

// Which data files the plug-in opened while it loaded (as the seam saw them), so that a
// wrong folder or a missing file is named instead of showing as an empty run.
void printDataFiles(std::ostream& out, const std::vector<std::string>& opened, bool patched)
{
    namespace fs = std::filesystem;
    auto found = [](const std::string& file) { return fs::is_regular_file(utf8Path(file)); };
    const std::string settings = endingWith(opened, "/settings.ini");
    if (!pluginFileOpensSeen())
        out << "  data files: the plug-in reads them itself, from the run's copy of the plug-in folder in "
            << utf8Text(utf8Path(system().pluginFile).parent_path()) << " (a Windows run does not see which)"
            << (patched ? "" : system().messageBoxes.empty() ? "; it patched nothing: is bEnable on?" : "") << "\n";
    else if (settings.empty())
        out << "  settings: the plug-in opened no settings file\n";
    else if (!found(settings))
        out << "  settings: none found at " << settings << ", so the plug-in stays off\n";
    else
        out << "  settings: " << settings
            << (patched                           ? ""
                : system().messageBoxes.empty() ? " (bEnable is not on there, so the plug-in stays off)"
                                                : " (the plug-in refused to patch: see its message below)")
            << "\n";

    const std::string colours = endingWith(opened, "/hudColor.dat");
    if (!colours.empty()) {
        const std::string folder = utf8Text(utf8Path(colours).parent_path().filename());
        out << "  style variant: " << (folder == "data" ? "base" : folder) << ", colours from " << colours
            << (found(colours) ? "" : " (not found: every colour is opaque white)") << "\n";
    }
    const std::string layout = endingWith(opened, "/hud.dat");
    if (!layout.empty())
        out << "  layout: " << layout << (found(layout) ? "" : " (not found: every element at 0 0, size 0)") << "\n";
}

// The last frame as the host shows it, while its textures are still loaded.
bool writePicture(const std::string& path, const Scenario& scenario, const std::vector<preview::OutlineBox>& outline,
                  std::ostream& err)
{
    preview::MapPlacement map;
    map.known = preview::mapLayerRecorded() && hostMapPlacement(map.rect);
    png::Image image;
    std::string error;
    const bool drawn = preview::renderFrame(image, scenario.width, scenario.height, map, error);
    if (drawn)
        preview::drawOutlines(image, outline);
    if (!drawn || !png::write(path, image, error)) {
        err << "kellhud-sim: cannot write " << path << ": " << error << "\n";
        return false;
    }
    return true;
}

// `calls`: the plug-in's host calls during the frames, counted before the shutdown.
void printSummary(std::ostream& out, const Scenario& scenario, const std::vector<PatchRun>& patches,
                  const std::vector<std::string>& dataFiles, const std::map<std::string, int>& calls,
                  uint32_t heapAllocations, const RunOptions& options)
{
    out << "Kell Hud in the simulated host: " << scenario.width << "x" << scenario.height << ", "
        << scenario.frames << (scenario.frames == 1 ? " frame" : " frames") << "\n";
    printDataFiles(out, dataFiles, !patches.empty());
    out << "  host code patched at start-up: " << patches.size() << (patches.size() == 1 ? " place" : " places");
    for (size_t i = 0; i < patches.size() && i < 8; ++i) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%X", patches[i].address);
        out << (i ? ", " : " (") << address;
    }
    out << (patches.empty() ? "" : patches.size() > 8 ? ", ...)" : ")") << "\n";

    int total = 0;
    for (const auto& [op, count] : calls)
        total += count;
    out << "  host calls by the plug-in during the frames: " << total
        << (options.verbose || calls.empty() ? "\n" : " (--verbose counts them by operation)\n");
    if (options.verbose)
        for (const auto& [op, count] : calls)
            out << "    " << op << ": " << count << "\n";
    // Which pictures the HUD showed, so a modder sees a texture that is missing or misnamed.
    std::map<std::string, int> sprites = trace::pluginSprites();
    if (!sprites.empty()) {
        out << "  sprites drawn by the plug-in:";
        for (const auto& [name, count] : sprites)
            out << " " << name << " " << count << (&name == &sprites.rbegin()->first ? "\n" : ",");
    }
    if (pluginHeapCounted())
        out << "  heap allocations by the plug-in after start-up: " << heapAllocations << "\n";
    else
        out << "  heap allocations by the plug-in after start-up: not counted (the Windows DLL uses its own heap)\n";
    if (scenario.heapFailsAt && pluginHeapCounted()) {
        if (pluginNewCalls() >= scenario.heapFailsAt)
            out << "  out of memory: the plug-in's allocation " << scenario.heapFailsAt
                << " by new threw std::bad_alloc, as the scenario asks\n";
        else
            out << "  out of memory never came: the plug-in made " << pluginNewCalls()
                << " allocations by new, fewer than heap_fails_at " << scenario.heapFailsAt << "\n";
    }
    for (const std::string& message : hostState().helpMessages)
        out << "  help message: " << message << "\n";
    for (const MessageBoxShown& box : system().messageBoxes)
        out << "  message box \"" << box.caption << "\": " << box.text << "\n";
    if (!options.pngPath.empty())
        out << "  picture: " << options.pngPath << "\n";
    if (!options.framesDir.empty())
        out << "  pictures: " << options.framesDir << "\n";
}

#ifdef _WIN32
bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
#else
bool stderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
#endif

// A line on stderr, renewed about once a second, once a run has taken two seconds: long
// runs say how far they are instead of looking stuck. Only for a person at a terminal: a
// script or test reading stderr would get a line that depends on the machine's speed.
class Progress {
public:
    Progress(int frames, std::ostream& err) : frames(frames), err(err), enabled(&err == &std::cerr && stderrIsTerminal()) {}
    ~Progress()
    {
        if (shown)
            err << "\n";
    }
    void at(int frame)
    {
        if (!enabled)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - start < std::chrono::seconds(2) || now - last < std::chrono::seconds(1))
            return;
        last = now;
        shown = true;
        err << "\rkellhud-sim: frame " << frame << " of " << frames << std::flush;
    }

private:
    int frames;
    std::ostream& err;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now(), last{};
    bool enabled;
    bool shown = false;
};

// The scenario file's frames, with the sizes and count the command line gives instead.
bool readScenario(const RunOptions& options, Scenario& scenario, std::ostream& err)
{
    try {
        if (!options.scenarioFile.empty())
            scenario = loadScenario(options.scenarioFile);
    } catch (const std::exception& e) {
        err << "kellhud-sim: " << e.what() << "\n";
        return false;
    }
    if (options.width)
        scenario.width = *options.width;
    if (options.height)
        scenario.height = *options.height;
    if (options.frames)
        scenario.frames = *options.frames;
    return true;
}

// The trace goes to its file as calls happen; without one no call is kept at all. Like the
// trace, the picture's file is made before the run; the last frame's drawing is kept only
// when it is asked for. A file that cannot be made stops the run before it starts.
bool openOutputs(const RunOptions& options, std::ostream& err)
{
    std::string error;
    trace::clear();
    trace::keepInMemory(false);
    if (!options.tracePath.empty() && !trace::streamTo(options.tracePath, error)) {
        err << "kellhud-sim: cannot write " << options.tracePath << ": " << error << "\n";
        return false;
    }
    if (!options.pngPath.empty() && !preview::checkPicturePath(options.pngPath, error)) {
        err << "kellhud-sim: cannot write " << options.pngPath << ": " << error << "\n";
        trace::endStream(error);
        return false;
    }
    if (!options.framesDir.empty() && !std::filesystem::is_directory(utf8Path(options.framesDir))) {
        err << "kellhud-sim: --frames-png: " << options.framesDir << " is no folder; make it first\n";
        trace::endStream(error);
        return false;
    }
    preview::setRecording(!options.pngPath.empty() || !options.framesDir.empty());
    return true;
}

// What the start-up left: its patches (their lines taken while the code around each run is
// as the start-up left it) and the data files it opened.
struct StartUp {
    std::vector<PatchRun> patches;
    std::string patchLines;
    std::vector<std::string> dataFiles;
};

bool startPlugin(const RunOptions& options, const Scenario& scenario, const std::string& library, StartUp& started,
                 std::ostream& err)
{
    buildHostImage();
    applyScenarioStart(scenario);
    trace::frame = 0;
    trace::streamOnlyFrames(options.traceFramesOnly ? scenario.frames : 0);
    system().dataFilesOpened.clear();

    std::string error;
    failPluginNewAt(scenario.heapFailsAt);
    if (!loadPlugin(library, error)) {
        err << "kellhud-sim: cannot load the plug-in: " << error << "\n";
        trace::endStream(error);
        return false;
    }
    started.patches = listPatches();
    started.patchLines = patchLines(started.patches);
    started.dataFiles = system().dataFilesOpened;
    resetPluginHeapAllocations();
    return true;
}

// The boxes of the layout file the plug-in read, as it read it.
std::vector<preview::OutlineBox> layoutOutline(const std::string& dir, const std::vector<std::string>& dataFiles,
                                               const Scenario& scenario)
{
    const std::string layout = endingWith(dataFiles, "/hud.dat");
    return preview::outlineBoxes(
        preview::layoutOfFile(layout.empty() ? utf8Text(utf8Path(dir) / "kell-hud" / "data" / "hud.dat") : layout),
        scenario.width, scenario.height);
}

// Every frame of the scenario, with its picture when one is asked for. False when a
// picture could not be written.
bool runFrames(const RunOptions& options, const Scenario& scenario, const std::vector<preview::OutlineBox>& outline,
               std::ostream& err)
{
    bool ok = true;
    Progress progress(scenario.frames, err);
    for (int frame = 1; frame <= scenario.frames; ++frame) {
        applyFrame(scenario, frame);
        reachRendererEvents(scenario, frame);
        preview::beginFrame();
        runHostFrame(scenario, frame);
        if (!options.framesDir.empty() && (frame % options.every == 0 || frame == scenario.frames)) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%05d.png", frame);
            ok &= writePicture(utf8Text(utf8Path(options.framesDir) / name), scenario, outline, err);
        }
        progress.at(frame);
    }
    return ok;
}

// The files asked for that are written once the plug-in is gone. False when one could not be.
bool writeAfterRun(const RunOptions& options, const StartUp& started, std::ostream& err)
{
    bool ok = true;
    if (!options.patchesPath.empty())
        ok &= writeFile(options.patchesPath, options.unload ? patchLines(listPatches()) : started.patchLines, err);
    std::string error;
    if (!trace::endStream(error)) {
        err << "kellhud-sim: cannot write " << options.tracePath << ": " << error << "\n";
        ok = false;
    }
    return ok;
}

// 1 when an output failed, else 0 for clean data and ranWithDataFindings for the rest. A
// note alone (a "//" after what a line needs) leaves the data clean.
int exitStatus(bool ok, const std::vector<check::Finding>& findings)
{
    if (!ok)
        return 1;
    const bool clean = std::all_of(findings.begin(), findings.end(), [](const check::Finding& f) {
        return f.severity == check::Severity::Note && f.hiddenErrors == 0 && f.hiddenWarnings == 0;
    });
    return clean ? 0 : ranWithDataFindings;
}

} // namespace

int runSimulation(const RunOptions& options, std::ostream& out, std::ostream& err)
{
    // The data as --check sees them, first: a run on broken data says so before its frames.
    const std::vector<check::Finding> findings = check::checkPluginFolder(options.pluginDir, options.style);
    for (const check::Finding& finding : findings)
        out << check::formatFinding(finding) << "\n";

    Scenario scenario;
    if (!readScenario(options, scenario, err))
        return 2;

    std::string error;
    const std::string dir = utf8Text(std::filesystem::absolute(utf8Path(options.pluginDir)));
    std::string library;
    if (!placePlugin(options.pluginFile, dir, options.style, library, error)) {
        err << "kellhud-sim: " << error << "\n";
        return 2;
    }
    struct RemovePlaced {
        ~RemovePlaced() { removePlacedPlugin(); }
    } removePlaced;

    StartUp started;
    if (!openOutputs(options, err) || !startPlugin(options, scenario, library, started, err))
        return 2;
    std::vector<preview::OutlineBox> outline;
    if (options.outline)
        outline = layoutOutline(dir, started.dataFiles, scenario);
    bool ok = runFrames(options, scenario, outline, err);

    // Counted before the shutdown, which is no frame.
    uint32_t heapAllocations = pluginHeapAllocations();
    std::map<std::string, int> frameCalls = trace::pluginCalls();
    ok &= options.pngPath.empty() || writePicture(options.pngPath, scenario, outline, err);
    trace::frame = scenario.frames + 1;
    reachRendererShutdown();
    if (!unloadPlugin())
        err << "kellhud-sim: the plug-in stayed in memory after unloading\n";

    ok &= writeAfterRun(options, started, err);
    printSummary(out, scenario, started.patches, started.dataFiles, frameCalls, heapAllocations, options);
    const std::string missing = check::missingTextures(findings);
    if (!missing.empty())
        out << "  missing textures: " << missing << "\n";
    return exitStatus(ok, findings);
}

} // namespace sim
