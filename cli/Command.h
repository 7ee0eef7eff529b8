#pragma once
// What every command of tavrel-cli shares: the streams it reads and writes, the code page
// of the key, its exit status, how it says what failed, and the adding of each command
// to the command line (one file per command: Show.cpp, Check.cpp, Write.cpp, Batch.cpp,
// Table.cpp).

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "form/LoadedSettings.h"
#include "form/Result.h"
#include "record/CodePage.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace tavrel::cli {

// The streams a command reads and writes, and what standard output is.
struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    StandardOutput outDevice = {};
};

// What a command runs with, and the command the command line chose.
struct Context {
    Streams io;
    CodePage codePage = kSystemAnsiCodePage;  // --codepage
    // Set by the chosen subcommand's callback once the whole line is parsed; it runs the
    // command and returns its exit status.
    std::function<int()> command;
};

// Each adds its subcommand, with its options, to `app`; the subcommand's callback makes it
// the context's command.
void AddShowCommand(CLI::App& app, Context& context);
void AddCheckCommand(CLI::App& app, Context& context);
void AddWriteCommand(CLI::App& app, Context& context);
void AddBatchCommand(CLI::App& app, Context& context);
void AddTableCommand(CLI::App& app, Context& context);

// A message of the command line's own, which has no Chinese sentence.
inline form::Message English(std::string text) {
    return {std::move(text), {}};
}

// Adds to `command` an option whose value is kept in `target` only when it is given.
CLI::Option* AddOptionalOption(CLI::App* command, const std::string& name,
                               std::optional<std::string>& target, const std::string& help,
                               const std::string& valueName);

// "tavrel-cli: " and the message, on the error stream.
void PrintError(const Streams& io, const std::string& message);

// "tavrel-cli: " and each reason's English, after `about` ("--ip: "), on the error stream.
void PrintRefusal(const Streams& io, std::string_view about,
                  const std::vector<form::Message>& reasons);

// One line "hint: <about><hint>" for each hint.
void PrintHints(std::ostream& out, const std::vector<form::Message>& hints,
                std::string_view about = {});

// "  - <warning>" for each warning.
void PrintWarnings(std::ostream& out, const std::vector<form::Message>& warnings);

// FILE loaded as the dialog loads it (a settings file, a folder holding device_config.dat,
// or - for standard input); nothing, with the reason on the error stream, when it cannot
// be read. `file` becomes the settings file's own name.
std::optional<form::LoadedSettings> LoadSettingsFile(std::string& file, const Context& context);

}  // namespace tavrel::cli
