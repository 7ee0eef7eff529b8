// The command line through CLI11: the global options, "help COMMAND", and usage errors
// worded in this program's terms, which end with exit status 2. Each command adds itself
// (Show.cpp, Check.cpp, Write.cpp, Batch.cpp, Table.cpp).
#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <ostream>
#include <system_error>

#include "cli/Command.h"
#include "form/Sentences.h"
#include "generated/Version.h"

namespace tavrel::cli {

namespace {

std::string UsageText(const std::string& problem) {
    return "tavrel-cli: " + problem + "\nRun 'tavrel-cli --help' for more information.\n";
}

std::vector<std::string> CommandNames(CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
        names.push_back(sub->get_name());
    }
    return names;
}

// Where the command word is: the first argument that is not an option, the value of
// --codepage skipped; args.size() when there is none.
std::size_t CommandWord(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--codepage") {
            ++i;
        } else if (args[i] == "--") {
            return i + 1 < args.size() ? i + 1 : args.size();
        } else if (args[i].size() < 2 || args[i][0] != '-') {
            return i;
        }
    }
    return args.size();
}

// The command line with "help [COMMAND]" read as "[COMMAND] --help"; nothing, with
// `problem` set, when the command word names no command.
std::optional<std::vector<std::string>> Resolved(std::vector<std::string> args,
                                                 const std::vector<std::string>& commands,
                                                 std::string& problem) {
    std::size_t at = CommandWord(args);
    if (at < args.size() && args[at] == "help") {
        // "help help" and "help --help" are the help of the help command itself.
        const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                                            args.end());
        const std::size_t next = at + 1 + CommandWord(rest);
        const bool askedForHelp = std::find_if(rest.begin(), rest.end(), [](const std::string& a) {
                                      return a == "--help" || a == "-h";
                                  }) != rest.end();
        if (next < args.size() && args[next] == "help") {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(next));
        } else if (next < args.size() || !askedForHelp) {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(at));
        }
        args.push_back("--help");
        at = CommandWord(args);
    }
    if (at < args.size() &&
        std::find(commands.begin(), commands.end(), args[at]) == commands.end()) {
        problem = "unknown command '" + args[at] + "'";
        return std::nullopt;
    }
    return args;
}

// What a parse error means, in the words of this program where CLI11's say less.
std::string Problem(const CLI::App& app, const CLI::ParseError& e,
                    const std::vector<std::string>& commands) {
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
        const std::vector<std::string> extras = app.remaining(true);
        if (!extras.empty()) {
            const std::string& first = extras.front();
            return first.size() > 1 && first[0] == '-'
                       ? "unknown option '" + first.substr(0, first.find('=')) + "'"
                       : "unexpected argument '" + first + "'";
        }
    }
    if (const auto* mismatch = dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        // "--ip: At Most 1 required but received 2"
        const std::string what = mismatch->what();
        const std::size_t colon = what.find(':');
        if (colon != std::string::npos && what.find("At Most 1 required") != std::string::npos) {
            return what.substr(0, colon) + " is given twice";
        }
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&e)) {
        // "--auto excludes --fixed"
        std::string what = e.what();
        if (const std::size_t word = what.find(" excludes "); word != std::string::npos) {
            return what.substr(0, word) + " and " + what.substr(word + 10) +
                   " cannot be given together";
        }
    }
    if (dynamic_cast<const CLI::RequiredError*>(&e) && app.get_subcommands().empty()) {
        std::string list;
        for (std::size_t i = 0; i < commands.size(); ++i) {
            list += (i == 0 ? "" : i + 1 == commands.size() ? " or " : ", ") + commands[i];
        }
        return "a command is required: " + list;
    }
    return e.what();
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, StandardOutput outDevice) {
    Context context{{in, out, err, outDevice}, kSystemAnsiCodePage, {}};
    CLI::App app(
        "Shows, checks and writes device_config.dat, the settings file of the "
        "telephone-line box, exactly as the settings dialog does.",
        "tavrel-cli");
    app.set_version_flag("--version", "tavrel-cli " TAVREL_VERSION_TEXT);
    app.require_subcommand(1);
    app.add_option(
           "--codepage", context.codePage,
           "Code page of the key (default: " + form::CodePageName(kSystemAnsiCodePage).en + ")")
        ->type_name("N")
        ->check([](const std::string& value) {
            return value.empty() ? std::string("a code page number is required") : std::string();
        });
    AddShowCommand(app, context);
    AddCheckCommand(app, context);
    AddWriteCommand(app, context);
    AddBatchCommand(app, context);
    AddTableCommand(app, context);
    CLI::App* help = app.add_subcommand("help", "Print the help of COMMAND, or of tavrel-cli");
    help->add_option("COMMAND", "A command")->type_name("");
    help->callback([&] { context.command = [&] { return (out << app.help(), kExitSuccess); }; });
    for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        command->fallthrough();  // --codepage and --version also after the command
        command->footer("Options of every command: --codepage N, --help, --version");
    }

    const std::vector<std::string> commands = CommandNames(app);
    std::string problem;
    const std::optional<std::vector<std::string>> line = Resolved(args, commands, problem);
    if (!line) {
        err << UsageText(problem);
        return kExitUsage;
    }
    try {
        std::vector<std::string> reversed(line->rbegin(), line->rend());
        app.parse(reversed);
    } catch (const CLI::Success& e) {  // --help or --version
        app.exit(e, out, err);
        return kExitSuccess;
    } catch (const CLI::ParseError& e) {
        err << UsageText(Problem(app, e, commands));
        return kExitUsage;
    }

    if (!IsCodePageAvailable(context.codePage)) {
        err << "tavrel-cli: --codepage: code page " << context.codePage << " is not available\n";
        return kExitFailed;
    }
    const int status = context.command();
    // Output that did not reach its file or pipe is a failure like any other.
    if (status == kExitSuccess && !out.flush()) {
        err << "tavrel-cli: cannot write to standard output: "
            << std::generic_category().message(errno) << "\n";
        return kExitFailed;
    }
    return status;
}

}  // namespace tavrel::cli
