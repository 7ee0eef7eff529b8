// Tables through libfccp's CSV reader, after a pass of our own over the text that tells
// well-formed quotes from bad ones and hides line breaks inside quotes from the reader.
#include "cli/Csv.h"

#include <utility>

// Reading is synchronous: a table is read whole before any of it is used.
#define CSV_IO_NO_THREAD
#if defined(__GNUC__)
#pragma GCC diagnostic push
// The library cuts file names for its messages on purpose.
#pragma GCC diagnostic ignored "-Wstringop-truncation"
#endif
#include <libfccp/csv.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace tavrel::cli {

namespace {

// The library splits rows at every LF before it looks at quotes, so a line break inside
// quotes is handed to it as one of these bytes, which never occur in UTF-8, and turned
// back in each cell. Raw bytes of these values (and NUL, which would end a cell early)
// become 0xC0, also never in UTF-8, so that the cell is refused as not being UTF-8.
constexpr std::uint8_t kQuotedCr = 0xFE;
constexpr std::uint8_t kQuotedLf = 0xFF;
constexpr std::uint8_t kNotUtf8 = 0xC0;

using Reader = io::CSVReader<kTableColumns, io::trim_chars<>, io::double_quote_escape<',', '"'>,
                             io::throw_on_overflow, io::empty_line_comment>;

template <std::size_t... I>
void ReadHeader(Reader& reader, std::index_sequence<I...>) {
    reader.read_header(io::ignore_missing_column, "name", kSettingsKeys[I].name...);
}

template <std::size_t... I>
bool ReadRow(Reader& reader, std::array<char*, kTableColumns>& cells, std::index_sequence<I...>) {
    return reader.read_row(cells[I]...);
}

std::string ColumnList() {
    std::string list;
    for (std::size_t i = 0; i < kTableColumns; ++i) {
        list += (i == 0 ? "" : ", ") + std::string(TableColumnName(i));
    }
    return list;
}

std::string_view RestoreLineBreaks(char* cell) {
    char* end = cell;
    for (; *end != '\0'; ++end) {
        if (static_cast<std::uint8_t>(*end) == kQuotedCr) {
            *end = '\r';
        } else if (static_cast<std::uint8_t>(*end) == kQuotedLf) {
            *end = '\n';
        }
    }
    return std::string_view(cell, static_cast<std::size_t>(end - cell));
}

}  // namespace

std::string_view TableColumnName(std::size_t column) {
    return column == 0 ? "name" : kSettingsKeys[column - 1].name;
}

SettingsTable::SettingsTable(std::vector<std::uint8_t> text) : text_(std::move(text)) {
    enum class State { CellStart, Unquoted, Quoted, AfterQuote } state = State::CellStart;
    unsigned row = 1;
    const auto bad = [&](const char* reason) { badQuotes_.try_emplace(row, reason); };
    const bool bom = text_.size() >= 3 && text_[0] == 0xEF && text_[1] == 0xBB && text_[2] == 0xBF;
    for (std::size_t i = bom ? 3 : 0; i < text_.size(); ++i) {
        std::uint8_t& c = text_[i];
        if (c == '\0' || c == kQuotedCr || c == kQuotedLf) {
            c = kNotUtf8;
        }
        switch (state) {
            case State::Quoted:
                if (c == '"') {
                    state = State::AfterQuote;
                } else if (c == '\r') {
                    c = kQuotedCr;
                } else if (c == '\n') {
                    c = kQuotedLf;
                }
                continue;
            case State::AfterQuote:
                if (c == '"') {
                    state = State::Quoted;
                    continue;
                }
                if (c != ',' && c != '\n' &&
                    !(c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')) {
                    bad("has text after the closing quote of a cell");
                    state = State::Unquoted;
                }
                break;
            case State::CellStart:
                if (c == '"') {
                    state = State::Quoted;
                    continue;
                }
                break;
            case State::Unquoted:
                break;
        }
        if (c == ',') {
            state = State::CellStart;
        } else if (c == '\n') {
            state = State::CellStart;
            ++row;
        } else if (c == '"') {
            bad("has a quote inside a cell that does not start with one (a cell in quotes "
                "writes a quote as \"\")");
            state = State::Unquoted;
        } else if (c != '\r' || state != State::AfterQuote) {
            state = State::Unquoted;
        }
    }
    if (state == State::Quoted) {
        bad("has a quoted cell that is never closed");
    }
}

std::optional<std::string> SettingsTable::Read(const RowHandler& onRow,
                                               const BadRowHandler& onBadRow) const {
    constexpr auto kKeys = std::make_index_sequence<kTableColumns - 1>();
    const char* text = reinterpret_cast<const char*>(text_.data());
    Reader reader("table", text, text + text_.size());
    std::optional<std::string> refused;
    try {
        ReadHeader(reader, kKeys);
    } catch (const io::error::header_missing&) {
        refused = "the table is empty; its first row must name the columns (" + ColumnList() + ")";
    } catch (const io::error::extra_column_in_header& e) {
        refused = "the header names the column \"" + std::string(e.column_name) +
                  "\", which is not one of " + ColumnList();
    } catch (const io::error::duplicated_column_in_header& e) {
        refused = "the header names the column \"" + std::string(e.column_name) + "\" twice";
    } catch (const io::error::base& e) {
        refused = "the header row cannot be read: " + std::string(e.what());
    }
    if (const auto quote = badQuotes_.find(reader.get_file_line()); quote != badQuotes_.end()) {
        return "the header row " + quote->second;
    }
    if (refused) {
        return refused;
    }
    if (!reader.has_column("name")) {
        return "the table has no name column; its header must name it (the columns are " +
               ColumnList() + ")";
    }

    std::array<char*, kTableColumns> cells{};
    TableRow row;
    while (true) {
        try {
            if (!ReadRow(reader, cells, std::make_index_sequence<kTableColumns>())) {
                break;
            }
        } catch (const io::error::line_length_limit_exceeded&) {
            onBadRow(reader.get_file_line(), "is too long to be a row of a settings table");
            break;  // the reader cannot step past such a row
        } catch (const io::error::base& e) {
            const unsigned number = reader.get_file_line();
            const auto quote = badQuotes_.find(number);
            if (quote != badQuotes_.end()) {
                onBadRow(number, quote->second);
            } else if (dynamic_cast<const io::error::too_many_columns*>(&e)) {
                onBadRow(number, "has more cells than the header has columns");
            } else if (dynamic_cast<const io::error::too_few_columns*>(&e)) {
                onBadRow(number, "has fewer cells than the header has columns");
            } else {
                onBadRow(number, e.what());
            }
            continue;
        }
        row.number = reader.get_file_line();
        if (const auto quote = badQuotes_.find(row.number); quote != badQuotes_.end()) {
            onBadRow(row.number, quote->second);
            continue;
        }
        for (std::size_t i = 0; i < kTableColumns; ++i) {
            row.cells[i] = cells[i] ? std::optional(RestoreLineBreaks(cells[i])) : std::nullopt;
            cells[i] = nullptr;
        }
        onRow(row);
    }
    return std::nullopt;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            out += ',';
        }
        out += CsvField(fields[i]);
    }
    return out + "\r\n";
}

}  // namespace tavrel::cli
