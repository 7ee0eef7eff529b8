#pragma once
// tavrel-cli: show, check and write device_config.dat from scripts.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavrel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;  // the operation failed or was refused
inline constexpr int kExitUsage = 2;   // the command line is not understood

// The process's standard output and error, as the process itself tells them.
struct StandardOutput {
    bool isTerminal = false;         // a terminal is not sent the record's bytes
    void (*makeBinary)() = nullptr;  // when set, called before bytes are written, so that
                                     // they pass unchanged (Windows' text mode adds CRs)
    bool errorIsTerminal = false;    // progress is shown only on a terminal
};

// Runs one command line (`args` without the program name, UTF-8), reading standard input
// from `in` and writing UTF-8 to `out` and `err` (`out` is standard output, described by
// `outDevice`). Returns the exit status.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, StandardOutput outDevice = {});

}  // namespace tavrel::cli
