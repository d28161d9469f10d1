#include "host_options.h"

#include <cstring>
#include <cstdio>
#include <functional>
#include <iterator>

#include "host/host.h"
#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "marker_shapes.h"
#include "trace.h"

namespace sim {

namespace {

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

using Entry = void(KH_CDECL*)();
void enter(uint32_t code) { reinterpret_cast<Entry>(uintptr_t{code})(); }

// ---- The check around each call ------------------------------------------------------

// The host code after a call hands over the site, the stack pointer it kept before pushing
// and the one it has now that the arguments are gone.
KH_CDECL void siteReturned(uint32_t site, uint32_t kept, uint32_t now)
{
    const bool balanced = kept == now;
    if (!balanced)
        std::fprintf(stderr, "kellhud-sim: the stack at 0x%X was %d bytes off after the call\n", site,
                     static_cast<int>(now - kept));
    trace::record("site_return", SIM_CALLER(), trace::args(site, balanced));
}

// mov [optionSiteEsp], esp
X86& keepEsp(X86& code) { return code.raw({0x89, 0x25}).imm32(records::optionSiteEsp); }

// Reports the stack against the kept pointer, then puts the kept pointer back so that the
// host carries on (and returns) whatever the callee removed.
X86& checkEsp(X86& code, uint32_t site)
{
    code.raw({0x54}).pushMem(records::optionSiteEsp).pushImm(site);
    code.call(address(reinterpret_cast<const void*>(&siteReturned))).addEsp(12);
    return code.raw({0x8B, 0x25}).imm32(records::optionSiteEsp); // mov esp, [optionSiteEsp]
}

// Host code around one call at a site: keep ESP, push the arguments, call, remove what a
// cdecl caller removes, check. Returns where the code begins.
uint32_t writeCheckedCall(ImageWriter& image, uint32_t site, uint32_t function,
                          const std::function<void(X86&)>& pushArguments, uint8_t callerRemoves,
                          const char* what, uint32_t thenCall = 0)
{
    X86 measure(0);
    keepEsp(measure);
    pushArguments(measure);
    const uint32_t entry = site - measure.here();

    X86 code(entry);
    keepEsp(code);
    pushArguments(code);
    code.site(site).call(function);
    if (callerRemoves)
        code.addEsp(callerRemoves);
    checkEsp(code, site);
    if (thenCall)
        code.call(thenCall);
    code.ret();
    image.write(entry, code, what);
    return entry;
}

// ---- Markers ---------------------------------------------------------------------------

uint32_t markerEntries[markerSiteCount];

// push the words last first; the point by its address
void pushMarkerArguments(X86& code, const MarkerShape& shape)
{
    for (int i = shape.words - 1; i >= 0; --i) {
        if (i == shape.pointWord)
            code.pushMem(records::markerPointRef);
        else
            code.pushMem(records::markerWords + 4 * static_cast<uint32_t>(i));
    }
}

void writeMarkerSites(ImageWriter& image)
{
    const char* names[] = {"site_marker_host_colour", "site_marker_faint", "site_marker_low", "site_marker_high"};
    for (size_t i = 0; i < markerSiteCount; ++i) {
        const MarkerShape& shape = markerShape(static_cast<MarkerSite>(i));
        markerEntries[i] = writeCheckedCall(
            image, shape.site, shape.function, [&](X86& code) { pushMarkerArguments(code, shape); },
            static_cast<uint8_t>(4 * shape.words), names[i]);
    }
}

void reachMarker(const MarkerCallState& marker)
{
    const auto index = static_cast<size_t>(marker.site);
    const MarkerShape& shape = markerShape(marker.site);
    size_t given = 0;
    for (uint32_t i = 0; i < shape.words; ++i)
        if (i != shape.pointWord)
            hostWrite<uint32_t>(records::markerWords + 4 * i, given < marker.words.size() ? marker.words[given++] : 0);
    hostWrite<Vec3>(records::markerPoint, marker.point);
    hostWrite<uint32_t>(records::markerPointRef, marker.pointNull ? 0 : records::markerPoint);
    enter(markerEntries[index]);
}

// ---- Camera ----------------------------------------------------------------------------

uint32_t onFootEntry = 0, vehicleEntry = 0, fixedEntryA = 0, fixedEntryB = 0;

// After a fixed-point call the host goes on with the camera scalar that call left.
KH_CDECL void cameraScalarSeen()
{
    trace::record("camera_scalar", SIM_CALLER(), trace::args(trace::number(host::camera_scalar.get())));
}

// The four words last first, the point by its address, the camera in ECX.
void pushCameraArguments(X86& code, uint32_t words, uint32_t point)
{
    for (int i = 3; i >= 0; --i)
        code.pushMem(words + 4 * static_cast<uint32_t>(i));
    code.pushImm(point).movEcx(records::cameraObject);
}

void writeCameraSites(ImageWriter& image)
{
    vehicleEntry = writeCheckedCall(
        image, host::site_camera_vehicle, host::camera_point_b.address,
        [](X86& code) { pushCameraArguments(code, records::vehicleCameraWords, records::vehicleCameraPoint); }, 0,
        "site_camera_vehicle");
    onFootEntry = writeCheckedCall(
        image, host::site_camera_on_foot, host::camera_point_a.address,
        [](X86& code) { pushCameraArguments(code, records::onFootCameraWords, records::onFootCameraPoint); }, 0,
        "site_camera_on_foot");
    auto camera = [](X86& code) { code.movEcx(records::cameraObject); };
    const uint32_t scalarSeen = address(reinterpret_cast<const void*>(&cameraScalarSeen));
    fixedEntryA = writeCheckedCall(image, host::site_camera_fixed_a, host::camera_point_fixed.address, camera, 0,
                                   "site_camera_fixed_a", scalarSeen);
    fixedEntryB = writeCheckedCall(image, host::site_camera_fixed_b, host::camera_point_fixed.address, camera, 0,
                                   "site_camera_fixed_b", scalarSeen);
}

void writeCameraCall(uint32_t words, uint32_t point, const std::optional<CameraPointCallState>& call)
{
    const CameraPointCallState given = call.value_or(CameraPointCallState{});
    for (uint32_t i = 0; i < 4; ++i)
        hostWrite<uint32_t>(words + 4 * i, given.words[i]);
    hostWrite<Vec3>(point, given.point);
}

// ---- Text code -------------------------------------------------------------------------

// The operands of the host's text code: its unit (a float) and its line count (an integer).
struct TextOperand {
    uint32_t site;
    bool lines;
};

const TextOperand textOperands[] = {
    {host::site_font_unit_a, false},  {host::site_font_lines_a, true}, {host::site_font_unit_b, false},
    {host::site_font_unit_c, false},  {host::site_font_lines_b, true}, {host::site_font_unit_d, false},
    {host::site_font_unit_e, false},  {host::site_font_lines_c, true}, {host::site_font_unit_f, false},
    {host::site_font_unit_g, false},  {host::site_font_lines_d, true}, {host::site_font_unit_h, false},
    {host::site_font_lines_e, true},  {host::site_font_unit_i, false}, {host::site_font_lines_f, true},
    {host::site_font_unit_j, false},  {host::site_font_unit_k, false}, {host::site_font_unit_l, false},
};
constexpr uint32_t textResultCount = 14; // one per load, a multiply that follows at once joins it
uint32_t textEntry = 0;

KH_CDECL void textScaled()
{
    float r[textResultCount];
    std::memcpy(r, reinterpret_cast<const void*>(uintptr_t{records::textResults}), sizeof r);
    trace::record("text_scaling", SIM_CALLER(),
                  trace::args(trace::number(r[0]), trace::number(r[1]), trace::number(r[2]), trace::number(r[3]),
                              trace::number(r[4]), trace::number(r[5]), trace::number(r[6]), trace::number(r[7]),
                              trace::number(r[8]), trace::number(r[9]), trace::number(r[10]),
                              trace::number(r[11]), trace::number(r[12]), trace::number(r[13])));
}

KH_CDECL void textFlagsSeen()
{
    trace::record("text_flags", SIM_CALLER(),
                  trace::args(host::load<uint8_t>(host::text_flag_byte_a.address),
                              host::load<uint8_t>(host::text_flag_byte_b.address),
                              host::load<uint8_t>(host::text_flag_byte_c.address)));
}

// Each operand sits two bytes into its instruction: fld / fild loads, fmul / fimul when
// the next operand follows straight on, fstp keeps the product.
void emitTextScaling(X86& code)
{
    uint32_t stored = 0;
    for (size_t i = 0; i < std::size(textOperands);) {
        const TextOperand& load = textOperands[i++];
        if (load.site - 2 < code.here()) {
            std::fprintf(stderr, "kellhud-sim: the text code cannot reach its operand at 0x%X\n", load.site);
            std::abort();
        }
        code.nops(load.site - 2 - code.here());
        code.raw({static_cast<uint8_t>(load.lines ? 0xDB : 0xD9), 0x05}).site(load.site);
        code.imm32(load.lines ? records::textLines : records::textUnit);
        while (i < std::size(textOperands) && textOperands[i].site == code.here() + 2) {
            const TextOperand& times = textOperands[i++];
            code.raw({static_cast<uint8_t>(times.lines ? 0xDA : 0xD8), 0x0D}).site(times.site);
            code.imm32(times.lines ? records::textLines : records::textUnit);
        }
        code.raw({0xD9, 0x1D}).imm32(records::textResults + 4 * stored++); // fstp dword [result]
    }
    if (stored != textResultCount) {
        std::fprintf(stderr, "kellhud-sim: the text code stores %u values\n", stored);
        std::abort();
    }
}

// Then it sets its two text flags, each call checked like the option sites'.
void emitTextFlags(X86& code, uint32_t setter, uint32_t value)
{
    keepEsp(code).pushMem(value).call(setter).addEsp(4);
    checkEsp(code, setter);
    code.call(address(reinterpret_cast<const void*>(&textFlagsSeen)));
}

void writeTextCode(ImageWriter& image)
{
    textEntry = textOperands[0].site - 2;
    X86 code(textEntry);
    emitTextScaling(code);
    code.call(address(reinterpret_cast<const void*>(&textScaled)));
    emitTextFlags(code, host::text_set_flag_r.address, records::textFlagR);
    emitTextFlags(code, host::text_set_flag_s.address, records::textFlagS);
    code.ret();
    image.write(textEntry, code, "host text code");
    hostWrite<float>(records::textUnit, hostTextUnit);
    hostWrite<int32_t>(records::textLines, hostTextLines);
    hostWrite<uint8_t>(host::text_flag_byte_a.address, hostTextFlagBytes[0]);
    hostWrite<uint8_t>(host::text_flag_byte_b.address, hostTextFlagBytes[1]);
    hostWrite<uint8_t>(host::text_flag_byte_c.address, hostTextFlagBytes[2]);
}

} // namespace


void writeOptionSites(ImageWriter& image)
{
    writeMarkerSites(image);
    writeCameraSites(image);
    writeTextCode(image);
}

void writeOptionsWorld(const OptionsWorldState& options)
{
    writeCameraCall(records::onFootCameraWords, records::onFootCameraPoint, options.cameraCalls.onFoot);
    writeCameraCall(records::vehicleCameraWords, records::vehicleCameraPoint, options.cameraCalls.vehicle);
    if (options.textCode) {
        hostWrite<uint32_t>(records::textFlagR, options.textCode->flagR);
        hostWrite<uint32_t>(records::textFlagS, options.textCode->flagS);
    }
}

void reachOptionSites(const OptionsWorldState& options)
{
    const CameraCallsState& camera = options.cameraCalls;
    if (camera.vehicle)
        enter(vehicleEntry);
    if (camera.onFoot)
        enter(onFootEntry);
    if (camera.fixedA)
        enter(fixedEntryA);
    if (camera.fixedB)
        enter(fixedEntryB);
    for (const MarkerCallState& marker : options.markers)
        reachMarker(marker);
    if (options.textCode)
        enter(textEntry);
}

} // namespace sim
