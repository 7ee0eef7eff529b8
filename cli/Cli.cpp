// The command line through CLI11: the options of each command, "help COMMAND", and usage
// errors worded in this program's terms, which end with exit status 2.
#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/Batch.h"
#include "cli/Checks.h"
#include "cli/Commands.h"
#include "cli/SettingsKeys.h"
#include "cli/Table.h"
#include "record/SettingsValues.h"

namespace tavrel::cli {

namespace {

// An option whose value is kept only when it is given.
CLI::Option* AddOptional(CLI::App* app, const std::string& name, std::optional<std::string>& target,
                         const std::string& help, const std::string& typeName) {
    return app
        ->add_option_function<std::string>(
            name, [&target](const std::string& value) { target = value; }, help)
        ->type_name(typeName);
}

// The help of an option that sets a field of the form: the form's words for it, then
// what it does.
std::string FormHelp(std::string_view words, std::string_view what) {
    return std::string(words) + ": " + std::string(what);
}

std::string LabelHelp(std::string_view key, std::string_view what) {
    return FormHelp(SettingsKeyNamed(key).label, what);
}

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
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(at));
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
    CLI::App app(
        "Shows, checks and writes device_config.dat, the settings file of the "
        "telephone-line box, exactly as the settings dialog does.",
        "tavrel-cli");
    app.set_version_flag("--version", "tavrel-cli " TAVREL_VERSION);
    app.require_subcommand(1);
    CodePage codePage = kSystemAnsiCodePage;
    app.add_option("--codepage", codePage,
                   "Code page of the key (default: " + CodePageName(kSystemAnsiCodePage) + ")")
        ->type_name("N")
        ->check([](const std::string& value) {
            return value.empty() ? std::string("a code page number is required") : std::string();
        });

    std::string file;
    bool json = false;
    CLI::App* show = app.add_subcommand(
        "show", "Print the settings as the dialog shows them after loading FILE");
    show->add_option("FILE", file, "The settings file, or - for standard input")
        ->required()
        ->type_name("");
    show->add_flag("--json", json, "Print one JSON object");

    CLI::App* check = app.add_subcommand(
        "check", "Exit 0 when FILE is exactly what the dialog writes for the values it shows");
    check->add_option("FILE", file, "The settings file, or - for standard input")
        ->required()
        ->type_name("");
    bool strict = false;
    check->add_flag("--strict", strict, "Also exit 1 when there are network hints");

    WriteOptions w;
    CLI::App* write = app.add_subcommand(
        "write", "Write the file that confirming the dialog writes, starting from a fresh form");
    write->add_option("DEST", w.dest, "An existing folder, or a file path in one")
        ->required()
        ->type_name("");
    CLI::Option* base = AddOptional(
        write, "--base", w.base, "Start from FILE (or -), loaded as the dialog loads it", "FILE");
    AddOptional(write, "--json-in", w.jsonIn, "Start from a 'show --json' object in FILE (or -)",
                "FILE")
        ->excludes(base);
    write->add_flag("--auto", w.automatic,
                    FormHelp(kAutomaticAddressChoice, "the address is obtained automatically"));
    write->add_flag("--fixed", w.fixed, FormHelp(kFixedAddressChoice, "the fixed addresses below"));
    AddOptional(write, "--ip", w.ipAddress, LabelHelp("ipAddress", "the device's own address"),
                "A");
    AddOptional(write, "--mask", w.subnetMask, LabelHelp("subnetMask", "subnet mask"), "A");
    AddOptional(write, "--gateway", w.defaultGateway,
                LabelHelp("defaultGateway", "default gateway"), "A");
    AddOptional(write, "--other-dns", w.otherDnsServer,
                LabelHelp("otherDnsServer", "other DNS server"), "A");
    AddOptional(write, "--preferred-dns", w.preferredDnsServer,
                LabelHelp("preferredDnsServer", "preferred DNS server"), "A");
    AddOptional(write, "--push", w.pushAddress,
                LabelHelp("pushAddress", "push address, at most " +
                                             std::to_string(kPushAddressTypingLimit) +
                                             " characters (line breaks stored as CR LF)"),
                "TEXT");
    const std::string guardWords = "off (" + std::string(kLineGuardEntries[0]) + ") or on (" +
                                   std::string(kLineGuardEntries[1]) + ")";
    AddOptional(write, "--guard", w.lineGuard, LabelHelp("lineGuardMode", guardWords), "off|on");
    const std::string ringsWords =
        std::string(SettingsKeyNamed("ringLimit").label) + " N " + std::string(kRingsUnit);
    AddOptional(write, "--rings", w.ringLimit,
                FormHelp(ringsWords, "answer and hang up after N rings (signed 32-bit)"), "N");
    AddOptional(write, "--key", w.cipKey,
                LabelHelp("cipKey", "key, at most " + std::to_string(kCipKeyMaxBytes) +
                                        " bytes in the code page"),
                "TEXT");

    BatchOptions b;
    CLI::App* batch = app.add_subcommand(
        "batch", "Write DIR/<name>/device_config.dat for each row of a CSV table");
    batch
        ->add_option("TABLE", b.table, "The table (CSV with a header row), or - for standard input")
        ->required()
        ->type_name("");
    batch->add_option("--out", b.out, "The folder that gets one folder per device")
        ->required()
        ->type_name("DIR");
    AddOptional(batch, "--base", b.base, "Start each row from FILE, loaded as the dialog loads it",
                "FILE");
    batch->add_flag("--dry-run", b.dryRun, "Check the table and print the plan; write nothing");

    std::vector<std::string> tableFiles;
    bool csv = false;
    CLI::App* table = app.add_subcommand(
        "table", "Print one row per settings file, in the columns that batch reads");
    table->add_option("FILE", tableFiles, "Settings files, or folders holding device_config.dat")
        ->required()
        ->type_name("");
    table->add_flag("--csv", csv, "Print CSV for a spreadsheet or for batch");

    for (CLI::App* sub : {show, check, write, batch, table}) {
        sub->fallthrough();  // --codepage and --version also after the command
        sub->footer("Options of every command: --codepage N, --help, --version");
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

    if (!IsCodePageAvailable(codePage)) {
        err << "tavrel-cli: --codepage: code page " << codePage << " is not available\n";
        return kExitFailed;
    }
    const Streams io{in, out, err, outDevice};
    if (show->parsed()) {
        return Show(file, json, codePage, io);
    }
    if (check->parsed()) {
        return Check(file, strict, codePage, io);
    }
    if (batch->parsed()) {
        return Batch(b, codePage, io);
    }
    if (table->parsed()) {
        return Table(tableFiles, csv, codePage, io);
    }
    return Write(w, codePage, io);
}

}  // namespace tavrel::cli
