#pragma once
// CSV as RFC 4180 writes it, for the site tables: the records of a text, each with its
// row number and, when it is not well-formed, why; and fields quoted so that a
// spreadsheet reads them back unchanged.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/Result.h"

namespace tavrel::form {

// One record of CSV text.
struct CsvRow {
    // 1 for the first record. Every record counts, blank ones too, as a spreadsheet
    // numbers its rows; a line break inside quotes does not start a new record.
    unsigned number = 0;
    // Exactly as written: the quotes around a cell removed, "" inside them read as ", no
    // spaces trimmed. A row has at least one cell.
    std::vector<std::string> cells;
    // Why the row is not well-formed (its first fault), as a sentence that follows
    // "row N: "; its cells are then read as well as they can be.
    std::optional<Message> problem;

    friend bool operator==(const CsvRow&, const CsvRow&) = default;
};

// Every record of `text` (UTF-8 without a byte order mark; other bytes, NUL included, are
// kept in their cells). Cells are split at commas; a cell may be in double quotes, which
// hold commas, line breaks and quotes written as "". A record ends at CR LF, LF or CR
// outside quotes, and at the end of the text. Records without a single character are
// left out (their numbers are still counted). A quote inside a cell that does not start
// with one, text after a cell's closing quote, and a quoted cell still open at the end of
// the text are reported as the row's problem.
std::vector<CsvRow> ReadCsv(std::string_view text);

// The field as RFC 4180 writes it: in double quotes, with its quotes doubled, when it
// holds a comma, a quote, a CR or a LF; as it is otherwise.
std::string CsvField(std::string_view text);

// The fields as one record: quoted as needed, joined by commas, ending with CR LF. A
// record of one empty field is written as "" so that it is not read as a blank line.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace tavrel::form
