#include "check/data_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale>
#include <set>
#include <sstream>
#include <type_traits>

#include "core/key_value_file.h"
#include "core/settings.h"
#include "data/colours.h"
#include "data/layout.h"
#include "data/placement.h"
#include "text/file_kind.h"
#include "text/local_path_form.h"
#include "text/printable.h"
#include "text/utf8_path.h"
#include "textures/texture_files.h"
#include "txd/dictionary_contents.h"
#include "txd/txd.h"

namespace check {

namespace {

enum class ValueKind { Bool, Int, Pair, Quad, Colour };

struct KnownKey {
    std::string key;
    ValueKind kind;
};

// The keys of each file, from the tables the plug-in reads them with.
std::vector<KnownKey> knownKeys(DataFile kind)
{
    std::vector<KnownKey> keys;
    switch (kind) {
    case DataFile::Settings:
        for (const SettingKey& s : settingKeys)
            keys.push_back({s.key, s.flag ? ValueKind::Bool : ValueKind::Int});
        break;
    case DataFile::Layout:
        for (const char* key : layoutOffsetKeys)
            keys.push_back({key, ValueKind::Pair});
        for (const char* key : layoutRecordKeys)
            keys.push_back({key, ValueKind::Quad});
        break;
    case DataFile::Colours:
        for (const char* key : hudColourNames)
            keys.push_back({key, ValueKind::Colour});
        break;
    }
    return keys;
}

const char* absentMeaning(DataFile kind)
{
    switch (kind) {
    case DataFile::Settings:
        return "without it every setting is off, so the plug-in stays off";
    case DataFile::Layout:
        return "without it every element sits at 0 0 with size 0";
    default:
        return "without it every colour is opaque white";
    }
}

// Enough to show what is wrong with a file; a file of junk would otherwise bury the
// terminal under one line per junk line.
constexpr size_t shownPerFile = 50;

struct Checker {
    std::string path;
    std::vector<Finding> findings;
    uint32_t hiddenErrors = 0;
    uint32_t hiddenWarnings = 0;

    void add(uint32_t line, Severity severity, const std::string& message)
    {
        if (showing())
            findings.push_back({path, line, severity, message, 0, 0, {}});
        else
            ++(severity == Severity::Error ? hiddenErrors : hiddenWarnings);
    }
    void error(uint32_t line, const std::string& message) { add(line, Severity::Error, message); }
    // Whether the next finding is shown: a message only counted need not be written.
    bool showing() const { return findings.size() < shownPerFile; }
    void warning(uint32_t line, const std::string& message) { add(line, Severity::Warning, message); }

    // The findings shown, and one note counting those left out.
    std::vector<Finding> done()
    {
        if (hiddenErrors || hiddenWarnings) {
            const uint32_t hidden = hiddenErrors + hiddenWarnings;
            Finding note{path, 0, Severity::Note,
                         std::to_string(hidden) + " more in this file (" + std::to_string(hiddenErrors) +
                             (hiddenErrors == 1 ? " error, " : " errors, ") + std::to_string(hiddenWarnings) +
                             (hiddenWarnings == 1 ? " warning" : " warnings") +
                             ") not shown: fix the ones above and check again",
                         0, 0, {}};
            note.hiddenErrors = hiddenErrors;
            note.hiddenWarnings = hiddenWarnings;
            findings.push_back(note);
        }
        return findings;
    }
};

bool startsWithComment(char c)
{
    return c == '#' || c == ';';
}

std::string hexByte(unsigned char c)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

// UTF-16 without a byte-order mark: plain letters with a zero byte beside each, always on
// the same side. Random bytes rarely hold zeros, and never that many.
bool looksLikeUtf16(const std::string& bytes)
{
    const size_t n = std::min<size_t>(bytes.size(), 64);
    size_t zeros[2] = {0, 0};
    for (size_t i = 0; i < n; ++i)
        zeros[i % 2] += bytes[i] == '\0';
    return n >= 2 && ((zeros[0] == 0 && zeros[1] * 4 >= n) || (zeros[1] == 0 && zeros[0] * 4 >= n));
}

// Text the reader cannot make sense of: UTF-16 (a byte-order mark, or zero bytes between
// the letters) or bytes no text file holds. Returns true when the file is unusable.
bool checkEncoding(const std::string& bytes, Checker& c)
{
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 || looksLikeUtf16(bytes)) {
        c.error(1, "the file is UTF-16 text: the plug-in reads single bytes and finds no key in it; "
                   "save it as UTF-8 or ANSI (plain text)");
        return true;
    }
    uint32_t line = 1;
    for (unsigned char b : bytes) {
        if (b == '\n')
            ++line;
        else if ((b < 0x20 && b != '\t' && b != '\r') || b == 0x7F) {
            c.error(line, "byte " + hexByte(b) + " is no text: this is not a text file; the plug-in reads "
                                                 "whatever keys it happens to find");
            return true;
        }
    }
    return false;
}

// Old Mac line ends: with no line feed anywhere the reader sees one line, so at most the
// first key is read (with the rest of the file as its value). A single CR at the very end
// is a line end the reader drops. Returns true when the file is unusable.
bool checkLineEnds(const std::string& bytes, Checker& c)
{
    const size_t firstCr = bytes.find('\r');
    if (bytes.find('\n') != std::string::npos || firstCr == std::string::npos || firstCr + 1 == bytes.size())
        return false;
    // As the reader scans a line: blanks and '=' before the key, which ends at a blank or '='.
    const size_t first = bytes.find_first_not_of(" \t=");
    const std::string reads =
        startsWithComment(bytes[first])
            ? "one comment line, so every key is lost"
            : "one line: the key " + printable(bytes.substr(first, bytes.find_first_of(" \t=#;", first) - first), 40) +
                  " with the rest of the file (up to a ; or #) as its value, and every other key is lost";
    c.error(1, "the file has no line ends but CR (old Mac line ends): the plug-in reads it as " + reads +
                   "; save it with Windows (CR LF) or Unix (LF) line ends");
    return true;
}

// The line number of each entry the reader made, in order: every line is empty, a
// comment line or one entry.
std::vector<uint32_t> entryLines(const KeyValueFile& file, size_t entries)
{
    std::set<uint32_t> other(file.emptyLines.begin(), file.emptyLines.end());
    for (const auto& [number, text] : file.commentLines)
        other.insert(number);
    std::vector<uint32_t> lines;
    for (uint32_t n = 1; lines.size() < entries; ++n)
        if (!other.count(n))
            lines.push_back(n);
    return lines;
}

std::string lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// Numbers as the reader extracts them (the C locale, white space between): how many it
// takes before one fails, what each is, and the text it stops at.
template <class T>
struct NumberScan {
    std::vector<T> numbers;
    std::string rest;
};

template <class T>
NumberScan<T> scanNumbers(const std::string& value)
{
    std::istringstream stream(value);
    stream.imbue(std::locale::classic());
    NumberScan<T> scan;
    // The rest starts where the failed extraction started: it may have swallowed what it
    // read ("25-" loses the "-", an out-of-range "1e39" all of it).
    size_t failedAt = 0;
    T number{};
    while (stream >> number) {
        scan.numbers.push_back(number);
        failedAt = stream.eof() ? value.size() : static_cast<size_t>(stream.tellg());
    }
    const size_t start = value.find_first_not_of(" \t\r\n\v\f", failedAt);
    scan.rest = start == std::string::npos ? "" : value.substr(start);
    return scan;
}

// A word that is written as a number but does not fit: the reader fails on it as on a letter.
template <class T>
bool outOfRange(const std::string& rest)
{
    const std::string word = rest.substr(0, rest.find_first_of(" \t\r\n\v\f"));
    const bool integer = std::is_integral_v<T>;
    if (word.empty() || word.find_first_not_of(integer ? "+-0123456789" : "+-0123456789.eE") != std::string::npos)
        return false;
    char* end = nullptr;
    if (integer)
        std::strtoll(word.c_str(), &end, 10);
    else
        std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size();
}

std::string rangeOf(bool integer)
{
    return integer ? "a whole number from -2147483648 to 2147483647" : "a number a float can hold";
}

std::string numberText(float value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

template <size_t N>
std::string listText(const std::array<float, N>& values)
{
    std::string text;
    for (float v : values)
        text += (text.empty() ? "" : " ") + numberText(v);
    return text;
}

// A "//" comment is part of the value to the reader; said wherever it changes what is read.
std::string slashComment(const std::string& value)
{
    return value.find("//") == std::string::npos ? "" : " (comments start with ; or #: \"//\" is part of the value)";
}

// A "//" comment right after everything a line needs: the reader stops before it and reads
// the line as meant, so it is only worth a note.
bool slashCommentAfter(const std::string& rest) { return rest.compare(0, 2, "//") == 0; }

void noteSlashComment(const std::string& head, const std::string& reads, uint32_t line, Checker& c)
{
    c.add(line, Severity::Note,
          head + "reads as " + reads + ", as meant; the \"//\" text after it is ignored (comments start with ; or #)");
}

// The settings whose number is an opacity: the plug-in takes the lowest 8 bits of one and
// hands the other to the game as it is.
void checkOpacity(const std::string& key, int32_t value, uint32_t line, Checker& c)
{
    if (value >= 0 && value <= 255)
        return;
    if (key == "iGangOverlayAlpha")
        c.error(line, key + " = " + std::to_string(value) + " is outside 0 to 255: only the lowest 8 bits count, so it acts as " +
                          std::to_string(value & 255));
    else if (key == "iRadarAlpha")
        c.error(line, key + " = " + std::to_string(value) +
                          " is outside 0 to 255: the plug-in hands the game the number as it is, and the map's "
                          "opacity is only defined from 0 (clear) to 255 (solid)");
}

void checkBool(const KeyValueEntry& entry, uint32_t line, Checker& c)
{
    bool value = false;
    if (!entry.tryBool(value)) {
        c.error(line, entry.key + " has no value: it reads as 0 (off)");
        return;
    }
    static const std::set<std::string> meantOn = {"1", "true", "yes", "on"};
    // A number other than 0 ("1.0", "2") is on as the writer meant it.
    const NumberScan<double> number = scanNumbers<double>(entry.value);
    const bool nonZeroNumber = number.rest.empty() && number.numbers.size() == 1 && number.numbers[0] != 0;
    const std::string firstWord = entry.value.substr(0, entry.value.find_first_of(" \t"));
    const size_t after = entry.value.find_first_not_of(" \t", firstWord.size());
    if (value && meantOn.count(lower(firstWord)) && after != std::string::npos &&
        slashCommentAfter(entry.value.substr(after))) {
        noteSlashComment(entry.key + " = " + printable(entry.value) + " ", "1 (on)", line, c);
        return;
    }
    if (value && !meantOn.count(lower(entry.value)) && !nonZeroNumber)
        c.error(line, entry.key + " = " + printable(entry.value) +
                          " reads as 1 (on): only 0, false, FALSE, no and NO read as off" + slashComment(entry.value));
}

void checkInt(const KeyValueEntry& entry, uint32_t line, Checker& c)
{
    int32_t value = 0;
    const std::string head = entry.key + " = " + printable(entry.value);
    if (!entry.tryInt(value)) {
        c.error(line, head + " is not " + (outOfRange<int32_t>(entry.value) ? rangeOf(true) : "a whole number") +
                          ": it reads as 0");
        return;
    }
    const NumberScan<int32_t> scan = scanNumbers<int32_t>(entry.value);
    if (scan.numbers.size() == 1 && slashCommentAfter(scan.rest))
        noteSlashComment(head + " ", std::to_string(value), line, c);
    else if (!scan.rest.empty() || scan.numbers.size() > 1)
        c.error(line, head + " reads as " + std::to_string(value) +
                          ": the rest is ignored (one whole number, no decimals)" + slashComment(entry.value));
    checkOpacity(entry.key, value, line, c);
    if (entry.key == "iVesk" && (value < 0 || value > 2))
        c.warning(line, "iVesk = " + std::to_string(value) + " picks the base style (0 base, 1 mora, 2 sabel)");
}

// A word that was meant as an anchor: two words joined by a dash, or one edge alone.
bool meantAsAnchor(const std::string& word)
{
    const std::string w = lower(word);
    const size_t dash = w.find('-');
    if (dash != std::string::npos)
        return dash > 0 && std::isalpha(static_cast<unsigned char>(w[0]));
    return w == "left" || w == "right" || w == "top" || w == "bottom" || w == "centre" || w == "center";
}

// What an anchor cannot move: the aiming crosshair follows the aim; sliding elements keep
// the edge they slide from.
void checkAnchorReach(const std::string& head, const std::string& key, Anchor anchor, uint32_t line, Checker& c)
{
    for (int i = 0; i < LAYOUT_RECORD_COUNT; ++i) {
        if (key != layoutRecordKeys[i])
            continue;
        const placement::Placement& own = placement::placements[i];
        if (own.moves == placement::Moves::Neither)
            c.warning(line, head + "the aiming crosshair follows the aim, not the screen: an anchor does nothing here");
        else if (own.moves == placement::Moves::YOnly && anchor.x != own.x)
            c.warning(line, head + "the panel slides in from the left edge, so only the second half of the anchor "
                                   "counts (top, centre or bottom); write left-...");
        else if (own.moves == placement::Moves::XOnly && anchor.y != own.y)
            c.warning(line, head + "the phone slides up from the bottom edge, so only the first half of the anchor "
                                   "counts (left, centre or right); write ...-bottom");
    }
}

// hud.dat lines may name an anchor after their numbers. True when the word after the numbers
// was an anchor, or meant as one, and has been looked at.
bool checkAnchorWord(const KeyValueEntry& entry, uint32_t line, size_t wanted, const std::string& rest, Checker& c)
{
    const std::string head = entry.key + " " + printable(entry.value) + ": ";
    std::istringstream words(rest);
    std::string word, after;
    words >> word;
    std::getline(words, after);
    after.erase(0, after.find_first_not_of(" \t\r"));
    const Anchor anchor = anchorAfter(entry.value, wanted);
    if (!anchored(anchor)) {
        if (!meantAsAnchor(word))
            return false;
        c.error(line, head + "\"" + printable(word, 40) + "\" is not an anchor, so the element stays at its usual edges: "
                                "write left, centre or right, a dash, then top, centre or bottom (e.g. right-top)");
        return true;
    }
    if (!after.empty() && !slashCommentAfter(after))
        c.warning(line, head + "the words after \"" + word + "\" are ignored (comments start with ; or #)");
    checkAnchorReach(head, entry.key, anchor, line, c);
    return true;
}

// `reads`: what the reader makes of the value, for the message. `anchors`: whether the line
// may end with an anchor (hud.dat's).
template <class T>
void checkList(const KeyValueEntry& entry, uint32_t line, size_t wanted, const std::string& reads, Checker& c,
               bool anchors = false)
{
    const NumberScan<T> scan = scanNumbers<T>(entry.value);
    const std::string head = entry.key + " " + printable(entry.value) + ": ";
    const std::string stop = "the reader stops at \"" + printable(scan.rest, 40) + "\"";
    if (anchors && scan.numbers.size() == wanted && !scan.rest.empty() &&
        checkAnchorWord(entry, line, wanted, scan.rest, c))
        return;
    if (scan.numbers.size() == wanted && slashCommentAfter(scan.rest))
        noteSlashComment(head, reads, line, c);
    else if (!scan.rest.empty() && outOfRange<T>(scan.rest))
        c.error(line, head + stop + " (not " + rangeOf(std::is_integral_v<T>) + ") and reads " + reads);
    else if (!scan.rest.empty() && std::is_integral_v<T> && scan.rest[0] == '.')
        c.error(line, head + stop + ": colours are whole numbers from 0 to 255, so it reads " + reads);
    else if (!scan.rest.empty())
        c.error(line, head + stop + " (numbers are separated by spaces, decimals take a dot" +
                          (scan.rest.compare(0, 2, "//") == 0 ? "; comments start with ; or #" : "") + ") and reads " +
                          reads);
    else if (scan.numbers.size() < wanted)
        c.error(line, head + std::to_string(scan.numbers.size()) + " of " + std::to_string(wanted) +
                          " numbers; it reads as " + reads);
    else if (scan.numbers.size() > wanted)
        c.error(line, head + "only the first " + std::to_string(wanted) + " numbers count; it reads as " + reads);
}

void checkColour(const KeyValueEntry& entry, uint32_t line, Checker& c)
{
    const Colour read = entry.asColour(Colour{255, 255, 255, 255});
    const std::string reads = std::to_string(read.r) + " " + std::to_string(read.g) + " " + std::to_string(read.b) +
                              " " + std::to_string(read.a);
    checkList<int32_t>(entry, line, 4, reads, c);
    for (int32_t channel : scanNumbers<int32_t>(entry.value).numbers)
        if (channel < 0 || channel > 255) {
            c.error(line, entry.key + ": " + std::to_string(channel) + " is outside 0 to 255; it reads as " +
                              std::to_string(channel & 255));
            break;
        }
}

// The sizes the docs give limits for. Text scales are factors of the game's font; the stats
// panel hides 300 units left of the screen.
const std::set<std::string> textScaleKeys = {"HUD_AMMO",         "HUD_CASH",           "HUD_ZONE_NAME",
                                             "HUD_VEHICLE_NAME", "HUD_MISSION_TEXT",   "HUD_CELLPHONE_CLOCK",
                                             "HUD_SUBTITLES",    "HUD_HELP_MESSAGE",  "HUD_CELLPHONE_DAY",
                                             "HUD_SECOND_AMMO"};
constexpr float largestTextScale = 10;
constexpr float statsBoxHiddenAt = 300;

void checkLayoutLimits(const KeyValueEntry& entry, uint32_t line, Checker& c)
{
    const std::array<float, 4> q = entry.asQuad();
    const bool text = textScaleKeys.count(entry.key) > 0;
    const std::string what = text ? "text scale" : "width and height";
    const std::string head = entry.key + " " + printable(entry.value) + ": ";
    if (q[2] < 0 || q[3] < 0)
        c.warning(line, head + "a negative " + what + " is used as written and turns the element over or hides it; " +
                            what + " are positive numbers");
    else if (text && (q[2] > largestTextScale || q[3] > largestTextScale))
        c.warning(line, head + "a text scale over " + numberText(largestTextScale) +
                            " makes letters hundreds of units tall (1.0 is about 20); useful values lie between about "
                            "0.4 and 2");
    if (entry.key == "HUD_STATS_BOX" && q[2] > statsBoxHiddenAt)
        c.warning(line, head + "a panel wider than " + numberText(statsBoxHiddenAt) + " stays partly on screen when it "
                            "slides out (it hides at -300); keep w at 300 or less");
}

void checkValue(const KeyValueEntry& entry, ValueKind kind, uint32_t line, Checker& c)
{
    switch (kind) {
    case ValueKind::Bool:
        return checkBool(entry, line, c);
    case ValueKind::Int:
        return checkInt(entry, line, c);
    case ValueKind::Pair:
        return checkList<float>(entry, line, 2, listText(entry.asPair()), c, true);
    case ValueKind::Quad:
        checkList<float>(entry, line, 4, listText(entry.asQuad()), c, true);
        return checkLayoutLimits(entry, line, c);
    case ValueKind::Colour:
        return checkColour(entry, line, c);
    }
}

std::string unknownKeyMessage(const std::string& key, const std::vector<KnownKey>& keys)
{
    std::string message = "unknown key " + printable(key) + ": the plug-in never reads it";
    std::vector<std::string> names;
    const std::string lowerKey = lower(key);
    for (const KnownKey& known : keys) {
        if (lower(known.key) == lowerKey)
            return message + " (keys are case-sensitive: did you mean " + known.key + "?)";
        if (key.size() > 1 && key.back() == ':' && known.key == key.substr(0, key.size() - 1))
            return message + ": the colon is read as part of the key; write " + known.key +
                   " and its value with a space or = between them";
        names.push_back(known.key);
    }
    const std::string near = txd::closestName(key, names);
    return near.empty() ? message : message + " (did you mean " + near + "?)";
}

void checkEntries(KeyValueFile& file, DataFile kind, Checker& c)
{
    const std::vector<KnownKey> keys = knownKeys(kind);
    const size_t parsed = file.entries.size();
    const std::vector<uint32_t> lines = entryLines(file, parsed);
    std::vector<std::pair<std::string, uint32_t>> seen;
    for (size_t i = 0; i < parsed; ++i) {
        const KeyValueEntry& entry = file.entries[i];
        if (entry.key.empty())
            continue; // a line of blanks
        auto known = std::find_if(keys.begin(), keys.end(), [&](const KnownKey& k) { return k.key == entry.key; });
        auto earlier = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == entry.key; });
        if (known == keys.end())
            c.error(lines[i], c.showing() ? unknownKeyMessage(entry.key, keys) : "");
        else if (earlier != seen.end())
            c.warning(lines[i], entry.key + " is given again: the first one, on line " +
                                    std::to_string(earlier->second) + ", counts and this one is ignored");
        else {
            seen.emplace_back(entry.key, lines[i]);
            checkValue(entry, known->kind, lines[i], c);
        }
    }
    for (const KnownKey& k : keys)
        if (k.key == "bEnable" && std::none_of(seen.begin(), seen.end(), [&](const auto& s) { return s.first == k.key; }))
            c.error(0, "bEnable is missing: it reads as 0 (off), which switches the whole plug-in off; add bEnable = 1");
        else if (std::none_of(seen.begin(), seen.end(), [&](const auto& s) { return s.first == k.key; }))
            c.warning(0, k.key + " is missing: it reads as " +
                             (k.kind == ValueKind::Bool ? std::string("0 (off)")
                                                        : k.kind == ValueKind::Colour ? "255 255 255 255" : "0"));
}

// A file beside a missing one whose name only adds an extension ("settings.ini.txt"): an
// editor saved it so, and Windows hides the extension that tells them apart.
std::string extraExtensionHint(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path missing = utf8Path(path);
    const std::string name = utf8Text(missing.filename());
    std::error_code error;
    for (fs::directory_iterator it(missing.parent_path(), error), end; !error && it != end; it.increment(error)) {
        const std::string other = utf8Text(it->path().filename());
        if (other.size() > name.size() + 1 && other.compare(0, name.size() + 1, name + ".") == 0 &&
            it->is_regular_file(error))
            return " (did you mean " + other + "? Rename it to " + name +
                   ": Windows hides the extension that tells the two apart)";
    }
    return "";
}

} // namespace

std::vector<Finding> checkDataFile(const std::string& path, DataFile kind)
{
    Checker c{path, {}};
    // Only a regular file is opened. The plug-in reads anything else as a missing file.
    const FileLook look = lookAt(path);
    if (look.kind == FileKind::Directory) {
        c.error(0, std::string("is a directory, not a file: the plug-in reads it as missing, and ") +
                       absentMeaning(kind));
        return c.done();
    }
    if (look.kind == FileKind::Other) {
        c.error(0, std::string("not a regular file (a pipe, socket or device): the plug-in reads it as missing, "
                               "and ") +
                       absentMeaning(kind));
        return c.done();
    }
    // The shipped files are a few KB; one this large is no data file, and reading it whole
    // could take all the memory this 32-bit program has.
    constexpr uintmax_t largest = uintmax_t{64} << 20;
    if (look.size > largest) {
        c.error(0, std::to_string(look.size) + " bytes (" + std::to_string(look.size >> 20) +
                       " MB): no data file is that large (the shipped ones are a few KB), so it was not read; the "
                       "plug-in would read it all at start-up");
        return c.done();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        c.error(0, std::string("cannot be read (missing?): ") + absentMeaning(kind) + extraExtensionHint(path));
        return c.done();
    }
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (checkEncoding(bytes.str(), c) || checkLineEnds(bytes.str(), c))
        return c.done();

    KeyValueFile file;
    file.open(path.c_str());
    checkEntries(file, kind, c);
    return c.done();
}

namespace {

// Each dictionary the plug-in (and the host, given the plug-in's files) loads with these
// settings: the six sprite tables' files, and the fonts when bUseKellFonts is on. Nothing
// when bEnable is off: then no file of ours is loaded. A given style stands for iVesk;
// `everyStyle` takes all three styles, as if bEnable were on (what a pack must hold).
std::vector<std::pair<std::string, std::string>> loadedDictionaries(const std::string& dir, std::optional<int32_t> style,
                                                                    bool everyStyle, bool& kellFonts)
{
    KeyValueFile settings;
    settings.open((dir + localSeparator + localPathForm(settingsFile)).c_str());
    bool enabled = false, fonts = false;
    int32_t vesk = 0;
    settings["bEnable"].tryBool(enabled);
    settings["bUseKellFonts"].tryBool(fonts);
    settings["iVesk"].tryInt(vesk);
    vesk = style.value_or(vesk);
    std::vector<std::pair<std::string, std::string>> files; // path below dir, dictionary name
    const std::vector<std::string> names = txd::knownDictionaries();
    enabled = enabled || everyStyle;
    kellFonts = enabled && fonts;
    if (!enabled)
        return files;
    auto add = [&](const char* file, const std::string& name) {
        const std::string local = localPathForm(file);
        if (std::none_of(files.begin(), files.end(), [&](const auto& f) { return f.first == local; }))
            files.push_back({local, name});
    };
    for (int32_t variant = everyStyle ? 0 : vesk; variant <= (everyStyle ? 2 : vesk); ++variant) {
        for (int t = 0; t < SPRITE_TABLE_COUNT; ++t)
            add(spriteTableFile(static_cast<SpriteTableId>(t), variant), names[t]);
        if (fonts)
            add(fontDictionaryFile(variant), names.back());
    }
    return files;
}

std::vector<Finding> checkDictionary(const std::string& path, const std::string& name)
{
    Checker c{path, {}};
    txd::Dictionary dictionary;
    std::string error;
    if (!txd::readFile(path, dictionary, error)) {
        c.error(0, "cannot be read as a texture dictionary (" + error + "): every texture of " + name +
                       ".txd draws nothing; pack it again with kellhud-txd pack --for " + name);
        c.findings.back().texture = "*";
        return c.done();
    }
    for (const txd::ContentFinding& f : txd::checkContents(dictionary, name)) {
        c.add(0, f.error ? Severity::Error : Severity::Warning, f.message);
        if (f.error && c.showing())
            c.findings.back().texture = f.texture;
    }
    return c.done();
}

} // namespace

std::string missingTextures(const std::vector<Finding>& findings)
{
    std::string text;
    const std::string* lastFile = nullptr;
    for (const Finding& f : findings) {
        if (f.texture.empty() || f.severity != Severity::Error)
            continue;
        if (lastFile && *lastFile == f.file)
            text += ", ";
        else
            text += (text.empty() ? "" : "; ") + f.file + ": ";
        text += f.texture == "*" ? "all (the file cannot be read)" : f.texture;
        lastFile = &f.file;
    }
    return text;
}

std::vector<std::string> pluginFiles()
{
    std::vector<std::string> files = {localPathForm(settingsFile), localPathForm(layoutFile), localPathForm(fontDataFile)};
    auto add = [&](const char* file) {
        const std::string local = localPathForm(file);
        if (std::find(files.begin(), files.end(), local) == files.end())
            files.push_back(local);
    };
    for (int32_t variant = 0; variant <= 2; ++variant) {
        add(colourFile(variant));
        for (int t = 0; t < SPRITE_TABLE_COUNT; ++t)
            add(spriteTableFile(static_cast<SpriteTableId>(t), variant));
        add(fontDictionaryFile(variant));
    }
    return files;
}

std::vector<Finding> checkPluginFolder(const std::string& dir, std::optional<int32_t> style, bool everyStyle)
{
    std::vector<std::pair<std::string, DataFile>> files = {{localPathForm(settingsFile), DataFile::Settings},
                                                           {localPathForm(layoutFile), DataFile::Layout}};
    for (int32_t variant = style.value_or(0); variant <= style.value_or(2); ++variant)
        files.push_back({localPathForm(colourFile(variant)), DataFile::Colours});

    std::vector<Finding> findings;
    for (const auto& [relative, kind] : files) {
        std::vector<Finding> found = checkDataFile(dir + localSeparator + relative, kind);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    bool kellFonts = false;
    for (const auto& [relative, name] : loadedDictionaries(dir, style, everyStyle, kellFonts)) {
        std::vector<Finding> found = checkDictionary(dir + localSeparator + relative, name);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    // With the plug-in's fonts on, the game opens this file instead of its own font data.
    const std::string fontData = dir + localSeparator + localPathForm(fontDataFile);
    if (kellFonts && lookAt(fontData).kind != FileKind::Regular)
        findings.push_back({fontData, 0, Severity::Error,
                            "missing: with bUseKellFonts = 1 the game reads its font data from this file instead of "
                            "its own, and without it has none for its text; copy data/fonts.dat from the shipped "
                            "kell-hud folder, or set bUseKellFonts = 0" +
                                extraExtensionHint(fontData),
                            0, 0, {}});
    return findings;
}

std::string formatFinding(const Finding& f)
{
    std::string where = f.file + (f.line ? ":" + std::to_string(f.line) : std::string());
    const char* severity = f.severity == Severity::Error ? "error: " : f.severity == Severity::Warning ? "warning: " : "note: ";
    return where + ": " + severity + f.message;
}

} // namespace check
