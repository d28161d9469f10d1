// Stand-in until the real editor lands.
#include "studio/data_edit.h"
#include <sstream>
namespace studio {
std::optional<std::string> applyChanges(std::string_view text, FileKind kind, const std::vector<ValueChange>& changes,
                                        std::string&)
{
    std::string out(text);
    for (const ValueChange& c : changes) {
        size_t at = 0;
        while (at < out.size()) {
            size_t end = out.find('\n', at);
            if (end == std::string::npos) end = out.size();
            std::string line = out.substr(at, end - at);
            if (line.rfind(c.key, 0) == 0 && line.size() > c.key.size() && (line[c.key.size()] == ' ' || line[c.key.size()] == '\t')) {
                std::string repl = c.key + (kind == FileKind::Settings ? " =" : "");
                for (auto& v : c.values) repl += " " + v;
                if (!line.empty() && line.back() == '\r') repl += '\r';
                out.replace(at, end - at, repl);
                break;
            }
            at = end + 1;
        }
    }
    return out;
}
}
