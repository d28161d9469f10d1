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
