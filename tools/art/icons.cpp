#include "icons.h"

#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "svg.h"

namespace art {

bool readText(const std::string& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

bool parseIconMap(const std::string& text, std::vector<IconChoice>& out, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    std::set<std::string> seen;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        IconChoice choice;
        std::string extra;
        if (!(words >> choice.dictionary))
            continue;
        if (!(words >> choice.texture >> choice.source)) {
            error = "line " + std::to_string(number) + ": expected DICTIONARY TEXTURE ICON [mirrored]";
            return false;
        }
        if (words >> extra) {
            choice.mirrored = extra == "mirrored";
            if (!choice.mirrored || (words >> extra)) {
                error = "line " + std::to_string(number) + ": expected DICTIONARY TEXTURE ICON [mirrored]";
                return false;
            }
        }
        if (!seen.insert(choice.dictionary + "/" + choice.texture).second) {
            error = "line " + std::to_string(number) + ": " + choice.texture + " of " + choice.dictionary +
                    " is already given";
            return false;
        }
        out.push_back(choice);
    }
    return true;
}

bool parseIconSet(const std::string& json, IconSet& out, std::string& error)
{
    nlohmann::json set = nlohmann::json::parse(json, nullptr, false);
    if (set.is_discarded() || !set.is_object() || !set.contains("icons") || !set["icons"].is_object()) {
        error = "not an iconify icon set (no \"icons\" object)";
        return false;
    }
    for (auto& [name, icon] : set["icons"].items())
        if (icon.is_object() && icon.contains("body") && icon["body"].is_string())
            out.bodies[name] = icon["body"].get<std::string>();
    return true;
}

bool iconBody(const std::string& source, const IconSet& set, const std::string& ownDir, std::string& body,
              std::string& error)
{
    const std::string own = "own:";
    if (source.rfind(own, 0) == 0) {
        std::string path = ownDir + "/" + source.substr(own.size()) + ".svg", file;
        if (!readText(path, file)) {
            error = "cannot read " + path;
            return false;
        }
        body = svg::innerContent(file);
        if (body.empty()) {
            error = path + " holds no <svg> element";
            return false;
        }
        return true;
    }
    auto found = set.bodies.find(source);
    if (found == set.bodies.end()) {
        error = "the icon set has no icon \"" + source + "\"";
        return false;
    }
    body = found->second;
    return true;
}

std::string mirrored(const std::string& body)
{
    return "<g transform=\"matrix(-1 0 0 1 512 0)\">" + body + "</g>";
}

} // namespace art
