#include "studio/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace studio {

namespace {

int spawnAndWait(const std::string& program, const std::vector<std::string>& args, const char* logFile,
                 std::string& error)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        error = "cannot start " + program + ": " + std::strerror(failed);
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) {
            error = "lost " + program + ": " + std::strerror(errno);
            return -1;
        }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    error = program + " stopped by signal " + std::to_string(WTERMSIG(status));
    return 128 + WTERMSIG(status);
}

} // namespace

int runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& logFile,
               std::string& error)
{
    return spawnAndWait(program, args, logFile.c_str(), error);
}

bool openBrowser(const std::string& url)
{
    std::string error;
    return spawnAndWait("xdg-open", {url}, "/dev/null", error) == 0;
}

} // namespace studio
