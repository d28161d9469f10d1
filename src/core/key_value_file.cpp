#include "core/key_value_file.h"

#include <cstddef>
#include <exception>
#include <fstream>
#include <locale>
#include <sstream>

#include "platform/local_path.h"
#include "platform/win32.h"

namespace {

enum class ScanState { BeforeKey, InKey, AfterKey, InValue };

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool startsComment(char c)
{
    return c == '#' || c == ';';
}

// Numbers are read the C way whatever locale the host process has set.
std::istringstream numberStream(const std::string& text)
{
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    return stream;
}

// Extracts numbers until one fails; the numbers before the failure fill the front of out.
template <class T, std::size_t N>
std::size_t readList(const std::string& text, std::array<T, N>& out)
{
    std::istringstream stream = numberStream(text);
    std::size_t count = 0;
    T number{};
    while (count < N && stream >> number)
        out[count++] = number;
    return count;
}

// Scans one non-empty line. Returns false for a comment line, which yields no entry.
bool scanLine(const std::string& line, KeyValueFile& file, KeyValueEntry& entry)
{
    ScanState state = ScanState::BeforeKey;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (startsComment(c)) {
            if (state == ScanState::BeforeKey)
                return false;
            entry.comment = line.substr(i);
            entry.commentColumn = static_cast<uint32_t>(i);
            break;
        }
        switch (state) {
        case ScanState::BeforeKey:
            if (!isBlank(c) && c != '=') {
                entry.key += c;
                state = ScanState::InKey;
            }
            break;
        case ScanState::InKey:
            if (isBlank(c) || c == '=') {
                file.hasEquals = file.hasEquals || c == '=';
                state = ScanState::AfterKey;
            } else {
                entry.key += c;
            }
            break;
        case ScanState::AfterKey:
            if (c == '=') {
                file.hasEquals = true;
            } else if (!isBlank(c)) {
                entry.value += c;
                state = ScanState::InValue;
            }
            break;
        case ScanState::InValue:
            entry.value += c;
            break;
        }
    }

    std::size_t end = entry.value.size();
    while (end > 0 && isBlank(entry.value[end - 1]))
        --end;
    entry.value.resize(end);
    entry.quoted = entry.value.size() > 1 && entry.value.front() == '"' && entry.value.back() == '"';
    return true;
}

void parse(std::istream& in, KeyValueFile& file)
{
    std::string line;
    uint32_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        // The Windows line end: drop the carriage return that stood before the line feed, or
        // before the end of a file whose last line has no line feed.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Editors that save UTF-8 with a byte-order mark would otherwise hide the first key.
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);

        if (line.empty()) {
            file.emptyLines.push_back(number);
            continue;
        }
        KeyValueEntry entry;
        if (scanLine(line, file, entry))
            file.entries.push_back(std::move(entry));
        else
            file.commentLines.emplace_back(number, line);
    }
}

// Something that is there but is no plain file: a folder holds no lines, and opening a
// pipe or device would wait for a writer and stall the host's start-up. Both read as a
// missing file. When the attributes cannot be had, the open itself decides.
bool notAPlainFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0;
}

} // namespace

void KeyValueFile::open(const char* filePath)
{
    path = filePath;
    read = true;
    const std::string local = localPath(filePath);
    if (notAPlainFile(local.c_str()))
        return;
    // Binary, so that both builds see the same bytes; the CR of a CR LF is dropped by hand.
    std::ifstream in(local, std::ios::binary);
    if (!in)
        return;
    try {
        parse(in, *this);
    } catch (const std::exception&) {
        // Out of memory on an absurd file: keep what was read rather than take the host down.
    }
}

const KeyValueEntry& KeyValueFile::operator[](std::string_view key) const
{
    static const KeyValueEntry absent = [] {
        KeyValueEntry entry;
        entry.missing = true;
        entry.quoted = true;
        return entry;
    }();
    for (const KeyValueEntry& entry : entries)
        if (entry.key == key)
            return entry;
    return absent;
}

bool KeyValueEntry::tryBool(bool& out) const
{
    if (value.empty())
        return false;
    out = !(value == "0" || value == "false" || value == "FALSE" || value == "no" || value == "NO");
    return true;
}

bool KeyValueEntry::tryInt(int32_t& out) const
{
    std::istringstream stream = numberStream(value);
    int32_t number = 0;
    if (!(stream >> number))
        return false;
    out = number;
    return true;
}

std::array<float, 2> KeyValueEntry::asPair() const
{
    std::array<float, 2> pair{};
    readList(value, pair);
    return pair;
}

std::array<float, 4> KeyValueEntry::asQuad() const
{
    std::array<float, 4> quad{};
    readList(value, quad);
    return quad;
}

Colour KeyValueEntry::asColour(Colour fallback) const
{
    std::array<int32_t, 4> channels{};
    const std::size_t count = readList(value, channels);
    uint8_t* const bytes[4] = {&fallback.r, &fallback.g, &fallback.b, &fallback.a};
    for (std::size_t i = 0; i < count; ++i)
        *bytes[i] = static_cast<uint8_t>(channels[i]); // low 8 bits: 256 -> 0, -1 -> 255
    return fallback;
}

std::string KeyValueEntry::asText(const std::string& fallback) const
{
    if (missing)
        return fallback;
    if (quoted)
        return value.substr(1, value.size() - 2);
    return value;
}
