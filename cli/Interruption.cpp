// What an interrupted run removes, kept where a signal handler (or, on Windows, the console
// control handler's thread) can reach it without allocating: fixed buffers, complete
// whenever their flag is set.
#include "cli/Interruption.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>

#include "record/SettingsFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace tavrel::cli {

namespace {

using NativeChar = std::filesystem::path::value_type;

NativeChar folder[4096];
volatile std::sig_atomic_t folderSet = 0;
char summary[512];
volatile std::sig_atomic_t summarySet = 0;

// Copies `text` into `buffer` with a terminator, `flag` clear meanwhile.
template <typename Char, std::size_t N>
void Keep(Char (&buffer)[N], std::basic_string_view<Char> text, volatile std::sig_atomic_t& flag) {
    flag = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    const std::size_t n = std::min(text.size(), N - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = Char{};
    std::atomic_signal_fence(std::memory_order_seq_cst);
    flag = 1;
}

// Removes what the run made and ends it. Async-signal-safe on POSIX.
[[noreturn]] void EndInterruptedRun(int status) {
    // On Windows this waits for a write in progress to end, its temporary file gone.
    RemoveTemporaryFileOfWriteInProgress();
#ifdef _WIN32
    if (folderSet) {
        RemoveDirectoryW(folder);
    }
    if (summarySet) {
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), summary, static_cast<DWORD>(std::strlen(summary)),
                  &written, nullptr);
    }
    ExitProcess(static_cast<UINT>(status));
#else
    if (folderSet) {
        rmdir(folder);
    }
    if (summarySet) {
        [[maybe_unused]] const ssize_t written =
            write(STDERR_FILENO, summary, std::strlen(summary));
    }
    _exit(status);
#endif
}

#ifndef _WIN32
extern "C" void OnSignal(int signal) {
    EndInterruptedRun(128 + signal);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
#endif

}  // namespace

#ifdef _WIN32
int __stdcall OnConsoleControl(unsigned long event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    EndInterruptedRun(130);  // as a shell reports SIGINT
}
#endif

void EndOnInterruption() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : kEndingSignals) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
#endif
}

void RemoveFolderIfInterrupted(const std::filesystem::path& path) {
    Keep(folder, std::basic_string_view<NativeChar>(path.native()), folderSet);
}

void KeepFolder() {
    folderSet = 0;
}

void SetInterruptionSummary(std::string_view text) {
    const std::string line = "tavrel-cli: " + std::string(text) + "\n";
    Keep(summary, std::string_view(line), summarySet);
}

}  // namespace tavrel::cli
