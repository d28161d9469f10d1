#include "host_help.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "trace.h"

namespace sim {

namespace {

using Routine = void(KH_CDECL*)();

void enter(uint32_t address) { reinterpret_cast<Routine>(uintptr_t{address})(); }

// push text; push y; push x; call the print; the caller removes the three words.
void writePrintCall(ImageWriter& image, uint32_t site, uint32_t text, float x, float y, const char* what)
{
    X86 code(site - 15);
    code.pushImm(text).pushImm(std::bit_cast<uint32_t>(y)).pushImm(std::bit_cast<uint32_t>(x));
    code.site(site).call(host::text_print.address).addEsp(12).ret();
    image.write(site - 15, code, what);
}

// push colour; push the rectangle's pointer (null when the host has none); call the box
// drawing; the caller removes the two words.
void writeBoxCall(ImageWriter& image, uint32_t site, const char* what)
{
    X86 code(site - 11);
    code.pushImm(records::textBoxColour).pushMem(records::textBoxRectPointer);
    code.site(site).call(host::fill_rect.address).addEsp(8).ret();
    image.write(site - 11, code, what);
}

// The host's data right behind each help string and the statistic key holds bytes of its
// own; the simulated host fills each run with a value of its own and reports whether they
// are still there after the help box ran.
struct Guard {
    uint32_t address, end;
    uint8_t value;
};
constexpr Guard guards[] = {
    {host::help_text.address + host::help_text_size, host::help_last_text.address, 0xA1},
    {host::help_last_text.address + host::help_text_size, host::help_shown_text.address, 0xA2},
    {host::help_shown_text.address + host::help_text_size, host::stat_key_text.address, 0xA3},
    {host::stat_key_text.address + host::stat_key_text_size, host::help_state.address, 0xA4},
};
static_assert(host::help_text.address + host::help_text_size < host::help_last_text.address &&
              host::help_last_text.address + host::help_text_size < host::help_shown_text.address &&
              host::help_shown_text.address + host::help_text_size < host::stat_key_text.address &&
              host::stat_key_text.address + host::stat_key_text_size < host::help_state.address);

void writeGuards()
{
    for (const Guard& g : guards)
        for (uint32_t a = g.address; a < g.end; ++a)
            hostWrite<uint8_t>(a, g.value);
}

bool guardsIntact()
{
    for (const Guard& g : guards)
        for (uint32_t a = g.address; a < g.end; ++a)
            if (*reinterpret_cast<const uint8_t*>(uintptr_t{a}) != g.value)
                return false;
    return true;
}

// A text into a host buffer of `size` bytes: its first `size` bytes, terminated only when
// it is shorter, as the host keeps a text that fills its buffer.
void writeText(uint32_t address, uint32_t size, const std::string& text, bool terminated)
{
    char buffer[0x400] = {};
    size_t keep = std::min<size_t>(text.size(), terminated ? size - 1 : size);
    std::memcpy(buffer, text.data(), keep);
    hostWrite(address, buffer, size);
}

std::optional<uint32_t> writtenSerial;

void writeHelpBox(const HelpBoxState& h)
{
    writeText(host::help_text.address, host::help_text_size, h.text, false);
    hostWrite<uint8_t>(host::help_permanent.address, h.permanent);
    hostWrite<uint8_t>(host::help_quick.address, h.quick);
    hostWrite<uint8_t>(host::help_hide_flag.address, h.hide);
    hostWrite<int32_t>(host::help_stat_id.address, h.statId);
    hostWrite<uint8_t>(host::help_block_a.address, h.blocks[0]);
    hostWrite<uint8_t>(host::help_block_b.address, h.blocks[1]);
    hostWrite<uint8_t>(host::help_block_c.address, h.blocks[2]);
    hostWrite<float>(host::help_box_width.address, h.boxWidth);
    hostWrite<float>(host::help_box_offset.address, h.boxOffset);
    if (h.serial == 0) {
        // No help box yet: the host's texts and state words start empty.
        writeText(host::help_last_text.address, host::help_text_size, "", true);
        writeText(host::help_shown_text.address, host::help_text_size, "", true);
        writeText(host::stat_key_text.address, host::stat_key_text_size, "", true);
    }
    const std::pair<const std::optional<int32_t>*, uint32_t> words[] = {
        {&h.state, host::help_state.address}, {&h.elapsed, host::help_elapsed.address},
        {&h.fade, host::help_fade.address}, {&h.lines, host::help_lines.address}};
    for (const auto& [value, address] : words)
        if (value->has_value() || h.serial == 0)
            hostWrite<int32_t>(address, value->value_or(0));
    writeGuards();
}

std::string boundedText(uint32_t address, uint32_t size)
{
    const char* p = reinterpret_cast<const char*>(uintptr_t{address});
    return std::string(p, strnlen(p, size));
}

// What the host's help box left behind, traced by the host's code after its call.
void reportHelpBox()
{
    bool intact = guardsIntact();
    if (!intact)
        std::fprintf(stderr, "kellhud-sim: the bytes behind the host's help strings were overwritten\n");
    std::string shown = boundedText(host::help_shown_text.address, host::help_text_size);
    std::string last = boundedText(host::help_last_text.address, host::help_text_size);
    trace::record("help_box_state", reinterpret_cast<void*>(uintptr_t{host::site_help_box + 5}),
                  trace::args(host::help_state.get(), host::help_elapsed.get(), host::help_fade.get(),
                              host::help_lines.get(), trace::text(shown.c_str()), trace::text(last.c_str()),
                              intact));
}

} // namespace

void writeHelpSites(ImageWriter& image)
{
    writePrintCall(image, host::site_subtitle_print, records::subtitleText, subtitleX, subtitleY,
                   "site_subtitle_print");
    writePrintCall(image, host::site_mission_text, host::mission_text.address, missionTextX, missionTextY,
                   "site_mission_text");
    X86 helpBox(host::site_help_box);
    helpBox.call(host::help_box_draw.address).ret();
    image.write(host::site_help_box, helpBox, "site_help_box");
    writeBoxCall(image, host::site_text_box_fill, "site_text_box_fill");
    writeBoxCall(image, host::site_text_print_box_fill, "site_text_print_box_fill");
}

void writeHelpWorld(const WorldState& world)
{
    const HelpTextsState& h = world.helpTexts;
    const uint32_t serial = h.help ? h.help->serial : 0;
    if (writtenSerial != serial) {
        writeHelpBox(h.help.value_or(HelpBoxState{}));
        writtenSerial = serial;
    }
    writeText(host::mission_text.address, host::mission_text_size, h.missionText.value_or(""), true);
    writeText(records::subtitleText, records::subtitleTextSize, h.subtitle.value_or(""), true);
}

void reachHelpTexts(const WorldState& world)
{
    const HelpTextsState& h = world.helpTexts;
    if (h.subtitle)
        enter(subtitleEntry);
    if (h.missionText)
        enter(missionTextEntry);
    if (h.help) {
        enter(host::site_help_box);
        reportHelpBox();
    }
    for (const TextBoxState& box : h.textBoxes) {
        hostWrite<Rect>(records::textBoxRect, box.rect);
        hostWrite<uint32_t>(records::textBoxRectPointer, box.noRect ? 0 : records::textBoxRect);
        hostWrite<Colour>(records::textBoxColour, box.colour);
        enter(box.site == 'a' ? textBoxEntryA : textBoxEntryB);
    }
}

} // namespace sim
