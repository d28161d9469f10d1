#include <string>

#include "plugin_loader.h"

namespace sim {

std::string settingsWithStyle(std::istream& in, int style)
{
    std::string text, line;
    bool set = false;
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(" \t");
        const bool isStyle = start != std::string::npos && line.compare(start, 5, "iVesk") == 0 &&
                             (line.size() == start + 5 || std::string(" \t=").find(line[start + 5]) != std::string::npos);
        if (isStyle && !set) {
            line = "iVesk = " + std::to_string(style);
            set = true;
        }
        text += line + "\n";
    }
    if (!set)
        text += "iVesk = " + std::to_string(style) + "\n";
    return text;
}

} // namespace sim
