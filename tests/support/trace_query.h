#pragma once

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim_run.h"

// Questions the tests ask of a run's trace (docs/trace.md): a frame's entries, the plug-in's
// among them, their operations and arguments, and the stretch between two marks.

namespace trace_query {

using nlohmann::json;
using Mark = std::function<bool(const json& entry)>;

// Every entry of one frame, in order.
std::vector<json> frameOf(const SimRun& run, int frame);
// The plug-in's calls among `entries`, optionally of one operation only.
std::vector<json> byPlugin(const std::vector<json>& entries, const std::string& op = "");
// Entries from the first that `begins` marks (itself left out unless `withBegin`) up to the
// first after it that `ends` marks (left out); none when nothing begins.
std::vector<json> between(const std::vector<json>& entries, const Mark& begins, const Mark& ends, bool withBegin = false);
// Entries up to the first that `ends` marks (left out).
std::vector<json> until(const std::vector<json>& entries, const Mark& ends);

std::vector<std::string> opsOf(const std::vector<json>& entries);
// The arguments of the entries of one operation.
std::vector<json> argsOf(const std::vector<json>& entries, const std::string& op);
// How many calls of `op` the plug-in (or the host, by = "host") made in the whole run.
int countOf(const SimRun& run, const std::string& op, const std::string& by = "plugin");

// A mark for an operation, made by anyone or by the plug-in only.
Mark op(const std::string& name);
Mark pluginOp(const std::string& name);

} // namespace trace_query
