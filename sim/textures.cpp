#include "textures.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "system.h"
#include "text/file_kind.h"
#include "text/utf8_path.h"
#include "txd/txd.h"

namespace sim {

namespace {

struct Slot {
    bool inUse = false;
    std::string name;
    int refs = 0;
    std::vector<uint32_t> textures; // ids, in the file's order
};

std::vector<Slot> slots;
std::vector<int32_t> savedCurrent;
int32_t current = -1;
// Id i + 1 is textures[i]; ids are never reused, so a sprite that still holds a texture
// whose dictionary is gone keeps naming it, as the host keeps a texture alive while a
// sprite refers to it.
std::vector<LoadedTexture> textures;

std::map<int32_t, std::string> openFiles; // handle -> path
int32_t nextFileHandle = 1;

Slot* slotAt(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(slots.size()) || !slots[index].inUse)
        return nullptr;
    return &slots[index];
}

} // namespace

const LoadedTexture* loadedTexture(uint32_t id)
{
    if (id == 0 || id > textures.size())
        return nullptr;
    return &textures[id - 1];
}

const char* textureName(uint32_t id)
{
    const LoadedTexture* t = loadedTexture(id);
    return t ? t->name.c_str() : nullptr;
}

void resetTextureDictionaries()
{
    slots.clear();
    savedCurrent.clear();
    current = -1;
    textures.clear();
    openFiles.clear();
    nextFileHandle = 1;
}

int32_t findTextureSlot(const char* name)
{
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i].inUse && txd::sameName(slots[i].name, name))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t addTextureSlot(const char* name)
{
    int32_t found = findTextureSlot(name);
    if (found >= 0)
        return found;
    size_t index = 0;
    while (index < slots.size() && slots[index].inUse)
        ++index;
    if (index == slots.size())
        slots.emplace_back();
    slots[index] = Slot{true, name, 0, {}};
    return static_cast<int32_t>(index);
}

bool textureSlotInUse(int32_t slot) { return slotAt(slot) != nullptr; }

bool loadTextureSlot(int32_t index, const std::string& file, std::string& error)
{
    Slot* slot = slotAt(index);
    if (!slot) {
        error = "slot " + std::to_string(index) + " does not exist";
        return false;
    }
    slot->textures.clear();
    // Called from the plug-in's code through the host's entry points: nothing may be
    // thrown past here.
    try {
        txd::Dictionary dictionary;
        if (!txd::readFile(file, dictionary, error))
            return false;
        for (txd::Texture& t : dictionary.textures) {
            textures.push_back({t.name, t.width, t.height, std::move(t.levels)});
            slot->textures.push_back(static_cast<uint32_t>(textures.size()));
        }
    } catch (const std::exception& e) {
        slot->textures.clear();
        error = "cannot load " + file + ": " + e.what();
        return false;
    }
    return true;
}

void addTextureSlotRef(int32_t index)
{
    if (Slot* slot = slotAt(index))
        ++slot->refs;
}

bool removeTextureSlot(int32_t index)
{
    Slot* slot = slotAt(index);
    if (!slot)
        return false;
    *slot = Slot{};
    return true;
}

std::vector<std::string> textureSlotNames()
{
    std::vector<std::string> names;
    for (const Slot& slot : slots)
        if (slot.inUse)
            names.push_back(slot.name);
    return names;
}

void pushCurrentDictionary() { savedCurrent.push_back(current); }

bool popCurrentDictionary()
{
    if (savedCurrent.empty())
        return false;
    current = savedCurrent.back();
    savedCurrent.pop_back();
    return true;
}

void setCurrentDictionary(int32_t slot) { current = slot; }

int32_t currentDictionary() { return current; }

uint32_t findCurrentTexture(const char* name)
{
    const Slot* slot = slotAt(current);
    if (!slot || !name)
        return 0;
    for (uint32_t id : slot->textures)
        if (txd::sameName(textures[id - 1].name, name))
            return id;
    return 0;
}

int32_t openHostFile(const std::string& file, std::string& error)
{
    const FileLook look = lookAt(file);
    if (look.kind == FileKind::Missing) {
        error.clear();
        return 0;
    }
    if (look.kind != FileKind::Regular) {
        error = file + (look.kind == FileKind::Directory ? " is a directory" : " is not a regular file") +
                ", not a file the host can read";
        return 0;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot open " + file;
        return 0;
    }
    openFiles[nextFileHandle] = file;
    return nextFileHandle++;
}

bool readHostFile(int32_t handle, std::string& content, std::string& error)
{
    auto it = openFiles.find(handle);
    if (it == openFiles.end()) {
        error = "file handle " + std::to_string(handle) + " is not open";
        return false;
    }
    return txd::readRegularFile(it->second, maxHostFileSize, "a file the host reads whole", content, error);
}

void closeHostFile(int32_t handle) { openFiles.erase(handle); }

std::string hostFilePath(const char* path)
{
    std::string local = path;
    for (char& c : local)
        if (c == '\\')
            c = '/';
    if (!local.empty() && local[0] == '/')
        return local;
    return utf8Text(utf8Path(system().hostFile).parent_path() / utf8Path(local));
}

} // namespace sim
