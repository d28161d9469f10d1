#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "injector/byte_source.h"

// A game's executable as its loader would lay it out: a 32-bit PE file's headers and
// sections at their virtual addresses, so that the start-up's check can read a file's code
// as it reads live memory. And the simulated host's own image, written as such a file.

namespace sim {

struct PeSection {
    std::string name;
    uint32_t address = 0;       // where it is mapped: image base + virtual address
    uint32_t size = 0;          // how much is mapped
    std::vector<uint8_t> bytes; // what the file holds of it (at most `size`); the rest reads as zero
};

struct PeImage {
    uint32_t imageBase = 0;
    std::vector<PeSection> sections; // the headers first, as the loader maps them too
};

// Reads a 32-bit x86 PE file. On failure `error` says what the file is or lacks, in words a
// player can act on.
bool readPeImage(const std::string& path, PeImage& image, std::string& error);
bool readPeImage(const std::vector<uint8_t>& file, PeImage& image, std::string& error);

// Reads from the mapped sections only: a byte outside every section fails the read.
injector::ByteSource peByteSource(const PeImage& image);

// The simulated host's image (buildHostImage must have run) as a PE file at the host's image
// base: its code as one section, its data as an uninitialised one.
bool writeHostImage(const std::string& path, std::string& error);

} // namespace sim
