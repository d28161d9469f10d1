#include "scratch_file.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "core/plugin_path.h"
#include "platform/local_path.h"
#include "platform/win32.h"
#include "text/local_path_form.h"

namespace {

std::string scratchPath()
{
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/kellhud-fuzz-" + std::to_string(getpid());
}

const std::string path = scratchPath();

// Each harness process leaves no file behind.
struct Cleanup {
    ~Cleanup() { std::remove(path.c_str()); }
} cleanup;

} // namespace

const std::string& writeScratch(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

// What the simulated host's seam does for the plug-in's file names: a Windows path read
// as this machine's.
std::string localPath(const char* windowsPath)
{
    return localPathForm(windowsPath);
}

// The input is always a plain file.
extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR) { return FILE_ATTRIBUTE_NORMAL; }

// Every data file the plug-in asks for is the input.
const char* pluginPath(const char*)
{
    return path.c_str();
}
