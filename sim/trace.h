#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/types.h"

// The record of every call into a host operation, in order.

namespace sim {

struct TraceEntry {
    int frame;
    std::string op;
    nlohmann::json args;
    bool byPlugin;
    // What the call gave back, for the operations whose outcome the trace shows.
    bool hasResult = false;
    nlohmann::json result;
};

namespace trace {

// The frame the calls belong to: 0 while the plug-in loads, then 1..N, then N+1 at unload.
extern int frame;

void record(const char* op, const void* caller, nlohmann::json args);
void record(const char* op, const void* caller, nlohmann::json args, nlohmann::json result);
const std::vector<TraceEntry>& entries();
void clear();

// Calls whose return address lies in [begin, end) are the plug-in's. Until a plug-in
// module is set, every caller outside the host image counts as the plug-in.
void setPluginRange(uint32_t begin, uint32_t end);
bool isPluginCaller(const void* caller);

// One JSON object per line.
std::string toJsonLines();

// Argument forms of the trace.
nlohmann::json number(float value);
nlohmann::json colour(Colour c);
nlohmann::json rect(const Rect& r);
nlohmann::json text(const char* s);

template <class... T>
nlohmann::json args(const T&... values)
{
    return nlohmann::json::array({nlohmann::json(values)...});
}

} // namespace trace

} // namespace sim

// The return address of the substitute that uses it: who called the host operation.
#define SIM_CALLER() __builtin_return_address(0)
