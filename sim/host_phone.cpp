#include "host_phone.h"

#include <bit>

#include "host/host.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "world_state.h"

namespace sim {

namespace {

// What the host's compiler leaves above a narrow argument in its stack word.
constexpr uint32_t junk = 0xCCCCCCCCu;

uint32_t narrowWord(uint32_t value, uint32_t mask) { return (junk & ~mask) | (value & mask); }

uint32_t colourWord(const Colour& c) { return std::bit_cast<uint32_t>(c); }

uint32_t barRecord(size_t i) { return records::hostBars + static_cast<uint32_t>(i) * records::hostBarSize; }

} // namespace

void hostBarWords(const HostBarState& bar, uint32_t words[10])
{
    words[0] = std::bit_cast<uint32_t>(bar.x);
    words[1] = std::bit_cast<uint32_t>(bar.y);
    words[2] = narrowWord(bar.width, 0xFFFF);
    words[3] = narrowWord(bar.height, 0xFF);
    words[4] = std::bit_cast<uint32_t>(bar.percent);
    words[5] = narrowWord(static_cast<uint8_t>(bar.segment), 0xFF);
    words[6] = narrowWord(bar.showText, 0xFF);
    words[7] = narrowWord(bar.frame, 0xFF);
    words[8] = colourWord(bar.colour1);
    words[9] = colourWord(bar.colour2);
}

// mov eax, [esp+4] (the bar's record); push its ten words, the last first; call the
// routine; drop the words.
void writeHostBarCode(ImageWriter& image)
{
    X86 code(hostBarCall);
    code.raw({0x8B, 0x44, 0x24, 0x04});
    for (uint32_t i = records::hostBarWords; i-- > 0;)
        code.raw({0xFF, 0x70, static_cast<uint8_t>(4 * i)}); // push dword [eax + 4i]
    code.call(host::progress_bar.address).addEsp(static_cast<uint8_t>(records::hostBarSize)).ret();
    image.write(hostBarCall, code, "host progress bars");
}

void writePhoneWorld(const WorldState& world)
{
    const PhoneWorldState& phone = world.phone;
    hostWrite<uint8_t>(host::clock_hours.address, phone.clock.hours);
    hostWrite<uint8_t>(host::clock_minutes.address, phone.clock.minutes);
    hostWrite<uint8_t>(host::clock_day_of_week.address, phone.clock.day);
    static_assert(maxHostBars <= records::hostBarSlots);
    for (size_t i = 0; i < phone.hostBars.size(); ++i) {
        uint32_t words[records::hostBarWords];
        hostBarWords(phone.hostBars[i], words);
        hostWrite(barRecord(i), words, sizeof words);
    }
}

void reachHostBars()
{
    using BarCall = void(KH_CDECL*)(uint32_t record);
    auto call = reinterpret_cast<BarCall>(uintptr_t{hostBarCall});
    for (size_t i = 0; i < currentWorld().phone.hostBars.size(); ++i)
        call(barRecord(i));
}

} // namespace sim
