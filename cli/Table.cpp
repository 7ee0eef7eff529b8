// `table`: each file loaded as `show` loads it, its values formatted by the settings
// keys, printed as CSV or as columns aligned by their width on a terminal.
#include "cli/Table.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/Cli.h"
#include "cli/Csv.h"
#include "cli/Files.h"
#include "form/Utf8.h"

namespace tavrel::cli {

using namespace form;  // the text codec

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
    return plain ? cell : Quoted(Utf8ToUtf16(cell).value_or(u""));
}

}  // namespace

int Table(const std::vector<std::string>& files, bool csv, CodePage cp, Streams io) {
    int status = kExitSuccess;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (std::size_t i = 0; i < kTableColumns; ++i) {
        header.emplace_back(TableColumnName(i));
    }
    rows.push_back(header);

    for (const std::string& name : files) {
        if (name == "-") {
            Fail(io, "table reads files, not standard input: a row's name is its file's folder");
            status = kExitFailed;
            continue;
        }
        const std::string file = SettingsFileIn(name);
        const std::optional<LoadedSettings> loaded = LoadFile(file, cp, io);
        if (!loaded) {
            status = kExitFailed;
            continue;
        }
        if (!loaded->warnings.empty()) {
            Fail(io, file +
                         ": not what the dialog writes for the values it shows (see check); "
                         "its row holds what the form shows");
        }
        std::vector<std::string> row{FolderName(PathFromUtf8(file).parent_path())};
        for (const SettingsKey& key : kSettingsKeys) {
            row.push_back(key.format(loaded->values));
        }
        rows.push_back(std::move(row));
    }

    if (csv) {
        io.out << "\xEF\xBB\xBF";  // spreadsheet programs take UTF-8 only with its mark
        for (const std::vector<std::string>& row : rows) {
            io.out << CsvRecord(row);
        }
        return status;
    }
    std::vector<std::size_t> widths(kTableColumns, 0);
    for (std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < kTableColumns; ++i) {
            row[i] = Readable(row[i]);
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    }
    for (const std::vector<std::string>& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kTableColumns; ++i) {
            line += row[i];
            if (i + 1 < kTableColumns) {
                line += std::string(widths[i] + 2 - DisplayWidth(row[i]), ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        io.out << line << "\n";
    }
    return status;
}

}  // namespace tavrel::cli
