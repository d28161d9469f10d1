#include "injector/branch.h"

#include <cstring>

#include "injector/byte_source.h"
#include "injector/opcodes.h"

namespace injector {

namespace {

Redirection redirect(uint32_t site, uint8_t branch, uint32_t target)
{
    const uint32_t former = branch_destination(site);
    uint8_t bytes[5];
    encode_branch(bytes, site, branch, target);
    return {former, write_bytes(site, bytes, sizeof bytes)};
}

} // namespace

uint32_t branch_destination(uint32_t site)
{
    // Read as the host check reads: a page that is not there is nothing, never a fault.
    const ByteSource host = liveHostMemory();
    uint8_t bytes[6];
    if (!host(site, bytes, 5))
        return 0;
    uint32_t operand;
    if (bytes[0] == opcode::call || bytes[0] == opcode::jump) {
        std::memcpy(&operand, bytes + 1, sizeof operand);
        return site + 5 + operand;
    }
    if (bytes[0] != 0xFF || (bytes[1] != 0x15 && bytes[1] != 0x25) || !host(site, bytes, 6))
        return 0;
    // The pointer is host data (an import table entry, say); a null one reads nothing.
    std::memcpy(&operand, bytes + 2, sizeof operand);
    uint32_t destination;
    return host(operand, &destination, sizeof destination) ? destination : 0;
}

void encode_branch(uint8_t (&bytes)[5], uint32_t site, uint8_t opcode, uint32_t target)
{
    const uint32_t displacement = target - (site + 5); // wraps modulo 2^32, as the CPU does
    bytes[0] = opcode;
    std::memcpy(bytes + 1, &displacement, sizeof displacement);
}

Redirection redirect_call(uint32_t site, uint32_t target) { return redirect(site, opcode::call, target); }

Redirection redirect_jump(uint32_t site, uint32_t target) { return redirect(site, opcode::jump, target); }

} // namespace injector
