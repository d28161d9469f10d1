#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Which screen edge an element's x or y is measured from. A hud.dat line may name one
// after its numbers ("150 180 110 110 right-top"); without it every element keeps the edge
// it always had, and nothing it draws changes by a bit.
enum class Edge : uint8_t {
    Given,      // no anchor on the line: the element's own edge
    Start,      // left or top: the number is the distance from it
    Centre,     // the middle: the number is added to it (right, down)
    End,        // right or bottom: the number is the distance from it, inward
    CentreBack, // the middle, the number taken away: only an element's own edge, never read
};

// Plain data (zero is no anchor), so the plug-in's state stays a trivial type.
struct Anchor {
    Edge x, y;
};
static_assert(Edge::Given == Edge{});

inline bool anchored(Anchor anchor) { return anchor.x != Edge::Given; }

// Where a length of `pixels` measured from `edge` lies along a side `size` pixels long.
inline float measuredFrom(Edge edge, float size, float pixels)
{
    switch (edge) {
    case Edge::Centre: return size * 0.5f + pixels;
    case Edge::CentreBack: return size * 0.5f - pixels;
    case Edge::End: return size - pixels;
    default: return pixels;
    }
}

namespace anchor_words {

inline bool same(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return true;
}

inline Edge edgeNamed(std::string_view word, std::string_view start, std::string_view end)
{
    if (same(word, start))
        return Edge::Start;
    if (same(word, end))
        return Edge::End;
    if (same(word, "centre") || same(word, "center"))
        return Edge::Centre;
    return Edge::Given;
}

inline bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace anchor_words

// "right-top", "centre-bottom", "left-centre"...: the horizontal edge, a dash, the vertical
// one, in any case ("center" too). Anything else is no anchor.
inline Anchor anchorNamed(std::string_view word)
{
    using namespace anchor_words;
    const std::size_t dash = word.find('-');
    if (dash == std::string_view::npos)
        return {};
    const Edge x = edgeNamed(word.substr(0, dash), "left", "right");
    const Edge y = edgeNamed(word.substr(dash + 1), "top", "bottom");
    if (x == Edge::Given || y == Edge::Given)
        return {};
    return {x, y};
}

// The word after the first `numbers` words of a value: where an anchor stands. Empty when
// the value has no more words.
inline std::string_view wordAfter(std::string_view value, std::size_t numbers)
{
    using anchor_words::blank;
    std::size_t at = 0;
    for (std::size_t word = 0;; ++word) {
        while (at < value.size() && blank(value[at]))
            ++at;
        const std::size_t begin = at;
        while (at < value.size() && !blank(value[at]))
            ++at;
        if (word == numbers)
            return value.substr(begin, at - begin);
        if (begin == at)
            return {};
    }
}

// The anchor a value names after its numbers (4 for a record, 2 for an offset pair).
inline Anchor anchorAfter(std::string_view value, std::size_t numbers)
{
    return anchorNamed(wordAfter(value, numbers));
}
