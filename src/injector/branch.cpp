#include "injector/branch.h"

#include <cstring>

namespace injector {

namespace {

constexpr uint8_t callOpcode = 0xE8;
constexpr uint8_t jumpOpcode = 0xE9;

uint32_t redirect(uint32_t site, uint8_t opcode, uint32_t target)
{
    uint32_t previous = branch_destination(site);
    write_u8(site, opcode);
    write_u32(site + 1, target - (site + 5)); // wraps modulo 2^32, as the CPU does
    return previous;
}

} // namespace

uint32_t branch_destination(uint32_t site)
{
    uint8_t opcode = 0;
    if (!read_bytes(site, &opcode, 1))
        return 0;
    if (opcode == callOpcode || opcode == jumpOpcode) {
        uint32_t displacement = 0;
        if (!read_bytes(site + 1, &displacement, 4))
            return 0;
        return site + 5 + displacement;
    }
    if (opcode != 0xFF)
        return 0;
    uint8_t mode = 0;
    if (!read_bytes(site + 1, &mode, 1) || (mode != 0x15 && mode != 0x25))
        return 0;
    uint32_t slot = 0;
    if (!read_bytes(site + 2, &slot, 4) || slot == 0)
        return 0;
    // The slot is host data (an import table entry, say), readable as it is.
    uint32_t destination;
    std::memcpy(&destination, pointerTo<const void*>(slot), sizeof destination);
    return destination;
}

uint32_t redirect_call(uint32_t site, uint32_t target) { return redirect(site, callOpcode, target); }

uint32_t redirect_jump(uint32_t site, uint32_t target) { return redirect(site, jumpOpcode, target); }

} // namespace injector
