// The weapon icon table in docs/textures.md is the plug-in's own: on a difference the
// test prints the table to paste into the doc.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "hud/weapon_icons.h"
#include "textures/sprite_tables.h"

namespace {

// The texture name a model's icon sprite stands for, or null.
const char* iconOf(int32_t model)
{
    const SpriteTable& table = spriteTables[WEAPON_SPRITES];
    const Sprite* sprite = weaponIconSprite(model);
    return sprite ? table.names[sprite - table.sprites] : nullptr;
}

TEST(WeaponIconTable, TheDocsTableIsTheCodes)
{
    std::string table = "| model | icon |\n|---|---|\n| 0 or less (no weapon) | `" + std::string(iconOf(0)) + "` |\n";
    for (int32_t model = 1; model < 1000; ++model)
        if (const char* name = iconOf(model))
            table += "| " + std::to_string(model) + " | `" + name + "` |\n";
    EXPECT_STREQ(iconOf(-5), "unarmed");

    std::ifstream in(std::string(KELLHUD_ASSETS_DIR) + "/../docs/textures.md");
    std::stringstream doc;
    doc << in.rdbuf();
    EXPECT_NE(doc.str().find(table), std::string::npos) << "docs/textures.md: the weapon icon table should read\n"
                                                         << table;
}

} // namespace
