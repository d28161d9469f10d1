#include "scenario_world.h"

#include <array>
#include <bit>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/host.h"
#include "marker_shapes.h"
#include "scenario_fields.h"

namespace sim {

namespace {

using nlohmann::json;

// ---- Values: each checked where it stands, under its own path -------------------------

bool boolean(const json& j, const std::string& path)
{
    if (!j.is_boolean())
        bad(path, "must be true or false");
    return j.get<bool>();
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

std::string text(const json& j, const std::string& path)
{
    if (!j.is_string())
        bad(path, "must be a text");
    return j.get<std::string>();
}

// One of the names a field may take, as the value it stands for.
template <class T, size_t n>
T named(const json& j, const std::string& path, const std::pair<const char*, T> (&names)[n])
{
    std::string all;
    for (size_t i = 0; i < n; ++i) {
        if (j == names[i].first)
            return names[i].second;
        all += (i == 0 ? "\"" : i + 1 < n ? ", \"" : " or \"") + std::string(names[i].first) + "\"";
    }
    bad(path, "must be " + all);
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

// A list of exactly as many items as `into` holds, each read by `parse`.
template <class Items, class Parse>
void eachItem(const json& j, const std::string& path, Items& into, Parse parse)
{
    array(j, path, std::size(into), std::size(into));
    for (size_t i = 0; i < std::size(into); ++i)
        into[i] = parse(j[i], path + "[" + std::to_string(i) + "]");
}

// A value written as the list of its parts in order (Vec3: [x, y, z]).
template <class T, size_t n, class Part>
T parts(const json& j, const std::string& path, Part (*parse)(const json&, const std::string&))
{
    std::array<Part, n> values{};
    eachItem(j, path, values, parse);
    return std::apply([](auto... v) { return T{v...}; }, values);
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

// A stack word: a whole number as it is (signed or unsigned 32-bit), a number with a
// fraction or exponent as the bits of a 32-bit float.
uint32_t stackWord(const json& j, const std::string& path)
{
    if (j.is_number_float())
        return std::bit_cast<uint32_t>(j.get<float>());
    return static_cast<uint32_t>(integer(j, path, std::numeric_limits<int32_t>::min(),
                                         std::numeric_limits<uint32_t>::max()));
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

// ---- The tables: one row per field of a world struct, one reader walking them -----------

// A field of the struct S as the scenario writes it: its key and how it is read into S
// (no reader: the field is read before the table is walked).
template <class S>
struct Field {
    const char* key;
    void (*read)(const json& j, const std::string& path, S& into);
};

// Each struct's fields, in the order they are read and listed in errors.
template <class S>
constexpr auto fields = nullptr;

template <class S>
void knownFields(const json& j, const std::string& path)
{
    std::vector<const char*> keys;
    for (const Field<S>& f : fields<S>)
        keys.push_back(f.key);
    onlyFields(j, path, keys);
}

template <class S>
void readFields(const json& j, const std::string& path, S& into)
{
    for (const Field<S>& f : fields<S>)
        if (f.read && j.contains(f.key))
            f.read(j[f.key], path + "." + f.key, into);
}

// A struct given as an object replaces the one before whole: the fields left out are defaults.
template <class S>
S object(const json& j, const std::string& path)
{
    knownFields<S>(j, path);
    S s;
    readFields(j, path, s);
    return s;
}

template <class T>
constexpr bool isOptional = false;
template <class T>
constexpr bool isOptional<std::optional<T>> = true;

// A value by its type: the one reader every ordinary row uses.
template <class T>
T valueOf(const json& j, const std::string& path)
{
    if constexpr (std::is_same_v<T, bool>)
        return boolean(j, path);
    else if constexpr (std::is_integral_v<T>)
        return integerOf<T>(j, path);
    else if constexpr (std::is_same_v<T, float>)
        return number(j, path);
    else if constexpr (std::is_same_v<T, std::string>)
        return text(j, path);
    else if constexpr (std::is_same_v<T, Vec2>)
        return parts<T, 2>(j, path, number);
    else if constexpr (std::is_same_v<T, Vec3>)
        return parts<T, 3>(j, path, number);
    else if constexpr (std::is_same_v<T, Rect>)
        return parts<T, 4>(j, path, number);
    else if constexpr (std::is_same_v<T, Colour>)
        return parts<T, 4>(j, path, integerOf<uint8_t>);
    else if constexpr (std::is_same_v<T, std::map<int32_t, float>>)
        return stats(j, path);
    else if constexpr (isOptional<T>)
        return valueOf<typename T::value_type>(j, path);
    else
        return object<T>(j, path);
}

// How a row reads its member: by the member's type (a fixed list for an array member); a
// std::optional that null empties; a list of at most `max` items; a whole number in lo..hi.
constexpr auto given = []<class T>(const json& j, const std::string& path, T& into) {
    if constexpr (std::is_array_v<T>)
        eachItem(j, path, into, valueOf<std::remove_extent_t<T>>);
    else
        into = valueOf<T>(j, path);
};
constexpr auto orNull = []<class T>(const json& j, const std::string& path, std::optional<T>& into) {
    if (j.is_null())
        into.reset();
    else
        into = valueOf<T>(j, path);
};
template <size_t max>
constexpr auto upTo = []<class T>(const json& j, const std::string& path, std::vector<T>& into) {
    into = listOf(j, path, max, valueOf<T>);
};
template <int64_t lo, int64_t hi>
constexpr auto within = []<class T>(const json& j, const std::string& path, T& into) {
    into = static_cast<T>(integer(j, path, lo, hi));
};

template <class Member>
struct ClassOf;
template <class S, class T>
struct ClassOf<T S::*> {
    using type = S;
};
template <auto member>
using Owner = typename ClassOf<decltype(member)>::type;

// A row reading, with `how`, the member the pointers lead to (&WorldState::aim, &AimWorldState::radio).
template <auto how, auto first, auto... rest>
constexpr Field<Owner<first>> row(const char* key)
{
    return {key, [](const json& j, const std::string& path, Owner<first>& s) {
                how(j, path, ((s.*first) .* ... .* rest));
            }};
}

template <auto first, auto... rest>
constexpr Field<Owner<first>> field(const char* key)
{
    return row<given, first, rest...>(key);
}

// A member the host can be handed a null pointer for instead: null sets `isNull` and leaves
// the member's default.
template <auto isNull, auto member>
constexpr Field<Owner<member>> orNone(const char* key)
{
    return {key, [](const json& j, const std::string& path, Owner<member>& s) {
                using T = std::remove_reference_t<decltype(s.*member)>;
                s.*isNull = j.is_null();
                s.*member = s.*isNull ? T{} : valueOf<T>(j, path);
            }};
}

// ---- The player and the host's records -----------------------------------------------

template <>
constexpr auto fields<WeaponSlotState> = std::to_array<Field<WeaponSlotState>>({
    row<within<0, host::character_weapon_slot_count - 1>, &WeaponSlotState::slot>("slot"),
    field<&WeaponSlotState::type>("type"),
    field<&WeaponSlotState::clip>("clip"),
    field<&WeaponSlotState::total>("total"),
});

template <>
constexpr auto fields<VehicleState> = std::to_array<Field<VehicleState>>({
    field<&VehicleState::type>("type"),
    field<&VehicleState::matrix>("matrix"),
    field<&VehicleState::flags>("flags"),
    field<&VehicleState::heading>("heading"),
});

template <>
constexpr auto fields<PlayerState> = std::to_array<Field<PlayerState>>({
    field<&PlayerState::money>("money"),
    field<&PlayerState::skill>("skill"),
    field<&PlayerState::weapon>("weapon"),
    field<&PlayerState::health>("health"),
    field<&PlayerState::armour>("armour"),
    field<&PlayerState::maxHealth>("max_health"),
    field<&PlayerState::maxArmour>("max_armour"),
    field<&PlayerState::stateFlags>("state_flags"),
    field<&PlayerState::breath>("breath"),
    field<&PlayerState::position>("position"),
    row<orNull, &PlayerState::vehicle>("vehicle"),
    field<&PlayerState::crosshairBlock>("crosshair_block"),
    field<&PlayerState::heading>("heading"),
});

template <>
constexpr auto fields<WeaponRecordState> = std::to_array<Field<WeaponRecordState>>({
    field<&WeaponRecordState::type>("type"),
    field<&WeaponRecordState::skill>("skill"),
    field<&WeaponRecordState::clipSize>("clip_size"),
    field<&WeaponRecordState::model>("model"),
});

// The host finds a weapon record by its type, so a record without one would never answer.
template <>
WeaponRecordState object<WeaponRecordState>(const json& j, const std::string& path)
{
    knownFields<WeaponRecordState>(j, path);
    if (!j.contains("type"))
        bad(path + ".type", "missing: a weapon record is found by its type");
    WeaponRecordState r;
    readFields(j, path, r);
    return r;
}

template <>
constexpr auto fields<WantedState> = std::to_array<Field<WantedState>>({
    field<&WantedState::stars>("stars"),
    field<&WantedState::changedMs>("changed_ms"),
});

template <>
constexpr auto fields<AreaNameState> = std::to_array<Field<AreaNameState>>({
    {"text",
     [](const json& j, const std::string& path, AreaNameState& n) {
         n.text = text(j, path);
         if (n.text.size() > maxAreaNameLength)
             bad(path, "longer than the host's " + std::to_string(maxAreaNameLength) + " bytes");
     }},
    // The state words follow `shown` unless given after it.
    {"shown",
     [](const json& j, const std::string& path, AreaNameState& n) {
         n.shown = boolean(j, path);
         n.states[0] = n.states[1] = n.shown ? 1 : 0;
     }},
    field<&AreaNameState::states>("states"),
    field<&AreaNameState::colour>("colour"),
});

template <>
constexpr auto fields<PadState> = std::to_array<Field<PadState>>({
    field<&PadState::weaponA>("weapon_a"),
    field<&PadState::weaponB>("weapon_b"),
    field<&PadState::ammo>("ammo"),
    field<&PadState::cash>("cash"),
    field<&PadState::phone>("phone"),
});

// ---- The radar: target, route, device, blips and the map ------------------------------

template <>
constexpr auto fields<TargetState> = std::to_array<Field<TargetState>>({
    row<within<0, host::radar_trace_count - 1>, &TargetState::index>("index"),
    field<&TargetState::counter>("counter"),
    field<&TargetState::flags>("flags"),
    field<&TargetState::position>("position"),
    field<&TargetState::handle>("handle"),
});

template <>
constexpr auto fields<RouteState> = std::to_array<Field<RouteState>>({
    row<upTo<maxRouteNodes>, &RouteState::nodes>("nodes"),
    field<&RouteState::count>("count"),
});

template <>
constexpr auto fields<DeviceState> = std::to_array<Field<DeviceState>>({
    field<&DeviceState::scissor>("scissor"),
});

template <>
constexpr auto fields<BlipLevelState> = std::to_array<Field<BlipLevelState>>({
    field<&BlipLevelState::kind>("kind"),
    field<&BlipLevelState::colour>("colour"),
});

template <>
constexpr auto fields<BlipState> = std::to_array<Field<BlipState>>({
    field<&BlipState::id>("id"),
    field<&BlipState::at>("at"),
    field<&BlipState::alpha>("alpha"),
    field<&BlipState::check>("check"),
    field<&BlipState::level>("level"),
    {"sized", [](const json& j, const std::string& path, BlipState& b) { b.sized = sizedMarker(j, path); }},
});

template <>
constexpr auto fields<MapViewState> = std::to_array<Field<MapViewState>>({
    field<&MapViewState::scale>("scale"),
    {"origin",
     [](const json& j, const std::string& path, MapViewState& v) {
         Vec2 origin = valueOf<Vec2>(j, path);
         v.originX = origin.x;
         v.originY = origin.y;
     }},
});

// ---- The radio, the camera, the help box and the texts ---------------------------------

template <>
constexpr auto fields<RadioState> = std::to_array<Field<RadioState>>({
    field<&RadioState::station>("station"),
    field<&RadioState::step>("step"),
    field<&RadioState::change>("change"),
    field<&RadioState::ready>("ready"),
});

template <>
constexpr auto fields<CameraState> = std::to_array<Field<CameraState>>({
    field<&CameraState::index>("index"),
    field<&CameraState::mode>("mode"),
    field<&CameraState::flagC>("flag_c"),
    field<&CameraState::flagD>("flag_d"),
    field<&CameraState::aim>("aim"),
});

template <>
constexpr auto fields<HelpBoxState> = std::to_array<Field<HelpBoxState>>({
    field<&HelpBoxState::text>("text"),
    field<&HelpBoxState::permanent>("permanent"),
    field<&HelpBoxState::quick>("quick"),
    field<&HelpBoxState::statId>("stat_id"),
    field<&HelpBoxState::hide>("hide"),
    {"blocks", [](const json& j, const std::string& path, HelpBoxState& h) { eachItem(j, path, h.blocks, boolean); }},
    field<&HelpBoxState::boxWidth>("box_width"),
    field<&HelpBoxState::boxOffset>("box_offset"),
    field<&HelpBoxState::state>("state"),
    field<&HelpBoxState::elapsed>("elapsed"),
    field<&HelpBoxState::fade>("fade"),
    field<&HelpBoxState::lines>("lines"),
});

// Every entry's help is written once, when it begins: its serial tells it from the one before.
template <>
HelpBoxState object<HelpBoxState>(const json& j, const std::string& path)
{
    static uint32_t serials = 0;
    knownFields<HelpBoxState>(j, path);
    HelpBoxState h;
    h.serial = ++serials;
    readFields(j, path, h);
    return h;
}

template <>
constexpr auto fields<TextBoxState> = std::to_array<Field<TextBoxState>>({
    {"site",
     [](const json& j, const std::string& path, TextBoxState& b) {
         text(j, path); // anything but a text is told so before the names are listed
         b.site = named<char>(j, path, {{"a", 'a'}, {"b", 'b'}});
     }},
    orNone<&TextBoxState::noRect, &TextBoxState::rect>("rect"),
    field<&TextBoxState::colour>("colour"),
});

// ---- The clock and the host's own progress bars ----------------------------------------

template <>
constexpr auto fields<ClockState> = std::to_array<Field<ClockState>>({
    field<&ClockState::hours>("hours"),
    field<&ClockState::minutes>("minutes"),
    field<&ClockState::day>("day"),
});

template <>
constexpr auto fields<HostBarState> = std::to_array<Field<HostBarState>>({
    field<&HostBarState::x>("x"),
    field<&HostBarState::y>("y"),
    field<&HostBarState::width>("width"),
    field<&HostBarState::height>("height"),
    field<&HostBarState::percent>("percent"),
    field<&HostBarState::segment>("segment"),
    field<&HostBarState::showText>("show_text"),
    field<&HostBarState::frame>("frame"),
    field<&HostBarState::colour1>("colour1"),
    field<&HostBarState::colour2>("colour2"),
});

// ---- Option sets ---------------------------------------------------------------------

template <>
constexpr auto fields<MarkerCallState> = std::to_array<Field<MarkerCallState>>({
    {"site", nullptr},
    orNone<&MarkerCallState::pointNull, &MarkerCallState::point>("point"),
    {"args",
     [](const json& j, const std::string& path, MarkerCallState& m) {
         m.words = listOf(j, path, markerShape(m.site).words - 1u, stackWord);
     }},
});

// The site comes first and must be given: it says how many words the host takes.
template <>
MarkerCallState object<MarkerCallState>(const json& j, const std::string& path)
{
    knownFields<MarkerCallState>(j, path);
    MarkerCallState m;
    m.site = named<MarkerSite>(j.contains("site") ? j["site"] : json(), path + ".site",
                   {{"host_colour", MarkerSite::HostColour}, {"faint", MarkerSite::Faint},
                    {"low", MarkerSite::Low}, {"high", MarkerSite::High}});
    readFields(j, path, m);
    return m;
}

template <>
constexpr auto fields<CameraPointCallState> = std::to_array<Field<CameraPointCallState>>({
    field<&CameraPointCallState::point>("point"),
    {"args",
     [](const json& j, const std::string& path, CameraPointCallState& c) { eachItem(j, path, c.words, stackWord); }},
});

template <>
constexpr auto fields<CameraCallsState> = std::to_array<Field<CameraCallsState>>({
    field<&CameraCallsState::onFoot>("on_foot"),
    field<&CameraCallsState::vehicle>("vehicle"),
    field<&CameraCallsState::fixedA>("fixed_a"),
    field<&CameraCallsState::fixedB>("fixed_b"),
});

template <>
constexpr auto fields<TextCodeState> = std::to_array<Field<TextCodeState>>({
    field<&TextCodeState::flagR>("flag_r"),
    field<&TextCodeState::flagS>("flag_s"),
});

// ---- A world entry: a field given replaces that field of the world whole --------------

template <>
constexpr auto fields<WorldState> = std::to_array<Field<WorldState>>({
    {"frame", nullptr},
    // Any index, so that one naming neither player record can be tried.
    field<&WorldState::currentPlayer>("current_player"),
    {"players",
     [](const json& j, const std::string& path, WorldState& w) {
         const json& list = array(j, path, 0, host::player_record_count);
         w.players = {PlayerState{}, std::nullopt};
         for (size_t i = 0; i < list.size(); ++i)
             orNull(list[i], path + "[" + std::to_string(i) + "]", w.players[i]);
     }},
    row<upTo<maxWeaponRecords>, &WorldState::weaponInfo>("weapon_info"),
    orNone<&WorldState::noWanted, &WorldState::wanted>("wanted"),
    field<&WorldState::altClockOffsetMs>("alt_clock_offset_ms"),
    field<&WorldState::zoneName>("zone_name"),
    field<&WorldState::vehicleName>("vehicle_name"),
    orNone<&WorldState::noPad, &WorldState::pad>("pad"),
    field<&WorldState::block>("block"),
    field<&WorldState::damageMs>("damage_ms"),
    field<&WorldState::radarMode>("radar_mode"),
    field<&WorldState::language>("language"),
    field<&WorldState::breathLimit>("breath_limit"),
    row<orNull, &WorldState::target>("target"),
    field<&WorldState::route>("route"),
    field<&WorldState::device>("device"),
    row<upTo<maxBlips>, &WorldState::blips>("blips"),
    field<&WorldState::mapView>("map_view"),
    field<&WorldState::mapBlendByte>("map_blend_byte"),
    field<&WorldState::mapFlag>("map_flag"),
    row<within<0, host::player_record_count - 1>, &WorldState::playerCharacter0>("player_character_0"),
    row<orNull, &WorldState::helpTexts, &HelpTextsState::help>("help"),
    row<orNull, &WorldState::helpTexts, &HelpTextsState::subtitle>("subtitle"),
    row<orNull, &WorldState::helpTexts, &HelpTextsState::missionText>("mission_text"),
    row<upTo<maxTextBoxes>, &WorldState::helpTexts, &HelpTextsState::textBoxes>("text_boxes"),
    row<orNull, &WorldState::helpTexts, &HelpTextsState::timeStep>("time_step"),
    field<&WorldState::phone, &PhoneWorldState::clock>("clock"),
    field<&WorldState::phone, &PhoneWorldState::stats>("stats"),
    row<upTo<maxHostBars>, &WorldState::phone, &PhoneWorldState::hostBars>("host_bars"),
    row<upTo<maxMarkerCalls>, &WorldState::options, &OptionsWorldState::markers>("markers"),
    field<&WorldState::options, &OptionsWorldState::cameraCalls>("camera_calls"),
    row<orNull, &WorldState::options, &OptionsWorldState::textCode>("text_code"),
    field<&WorldState::aim, &AimWorldState::radio>("radio"),
    field<&WorldState::aim, &AimWorldState::camera>("camera"),
});

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
        knownFields<WorldState>(list[i], path);
        readFields(list[i], path, w);
        changes.push_back({frame, w});
    }
    return changes;
}

} // namespace sim
