#pragma once
// tavrel-cli: show, check and write device_config.dat from scripts.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavrel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;  // the operation failed or was refused
inline constexpr int kExitUsage = 2;   // the command line is not understood

// Runs one command line (`args` without the program name, UTF-8), reading standard input
// from `in` and writing UTF-8 to `out` and `err`. Returns the exit status.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace tavrel::cli
