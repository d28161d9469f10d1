#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/types.h"

// The record of every call into a host operation, in order.
//
// A call is always counted (the run's summary reads the counts). Its arguments become JSON
// only when someone keeps the trace: in memory (the default, for tests that call the
// substitutes themselves) or streamed to a file (`--trace`). A run without a trace builds
// nothing, so the argument forms below are plain values that turn into JSON on demand.

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

// Argument forms of the trace, turned into JSON only when the trace is kept.
struct Number { float value; };       // whole values as integers, others as decimals
struct ColourArg { Colour value; };   // [r,g,b,a]
struct RectArg { Rect value; };       // [left,top,right,bottom]
struct Text { const char* value; };   // host bytes, non-ASCII as '?'; null for nullptr

inline Number number(float value) { return {value}; }
inline ColourArg colour(Colour c) { return {c}; }
inline RectArg rect(const Rect& r) { return {r}; }
inline Text text(const char* s) { return {s}; }

void to_json(nlohmann::json& j, const Number& n);
void to_json(nlohmann::json& j, const ColourArg& c);
void to_json(nlohmann::json& j, const RectArg& r);
void to_json(nlohmann::json& j, const Text& t);

// The arguments of one call, held by value until the trace asks for them.
template <class... T>
struct Args {
    std::tuple<T...> values;
};

template <class... T>
Args<std::decay_t<T>...> args(const T&... values)
{
    return {{values...}};
}

template <class... T>
void to_json(nlohmann::json& j, const Args<T...>& a)
{
    j = std::apply([](const auto&... v) { return nlohmann::json::array({nlohmann::json(v)...}); }, a.values);
}

// Whether calls are kept (in memory or in a file): when false, record only counts.
bool on();
// Keep calls in memory, for entries(). On at start.
void keepInMemory(bool keep);
// Stream calls to a file from now on, one JSON object per line. False (with a reason)
// when the file cannot be made.
bool streamTo(const std::string& path, std::string& error);
// From now on the stream holds only the calls of frames 1 to `last` (the frames of a run),
// leaving out the loading and unloading; 0 streams every call.
void streamOnlyFrames(int last);
// Ends the stream and flushes it. False when any line could not be written.
bool endStream(std::string& error);

bool isPluginCaller(const void* caller);
void count(const char* op, bool byPlugin);

// Whether host calls are recorded at all (counts and trace). On at start; radar_bench turns
// it off to time the plug-in without the simulated host's bookkeeping.
extern bool bookkeeping;
void keepBookkeeping(bool keep);
void keep(const char* op, bool byPlugin, nlohmann::json args);
void keep(const char* op, bool byPlugin, nlohmann::json args, nlohmann::json result);

template <class A>
void record(const char* op, const void* caller, const A& args)
{
    if (!bookkeeping)
        return;
    bool byPlugin = isPluginCaller(caller);
    count(op, byPlugin);
    if (on())
        keep(op, byPlugin, nlohmann::json(args));
}

template <class A, class R>
void record(const char* op, const void* caller, const A& args, const R& result)
{
    if (!bookkeeping)
        return;
    bool byPlugin = isPluginCaller(caller);
    count(op, byPlugin);
    if (on())
        keep(op, byPlugin, nlohmann::json(args), nlohmann::json(result));
}

// A sprite the caller drew, by its texture's name (nullptr: none bound); counted for the
// summary whether or not the trace is kept.
void countSprite(const void* caller, const char* textureName);

// The calls kept in memory.
const std::vector<TraceEntry>& entries();
// Forgets the calls kept in memory and every count.
void clear();

// Calls of each operation the plug-in made from frame 1 on, by name.
std::map<std::string, int> pluginCalls();
// Sprites the plug-in drew, by texture name ("(no texture)" for an empty handle).
std::map<std::string, int> pluginSprites();

// Calls whose return address lies in [begin, end) are the plug-in's. Until a plug-in
// module is set, every caller outside the host image counts as the plug-in.
void setPluginRange(uint32_t begin, uint32_t end);

// One kept call as its line of the trace file, without the line end.
std::string jsonLine(const TraceEntry& entry);

} // namespace trace

} // namespace sim

// The return address of the substitute that uses it: who called the host operation.
#define SIM_CALLER() __builtin_return_address(0)
