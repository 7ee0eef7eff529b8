// The process around tavrel-cli: UTF-8 arguments, binary standard input, whether standard
// output is a terminal, on a Windows console UTF-8 output, and elsewhere no temporary file
// left behind by Ctrl-C or SIGTERM.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "form/Utf8.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the types of windows.h
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

std::string WideToUtf8(const wchar_t* text) {
    return tavrel::form::Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

// The console's output code page while this process writes to it: UTF-8, given back
// at the end so that the console keeps its own.
class Utf8Console {
public:
    Utf8Console() {
        DWORD mode;
        for (DWORD id : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
            if (GetConsoleMode(GetStdHandle(id), &mode)) {
                previous_ = GetConsoleOutputCP();
                SetConsoleOutputCP(CP_UTF8);
                break;
            }
        }
    }
    ~Utf8Console() {
        if (previous_ != 0) {
            SetConsoleOutputCP(previous_);
        }
    }

private:
    UINT previous_ = 0;
};

}  // namespace

int main() {
    std::vector<std::string> args;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            args.push_back(WideToUtf8(argv[i]));
        }
        LocalFree(argv);
    }
    _setmode(_fileno(stdin), _O_BINARY);
    const Utf8Console console;
    DWORD mode;
    const tavrel::cli::StandardOutput device{
        GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0,
        [] {
            std::cout.flush();
            _setmode(_fileno(stdout), _O_BINARY);
        },
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0};
    const int status = tavrel::cli::Run(args, std::cin, std::cout, std::cerr, device);
    std::cout.flush();
    return status;
}

#else
#include <signal.h>
#include <unistd.h>

#include "record/SettingsFile.h"

namespace {

// Ends the process as the shell reports a death by this signal (128 + its number), with
// the temporary file of a write in progress removed; the previous file stays as it was.
extern "C" void EndOnSignal(int signal) {
    tavrel::RemoveTemporaryFileOfWriteInProgress();
    _exit(128 + signal);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void EndOnSignals() {
    struct sigaction action {};
    action.sa_handler = EndOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : kEndingSignals) {
        struct sigaction previous {};
        // A signal the caller chose to ignore (nohup, a background job) stays ignored.
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    EndOnSignals();
    // A reader that goes away is a failed write like any other, reported as one.
    signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tavrel::cli::Run(args, std::cin, std::cout, std::cerr,
                            {isatty(STDOUT_FILENO) == 1, nullptr, isatty(STDERR_FILENO) == 1});
}

#endif
