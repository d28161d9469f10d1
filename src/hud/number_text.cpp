#include "hud/number_text.h"

void writeNumber(char* out, size_t size, const char* prefix, int64_t value)
{
    // The digits of the magnitude, from the last one backwards; unsigned, so the most
    // negative value has a magnitude too.
    char digits[20];
    char* first = digits + sizeof digits;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    size_t at = 0;
    auto put = [&](char c) {
        if (at + 1 < size)
            out[at++] = c;
    };
    for (const char* p = prefix; *p; ++p)
        put(*p);
    if (value < 0)
        put('-');
    for (const char* p = first; p != digits + sizeof digits; ++p)
        put(*p);
    out[at] = '\0';
}
