#pragma once

#include <cstddef>
#include <iterator>

#include "core/settings.h"
#include "hooks/hook_map.h"
#include "hooks/option_patches.h"
#include "injector/patch_table.h"
#include "textures/texture_installer.h"

// Every table of host patches, in the order the start-up checks them and writes them: the
// two hook maps and the texture installer whatever the settings, then the option sets,
// each behind the setting that switches it. The check and the start-up both go by this
// list, so no set can be written without being checked.

struct PatchSet {
    injector::PatchTable (*table)();
    bool HudSettings::*setting; // nullptr: always written
};

inline constexpr PatchSet patchSets[] = {
    {&hudHookMap, nullptr},
    {&radarHookMap, nullptr},
    {&textureInstaller, nullptr},
    {&fontPatches, &HudSettings::bUseKellFonts},
    {&markerPatches, &HudSettings::bKellMarkers},
    {&onFootCameraPatches, &HudSettings::bKellOnFootCamera},
    {&vehicleCameraPatches, &HudSettings::bKellVehicleCamera},
};
constexpr std::size_t patchSetCount = std::size(patchSets);

// The sets the start-up writes between its event subscriptions; the option sets follow.
enum PatchSetIndex : std::size_t { hudHookMapSet, radarHookMapSet, textureInstallerSet, firstOptionSet };
static_assert(patchSets[hudHookMapSet].table == &hudHookMap && patchSets[radarHookMapSet].table == &radarHookMap &&
              patchSets[textureInstallerSet].table == &textureInstaller && patchSets[firstOptionSet].table == &fontPatches);

// The tables made for one start-up's settings, each once: a set that is off has no rows.
// The tables read the other settings from the plug-in's state, which must hold the same.
struct PatchTables {
    injector::PatchTable of[patchSetCount];
};

[[nodiscard]] PatchTables makePatchTables(const HudSettings& settings);
