// The texture dictionary writer over dictionaries made from the input: what check
// accepts, the writer writes and the reader reads back the same; what check rejects
// comes with a message.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "txd_common.h"

namespace {

// Big enough for the mip chains of small textures, small enough to allocate every time.
constexpr size_t maxLevelBytes = 1 << 16;

std::vector<uint8_t> levelBytes(FuzzedDataProvider& in, uint32_t size)
{
    // Mostly the right size, sometimes a few bytes off.
    const int off = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<int>(-4, 4);
    const int64_t wanted = int64_t{size} + off;
    const size_t bytes = wanted < 0 ? 0 : std::min<size_t>(static_cast<size_t>(wanted), maxLevelBytes);
    std::vector<uint8_t> level(bytes, in.ConsumeIntegral<uint8_t>());
    if (!level.empty())
        level[in.ConsumeIntegralInRange<size_t>(0, level.size() - 1)] = in.ConsumeIntegral<uint8_t>();
    return level;
}

// Mostly small sides; powers of two up to the largest and any size now and then (the
// levels of a large texture are never complete).
uint16_t side(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return static_cast<uint16_t>(1u << in.ConsumeIntegralInRange<unsigned>(0, 15));
    case 1:
        return in.ConsumeIntegral<uint16_t>();
    default:
        return in.ConsumeIntegralInRange<uint16_t>(0, 64);
    }
}

txd::Texture texture(FuzzedDataProvider& in)
{
    txd::Texture t;
    t.name = in.ConsumeRandomLengthString(40);
    t.mask = in.ConsumeBool() ? std::string() : in.ConsumeRandomLengthString(40);
    t.filtering = in.ConsumeIntegral<uint32_t>();
    t.width = side(in);
    t.height = side(in);
    t.hasAlpha = in.ConsumeBool();
    const unsigned levels = in.ConsumeIntegralInRange<unsigned>(0, 18);
    for (unsigned i = 0; i < levels && in.remaining_bytes() > 0; ++i)
        t.levels.push_back(levelBytes(in, txd::levelSize(t.width, t.height, i)));
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    txd::Dictionary dictionary;
    const unsigned count = in.ConsumeIntegralInRange<unsigned>(0, 4);
    for (unsigned i = 0; i < count; ++i) {
        dictionary.textures.push_back(texture(in));
        // Now and then a name again, in other letters' case.
        if (i > 0 && in.ConsumeIntegralInRange<int>(0, 7) == 0) {
            std::string& name = dictionary.textures.back().name = dictionary.textures.front().name;
            for (char& c : name)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }

    std::string error;
    if (!txd::check(dictionary, error)) {
        require(!error.empty(), "a dictionary check rejects comes with a message");
        return 0;
    }
    for (const txd::Texture& t : dictionary.textures)
        requireWholeLevels(t);
    txd::Dictionary read;
    require(txd::read(txd::write(dictionary), read, error), "the reader reads what the writer wrote");
    require(read.deviceId == txd::deviceId && sameTextures(dictionary, read),
            "a dictionary written and read back is the same");
    return 0;
}
