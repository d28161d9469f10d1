#include "trace.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <algorithm>
#include <iterator>

#include "host_image.h"

namespace sim::trace {

int frame = 0;
bool bookkeeping = true;

namespace {

bool inMemory = true;
std::vector<TraceEntry> recorded;

std::FILE* stream = nullptr;
bool streamFailed = false;
int lastStreamedFrame = 0; // 0: every frame
std::string line; // reused for every streamed line, so a long run does not churn the heap

// Counts by the operation's name as the call site passes it: a literal, so the pointer is
// the key, placed by its bits in a fixed table (open addressing), so that counting costs
// the same small work for every call. Two sites may pass the same name through different
// pointers; they are merged when the counts are read.
struct OpCount {
    const char* op = nullptr;
    int calls = 0;
};
constexpr uint32_t opSlots = 1024; // far more than the host has operations
OpCount pluginCallCounts[opSlots];
std::map<std::string, int, std::less<>> spriteCounts;

bool pluginRangeSet = false;
uint32_t pluginBegin = 0;
uint32_t pluginEnd = 0;

void appendLine(std::string& out, int atFrame, std::string_view op, const nlohmann::json& args,
                const nlohmann::json* result, bool byPlugin)
{
    out += "{\"frame\":";
    out += std::to_string(atFrame);
    out += ",\"op\":";
    out += nlohmann::json(op).dump();
    out += ",\"args\":";
    out += args.dump();
    if (result) {
        out += ",\"result\":";
        out += result->dump();
    }
    out += byPlugin ? ",\"by\":\"plugin\"}" : ",\"by\":\"host\"}";
}

void keepCall(const char* op, bool byPlugin, nlohmann::json&& args, nlohmann::json* result)
{
    if (stream && (lastStreamedFrame == 0 || (frame >= 1 && frame <= lastStreamedFrame))) {
        line.clear();
        appendLine(line, frame, op, args, result, byPlugin);
        line += '\n';
        streamFailed |= std::fwrite(line.data(), 1, line.size(), stream) != line.size();
    }
    if (inMemory)
        recorded.push_back({frame, op, std::move(args), byPlugin, result != nullptr,
                            result ? std::move(*result) : nlohmann::json()});
}

} // namespace

bool on() { return inMemory || stream; }

void keepInMemory(bool keep) { inMemory = keep; }

bool streamTo(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    // A large buffer: a busy frame writes a few kilobytes in a few hundred small lines.
    static char buffer[1 << 20];
    std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
    stream = file;
    streamFailed = false;
    return true;
}

void streamOnlyFrames(int last) { lastStreamedFrame = last; }

bool endStream(std::string& error)
{
    if (!stream)
        return true;
    bool failed = streamFailed | (std::fflush(stream) != 0) | (std::ferror(stream) != 0);
    int closeError = std::fclose(stream) != 0 ? errno : 0;
    stream = nullptr;
    failed |= closeError != 0;
    if (failed)
        error = std::strerror(closeError ? closeError : EIO);
    return !failed;
}

void count(const char* op, bool byPlugin)
{
    if (!byPlugin || frame < 1)
        return;
    uint32_t slot = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(op) >> 2) % opSlots;
    while (pluginCallCounts[slot].op && pluginCallCounts[slot].op != op)
        slot = (slot + 1) % opSlots;
    pluginCallCounts[slot].op = op;
    ++pluginCallCounts[slot].calls;
}

void keepBookkeeping(bool keep) { bookkeeping = keep; }

void keep(const char* op, bool byPlugin, nlohmann::json args) { keepCall(op, byPlugin, std::move(args), nullptr); }

void keep(const char* op, bool byPlugin, nlohmann::json args, nlohmann::json result)
{
    keepCall(op, byPlugin, std::move(args), &result);
}

void countSprite(const void* caller, const char* textureName)
{
    if (!bookkeeping || !isPluginCaller(caller))
        return;
    std::string_view name = textureName ? textureName : "(no texture)";
    auto it = spriteCounts.find(name);
    if (it == spriteCounts.end())
        it = spriteCounts.emplace(std::string(name), 0).first;
    ++it->second;
}

const std::vector<TraceEntry>& entries() { return recorded; }

void clear()
{
    recorded.clear();
    std::fill(std::begin(pluginCallCounts), std::end(pluginCallCounts), OpCount{});
    spriteCounts.clear();
}

std::map<std::string, int> pluginCalls()
{
    std::map<std::string, int> calls;
    for (const OpCount& counted : pluginCallCounts)
        if (counted.op)
            calls[counted.op] += counted.calls;
    return calls;
}

std::map<std::string, int> pluginSprites() { return {spriteCounts.begin(), spriteCounts.end()}; }

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

std::string jsonLine(const TraceEntry& e)
{
    std::string out;
    appendLine(out, e.frame, e.op, e.args, e.hasResult ? &e.result : nullptr, e.byPlugin);
    return out;
}

void to_json(nlohmann::json& j, const Number& n)
{
    // Whole pixel values read as integers, as a person writes them.
    float value = n.value;
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e9f)
        j = static_cast<int64_t>(value);
    else if (!std::isfinite(value))
        j = nullptr;
    else
        j = static_cast<double>(value);
}

void to_json(nlohmann::json& j, const ColourArg& c) { j = {c.value.r, c.value.g, c.value.b, c.value.a}; }

void to_json(nlohmann::json& j, const RectArg& r)
{
    j = {number(r.value.left), number(r.value.top), number(r.value.right), number(r.value.bottom)};
}

void to_json(nlohmann::json& j, const Text& t)
{
    if (!t.value) {
        j = nullptr;
        return;
    }
    // Host texts are bytes; keep them readable whatever they hold.
    std::string out;
    for (const char* p = t.value; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    j = out;
}

} // namespace sim::trace
