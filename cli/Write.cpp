// `write DEST`: the file that confirming the dialog writes, from a fresh form, a loaded
// file (--base) or a `show --json` object (--json-in), each option then replacing one
// value; every value is checked before anything is written.
#include <CLI/CLI.hpp>
#include <array>
#include <istream>
#include <ostream>

#include "cli/Command.h"
#include "cli/Files.h"
#include "cli/Json.h"
#include "form/Fields.h"
#include "form/NetworkHints.h"
#include "record/SettingsFile.h"

namespace tavrel::cli {

namespace {

// Far more than any settings object; input beyond it is not read.
constexpr std::size_t kJsonInputLimit = 1 << 20;

struct WriteOptions {
    std::string dest;                   // - writes the record to standard output
    std::optional<std::string> base;    // start from this file, loaded as the dialog loads it
    std::optional<std::string> jsonIn;  // start from this `show --json` object
    bool automatic = false;
    bool fixed = false;
    // By field (form::kFields): the option's text, when it is given.
    std::array<std::optional<std::string>, form::kFields.size()> given;
};

// The values the write starts from: a fresh form, --base or --json-in; nothing when that
// cannot be read (the reason is on the error stream).
std::optional<SettingsValues> StartingValues(const WriteOptions& o, const Context& context) {
    SettingsValues values;  // a fresh form
    if (o.base) {
        std::string file = *o.base;
        const std::optional<form::LoadedSettings> loaded = LoadSettingsFile(file, context);
        if (!loaded) {
            return std::nullopt;
        }
        values = loaded->values;
    } else if (o.jsonIn) {
        const form::Result<InputBytes> input = ReadInput(*o.jsonIn, context.io.in, kJsonInputLimit);
        if (!input) {
            PrintRefusal(context.io, "--json-in: ", input.Reasons());
            return std::nullopt;
        }
        if (!input->size || *input->size > kJsonInputLimit) {
            PrintError(context.io, "--json-in: " + *o.jsonIn + " holds more than " +
                                       std::to_string(kJsonInputLimit >> 20) +
                                       " MiB, far more than a settings object");
            return std::nullopt;
        }
        const std::string_view text(reinterpret_cast<const char*>(input->head.data()),
                                    input->head.size());
        const std::vector<form::Message> refused = ApplyJson(text, context.codePage, values);
        if (!refused.empty()) {
            PrintRefusal(context.io, "--json-in: ", refused);
            return std::nullopt;
        }
    }
    return values;
}

void WriteToStandardOutput(const DeviceSettingsRecord& record, const Streams& io) {
    if (io.outDevice.makeBinary) {
        io.outDevice.makeBinary();
    }
    io.out.write(reinterpret_cast<const char*>(record.Bytes().data()),
                 static_cast<std::streamsize>(record.Bytes().size()));
}

int Write(const WriteOptions& o, const Context& context) {
    const Streams& io = context.io;
    std::optional<SettingsValues> values = StartingValues(o, context);
    if (!values) {
        return kExitFailed;
    }

    std::vector<std::string> refused;
    const auto refuse = [&refused](std::string_view about, const std::vector<form::Message>& why) {
        for (const form::Message& m : why) {
            refused.push_back(std::string(about) + m.en);
        }
    };
    if (o.automatic || o.fixed) {
        values->automaticAddress = o.automatic;
    }
    for (std::size_t i = 0; i < form::kFields.size(); ++i) {
        const form::Field& field = form::kFields[i];
        if (!o.given[i]) {
            continue;
        }
        const auto read = field.readOption ? field.readOption : field.read;
        const form::Result<form::Done> taken = read(*o.given[i], context.codePage, *values);
        refuse(std::string(field.option) + ": ", taken.Reasons());
    }

    const bool toStandardOutput = o.dest == "-";
    std::filesystem::path target;
    if (toStandardOutput) {
        if (io.outDevice.isTerminal) {
            refused.push_back(
                "write -: standard output is a terminal; send it to a file or a pipe instead");
        }
    } else if (form::Result<std::filesystem::path> resolved = ResolveDestination(o.dest)) {
        target = *std::move(resolved);
    } else {
        refuse("", resolved.Reasons());
    }
    if (!refused.empty()) {
        for (const std::string& r : refused) {
            PrintError(io, r);
        }
        return kExitFailed;
    }
    PrintHints(io.err, form::NetworkHints(*values));

    const DeviceSettingsRecord record = RecordFromValues(*values, context.codePage);
    if (toStandardOutput) {
        WriteToStandardOutput(record, io);  // a failed write is reported as any lost output
        return kExitSuccess;
    }
    const WriteResult written = WriteSettingsFile(target, record);
    if (!written) {
        PrintError(io, WriteFailureMessage(target, written));
        return kExitFailed;
    }
    io.out << "wrote " << PathToUtf8(target) << "\n";
    return kExitSuccess;
}

}  // namespace

void AddWriteCommand(CLI::App& app, Context& context) {
    const auto o = std::make_shared<WriteOptions>();
    CLI::App* write = app.add_subcommand(
        "write", "Write the file that confirming the dialog writes, starting from a fresh form");
    write
        ->add_option("DEST", o->dest,
                     "An existing folder, a file path in one, or - for standard output")
        ->required()
        ->type_name("");
    CLI::Option* base = AddOptionalOption(
        write, "--base", o->base, "Start from FILE (or -), loaded as the dialog loads it", "FILE");
    AddOptionalOption(write, "--json-in", o->jsonIn,
                      "Start from a 'show --json' object in FILE (or -)", "FILE")
        ->excludes(base);
    CLI::Option* automatic = write->add_flag(std::string(form::kAutomaticOption), o->automatic,
                                             form::AutomaticOptionHelp());
    write->add_flag(std::string(form::kFixedOption), o->fixed, form::FixedOptionHelp())
        ->excludes(automatic);
    for (std::size_t i = 0; i < form::kFields.size(); ++i) {
        const form::Field& field = form::kFields[i];
        if (!field.option.empty()) {
            AddOptionalOption(write, std::string(field.option), o->given[i], field.optionHelp(),
                              std::string(field.optionValue));
        }
    }
    write->callback(
        [o, &context] { context.command = [o, &context] { return Write(*o, context); }; });
}

}  // namespace tavrel::cli
