#include "pack/zip_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace pack {

namespace {

// 1980-01-01 00:00, the first day a zip can name.
constexpr uint16_t fixedDate = (0 << 9) | (1 << 5) | 1;
constexpr uint16_t fixedTime = 0;
constexpr uint16_t methodStored = 0, methodDeflated = 8;
constexpr uint16_t utf8Names = 1 << 11;

void put16(std::vector<uint8_t>& to, uint32_t value)
{
    to.push_back(static_cast<uint8_t>(value));
    to.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& to, uint32_t value)
{
    put16(to, value & 0xFFFF);
    put16(to, value >> 16);
}

bool write(ZipFile& zip, const void* bytes, size_t size)
{
    if (zip.error)
        return false;
    if (size && std::fwrite(bytes, 1, size, zip.out) != size) {
        zip.error = errno ? errno : EIO;
        return false;
    }
    zip.offset += static_cast<uint32_t>(size);
    return true;
}

// Raw deflate (no zlib header), as zip members hold it. Empty when it would not be smaller.
std::vector<uint8_t> deflated(const std::vector<uint8_t>& bytes)
{
    z_stream stream{};
    if (bytes.empty() || deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(bytes.size())));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return done && out.size() < bytes.size() ? out : std::vector<uint8_t>();
}

} // namespace

bool addZipMember(ZipFile& zip, const std::string& name, const std::vector<uint8_t>& bytes, std::string& error)
{
    constexpr uint32_t limit = std::numeric_limits<uint32_t>::max();
    if (name.empty() || name.size() > 0xFFFF) {
        error = "a name inside a zip takes 1 to 65535 bytes: " + name.substr(0, 80);
        return false;
    }
    // Without the zip64 extension sizes and offsets are 32 bits, and the count 16.
    if (bytes.size() >= limit || zip.members >= 0xFFFF || uint64_t(zip.offset) + bytes.size() + 2 * name.size() + 256 >= limit) {
        error = "the release would pass 4 GB or 65535 files, more than a zip without extensions holds (at " + name + ")";
        return false;
    }
    const std::vector<uint8_t> packed = deflated(bytes);
    const bool stored = packed.empty();
    const std::vector<uint8_t>& data = stored ? bytes : packed;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
    bool ascii = true;
    for (char c : name)
        ascii &= static_cast<unsigned char>(c) < 0x80;

    // The fields a member's local header and its central directory entry share.
    std::vector<uint8_t> common;
    put16(common, stored ? 10 : 20); // the zip version needed to read it: 1.0, or 2.0 for deflate
    put16(common, ascii ? 0 : utf8Names);
    put16(common, stored ? methodStored : methodDeflated);
    put16(common, fixedTime);
    put16(common, fixedDate);
    put32(common, crc);
    put32(common, static_cast<uint32_t>(data.size()));
    put32(common, static_cast<uint32_t>(bytes.size()));
    put16(common, static_cast<uint32_t>(name.size()));
    put16(common, 0); // no extra field

    put32(zip.central, 0x02014b50);
    put16(zip.central, 20); // made by zip 2.0 on MS-DOS: no Unix permissions to carry
    zip.central.insert(zip.central.end(), common.begin(), common.end());
    put16(zip.central, 0); // no comment
    put16(zip.central, 0); // first disk
    put16(zip.central, 0); // internal attributes
    put32(zip.central, 0); // external attributes
    put32(zip.central, zip.offset);
    zip.central.insert(zip.central.end(), name.begin(), name.end());
    ++zip.members;

    std::vector<uint8_t> header;
    put32(header, 0x04034b50);
    header.insert(header.end(), common.begin(), common.end());
    header.insert(header.end(), name.begin(), name.end());
    return write(zip, header.data(), header.size()) && write(zip, data.data(), data.size());
}

bool finishZip(ZipFile& zip, std::string& error)
{
    if (uint64_t(zip.offset) + zip.central.size() + 22 >= std::numeric_limits<uint32_t>::max()) {
        error = "the release would pass 4 GB, more than a zip without extensions holds";
        return false;
    }
    std::vector<uint8_t> end;
    put32(end, 0x06054b50);
    put16(end, 0); // this disk
    put16(end, 0); // the disk the directory starts on
    put16(end, zip.members);
    put16(end, zip.members);
    put32(end, static_cast<uint32_t>(zip.central.size()));
    put32(end, zip.offset);
    put16(end, 0); // no comment
    if (!write(zip, zip.central.data(), zip.central.size()) || !write(zip, end.data(), end.size()))
        return false;
    if (std::fflush(zip.out) != 0) {
        zip.error = errno ? errno : EIO;
        return false;
    }
    return true;
}

} // namespace pack
