// The site tables' CSV: a reader that walks the text once, byte by byte (the characters
// that shape CSV are all ASCII, and no byte of a longer UTF-8 character is ASCII), and
// the writer that quotes only what needs it.
#include "form/Csv.h"

namespace tavrel::form {

namespace {

Message TextAfterClosingQuote() {
    return {"has text after the closing quote of a cell", "儲存格的結尾引號後面還有文字"};
}

Message QuoteInUnquotedCell() {
    return {
        "has a quote inside a cell that does not start with one (a cell in quotes writes a "
        "quote as \"\")",
        "不以引號開頭的儲存格裡有引號（以引號括住的儲存格要把引號寫成 \"\"）"};
}

Message QuotedCellNeverClosed() {
    return {"has a quoted cell that is never closed", "以引號開頭的儲存格沒有結尾的引號"};
}

class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    std::vector<CsvRow> Read() {
        row_.number = 1;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const char c = text_[i];
            if (state_ == State::Quoted) {
                if (c == '"') {
                    state_ = State::AfterQuote;
                } else {
                    cell_ += c;
                }
                continue;
            }
            if (c == ',') {
                EndCell();
            } else if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') {
                    ++i;
                }
                EndRecord();
            } else if (c == '"') {
                Quote();
            } else {
                if (state_ == State::AfterQuote) {
                    Fault(TextAfterClosingQuote());
                }
                Take(c);
            }
        }
        if (state_ == State::Quoted) {
            Fault(QuotedCellNeverClosed());
        }
        if (!blank_) {
            EndRecord();
        }
        return std::move(rows_);
    }

private:
    enum class State {
        CellStart,   // nothing of the cell read yet
        Unquoted,    // in a cell that does not start with a quote
        Quoted,      // inside a cell's quotes
        AfterQuote,  // just after a quote that ends a quoted cell, or starts a doubled one
    };

    // A quote outside a quoted cell's text.
    void Quote() {
        switch (state_) {
            case State::CellStart:
                blank_ = false;
                state_ = State::Quoted;
                break;
            case State::AfterQuote:
                cell_ += '"';
                state_ = State::Quoted;
                break;
            case State::Unquoted:
                // Kept as written, as the other readers that accept it do.
                Fault(QuoteInUnquotedCell());
                Take('"');
                break;
            case State::Quoted:
                break;  // handled by Read
        }
    }

    void Take(char c) {
        blank_ = false;
        cell_ += c;
        state_ = State::Unquoted;
    }

    void EndCell() {
        blank_ = false;
        row_.cells.push_back(std::move(cell_));
        cell_.clear();
        state_ = State::CellStart;
    }

    void EndRecord() {
        if (!blank_) {
            EndCell();
            rows_.push_back(std::move(row_));
        }
        row_ = CsvRow{};
        row_.number = ++number_;
        cell_.clear();
        blank_ = true;
        state_ = State::CellStart;
    }

    void Fault(Message why) {
        if (!row_.problem) {
            row_.problem = std::move(why);
        }
    }

    std::string_view text_;
    std::vector<CsvRow> rows_;
    CsvRow row_;
    unsigned number_ = 1;
    std::string cell_;
    bool blank_ = true;  // no character of the record read yet
    State state_ = State::CellStart;
};

}  // namespace

std::vector<CsvRow> ReadCsv(std::string_view text) {
    return CsvReader(text).Read();
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

std::string CsvLine(const std::vector<std::string>& fields) {
    if (fields.size() == 1 && fields[0].empty()) {
        return "\"\"\r\n";
    }
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            out += ',';
        }
        out += CsvField(fields[i]);
    }
    return out + "\r\n";
}

}  // namespace tavrel::form
