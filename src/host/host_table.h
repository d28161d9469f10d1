#pragma once

#include <cstddef>
#include <cstdint>

#include "host/chosen_addresses.h"
#include "host/host.h"

// The lists of host.h as one table, for what looks at all of them at once: the start-up's
// check of the routines at addresses of ours, the simulated host that writes their entries,
// and the tools that report on a game's code.

namespace host {

enum class Origin : uint8_t {
    Given,  // from what we know of the host
    Chosen, // ours (host/chosen_addresses.h)
};

enum class FactKind : uint8_t { Function, Datum, Field, Site };

struct Fact {
    const char* name;
    FactKind kind;
    Origin origin;
    uint32_t address;           // an offset, for a field
    const chosen::Entry* entry; // a chosen function: what its entry must hold; otherwise nullptr
};

#define HOST_ENTRY_Given(name) nullptr
#define HOST_ENTRY_Chosen(name) &chosen::name##_entry
#define HOST_FACT_FUNCTION(name, origin, address, convention, signature) \
    {#name, FactKind::Function, Origin::origin, address, HOST_ENTRY_##origin(name)},
#define HOST_FACT_DATUM(name, origin, address, type) {#name, FactKind::Datum, Origin::origin, address, nullptr},
#define HOST_FACT_FIELD(name, origin, offset, type) {#name, FactKind::Field, Origin::origin, offset, nullptr},
#define HOST_FACT_SITE(name, origin, address) {#name, FactKind::Site, Origin::origin, address, nullptr},

inline constexpr Fact facts[] = {HOST_FUNCTIONS(HOST_FACT_FUNCTION) HOST_DATA(HOST_FACT_DATUM)
                                     HOST_FIELDS(HOST_FACT_FIELD) HOST_SITES(HOST_FACT_SITE)};
inline constexpr std::size_t factCount = sizeof facts / sizeof facts[0];

#undef HOST_ENTRY_Given
#undef HOST_ENTRY_Chosen
#undef HOST_FACT_FUNCTION
#undef HOST_FACT_DATUM
#undef HOST_FACT_FIELD
#undef HOST_FACT_SITE

// Every function marked chosen has its entry (the table above would not compile otherwise),
// and no entry is left over for a function that is no longer marked chosen.
#define HOST_COUNT_CHOSEN(name, origin, address, convention, signature) +(Origin::origin == Origin::Chosen ? 1 : 0)
#define HOST_COUNT_ONE(name, address, entry) +1
static_assert(0 HOST_FUNCTIONS(HOST_COUNT_CHOSEN) == 0 HOST_CHOSEN_FUNCTIONS(HOST_COUNT_ONE),
              "a function in HOST_CHOSEN_FUNCTIONS is not marked Chosen in HOST_FUNCTIONS");
#undef HOST_COUNT_CHOSEN
#undef HOST_COUNT_ONE

// The name of a fact's kind and origin, as reports show them.
inline const char* kindName(FactKind kind)
{
    switch (kind) {
    case FactKind::Function: return "function";
    case FactKind::Datum: return "datum";
    case FactKind::Field: return "field";
    case FactKind::Site: return "site";
    }
    return "";
}

inline const char* originName(Origin origin) { return origin == Origin::Chosen ? "chosen" : "given"; }

// Whether the bytes read at a chosen function's entry are what the table says.
inline bool entryHolds(const chosen::Entry& entry, const uint8_t (&found)[chosen::entry_size])
{
    for (uint32_t i = 0; i < chosen::entry_size; ++i)
        if ((found[i] & entry.mask[i]) != (entry.bytes[i] & entry.mask[i]))
            return false;
    return true;
}

} // namespace host
