#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "text/printable.h"

// A property every input must keep. When it breaks, the harness says which (and what it
// saw, when given) and aborts, and libFuzzer keeps the input as a crash file.
inline void require(bool holds, const char* what, std::string_view seen = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    if (!seen.empty())
        std::fprintf(stderr, "  seen: %s\n", printable(seen, 400).c_str());
    std::abort();
}

// A property the current code still breaks (fuzz/findings-to-triage/ holds an input for
// each). Checked when KELLHUD_FUZZ_STRICT is 1, as scripts/fuzz.sh sets it by default;
// CI checks it too once the code keeps it.
inline bool strict()
{
    static const char* const setting = std::getenv("KELLHUD_FUZZ_STRICT");
    static const bool on = setting && *setting && std::string_view(setting) != "0";
    return on;
}

inline void requireStrict(bool holds, const char* what, std::string_view seen = {})
{
    if (strict())
        require(holds, what, seen);
}
