#include "textures/texture_loading.h"

#include "state/plugin.h"
#include "core/plugin_path.h"
#include "host/host.h"
#include "textures/sprite_tables.h"
#include "textures/texture_files.h"

void loadTextures()
{
    for (int t = 0; t < SPRITE_TABLE_COUNT; ++t) {
        const SpriteTable& table = spriteTables[t];
        int32_t slot = host::txd_add_slot(table.slotName);
        host::txd_load(slot, pluginPath(spriteTableFile(static_cast<SpriteTableId>(t), plugin.settings.iVesk)));
        host::txd_add_ref(slot);
        // Bind by name from this slot alone, then give the host back its current dictionary.
        host::txd_push_current();
        host::txd_set_current(slot);
        for (int i = 0; i < table.count; ++i)
            host::sprite_set_texture(&table.sprites[i], table.names[i]);
        host::txd_pop_current();
    }
}

// A shutdown without a start (or after another one) finds no slot of ours: the host's
// "none" (-1) is not a slot to remove.
void releaseTextures()
{
    for (const SpriteTable& table : spriteTables) {
        for (int i = 0; i < table.count; ++i)
            host::sprite_release(&table.sprites[i]);
        const int32_t slot = host::txd_find_slot(table.slotName);
        if (slot >= 0)
            host::txd_remove_slot(slot);
    }
}
