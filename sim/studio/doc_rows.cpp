// Stand-in until the real one lands.
#include "studio/doc_rows.h"
namespace studio {
std::vector<std::string> docRows(std::string_view markdown, std::string_view key)
{
    std::vector<std::string> rows;
    const std::string needle = "| `" + std::string(key) + "`";
    size_t at = 0;
    while ((at = markdown.find(needle, at)) != std::string_view::npos) {
        size_t end = markdown.find('\n', at);
        rows.emplace_back(markdown.substr(at, end - at));
        at = end;
    }
    return rows;
}
}
