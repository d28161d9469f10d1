#include "trace_query.h"

namespace trace_query {

std::vector<json> frameOf(const SimRun& run, int frame)
{
    std::vector<json> found;
    for (const json& e : run.trace)
        if (e["frame"] == frame)
            found.push_back(e);
    return found;
}

std::vector<json> byPlugin(const std::vector<json>& entries, const std::string& op)
{
    std::vector<json> found;
    for (const json& e : entries)
        if (e["by"] == "plugin" && (op.empty() || e["op"] == op))
            found.push_back(e);
    return found;
}

std::vector<json> between(const std::vector<json>& entries, const Mark& begins, const Mark& ends, bool withBegin)
{
    std::vector<json> found;
    bool in = false;
    for (const json& e : entries) {
        if (in && ends(e))
            break;
        if (in)
            found.push_back(e);
        else if (begins(e)) {
            in = true;
            if (withBegin)
                found.push_back(e);
        }
    }
    return found;
}

std::vector<json> until(const std::vector<json>& entries, const Mark& ends)
{
    std::vector<json> found;
    for (const json& e : entries) {
        if (ends(e))
            break;
        found.push_back(e);
    }
    return found;
}

std::vector<std::string> opsOf(const std::vector<json>& entries)
{
    std::vector<std::string> ops;
    for (const json& e : entries)
        ops.push_back(e["op"]);
    return ops;
}

std::vector<json> argsOf(const std::vector<json>& entries, const std::string& op)
{
    std::vector<json> args;
    for (const json& e : entries)
        if (e["op"] == op)
            args.push_back(e["args"]);
    return args;
}

int countOf(const SimRun& run, const std::string& op, const std::string& by)
{
    int n = 0;
    for (const json& e : run.trace)
        n += e["op"] == op && e["by"] == by;
    return n;
}

Mark op(const std::string& name)
{
    return [name](const json& e) { return e["op"] == name; };
}

Mark pluginOp(const std::string& name)
{
    return [name](const json& e) { return e["op"] == name && e["by"] == "plugin"; };
}

} // namespace trace_query
