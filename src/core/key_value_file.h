#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/types.h"

// The one reader of the plug-in's text data files: one key and one value per line,
// '#' and ';' start comments, the first line of a key wins.

struct KeyValueEntry {
    std::string value;
    bool quoted = false;
    bool missing = false;
    std::string key;
    std::string comment;
    uint32_t commentColumn = 0;

    bool tryBool(bool& out) const;
    bool tryInt(int32_t& out) const;
    std::array<float, 2> asPair() const;
    std::array<float, 4> asQuad() const;
    Colour asColour(Colour fallback) const;
    std::string asText(const std::string& fallback) const;
};

struct KeyValueFile {
    std::string path;
    std::vector<KeyValueEntry> entries;
    std::vector<std::pair<uint32_t, std::string>> commentLines;
    std::vector<uint32_t> emptyLines;
    bool hasEquals = false;
    bool read = false;

    void open(const char* filePath);
    // The first entry of a key; for a key the file lacks, an entry marked missing (and
    // quoted, so that its text reads as the fallback). A look-up never changes the file.
    const KeyValueEntry& operator[](std::string_view key) const;
};
