#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/types.h"

// The state of the host's world for one frame: players, weapons, wanted level, area names,
// pad answers and block flags (the scenario's `world` list, see docs/scenario.md).

namespace sim {

struct WeaponSlotState {
    int32_t slot = 0; // which of the character's weapon slot records, and the current one
    int32_t type = 0;
    int32_t clip = 0;
    int32_t total = 0;
};

// The vehicle a character sits in: its type code, the two z components of its matrix the
// roll comes from, and the character's vehicle flags (bit 0x100: seated in it).
struct VehicleState {
    int32_t type = 0;
    float matrix[2] = {0.0f, 1.0f}; // matrix +0x08, +0x28: lying level
    uint32_t flags = 0x100;
    float heading = 0.0f; // degrees about the up axis, counter-clockwise from east
};

struct PlayerState {
    int32_t money = 0;
    uint8_t skill = 0; // what the host answers for the character's weapon skill
    WeaponSlotState weapon;
    float health = 100.0f;
    float armour = 0.0f;
    uint8_t maxHealth = 100; // in the player record
    uint8_t maxArmour = 100;
    uint32_t stateFlags = 0;
    float breath = 0.0f;     // in the character's player data record
    Vec3 position{0.0f, 0.0f, 0.0f};
    std::optional<VehicleState> vehicle;
    uint8_t crosshairBlock = 0; // the character's host::character_crosshair_block
    float heading = 0.0f;       // the character's, in degrees about the up axis
};

// A record the host's weapon table answers with; no skill matches any skill.
struct WeaponRecordState {
    int32_t type = 0;
    std::optional<uint8_t> skill;
    uint16_t clipSize = 0;
    int32_t model = 0;
};

struct WantedState {
    uint32_t stars = 0;
    uint32_t changedMs = 0;
};

struct AreaNameState {
    std::string text;
    bool shown = false;          // the host's own routine runs and prints it this frame
    int32_t states[2] = {0, 0};  // the host's two state words: 1, 1 while shown unless given
    Colour colour{255, 255, 255, 255};
};

struct PadState {
    bool weaponA = false;
    bool weaponB = false;
    bool ammo = false;
    int16_t cash = 0;
    bool phone = false; // what the host's phone cue answers
};

// The map target: a radar trace record and the handle in the menu state that names it.
struct TargetState {
    uint16_t index = 0;   // the record, and the handle's low half
    uint16_t counter = 0; // the record's counter, and the handle's high half
    uint8_t flags = 1;    // bit 0 or 1: the record is in use
    Vec3 position{0.0f, 0.0f, 0.0f};
    std::optional<uint32_t> handle; // when given, written instead of counter:index
};

// What the host's road search answers: the route's nodes in order, and the count it
// reports (by default the number of nodes it wrote).
struct RouteState {
    std::vector<Vec3> nodes;
    std::optional<int16_t> count;
};

// The host's graphics device: whether its capabilities offer the scissor test.
struct DeviceState {
    bool scissor = true;
};

// A blip the host's blip layer draws: its radar-space point and what the host hands on with
// it. Words of the sized marker are the seven stack words the host pushes.
struct BlipLevelState {
    uint8_t kind = 0;
    Colour colour{255, 255, 255, 255};
};

struct BlipState {
    uint8_t id = 0;
    Vec2 at{0.0f, 0.0f};
    uint8_t alpha = 255;
    std::optional<bool> check; // the host's sprite check; unset: whether the id's slot is bound
    std::optional<BlipLevelState> level;
    std::optional<std::array<uint32_t, 7>> sized;
};

// The full-screen map's scale and origin (host::menu_state +0x64, +0x68, +0x6C).
struct MapViewState {
    float scale = 1.0f;
    float originX = 0.0f;
    float originY = 0.0f;
};

// The host's radio object and camera as the radio display and the crosshair read them.
struct RadioState {
    int32_t station = 0;
    int8_t step = 0;
    bool change = false; // the host reports a station change
    bool ready = true;   // what host::radio_change_ready answers
    bool operator==(const RadioState&) const = default;
};

struct CameraState {
    int32_t index = 0;   // host::camera_active_index; the mode is written only into a record that exists
    uint16_t mode = 0;   // the mode of the active camera record
    uint8_t flagC = 0;
    uint8_t flagD = 0;
    Vec2 aim{0.5f, 0.5f}; // host::crosshair_x_fraction, host::crosshair_y_fraction
};

struct AimWorldState {
    RadioState radio;
    CameraState camera;
};

// The host's help box (its message and the flags it reads with it), the texts the host
// prints this frame and the boxes it draws behind texts (see docs/scenario.md).
struct HelpBoxState {
    uint32_t serial = 0;       // which scenario entry gave it; 0: none did
    std::string text;          // the host keeps its first 400 bytes
    bool permanent = false, quick = false, hide = false;
    int32_t statId = 0;
    uint8_t blocks[3] = {0, 0, 0};
    float boxWidth = 200.0f;
    float boxOffset = 0.0f;
    // The host's state words, written only when given.
    std::optional<int32_t> state, elapsed, fade, lines;
};

struct TextBoxState {
    char site = 'a'; // which of the host's two box calls draws it
    Rect rect{0.0f, 0.0f, 0.0f, 0.0f};
    bool noRect = false; // the host passes a null rectangle
    Colour colour{0, 0, 0, 255};
};

struct HelpTextsState {
    std::optional<HelpBoxState> help; // none: the host runs no help box
    std::optional<std::string> subtitle;
    std::optional<std::string> missionText;
    std::vector<TextBoxState> textBoxes;
    std::optional<float> timeStep; // instead of the clock's advance / 20
};

// The game clock, the statistics the host answers with and the progress bars the host
// itself draws each frame (the cellphone, the stats box and the progress bar).
struct ClockState {
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t day = 0; // day of the week
};

// The ten arguments of one host progress-bar call.
struct HostBarState {
    float x = 0.0f;
    float y = 0.0f;
    uint16_t width = 100;
    uint8_t height = 10;
    float percent = 0.0f;
    int8_t segment = 0;
    uint8_t showText = 0;
    uint8_t frame = 0;
    Colour colour1{255, 255, 255, 255};
    Colour colour2{255, 255, 255, 255};
};

struct PhoneWorldState {
    ClockState clock;
    std::map<int32_t, float> stats; // what stat_value answers; any other statistic is 0
    std::vector<HostBarState> hostBars;
};

// ---- Option sets: the host's marker, camera and text calls ------------------------------

// The four host calls that draw a 3D marker, and the host function each one calls.
enum class MarkerSite { HostColour, Faint, Low, High };

// One marker the host draws this frame: the stack words it pushes, the point's pointer
// left out (the point itself is given apart and the host passes its address).
struct MarkerCallState {
    MarkerSite site = MarkerSite::HostColour;
    Vec3 point{0.0f, 0.0f, 0.0f};
    bool pointNull = false; // the host passes no address for the point
    std::vector<uint32_t> words;
};

// A camera call with a point: the point and the four stack words after it.
struct CameraPointCallState {
    Vec3 point{0.0f, 0.0f, 0.0f};
    std::array<uint32_t, 4> words{};
};

// Which of its camera calls the host makes this frame, all on its one camera object.
struct CameraCallsState {
    std::optional<CameraPointCallState> onFoot;
    std::optional<CameraPointCallState> vehicle;
    bool fixedA = false;
    bool fixedB = false;
};

// The host's text code: it scales by its text unit and sets its two text flags.
struct TextCodeState {
    uint8_t flagR = 0;
    uint8_t flagS = 0;
};

struct OptionsWorldState {
    std::vector<MarkerCallState> markers;
    CameraCallsState cameraCalls;
    std::optional<TextCodeState> textCode; // none: the host's text code does not run
};

struct WorldState {
    int32_t currentPlayer = 0;
    // Player records 0 and 1; an empty one has no character.
    std::array<std::optional<PlayerState>, 2> players{PlayerState{}, std::nullopt};
    std::vector<WeaponRecordState> weaponInfo;
    WantedState wanted;
    int32_t altClockOffsetMs = 0;
    AreaNameState zoneName;
    AreaNameState vehicleName;
    PadState pad;
    uint8_t block[3] = {0, 0, 0};
    uint32_t damageMs = 0;       // the player's last damage time
    int32_t radarMode = 0;       // 2: the host shows no radar
    uint8_t language = 0;
    float breathLimit = 1000.0f; // the host's full-breath statistic
    std::optional<TargetState> target; // none: the handle is 0
    RouteState route;
    DeviceState device;
    std::vector<BlipState> blips;
    MapViewState mapView;
    uint8_t mapBlendByte = 0; // the byte of the map drawing's stack frame the host tests
    uint8_t mapFlag = 1;          // the map-screen flag's byte while the map shows
    int32_t playerCharacter0 = 0; // whose character host::player_character(0) answers with
    AimWorldState aim;
    HelpTextsState helpTexts;
    PhoneWorldState phone;
    OptionsWorldState options;
    // Host answers that name nothing: player_wanted and pad_get give a null pointer
    // (`"wanted": null`, `"pad": null`).
    bool noWanted = false;
    bool noPad = false;
};

// Limits of what the simulated host can hold.
constexpr size_t maxWeaponRecords = 64;
constexpr size_t maxAreaNameLength = 63; // the host's 64-byte texts, terminator included
constexpr size_t maxRouteNodes = 8192;   // node records the simulated host has room for
constexpr size_t maxBlips = 20000;
constexpr size_t maxTextBoxes = 64;
constexpr size_t maxHostBars = 32;
constexpr size_t maxMarkerCalls = 64;

} // namespace sim
