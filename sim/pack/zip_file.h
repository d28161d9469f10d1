#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A zip archive written member by member to an open file: deflate (zlib) where it makes a
// member smaller, stored otherwise. Every member carries the same fixed date, so the same
// files make the same bytes on every machine and every day.

namespace pack {

struct ZipFile {
    std::FILE* out = nullptr;
    uint32_t offset = 0;          // bytes written so far
    std::vector<uint8_t> central; // the central directory, written by finishZip
    uint32_t members = 0;
    int error = 0; // errno of the first failed write; 0 while all is well
};

// `name` is the member's path inside the archive, with '/' between folders.
// False when the archive could not hold it (error says why) or writing failed (zip.error).
[[nodiscard]] bool addZipMember(ZipFile& zip, const std::string& name, const std::vector<uint8_t>& bytes,
                                std::string& error);

// The central directory and its end record, then a flush.
[[nodiscard]] bool finishZip(ZipFile& zip, std::string& error);

} // namespace pack
