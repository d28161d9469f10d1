// Stand-in until the real one lands.
#include "studio/file_write.h"
#include <fstream>
namespace studio {
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) { error = "cannot write " + path; return false; }
    return true;
}
}
