#include "injector/patch_table.h"

#include <cstring>

#include "injector/branch.h"
#include "injector/memory.h"
#include "injector/opcodes.h"

namespace injector {

namespace {

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

// The bytes the row writes, row_bytes(row) of them (at most maxRowBytes).
void encode(const PatchRow& row, uint8_t (&bytes)[maxRowBytes])
{
    switch (row.kind) {
    case PatchKind::Call:
    case PatchKind::Jump: {
        uint8_t branch[5];
        encode_branch(branch, row.site, row.kind == PatchKind::Call ? opcode::call : opcode::jump, row.value);
        std::memcpy(bytes, branch, sizeof branch);
        break;
    }
    case PatchKind::ShortJump: bytes[0] = opcode::shortJump; break;
    case PatchKind::U32: std::memcpy(bytes, &row.value, sizeof row.value); break;
    case PatchKind::Nop: std::memset(bytes, opcode::nop, row.value); break;
    }
}

} // namespace

uint32_t row_bytes(const PatchRow& row)
{
    switch (row.kind) {
    case PatchKind::Call:
    case PatchKind::Jump: return 5;
    case PatchKind::ShortJump: return 1;
    case PatchKind::U32: return 4;
    case PatchKind::Nop: return row.value;
    }
    return 0;
}

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

PatchFailure apply_patches(const PatchTable& table)
{
    for (std::size_t i = 0; i < table.count; ++i)
        table.records[i] = {};
    for (std::size_t i = 0; i < table.count; ++i) {
        const PatchRow& row = table.rows[i];
        if (!row.applies)
            continue;
        const uint32_t size = row_bytes(row);
        if (size == 0)
            continue;
        if (size > maxRowBytes)
            return {row.name, row.site};
        uint8_t bytes[maxRowBytes];
        encode(row, bytes);
        PatchRecord& record = table.records[i];
        const bool branch = row.kind == PatchKind::Call || row.kind == PatchKind::Jump;
        const uint32_t former = branch ? branch_destination(row.site) : 0;
        if (!write_bytes(row.site, bytes, size, record.original))
            return {row.name, row.site};
        record.size = size;
        record.former = former;
    }
    return {};
}

bool restore_patches(const PatchTable& table)
{
    bool restored = true;
    for (std::size_t i = table.count; i-- > 0;) {
        PatchRecord& record = table.records[i];
        if (record.size == 0)
            continue;
        if (write_bytes(table.rows[i].site, record.original, record.size))
            record.size = 0;
        else
            restored = false;
    }
    return restored;
}

} // namespace injector
