// Site tables: the header mapped to the columns, then each row checked cell by cell as
// the command line's options are, its name by the folder-name rules, and the rows
// compared for repeated names and fixed addresses.
#include "form/SiteTable.h"

#include <algorithm>
#include <array>
#include <map>

#include "form/Csv.h"
#include "form/FolderNames.h"
#include "form/NetworkHints.h"
#include "form/Sentences.h"
#include "form/Utf8.h"
#include "form/ValueChecks.h"

namespace tavrel::form {

namespace {

std::string ColumnList() {
    std::string list;
    for (std::size_t i = 0; i < kSiteColumns; ++i) {
        list += (i == 0 ? "" : ", ") + std::string(SiteColumnName(i));
    }
    return list;
}

Message InRow(unsigned row, std::string_view column, const Message& what) {
    const std::string n = std::to_string(row);
    if (column.empty()) {
        return Say(Sentence::InRow, {n, Arg(what.en, what.zh)});
    }
    return Say(Sentence::InRowColumn, {n, std::string(column), Arg(what.en, what.zh)});
}

// A number as a spreadsheet writes one it took from a cell: digits with an exponent
// ("1.23456789012346E+018").
bool IsSpreadsheetNumber(std::string_view text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i > from;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    if (!digits()) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits();
    }
    if (i >= text.size() || (text[i] != 'E' && text[i] != 'e')) {
        return false;
    }
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    return digits() && i == text.size();
}

class SiteTableReader {
public:
    SiteTableReader(CodePage cp, const SettingsValues& start, const FolderCheck& checkFolder)
        : cp_(cp), start_(start), checkFolder_(checkFolder) {}

    // Maps the header's cells to the columns; refused when it is not a header.
    std::optional<Message> ReadHeader(const CsvRow& header);
    void ReadRow(const CsvRow& row);
    SiteTable Take() { return std::move(table_); }

private:
    void Problem(unsigned row, std::string_view column, const Message& what) {
        table_.problems.push_back(InRow(row, column, what));
    }
    void Hint(unsigned row, std::string_view column, const Message& what) {
        table_.hints.push_back(InRow(row, column, what));
    }
    void SpreadsheetHints(unsigned row,
                          const std::array<std::optional<std::string>, kSiteColumns>&);

    CodePage cp_;
    const SettingsValues& start_;
    const FolderCheck& checkFolder_;
    SiteTable table_;
    std::vector<std::size_t> columnOf_;                // by header cell: its column
    std::map<std::string, unsigned> names_;            // folder-name key -> row
    std::map<AddressValue, unsigned> fixedAddresses_;  // -> the first row that has it
};

std::optional<Message> SiteTableReader::ReadHeader(const CsvRow& header) {
    if (header.problem) {
        return Say(Sentence::HeaderRow, {Arg(header.problem->en, header.problem->zh)});
    }
    std::array<bool, kSiteColumns> seen{};
    for (const std::string& cell : header.cells) {
        std::size_t column = 0;
        while (column < kSiteColumns && SiteColumnName(column) != cell) {
            ++column;
        }
        if (column == kSiteColumns) {
            return Say(Sentence::UnknownColumn, {QuotedUtf8(cell), ColumnList()});
        }
        if (seen[column]) {
            return Say(Sentence::RepeatedColumn, {QuotedUtf8(cell)});
        }
        seen[column] = true;
        columnOf_.push_back(column);
    }
    if (!seen[0]) {
        return Say(Sentence::NoNameColumn, {ColumnList()});
    }
    return std::nullopt;
}

void SiteTableReader::ReadRow(const CsvRow& row) {
    ++table_.rows;
    const std::size_t before = table_.problems.size();
    if (row.problem) {
        Problem(row.number, "", *row.problem);
    } else if (row.cells.size() != columnOf_.size()) {
        Problem(
            row.number, "",
            Say(row.cells.size() > columnOf_.size() ? Sentence::MoreCells : Sentence::FewerCells));
    }
    if (table_.problems.size() != before) {
        ++table_.refusedRows;
        return;
    }

    std::array<std::optional<std::string>, kSiteColumns> cells;
    for (std::size_t i = 0; i < columnOf_.size(); ++i) {
        cells[columnOf_[i]] = row.cells[i];
    }
    SiteDevice device{row.number, cells[0].value_or(""), start_};
    if (const std::optional<Message> problem = FolderNameProblem(device.name)) {
        Problem(row.number, "name", *problem);
    } else if (checkFolder_) {
        if (const std::optional<Message> problem = checkFolder_(device.name)) {
            Problem(row.number, "name", *problem);
        }
    }
    for (std::size_t i = 1; i < kSiteColumns; ++i) {
        const Field& field = kFields[i - 1];
        if (cells[i] && !cells[i]->empty()) {
            const Result<Done> read = field.read(*cells[i], cp_, device.values);
            for (const Message& m : read.Reasons()) {
                Problem(row.number, field.key, m);
            }
        }
    }
    const bool passed = table_.problems.size() == before;
    if (!device.name.empty()) {
        const auto [first, added] = names_.try_emplace(FolderNameKey(device.name), row.number);
        if (!added) {
            Problem(row.number, "name",
                    Say(Sentence::NameRepeated,
                        {QuotedUtf8(device.name), std::to_string(first->second)}));
        }
    }
    if (table_.problems.size() != before) {
        ++table_.refusedRows;
    }
    if (!passed) {
        return;
    }
    const Message which = Say(Sentence::RowOfDevice, {std::to_string(row.number), device.name});
    for (const Message& h : NetworkHints(device.values)) {
        table_.hints.push_back(Say(Sentence::About, {which, h}));
    }
    if (!device.values.automaticAddress) {
        const auto [first, added] =
            fixedAddresses_.try_emplace(device.values.ipAddress, row.number);
        if (!added) {
            table_.hints.push_back(
                SameAddressHint(device.values.ipAddress, which,
                                Say(Sentence::Row, {std::to_string(first->second)})));
        }
    }
    SpreadsheetHints(row.number, cells);
    if (table_.problems.size() == before) {
        table_.devices.push_back(std::move(device));
    }
}

void SiteTableReader::SpreadsheetHints(
    unsigned row, const std::array<std::optional<std::string>, kSiteColumns>& cells) {
    for (std::size_t i = 0; i < kSiteColumns; ++i) {
        const bool text = i == 0 || !kFields[i - 1].number;
        if (!text || !cells[i]) {
            continue;
        }
        const std::string_view column = SiteColumnName(i);
        if (IsSpreadsheetNumber(*cells[i])) {
            Hint(row, column, Say(Sentence::SpreadsheetNumber, {QuotedUtf8(*cells[i])}));
        }
        if ((column == "cipKey" || column == "pushAddress") &&
            cells[i]->find('?') != std::string::npos) {
            Hint(row, column, Say(Sentence::QuestionMarks));
        }
    }
}

}  // namespace

std::string_view SiteColumnName(std::size_t column) {
    return column == 0 ? "name" : kFields[column - 1].key;
}

Result<SiteTable> ReadSiteTable(std::string_view bytes, CodePage cp, const SettingsValues& start,
                                const FolderCheck& checkFolder) {
    Result<TableText> text = DecodeTable(bytes, cp);
    if (!text) {
        return Result<SiteTable>(text.Reasons());
    }
    const std::vector<CsvRow> rows = ReadCsv(text->utf8);
    if (rows.empty()) {
        return Say(Sentence::TableEmpty, {ColumnList()});
    }
    SiteTableReader reader(cp, start, checkFolder);
    if (const std::optional<Message> refused = reader.ReadHeader(rows.front())) {
        return *refused;
    }
    for (std::size_t i = 1; i < rows.size(); ++i) {
        // A line of nothing but spaces and tabs is a blank line, as spreadsheets see it.
        const std::vector<std::string>& cells = rows[i].cells;
        if (!rows[i].problem && cells.size() == 1 &&
            cells[0].find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        reader.ReadRow(rows[i]);
    }
    SiteTable table = reader.Take();
    table.encoding = text->encoding;
    return table;
}

std::vector<std::string_view> ChangedFields(const SettingsValues& before,
                                            const SettingsValues& after) {
    std::vector<std::string_view> changed;
    for (const Field& field : kFields) {
        if (field.write(before) != field.write(after)) {
            changed.push_back(field.key);
        }
    }
    return changed;
}

std::vector<std::vector<std::string>> SiteTableCells(const std::vector<SiteDevice>& devices) {
    std::vector<std::vector<std::string>> rows(1);
    for (std::size_t i = 0; i < kSiteColumns; ++i) {
        rows[0].emplace_back(SiteColumnName(i));
    }
    for (const SiteDevice& d : devices) {
        std::vector<std::string>& row = rows.emplace_back(1, d.name);
        for (const Field& field : kFields) {
            row.push_back(field.write(d.values));
        }
    }
    return rows;
}

std::string SiteTableCsv(const std::vector<SiteDevice>& devices) {
    std::string csv = "\xEF\xBB\xBF";  // spreadsheet programs take UTF-8 only with its mark
    for (const std::vector<std::string>& row : SiteTableCells(devices)) {
        csv += CsvLine(row);
    }
    return csv;
}

}  // namespace tavrel::form
