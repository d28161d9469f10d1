#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Text read from a file, made safe to print in one message line: control bytes (a CR
// would move the terminal's cursor to the line start) become \r, \n, \t or \xNN, and a
// long text is cut to `limit` bytes with "..." so one bad line cannot flood the output.
inline std::string printable(std::string_view text, size_t limit = 80)
{
    std::string out;
    const size_t shown = text.size() > limit ? limit : text.size();
    out.reserve(shown + 8);
    for (size_t i = 0; i < shown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else
            out += static_cast<char>(c);
    }
    if (shown < text.size())
        out += "...";
    return out;
}
