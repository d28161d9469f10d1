#include "trace.h"

#include <cmath>

#include "host_image.h"

namespace sim::trace {

int frame = 0;

namespace {

std::vector<TraceEntry> recorded;
bool pluginRangeSet = false;
uint32_t pluginBegin = 0;
uint32_t pluginEnd = 0;

} // namespace

void record(const char* op, const void* caller, nlohmann::json args)
{
    recorded.push_back({frame, op, std::move(args), isPluginCaller(caller), false, nullptr});
}

void record(const char* op, const void* caller, nlohmann::json args, nlohmann::json result)
{
    recorded.push_back({frame, op, std::move(args), isPluginCaller(caller), true, std::move(result)});
}

const std::vector<TraceEntry>& entries() { return recorded; }

void clear() { recorded.clear(); }

void setPluginRange(uint32_t begin, uint32_t end)
{
    pluginRangeSet = true;
    pluginBegin = begin;
    pluginEnd = end;
}

bool isPluginCaller(const void* caller)
{
    uint32_t a = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(caller));
    if (pluginRangeSet)
        return a >= pluginBegin && a < pluginEnd;
    return !inHostImage(a);
}

std::string toJsonLines()
{
    std::string out;
    for (const TraceEntry& e : recorded) {
        out += "{\"frame\":" + std::to_string(e.frame) + ",\"op\":" + nlohmann::json(e.op).dump() +
               ",\"args\":" + e.args.dump() + (e.hasResult ? ",\"result\":" + e.result.dump() : "") +
               ",\"by\":\"" + (e.byPlugin ? "plugin" : "host") + "\"}\n";
    }
    return out;
}

nlohmann::json number(float value)
{
    // Whole pixel values read as integers, as a person writes them.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e9f)
        return static_cast<int64_t>(value);
    if (!std::isfinite(value))
        return nullptr;
    return static_cast<double>(value);
}

nlohmann::json colour(Colour c) { return {c.r, c.g, c.b, c.a}; }

nlohmann::json rect(const Rect& r)
{
    return {number(r.left), number(r.top), number(r.right), number(r.bottom)};
}

nlohmann::json text(const char* s)
{
    if (!s)
        return nullptr;
    // Host texts are bytes; keep them readable whatever they hold.
    std::string out;
    for (const char* p = s; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

} // namespace sim::trace
