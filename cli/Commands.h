#pragma once
// show, check and write, and what the other commands share with them: the streams,
// loading a file as the dialog loads it, failures and hints. Each command returns its
// exit status: kExitSuccess, or kExitFailed when it failed or refused (Cli.h).

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/Inspect.h"
#include "record/CodePage.h"

namespace tavrel::cli {

// The streams a command reads and writes, and what standard output is.
struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    StandardOutput outDevice = {};
};

// One line "hint: <about><hint>" for each hint.
void PrintHints(std::ostream& out, const std::vector<std::string>& hints,
                std::string_view about = {});

// "tavrel-cli: " and the message, on the error stream.
void Fail(Streams io, const std::string& message);

// FILE loaded as the dialog loads it (a name that SettingsFileIn has resolved, or - for
// standard input); nothing, with the reason on the error stream, when it cannot be read.
std::optional<LoadedSettings> LoadFile(const std::string& file, CodePage cp, Streams io);

// Prints the settings as the form shows them after loading FILE (a settings file, a folder
// holding device_config.dat, or - for standard input), the warnings and the network hints.
int Show(const std::string& file, bool json, CodePage cp, Streams io);

// 0 when FILE is exactly what the dialog writes for the values it shows; otherwise 1,
// with the warnings. The network hints are listed too; with `strict`, any hint makes it 1.
int Check(const std::string& file, bool strict, CodePage cp, Streams io);

// The options of `write`; a value that is not given keeps the one of the starting form.
struct WriteOptions {
    std::string dest;                   // - writes the record to standard output
    std::optional<std::string> base;    // start from this file, loaded as the dialog loads it
    std::optional<std::string> jsonIn;  // start from this `show --json` object
    bool automatic = false;
    bool fixed = false;
    std::optional<std::string> ipAddress, subnetMask, defaultGateway, otherDnsServer,
        preferredDnsServer;
    std::optional<std::string> pushAddress, lineGuard, ringLimit, cipKey;
};

// Builds the record that confirming the form writes and writes it safely; refuses, with
// nothing written, when any given value is not one the form takes. Network hints go to
// the error stream.
int Write(const WriteOptions& options, CodePage cp, Streams io);

}  // namespace tavrel::cli
