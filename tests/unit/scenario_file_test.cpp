// The scenario file as a whole: what lies at the path when it is no JSON text, and keys
// that the JSON reader would silently let overwrite each other.

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "fifo_guard.h"
#include "scenario.h"
#include "temp_dir.h"

namespace {

template <class Read>
std::string errorOf(Read read)
{
    try {
        read();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(ScenarioFile, WhatIsNoJsonTextIsNamedWithoutReadingItAll)
{
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string path = dir.path() + "/";
    fs::create_directories(path + "folder.json");
    FifoGuard fifo(path + "fifo.json");
    ASSERT_TRUE(fifo.created());
    constexpr uintmax_t limit = uintmax_t{64} << 20;
    // Sparse files: their size costs no disk.
    const struct {
        const char* name;
        uintmax_t size;
    } sparse[] = {{"huge.json", uintmax_t{2} << 30}, {"over.json", limit + 1}, {"limit.json", limit}};
    for (const auto& file : sparse) {
        dir.write(file.name, "");
        fs::resize_file(path + file.name, file.size);
    }
    dir.write("nul.json", std::string("{\"frames\": 2}\0", 14));

    struct Case {
        const char* name;
        const char* says;
    } cases[] = {
        {"folder.json", "it is a directory; give the JSON file"},
        {"fifo.json", "not a regular file (a pipe, socket or device); give a JSON file"},
        {"huge.json", "2147483648 bytes (2048 MB), more than the 64 MB a scenario may hold"},
        {"over.json", "67108865 bytes (64 MB), more than the 64 MB a scenario may hold"},
        {"limit.json", "it holds NUL bytes (the first at byte 0), so it is not text; a scenario is a JSON text file"},
        {"nul.json", "it holds NUL bytes (the first at byte 13), so it is not text; a scenario is a JSON text file"},
        {"missing.json", "there is no such file; check the name and folder"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf([&] { sim::loadScenario(path + c.name); }),
                  "cannot read scenario " + path + c.name + (*c.says ? ": " : "") + c.says);
    EXPECT_FALSE(fifo.readerWaited());
}

TEST(ScenarioFile, AKeyGivenTwiceInOneObjectIsNamedByItsPath)
{
    struct Case {
        const char* json;
        const char* path;
    } cases[] = {
        {R"({"frames": 2, "frames": 5})", "frames"},
        {R"({"clock": {"step_ms": 1, "start_ms": 0, "step_ms": 2}})", "clock.step_ms"},
        {R"({"texts": {"A": "x", "A": "y"}})", "texts.A"},
        {R"({"render_states": {"12": 1, "12": 2}})", "render_states.12"},
        // Indexes count every kind of item: numbers, lists and objects.
        {R"({"world": [{"frame": 1, "blips": [{"at": [1, 2]}, {"at": [[3], 4], "id": 1, "id": 2}]}]})",
         "world[0].blips[1].id"},
        {R"({"steps": [{"frame": 1, "ms": 2}, {"frame": 2, "ms": 3}], "world": [1, [2], {"a": {}}, {"b": 1, "b": 2}]})",
         "world[3].b"},
        {"{\"texts\": {\"a\\rb\": \"x\", \"a\\rb\": \"y\"}}", "texts.a\\rb"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf([&] { sim::parseScenario(c.json); }),
                  std::string("scenario: ") + c.path + ": given twice in the same object; give each field once")
            << c.json;

    // An unknown field's name is escaped and cut like every text from a file.
    EXPECT_EQ(errorOf([&] { sim::parseScenario("{\"fr\\rames\": 1}"); }).substr(0, 30),
              "scenario: fr\\rames: unknown fi");
    EXPECT_EQ(errorOf([&] { sim::parseScenario("{\"" + std::string(500, 'x') + "\": 1}"); }).substr(0, 62),
              "scenario: " + std::string(40, 'x') + "...: unknown");

    // The same key in different objects is no repetition.
    const sim::Scenario s = sim::parseScenario(R"({"frames": 3, "clock": {"step_ms": 5},
        "steps": [{"frame": 2, "ms": 1}, {"frame": 3, "ms": 0}], "texts": {"frames": "x"}})");
    EXPECT_EQ(s.frames, 3);
    EXPECT_EQ(s.stepMs, 5u);
    EXPECT_EQ(s.steps.size(), 2u);
}

} // namespace
