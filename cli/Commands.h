#pragma once
// The three commands. Each returns the exit status: 0 success, 1 failed or refused.

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/Cli.h"
#include "record/CodePage.h"

namespace tavrel::cli {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    StandardOutput outDevice = {};
};

// FILE is a settings file, a folder holding device_config.dat, or - for standard input.

// Prints the settings as the form shows them after loading FILE, and the warnings.
int Show(const std::string& file, bool json, CodePage cp, Streams io);

// 0 when FILE is exactly what the dialog writes for the values it shows; otherwise 1,
// with the warnings.
int Check(const std::string& file, CodePage cp, Streams io);

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
// nothing written, when any given value is not one the form takes.
int Write(const WriteOptions& options, CodePage cp, Streams io);

}  // namespace tavrel::cli
