#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "studio/data_edit.h"

// What the studio's page works on: one modder's folder, read and written only through the
// three data files, and a scratch copy of it where the page's unsaved changes are rendered.

namespace studio {

struct Session {
    std::string dir;        // the modder's folder, which holds kell-hud/
    std::string shipped;    // the shipped folder beside the program (holds kell-hud/), for "revert"
    std::string scratch;    // a copy of dir/kell-hud with the page's changes, which the renders read
    std::string simProgram; // kellhud-sim beside the program
    std::mutex work;        // one render or save at a time: they share the scratch copy
};

// The page's unsaved changes, by file: only the keys that differ from the files on disk.
struct Changes {
    std::vector<ValueChange> settings, layout, colours;
};

// The three files the studio reads and writes, by fixed name below the folder.
enum DataFileId { SettingsFile, LayoutFile, ColoursFile, DATA_FILE_COUNT };

struct EditedFile {
    std::string name; // "kell-hud/data/hud.dat": relative, with '/'
    FileKind kind;
    std::string before, after; // the bytes on disk, and with the changes
};
using EditedFiles = std::array<EditedFile, DATA_FILE_COUNT>;

// "base", "mora" or "sabel" as the iVesk number; -1 for anything else.
int32_t styleNamed(const std::string& name);
std::string dataFileName(DataFileId id, int32_t style);

// The request's "changes" object; false with `error` naming what is wrong (an unknown key,
// a value of the wrong kind or count).
bool readChanges(const nlohmann::json& changes, Changes& out, std::string& error);

// The three files of the folder with the changes applied; false with `error` when a
// change cannot be written safely.
bool editFiles(const std::string& dir, int32_t style, const Changes& changes, EditedFiles& out, std::string& error);

// Everything the page shows of the folder (GET /api/state).
nlohmann::json stateOf(const Session& session, int32_t style);

// The picture, the element boxes and the checker's findings of the folder with the
// changes (POST /api/render). `status` is the HTTP status to answer with.
nlohmann::json render(Session& session, const nlohmann::json& request, int& status);

// Writes the changes into the folder (POST /api/save), refusing when a file changed on disk
// since the page read it or when the checker finds an error in a file it would write.
nlohmann::json save(Session& session, const nlohmann::json& request, int& status);

// A short fingerprint of a file's bytes, to notice changes made on disk meanwhile.
std::string contentVersion(const std::string& bytes);

// Keeps `scratch`/kell-hud equal to `dir`/kell-hud, copying only what changed.
void mirrorFolder(const std::string& dir, const std::string& scratch);

} // namespace studio
