// The texture dictionary reader over any bytes. What it accepts holds together: every
// level has all its pixels, and the writer writes it back into a file the reader reads
// as the same dictionary.

#include <string>

#include "txd_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    txd::Dictionary read;
    std::string error;
    if (!txd::read(data, size, read, error)) {
        require(!error.empty(), "a rejected dictionary comes with a message");
        return 0;
    }
    for (const txd::Texture& t : read.textures) {
        require(!t.name.empty() && t.name.size() < txd::nameSize && t.mask.size() < txd::nameSize,
                "names read fit their 32-byte fields");
        requireWholeLevels(t);
    }

    const std::vector<uint8_t> written = txd::write(read);
    txd::Dictionary again;
    require(txd::read(written, again, error), "the reader reads what the writer wrote of a dictionary it read");
    require(again.deviceId == txd::deviceId && sameTextures(read, again),
            "a dictionary read, written and read again is the same");
    return 0;
}
