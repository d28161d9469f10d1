#include "sim_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<nlohmann::json> readLines(const std::string& path)
{
    std::vector<nlohmann::json> lines;
    std::istringstream in(readAll(path));
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(nlohmann::json::parse(line));
    return lines;
}

} // namespace

std::vector<nlohmann::json> SimRun::calls(const std::string& op) const
{
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& entry : trace)
        if (entry["op"] == op)
            found.push_back(entry);
    return found;
}

size_t SimRun::pluginCalls() const
{
    size_t count = 0;
    for (const nlohmann::json& entry : trace)
        count += entry["by"] == "plugin";
    return count;
}

bool SimRun::patched(uint32_t address, uint32_t size) const
{
    for (const nlohmann::json& p : patches) {
        uint32_t begin = static_cast<uint32_t>(std::stoul(p["addr"].get<std::string>(), nullptr, 16));
        uint32_t end = begin + static_cast<uint32_t>(p["after"].get<std::string>().size() / 2);
        if (begin < address + size && address < end)
            return true;
    }
    return false;
}

namespace {

SimRun runCommand(const TempDir& pluginDir, const std::vector<std::string>& args, bool withTrace)
{
    std::string base = pluginDir.path() + "/sim-run";
    std::string command = std::string(KELLHUD_SIM_BINARY) + " --plugin " + quoted(KELLHUD_PLUGIN_BINARY) +
                          " --plugin-dir " + quoted(pluginDir.path()) + " --patches " + quoted(base + ".patches.jsonl");
    if (withTrace)
        command += " --trace " + quoted(base + ".trace.jsonl");
    for (const std::string& arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted(base + ".out") + " 2>" + quoted(base + ".err");

    SimRun run;
    int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // Most tests give the plug-in a few settings and no textures on purpose: a run that went
    // through counts as one, and whether its data were clean is kept apart.
    run.dataFindings = run.exitCode == 3;
    if (run.dataFindings)
        run.exitCode = 0;
    run.out = readAll(base + ".out");
    run.err = readAll(base + ".err");
    run.trace = readLines(base + ".trace.jsonl");
    run.patches = readLines(base + ".patches.jsonl");
    return run;
}

} // namespace

SimRun runSim(const TempDir& pluginDir, const std::vector<std::string>& args) { return runCommand(pluginDir, args, true); }

SimRun runSimWithoutTrace(const TempDir& pluginDir, const std::vector<std::string>& args)
{
    return runCommand(pluginDir, args, false);
}

void writeSettings(const TempDir& dir, const std::string& lines) { dir.write("kell-hud/settings.ini", lines); }
