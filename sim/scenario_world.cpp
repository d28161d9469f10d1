#include "scenario_world.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "host/host.h"
#include "marker_shapes.h"
#include "scenario_fields.h"

namespace sim {

namespace {

using nlohmann::json;

bool boolean(const json& j, const std::string& path)
{
    if (!j.is_boolean())
        bad(path, "must be true or false");
    return j.get<bool>();
}

// An optional field of an object: read into `into` when given, the default kept otherwise.
template <class T>
void optionalInteger(const json& j, const std::string& path, const char* key, T& into)
{
    if (j.contains(key))
        into = integerOf<T>(j[key], path + "." + key);
}

void optionalBoolean(const json& j, const std::string& path, const char* key, bool& into)
{
    if (j.contains(key))
        into = boolean(j[key], path + "." + key);
}

// A 32-bit float; "nan", "inf" and "-inf" stand for the values JSON cannot write.
float number(const json& j, const std::string& path)
{
    if (j.is_number())
        return j.get<float>();
    if (j == "nan")
        return std::numeric_limits<float>::quiet_NaN();
    if (j == "inf")
        return std::numeric_limits<float>::infinity();
    if (j == "-inf")
        return -std::numeric_limits<float>::infinity();
    bad(path, "must be a number, \"nan\", \"inf\" or \"-inf\"");
}

void optionalNumber(const json& j, const std::string& path, const char* key, float& into)
{
    if (j.contains(key))
        into = number(j[key], path + "." + key);
}

const json& array(const json& j, const std::string& path, size_t minSize, size_t maxSize)
{
    if (!j.is_array() || j.size() < minSize || j.size() > maxSize)
        bad(path, minSize == maxSize ? "must be a list of " + std::to_string(minSize)
                                     : "must be a list of " + std::to_string(minSize) + " to " + std::to_string(maxSize));
    return j;
}

// A list read whole, each item by `parse` under its own path ("blips[3]").
template <class Parse>
auto listOf(const json& j, const std::string& path, size_t maxSize, Parse parse)
{
    const json& list = array(j, path, 0, maxSize);
    std::vector<std::invoke_result_t<Parse, const json&, const std::string&>> items;
    for (size_t i = 0; i < list.size(); ++i)
        items.push_back(parse(list[i], path + "[" + std::to_string(i) + "]"));
    return items;
}

Vec3 position(const json& j, const std::string& path)
{
    array(j, path, 3, 3);
    return {number(j[0], path + "[0]"), number(j[1], path + "[1]"), number(j[2], path + "[2]")};
}

WeaponSlotState weaponSlot(const json& j, const std::string& path)
{
    onlyFields(j, path, {"slot", "type", "clip", "total"});
    WeaponSlotState w;
    if (j.contains("slot"))
        w.slot = static_cast<int32_t>(integer(j["slot"], path + ".slot", 0, host::character_weapon_slot_count - 1));
    optionalInteger(j, path, "type", w.type);
    optionalInteger(j, path, "clip", w.clip);
    optionalInteger(j, path, "total", w.total);
    return w;
}

std::optional<VehicleState> vehicle(const json& j, const std::string& path)
{
    if (j.is_null())
        return std::nullopt;
    onlyFields(j, path, {"type", "matrix", "flags", "heading"});
    VehicleState v;
    optionalInteger(j, path, "type", v.type);
    if (j.contains("matrix")) {
        array(j["matrix"], path + ".matrix", 2, 2);
        for (int i = 0; i < 2; ++i)
            v.matrix[i] = number(j["matrix"][i], path + ".matrix[" + std::to_string(i) + "]");
    }
    optionalInteger(j, path, "flags", v.flags);
    optionalNumber(j, path, "heading", v.heading);
    return v;
}

std::optional<PlayerState> player(const json& j, const std::string& path)
{
    if (j.is_null())
        return std::nullopt;
    onlyFields(j, path,
               {"money", "skill", "weapon", "health", "armour", "max_health", "max_armour", "state_flags",
                "breath", "position", "vehicle", "crosshair_block", "heading"});
    PlayerState p;
    optionalInteger(j, path, "money", p.money);
    optionalInteger(j, path, "skill", p.skill);
    if (j.contains("weapon"))
        p.weapon = weaponSlot(j["weapon"], path + ".weapon");
    optionalNumber(j, path, "health", p.health);
    optionalNumber(j, path, "armour", p.armour);
    optionalInteger(j, path, "max_health", p.maxHealth);
    optionalInteger(j, path, "max_armour", p.maxArmour);
    optionalInteger(j, path, "state_flags", p.stateFlags);
    optionalNumber(j, path, "breath", p.breath);
    if (j.contains("position"))
        p.position = position(j["position"], path + ".position");
    if (j.contains("vehicle"))
        p.vehicle = vehicle(j["vehicle"], path + ".vehicle");
    optionalInteger(j, path, "crosshair_block", p.crosshairBlock);
    optionalNumber(j, path, "heading", p.heading);
    return p;
}

WeaponRecordState weaponRecord(const json& j, const std::string& path)
{
    onlyFields(j, path, {"type", "skill", "clip_size", "model"});
    if (!j.contains("type"))
        bad(path + ".type", "missing: a weapon record is found by its type");
    WeaponRecordState r;
    r.type = integerOf<int32_t>(j["type"], path + ".type");
    if (j.contains("skill"))
        r.skill = integerOf<uint8_t>(j["skill"], path + ".skill");
    optionalInteger(j, path, "clip_size", r.clipSize);
    optionalInteger(j, path, "model", r.model);
    return r;
}

WantedState wanted(const json& j, const std::string& path)
{
    onlyFields(j, path, {"stars", "changed_ms"});
    WantedState w;
    optionalInteger(j, path, "stars", w.stars);
    optionalInteger(j, path, "changed_ms", w.changedMs);
    return w;
}

Colour colour(const json& j, const std::string& path)
{
    array(j, path, 4, 4);
    uint8_t c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = integerOf<uint8_t>(j[i], path + "[" + std::to_string(i) + "]");
    return {c[0], c[1], c[2], c[3]};
}

AreaNameState areaName(const json& j, const std::string& path)
{
    onlyFields(j, path, {"text", "shown", "states", "colour"});
    AreaNameState n;
    if (j.contains("text")) {
        if (!j["text"].is_string())
            bad(path + ".text", "must be a text");
        n.text = j["text"].get<std::string>();
        if (n.text.size() > maxAreaNameLength)
            bad(path + ".text", "longer than the host's " + std::to_string(maxAreaNameLength) + " bytes");
    }
    optionalBoolean(j, path, "shown", n.shown);
    n.states[0] = n.states[1] = n.shown ? 1 : 0;
    if (j.contains("states")) {
        array(j["states"], path + ".states", 2, 2);
        for (int i = 0; i < 2; ++i)
            n.states[i] = integerOf<int32_t>(j["states"][i], path + ".states[" + std::to_string(i) + "]");
    }
    if (j.contains("colour"))
        n.colour = colour(j["colour"], path + ".colour");
    return n;
}

PadState pad(const json& j, const std::string& path)
{
    onlyFields(j, path, {"weapon_a", "weapon_b", "ammo", "cash", "phone"});
    PadState p;
    optionalBoolean(j, path, "weapon_a", p.weaponA);
    optionalBoolean(j, path, "weapon_b", p.weaponB);
    optionalBoolean(j, path, "ammo", p.ammo);
    optionalInteger(j, path, "cash", p.cash);
    optionalBoolean(j, path, "phone", p.phone);
    return p;
}

std::optional<TargetState> target(const json& j, const std::string& path)
{
    if (j.is_null())
        return std::nullopt;
    onlyFields(j, path, {"index", "counter", "flags", "position", "handle"});
    TargetState t;
    if (j.contains("index"))
        t.index = static_cast<uint16_t>(integer(j["index"], path + ".index", 0, host::radar_trace_count - 1));
    optionalInteger(j, path, "counter", t.counter);
    optionalInteger(j, path, "flags", t.flags);
    if (j.contains("position"))
        t.position = position(j["position"], path + ".position");
    if (j.contains("handle"))
        t.handle = integerOf<uint32_t>(j["handle"], path + ".handle");
    return t;
}

RouteState route(const json& j, const std::string& path)
{
    onlyFields(j, path, {"nodes", "count"});
    RouteState r;
    if (j.contains("nodes")) {
        r.nodes = listOf(j["nodes"], path + ".nodes", maxRouteNodes, position);
    }
    if (j.contains("count"))
        r.count = integerOf<int16_t>(j["count"], path + ".count");
    return r;
}

DeviceState device(const json& j, const std::string& path)
{
    onlyFields(j, path, {"scissor"});
    DeviceState d;
    optionalBoolean(j, path, "scissor", d.scissor);
    return d;
}

Vec2 point(const json& j, const std::string& path)
{
    array(j, path, 2, 2);
    return {number(j[0], path + "[0]"), number(j[1], path + "[1]")};
}

BlipLevelState blipLevel(const json& j, const std::string& path)
{
    onlyFields(j, path, {"kind", "colour"});
    BlipLevelState l;
    optionalInteger(j, path, "kind", l.kind);
    if (j.contains("colour"))
        l.colour = colour(j["colour"], path + ".colour");
    return l;
}

// The seven words the host pushes for its sized marker: a whole number, three floats, three
// whole numbers.
std::array<uint32_t, 7> sizedMarker(const json& j, const std::string& path)
{
    array(j, path, 7, 7);
    std::array<uint32_t, 7> words{};
    for (size_t i = 0; i < 7; ++i) {
        std::string at = path + "[" + std::to_string(i) + "]";
        if (i >= 1 && i <= 3)
            words[i] = std::bit_cast<uint32_t>(number(j[i], at));
        else
            words[i] = static_cast<uint32_t>(integer(j[i], at, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<uint32_t>::max()));
    }
    return words;
}

BlipState blip(const json& j, const std::string& path)
{
    onlyFields(j, path, {"id", "at", "alpha", "check", "level", "sized"});
    BlipState b;
    optionalInteger(j, path, "id", b.id);
    if (j.contains("at"))
        b.at = point(j["at"], path + ".at");
    optionalInteger(j, path, "alpha", b.alpha);
    if (j.contains("check"))
        b.check = boolean(j["check"], path + ".check");
    if (j.contains("level"))
        b.level = blipLevel(j["level"], path + ".level");
    if (j.contains("sized"))
        b.sized = sizedMarker(j["sized"], path + ".sized");
    return b;
}

MapViewState mapView(const json& j, const std::string& path)
{
    onlyFields(j, path, {"scale", "origin"});
    MapViewState v;
    optionalNumber(j, path, "scale", v.scale);
    if (j.contains("origin")) {
        Vec2 origin = point(j["origin"], path + ".origin");
        v.originX = origin.x;
        v.originY = origin.y;
    }
    return v;
}

// The radio object and the camera: each given object replaces the one before whole.
void applyAimFields(const json& j, const std::string& path, AimWorldState& aim)
{
    if (j.contains("radio")) {
        const json& r = j["radio"];
        std::string at = path + ".radio";
        onlyFields(r, at, {"station", "step", "change", "ready"});
        aim.radio = {};
        optionalInteger(r, at, "station", aim.radio.station);
        optionalInteger(r, at, "step", aim.radio.step);
        optionalBoolean(r, at, "change", aim.radio.change);
        optionalBoolean(r, at, "ready", aim.radio.ready);
    }
    if (j.contains("camera")) {
        const json& c = j["camera"];
        std::string at = path + ".camera";
        onlyFields(c, at, {"index", "mode", "flag_c", "flag_d", "aim"});
        aim.camera = {};
        optionalInteger(c, at, "index", aim.camera.index);
        optionalInteger(c, at, "mode", aim.camera.mode);
        optionalInteger(c, at, "flag_c", aim.camera.flagC);
        optionalInteger(c, at, "flag_d", aim.camera.flagD);
        if (c.contains("aim"))
            aim.camera.aim = point(c["aim"], at + ".aim");
    }
}

// ---- The help box, the printed texts and the text boxes -------------------------------

std::string text(const json& j, const std::string& path)
{
    if (!j.is_string())
        bad(path, "must be a text");
    return j.get<std::string>();
}

std::optional<std::string> textOrNull(const json& j, const std::string& path)
{
    if (j.is_null())
        return std::nullopt;
    return text(j, path);
}

HelpBoxState helpBox(const json& j, const std::string& path)
{
    static uint32_t serials = 0; // every entry's help is written once, when it begins
    onlyFields(j, path,
               {"text", "permanent", "quick", "stat_id", "hide", "blocks", "box_width", "box_offset", "state",
                "elapsed", "fade", "lines"});
    HelpBoxState h;
    h.serial = ++serials;
    if (j.contains("text"))
        h.text = text(j["text"], path + ".text");
    optionalBoolean(j, path, "permanent", h.permanent);
    optionalBoolean(j, path, "quick", h.quick);
    optionalBoolean(j, path, "hide", h.hide);
    optionalInteger(j, path, "stat_id", h.statId);
    if (j.contains("blocks")) {
        array(j["blocks"], path + ".blocks", 3, 3);
        for (int i = 0; i < 3; ++i)
            h.blocks[i] = boolean(j["blocks"][i], path + ".blocks[" + std::to_string(i) + "]");
    }
    optionalNumber(j, path, "box_width", h.boxWidth);
    optionalNumber(j, path, "box_offset", h.boxOffset);
    auto word = [&](const char* key, std::optional<int32_t>& into) {
        if (j.contains(key))
            into = integerOf<int32_t>(j[key], path + "." + key);
    };
    word("state", h.state);
    word("elapsed", h.elapsed);
    word("fade", h.fade);
    word("lines", h.lines);
    return h;
}

TextBoxState textBox(const json& j, const std::string& path)
{
    onlyFields(j, path, {"site", "rect", "colour"});
    TextBoxState b;
    if (j.contains("site")) {
        std::string site = text(j["site"], path + ".site");
        if (site != "a" && site != "b")
            bad(path + ".site", "must be \"a\" or \"b\"");
        b.site = site[0];
    }
    b.noRect = j.contains("rect") && j["rect"].is_null();
    if (j.contains("rect") && !b.noRect) {
        array(j["rect"], path + ".rect", 4, 4);
        float v[4];
        for (int i = 0; i < 4; ++i)
            v[i] = number(j["rect"][i], path + ".rect[" + std::to_string(i) + "]");
        b.rect = {v[0], v[1], v[2], v[3]};
    }
    if (j.contains("colour"))
        b.colour = colour(j["colour"], path + ".colour");
    return b;
}

void applyHelpTexts(const json& j, const std::string& path, HelpTextsState& h)
{
    if (j.contains("help")) {
        if (j["help"].is_null())
            h.help.reset();
        else
            h.help = helpBox(j["help"], path + ".help");
    }
    if (j.contains("subtitle"))
        h.subtitle = textOrNull(j["subtitle"], path + ".subtitle");
    if (j.contains("mission_text"))
        h.missionText = textOrNull(j["mission_text"], path + ".mission_text");
    if (j.contains("text_boxes")) {
        h.textBoxes = listOf(j["text_boxes"], path + ".text_boxes", maxTextBoxes, textBox);
    }
    if (j.contains("time_step")) {
        if (j["time_step"].is_null())
            h.timeStep.reset();
        else
            h.timeStep = number(j["time_step"], path + ".time_step");
    }
}

// ---- The clock, the statistics and the host's own progress bars ------------------------

ClockState clock(const json& j, const std::string& path)
{
    onlyFields(j, path, {"hours", "minutes", "day"});
    ClockState c;
    optionalInteger(j, path, "hours", c.hours);
    optionalInteger(j, path, "minutes", c.minutes);
    optionalInteger(j, path, "day", c.day);
    return c;
}

std::map<int32_t, float> stats(const json& j, const std::string& path)
{
    if (!j.is_object())
        bad(path, "must be an object from statistic id to value");
    std::map<int32_t, float> values;
    for (auto it = j.begin(); it != j.end(); ++it) {
        const std::string at = path + "." + it.key();
        size_t used = 0;
        long long id = 0;
        try {
            id = std::stoll(it.key(), &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != it.key().size() || id < std::numeric_limits<int32_t>::min() ||
            id > std::numeric_limits<int32_t>::max())
            bad(at, "a statistic id must be a whole number");
        values[static_cast<int32_t>(id)] = number(it.value(), at);
    }
    return values;
}

HostBarState hostBar(const json& j, const std::string& path)
{
    onlyFields(j, path, {"x", "y", "width", "height", "percent", "segment", "show_text", "frame", "colour1", "colour2"});
    HostBarState b;
    optionalNumber(j, path, "x", b.x);
    optionalNumber(j, path, "y", b.y);
    optionalInteger(j, path, "width", b.width);
    optionalInteger(j, path, "height", b.height);
    optionalNumber(j, path, "percent", b.percent);
    optionalInteger(j, path, "segment", b.segment);
    optionalInteger(j, path, "show_text", b.showText);
    optionalInteger(j, path, "frame", b.frame);
    if (j.contains("colour1"))
        b.colour1 = colour(j["colour1"], path + ".colour1");
    if (j.contains("colour2"))
        b.colour2 = colour(j["colour2"], path + ".colour2");
    return b;
}

void applyPhoneFields(const json& j, const std::string& path, PhoneWorldState& w)
{
    if (j.contains("clock"))
        w.clock = clock(j["clock"], path + ".clock");
    if (j.contains("stats"))
        w.stats = stats(j["stats"], path + ".stats");
    if (j.contains("host_bars")) {
        w.hostBars = listOf(j["host_bars"], path + ".host_bars", maxHostBars, hostBar);
    }
}

// ---- Option sets ---------------------------------------------------------------------

// A stack word: a whole number as it is (signed or unsigned 32-bit), a number with a
// fraction or exponent as the bits of a 32-bit float.
uint32_t stackWord(const json& j, const std::string& path)
{
    if (j.is_number_float())
        return std::bit_cast<uint32_t>(j.get<float>());
    return static_cast<uint32_t>(integer(j, path, std::numeric_limits<int32_t>::min(),
                                         std::numeric_limits<uint32_t>::max()));
}

MarkerCallState markerCall(const json& j, const std::string& path)
{
    onlyFields(j, path, {"site", "point", "args"});
    MarkerCallState m;
    const std::pair<const char*, MarkerSite> sites[] = {
        {"host_colour", MarkerSite::HostColour}, {"faint", MarkerSite::Faint},
        {"low", MarkerSite::Low}, {"high", MarkerSite::High}};
    bool known = false;
    for (const auto& [name, site] : sites)
        if (j.contains("site") && j["site"] == name) {
            m.site = site;
            known = true;
        }
    if (!known)
        bad(path + ".site", "must be \"host_colour\", \"faint\", \"low\" or \"high\"");
    if (j.contains("point")) {
        m.pointNull = j["point"].is_null();
        if (!m.pointNull)
            m.point = position(j["point"], path + ".point");
    }
    const MarkerShape& shape = markerShape(m.site);
    if (j.contains("args")) {
        m.words = listOf(j["args"], path + ".args", shape.words - 1u, stackWord);
    }
    return m;
}

CameraPointCallState cameraPointCall(const json& j, const std::string& path)
{
    onlyFields(j, path, {"point", "args"});
    CameraPointCallState c;
    if (j.contains("point"))
        c.point = position(j["point"], path + ".point");
    if (j.contains("args")) {
        const json& list = array(j["args"], path + ".args", 4, 4);
        for (size_t i = 0; i < 4; ++i)
            c.words[i] = stackWord(list[i], path + ".args[" + std::to_string(i) + "]");
    }
    return c;
}

CameraCallsState cameraCalls(const json& j, const std::string& path)
{
    onlyFields(j, path, {"on_foot", "vehicle", "fixed_a", "fixed_b"});
    CameraCallsState c;
    if (j.contains("on_foot"))
        c.onFoot = cameraPointCall(j["on_foot"], path + ".on_foot");
    if (j.contains("vehicle"))
        c.vehicle = cameraPointCall(j["vehicle"], path + ".vehicle");
    optionalBoolean(j, path, "fixed_a", c.fixedA);
    optionalBoolean(j, path, "fixed_b", c.fixedB);
    return c;
}

void applyOptions(const json& j, const std::string& path, OptionsWorldState& o)
{
    if (j.contains("markers")) {
        o.markers = listOf(j["markers"], path + ".markers", maxMarkerCalls, markerCall);
    }
    if (j.contains("camera_calls"))
        o.cameraCalls = cameraCalls(j["camera_calls"], path + ".camera_calls");
    if (j.contains("text_code")) {
        o.textCode.reset();
        if (!j["text_code"].is_null()) {
            onlyFields(j["text_code"], path + ".text_code", {"flag_r", "flag_s"});
            o.textCode = TextCodeState{};
            optionalInteger(j["text_code"], path + ".text_code", "flag_r", o.textCode->flagR);
            optionalInteger(j["text_code"], path + ".text_code", "flag_s", o.textCode->flagS);
        }
    }
}

// A field given replaces that field of the world whole.
void applyEntry(const json& j, const std::string& path, WorldState& w)
{
    onlyFields(j, path,
               {"frame", "current_player", "players", "weapon_info", "wanted", "alt_clock_offset_ms",
                "zone_name", "vehicle_name", "pad", "block", "damage_ms", "radar_mode", "language",
                "breath_limit", "target", "route", "device", "blips", "map_view", "map_blend_byte",
                "map_flag", "player_character_0", "help", "subtitle", "mission_text", "text_boxes", "time_step", "clock", "stats", "host_bars",
                "markers", "camera_calls", "text_code", "radio", "camera"});
    // Any index, so that one naming neither player record can be tried.
    if (j.contains("current_player"))
        w.currentPlayer = integerOf<int32_t>(j["current_player"], path + ".current_player");
    if (j.contains("players")) {
        const json& list = array(j["players"], path + ".players", 0, host::player_record_count);
        w.players = {PlayerState{}, std::nullopt};
        for (size_t i = 0; i < list.size(); ++i)
            w.players[i] = player(list[i], path + ".players[" + std::to_string(i) + "]");
    }
    if (j.contains("weapon_info")) {
        w.weaponInfo = listOf(j["weapon_info"], path + ".weapon_info", maxWeaponRecords, weaponRecord);
    }
    if (j.contains("wanted")) {
        w.noWanted = j["wanted"].is_null();
        w.wanted = w.noWanted ? WantedState{} : wanted(j["wanted"], path + ".wanted");
    }
    optionalInteger(j, path, "alt_clock_offset_ms", w.altClockOffsetMs);
    if (j.contains("zone_name"))
        w.zoneName = areaName(j["zone_name"], path + ".zone_name");
    if (j.contains("vehicle_name"))
        w.vehicleName = areaName(j["vehicle_name"], path + ".vehicle_name");
    if (j.contains("pad")) {
        w.noPad = j["pad"].is_null();
        w.pad = w.noPad ? PadState{} : pad(j["pad"], path + ".pad");
    }
    if (j.contains("block")) {
        array(j["block"], path + ".block", 3, 3);
        for (int i = 0; i < 3; ++i)
            w.block[i] = integerOf<uint8_t>(j["block"][i], path + ".block[" + std::to_string(i) + "]");
    }
    optionalInteger(j, path, "damage_ms", w.damageMs);
    optionalInteger(j, path, "radar_mode", w.radarMode);
    optionalInteger(j, path, "language", w.language);
    optionalNumber(j, path, "breath_limit", w.breathLimit);
    if (j.contains("target"))
        w.target = target(j["target"], path + ".target");
    if (j.contains("route"))
        w.route = route(j["route"], path + ".route");
    if (j.contains("device"))
        w.device = device(j["device"], path + ".device");
    if (j.contains("blips")) {
        w.blips = listOf(j["blips"], path + ".blips", maxBlips, blip);
    }
    if (j.contains("map_view"))
        w.mapView = mapView(j["map_view"], path + ".map_view");
    optionalInteger(j, path, "map_blend_byte", w.mapBlendByte);
    optionalInteger(j, path, "map_flag", w.mapFlag);
    if (j.contains("player_character_0"))
        w.playerCharacter0 = static_cast<int32_t>(
            integer(j["player_character_0"], path + ".player_character_0", 0, host::player_record_count - 1));
    applyAimFields(j, path, w.aim);
    applyHelpTexts(j, path, w.helpTexts);
    applyPhoneFields(j, path, w.phone);
    applyOptions(j, path, w.options);
}

} // namespace

std::vector<std::pair<int, WorldState>> parseWorld(const json& list)
{
    if (!list.is_array())
        bad("world", "must be a list of entries");
    std::vector<std::pair<int, WorldState>> changes;
    WorldState w;
    for (size_t i = 0; i < list.size(); ++i) {
        std::string path = "world[" + std::to_string(i) + "]";
        if (!list[i].is_object() || !list[i].contains("frame"))
            bad(path, "an entry needs its \"frame\"");
        int frame = static_cast<int>(integer(list[i]["frame"], path + ".frame", 1, std::numeric_limits<int>::max()));
        if (!changes.empty() && frame < changes.back().first)
            bad(path + ".frame", "entries must be in frame order");
        applyEntry(list[i], path, w);
        changes.push_back({frame, w});
    }
    return changes;
}

} // namespace sim
