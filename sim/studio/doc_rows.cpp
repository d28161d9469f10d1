#include "studio/doc_rows.h"

#include <algorithm>
#include <cstddef>

namespace studio {

namespace {

std::string_view trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A table row: '|' first, indented less than a code block.
bool isRow(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && first < 4 && line[first] == '|';
}

// The cells of a row. A '|' inside backticks or after a backslash is text, not a border.
std::vector<std::string> cellsOf(std::string_view line)
{
    line = trim(line);
    line.remove_prefix(1);
    std::vector<std::string> cells;
    std::string cell;
    bool code = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (c == '|' && !code) {
            cells.emplace_back(trim(cell));
            cell.clear();
        } else {
            code = code != (c == '`');
            cell += c;
        }
    }
    // The closing border is optional.
    if (!trim(cell).empty())
        cells.emplace_back(trim(cell));
    return cells;
}

// The line under a header: dashes, with colons for alignment.
bool isDelimiter(const std::vector<std::string>& cells)
{
    if (cells.empty())
        return false;
    for (const std::string& cell : cells)
        if (cell.find('-') == std::string::npos || cell.find_first_not_of("-: ") != std::string::npos)
            return false;
    return true;
}

bool namesKey(std::string_view cell, std::string_view key)
{
    std::size_t at = 0;
    while ((at = cell.find('`', at)) != std::string_view::npos) {
        const std::size_t close = cell.find('`', at + 1);
        if (close == std::string_view::npos)
            return false;
        if (cell.substr(at + 1, close - at - 1) == key)
            return true;
        at = close + 1;
    }
    return false;
}

std::string plain(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '`')
            continue;
        if (text[i] == '*' && i + 1 < text.size() && text[i + 1] == '*') {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string rowText(const std::vector<std::string>& cells, const std::vector<std::string>& header)
{
    std::string out;
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].empty())
            continue;
        if (!out.empty())
            out += "; ";
        if (i < header.size() && !header[i].empty())
            out += plain(header[i]) + ": ";
        out += plain(cells[i]);
    }
    return out;
}

} // namespace

std::vector<std::string> docRows(std::string_view markdown, std::string_view key)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < markdown.size();) {
        const std::size_t end = std::min(markdown.find('\n', start), markdown.size());
        lines.push_back(markdown.substr(start, end - start));
        start = end + 1;
    }

    std::vector<std::string> rows;
    bool fenced = false;
    std::vector<std::string> header;
    bool inTable = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (trim(line).starts_with("```") || trim(line).starts_with("~~~"))
            fenced = !fenced;
        if (fenced || !isRow(line)) {
            inTable = false;
            continue;
        }
        const std::vector<std::string> cells = cellsOf(line);
        if (!inTable) {
            inTable = true;
            header.clear();
            // A first row with a delimiter line under it is the header.
            if (i + 1 < lines.size() && isRow(lines[i + 1]) && isDelimiter(cellsOf(lines[i + 1]))) {
                header = cells;
                ++i;
                continue;
            }
        }
        if (!cells.empty() && namesKey(cells[0], key))
            rows.push_back(rowText(cells, header));
    }
    return rows;
}

} // namespace studio
