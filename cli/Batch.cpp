// `batch TABLE --out DIR`: one device_config.dat for each row of a site table, in two
// passes over the table as it was read: the first checks every row (the form's checks,
// and what stands at each device's folder) and prints the hints; only when every row
// passes does the second create the folders and write the files, stopping at the first
// write that fails.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/Command.h"
#include "cli/Files.h"
#include "cli/Interruption.h"
#include "form/LoadedSettings.h"
#include "form/Sentences.h"
#include "form/SiteTable.h"
#include "form/Utf8.h"
#include "record/RegularFile.h"
#include "record/SettingsFile.h"

namespace tavrel::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kProgressFromRows = 10;  // shorter tables show no progress

struct BatchOptions {
    std::string table;                // the CSV table, or - for standard input
    std::string out;                  // the folder that gets one folder per device
    std::optional<std::string> base;  // each row starts from this file, loaded as the dialog
                                      // loads it, instead of from a fresh form
    bool dryRun = false;              // check and print the plan, write nothing
};

class BatchRun {
public:
    BatchRun(const BatchOptions& options, const Context& context)
        : options_(options), context_(context), io_(context.io), out_(PathFromUtf8(options.out)) {
        if (!out_.has_filename()) {
            out_ = out_.parent_path();  // "site/" is the folder "site"
        }
    }

    int Run();

private:
    fs::path FolderOf(const std::string& name) const { return out_ / PathFromUtf8(name); }
    // What stands at the device's folder and its file, as `write` would refuse it.
    std::optional<form::Message> FolderInTheWay(const std::string& name) const;
    std::optional<std::string> OutProblem(bool outExists) const;
    // Writes (or, for a dry run, lists) one device; a write that fails stops the run.
    void WriteDevice(const form::SiteDevice& device);
    // For a dry run into a folder that holds devices: what writing would do to the file.
    std::string PlannedChange(const form::SiteDevice& device) const;
    void Progress(bool shown);
    // What an interruption says the run has written.
    void NoteWrittenForInterruption() const {
        SetInterruptionSummary("interrupted: " + std::to_string(done_) + " of " +
                               std::to_string(rows_) + " files written into " + options_.out +
                               " (each listed on standard output); nothing half-written is left");
    }
    void Report(const form::SiteDevice& device, std::string_view note = {});
    std::string TableName() const {
        return options_.table == "-" ? "standard input" : options_.table;
    }

    const BatchOptions& options_;
    const Context& context_;
    const Streams& io_;
    fs::path out_;
    bool outExisted_ = false;
    std::size_t nameWidth_ = 0;
    std::size_t rows_ = 0;
    bool progress_ = false;
    std::size_t done_ = 0;
    bool stopped_ = false;
    std::vector<std::string> notWritten_;
};

std::optional<form::Message> BatchRun::FolderInTheWay(const std::string& name) const {
    const fs::path folder = FolderOf(name);
    const FileKind there = LinkStatus(folder.native()).kind;
    if (there == FileKind::SymbolicLink) {
        // It may lead anywhere: nothing outside --out is written.
        return English(PathToUtf8(folder) +
                       " is a symbolic link; batch writes only into folders inside --out");
    }
    if (there == FileKind::Folder) {
        const form::Result<fs::path> file = ResolveDestination(PathToUtf8(folder));
        if (!file) {
            return file.Reasons().front();  // what stands at its file's name
        }
    } else if (there != FileKind::Missing) {
        return English(PathToUtf8(folder) + " is " + KindPhrase(there) + ", not a folder");
    }
    return std::nullopt;
}

std::optional<std::string> BatchRun::OutProblem(bool outExists) const {
    std::error_code ec;
    const fs::path outParent = out_.has_parent_path() ? out_.parent_path() : fs::path(".");
    if (options_.out.empty()) {
        return "no folder is named";
    }
    if (!outExists && LinkStatus(out_.native()).kind == FileKind::SymbolicLink) {
        return options_.out + " is a broken symbolic link: it leads to nothing";
    }
    if (outExists && !fs::is_directory(out_, ec)) {
        return options_.out + " is not a folder";
    }
    if (!outExists && !fs::is_directory(outParent, ec)) {
        return "the folder " + PathToUtf8(outParent) + " does not exist";
    }
    return std::nullopt;
}

void BatchRun::Progress(bool shown) {
    if (!progress_) {
        return;
    }
    static constexpr std::size_t kWidth = 40;
    std::string text;
    if (shown) {
        text = "writing " + std::to_string(done_ + 1) + " of " + std::to_string(rows_) + "...";
    }
    io_.err << "\r" << text << std::string(kWidth - std::min(kWidth, text.size()), ' ') << "\r"
            << text << std::flush;
}

void BatchRun::Report(const form::SiteDevice& d, std::string_view note) {
    constexpr std::size_t kModeWidth = 22;  // "fixed 255.255.255.255" and a space
    const std::string mode =
        d.values.automaticAddress ? "automatic" : "fixed " + form::AddressUtf8(d.values.ipAddress);
    io_.out << d.name << std::string(nameWidth_ + 2 - form::DisplayWidth(d.name), ' ') << mode
            << std::string(kModeWidth - mode.size(), ' ')
            << PathToUtf8(FolderOf(d.name) / kSettingsFileName);
    if (!note.empty()) {
        io_.out << "  " << note;
    }
    io_.out << "\n";
}

std::string BatchRun::PlannedChange(const form::SiteDevice& device) const {
    const fs::path file = FolderOf(device.name) / kSettingsFileName;
    const RegularFileRead read = ReadRegularFile(file.native(), kRecordSize);
    if (read.status.kind == FileKind::Missing) {
        return "new";
    }
    const DeviceSettingsRecord record = RecordFromValues(device.values, context_.codePage);
    if (!read.more && std::equal(read.bytes.begin(), read.bytes.end(), record.Bytes().begin(),
                                 record.Bytes().end())) {
        return "unchanged";
    }
    const form::LoadedSettings there = form::LoadSettings(
        read.bytes, read.more ? std::nullopt : std::optional(read.size), context_.codePage);
    std::string changes;
    for (const std::string_view key : form::ChangedFields(there.values, device.values)) {
        changes += (changes.empty() ? "" : ", ") + std::string(key);
    }
    return changes.empty() ? "rewritten with the values it shows" : "changes " + changes;
}

void BatchRun::WriteDevice(const form::SiteDevice& device) {
    if (stopped_) {
        notWritten_.push_back(device.name);
        return;
    }
    // The rows passed in the first pass, so what stands at the device's folder may have
    // changed since: a failure like any other write's.
    if (const std::optional<form::Message> inTheWay = FolderInTheWay(device.name)) {
        PrintError(io_, "row " + std::to_string(device.row) + ", name: " + inTheWay->en);
        stopped_ = true;
        notWritten_.push_back(device.name);
        return;
    }
    if (options_.dryRun) {
        ++done_;
        Report(device, outExisted_ ? PlannedChange(device) : std::string());
        return;
    }
    Progress(true);
    const fs::path folder = FolderOf(device.name);
    const fs::path file = folder / kSettingsFileName;
    std::error_code ec;
    if (LinkStatus(folder.native()).kind == FileKind::Missing) {
        RemoveFolderIfInterrupted(folder);
    }
    const bool created = fs::create_directory(folder, ec);
    std::string failure;
    bool replaced = false;  // the new file stands, but its write was not confirmed
    if (ec) {
        failure = "cannot create the folder " + PathToUtf8(folder) + ": " + ec.message();
    } else if (const WriteResult written =
                   WriteSettingsFile(file, RecordFromValues(device.values, context_.codePage));
               !written) {
        replaced = written.Replaced();
        failure = WriteFailureMessage(file, written);
        if (created && !replaced) {
            fs::remove(folder, ec);
        }
    }
    KeepFolder();
    Progress(false);
    if (!failure.empty()) {
        PrintError(io_, "row " + std::to_string(device.row) + " (" + device.name + "): " + failure);
        stopped_ = true;
        if (!replaced) {
            notWritten_.push_back(device.name);
        }
        return;
    }
    ++done_;
    NoteWrittenForInterruption();
    Report(device);
    io_.out.flush();
}

std::string NameList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& n : names) {
        list += (list.empty() ? "" : ", ") + n;
    }
    return list;
}

int BatchRun::Run() {
    if (options_.table == "-" && options_.base == "-") {
        PrintError(io_, "the table and --base cannot both be standard input");
        return kExitFailed;
    }
    SettingsValues start;  // a fresh form
    if (options_.base) {
        std::string file = *options_.base;
        const std::optional<form::LoadedSettings> loaded = LoadSettingsFile(file, context_);
        if (!loaded) {
            return kExitFailed;
        }
        start = loaded->values;
    }
    form::Result<InputBytes> input = ReadInput(options_.table, io_.in, form::kSiteTableSizeLimit);
    if (!input) {
        PrintRefusal(io_, "", input.Reasons());
        return kExitFailed;
    }
    if (!input->size || *input->size > form::kSiteTableSizeLimit) {
        PrintError(io_, TableName() + " is larger than the " +
                            std::to_string(form::kSiteTableSizeLimit >> 20) +
                            " MiB a table may take");
        return kExitFailed;
    }

    std::error_code ec;
    outExisted_ = fs::exists(out_, ec);
    if (const std::optional<std::string> problem = OutProblem(outExisted_)) {
        PrintError(io_, "--out: " + *problem);
        return kExitFailed;
    }

    const std::string_view bytes(reinterpret_cast<const char*>(input->head.data()),
                                 input->head.size());
    const form::Result<form::SiteTable> table =
        form::ReadSiteTable(bytes, context_.codePage, start,
                            [this](const std::string& name) { return FolderInTheWay(name); });
    if (!table) {
        PrintRefusal(io_, TableName() + ": ", table.Reasons());
        return kExitFailed;
    }
    if (table->encoding == form::TableEncoding::CodePage) {
        io_.err << "tavrel-cli: " << TableName() << " is not UTF-8 text; read it as "
                << form::CodePageName(context_.codePage).en << "\n";
    }
    PrintHints(io_.err, table->hints);
    rows_ = table->rows;
    if (!table->problems.empty()) {
        PrintRefusal(io_, "", table->problems);
        PrintError(io_, std::to_string(table->refusedRows) + " of " + std::to_string(rows_) +
                            (rows_ == 1 ? " row" : " rows") + " refused; nothing written");
        return kExitFailed;
    }
    if (rows_ == 0) {
        PrintError(io_, TableName() + ": " + form::Say(form::Sentence::NoRows).en);
        return kExitFailed;
    }

    if (!options_.dryRun && !outExisted_ && !fs::create_directory(out_, ec)) {
        PrintError(io_, "cannot create the folder " + options_.out + ": " + ec.message());
        return kExitFailed;
    }
    for (const form::SiteDevice& d : table->devices) {
        nameWidth_ = std::max(nameWidth_, form::DisplayWidth(d.name));
    }
    progress_ = !options_.dryRun && rows_ >= kProgressFromRows && io_.outDevice.errorIsTerminal;
    NoteWrittenForInterruption();
    for (const form::SiteDevice& d : table->devices) {
        WriteDevice(d);
    }

    const std::string files = std::to_string(rows_) + (rows_ == 1 ? " file" : " files");
    if (stopped_) {
        PrintError(io_, "stopped: " + std::to_string(done_) + " of " + files +
                            " written (each listed on standard output); not written: " +
                            NameList(notWritten_));
        return kExitFailed;
    }
    if (!io_.out.flush()) {
        PrintError(io_,
                   "cannot write to standard output: " + std::generic_category().message(errno) +
                       "; the " + files + " were written into " + options_.out);
        return kExitFailed;
    }
    if (options_.dryRun) {
        io_.out << "checked " << rows_ << (rows_ == 1 ? " row" : " rows") << "; would write "
                << files << " into " << options_.out << " (dry run: nothing written)\n";
    } else {
        io_.out << "wrote " << files << " into " << options_.out << "\n";
    }
    return kExitSuccess;
}

}  // namespace

void AddBatchCommand(CLI::App& app, Context& context) {
    const auto o = std::make_shared<BatchOptions>();
    CLI::App* batch = app.add_subcommand(
        "batch", "Write DIR/<name>/device_config.dat for each row of a CSV table");
    batch
        ->add_option("TABLE", o->table,
                     "The table (CSV with a header row), or - for standard input")
        ->required()
        ->type_name("");
    batch
        ->add_option("--out", o->out,
                     "The folder that gets one folder per device (made when its parent exists)")
        ->required()
        ->type_name("DIR");
    AddOptionalOption(batch, "--base", o->base,
                      "Start each row from FILE (a settings file, a folder holding "
                      "device_config.dat, or -), loaded as the dialog loads it",
                      "FILE");
    batch->add_flag("--dry-run", o->dryRun, "Check the table and print the plan; write nothing");
    batch->callback(
        [o, &context] { context.command = [o, &context] { return BatchRun(*o, context).Run(); }; });
}

}  // namespace tavrel::cli
