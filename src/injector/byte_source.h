#pragma once

#include <cstdint>

// Where the host's code is read from to check it: the running process, or (in the tools) the
// image of a game's executable file. A read that cannot be made whole copies nothing and
// says so; it never faults.

namespace injector {

struct ByteSource {
    bool (*read)(const void* context, uint32_t address, void* out, uint32_t size);
    const void* context;

    [[nodiscard]] bool operator()(uint32_t address, void* out, uint32_t size) const { return read(context, address, out, size); }
};

// The running process: each region the bytes span is asked for first (VirtualQuery), and a
// page that is not committed, or not readable, makes the read fail.
ByteSource liveHostMemory();

} // namespace injector
