#include "pe_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "host_image.h"
#include "text/printable.h"
#include "text/utf8_path.h"

namespace sim {

namespace {

// Offsets and values of the PE format that this reader and writer use.
constexpr uint32_t dosMagic = 0x5A4D;         // "MZ"
constexpr uint32_t peOffsetField = 0x3C;
constexpr uint32_t peSignature = 0x00004550;  // "PE\0\0"
constexpr uint32_t machineI386 = 0x14C;
constexpr uint32_t coffSize = 20;
constexpr uint32_t pe32Magic = 0x10B;
constexpr uint32_t pe32PlusMagic = 0x20B;
constexpr uint32_t optionalHeaderSize = 224;  // PE32 with its 16 data directories
constexpr uint32_t sectionHeaderSize = 40;
constexpr uint32_t maxSections = 96;          // what the Windows loader accepts

uint32_t u16(const std::vector<uint8_t>& file, uint32_t at)
{
    return file[at] | uint32_t{file[at + 1]} << 8;
}

uint32_t u32(const std::vector<uint8_t>& file, uint32_t at)
{
    uint32_t value;
    std::memcpy(&value, file.data() + at, sizeof value);
    return value;
}

bool fits(const std::vector<uint8_t>& file, uint64_t at, uint64_t size) { return at + size <= file.size(); }

bool readSpan(const void* context, uint32_t address, void* out, uint32_t size)
{
    const PeImage& image = *static_cast<const PeImage*>(context);
    auto* to = static_cast<uint8_t*>(out);
    uint64_t at = address;
    const uint64_t end = at + size;
    while (at < end) {
        const PeSection* in = nullptr;
        for (const PeSection& section : image.sections)
            if (at >= section.address && at < uint64_t{section.address} + section.size)
                in = &section;
        if (!in)
            return false;
        const uint64_t offset = at - in->address;
        const uint64_t take = std::min<uint64_t>(end, uint64_t{in->address} + in->size) - at;
        const uint64_t fromFile = offset < in->bytes.size() ? std::min<uint64_t>(take, in->bytes.size() - offset) : 0;
        if (fromFile)
            std::memcpy(to, in->bytes.data() + offset, fromFile);
        std::memset(to + fromFile, 0, take - fromFile);
        to += take;
        at += take;
    }
    return true;
}

void put16(std::vector<uint8_t>& out, uint32_t at, uint32_t value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void put32(std::vector<uint8_t>& out, uint32_t at, uint32_t value)
{
    std::memcpy(out.data() + at, &value, sizeof value);
}

void putName(std::vector<uint8_t>& out, uint32_t at, const char* name)
{
    std::memcpy(out.data() + at, name, std::strlen(name));
}

} // namespace

bool readPeImage(const std::vector<uint8_t>& file, PeImage& image, std::string& error)
{
    image = {};
    if (file.size() < 0x40 || u16(file, 0) != dosMagic) {
        error = "it is not a Windows program (no \"MZ\" header)";
        return false;
    }
    const uint32_t pe = u32(file, peOffsetField);
    if (!fits(file, pe, 4 + coffSize) || u32(file, pe) != peSignature) {
        error = "it is not a Windows PE program (no \"PE\" header where its DOS header points)";
        return false;
    }
    const uint32_t coff = pe + 4;
    if (u16(file, coff) != machineI386) {
        error = "it is not a 32-bit x86 program (machine type " + std::to_string(u16(file, coff)) + ")";
        return false;
    }
    const uint32_t sectionCount = u16(file, coff + 2);
    const uint32_t optionalSize = u16(file, coff + 16);
    const uint32_t optional = coff + coffSize;
    if (optionalSize < 96 || !fits(file, optional, optionalSize)) {
        error = "its headers are cut short";
        return false;
    }
    const uint32_t magic = u16(file, optional);
    if (magic != pe32Magic) {
        error = magic == pe32PlusMagic ? "it is a 64-bit program; the game is a 32-bit one"
                                       : "its optional header is not a 32-bit PE one";
        return false;
    }
    image.imageBase = u32(file, optional + 28);
    const uint32_t headersSize = u32(file, optional + 60);
    const uint32_t table = optional + optionalSize;
    if (sectionCount == 0 || sectionCount > maxSections || !fits(file, table, uint64_t{sectionCount} * sectionHeaderSize)) {
        error = sectionCount == 0 || sectionCount > maxSections ? "its section count is not one a program has"
                                                                : "its section table is cut short";
        return false;
    }

    PeSection headers;
    headers.name = "(headers)";
    headers.address = image.imageBase;
    headers.bytes.assign(file.begin(), file.begin() + std::min<uint64_t>(file.size(), std::max(headersSize, table)));
    headers.size = static_cast<uint32_t>(headers.bytes.size());
    if (uint64_t{image.imageBase} + headers.size > 0x100000000ull) {
        error = "its image base lies outside a 32-bit address space";
        return false;
    }
    image.sections.push_back(std::move(headers));
    for (uint32_t i = 0; i < sectionCount; ++i) {
        const uint32_t at = table + i * sectionHeaderSize;
        PeSection section;
        // Shown in messages, so made printable: the file chooses these bytes.
        const char* name = reinterpret_cast<const char*>(file.data() + at);
        section.name = printable(std::string_view(name, strnlen(name, 8)));
        const uint32_t virtualSize = u32(file, at + 8);
        const uint32_t virtualAddress = u32(file, at + 12);
        const uint32_t rawSize = u32(file, at + 16);
        const uint32_t rawAt = u32(file, at + 20);
        const uint32_t mapped = virtualSize ? virtualSize : rawSize;
        const uint64_t address = uint64_t{image.imageBase} + virtualAddress;
        if (address + mapped > 0x100000000ull) {
            error = "its section " + section.name + " lies outside a 32-bit address space";
            return false;
        }
        const uint32_t fromFile = std::min(rawSize, mapped);
        if (fromFile && !fits(file, rawAt, fromFile)) {
            error = "it is cut short: its section " + section.name + " needs " + std::to_string(uint64_t{rawAt} + fromFile) +
                    " bytes and the file has " + std::to_string(file.size());
            return false;
        }
        // Only the file's part is kept: a header may claim a gigabyte of zeros.
        section.address = static_cast<uint32_t>(address);
        section.size = mapped;
        section.bytes.assign(file.begin() + (fromFile ? rawAt : 0), file.begin() + (fromFile ? rawAt + fromFile : 0));
        image.sections.push_back(std::move(section));
    }
    return true;
}

bool readPeImage(const std::string& path, PeImage& image, std::string& error)
{
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) {
        error = "cannot open it";
        return false;
    }
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read it";
        return false;
    }
    return readPeImage(file, image, error);
}

injector::ByteSource peByteSource(const PeImage& image) { return {&readSpan, &image}; }

bool writeHostImage(const std::string& path, std::string& error)
{
    constexpr uint32_t fileAlignment = 0x200, headersSize = 0x200, pe = 0x40;
    constexpr uint32_t codeBegin = imageBegin + pageSize; // the first page holds the headers
    constexpr uint32_t codeSize = codeEnd - codeBegin, dataSize = imageEnd - codeEnd;
    static_assert(codeSize % fileAlignment == 0);

    std::vector<uint8_t> out(headersSize + codeSize, 0);
    put16(out, 0, dosMagic);
    put32(out, peOffsetField, pe);
    put32(out, pe, peSignature);
    const uint32_t coff = pe + 4, optional = coff + coffSize;
    put16(out, coff, machineI386);
    put16(out, coff + 2, 2);                  // sections
    put16(out, coff + 16, optionalHeaderSize);
    put16(out, coff + 18, 0x0103);            // executable, 32-bit, no relocations
    put16(out, optional, pe32Magic);
    put32(out, optional + 4, codeSize);       // size of code
    put32(out, optional + 12, dataSize);      // size of uninitialised data
    put32(out, optional + 16, pageSize);      // entry point: the start of the code
    put32(out, optional + 20, pageSize);      // base of code
    put32(out, optional + 24, codeEnd - imageBegin); // base of data
    put32(out, optional + 28, imageBegin);
    put32(out, optional + 32, pageSize);      // section alignment
    put32(out, optional + 36, fileAlignment);
    put16(out, optional + 40, 4);             // operating system version 4.0
    put16(out, optional + 48, 4);             // subsystem version 4.0
    put32(out, optional + 56, imageEnd - imageBegin);
    put32(out, optional + 60, headersSize);
    put16(out, optional + 68, 2);             // a windowed program
    put32(out, optional + 72, 0x100000);      // stack reserve
    put32(out, optional + 76, 0x1000);        // stack commit
    put32(out, optional + 80, 0x100000);      // heap reserve
    put32(out, optional + 84, 0x1000);        // heap commit
    put32(out, optional + 92, 16);            // data directories, all empty

    const uint32_t text = optional + optionalHeaderSize, data = text + sectionHeaderSize;
    putName(out, text, ".text");
    put32(out, text + 8, codeSize);
    put32(out, text + 12, codeBegin - imageBegin);
    put32(out, text + 16, codeSize);
    put32(out, text + 20, headersSize);
    put32(out, text + 36, 0x60000020); // code, executable, readable
    putName(out, data, ".data");
    put32(out, data + 8, dataSize);
    put32(out, data + 12, codeEnd - imageBegin);
    put32(out, data + 36, 0xC0000080); // uninitialised data, readable, writable

    std::memcpy(out.data() + headersSize, reinterpret_cast<const void*>(uintptr_t{codeBegin}), codeSize);
    std::ofstream file(utf8Path(path), std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace sim
