#pragma once

#include <cstddef>
#include <cstdint>

#include "injector/byte_source.h"

// Tables of host patches: every checked site is read for what it must hold before any
// table is written; then each row is written under one protection scope and keeps what it
// overwrote, so that a start-up that cannot finish puts every byte back.

namespace injector {

// The host's image: the functions the host's own calls reach lie inside it.
constexpr uint32_t hostImageBegin = 0x400000;
constexpr uint32_t hostImageEnd = 0xD00000;

// What a row writes.
enum class PatchKind : uint8_t {
    Call,      // a call rel32 to the row's value
    Jump,      // a jump rel32 to the row's value
    ShortJump, // opcode::shortJump over the site's first byte
    U32,       // the row's value
    Nop,       // the row's value bytes of opcode::nop
};

// What a site must hold before it is written.
enum class Shape : uint8_t {
    Unchecked,       // a function's entry, an operand, a run of code: the host's bytes are not known
    HostCall,        // call rel32 to somewhere in the host's image
    HostJump,        // jmp rel32 to somewhere in the host's image
    ConditionalJump, // a conditional short jump, or one already made unconditional
};

struct PatchRow {
    const char* name;
    uint32_t site;
    PatchKind kind;
    Shape expected;
    uint32_t value; // the target (call, jump), the value (u32) or the count (nop)
    bool applies = true; // false: left out, its setting is off
};

// The most bytes one row may overwrite: what its record keeps to put back. A row that
// would write more is not written at all.
constexpr uint32_t maxRowBytes = 16;

// The bytes a row overwrites (more than maxRowBytes for a row too long to write).
[[nodiscard]] uint32_t row_bytes(const PatchRow& row);

// What a row's site held before the table wrote it.
struct PatchRecord {
    uint8_t original[maxRowBytes];
    uint32_t size;   // 0: the row was not written
    uint32_t former; // call and jump rows: where the site went before (0: nowhere known)
};

// Why a table was not written: its first checked row whose site held something else.
struct [[nodiscard]] PatchRefusal {
    const char* row = nullptr; // nullptr: nothing was refused
    uint32_t site = 0;
    Shape expected = Shape::Unchecked;
    uint8_t found[5] = {};
    bool readable = true; // false: the site's bytes could not be read at all

    explicit operator bool() const { return row != nullptr; }
};

// The row whose bytes could not be written: its span could not be made writable, or it is
// longer than maxRowBytes.
struct [[nodiscard]] PatchFailure {
    const char* row = nullptr; // nullptr: everything was written
    uint32_t site = 0;

    explicit operator bool() const { return row != nullptr; }
};

// Whether the site, read through `source`, holds the shape; the refusal names the row and
// what the site held. A site that cannot be read holds nothing.
PatchRefusal check_site(const ByteSource& source, const char* name, uint32_t site, Shape expected);

// A table as its set hands it out: the rows for this start-up's settings, and the records
// they are written into.
struct PatchTable {
    const PatchRow* rows;
    PatchRecord* records;
    std::size_t count;
};

// Copies the rows made for this start-up into the set's own storage.
template <std::size_t N>
PatchTable make_table(const PatchRow (&made)[N], PatchRow (&rows)[N], PatchRecord (&records)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        rows[i] = made[i];
    return {rows, records, N};
}

// Writes every row that applies, in order, recording what each overwrote (every record is
// cleared first, so only rows written hold anything to put back). The sites must
// have been checked first (check_site on every checked row that applies): this writes over
// whatever stands there. Stops at the first row it cannot write, which is left as it was;
// the rows before it stay written until restore_patches puts them back.
PatchFailure apply_patches(const PatchTable& table);

// Puts back what the written rows of the table overwrote, last row first, and forgets
// them. False when a row could not be put back (it stays recorded).
[[nodiscard]] bool restore_patches(const PatchTable& table);

} // namespace injector
