#include "font_sheet.h"

#include <algorithm>

#include "svg.h"

namespace art {

namespace {

struct FontStyle {
    bool bold;
    const char* outline; // colour of a dark edge around each glyph, or nullptr
};

// font1 is the plain text face, font2 the heavier one for headings and numbers. Every
// variant keeps the same face and size, so one set of widths fits all three.
FontStyle styleOf(int font, int variant)
{
    switch (variant) {
    case 1: return {font == 1, font == 1 ? "#050a12" : "#0a1420"};  // mora: dark edges throughout
    case 2: return {true, font == 1 ? "#2a1205" : nullptr};        // sabel: bold throughout
    default: return {font == 1, font == 1 ? "#000" : nullptr};      // base
    }
}

} // namespace

std::string fontSheet(int font, int variant)
{
    FontStyle style = styleOf(font, variant);
    std::string attributes = "font-family=\"DejaVu Sans\" font-size=\"24\" fill=\"#fff\"";
    if (style.bold)
        attributes += " font-weight=\"bold\"";
    if (style.outline)
        attributes += std::string(" stroke=\"") + style.outline +
                      "\" stroke-width=\"2.5\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
    std::string body = "<g " + attributes + ">\n";
    for (int i = 0; i < fontCharCount; ++i) {
        char ch = static_cast<char>(fontFirstChar + i);
        if (ch == ' ' || ch == 127)
            continue;
        int x = (i % fontColumns) * fontCell + fontGlyphLeft, y = (i / fontColumns) * fontCell + 24;
        body += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\">" +
                svg::escape(std::string(1, ch)) + "</text>\n";
    }
    return svg::document(fontSheetWidth, fontSheetHeight, body + "</g>\n");
}

bool measureGlyphs(const png::Image& sheet, GlyphWidths& out)
{
    if (sheet.width != fontSheetWidth || sheet.height != fontSheetHeight ||
        sheet.rgba.size() != static_cast<std::size_t>(sheet.width) * sheet.height * 4)
        return false;
    for (int i = 0; i < fontCharCount; ++i) {
        int left = (i % fontColumns) * fontCell, top = (i / fontColumns) * fontCell;
        int right = -1; // rightmost inked column within the cell
        for (int y = top; y < top + fontCell; ++y)
            for (int x = left; x < left + fontCell; ++x)
                if (sheet.rgba[(static_cast<std::size_t>(y) * sheet.width + x) * 4 + 3] > 0)
                    right = std::max(right, x - left);
        out[i] = right < 0 ? fontSpaceWidth : right + 2;
    }
    return true;
}

GlyphWidths widest(const std::vector<GlyphWidths>& sheets)
{
    GlyphWidths out{};
    for (const GlyphWidths& w : sheets)
        for (int i = 0; i < fontCharCount; ++i)
            out[i] = std::max(out[i], w[i]);
    return out;
}

std::string fontData(const std::vector<std::string>& names, const std::vector<GlyphWidths>& widths)
{
    std::string out = "# Kell Hud font data, read by the game's font loader.\n"
                      "# One line per font sheet of fonts.txd: the sheet's texture name, then the width in\n"
                      "# sheet pixels of each character from 32 (space) to 127, as the sheet draws it.\n";
    for (std::size_t s = 0; s < names.size() && s < widths.size(); ++s) {
        out += names[s];
        for (int w : widths[s])
            out += ' ' + std::to_string(w);
        out += '\n';
    }
    return out;
}

} // namespace art
