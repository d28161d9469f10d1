#pragma once

#include <ostream>
#include <string>

namespace check {

// `--check-host FILE.exe`: runs the plug-in's start-up check over a game's executable, with
// every option on, and lists every host fact: the places checked and what each holds, then
// the facts no bytes can confirm. Exit status 0 when the plug-in would start, 1 when it
// would refuse, 2 when the file is no 32-bit Windows program.
int checkHostFile(const std::string& path, std::ostream& out, std::ostream& err);

} // namespace check
