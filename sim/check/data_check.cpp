#include "check/data_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <locale>
#include <set>
#include <sstream>

#include "core/key_value_file.h"
#include "core/settings.h"
#include "data/colours.h"
#include "data/layout.h"

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

struct Checker {
    std::string path;
    std::vector<Finding> findings;

    void add(uint32_t line, Severity severity, const std::string& message)
    {
        findings.push_back({path, line, severity, message});
    }
    void error(uint32_t line, const std::string& message) { add(line, Severity::Error, message); }
    void warning(uint32_t line, const std::string& message) { add(line, Severity::Warning, message); }
};

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
    T number{};
    while (stream >> number)
        scan.numbers.push_back(number);
    stream.clear();
    std::string rest;
    std::getline(stream, rest, '\0');
    const size_t start = rest.find_first_not_of(" \t");
    scan.rest = start == std::string::npos ? "" : rest.substr(start);
    return scan;
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

void checkBool(const KeyValueEntry& entry, uint32_t line, Checker& c)
{
    bool value = false;
    if (!entry.tryBool(value)) {
        c.error(line, entry.key + " has no value: it reads as 0 (off)");
        return;
    }
    static const std::set<std::string> meantOn = {"1", "true", "yes", "on"};
    if (value && !meantOn.count(lower(entry.value)))
        c.error(line, entry.key + " = " + entry.value +
                          " reads as 1 (on): only 0, false, FALSE, no and NO read as off");
}

void checkInt(const KeyValueEntry& entry, uint32_t line, Checker& c)
{
    int32_t value = 0;
    if (!entry.tryInt(value)) {
        c.error(line, entry.key + " = " + entry.value + " is not a whole number: it reads as 0");
        return;
    }
    const NumberScan<int32_t> scan = scanNumbers<int32_t>(entry.value);
    if (!scan.rest.empty() || scan.numbers.size() > 1)
        c.error(line, entry.key + " = " + entry.value + " reads as " + std::to_string(value) +
                          ": the rest is ignored (one whole number, no decimals)");
    if (entry.key == "iVesk" && (value < 0 || value > 2))
        c.warning(line, "iVesk = " + std::to_string(value) + " picks the base style (0 base, 1 mora, 2 sabel)");
}

// `reads`: what the reader makes of the value, for the message.
template <class T>
void checkList(const KeyValueEntry& entry, uint32_t line, size_t wanted, const std::string& reads, Checker& c)
{
    const NumberScan<T> scan = scanNumbers<T>(entry.value);
    const std::string head = entry.key + " " + entry.value + ": ";
    if (!scan.rest.empty())
        c.error(line, head + "the reader stops at \"" + scan.rest +
                          "\" (numbers are separated by spaces, decimals take a dot) and reads " + reads);
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

void checkValue(const KeyValueEntry& entry, ValueKind kind, uint32_t line, Checker& c)
{
    switch (kind) {
    case ValueKind::Bool:
        return checkBool(entry, line, c);
    case ValueKind::Int:
        return checkInt(entry, line, c);
    case ValueKind::Pair:
        return checkList<float>(entry, line, 2, listText(entry.asPair()), c);
    case ValueKind::Quad:
        return checkList<float>(entry, line, 4, listText(entry.asQuad()), c);
    case ValueKind::Colour:
        return checkColour(entry, line, c);
    }
}

std::string unknownKeyMessage(const std::string& key, const std::vector<KnownKey>& keys)
{
    std::string message = "unknown key " + key + ": the plug-in never reads it";
    for (const KnownKey& known : keys)
        if (lower(known.key) == lower(key))
            return message + " (keys are case-sensitive: did you mean " + known.key + "?)";
    return message;
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
            c.error(lines[i], unknownKeyMessage(entry.key, keys));
        else if (earlier != seen.end())
            c.warning(lines[i], entry.key + " is given again: the first one, on line " +
                                    std::to_string(earlier->second) + ", counts and this one is ignored");
        else {
            seen.emplace_back(entry.key, lines[i]);
            checkValue(entry, known->kind, lines[i], c);
        }
    }
    for (const KnownKey& k : keys)
        if (std::none_of(seen.begin(), seen.end(), [&](const auto& s) { return s.first == k.key; }))
            c.warning(0, k.key + " is missing: it reads as " +
                             (k.kind == ValueKind::Bool ? std::string("0 (off)")
                                                        : k.kind == ValueKind::Colour ? "255 255 255 255" : "0"));
}

std::string localForm(const char* windowsPath)
{
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

std::vector<Finding> checkDataFile(const std::string& path, DataFile kind)
{
    Checker c{path, {}};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        c.error(0, std::string("cannot be read (missing?): ") + absentMeaning(kind));
        return c.findings;
    }
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (checkEncoding(bytes.str(), c))
        return c.findings;

    KeyValueFile file;
    file.open(path.c_str());
    checkEntries(file, kind, c);
    return c.findings;
}

std::vector<Finding> checkPluginFolder(const std::string& dir)
{
    std::vector<std::pair<std::string, DataFile>> files = {{localForm(settingsFile), DataFile::Settings},
                                                           {localForm(layoutFile), DataFile::Layout}};
    for (int32_t variant = 0; variant <= 2; ++variant)
        files.push_back({localForm(colourFile(variant)), DataFile::Colours});

    std::vector<Finding> findings;
    for (const auto& [relative, kind] : files) {
        std::vector<Finding> found = checkDataFile(dir + "/" + relative, kind);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    return findings;
}

std::string formatFinding(const Finding& f)
{
    std::string where = f.file + (f.line ? ":" + std::to_string(f.line) : std::string());
    return where + ": " + (f.severity == Severity::Error ? "error: " : "warning: ") + f.message;
}

} // namespace check
