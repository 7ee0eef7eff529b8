// The plumbing the commands share: messages on the error stream and loading a file.
#include "cli/Command.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/Files.h"
#include "record/DeviceSettingsRecord.h"

namespace tavrel::cli {

CLI::Option* AddOptionalOption(CLI::App* command, const std::string& name,
                               std::optional<std::string>& target, const std::string& help,
                               const std::string& valueName) {
    return command
        ->add_option_function<std::string>(
            name, [&target](const std::string& value) { target = value; }, help)
        ->type_name(valueName);
}

void PrintError(const Streams& io, const std::string& message) {
    io.err << "tavrel-cli: " << message << "\n";
}

void PrintRefusal(const Streams& io, std::string_view about,
                  const std::vector<form::Message>& reasons) {
    for (const form::Message& reason : reasons) {
        PrintError(io, std::string(about) + reason.en);
    }
}

void PrintHints(std::ostream& out, const std::vector<form::Message>& hints,
                std::string_view about) {
    for (const form::Message& h : hints) {
        out << "hint: " << about << h.en << "\n";
    }
}

void PrintWarnings(std::ostream& out, const std::vector<form::Message>& warnings) {
    for (const form::Message& w : warnings) {
        out << "  - " << w.en << "\n";
    }
}

std::optional<form::LoadedSettings> LoadSettingsFile(std::string& file, const Context& context) {
    file = SettingsFileIn(file);
    const form::Result<InputBytes> input = ReadInput(file, context.io.in, kRecordSize);
    if (!input) {
        PrintRefusal(context.io, "", input.Reasons());
        return std::nullopt;
    }
    return form::LoadSettings(input->head, input->size, context.codePage);
}

}  // namespace tavrel::cli
