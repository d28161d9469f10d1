// The PE reader behind kellhud-sim --check-host over any bytes: it maps the file or refuses
// it with a message; what it maps lies inside 32-bit addresses, holds no more of the file
// than the file has, and reads back whole at each section's ends.

#include <cstdint>
#include <string>
#include <vector>

#include "pe_file.h"
#include "property.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> file(data, data + size);
    sim::PeImage image;
    std::string error;
    if (!sim::readPeImage(file, image, error)) {
        require(!error.empty(), "a refused file comes with a message");
        return 0;
    }
    const injector::ByteSource source = sim::peByteSource(image);
    size_t kept = 0;
    for (const sim::PeSection& section : image.sections) {
        require(uint64_t{section.address} + section.size <= 0x100000000ull, "a section lies inside 32-bit addresses");
        require(section.bytes.size() <= section.size, "a section keeps no more than it maps");
        kept += section.bytes.size();
        uint8_t byte = 0xFF;
        if (section.size) {
            require(source(section.address, &byte, 1), "a section's first byte reads");
            require(source(section.address + section.size - 1, &byte, 1), "a section's last byte reads");
        }
    }
    require(kept <= size * (image.sections.size()), "sections keep parts of the file, not more");
    return 0;
}
