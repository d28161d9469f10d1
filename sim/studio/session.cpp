#include "studio/session.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "check/data_check.h"
#include "check/overlaps.h"
#include "core/key_value_file.h"
#include "core/settings.h"
#include "data/anchor.h"
#include "data/colours.h"
#include "data/layout.h"
#include "data/placement.h"
#include "data/style_variant.h"
#include "preview/outline.h"
#include "studio/child_process.h"
#include "studio/doc_rows.h"
#include "studio/file_write.h"
#include "studio_embedded.h"
#include "text/utf8_path.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace studio {

namespace {

const char* const styleNames[] = {"base", "mora", "sabel"};

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string_view embedded(const EmbeddedText* texts, size_t count, std::string_view name)
{
    for (size_t i = 0; i < count; ++i)
        if (texts[i].name == name)
            return texts[i].text;
    return {};
}

template <size_t N> std::string_view embedded(const EmbeddedText (&texts)[N], std::string_view name)
{
    return embedded(texts, N, name);
}

// The value fields of a line as the plug-in's reader gives them: the words before any comment.
std::vector<std::string> words(const std::string& value)
{
    std::vector<std::string> out;
    std::istringstream in(value);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

// A number as a modder writes it: whole numbers without a point.
std::string numberText(double value)
{
    if (std::nearbyint(value) == value && std::fabs(value) < 1e9)
        return std::to_string(static_cast<long long>(value));
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string out = text;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
    return out;
}

bool isRecordKey(const std::string& key, size_t& count)
{
    for (const char* name : layoutOffsetKeys)
        if (key == name)
            return count = 2, true;
    for (const char* name : layoutRecordKeys)
        if (key == name)
            return count = 4, true;
    return false;
}

bool isColourKey(const std::string& key)
{
    for (const char* name : hudColourNames)
        if (key == name)
            return true;
    return false;
}

bool isSettingKey(const std::string& key)
{
    for (const SettingKey& setting : settingKeys)
        if (key == setting.key)
            return true;
    return false;
}

KeyValueFile fileAt(const fs::path& path)
{
    KeyValueFile file;
    file.open(utf8Text(path).c_str());
    return file;
}

// +1 where a growing number moves the element right or down, -1 where it moves it left or up.
int signOf(Edge edge) { return edge == Edge::End || edge == Edge::CentreBack ? -1 : 1; }

// Records whose w and h are sizes on screen (the others are text scales or unused).
bool hasSize(const std::string& key)
{
    static const char* const sized[] = {"HUD_RADAR_MAP", "HUD_RADAR_SPRITES", "HUD_WEAPON_ICON", "HUD_SECOND_WEAPON_ICON",
                                        "HUD_CELLPHONE", "HUD_RADIO_HUD", "HUD_CROSSHAIR", "HUD_CROSSHAIR_FPS",
                                        "HUD_BREATH_BAR", "HUD_STATS_BOX", "HUD_SECOND_RADAR_MAP",
                                        "HUD_SECOND_RADAR_SPRITES", "HUD_SECOND_BREATH_BAR"};
    for (const char* name : sized)
        if (key == name)
            return true;
    return false;
}

std::string docsText(std::string_view file) { return std::string(embedded(studioDocs, file)); }

json docsFor(std::string_view file, const std::string& key)
{
    json rows = json::array();
    for (const std::string& row : docRows(docsText(file), key))
        rows.push_back(row);
    return rows;
}

json layoutValues(const KeyValueFile& file, const std::string& key, size_t count)
{
    const std::vector<std::string> fields = words(file[key].value);
    json values = json::array();
    for (size_t i = 0; i < count; ++i)
        values.push_back(i < fields.size() ? std::strtod(fields[i].c_str(), nullptr) : 0.0);
    return {{"values", values}, {"anchor", fields.size() > count ? fields[count] : ""}};
}

const char* movesOf(placement::Moves moves)
{
    switch (moves) {
    case placement::Moves::Both: return "xy";
    case placement::Moves::XOnly: return "x";
    case placement::Moves::YOnly: return "y";
    default: return "";
    }
}

json layoutState(const KeyValueFile& file, const KeyValueFile& shipped)
{
    json out = json::array();
    const int offsetSigns[2][2] = {{1, -1}, {-1, 1}}; // the radar offset moves right and up, the player's left and down
    for (int i = 0; i < 2; ++i) {
        json entry = layoutValues(file, layoutOffsetKeys[i], 2);
        entry["key"] = layoutOffsetKeys[i];
        entry["shipped"] = layoutValues(shipped, layoutOffsetKeys[i], 2);
        entry["sizes"] = {false, false};
        entry["sign"] = {offsetSigns[i][0], offsetSigns[i][1]};
        entry["moves"] = "xy";
        entry["docs"] = docsFor("layout-files.md", layoutOffsetKeys[i]);
        out.push_back(entry);
    }
    for (int record = 0; record < LAYOUT_RECORD_COUNT; ++record) {
        const std::string key = layoutRecordKeys[record];
        const placement::Placement& own = placement::placements[record];
        json entry = layoutValues(file, key, 4);
        entry["key"] = key;
        entry["shipped"] = layoutValues(shipped, key, 4);
        entry["sizes"] = {false, false, hasSize(key), hasSize(key)};
        entry["sign"] = {signOf(own.x), signOf(own.y)};
        entry["moves"] = movesOf(own.moves);
        entry["docs"] = docsFor("layout-files.md", key);
        out.push_back(entry);
    }
    return out;
}

json colourValues(const KeyValueFile& file, const std::string& key)
{
    const std::vector<std::string> fields = words(file[key].value);
    json values = json::array();
    for (size_t i = 0; i < 4; ++i)
        values.push_back(i < fields.size() ? std::atoi(fields[i].c_str()) : 0);
    return values;
}

// Where each colour is used: the layout guide's table, else the comment on the colour's
// line (the shipped files say it for every colour).
json coloursState(const KeyValueFile& file, const KeyValueFile& shipped)
{
    json out = json::array();
    for (const char* name : hudColourNames) {
        json docs = docsFor("layout-files.md", name);
        const std::string& comment = shipped[name].comment;
        const size_t text = comment.find_first_not_of(";#/ \t");
        if (docs.empty() && text != std::string::npos)
            docs.push_back("Used for: " + comment.substr(text, comment.find_last_not_of(" \t\r") + 1 - text));
        out.push_back({{"key", name}, {"values", colourValues(file, name)}, {"shipped", colourValues(shipped, name)},
                       {"docs", docs}});
    }
    return out;
}

json settingsState(const KeyValueFile& file, const KeyValueFile& shipped)
{
    json out = json::array();
    for (const SettingKey& setting : settingKeys) {
        out.push_back({{"key", setting.key}, {"value", file[setting.key].value},
                       {"shipped", shipped[setting.key].value}, {"kind", setting.flag ? "switch" : "number"},
                       {"docs", docsFor("settings.md", setting.key)}});
    }
    return out;
}

std::string findingKey(const EditedFiles& files, const check::Finding& finding, std::string& name)
{
    std::string file = finding.file;
    for (char& c : file)
        if (c == '\\')
            c = '/';
    const size_t at = file.rfind("kell-hud/");
    name = at == std::string::npos ? file : file.substr(at);
    if (finding.line == 0)
        return "";
    for (const EditedFile& edited : files) {
        if (edited.name != name)
            continue;
        std::istringstream lines(edited.after);
        std::string line;
        for (uint32_t n = 0; n < finding.line && std::getline(lines, line); ++n) {
        }
        std::istringstream first(line);
        std::string key;
        first >> key;
        if (!key.empty() && key[0] != ';' && key[0] != '#')
            return key.substr(0, key.find('='));
    }
    return "";
}

const char* severityName(check::Severity severity)
{
    switch (severity) {
    case check::Severity::Error: return "error";
    case check::Severity::Warning: return "warning";
    default: return "note";
    }
}

json findingsJson(const std::vector<check::Finding>& findings, const EditedFiles& files)
{
    json out = json::array();
    for (const check::Finding& finding : findings) {
        std::string name;
        const std::string key = findingKey(files, finding, name);
        out.push_back({{"file", name}, {"line", finding.line}, {"severity", severityName(finding.severity)},
                       {"message", finding.message}, {"key", key}});
    }
    return out;
}

std::string base64(const std::string& bytes)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        uint32_t word = static_cast<uint8_t>(bytes[i]) << 16;
        if (left > 1)
            word |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (left > 2)
            word |= static_cast<uint8_t>(bytes[i + 2]);
        out += digits[word >> 18 & 63];
        out += digits[word >> 12 & 63];
        out += left > 1 ? digits[word >> 6 & 63] : '=';
        out += left > 2 ? digits[word & 63] : '=';
    }
    return out;
}

// Reads the style, the changes and the files of a request; false with status and error set.
bool requestFiles(const Session& session, const json& request, int32_t& style, EditedFiles& files, int& status,
                  std::string& error)
{
    style = styleNamed(request.value("style", std::string("base")));
    Changes changes;
    status = 400;
    if (style < 0) {
        error = "unknown style (base, mora or sabel)";
        return false;
    }
    if (!readChanges(request.value("changes", json::object()), changes, error))
        return false;
    if (!editFiles(session.dir, style, changes, files, error))
        return false;
    status = 200;
    return true;
}

// The scratch copy with the files as edited, for the renderer and the checker.
void writeScratch(const Session& session, const EditedFiles& files)
{
    mirrorFolder(session.dir, session.scratch);
    for (const EditedFile& file : files) {
        const fs::path path = utf8Path(session.scratch) / utf8Path(file.name);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(file.after.data(), static_cast<std::streamsize>(file.after.size()));
    }
}

json errorJson(const std::string& message) { return {{"error", message}}; }

} // namespace

int32_t styleNamed(const std::string& name)
{
    for (int32_t i = 0; i < 3; ++i)
        if (name == styleNames[i])
            return i;
    return -1;
}

std::string dataFileName(DataFileId id, int32_t style)
{
    std::string name = id == SettingsFile ? settingsFile : id == LayoutFile ? layoutFile : colourFile(style);
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

std::string contentVersion(const std::string& bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

bool readChanges(const json& changes, Changes& out, std::string& error)
{
    if (!changes.is_object()) {
        error = "\"changes\" must be an object";
        return false;
    }
    for (const auto& [file, entries] : changes.items()) {
        if (!entries.is_object()) {
            error = "\"changes\"." + file + " must be an object";
            return false;
        }
        for (const auto& [key, value] : entries.items()) {
            ValueChange change{key, {}};
            size_t count = 0;
            if (file == "layout" && isRecordKey(key, count) && value.is_object() && value.contains("values") &&
                value["values"].is_array() && value["values"].size() == count) {
                for (const json& number : value["values"]) {
                    if (!number.is_number()) {
                        error = key + ": the values must be numbers";
                        return false;
                    }
                    change.values.push_back(numberText(number.get<double>()));
                }
                const std::string anchor = value.value("anchor", std::string());
                if (!anchor.empty()) {
                    if (!anchored(anchorNamed(anchor))) {
                        error = key + ": \"" + anchor + "\" is no anchor (e.g. right-top)";
                        return false;
                    }
                    change.values.push_back(anchor);
                }
                out.layout.push_back(change);
            } else if (file == "colours" && isColourKey(key) && value.is_array() && value.size() == 4) {
                for (const json& number : value) {
                    if (!number.is_number_integer() || number.get<int64_t>() < 0 || number.get<int64_t>() > 255) {
                        error = key + ": a colour is four whole numbers from 0 to 255";
                        return false;
                    }
                    change.values.push_back(std::to_string(number.get<int64_t>()));
                }
                out.colours.push_back(change);
            } else if (file == "settings" && isSettingKey(key) && value.is_string()) {
                change.values.push_back(value.get<std::string>());
                out.settings.push_back(change);
            } else {
                error = "cannot change " + file + " \"" + key + "\" that way";
                return false;
            }
        }
    }
    return true;
}

bool editFiles(const std::string& dir, int32_t style, const Changes& changes, EditedFiles& out, std::string& error)
{
    const std::vector<ValueChange>* byFile[DATA_FILE_COUNT] = {&changes.settings, &changes.layout, &changes.colours};
    const FileKind kinds[DATA_FILE_COUNT] = {FileKind::Settings, FileKind::Layout, FileKind::Colours};
    for (int id = 0; id < DATA_FILE_COUNT; ++id) {
        EditedFile& file = out[id];
        file.name = dataFileName(static_cast<DataFileId>(id), style);
        file.kind = kinds[id];
        file.before = readBytes(utf8Path(dir) / utf8Path(file.name));
        std::optional<std::string> after = applyChanges(file.before, file.kind, *byFile[id], error);
        if (!after)
            return false;
        file.after = std::move(*after);
    }
    return true;
}

void mirrorFolder(const std::string& dir, const std::string& scratch)
{
    const fs::path from = utf8Path(dir) / "kell-hud";
    const fs::path to = utf8Path(scratch) / "kell-hud";
    std::error_code ec;
    fs::create_directories(to, ec);
    for (auto it = fs::recursive_directory_iterator(from, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path target = to / it->path().lexically_relative(from);
        std::error_code ignored;
        if (it->is_directory(ignored)) {
            fs::create_directories(target, ignored);
            continue;
        }
        if (!it->is_regular_file(ignored))
            continue;
        const auto time = it->last_write_time(ignored);
        if (fs::exists(target, ignored) && fs::file_size(target, ignored) == it->file_size(ignored) &&
            fs::last_write_time(target, ignored) == time)
            continue;
        fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ignored);
        fs::last_write_time(target, time, ignored);
    }
    // What the modder removed is gone from the copy too (a missing dictionary shows as such).
    std::vector<fs::path> gone;
    for (auto it = fs::recursive_directory_iterator(to, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::error_code ignored;
        if (!fs::exists(from / it->path().lexically_relative(to), ignored))
            gone.push_back(it->path());
    }
    for (const fs::path& path : gone)
        fs::remove_all(path, ec);
}

json stateOf(const Session& session, int32_t style)
{
    json files = json::object();
    const char* const ids[DATA_FILE_COUNT] = {"settings", "layout", "colours"};
    KeyValueFile read[DATA_FILE_COUNT], shipped[DATA_FILE_COUNT];
    for (int id = 0; id < DATA_FILE_COUNT; ++id) {
        const std::string name = dataFileName(static_cast<DataFileId>(id), style);
        const fs::path path = utf8Path(session.dir) / utf8Path(name);
        files[ids[id]] = {{"name", name}, {"version", contentVersion(readBytes(path))}};
        read[id] = fileAt(path);
        shipped[id] = fileAt(utf8Path(session.shipped) / utf8Path(name));
    }
    json scenarios = json::array();
    for (const EmbeddedText& scenario : studioScenarios)
        scenarios.push_back(scenario.name);
    json sizes = json::array();
    for (const check::ScreenSize& size : check::overlapSizes)
        sizes.push_back({size.width, size.height});
    return {{"folder", session.dir},
            {"files", files},
            {"scenarios", scenarios},
            {"sizes", sizes},
            {"styles", styleNames},
            {"layout", layoutState(read[LayoutFile], shipped[LayoutFile])},
            {"colours", coloursState(read[ColoursFile], shipped[ColoursFile])},
            {"settings", settingsState(read[SettingsFile], shipped[SettingsFile])}};
}

json render(Session& session, const json& request, int& status)
{
    const std::string scenario = request.value("scenario", std::string("preview"));
    const int width = request.value("width", 1920), height = request.value("height", 1080);
    const std::string_view scenarioText = embedded(studioScenarios, scenario);
    if (scenarioText.empty() || width < 1 || height < 1 || width > 16384 || height > 16384) {
        status = 400;
        return errorJson("unknown scenario or a size outside 1 to 16384 pixels");
    }
    int32_t style = 0;
    EditedFiles files;
    std::string error;
    if (!requestFiles(session, request, style, files, status, error))
        return errorJson(error);

    const std::lock_guard<std::mutex> lock(session.work);
    const auto start = std::chrono::steady_clock::now();
    writeScratch(session, files);
    const fs::path scratch = utf8Path(session.scratch);
    const fs::path scenarioFile = scratch / "scenario.json";
    std::ofstream(scenarioFile, std::ios::binary).write(scenarioText.data(), static_cast<std::streamsize>(scenarioText.size()));
    const fs::path picture = scratch / "preview.png";
    std::error_code ignored;
    fs::remove(picture, ignored);
    const std::string log = utf8Text(scratch / "render.log");
    const int code = runProgram(session.simProgram,
                                {"--plugin-dir", session.scratch, "--scenario", utf8Text(scenarioFile), "--size",
                                 std::to_string(width) + "x" + std::to_string(height), "--style", styleNames[style],
                                 "--png", utf8Text(picture)},
                                log, error);
    json out = json::object();
    const std::string png = readBytes(picture);
    if (code != 0 || png.empty())
        out["error"] = error.empty() ? "the preview failed: " + readBytes(utf8Path(log)) : error;
    out["image"] = png.empty() ? json(nullptr) : json("data:image/png;base64," + base64(png));

    json boxes = json::array();
    for (const sim::preview::OutlineBox& box :
         sim::preview::outlineBoxes(sim::preview::layoutOfFile(utf8Text(scratch / utf8Path(files[LayoutFile].name))),
                                    width, height))
        boxes.push_back({{"key", box.key}, {"left", box.left}, {"top", box.top}, {"right", box.right},
                         {"bottom", box.bottom}});
    out["boxes"] = boxes;
    std::vector<check::Finding> findings = check::checkPluginFolder(session.scratch, style);
    const std::vector<check::Finding> overlaps = check::checkOverlaps(session.scratch, {width, height});
    findings.insert(findings.end(), overlaps.begin(), overlaps.end());
    out["findings"] = findingsJson(findings, files);
    out["ms"] = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    status = 200;
    return out;
}

json save(Session& session, const json& request, int& status)
{
    int32_t style = 0;
    EditedFiles files;
    std::string error;
    if (!requestFiles(session, request, style, files, status, error))
        return errorJson(error);
    const json versions = request.value("versions", json::object());
    const char* const ids[DATA_FILE_COUNT] = {"settings", "layout", "colours"};

    const std::lock_guard<std::mutex> lock(session.work);
    json changed = json::array();
    for (int id = 0; id < DATA_FILE_COUNT; ++id)
        if (!versions.contains(ids[id]) || versions[ids[id]] != contentVersion(files[id].before))
            changed.push_back(files[id].name);
    if (!changed.empty()) {
        status = 409;
        return {{"error", "changed on disk since the page read it: reload to see the files as they are now"},
                {"files", changed}};
    }
    writeScratch(session, files);
    json blocking = json::array();
    std::vector<check::Finding> findings;
    for (const check::Finding& finding : check::checkPluginFolder(session.scratch, style)) {
        std::string name;
        findingKey(files, finding, name);
        for (const EditedFile& file : files)
            if (finding.severity == check::Severity::Error && file.after != file.before && file.name == name)
                findings.push_back(finding);
    }
    if (!findings.empty()) {
        status = 422;
        return {{"error", "the checker finds errors in what would be saved; nothing was saved"},
                {"findings", findingsJson(findings, files)}};
    }
    json saved = json::array();
    for (const EditedFile& file : files) {
        if (file.after == file.before)
            continue;
        if (!replaceFile(utf8Text(utf8Path(session.dir) / utf8Path(file.name)), file.after, error)) {
            status = 500;
            return {{"error", error}, {"saved", saved}};
        }
        saved.push_back(file.name);
    }
    status = 200;
    return {{"saved", saved}, {"state", stateOf(session, style)}};
}

} // namespace studio
