#pragma once

#include <cstdint>

// The style variants chosen by iVesk: 1 mora, 2 sabel, any other value the base style. A
// variant's files lie in a folder of its name below the data and texture folders; the base
// style's lie in those folders themselves.

// The variant's folder name, or "" for the base style.
const char* styleFolder(int32_t iVesk);

// folder\name or folder\variant\name, relative to the plug-in's folder, in a buffer that the
// next call overwrites: use the result at once. Read at start-up and renderer start, so
// it is written in place rather than allocated.
const char* styleFile(const char* folder, int32_t iVesk, const char* name);
