#include "hud/weapon_icons.h"

#include <cstring>

#include "textures/sprite_tables.h"

namespace {

constexpr int32_t firstModel = 321;

// Icon names by model id from firstModel on; null where a model has no icon.
const char* const iconNames[] = {
    "gun_dildo1",   // 321
    "gun_dildo2",   // 322
    "gun_vibe1",    // 323
    "gun_vibe2",    // 324
    "flowera",      // 325
    "gun_cane",     // 326
    nullptr,        // 327
    nullptr,        // 328
    nullptr,        // 329
    nullptr,        // 330
    "brassknuckle", // 331
    nullptr,        // 332
    "golfclub",     // 333
    "nitestick",    // 334
    "knifecur",     // 335
    "bat",          // 336
    "shovel",       // 337
    "poolcue",      // 338
    "katana",       // 339
    nullptr,        // 340
    "chnsaw",       // 341
    "grenade",      // 342
    "teargas",      // 343
    "molotov",      // 344
    nullptr,        // 345
    "colt45",       // 346
    "silenced",     // 347
    "desert_eagle", // 348
    "chromegun",    // 349
    "sawnoff",      // 350
    "shotgspa",     // 351
    "micro_uzi",    // 352
    "mp5lng",       // 353
    nullptr,        // 354
    "ak47",         // 355
    "m4",           // 356
    "cuntgun",      // 357
    "sniper",       // 358
    "rocketla",     // 359
    "heatseek",     // 360
    "flame",        // 361
    "minigun",      // 362
    "satchel",      // 363
    "detonator",    // 364
    "spraycan",     // 365
    "fire_ex",      // 366
    "camera",       // 367
    "goggles",      // 368
    "goggles",      // 369
    nullptr,        // 370
    "gun_para",     // 371
    "tec9",         // 372
};
constexpr int32_t modelCount = sizeof iconNames / sizeof iconNames[0];

const char* iconName(int32_t model)
{
    if (model <= 0)
        return "unarmed";
    // Models outside the table have no icon; one unsigned comparison keeps the index
    // inside it on both sides (model is at least 1 here, so the difference cannot overflow).
    uint32_t index = static_cast<uint32_t>(model - firstModel);
    if (index >= static_cast<uint32_t>(modelCount))
        return nullptr;
    return iconNames[index];
}

} // namespace

Sprite* weaponIconSprite(int32_t model)
{
    const char* name = iconName(model);
    if (!name)
        return nullptr;
    // By name rather than by index, so the icon always matches the weapon table's order.
    const SpriteTable& table = spriteTables[WEAPON_SPRITES];
    for (int i = 0; i < table.count; ++i)
        if (std::strcmp(table.names[i], name) == 0)
            return &table.sprites[i];
    return nullptr;
}
