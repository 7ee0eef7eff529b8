#pragma once
// CSV (RFC 4180) for the settings tables of `batch` and `table`: reading a table whose
// header row names its columns, and writing fields quoted so that a spreadsheet reads
// them back unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SettingsKeys.h"

namespace tavrel::cli {

// The columns of a settings table: "name", then the settings keys.
inline constexpr std::size_t kTableColumns = 1 + std::tuple_size_v<decltype(kSettingsKeys)>;
// The header of `column` (below kTableColumns): "name", or the key's name.
std::string_view TableColumnName(std::size_t column);

// One row of a settings table.
struct TableRow {
    unsigned number = 0;  // in the file, the header being row 1; a cell may span lines
    // By column (see TableColumnName): the cell, or nothing when the table lacks the column.
    std::array<std::optional<std::string_view>, kTableColumns> cells;
};

// A settings table in CSV: UTF-8 with or without a byte order mark, rows ending in CR LF
// or LF, cells optionally in double quotes (which may hold commas, doubled quotes and
// line breaks). Cells are taken exactly as written: no spaces are trimmed.
class SettingsTable {
public:
    explicit SettingsTable(std::vector<std::uint8_t> text);

    using RowHandler = std::function<void(const TableRow&)>;
    using BadRowHandler = std::function<void(unsigned number, const std::string& reason)>;

    // Passes each row in order to `onRow`, and the number and reason of each row that is
    // not well-formed (a stray or unclosed quote, more or fewer cells than the header
    // has columns) to `onBadRow`; blank lines are skipped. Returns the reason when the
    // table as a whole is refused (no header, a column that is unknown or repeated, no
    // name column); no row is passed on then. The cells live until `onRow` returns.
    std::optional<std::string> Read(const RowHandler& onRow, const BadRowHandler& onBadRow) const;

private:
    std::vector<std::uint8_t> text_;             // line breaks inside quotes stand in as 0xFE 0xFF
    std::map<unsigned, std::string> badQuotes_;  // rows whose quotes are not well-formed
};

// The field as RFC 4180 writes it: in double quotes, with its quotes doubled, when it
// holds a comma, a quote, a CR or a LF; as it is otherwise.
std::string CsvField(std::string_view text);

// The fields as one record: quoted as needed, joined by commas, ending with CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);

}  // namespace tavrel::cli
