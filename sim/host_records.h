#pragma once

#include <cstdint>

// Records that the simulated host keeps for itself: what the host's pointers lead to
// (characters, the wanted record, the pad, weapon records, the render engine) and the
// values its own code passes at the patched sites. These addresses are the simulated
// host's own choice, not facts about the host: the plug-in reaches these records only
// through host pointers and host functions. They lie in the data region, in a block of
// their own, away from every host datum declared in src/host/.

namespace sim::records {

// Characters of player records 0 and 1.
constexpr uint32_t characters = 0xCE0000;
constexpr uint32_t characterSize = 0x800;

constexpr uint32_t wanted = 0xCE1000;      // what player_wanted answers
constexpr uint32_t wantedSize = 0x40;
constexpr uint32_t pad = 0xCE1100;         // what pad_get answers
constexpr uint32_t padSize = 0x80;
constexpr uint32_t renderEngine = 0xCE1200; // what host::render_engine points to
constexpr uint32_t renderEngineSize = 0x40;

// The host's array of 15 HUD colours, filled on the renderer-start path.
constexpr uint32_t hudColourArray = 0xCE1300;
constexpr uint32_t hudColourCount = 15;
// The colours the host's zone-name and vehicle-name routines pass (their fade).
constexpr uint32_t zoneNameColour = 0xCE1340;
constexpr uint32_t vehicleNameColour = 0xCE1344;
// Colour objects the host's radar code makes its gang-overlay and arrow colours in.
constexpr uint32_t gangOverlayColour = 0xCE1350;
constexpr uint32_t arrowColour = 0xCE1354;
// Two float constants of the host that its arrow code reads by address.
constexpr uint32_t arrowConstantA = 0xCE1360;
constexpr uint32_t arrowConstantB = 0xCE1364;
// A word of the radio display state the host writes.
constexpr uint32_t radioWord = 0xCE1370;

// Weapon records: one per weapon_info entry of the scenario, then one of zeros.
constexpr uint32_t weaponRecords = 0xCE2000;
constexpr uint32_t weaponRecordSize = 0x70;
constexpr uint32_t weaponRecordSlots = 65;

static_assert(weaponRecords + weaponRecordSlots * weaponRecordSize <= 0xCE4000);

// Each character's player data record and vehicle (its matrix inside, at vehicleMatrix).
constexpr uint32_t playerData = 0xCE4000;
constexpr uint32_t playerDataSize = 0x80;
constexpr uint32_t vehicles = 0xCE4100;
constexpr uint32_t vehicleSize = 0x800;
constexpr uint32_t vehicleMatrix = 0x700;

constexpr uint32_t end = vehicles + 2 * vehicleSize;
static_assert(end <= 0xCE6000);

// The host's graphics device: the object (its first word the method table), the table,
// and the capability record device_caps answers with.
constexpr uint32_t device = 0xCE6000;
constexpr uint32_t deviceMethods = 0xCE6100;  // 119 entries of 4 bytes
constexpr uint32_t deviceCaps = 0xCE6300;     // 0x130 bytes, a Direct3D 9 capability record
constexpr uint32_t deviceCapsSize = 0x130;

// The road nodes of the scenario's route: one record each, its world position first. A
// node's address (what the search writes) holds the area in its high half and the index
// within the area in its low half.
constexpr uint32_t pathNodes = 0xCC0000;
constexpr uint32_t pathNodeSize = 0x10;
constexpr uint32_t pathNodesPerArea = 1024;
constexpr uint32_t pathNodeSlots = 8192;
static_assert(pathNodes + pathNodeSlots * pathNodeSize <= characters);

// ---- Radio display and crosshair (0xCE8000..0xCE8FFF) ----
// The host's radio object, on which the host calls its radio-display routine.
constexpr uint32_t radioObject = 0xCE8000;
constexpr uint32_t radioObjectSize = 0x40;
// ---- Help box, printed texts and text boxes (0xCE9000..0xCE9FFF) ----------------------
// The rectangle and colour the host's box calls pass, and the subtitle text it prints.
constexpr uint32_t textBoxRect = 0xCE9000;   // 16 bytes
constexpr uint32_t textBoxColour = 0xCE9010; // 4 bytes
constexpr uint32_t textBoxRectPointer = 0xCE9014; // what the host pushes: textBoxRect, or 0
constexpr uint32_t subtitleText = 0xCE9100;
constexpr uint32_t subtitleTextSize = 0x400;
static_assert(subtitleText + subtitleTextSize <= 0xCEA000);
// ---- Cellphone, stats box and progress bar (0xCE7000-0xCE7FFF) ----------------------

// The host's own progress bars of a frame: the ten stack words of each call, as the host
// pushes them (see sim/host_phone.h).
constexpr uint32_t hostBars = 0xCE7000;
constexpr uint32_t hostBarWords = 10;
constexpr uint32_t hostBarSize = hostBarWords * 4;
constexpr uint32_t hostBarSlots = 32;
static_assert(hostBars + hostBarSlots * hostBarSize <= 0xCE8000);
// ---- Option sets -----------------------------------------------------------------------

// The host's camera object, on which it makes every camera call.
constexpr uint32_t cameraObject = 0xCEA000;
constexpr uint32_t cameraObjectSize = 0x80;
// The stack words of the marker call being made and its point (pushed by address).
constexpr uint32_t markerWords = 0xCEA100; // 15 words
constexpr uint32_t markerPoint = 0xCEA140;
constexpr uint32_t markerPointRef = 0xCEA150; // what the host pushes for the point: its address, or 0
// The camera calls with a point: four words, then the point.
constexpr uint32_t onFootCameraWords = 0xCEA160;
constexpr uint32_t onFootCameraPoint = 0xCEA170;
constexpr uint32_t vehicleCameraWords = 0xCEA180;
constexpr uint32_t vehicleCameraPoint = 0xCEA190;
// The stack pointer the host keeps before each option-site call.
constexpr uint32_t optionSiteEsp = 0xCEA1A0;
// The host's own text unit and line count, what its text code stores, and the values it
// passes to its two flag setters.
constexpr uint32_t textUnit = 0xCEA1B0;   // f32
constexpr uint32_t textLines = 0xCEA1B4;  // i32
constexpr uint32_t textFlagR = 0xCEA1B8;  // u32, a byte argument
constexpr uint32_t textFlagS = 0xCEA1BC;  // u32
constexpr uint32_t textResults = 0xCEA1C0; // 14 f32
constexpr uint32_t optionsEnd = 0xCEA200;
static_assert(optionsEnd <= 0xCEB000);

inline uint32_t character(int player) { return characters + static_cast<uint32_t>(player) * characterSize; }
inline uint32_t playerDataOf(int player) { return playerData + static_cast<uint32_t>(player) * playerDataSize; }
inline uint32_t vehicle(int player) { return vehicles + static_cast<uint32_t>(player) * vehicleSize; }

} // namespace sim::records
