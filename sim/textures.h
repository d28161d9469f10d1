#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The simulated host's texture dictionaries: named slots that dictionary files load into,
// a current dictionary (with a stack to save it) that sprite look-ups search, and every
// texture ever loaded, by the id a bound sprite handle holds. Names of slots and textures
// are compared without regard to case, as the host compares them.

namespace sim {

struct LoadedTexture {
    std::string name;
    uint16_t width = 0;
    uint16_t height = 0;
    // B,G,R,A, rows top to bottom: level 0 and the mip levels the file holds, each half
    // the size of the one before (txd::levelWidth, txd::levelHeight).
    std::vector<std::vector<uint8_t>> levels;
};

// The name of a loaded texture; nullptr for 0 (no texture) or an id not known.
const char* textureName(uint32_t id);
const LoadedTexture* loadedTexture(uint32_t id);

// Forgets every slot, texture and saved current dictionary (a new host).
void resetTextureDictionaries();

// The slot of that name, made in the lowest free index when there is none.
int32_t addTextureSlot(const char* name);
// -1 when no slot has the name.
int32_t findTextureSlot(const char* name);
bool textureSlotInUse(int32_t slot);
// Loads a dictionary file (a path of this machine) into a slot, replacing what it held.
// On failure the slot holds nothing and `error` says why.
bool loadTextureSlot(int32_t slot, const std::string& file, std::string& error);
void addTextureSlotRef(int32_t slot);
// Frees the slot and its name; false when the slot is not in use.
bool removeTextureSlot(int32_t slot);
// Names of the slots in use, in index order.
std::vector<std::string> textureSlotNames();

void pushCurrentDictionary();
// False when nothing was pushed.
bool popCurrentDictionary();
void setCurrentDictionary(int32_t slot);
int32_t currentDictionary();
// The id of the texture of that name in the current dictionary; 0 when it holds none.
uint32_t findCurrentTexture(const char* name);

// Files the host opened with host::file_open, by handle (1, 2, ...; 0 is a failed open).
// Only regular files open; for anything else that is there (a folder, a pipe) `error` says
// why, for a missing file it is empty (the host's ordinary failure).
int32_t openHostFile(const std::string& file, std::string& error);
// The host reads its small data files (fonts.dat) whole; a larger one is refused rather
// than read into memory.
constexpr uint64_t maxHostFileSize = 1 << 20;
// The whole content of an open file; false, with `error` naming the file and what is
// wrong, for a handle not open or a file that can no longer be read or is too large.
bool readHostFile(int32_t handle, std::string& content, std::string& error);
void closeHostFile(int32_t handle);

// A path as the host names files (backslashes; relative to the host's folder unless
// absolute), as a path of this machine.
std::string hostFilePath(const char* path);

} // namespace sim
