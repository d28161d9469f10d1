#include "injector/branch.h"

#include <cstring>

#include "injector/opcodes.h"

namespace injector {

namespace {

uint32_t redirect(uint32_t site, uint8_t branch, uint32_t target)
{
    uint32_t previous = branch_destination(site);
    write_u8(site, branch);
    write_u32(site + 1, target - (site + 5)); // wraps modulo 2^32, as the CPU does
    return previous;
}

} // namespace

uint32_t branch_destination(uint32_t site)
{
    uint8_t first = 0;
    if (!read_bytes(site, &first, 1))
        return 0;
    if (first == opcode::call || first == opcode::jump) {
        uint32_t displacement = 0;
        if (!read_bytes(site + 1, &displacement, 4))
            return 0;
        return site + 5 + displacement;
    }
    if (first != 0xFF)
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

uint32_t redirect_call(uint32_t site, uint32_t target) { return redirect(site, opcode::call, target); }

uint32_t redirect_jump(uint32_t site, uint32_t target) { return redirect(site, opcode::jump, target); }

} // namespace injector
