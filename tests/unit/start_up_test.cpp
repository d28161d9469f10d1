// The start-up and the library's static objects, in the test's own process over the
// simulated host's image.

#include "app/start_up.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "host_build.h"
#include "state/plugin.h"
#include "host_image.h"
#include "host_sites.h"
#include "sim/system.h"
#include "temp_dir.h"

namespace {

// The first protection change that covers the address, as an index into the log.
size_t firstChangeAt(uint32_t address)
{
    const auto& changes = sim::system().protectionChanges;
    for (size_t i = 0; i < changes.size(); ++i)
        if (changes[i].address <= address && address < changes[i].address + changes[i].size)
            return i;
    return changes.size();
}

} // namespace

TEST(StartUp, WatermarkTakesTheTailSiteBeforeTheDrawingSite)
{
    sim::buildHostImage();
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    dir.write("kell-hud/settings.ini", "bEnable = 1\n");
    startUp();
    size_t tail = firstChangeAt(0x57C324);
    size_t draw = firstChangeAt(0x53E293);
    ASSERT_LT(draw, sim::system().protectionChanges.size());
    EXPECT_LT(tail, draw);
}

TEST(StartUp, LoadingTheLibraryCopiesThePathObjectReference)
{
    sim::buildHostImage();
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    void* library = dlopen(KELLHUD_PLUGIN_BINARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    // The library's code may write this process's copy of the variable (the program
    // exports the same name) or its own; either way one of them holds the reference.
    const auto* own = static_cast<const uint32_t*>(dlsym(library, "hostObjectRef"));
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(hostObjectRef == sim::pathObject || *own == sim::pathObject)
        << std::hex << hostObjectRef << " " << *own;
    dlclose(library);
}

TEST(StartUp, ACallAnotherModuleRedirectedNamesThatModuleAndNothingIsPatched)
{
    sim::buildHostImage();
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    dir.write("kell-hud/settings.ini", "bEnable = 1\n");
    // Another mod's call at the zone name colour site, into the first byte of a library of
    // this process (so a target off by a few bytes would name another module, or none).
    const uint32_t site = 0x58AE02;
    Dl_info libc{};
    ASSERT_NE(dladdr(dlsym(RTLD_DEFAULT, "puts"), &libc), 0);
    const uint32_t into = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(libc.dli_fbase));
    const uint32_t displacement = into - (site + 5);
    uint8_t call[5] = {0xE8};
    std::memcpy(call + 1, &displacement, 4);
    sim::hostWrite(site, call, 5);
    startUp();

    EXPECT_TRUE(sim::listPatches().empty());
    ASSERT_EQ(sim::system().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::system().messageBoxes[0].caption, "Kell Hud");
    const std::string text = sim::system().messageBoxes[0].text;
    // (the C library, or the sanitizer's library that stands in for its functions)
    const std::string module = std::filesystem::path(libc.dli_fname).filename().string();
    EXPECT_EQ(text.rfind("Another mod (" + module + ") has already changed the game at 0x58AE02 (site_zone_name_colour), "
                         "where Kell Hud expects a call into the game.", 0),
              0u)
        << text;
}
