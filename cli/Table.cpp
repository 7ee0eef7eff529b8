// `table FILE...`: settings files back to one row each, in the columns that `batch`
// reads, named after the folder that holds the file, so that a site's files can be edited
// in a spreadsheet and written again: CSV with --csv, else columns aligned for reading.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/Command.h"
#include "cli/Files.h"
#include "form/Csv.h"
#include "form/SiteTable.h"
#include "form/Utf8.h"

namespace tavrel::cli {

namespace {

namespace fs = std::filesystem;

// The last name of the folder `folder`, however it is written ("site/dev1/", ".").
std::string FolderName(const fs::path& folder) {
    std::error_code ec;
    fs::path p = fs::absolute(folder.empty() ? fs::path(".") : folder, ec).lexically_normal();
    if (!p.has_filename()) {
        p = p.parent_path();
    }
    return PathToUtf8(p.filename());
}

// A cell as the aligned listing shows it: control characters (line breaks) escaped.
std::string Readable(const std::string& cell) {
    const bool plain = std::none_of(cell.begin(), cell.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    return plain ? cell : form::Quoted(form::Utf8ToUtf16(cell).value_or(u""));
}

void PrintAligned(std::ostream& out, const std::vector<form::SiteDevice>& devices) {
    std::vector<std::vector<std::string>> rows = form::SiteTableCells(devices);
    std::vector<std::size_t> widths(form::kSiteColumns, 0);
    for (std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < form::kSiteColumns; ++i) {
            row[i] = Readable(row[i]);
            widths[i] = std::max(widths[i], form::DisplayWidth(row[i]));
        }
    }
    for (const std::vector<std::string>& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < form::kSiteColumns; ++i) {
            line += row[i];
            if (i + 1 < form::kSiteColumns) {
                line += std::string(widths[i] + 2 - form::DisplayWidth(row[i]), ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    }
}

int Table(const std::vector<std::string>& files, bool csv, const Context& context) {
    int status = kExitSuccess;
    std::vector<form::SiteDevice> devices;
    for (std::string file : files) {
        if (file == "-") {
            PrintError(context.io,
                       "table reads files, not standard input: a row's name is its file's folder");
            status = kExitFailed;
            continue;
        }
        const std::optional<form::LoadedSettings> loaded = LoadSettingsFile(file, context);
        if (!loaded) {
            status = kExitFailed;
            continue;
        }
        if (!loaded->warnings.empty()) {
            PrintError(context.io, file +
                                       ": not what the dialog writes for the values it shows (see "
                                       "check); its row holds what the form shows");
        }
        devices.push_back({0, FolderName(PathFromUtf8(file).parent_path()), loaded->values});
    }
    if (csv) {
        context.io.out << form::SiteTableCsv(devices);
    } else {
        PrintAligned(context.io.out, devices);
    }
    return status;
}

}  // namespace

void AddTableCommand(CLI::App& app, Context& context) {
    struct Options {
        std::vector<std::string> files;
        bool csv = false;
    };
    const auto o = std::make_shared<Options>();
    CLI::App* table = app.add_subcommand(
        "table", "Print one row per settings file, in the columns that batch reads");
    table->add_option("FILE", o->files, "Settings files, or folders holding device_config.dat")
        ->required()
        ->type_name("");
    table->add_flag("--csv", o->csv, "Print CSV for a spreadsheet or for batch");
    table->callback([o, &context] {
        context.command = [o, &context] { return Table(o->files, o->csv, context); };
    });
}

}  // namespace tavrel::cli
