#include "injector/patch_table.h"

#include <algorithm>
#include <cstring>

#include "injector/branch.h"
#include "injector/memory.h"
#include "injector/opcodes.h"
#include "platform/address.h"

namespace injector {

namespace {

// The host's code is readable as it stands; reading it under a protection scope would add
// protection changes to the ones the writes make.
void readCode(uint32_t address, void* out, uint32_t size)
{
    std::memcpy(out, pointerTo<const void*>(address), size);
}

bool inHostImage(uint32_t address) { return address >= hostImageBegin && address < hostImageEnd; }

bool holds(const uint8_t (&bytes)[5], uint32_t site, Shape expected)
{
    auto branchIntoHost = [&](uint8_t branch) {
        uint32_t displacement;
        std::memcpy(&displacement, bytes + 1, sizeof displacement);
        return bytes[0] == branch && inHostImage(site + 5 + displacement);
    };
    switch (expected) {
    case Shape::HostCall: return branchIntoHost(opcode::call);
    case Shape::HostJump: return branchIntoHost(opcode::jump);
    case Shape::ConditionalJump:
        return bytes[0] == opcode::shortJump ||
               (bytes[0] >= opcode::firstConditionalShortJump && bytes[0] <= opcode::lastConditionalShortJump);
    case Shape::Unchecked: break;
    }
    return true;
}

uint32_t bytesWritten(const PatchRow& row)
{
    switch (row.kind) {
    case PatchKind::Call:
    case PatchKind::Jump: return 5;
    case PatchKind::ShortJump: return 1;
    case PatchKind::U32: return 4;
    case PatchKind::Nop: return std::min(row.value, maxRowBytes);
    }
    return 0;
}

} // namespace

PatchRefusal check_site(const ByteSource& source, const char* name, uint32_t site, Shape expected)
{
    PatchRefusal refusal;
    if (expected == Shape::Unchecked)
        return refusal;
    refusal.readable = source(site, refusal.found, sizeof refusal.found);
    if (!refusal.readable)
        std::memset(refusal.found, 0, sizeof refusal.found);
    if (!refusal.readable || !holds(refusal.found, site, expected)) {
        refusal.row = name;
        refusal.site = site;
        refusal.expected = expected;
    }
    return refusal;
}

PatchRefusal check_patches(const ByteSource& source, const PatchTable& table)
{
    for (std::size_t i = 0; i < table.count; ++i) {
        const PatchRow& row = table.rows[i];
        if (!row.applies)
            continue;
        if (PatchRefusal refusal = check_site(source, row.name, row.site, row.expected))
            return refusal;
    }
    return {};
}

PatchRefusal apply_patches(const PatchTable& table)
{
    if (PatchRefusal refusal = check_patches(liveHostMemory(), table))
        return refusal;
    for (std::size_t i = 0; i < table.count; ++i) {
        const PatchRow& row = table.rows[i];
        PatchRecord& record = table.records[i];
        record = {};
        if (!row.applies)
            continue;
        record.size = bytesWritten(row);
        readCode(row.site, record.original, record.size);
        switch (row.kind) {
        case PatchKind::Call: record.former = redirect_call(row.site, row.value); break;
        case PatchKind::Jump: record.former = redirect_jump(row.site, row.value); break;
        case PatchKind::ShortJump: write_u8(row.site, opcode::shortJump); break;
        case PatchKind::U32: write_u32(row.site, row.value); break;
        case PatchKind::Nop: fill_nop(row.site, row.value); break;
        }
    }
    return {};
}

} // namespace injector
