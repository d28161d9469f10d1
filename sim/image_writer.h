#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "x86.h"

// Writes the simulated host's code into the image while it is being built, and refuses
// two pieces of code that would share a byte (a stub written over a site would make the
// simulation lie).

namespace sim {

class ImageWriter {
public:
    void write(uint32_t address, const X86& code, const std::string& what);
    void write(uint32_t address, const uint8_t* bytes, uint32_t size, const std::string& what);

private:
    struct Claim {
        uint32_t end;
        std::string what;
    };
    std::map<uint32_t, Claim> claims;
};

} // namespace sim
