// `check FILE [--strict]`: whether FILE is exactly what the dialog writes for the values
// it shows; the load warnings say where it is not, and the network hints follow.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/Command.h"
#include "form/NetworkHints.h"

namespace tavrel::cli {

namespace {

int Check(std::string file, bool strict, const Context& context) {
    const std::optional<form::LoadedSettings> loaded = LoadSettingsFile(file, context);
    if (!loaded) {
        return kExitFailed;
    }
    std::ostream& out = context.io.out;
    const std::vector<form::Message> hints = form::NetworkHints(loaded->values);
    if (!loaded->warnings.empty()) {
        out << file << ": not what the dialog writes for the values it shows:\n";
        PrintWarnings(out, loaded->warnings);
    } else {
        out << file << ": exactly what the dialog writes for the values it shows\n";
    }
    PrintHints(out, hints);
    return loaded->warnings.empty() && !(strict && !hints.empty()) ? kExitSuccess : kExitFailed;
}

}  // namespace

void AddCheckCommand(CLI::App& app, Context& context) {
    struct Options {
        std::string file;
        bool strict = false;
    };
    const auto options = std::make_shared<Options>();
    CLI::App* check = app.add_subcommand(
        "check", "Exit 0 when FILE is exactly what the dialog writes for the values it shows");
    check
        ->add_option(
            "FILE", options->file,
            "The settings file, a folder holding device_config.dat, or - for standard input")
        ->required()
        ->type_name("");
    check->add_flag("--strict", options->strict, "Also exit 1 when there are network hints");
    check->callback([options, &context] {
        context.command = [options, &context] {
            return Check(options->file, options->strict, context);
        };
    });
}

}  // namespace tavrel::cli
