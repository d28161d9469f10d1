// The data checker (`kellhud-sim --check`) over one file's bytes, read as each of the
// three kinds of data file.

#include <string>
#include <vector>

#include "check/data_check.h"
#include "property.h"
#include "scratch_file.h"

namespace {

uint32_t lineCount(const uint8_t* data, size_t size)
{
    uint32_t lines = 0;
    for (size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    return lines + (size > 0 && data[size - 1] != '\n');
}

std::vector<std::string> checkAs(const uint8_t* data, size_t size, check::DataFile kind)
{
    const std::string& path = writeScratch(data, size);
    std::vector<std::string> lines;
    for (const check::Finding& finding : check::checkDataFile(path, kind)) {
        require(finding.file == path, "a finding names the file it is about");
        require(finding.line <= lineCount(data, size), "a finding names a line the file has");
        require(!finding.message.empty(), "a finding says what is wrong");
        lines.push_back(check::formatFinding(finding));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string ended(reinterpret_cast<const char*>(data), size);
    ended += '\n';
    for (check::DataFile kind : {check::DataFile::Settings, check::DataFile::Layout, check::DataFile::Colours}) {
        const std::vector<std::string> findings = checkAs(data, size, kind);
        // Each finding is one line of output: nothing the file holds may break it up.
        for (const std::string& line : findings)
            require(line.find_first_of("\r\n") == std::string::npos, "a finding prints as one line", line);
        // A last line without its line feed is checked as it would be with one, but for a
        // file one line feed turns into another kind: one whose only line ends are CRs, and
        // one with NUL bytes (a NUL and a line feed side by side read as UTF-16).
        const std::string_view text(reinterpret_cast<const char*>(data), size);
        const bool onlyCrs = text.find('\r') != text.npos && text.find('\n') == text.npos;
        const bool binary = text.find('\0') != text.npos;
        if ((size == 0 || data[size - 1] != '\n') && !onlyCrs && !binary)
            require(checkAs(reinterpret_cast<const uint8_t*>(ended.data()), ended.size(), kind) == findings,
                    "a file checks the same with or without a line feed after its last line");
    }
    return 0;
}
