// The studio's server, as a browser or another page on the machine would reach it: what it
// refuses, what it saves and what it renders. Each test starts the real kellhud-studio on a
// copy of the shipped folder.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include "temp_dir.h"

namespace fs = std::filesystem;
using nlohmann::json;

extern char** environ;

namespace {

// kellhud-studio on a copy of the shipped folder, stopped at the end.
struct Studio {
    TempDir dir;
    pid_t pid = 0;
    int port = 0;
    std::string token;

    Studio()
    {
        fs::copy(fs::path(KELLHUD_STUDIO_BINARY).parent_path() / "kell-hud", fs::path(dir.path()) / "kell-hud",
                 fs::copy_options::recursive);
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string program = KELLHUD_STUDIO_BINARY;
        std::vector<std::string> args = {program, "--plugin-dir", dir.path(), "--no-browser"};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        // The first line: "Kell Hud Studio: http://127.0.0.1:PORT/?token=TOKEN".
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        const size_t colon = line.rfind(':'), token_at = line.find("?token=");
        if (colon != std::string::npos && token_at != std::string::npos) {
            port = std::atoi(line.c_str() + colon + 1);
            token = line.substr(token_at + 7);
        }
    }
    ~Studio()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    httplib::Client client() const
    {
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(300);
        return client;
    }
    httplib::Headers headers() const { return {{"X-Kell-Token", token}}; }

    json state() const
    {
        const auto got = client().Get("/api/state", headers());
        return got && got->status == 200 ? json::parse(got->body) : json();
    }
    httplib::Result post(const std::string& path, const json& body) const
    {
        return client().Post(path, headers(), body.dump(), "application/json");
    }
    std::string file(const std::string& name) const { return readWholeFile(dir.path() + "/kell-hud/" + name); }
};

json versionsOf(const json& state)
{
    return {{"settings", state["files"]["settings"]["version"]},
            {"layout", state["files"]["layout"]["version"]},
            {"colours", state["files"]["colours"]["version"]}};
}

// The lines of two texts that differ, as "before" -> "after".
std::vector<std::pair<std::string, std::string>> changedLines(const std::string& before, const std::string& after)
{
    std::vector<std::pair<std::string, std::string>> changed;
    std::istringstream a(before), b(after);
    std::string x, y;
    while (true) {
        const bool more = static_cast<bool>(std::getline(a, x)), moreAfter = static_cast<bool>(std::getline(b, y));
        if (!more && !moreAfter)
            break;
        if (!more || !moreAfter || x != y)
            changed.emplace_back(more ? x : "", moreAfter ? y : "");
    }
    return changed;
}

TEST(StudioServer, RefusesWhatIsNotItsOwnAndKeepsAnswering)
{
    Studio studio;
    ASSERT_GT(studio.port, 0);
    const std::string port = std::to_string(studio.port);
    struct Row {
        const char* what;
        const char* method;
        std::string path;
        httplib::Headers headers;
        std::string body;
        int status;
    };
    const std::string own = "127.0.0.1:" + port;
    const Row rows[] = {
        {"no token", "GET", "/api/state", {}, "", 403},
        {"a wrong token", "GET", "/api/state", {{"X-Kell-Token", std::string(32, '0')}}, "", 403},
        {"the token cut short", "GET", "/api/state", {{"X-Kell-Token", studio.token.substr(0, 31)}}, "", 403},
        {"the token and one more digit", "GET", "/api/state", {{"X-Kell-Token", studio.token + "0"}}, "", 403},
        {"a wrong token in the address", "GET", "/?token=x" + studio.token, {}, "", 403},
        {"a foreign host (DNS rebinding)", "GET", "/api/state", {{"X-Kell-Token", studio.token}, {"Host", "evil.example:" + port}}, "", 403},
        {"our address on another port", "GET", "/api/state", {{"X-Kell-Token", studio.token}, {"Host", "127.0.0.1:1"}}, "", 403},
        {"a foreign origin", "POST", "/api/save", {{"X-Kell-Token", studio.token}, {"Origin", "http://evil.example"}}, "{}", 403},
        {"an origin that only starts like ours", "POST", "/api/render",
         {{"X-Kell-Token", studio.token}, {"Origin", "http://" + own + ".evil.example"}}, "{}", 403},
        {"a path out of the folder", "GET", "/../../etc/passwd", {{"X-Kell-Token", studio.token}}, "", 404},
        {"a data file by path", "GET", "/kell-hud/settings.ini", {{"X-Kell-Token", studio.token}}, "", 404},
        {"an oversized body", "POST", "/api/save", {{"X-Kell-Token", studio.token}}, std::string(1024 * 1024 + 1, ' '), 413},
        {"a body that is no JSON", "POST", "/api/save", {{"X-Kell-Token", studio.token}}, "{\"changes\":", 400},
        {"a change to a file by path", "POST", "/api/save", {{"X-Kell-Token", studio.token}},
         R"({"changes":{"../../evil":{"x":"1"}}})", 400},
        {"an unknown key", "POST", "/api/save", {{"X-Kell-Token", studio.token}}, R"({"changes":{"settings":{"bNope":"1"}}})", 400},
        {"a value with a line break", "POST", "/api/save", {{"X-Kell-Token", studio.token}},
         R"({"changes":{"settings":{"bStatsBox":"1\nbEnable = 0"}}})", 400},
        {"an unknown layout key given no numbers", "POST", "/api/save", {{"X-Kell-Token", studio.token}},
         R"({"changes":{"layout":{"HUD_NOPE":{"values":[],"anchor":"left-top"}}}})", 400},
        {"an unknown colour", "POST", "/api/save", {{"X-Kell-Token", studio.token}},
         R"({"changes":{"colours":{"HUD_COLOUR_NOPE":[1,2,3,4]}}})", 400},
        {"an unknown style", "POST", "/api/save", {{"X-Kell-Token", studio.token}}, R"({"style":"neon"})", 400},
        {"an unknown scenario", "POST", "/api/render", {{"X-Kell-Token", studio.token}}, R"({"scenario":"nope"})", 400},
        {"a screen too wide", "POST", "/api/render", {{"X-Kell-Token", studio.token}}, R"({"width":16385})", 400},
        {"the page, with the token", "GET", "/?token=" + studio.token, {}, "", 200},
        {"our own origin", "GET", "/api/state", {{"X-Kell-Token", studio.token}, {"Origin", "http://" + own}}, "", 200},
        {"localhost as the host", "GET", "/api/state", {{"X-Kell-Token", studio.token}, {"Host", "localhost:" + port}}, "", 200},
    };
    // 128 bits from the system's random source, as printed.
    EXPECT_EQ(studio.token.find_first_not_of("0123456789abcdef"), std::string::npos) << studio.token;
    EXPECT_EQ(studio.token.size(), 32u);
    const std::string settings = studio.file("settings.ini");
    for (const Row& row : rows) {
        httplib::Client client = studio.client();
        const auto got = std::string(row.method) == "GET"
                             ? client.Get(row.path, row.headers)
                             : client.Post(row.path, row.headers, row.body, "application/json");
        ASSERT_TRUE(got) << row.what;
        EXPECT_EQ(got->status, row.status) << row.what << ": " << got->body.substr(0, 300);
        if (row.status != 200) {
            EXPECT_NE(json::parse(got->body, nullptr, false).value("error", ""), "") << row.what << ": " << got->body.substr(0, 300);
        }
        EXPECT_FALSE(studio.state().is_null()) << "after " << row.what;
    }
    EXPECT_EQ(studio.file("settings.ini"), settings);
}

TEST(StudioServer, SavesOnlyTheChangedNumbersAndRefusesStaleOrWrongFiles)
{
    Studio studio;
    ASSERT_GT(studio.port, 0);
    const std::string layout = studio.file("data/hud.dat"), settings = studio.file("settings.ini");
    const json state = studio.state();
    ASSERT_FALSE(state.is_null());

    // What the page is told of each kind of entry: sizes, directions, axes, shipped values
    // and the guides' sentences.
    const auto entry = [&](const char* list, const std::string& key) {
        for (const json& item : state[list])
            if (item["key"] == key)
                return item;
        return json();
    };
    struct Expect {
        const char* key;
        json sizes, sign;
        const char* moves;
        const char* docs;
    };
    const Expect expected[] = {
        {"HUD_RADAR_OFFSET_X_Y", {false, false}, {1, -1}, "xy", "x > 0 moves it right"},
        {"HUD_PLAYER_INFO_OFFSET_X_Y", {false, false}, {-1, 1}, "xy", "Moves the player information block"},
        {"HUD_RADAR_MAP", {false, false, true, true}, {1, -1}, "xy", "x: centre of the map, from the left edge"},
        {"HUD_AMMO", {false, false, false, false}, {-1, 1}, "xy", "text scale"},
        {"HUD_SUBTITLES", {false, false, false, false}, {-1, -1}, "xy", "x > 0 moves left"},
        {"HUD_CELLPHONE", {false, false, true, true}, {-1, -1}, "x", "size of the phone"},
        {"HUD_STATS_BOX", {false, false, true, true}, {1, -1}, "y", "it hides at"},
        {"HUD_CROSSHAIR", {false, false, true, true}, {1, 1}, "", "plain pixels"},
    };
    for (const Expect& row : expected) {
        const json item = entry("layout", row.key);
        EXPECT_EQ(item["sizes"], row.sizes) << row.key;
        EXPECT_EQ(item["sign"], row.sign) << row.key;
        EXPECT_EQ(item["moves"], row.moves) << row.key;
        EXPECT_EQ(item["shipped"]["values"], item["values"]) << row.key;
        EXPECT_NE(item["docs"].dump().find(row.docs), std::string::npos) << row.key << ": " << item["docs"];
    }
    EXPECT_EQ(entry("colours", "HUD_COLOUR_WHITE")["docs"], json::array({"Used for: stats box bars"}));
    EXPECT_EQ(entry("colours", "HUD_COLOUR_GREYDARK")["docs"], json::array({"Used for: game palette"}));
    EXPECT_EQ(entry("colours", "HUD_COLOUR_GREYDARK")["shipped"], json::array({75, 75, 75, 255}));
    EXPECT_EQ(entry("settings", "bStatsBox")["kind"], "switch");
    EXPECT_EQ(entry("settings", "iRadarAlpha")["kind"], "number");

    // Saved without a change: nothing is written, every byte stays.
    auto got = studio.post("/api/save", {{"changes", json::object()}, {"versions", versionsOf(state)}});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, 200) << got->body.substr(0, 300);
    EXPECT_EQ(json::parse(got->body)["saved"], json::array());
    // The same values as on disk change nothing either.
    json radar = state["layout"][2];
    ASSERT_EQ(radar["key"], "HUD_RADAR_MAP");
    got = studio.post("/api/save", {{"changes", {{"layout", {{"HUD_RADAR_MAP", {{"values", radar["values"]}, {"anchor", ""}}}}}}},
                                    {"versions", versionsOf(state)}});
    EXPECT_EQ(studio.file("data/hud.dat"), layout);

    // The radar moved 100 units right: that one number, CRLF kept.
    radar["values"][0] = radar["values"][0].get<double>() + 100;
    got = studio.post("/api/save", {{"changes", {{"layout", {{"HUD_RADAR_MAP", {{"values", radar["values"]}, {"anchor", ""}}}}}}},
                                    {"versions", versionsOf(state)}});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, 200) << got->body.substr(0, 300);
    const auto changed = changedLines(layout, studio.file("data/hud.dat"));
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].first.substr(0, 13), "HUD_RADAR_MAP");
    EXPECT_EQ(changed[0].second.back(), '\r');
    EXPECT_NE(changed[0].second.find(" 270 "), std::string::npos) << changed[0].second;
    const json saved = json::parse(got->body);
    EXPECT_EQ(saved["saved"], json::array({"kell-hud/data/hud.dat"}));

    // A colour: that line alone, its columns kept.
    const std::string colours = studio.file("data/hudColor.dat");
    got = studio.post("/api/save", {{"changes", {{"colours", {{"HUD_COLOUR_GREYDARK", {5, 75, 75, 255}}}}}},
                                    {"versions", versionsOf(json::parse(got->body)["state"])}});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, 200) << got->body.substr(0, 300);
    const auto recoloured = changedLines(colours, studio.file("data/hudColor.dat"));
    ASSERT_EQ(recoloured.size(), 1u);
    EXPECT_EQ(recoloured[0].second.substr(0, 36), "HUD_COLOUR_GREYDARK            5  75");

    // The page's versions are now stale for hud.dat: refused, nothing written.
    const std::string layoutNow = studio.file("data/hud.dat");
    got = studio.post("/api/save", {{"changes", {{"settings", {{"bStatsBox", "0"}}}}}, {"versions", versionsOf(state)}});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, 409) << got->body.substr(0, 300);
    EXPECT_EQ(json::parse(got->body)["files"], json::array({"kell-hud/data/hud.dat", "kell-hud/data/hudColor.dat"}));
    EXPECT_EQ(studio.file("settings.ini"), settings);

    // A value the checker calls an error is not saved.
    got = studio.post("/api/save", {{"changes", {{"settings", {{"bStatsBox", "1x"}}}}}, {"versions", versionsOf(studio.state())}});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, 422) << got->body.substr(0, 300);
    EXPECT_EQ(json::parse(got->body)["findings"][0]["key"], "bStatsBox") << got->body.substr(0, 300);
    EXPECT_EQ(studio.file("settings.ini"), settings);
    EXPECT_EQ(studio.file("data/hud.dat"), layoutNow);
}

// The bytes of a base64 text (no line breaks).
std::string fromBase64(const std::string& text)
{
    static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=')
            break;
        bits = bits << 6 | static_cast<uint32_t>(digits.find(c));
        if ((count += 6) >= 8)
            bytes += static_cast<char>(bits >> (count -= 8) & 0xFF);
    }
    return bytes;
}

TEST(StudioServer, RendersThePageChangesWithoutWritingThem)
{
#ifdef KELLHUD_SANITIZED_SIM
    GTEST_SKIP() << "two previews of kellhud-sim under the sanitizers take minutes; the plain build runs this";
#endif
    Studio studio;
    ASSERT_GT(studio.port, 0);
    const std::string layout = studio.file("data/hud.dat");
    const json state = studio.state();
    json radar = state["layout"][2];
    const auto boxOf = [](const json& render, const std::string& key) {
        for (const json& box : render["boxes"])
            if (box["key"] == key)
                return box;
        return json();
    };
    const auto before = studio.post("/api/render", {{"changes", json::object()}, {"scenario", "preview"}});
    radar["values"][0] = radar["values"][0].get<double>() + 100;
    const auto after = studio.post("/api/render", {{"changes", {{"layout", {{"HUD_RADAR_MAP", {{"values", radar["values"]}}}}}}},
                                                   {"scenario", "preview"}, {"width", 1920}, {"height", 1080}});
    ASSERT_TRUE(before && after);
    ASSERT_EQ(after->status, 200) << after->body;
    const json a = json::parse(before->body), b = json::parse(after->body);
    EXPECT_EQ(a["image"].get<std::string>().substr(0, 22), "data:image/png;base64,");
    EXPECT_NE(a["image"], b["image"]);
    // A whole PNG of the asked size: the signature, the size in its header, the end chunk last.
    const std::string png = fromBase64(b["image"].get<std::string>().substr(22));
    ASSERT_GT(png.size(), 32u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x07\x80\0\0\x04\x38", 8));
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
    EXPECT_EQ((b["image"].get<std::string>().size() - 22) % 4, 0u);
    EXPECT_EQ(boxOf(b, "HUD_RADAR_MAP")["left"].get<double>() - boxOf(a, "HUD_RADAR_MAP")["left"].get<double>(), 100);
    EXPECT_TRUE(b["findings"].is_array());
    EXPECT_EQ(studio.file("data/hud.dat"), layout);
}

} // namespace
