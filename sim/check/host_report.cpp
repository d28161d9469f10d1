#include "check/host_report.h"

#include <cstdio>
#include <set>

#include "app/host_check.h"
#include "host/host_table.h"
#include "pe_file.h"
#include "state/plugin.h"

namespace check {

namespace {

struct Listing {
    std::ostream& out;
    std::set<std::string> seen;
    unsigned holding = 0, matching = 0, unconfirmed = 0, mismatching = 0, unchecked = 0;
};

const host::Fact* factNamed(const char* name)
{
    for (const host::Fact& fact : host::facts)
        if (std::string(fact.name) == name)
            return &fact;
    return nullptr;
}

std::string hexBytes(const uint8_t* bytes, unsigned count, const uint8_t* mask = nullptr)
{
    std::string text;
    char byte[4];
    for (unsigned i = 0; i < count; ++i) {
        if (mask && !mask[i])
            std::snprintf(byte, sizeof byte, "%s??", i ? " " : "");
        else
            std::snprintf(byte, sizeof byte, "%s%02X", i ? " " : "", bytes[i]);
        text += byte;
    }
    return text;
}

void listPlace(const CheckedPlace& place, void* context)
{
    Listing& listing = *static_cast<Listing*>(context);
    listing.seen.insert(place.name);
    const host::Fact* fact = factNamed(place.name);
    const char* origin = fact ? host::originName(fact->origin) : "given";
    const char* kind = place.entry ? "routine" : fact && fact->kind == host::FactKind::Function ? "routine" : "site";
    char head[96];
    std::snprintf(head, sizeof head, "  0x%06X  %-36s %s %s: ", place.address, place.name, origin, kind);
    std::string status;
    const unsigned size = place.entry ? host::chosen::entry_size : 5;
    const std::string found = place.readable ? "found " + hexBytes(place.found, size) : "nothing readable there";
    if (place.entry) {
        const std::string expected = hexBytes(place.entry->bytes, size, place.entry->mask);
        if (place.holds) {
            status = "matches its entry (" + expected + ")";
            ++listing.matching;
        } else if (place.entry == &host::chosen::unconfirmed) {
            status = "UNCONFIRMED: nobody has matched this routine in the game yet; " + found;
            ++listing.unconfirmed;
        } else {
            status = "MISMATCH: expects " + expected + ", " + found;
            ++listing.mismatching;
        }
    } else if (place.shape == injector::Shape::Unchecked) {
        status = "not checked: what the game has there is not known (patched over as it stands)";
        ++listing.unchecked;
    } else if (place.holds) {
        status = std::string("holds ") + shapeExpectation(place.shape);
        ++listing.holding;
    } else {
        status = std::string("MISMATCH: expects ") + shapeExpectation(place.shape) + ", " + found;
        ++listing.mismatching;
    }
    listing.out << head << status << "\n";
}

} // namespace

int checkHostFile(const std::string& path, std::ostream& out, std::ostream& err)
{
    sim::PeImage image;
    std::string error;
    if (!sim::readPeImage(path, image, error)) {
        err << "kellhud-sim: --check-host " << path << ": " << error
            << ". Give the game's own executable (a 32-bit Windows program).\n";
        return 2;
    }
    // Every option on: the check covers every place any settings would patch. The tables
    // read the settings from the plug-in's state.
    HudSettings settings{};
    settings.bEnable = settings.bStatsBox = settings.bCellphone = settings.bRadioHud = true;
    settings.bUseKellFonts = settings.bKellOnFootCamera = settings.bKellVehicleCamera = settings.bKellMarkers = true;
    settings.bEnableHotKey = true;
    plugin.settings = settings;
    const PatchTables tables = makePatchTables(settings);
    const injector::ByteSource source = sim::peByteSource(image);

    out << "Kell Hud's start-up check of " << path << " (every option on), in the order the plug-in checks:\n";
    Listing listing{out, {}};
    checkHostPlaces(tables, source, &listPlace, &listing);

    out << "Host facts no bytes can confirm (used as the table gives them):\n";
    unsigned notCheckable = 0;
    for (const host::Fact& fact : host::facts) {
        if (listing.seen.count(fact.name))
            continue;
        char line[160];
        std::snprintf(line, sizeof line, "  0x%06X  %-36s %s %s\n", fact.address, fact.name, host::originName(fact.origin),
                      host::kindName(fact.kind));
        out << line;
        ++notCheckable;
    }
    out << "Sites holding their shape: " << listing.holding << "; routines matching: " << listing.matching
        << "; unconfirmed: " << listing.unconfirmed << "; mismatching: " << listing.mismatching
        << "; patched unchecked: " << listing.unchecked << "; facts not checkable: " << notCheckable << "\n";

    const HostVerdict verdict = checkHostBuild(tables, source);
    if (!verdict.refused()) {
        out << "The plug-in would start with this executable.\n";
        return 0;
    }
    char text[512];
    describeRefusal(verdict, "", text, sizeof text);
    out << "The plug-in would not start with this executable; it would show:\n" << text << "\n";
    return 1;
}

} // namespace check
