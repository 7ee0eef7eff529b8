// `show FILE [--json]`: the settings as the form shows them after loading FILE, listed
// with the form's labels (or as one JSON object), then the load warnings and the network
// hints.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/Command.h"
#include "cli/Json.h"
#include "form/Fields.h"
#include "form/NetworkHints.h"
#include "form/Utf8.h"
#include "form/Words.h"

namespace tavrel::cli {

namespace {

namespace words = form::words;
using form::Utf16ToUtf8;

// One line of the listing: the label, padded to a column, then the value.
void Line(std::ostream& out, std::string_view label, std::string_view value) {
    constexpr std::size_t kColumn = 19;
    const std::size_t width = form::DisplayWidth(label);
    out << label;
    if (!value.empty()) {
        out << std::string(width < kColumn ? kColumn - width : 1, ' ') << value;
    }
    out << "\n";
}

// The field's label with a colon, as the listing starts its line.
std::string LabelOf(std::string_view key) {
    return Utf16ToUtf8(form::FieldNamed(key).label) + ":";
}

void PrintSettings(std::ostream& out, const form::LoadedSettings& loaded) {
    const SettingsValues& v = loaded.values;
    Line(out, LabelOf("addressMode"),
         v.automaticAddress
             ? Utf16ToUtf8(words::kAutomaticAddress) + " (addressMode 1)"
             : Utf16ToUtf8(words::WithoutColon(words::kFixedAddress)) + " (addressMode 0)");
    for (const char* key :
         {"ipAddress", "subnetMask", "defaultGateway", "otherDnsServer", "preferredDnsServer"}) {
        Line(out, LabelOf(key), form::FieldNamed(key).write(v));
    }

    // The push address, one line of the text per line of the listing.
    std::u16string_view push = v.pushAddress;
    std::string label = LabelOf("pushAddress");
    while (true) {
        const std::size_t end = push.find_first_of(u"\r\n");
        Line(out, label, Utf16ToUtf8(push.substr(0, end)));
        if (end == std::u16string_view::npos) {
            break;
        }
        label = "";
        push.remove_prefix(end + (push.substr(end, 2) == u"\r\n" ? 2 : 1));
    }

    Line(out, LabelOf("lineGuardMode"),
         Utf16ToUtf8(form::GuardEntryText(v.lineGuardMode)) + " (lineGuardMode " +
             std::to_string(v.lineGuardMode) + ")");
    Line(out, LabelOf("ringLimit"),
         std::to_string(v.ringLimit) + " " + Utf16ToUtf8(words::kRingsAfter));
    Line(out, LabelOf("cipKey"), Utf16ToUtf8(v.cipKey));
    if (!loaded.warnings.empty()) {
        out << "\nWarnings:\n";
        PrintWarnings(out, loaded.warnings);
    }
    const std::vector<form::Message> hints = form::NetworkHints(v);
    if (!hints.empty()) {
        out << "\n";
        PrintHints(out, hints);
    }
}

int Show(std::string file, bool json, const Context& context) {
    const std::optional<form::LoadedSettings> loaded = LoadSettingsFile(file, context);
    if (!loaded) {
        return kExitFailed;
    }
    if (json) {
        context.io.out << SettingsToJson(loaded->values, loaded->warnings,
                                         form::NetworkHints(loaded->values));
    } else {
        PrintSettings(context.io.out, *loaded);
    }
    return kExitSuccess;
}

}  // namespace

void AddShowCommand(CLI::App& app, Context& context) {
    struct Options {
        std::string file;
        bool json = false;
    };
    const auto options = std::make_shared<Options>();
    CLI::App* show = app.add_subcommand(
        "show", "Print the settings as the dialog shows them after loading FILE");
    show->add_option(
            "FILE", options->file,
            "The settings file, a folder holding device_config.dat, or - for standard input")
        ->required()
        ->type_name("");
    show->add_flag("--json", options->json, "Print one JSON object");
    show->callback([options, &context] {
        context.command = [options, &context] {
            return Show(options->file, options->json, context);
        };
    });
}

}  // namespace tavrel::cli
