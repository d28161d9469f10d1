// Crosshairs and scopes by camera mode and weapon, reached through the host's own call of
// its crosshair routine each frame.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenes.h"

namespace {

using nlohmann::json;
using aim_scene::crosshairDrawing;

const json white = {255, 255, 255, 255};
const json black = {0, 0, 0, 255};

// Each drawing call as [op, args]; arrays made explicitly, so that no pair becomes an object.
json sprite(const std::string& name, json rect)
{
    return json::array({"sprite_draw", json::array({hud_scene::sprite(name), rect, white})});
}
json fill(json rect, const json& colour = white) { return json::array({"fill_rect", json::array({rect, colour})}); }

// The four quarters meeting at P with the dot between the upper and lower pairs;
// HUD_CROSSHAIR is 3 -2 16 12 in pixels.
json ordinary(double px, double py)
{
    return json::array({sprite("hud_crosshair", {px - 16, py - 12, px, py}), sprite("hud_crosshair", {px + 16, py - 12, px, py}),
            fill({px - 2.5, py - 1, px + 2.5, py + 3}), sprite("hud_crosshair", {px - 16, py + 12, px, py}),
            sprite("hud_crosshair", {px + 16, py + 12, px, py})});
}

const char weapons[] = R"([{"type": 34, "model": 358}, {"type": 35, "model": 359}, {"type": 36, "model": 360},
                           {"type": 43, "model": 367}, {"type": 24, "model": 348}])";

struct Case {
    const char* what;
    std::string camera; // fields besides the aim
    std::string player; // the current player's record, or null
    json drawn;
};

std::string armed(int type) { return R"({"weapon": {"type": )" + std::to_string(type) + "}}"; }

// At 1920x1080, aim (0.5, 0.25): the meeting point is (963, 268).
const json sniper = json::array({sprite("hud_sniper", {396, -24, 1524, 1104})});
const json rocket = json::array({fill({-960, 0, 204, 1080}, black), sprite("hud_rocket", {204, -216, 1716, 1296}),
                                 fill({2880, 0, 1716, 1080}, black)});
const json viewfinder = json::array({fill({635, 0, 636, 1920}), fill({1285, 0, 1286, 1920}),
                                     fill({0, 315, 1920, 316}), fill({0, 765, 1920, 766})});
const json firstPerson = json::array({sprite("hud_crosshair_fps", {930, 505, 970, 535})});
const json nothing = json::array();

const std::vector<Case> cases = {
    {"sniper scope", R"("mode": 7)", armed(34), sniper},
    {"rocket scope", R"("mode": 55)", armed(35), rocket},
    {"heat-seeker scope", R"("mode": 65)", armed(36), rocket},
    {"camera viewfinder", R"("mode": 8)", armed(43), viewfinder},
    {"ordinary crosshair", R"("mode": 51)", armed(24), ordinary(963, 268)},
    {"a type without a weapon record", R"("mode": 46)", armed(47), ordinary(963, 268)},
    {"53 with flag c alone", R"("mode": 53, "flag_c": 1)", armed(24), nothing},
    {"53 with flags c and d", R"("mode": 53, "flag_c": 1, "flag_d": 1)", armed(24), ordinary(963, 268)},
    {"53 without flags", R"("mode": 53)", armed(34), sniper},
    {"first person 34", R"("mode": 34)", armed(34), firstPerson},
    {"first person 42", R"("mode": 42)", armed(24), firstPerson},
    {"first person 41", R"("mode": 41)", armed(43), firstPerson},
    {"first person 45", R"("mode": 45)", armed(35), firstPerson},
    {"the active record 1", R"("index": 1, "mode": 7)", armed(24), ordinary(963, 268)},
    {"another mode", R"("mode": 9)", armed(24), nothing},
    {"index past the records", R"("index": 3, "mode": 7)", armed(24), nothing},
    {"index far past them", R"("index": 16777216, "mode": 7)", armed(24), nothing},
    {"index far before them", R"("index": -16777216, "mode": 7)", armed(24), nothing},
    {"the character's crosshair block", R"("mode": 7)", R"({"crosshair_block": 1, "weapon": {"type": 24}})",
     nothing},
    {"no character", R"("mode": 7)", "null", nothing},
    {"the HUD switched off", R"("mode": 7)", armed(24), nothing},
};

std::string scenario()
{
    std::string world;
    for (size_t i = 0; i < cases.size(); ++i) {
        world += i ? ",\n" : "";
        world += R"({"frame": )" + std::to_string(i + 1) + R"(, "weapon_info": )" + weapons + R"(, "players": [)" +
                 cases[i].player + R"(], "camera": {"aim": [0.5, 0.25], )" + cases[i].camera + "}}";
    }
    // F11 in the last frame switches the HUD off from that frame on.
    std::string last = std::to_string(cases.size());
    return R"({"frames": )" + last + R"(, "clock": {"start_ms": 5000}, "keys": [{"key": 122, "from": )" + last +
           R"(}], "world": [)" + world + "]}";
}

TEST(Crosshair, EachCameraModeAndWeaponAndWhatStopsIt)
{
    TempDir dir;
    SimRun run = aim_scene::run(dir, scenario(), "bEnable = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(json(crosshairDrawing(run, static_cast<int>(i) + 1)), cases[i].drawn) << cases[i].what;

    // The weapon is asked for at skill 1, and a type the host keeps no record for is not.
    for (const json& e : run.calls("weapon_info")) {
        EXPECT_EQ(e["args"][1], 1);
        EXPECT_NE(e["args"][0], 47);
    }
    // The host's crosshair never runs; without bRadioHud its radio display runs each frame.
    EXPECT_TRUE(run.calls("crosshair_draw").empty());
    auto radio = run.calls("radio_display");
    ASSERT_EQ(radio.size(), cases.size());
    for (const json& e : radio)
        EXPECT_EQ(e["by"], "host");
}

// The crosshair's numbers are pixels at every size; the viewfinder's are screen units, and
// below 720 lines its 1.5-unit lines are 0 pixels thick.
TEST(Crosshair, CrosshairKeepsItsPixelsAndThinLinesVanishOnSmallScreens)
{
    const char twoFrames[] = R"({"frames": 2, "world": [{"frame": 1, "weapon_info": [{"type": 24, "model": 348},
        {"type": 43, "model": 367}], "players": [{"weapon": {"type": 24}}], "camera": {"mode": 7, "aim": [0.5, 0.25]}},
        {"frame": 2, "players": [{"weapon": {"type": 43}}], "camera": {"mode": 7}}]})";
    struct Size {
        const char* size;
        json crosshair, viewfinder;
    };
    const Size sizes[] = {
        {"1280x720", ordinary(643, 178),
         json::array({fill({424, 0, 425, 1280}), fill({856, 0, 857, 1280}), fill({0, 210, 1280, 211}),
                      fill({0, 510, 1280, 511})})},
        {"1024x600", ordinary(515, 148),
         json::array({fill({332, 0, 332, 1024}), fill({692, 0, 692, 1024}), fill({0, 175, 1024, 175}),
                      fill({0, 425, 1024, 425})})},
    };
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.size);
        TempDir dir;
        SimRun run = aim_scene::run(dir, twoFrames, "bEnable = 1\n", {"--size", s.size});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(json(crosshairDrawing(run, 1)), s.crosshair);
        EXPECT_EQ(json(crosshairDrawing(run, 2)), s.viewfinder);
    }
}

} // namespace
