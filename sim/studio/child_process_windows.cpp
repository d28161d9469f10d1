#include "studio/child_process.h"

#include <windows.h>
#include <shellapi.h>

#include "plugin_loader.h"
#include "text/utf8_path.h"

// The folder the program lies in: kellhud-sim.exe, the shipped kell-hud\ and the preview's
// fonts lie beside it. The simulated host's own version would bring the host with it.
std::string sim::programFolder()
{
    wchar_t name[32768];
    const DWORD length = GetModuleFileNameW(nullptr, name, 32768);
    if (length == 0 || length >= 32768)
        return ".";
    return utf8Text(std::filesystem::path(std::wstring(name, length)).parent_path());
}

namespace studio {

namespace {

// One argument as the C runtime splits a command line: quoted, with the backslashes before
// a quote doubled.
std::wstring quoted(const std::wstring& arg)
{
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::string lastError()
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text,
                   sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

} // namespace

int runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& logFile,
               std::string& error)
{
    const std::wstring wideProgram = utf8Path(program).wstring();
    std::wstring line = quoted(wideProgram);
    for (const std::string& arg : args)
        line += L" " + quoted(utf8Path(arg).wstring());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE log = CreateFileW(utf8Path(logFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        error = "cannot write " + logFile + ": " + lastError();
        return -1;
    }
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = nullptr;
    start.hStdOutput = log;
    start.hStdError = log;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(wideProgram.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &start, &process);
    if (!started) {
        error = "cannot start " + program + ": " + lastError();
        CloseHandle(log);
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(log);
    return static_cast<int>(code);
}

bool openBrowser(const std::string& url)
{
    const std::wstring wide = utf8Path(url).wstring();
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

} // namespace studio
