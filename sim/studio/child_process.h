#pragma once

#include <string>
#include <vector>

// The studio renders each preview by running the simulated host, a program of its own:
// the host maps the game's address range into its process, which a long-lived server
// cannot do again and again, and a fault in one render must not take the page down.

namespace studio {

// Runs `program` with `args` and waits for it; its output and errors go to `logFile`.
// Returns its exit code, or -1 with `error` set when it could not be started.
int runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& logFile,
               std::string& error);

// Opens `url` in the default browser; false when none could be started.
bool openBrowser(const std::string& url);

} // namespace studio
