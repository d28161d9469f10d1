#include "hooks/patch_sets.h"

PatchTables makePatchTables(const HudSettings& settings)
{
    PatchTables tables{};
    for (std::size_t i = 0; i < patchSetCount; ++i)
        if (!patchSets[i].setting || settings.*patchSets[i].setting)
            tables.of[i] = patchSets[i].table();
    return tables;
}
