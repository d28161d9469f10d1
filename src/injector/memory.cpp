#include "injector/memory.h"

#include <cstring>

#include "injector/opcodes.h"
#include "injector/protection.h"
#include "platform/address.h"

namespace injector {

bool read_bytes(uint32_t address, void* out, uint32_t size)
{
    ProtectionScope scope(address, size);
    if (!scope.changed)
        return false;
    std::memcpy(out, pointerTo(address), size);
    return true;
}

bool write_bytes(uint32_t address, const void* bytes, uint32_t size, void* previous)
{
    ProtectionScope scope(address, size);
    if (!scope.changed)
        return false;
    if (previous)
        std::memcpy(previous, pointerTo(address), size);
    std::memcpy(pointerTo(address), bytes, size);
    return true;
}

uint8_t read_u8(uint32_t address)
{
    uint8_t value = 0;
    return read_bytes(address, &value, sizeof value) ? value : 0;
}

uint32_t read_u32(uint32_t address)
{
    uint32_t value = 0;
    return read_bytes(address, &value, sizeof value) ? value : 0;
}

bool write_u8(uint32_t address, uint8_t value) { return write_bytes(address, &value, sizeof value); }

bool write_u32(uint32_t address, uint32_t value) { return write_bytes(address, &value, sizeof value); }

bool fill_nop(uint32_t address, uint32_t count)
{
    if (count == 0)
        return true;
    ProtectionScope scope(address, count);
    if (scope.changed)
        std::memset(pointerTo(address), opcode::nop, count);
    return scope.changed;
}

} // namespace injector
