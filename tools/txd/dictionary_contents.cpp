#include "dictionary_contents.h"

#include <algorithm>
#include <cctype>

#include "host/chosen_addresses.h"
#include "text/printable.h"
#include "textures/sprite_tables.h"
#include "textures/texture_files.h"

namespace txd {

namespace {

// "kell-hud\textures\mora\radar.txd" -> "radar"
std::string stemOf(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.substr(0, file.rfind('.'));
}

std::string folded(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool powerOfTwo(unsigned n) { return n && (n & (n - 1)) == 0; }

unsigned nextPowerOfTwo(unsigned n)
{
    unsigned p = 1;
    while (p < n && p < largestSide)
        p <<= 1;
    return p;
}

std::string size(unsigned w, unsigned h) { return std::to_string(w) + "x" + std::to_string(h); }

} // namespace

std::vector<std::string> knownDictionaries()
{
    std::vector<std::string> names;
    for (int t = 0; t < SPRITE_TABLE_COUNT; ++t)
        names.push_back(stemOf(spriteTableFile(static_cast<SpriteTableId>(t), 0)));
    names.push_back(stemOf(fontDictionaryFile(0)));
    return names;
}

bool neededTextures(const std::string& dictionary, std::vector<std::string>& names)
{
    names.clear();
    for (int t = 0; t < SPRITE_TABLE_COUNT; ++t) {
        const SpriteTable& table = spriteTables[t];
        if (stemOf(spriteTableFile(static_cast<SpriteTableId>(t), 0)) == dictionary)
            names.insert(names.end(), table.names, table.names + table.count);
    }
    // The host's own look-ups in the two files the plug-in hands it instead of its own.
    if (dictionary == stemOf(blipDictionaryFile))
        for (const char* name : host::chosen::radar_sprite_names)
            if (name)
                names.push_back(name);
    if (dictionary == stemOf(fontDictionaryFile(0)))
        names.assign(host::chosen::font_texture_names,
                     host::chosen::font_texture_names + host::chosen::font_texture_count);
    return !names.empty();
}

std::vector<ContentFinding> checkContents(const Dictionary& dictionary, const std::string& name)
{
    std::vector<std::string> needed;
    neededTextures(name, needed);
    const std::string file = name + ".txd";
    std::vector<ContentFinding> findings;
    for (const std::string& wanted : needed)
        if (std::none_of(dictionary.textures.begin(), dictionary.textures.end(),
                         [&](const Texture& t) { return sameName(t.name, wanted); }))
            findings.push_back({true, wanted,
                                "texture \"" + wanted + "\" is missing: the plug-in draws it from " + file +
                                    " and a sprite without its texture draws nothing; add " + wanted + ".png"});
    for (const Texture& t : dictionary.textures) {
        const std::string shown = printable(t.name, 40);
        if (std::none_of(needed.begin(), needed.end(), [&](const std::string& n) { return sameName(t.name, n); })) {
            const std::string near = closestName(t.name, needed);
            findings.push_back({false, t.name,
                                "texture \"" + shown + "\" is never drawn: no name of " + file +
                                    " is looked up by that name, so it only takes memory" +
                                    (near.empty() ? "" : " (did you mean " + near + "?)")});
        }
        if (!powerOfTwo(t.width) || !powerOfTwo(t.height))
            findings.push_back({false, t.name,
                                "texture \"" + shown + "\" is " + size(t.width, t.height) +
                                    ": a side that is not a power of two (2, 4, ... 1024) is filtered unevenly "
                                    "between mip levels and some cards pad it in memory; make it " +
                                    size(nextPowerOfTwo(t.width), nextPowerOfTwo(t.height))});
        if (t.width > largestSide || t.height > largestSide) {
            const uint64_t bytes = uint64_t{t.width} * t.height * 4 * 4 / 3;
            findings.push_back({false, t.name,
                                "texture \"" + shown + "\" is " + size(t.width, t.height) + ": over " +
                                    std::to_string(largestSide) + " pixels on a side it takes " +
                                    std::to_string(bytes >> 20) + " MB of video memory with its mip levels, and "
                                    "no element is drawn that large; make it at most " +
                                    size(std::min(unsigned{t.width}, largestSide), std::min(unsigned{t.height}, largestSide))});
        }
    }
    return findings;
}

std::string closestName(const std::string& word, const std::vector<std::string>& candidates)
{
    std::string best;
    size_t bestDistance = 0;
    const std::string w = folded(word);
    // A copy an editor or file manager made: "m4 - Copy", "m4 (2)", "m4_old".
    for (const std::string& candidate : candidates) {
        const std::string c = folded(candidate);
        if (w.size() > c.size() && w.compare(0, c.size(), c) == 0 && !std::isalnum(static_cast<unsigned char>(w[c.size()])) &&
            c.size() > best.size())
            best = candidate;
    }
    if (!best.empty())
        return best;
    // A slip changes a few letters; a third of the word changed is another word.
    const size_t nearEnough = std::max<size_t>(2, w.size() / 3);
    for (const std::string& candidate : candidates) {
        const std::string c = folded(candidate);
        // The distance is at least the difference in length: a name that much longer or
        // shorter cannot be near, and comparing a long word with it letter by letter is slow.
        if (std::max(w.size(), c.size()) - std::min(w.size(), c.size()) > nearEnough)
            continue;
        const size_t d = editDistance(w, c);
        if (best.empty() || d < bestDistance) {
            best = candidate;
            bestDistance = d;
        }
    }
    return !best.empty() && bestDistance <= nearEnough ? best : "";
}

} // namespace txd
