#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The readers open files by name, so each input is written to one scratch file (in
// /dev/shm when there is one: no disk traffic per execution) before they read it.

// Writes the bytes to the scratch file and returns its path.
const std::string& writeScratch(const uint8_t* data, size_t size);
