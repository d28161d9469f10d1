// What both Windows tool programs set up before main. Their text is UTF-8 (the manifest,
// cmake/windows-tools.manifest, makes it the programs' code page, so command lines and
// file names arrive in it): the console shows it as UTF-8 too. And the Windows command
// prompt passes "png\*.png" as it stands, so the runtime expands it as a Unix shell would.

#include <windows.h>

extern "C" {
int _dowildcard = -1;
}

namespace {

const bool utf8Console = SetConsoleOutputCP(CP_UTF8) && SetConsoleCP(CP_UTF8);

} // namespace
