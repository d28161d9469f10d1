// kellhud-studio: lays out the HUD in the browser, over the simulated host's own preview.

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

#include "plugin_loader.h"
#include "studio/child_process.h"
#include "studio/request_checks.h"
#include "studio/server.h"
#include "text/utf8_path.h"

namespace fs = std::filesystem;

namespace {

const char usage[] =
    "usage: kellhud-studio [--plugin-dir DIR] [--port N] [--no-browser]\n"
    "\n"
    "Lay out the HUD by dragging it over the preview, in your browser. The page shows the\n"
    "folder's data drawn as the plug-in draws it, lets you move, resize and anchor elements,\n"
    "change colours and settings, shows what the checker finds, and saves only the numbers\n"
    "you changed into DIR/kell-hud (settings.ini, data/hud.dat and the style's hudColor.dat).\n"
    "\n"
    "  --plugin-dir DIR  the folder that holds kell-hud/ (default: the current folder)\n"
    "  --port N          the port on 127.0.0.1, 1 to 65535 (default: any free one)\n"
    "  --no-browser      only print the page's address; do not open the browser\n"
    "\n"
    "The page answers only on 127.0.0.1 and only to the address printed (it holds a token).\n"
    "Stop the studio with Ctrl+C.\n";

std::function<void()> stopServer;
std::mutex stopping;

void stopNow()
{
    const std::lock_guard<std::mutex> lock(stopping);
    if (stopServer)
        stopServer();
}

#ifdef _WIN32
BOOL WINAPI onConsoleEvent(DWORD)
{
    stopNow();
    return TRUE;
}

// Ctrl+C or closing the console window stops the server (the system calls the handler on a
// thread of its own).
void stopOnInterrupt() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }
#else
// Ctrl+C or a kill stops the server: the signals are blocked in every thread and taken by
// one waiting thread, which may then stop the server (a signal handler may not).
void stopOnInterrupt()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([signals] {
        int signal = 0;
        sigwait(&signals, &signal);
        stopNow();
    }).detach();
}
#endif

#ifdef _WIN32
const char simName[] = "kellhud-sim.exe";
#else
const char simName[] = "kellhud-sim";
#endif

} // namespace

int main(int argc, char** argv)
{
    std::string dir = ".";
    long port = 0;
    bool browser = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return 0;
        } else if (arg == "--plugin-dir" && i + 1 < argc) {
            dir = argv[++i];
        } else if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (*end || port < 0 || port > 65535) {
                std::cerr << "kellhud-studio: --port " << argv[i] << ": give a number from 1 to 65535\n";
                return 2;
            }
        } else if (arg == "--no-browser") {
            browser = false;
        } else {
            std::cerr << "kellhud-studio: " << arg << (arg.starts_with("--") ? ": unknown option or its value is missing\n" : ": unexpected\n")
                      << usage;
            return 2;
        }
    }
    std::error_code ec;
    const fs::path folder = fs::absolute(utf8Path(dir), ec);
    if (ec || !fs::is_directory(folder / "kell-hud", ec)) {
        std::cerr << "kellhud-studio: " << dir << " holds no kell-hud/ folder. Give the folder of your layout with "
                  << "--plugin-dir, or make one with: kellhud-sim --new-mod DIR\n";
        return 1;
    }
    studio::Session session;
    session.dir = utf8Text(folder.lexically_normal());
    const fs::path self = utf8Path(sim::programFolder());
    session.shipped = utf8Text(self);
    session.simProgram = utf8Text(self / simName);
    if (!fs::exists(session.simProgram, ec)) {
        std::cerr << "kellhud-studio: " << session.simProgram << " is missing: the studio draws with it, keep it beside "
                  << "kellhud-studio\n";
        return 1;
    }
    const std::string token = studio::newToken();
    const fs::path scratch = fs::temp_directory_path(ec) / ("kellhud-studio-" + token.substr(0, 12));
    fs::create_directories(scratch, ec);
    if (ec) {
        std::cerr << "kellhud-studio: cannot make a scratch folder " << utf8Text(scratch) << ": " << ec.message() << "\n";
        return 1;
    }
    session.scratch = utf8Text(scratch);
    studio::mirrorFolder(session.dir, session.scratch);

    stopOnInterrupt();
    std::string error;
    const bool served = studio::serve(
        session, token, static_cast<uint16_t>(port),
        [&](uint16_t bound) {
            const std::string url = "http://127.0.0.1:" + std::to_string(bound) + "/?token=" + token;
            std::cout << "Kell Hud Studio: " << url << "\n"
                      << "  folder: " << session.dir << "\n"
                      << "  stop it with Ctrl+C\n"
                      << std::flush;
            if (browser && !studio::openBrowser(url))
                std::cout << "  (no browser could be opened: open the address above yourself)\n" << std::flush;
        },
        stopServer, error);
    {
        const std::lock_guard<std::mutex> lock(stopping);
        stopServer = nullptr;
    }
    fs::remove_all(scratch, ec);
    if (!served && !error.empty()) {
        std::cerr << "kellhud-studio: " << error << "\n";
        return 1;
    }
    return 0;
}
