// `batch` in two passes over the table: the first checks every row (its name, its
// cells, names and fixed addresses repeated) and prints the hints; only when every row
// passes does the second create the folders and write the files, stopping at the first
// write that fails.
#include "cli/Batch.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "cli/Cli.h"
#include "cli/Csv.h"
#include "cli/Files.h"
#include "cli/Hints.h"
#include "form/Utf8.h"
#include "record/AddressText.h"
#include "record/SettingsFile.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tavrel::cli {

using namespace form;  // the text codec

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTableInputLimit = 16 << 20;
constexpr std::size_t kProgressFromRows = 10;  // shorter tables show no progress
constexpr std::size_t kFolderNameLimit = 255;  // bytes on Linux, code units on Windows

bool IsTerminal(const std::ostream& stream) {
#ifdef _WIN32
    return &stream == &std::cerr && _isatty(_fileno(stderr));
#else
    return &stream == &std::cerr && isatty(STDERR_FILENO);
#endif
}

// ASCII letters in upper case: Windows file systems do not tell "Dev1" from "DEV1".
std::string FoldCase(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return folded;
}

// Why `name` cannot be the name of one folder on both Windows and Linux; nothing when it can.
std::optional<std::string> FolderNameProblem(std::string_view name) {
    const std::optional<std::u16string> units = Utf8ToUtf16(name);
    if (name.empty()) {
        return "is empty; each device needs the name of its folder";
    }
    if (!units) {
        return "is not valid UTF-8 text";
    }
    const std::string quoted = Quoted(*units);
    if (name.size() > kFolderNameLimit) {
        return quoted + " is longer than the " + std::to_string(kFolderNameLimit) +
               " bytes a folder name can take";
    }
    if (name == "." || name == "..") {
        return quoted + " is not a folder of its own";
    }
    for (const char c : name) {
        if (c == '/' || c == '\\') {
            return quoted + " holds a path separator; a name is one folder";
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            return quoted + " holds a control character";
        }
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
            return quoted + " holds '" + c + "', which Windows does not allow in a folder name";
        }
    }
    if (name.back() == '.' || name.back() == ' ') {
        return quoted + " ends with a dot or a space, which Windows drops from folder names";
    }
    // A reserved device name stays reserved with an extension or spaces after it.
    std::string stem = FoldCase(name.substr(0, name.find('.')));
    stem.erase(stem.find_last_not_of(' ') + 1);
    static constexpr std::string_view kReserved[] = {
        "CON",       "PRN",       "AUX",       "NUL",       "CONIN$",    "CONOUT$",  "COM1", "COM2",
        "COM3",      "COM4",      "COM5",      "COM6",      "COM7",      "COM8",     "COM9", "LPT1",
        "LPT2",      "LPT3",      "LPT4",      "LPT5",      "LPT6",      "LPT7",     "LPT8", "LPT9",
        "COM\u00B9", "COM\u00B2", "COM\u00B3", "LPT\u00B9", "LPT\u00B2", "LPT\u00B3"};
    if (std::find(std::begin(kReserved), std::end(kReserved), stem) != std::end(kReserved)) {
        return quoted + " is a device name that Windows reserves";
    }
    return std::nullopt;
}

// One row that passed every check.
struct Device {
    std::string name;
    SettingsValues values;
    fs::path folder;
    fs::path file;
};

class BatchRun {
public:
    BatchRun(const BatchOptions& options, CodePage cp, Streams io)
        : options_(options), cp_(cp), io_(io), out_(PathFromUtf8(options.out)) {
        if (!out_.has_filename()) {
            out_ = out_.parent_path();  // "site/" is the folder "site"
        }
    }

    int Run();

private:
    // The device of `row`, or nothing with the reasons added to `problems_`.
    std::optional<Device> CheckRow(const TableRow& row);
    void Problem(unsigned row, std::string_view column, const std::string& reason);
    // The first pass: checks, duplicates, hints and the width of the listing.
    void Survey(const TableRow& row);
    // The second pass: writes (or, for a dry run, lists) one device.
    void Act(const TableRow& row);
    void Progress(bool shown);
    void Report(const Device& device);
    std::string TableName() const {
        return options_.table == "-" ? "standard input" : options_.table;
    }

    const BatchOptions& options_;
    CodePage cp_;
    Streams io_;
    fs::path out_;
    SettingsValues start_;

    std::vector<std::string> problems_;
    std::size_t refusedRows_ = 0;
    std::size_t rows_ = 0;
    std::map<std::string, unsigned> names_;            // folded name -> row
    std::map<AddressValue, unsigned> fixedAddresses_;  // -> the first row that has it
    std::size_t nameWidth_ = 0;

    bool progress_ = false;
    std::size_t done_ = 0;
    std::vector<std::string> notWritten_;
    bool stopped_ = false;
};

void BatchRun::Problem(unsigned row, std::string_view column, const std::string& reason) {
    problems_.push_back("row " + std::to_string(row) +
                        (column.empty() ? "" : ", " + std::string(column)) + ": " + reason);
}

std::optional<Device> BatchRun::CheckRow(const TableRow& row) {
    const std::size_t before = problems_.size();
    Device device{std::string(row.cells[0].value_or("")), start_, {}, {}};
    if (const auto problem = FolderNameProblem(device.name)) {
        Problem(row.number, "name", *problem);
    } else {
        device.folder = out_ / PathFromUtf8(device.name);
        device.file = device.folder / kSettingsFileName;
        const FileKind there = LinkStatus(device.folder.native()).kind;
        std::error_code ec;
        std::string error;
        if (there == FileKind::Folder ||
            (there == FileKind::SymbolicLink && fs::is_directory(device.folder, ec))) {
            if (!ResolveDestination(PathToUtf8(device.folder), error)) {
                Problem(row.number, "name", error);  // what stands at its file's name
            }
        } else if (there != FileKind::Missing) {
            Problem(row.number, "name",
                    PathToUtf8(device.folder) + " is " + KindPhrase(there) + ", not a folder");
        }
    }
    for (std::size_t i = 1; i < kTableColumns; ++i) {
        const std::optional<std::string_view>& cell = row.cells[i];
        std::string reason;
        const SettingsKey& key = kSettingsKeys[i - 1];
        if (cell && !cell->empty() && !key.apply(*cell, cp_, device.values, reason)) {
            Problem(row.number, key.name, reason);
        }
    }
    if (problems_.size() != before) {
        return std::nullopt;
    }
    return device;
}

void BatchRun::Survey(const TableRow& row) {
    ++rows_;
    const std::size_t before = problems_.size();
    const std::optional<Device> device = CheckRow(row);
    const std::string name(row.cells[0].value_or(""));
    if (!name.empty()) {
        const auto [first, added] = names_.try_emplace(FoldCase(name), row.number);
        if (!added) {
            Problem(row.number, "name",
                    Quoted(Utf8ToUtf16(name).value_or(u"?")) + " repeats the name of row " +
                        std::to_string(first->second));
        }
    }
    if (problems_.size() != before) {
        ++refusedRows_;
    }
    if (!device) {
        return;
    }
    const std::string which = "row " + std::to_string(row.number) + " (" + name + ")";
    PrintHints(io_.err, NetworkHints(device->values), which + ": ");
    if (!device->values.automaticAddress) {
        const auto [first, added] =
            fixedAddresses_.try_emplace(device->values.ipAddress, row.number);
        if (!added) {
            PrintHints(io_.err, {SameAddressHint(device->values.ipAddress, which,
                                                 "row " + std::to_string(first->second))});
        }
    }
    nameWidth_ = std::max(nameWidth_, DisplayWidth(name));
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

void BatchRun::Report(const Device& d) {
    constexpr std::size_t kModeWidth = 22;  // "fixed 255.255.255.255" and a space
    const std::string mode =
        d.values.automaticAddress ? "automatic" : "fixed " + AddressUtf8(d.values.ipAddress);
    io_.out << d.name << std::string(nameWidth_ + 2 - DisplayWidth(d.name), ' ') << mode
            << std::string(kModeWidth - mode.size(), ' ') << PathToUtf8(d.file) << "\n";
}

void BatchRun::Act(const TableRow& row) {
    const std::size_t before = problems_.size();
    const std::optional<Device> device = CheckRow(row);
    if (!device) {
        // The cells passed in the first pass, so what stands at the device's folder has
        // changed since: a failure like any other write's.
        if (!stopped_) {
            for (std::size_t i = before; i < problems_.size(); ++i) {
                Fail(io_, problems_[i]);
            }
            stopped_ = true;
        }
        notWritten_.push_back(std::string(row.cells[0].value_or("")));
        return;
    }
    if (stopped_) {
        notWritten_.push_back(device->name);
        return;
    }
    if (!options_.dryRun) {
        Progress(true);
        std::error_code ec;
        const bool created = fs::create_directory(device->folder, ec);
        std::string failure;
        bool replaced = false;  // the new file stands, but its write was not confirmed
        if (ec) {
            failure =
                "cannot create the folder " + PathToUtf8(device->folder) + ": " + ec.message();
        } else if (const WriteResult written =
                       WriteSettingsFile(device->file, RecordFromValues(device->values, cp_));
                   !written) {
            replaced = written.Replaced();
            failure = WriteFailureMessage(device->file, written);
            if (created && !replaced) {
                fs::remove(device->folder, ec);
            }
        }
        Progress(false);
        if (!failure.empty()) {
            Fail(io_, "row " + std::to_string(row.number) + " (" + device->name + "): " + failure);
            stopped_ = true;
            if (!replaced) {
                notWritten_.push_back(device->name);
            }
            return;
        }
    }
    ++done_;
    Report(*device);
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
        Fail(io_, "the table and --base cannot both be standard input");
        return kExitFailed;
    }
    if (options_.base) {
        const std::optional<LoadedSettings> loaded =
            LoadFile(SettingsFileIn(*options_.base), cp_, io_);
        if (!loaded) {
            return kExitFailed;
        }
        start_ = loaded->values;
    }
    std::string error;
    std::optional<InputBytes> input =
        ReadInput(options_.table, io_.in, kTableInputLimit + 1, error);
    if (!input) {
        Fail(io_, error);
        return kExitFailed;
    }
    if (!input->size || *input->size > kTableInputLimit) {
        Fail(io_, TableName() + " is larger than the " + std::to_string(kTableInputLimit >> 20) +
                      " MiB a table may take");
        return kExitFailed;
    }
    const SettingsTable table(std::move(input->head));
    input.reset();

    std::error_code ec;
    const bool outExists = fs::exists(out_, ec);
    const fs::path outParent = out_.has_parent_path() ? out_.parent_path() : fs::path(".");
    std::string outProblem;
    if (options_.out.empty()) {
        outProblem = "no folder is named";
    } else if (outExists && !fs::is_directory(out_, ec)) {
        outProblem = options_.out + " is not a folder";
    } else if (!outExists && !fs::is_directory(outParent, ec)) {
        outProblem = "the folder " + PathToUtf8(outParent) + " does not exist";
    }
    if (!outProblem.empty()) {
        Fail(io_, "--out: " + outProblem);
        return kExitFailed;
    }

    const auto badRow = [this](unsigned number, const std::string& reason) {
        ++rows_;
        ++refusedRows_;
        Problem(number, "", reason);
    };
    if (const auto refused = table.Read([this](const TableRow& row) { Survey(row); }, badRow)) {
        Fail(io_, TableName() + ": " + *refused);
        return kExitFailed;
    }
    if (!problems_.empty()) {
        for (const std::string& p : problems_) {
            Fail(io_, p);
        }
        Fail(io_, std::to_string(refusedRows_) + " of " + std::to_string(rows_) +
                      (rows_ == 1 ? " row" : " rows") + " refused; nothing written");
        return kExitFailed;
    }
    if (rows_ == 0) {
        Fail(io_, TableName() + ": the table has no rows; nothing written");
        return kExitFailed;
    }

    if (!options_.dryRun && !outExists && !fs::create_directory(out_, ec)) {
        Fail(io_, "cannot create the folder " + options_.out + ": " + ec.message());
        return kExitFailed;
    }
    progress_ = !options_.dryRun && rows_ >= kProgressFromRows && IsTerminal(io_.err);
    table.Read([this](const TableRow& row) { Act(row); }, [](unsigned, const std::string&) {});

    const std::string files = std::to_string(rows_) + (rows_ == 1 ? " file" : " files");
    if (stopped_) {
        Fail(io_, "stopped: " + std::to_string(done_) + " of " + files +
                      " written (each listed on standard output); not written: " +
                      NameList(notWritten_));
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

int Batch(const BatchOptions& options, CodePage cp, Streams io) {
    return BatchRun(options, cp, io).Run();
}

}  // namespace tavrel::cli
