#include "studio/data_edit.h"

#include <algorithm>
#include <cstddef>

namespace studio {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t none = std::string_view::npos;

// The character classes of core/key_value_file.cpp: the scan below must split a line
// exactly where the plug-in's reader does, or an edit would land beside the value it reads.
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool startsComment(char c)
{
    return c == '#' || c == ';';
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// One line as the reader sees it; positions are offsets into the whole text.
struct Line {
    std::size_t begin = 0; // after a byte-order mark on the first line
    std::size_t end = 0;   // before the CR of a CR LF and the LF
    bool entry = false;    // a line with a key
    Span key;
    std::size_t separatorEnd = 0; // after the key and any '=' that follows it
    std::vector<Span> tokens;
    std::size_t comment = none;
};

// Mirrors the reader's scanLine() state by state, keeping where each part lies.
void scanLine(std::string_view text, Line& line)
{
    enum class State { BeforeKey, InKey, AfterKey, InValue } state = State::BeforeKey;
    bool inToken = false;
    std::size_t stop = line.end;
    for (std::size_t i = line.begin; i < line.end; ++i) {
        const char c = text[i];
        if (startsComment(c)) {
            if (state == State::BeforeKey)
                return;
            line.comment = i;
            stop = i;
            break;
        }
        switch (state) {
        case State::BeforeKey:
            if (!isBlank(c) && c != '=') {
                line.key.begin = i;
                state = State::InKey;
            }
            break;
        case State::InKey:
            if (isBlank(c) || c == '=') {
                line.key.end = i;
                line.separatorEnd = c == '=' ? i + 1 : i;
                state = State::AfterKey;
            }
            break;
        case State::AfterKey:
            if (c == '=') {
                line.separatorEnd = i + 1;
            } else if (!isBlank(c)) {
                line.tokens.push_back({i, i});
                inToken = true;
                state = State::InValue;
            }
            break;
        case State::InValue:
            if (isBlank(c) && inToken) {
                line.tokens.back().end = i;
                inToken = false;
            } else if (!isBlank(c) && !inToken) {
                line.tokens.push_back({i, i});
                inToken = true;
            }
            break;
        }
    }
    if (state == State::InKey) {
        line.key.end = stop;
        line.separatorEnd = stop;
    }
    if (inToken)
        line.tokens.back().end = stop;
    line.entry = state != State::BeforeKey;
}

std::vector<Line> scanText(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\n', start);
        const std::size_t next = feed == none ? text.size() : feed + 1;
        Line line;
        line.begin = start;
        line.end = feed == none ? text.size() : feed;
        if (line.end > line.begin && text[line.end - 1] == '\r')
            --line.end;
        if (lines.empty() && text.substr(line.begin, line.end - line.begin).starts_with(byteOrderMark))
            line.begin += byteOrderMark.size();
        scanLine(text, line);
        lines.push_back(std::move(line));
        start = next;
    }
    return lines;
}

std::string_view spanText(std::string_view text, Span span)
{
    return text.substr(span.begin, span.end - span.begin);
}

enum class Align { None, Left, Right, Either };

// Which edge of token `index` holds a column: the one most other entries share (hud.dat
// numbers start in columns, hudColor.dat numbers end in them). A tie, as in a column of
// 255s, follows the line's other tokens.
Align columnOf(const std::vector<Line>& lines, const Line& line, std::size_t index)
{
    const std::size_t start = line.tokens[index].begin - line.begin;
    const std::size_t end = line.tokens[index].end - line.begin;
    std::size_t others = 0;
    std::size_t sameStart = 0;
    std::size_t sameEnd = 0;
    for (const Line& other : lines) {
        if (&other == &line || other.tokens.size() <= index)
            continue;
        ++others;
        sameStart += other.tokens[index].begin - other.begin == start;
        sameEnd += other.tokens[index].end - other.begin == end;
    }
    const std::size_t most = std::max(sameStart, sameEnd);
    // Two lines meeting by chance, as settings with keys of one length do, make no column.
    if (most < 2 || most * 2 <= others)
        return Align::None;
    if (sameStart == sameEnd)
        return Align::Either;
    return sameEnd > sameStart ? Align::Right : Align::Left;
}

// The edge each of the line's tokens keeps. Without columns in the file, a token padded
// with more than one blank is taken as right-aligned, and a singly spaced one just moves.
std::vector<Align> alignments(const std::vector<Line>& lines, const Line& line)
{
    std::vector<Align> found;
    bool right = false;
    bool left = false;
    for (std::size_t i = 0; i < line.tokens.size(); ++i) {
        found.push_back(columnOf(lines, line, i));
        right = right || found.back() == Align::Right;
        left = left || found.back() == Align::Left;
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        const std::size_t gapStart = i == 0 ? line.separatorEnd : line.tokens[i - 1].end;
        const bool padded = line.tokens[i].begin - gapStart > 1;
        if (found[i] == Align::Either)
            found[i] = right != left ? (right ? Align::Right : Align::Left) : (padded ? Align::Right : Align::Left);
        else if (found[i] == Align::None && padded)
            found[i] = Align::Right;
    }
    return found;
}

// Appends a run of blanks to `out`, widened or narrowed at its end so that what follows
// starts at column `target` when given. A run keeps at least one blank, and a run that
// was empty (a value right after '=') stays empty.
void putGap(std::string& out, std::string_view gap, std::optional<std::ptrdiff_t> target)
{
    std::string run(gap);
    if (target && !run.empty()) {
        const std::ptrdiff_t now = static_cast<std::ptrdiff_t>(out.size() + run.size());
        if (now > *target) {
            std::size_t spaces = 0;
            while (spaces < run.size() - 1 && run[run.size() - 1 - spaces] == ' ')
                ++spaces;
            run.resize(run.size() - std::min(spaces, static_cast<std::size_t>(now - *target)));
        } else {
            run.append(static_cast<std::size_t>(*target - now), ' ');
        }
    }
    out += run;
}

// The new content of `line` (without its line end) with `values` in place of its tokens.
std::string rewriteLine(std::string_view text, const std::vector<Line>& lines, const Line& line,
                        const std::vector<std::string>& values)
{
    const std::vector<Align> align = alignments(lines, line);
    const std::size_t base = line.begin;
    std::string out(text.substr(base, line.separatorEnd - base));
    std::size_t tail = line.separatorEnd;
    if (line.tokens.empty()) {
        for (const std::string& value : values)
            out += ' ' + value;
    } else {
        std::size_t gapStart = line.separatorEnd;
        for (std::size_t i = 0; i < std::max(values.size(), line.tokens.size()); ++i) {
            if (i >= line.tokens.size()) {
                out += ' ' + values[i];
                continue;
            }
            const Span token = line.tokens[i];
            const std::string_view gap = text.substr(gapStart, token.begin - gapStart);
            gapStart = token.end;
            if (i >= values.size())
                continue;
            std::optional<std::ptrdiff_t> target;
            if (align[i] == Align::Left)
                target = static_cast<std::ptrdiff_t>(token.begin - base);
            else if (align[i] == Align::Right)
                target = std::max<std::ptrdiff_t>(
                    0, static_cast<std::ptrdiff_t>(token.end - base) - static_cast<std::ptrdiff_t>(values[i].size()));
            putGap(out, gap, target);
            out += values[i];
        }
        tail = line.tokens.back().end;
    }
    if (line.comment == none) {
        out += text.substr(tail, line.end - tail);
    } else {
        putGap(out, text.substr(tail, line.comment - tail), static_cast<std::ptrdiff_t>(line.comment - base));
        out += text.substr(line.comment, line.end - line.comment);
    }
    return out;
}

// What the reader would split or cut short: blanks and line breaks part tokens, '#' and ';'
// start a comment, '=' is eaten before a value and ends a key.
bool unsafe(std::string_view field)
{
    return field.empty() || std::any_of(field.begin(), field.end(), [](char c) {
               const unsigned char u = static_cast<unsigned char>(c);
               return u < 0x20 || u == 0x7F || c == ' ' || startsComment(c) || c == '=';
           });
}

std::string lineEndOf(std::string_view text)
{
    const std::size_t feed = text.find('\n');
    return feed != none && feed > 0 && text[feed - 1] == '\r' ? "\r\n" : "\n";
}

std::string withChange(std::string_view text, FileKind kind, const ValueChange& change)
{
    const std::vector<Line> lines = scanText(text);
    for (const Line& line : lines) {
        if (!line.entry || spanText(text, line.key) != change.key)
            continue;
        bool same = line.tokens.size() == change.values.size();
        for (std::size_t i = 0; same && i < line.tokens.size(); ++i)
            same = spanText(text, line.tokens[i]) == change.values[i];
        std::string result(text);
        if (!same)
            result.replace(line.begin, line.end - line.begin, rewriteLine(text, lines, line, change.values));
        return result;
    }

    std::string result(text);
    const std::string end = lineEndOf(text);
    // A last line without its line end gets one; a lone CR left there becomes a CR LF
    // rather than a stray byte at the end of that line's value.
    if (!result.empty() && result.back() != '\n' && result != byteOrderMark)
        result += result.back() == '\r' ? "\n" : end;
    result += change.key + (kind == FileKind::Settings ? " = " : " ");
    for (std::size_t i = 0; i < change.values.size(); ++i)
        result += (i ? " " : "") + change.values[i];
    return result + end;
}

} // namespace

std::optional<std::string> applyChanges(std::string_view text, FileKind kind, const std::vector<ValueChange>& changes,
                                        std::string& error)
{
    for (const ValueChange& change : changes) {
        const std::string named = "\"" + change.key + "\"";
        if (change.key.empty()) {
            error = "a change names no key";
            return std::nullopt;
        }
        if (unsafe(change.key)) {
            error = "the key " + named + " holds a blank, a line break, '=', '#' or ';'";
            return std::nullopt;
        }
        if (change.values.empty()) {
            error = "the change to " + named + " has no values";
            return std::nullopt;
        }
        for (const std::string& value : change.values)
            if (unsafe(value)) {
                error = "a value of " + named + " is empty or holds a blank, a line break, '=', '#' or ';'";
                return std::nullopt;
            }
    }
    std::string result(text);
    for (const ValueChange& change : changes)
        result = withChange(result, kind, change);
    return result;
}

} // namespace studio
