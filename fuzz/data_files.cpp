// The plug-in's readers of settings.ini, hud.dat and hudColor.dat, fed one file's bytes:
// each reader reads the same input as its own file.

#include <cstring>
#include <string>

#include "core/key_value_file.h"
#include "state/plugin.h"
#include "core/settings.h"
#include "data/colours.h"
#include "data/layout.h"
#include "property.h"
#include "scratch_file.h"

namespace {

// Everything the three readers fill, zeroed first so that it compares byte by byte.
struct Reading {
    HudPlugin hud;
    Colour colours[HUD_COLOUR_COUNT];
};

void readAll(const uint8_t* data, size_t size, Reading& out)
{
    std::memset(&out, 0, sizeof out);
    writeScratch(data, size);
    out.hud.settings = readSettings();
    out.hud.layout = readLayout();
    out.hud.colours = readColours(out.hud.settings.iVesk);
    std::memcpy(out.colours, out.hud.colours.data(), sizeof out.colours);
}

// Lines as the reader splits them: a last line without its line feed still counts.
uint32_t lineCount(const uint8_t* data, size_t size)
{
    uint32_t lines = 0;
    for (size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    return lines + (size > 0 && data[size - 1] != '\n');
}

// The reader's own view: every line is empty, a comment line or one entry (the data
// checker finds each entry's line number from this), and every way of reading a value
// copes with whatever text it holds.
void readEntries(const uint8_t* data, size_t size)
{
    KeyValueFile file;
    file.open(writeScratch(data, size).c_str());
    require(file.entries.size() + file.commentLines.size() + file.emptyLines.size() == lineCount(data, size),
            "every line is an entry, a comment line or an empty line");
    for (const KeyValueEntry& entry : file.entries) {
        bool flag = false;
        int32_t number = 0;
        entry.tryBool(flag);
        entry.tryInt(number);
        entry.asPair();
        entry.asQuad();
        entry.asColour(Colour{1, 2, 3, 4});
        entry.asText("fallback");
    }
    require(file["no such key"].missing && file["no such key"].asText("fallback") == "fallback",
            "a key the file does not hold reads as missing, with the fallback text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readEntries(data, size);

    static Reading asGiven, withLineEnd;
    readAll(data, size, asGiven);
    // A last line without its line feed reads as it would with one.
    if (size == 0 || data[size - 1] != '\n') {
        std::string ended(reinterpret_cast<const char*>(data), size);
        ended += '\n';
        readAll(reinterpret_cast<const uint8_t*>(ended.data()), ended.size(), withLineEnd);
        require(std::memcmp(&asGiven, &withLineEnd, sizeof asGiven) == 0,
                "a file reads the same with or without a line feed after its last line");
    }
    return 0;
}
