#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The host's address space as the simulated host lays it out: the image mapped at the
// host's own addresses, code pages read+execute only, data pages read+write, a jmp stub at
// the address of every host function and the host's instruction at every patched site.

namespace sim {

constexpr uint32_t imageBegin = 0x400000;
constexpr uint32_t codeEnd = 0x858000; // code below, data from here on
constexpr uint32_t imageEnd = 0xD00000;
constexpr uint32_t pageSize = 0x1000;

// The two ends of building the image (host_build.h): maps it, from scratch if it is already
// there, with every page read+write; then records the code as written, so that later
// changes can be listed as patches, and makes the code pages read+execute.
void mapHostImage();
void sealHostCode();
// Stops the simulated host: its image cannot be built as asked.
[[noreturn]] void hostImageFault(const std::string& what);
// Unmaps the image.
void releaseHostImage();
bool hostImageBuilt();

bool inHostImage(uint32_t address);

// The Windows view of the image's pages, which VirtualProtect consults and changes.
// Returns 0 for an address outside the committed image.
uint32_t pageProtection(uint32_t address);
bool changeProtection(uint32_t begin, uint32_t end, uint32_t protect);
// Takes a span out of the committed image (a page the host does not have), so that a
// protection change there fails as it does on Windows.
void decommit(uint32_t begin, uint32_t end);

// The simulated host's own writes into host memory (data, or code while it builds a site).
void hostWrite(uint32_t address, const void* bytes, uint32_t size);
template <class T>
void hostWrite(uint32_t address, T value)
{
    hostWrite(address, &value, sizeof value);
}

// Runs of code bytes that differ from what the simulated host wrote.
struct PatchRun {
    uint32_t address;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
};
std::vector<PatchRun> listPatches();

} // namespace sim
