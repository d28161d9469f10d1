#include "data/style_variant.h"

#include <cstdio>

const char* styleFolder(int32_t iVesk)
{
    switch (iVesk) {
    case 1: return "mora";
    case 2: return "sabel";
    default: return "";
    }
}

const char* styleFile(const char* folder, int32_t iVesk, const char* name)
{
    // The longest of the plug-in's own folder and file names fits with room to spare.
    static char file[96];
    const char* variant = styleFolder(iVesk);
    std::snprintf(file, sizeof file, "%s\\%s%s%s", folder, variant, *variant ? "\\" : "", name);
    return file;
}
