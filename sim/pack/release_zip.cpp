#include "pack/release_zip.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <system_error>
#include <vector>

#include "check/data_check.h"
#include "mod_folder.h"
#include "pack/zip_file.h"
#include "player_readme.h"
#include "plugin_loader.h"
#include "text/open_for_writing.h"
#include "text/utf8_path.h"
#include "text/write_cause.h"

namespace pack {

namespace fs = std::filesystem;

namespace {

const char prefix[] = "kellhud-sim --pack: ";

const std::string version = std::to_string(KELLHUD_VERSION_MAJOR) + "." + std::to_string(KELLHUD_VERSION_MINOR) + "." +
                            std::to_string(KELLHUD_VERSION_PATCH);

bool readBytes(const fs::path& file, std::vector<uint8_t>& bytes)
{
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// What a game's plug-in loader takes: a PE file for 32-bit x86 marked as a DLL.
bool isWindowsDll32(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z')
        return false;
    const uint32_t pe = le32(bytes, 0x3C);
    if (pe > bytes.size() - 24 || le32(bytes, pe) != 0x00004550)
        return false;
    const uint32_t machine = bytes[pe + 4] | bytes[pe + 5] << 8;
    const uint32_t characteristics = bytes[pe + 22] | bytes[pe + 23] << 8;
    return machine == 0x14C && (characteristics & 0x2000) != 0;
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The players' readme with Windows line ends, which every Windows editor shows as lines.
std::vector<uint8_t> readmeBytes()
{
    std::vector<uint8_t> bytes;
    char before = 0;
    for (const char* c = playerReadme; *c; before = *c++) {
        if (*c == '\n' && before != '\r')
            bytes.push_back('\r');
        bytes.push_back(static_cast<uint8_t>(*c));
    }
    return bytes;
}

struct Member {
    fs::path file; // empty: the readme
    std::string name;
};

// Writes the members to `target` through a file beside it, renamed at the end: any failure
// leaves what was there before and no part-written file.
bool writeZip(const fs::path& target, const std::vector<Member>& members, std::string& error)
{
    fs::path partial = target;
    partial += ".partial";
    const std::string shown = utf8Text(target);
    errno = 0;
    std::FILE* file = openForWriting(partial);
    if (!file) {
        error = "cannot write " + shown + ": " + writeCause(errno ? errno : EIO) + "; nothing was packed";
        return false;
    }
    ZipFile zip;
    zip.out = file;
    bool ok = true;
    std::string reason;
    for (const Member& member : members) {
        std::vector<uint8_t> bytes;
        if (member.file.empty())
            bytes = readmeBytes();
        else if (!readBytes(member.file, bytes)) {
            reason = "cannot read " + utf8Text(member.file);
            ok = false;
            break;
        }
        if (!addZipMember(zip, member.name, bytes, reason)) {
            ok = false;
            break;
        }
    }
    ok = ok && finishZip(zip, reason);
    errno = 0;
    if (std::fclose(file) != 0 && ok) {
        zip.error = errno ? errno : EIO;
        ok = false;
    }
    std::error_code ec;
    if (ok) {
        fs::rename(partial, target, ec);
        if (ec)
            reason = "cannot replace it: " + ec.message() + " (is it open in another program?)";
    }
    if (!ok || ec) {
        fs::remove(partial, ec);
        if (reason.empty())
            reason = writeCause(zip.error);
        error = "cannot write " + shown + ": " + reason + "; nothing was packed" +
                (fs::exists(target, ec) ? ", the archive there is as it was" : "");
        return false;
    }
    return true;
}

} // namespace

int packRelease(const PackOptions& options, std::ostream& out, std::ostream& err)
{
    const fs::path dir = utf8Path(options.dir);
    const fs::path kellHud = dir / "kell-hud";
    std::error_code ec;
    auto refuse = [&](const std::string& why) {
        err << prefix << why << "\n";
        return 1;
    };
    if (!fs::is_directory(kellHud, ec))
        return refuse(utf8Text(kellHud) + " is missing: --pack takes the folder that holds kell-hud/ (kellhud-sim "
                                          "--new-mod DIR makes one)");

    // What players get is what the check passed, in every style, since they pick their own.
    int errors = 0;
    for (const check::Finding& finding : check::checkPluginFolder(options.dir, std::nullopt, true)) {
        err << check::formatFinding(finding) << "\n";
        errors += finding.severity == check::Severity::Error ? 1 : static_cast<int>(finding.hiddenErrors);
    }
    if (errors)
        return refuse(utf8Text(kellHud) + " has errors (above); nothing was packed");

    const fs::path dll = options.pluginDll.empty() ? utf8Path(sim::programFolder()) / "KellHud.asi" : utf8Path(options.pluginDll);
    std::vector<uint8_t> dllBytes;
    if (!fs::is_regular_file(dll, ec) || !readBytes(dll, dllBytes))
        return refuse(options.pluginDll.empty()
                          ? "no KellHud.asi beside this program (" + utf8Text(dll) + "): name the plug-in with --plugin-dll FILE"
                          : "--plugin-dll " + utf8Text(dll) + ": no such file, or it cannot be read");
    if (!isWindowsDll32(dllBytes))
        return refuse(utf8Text(dll) + " is not a 32-bit Windows DLL: --plugin-dll takes the plug-in, KellHud.asi");

    // Our licences as this program's release has them; a modder's other licences stay.
    std::map<std::string, Member> below;
    const fs::path licences = utf8Path(sim::shippedFolder()) / "licenses";
    for (fs::directory_iterator it(licences, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            below["kell-hud/licenses/" + utf8Text(it->path().filename())] = {it->path(), ""};
    if (ec || below.empty())
        return refuse("the licences that go with every release are not beside this program: " + utf8Text(licences) +
                      " is missing or empty");

    std::set<std::string> readByPlugin;
    for (std::string file : check::pluginFiles()) {
        std::replace(file.begin(), file.end(), '\\', '/');
        readByPlugin.insert(lower(file));
    }
    std::vector<std::string> extra;
    for (fs::recursive_directory_iterator it(kellHud, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::u8string relative = it->path().lexically_relative(kellHud).generic_u8string();
        const std::string name = "kell-hud/" + std::string(relative.begin(), relative.end());
        if (below.count(name))
            continue;
        // The game reads names in any case.
        if (options.includeExtra || readByPlugin.count(lower(name)) || name.rfind("kell-hud/licenses/", 0) == 0)
            below[name] = {it->path(), ""};
        else
            extra.push_back(name);
    }
    if (ec)
        return refuse("cannot read the folder " + utf8Text(kellHud) + ": " + ec.message() + "; nothing was packed");

    std::vector<Member> members{{dll, "KellHud.asi"}};
    for (auto& [name, member] : below)
        members.push_back({member.file, name});
    members.push_back({fs::path(), "KellHud-README.txt"});

    const fs::path outDir = options.outDir.empty() ? dir : utf8Path(options.outDir);
    fs::create_directories(outDir, ec);
    if (ec)
        return refuse("cannot make the folder " + utf8Text(outDir) + ": " + ec.message() + "; nothing was packed");
    std::string error;
    const fs::path zip = fs::absolute(outDir / ("KellHud-" + version + ".zip"), ec).lexically_normal();
    if (!writeZip(zip, members, error))
        return refuse(error);
    if (!extra.empty()) {
        err << prefix << "left out of the zip, as the plug-in never reads them (--include-extra ships them):\n";
        for (const std::string& name : extra)
            err << "  " << name << "\n";
    }
    out << utf8Text(zip) << "\n";
    return 0;
}

} // namespace pack
