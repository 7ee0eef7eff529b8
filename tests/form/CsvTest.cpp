// The site tables' CSV reader and writer: records by number, quotes and line breaks of
// every kind, the faults named by row, and writing that reads back the same cells.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "form/Csv.h"
#include "form/Utf8.h"

namespace tavrel::form {

// Rows as the failure messages show them.
void PrintTo(const CsvRow& row, std::ostream* os) {
    *os << "row " << row.number << " {";
    for (const std::string& cell : row.cells) {
        *os << Quoted(Utf8ToUtf16(cell).value_or(u"(not UTF-8)")) << " ";
    }
    *os << "}" << (row.problem ? " " + row.problem->en : "");
}

namespace {

using namespace std::string_literals;

// The words the command line has always printed for these faults.
const std::string kAfterQuote = "has text after the closing quote of a cell";
const std::string kStrayQuote =
    "has a quote inside a cell that does not start with one (a cell in quotes writes a quote "
    "as \"\")";
const std::string kUnclosed = "has a quoted cell that is never closed";

struct Expected {
    unsigned number;
    std::vector<std::string> cells;
    std::string problem = "";  // English, or empty when the row is well-formed
};

TEST(ReadCsv, ReadsRecordsByTheirNumbers) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Expected> rows;
    };
    const std::vector<Case> cases{
        {"nothing", "", {}},
        {"LF rows", "name,ip\na,1\n", {{1, {"name", "ip"}}, {2, {"a", "1"}}}},
        {"CR LF rows", "name,ip\r\na,1\r\n", {{1, {"name", "ip"}}, {2, {"a", "1"}}}},
        {"CR rows", "name,ip\ra,1\rb,2", {{1, {"name", "ip"}}, {2, {"a", "1"}}, {3, {"b", "2"}}}},
        {"every row end mixed, none at the end",
         "a\r\nb\nc\rd",
         {{1, {"a"}}, {2, {"b"}}, {3, {"c"}}, {4, {"d"}}}},
        {"blank records left out but counted, LF CR being two row ends",
         "\nname\n\r\n\rdev\n\r\n",
         {{2, {"name"}}, {5, {"dev"}}}},
        {"quoted comma, doubled quotes and line breaks of each kind in one cell",
         "a,\"b,c \"\"q\"\"\r\nx\ny\rz\"\r\nnext\n",
         {{1, {"a", "b,c \"q\"\r\nx\ny\rz"}}, {2, {"next"}}}},
        {"a quoted line break does not start a record",
         "\"a\nb\"\nc\n\"\r\n\"\r",
         {{1, {"a\nb"}}, {2, {"c"}}, {3, {"\r\n"}}}},
        {"empty cells, quoted or not",
         "a,,\n,\n\"\"\n\"\",\"\"",
         {{1, {"a", "", ""}}, {2, {"", ""}}, {3, {""}}, {4, {"", ""}}}},
        {"spaces are text", " a ,\"  \", \n", {{1, {" a ", "  ", " "}}}},
        {"a closing quote before each row end",
         "\"a\"\r\"b\"\n\"c\"\r\n\"d\"",
         {{1, {"a"}}, {2, {"b"}}, {3, {"c"}}, {4, {"d"}}}},
        {"UTF-8 and NUL bytes kept",
         "大廳,\"密,鑰\"\na\0b\n"s,
         {{1, {"大廳", "密,鑰"}}, {2, {"a\0b"s}}}},
    };
    for (const Case& c : cases) {
        std::vector<CsvRow> expected;
        for (const Expected& e : c.rows) {
            expected.push_back({e.number, e.cells, std::nullopt});
        }
        EXPECT_EQ(ReadCsv(c.text), expected) << c.what;
    }
}

TEST(ReadCsv, NamesTheFirstQuoteFaultOfEachRow) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Expected> rows;  // the cells as well as they can be read
    };
    const std::vector<Case> cases{
        {"a quote inside a cell that does not start with one",
         "name,push\na,x\"y\"\nb,z\n",
         {{1, {"name", "push"}}, {2, {"a", "x\"y\""}, kStrayQuote}, {3, {"b", "z"}}}},
        {"a quote after a space", "a, \"b\"\n", {{1, {"a", " \"b\""}, kStrayQuote}}},
        {"text after the closing quote",
         "name\n\"x\"y,z\nok\n",
         {{1, {"name"}}, {2, {"xy", "z"}, kAfterQuote}, {3, {"ok"}}}},
        {"a space after the closing quote", "\"x\" ,y", {{1, {"x ", "y"}, kAfterQuote}}},
        {"the header's fault is row 1",
         "name,\"ringLimit\"x\n",
         {{1, {"name", "ringLimitx"}, kAfterQuote}}},
        {"a quoted cell never closed takes the rest of the text",
         "name,push\na,\"x\nb,y\n",
         {{1, {"name", "push"}}, {2, {"a", "x\nb,y\n"}, kUnclosed}}},
        {"never closed after a doubled quote", "\"a\"\"", {{1, {"a\""}, kUnclosed}}},
        {"only the first fault of a row",
         "a\"b,\"c\"d,\"e\n",
         {{1, {"a\"b", "cd", "e\n"}, kStrayQuote}}},
        {"faults after a quoted line break belong to its row",
         "h\n\"a\nb\"c\nd\n",
         {{1, {"h"}}, {2, {"a\nbc"}, kAfterQuote}, {3, {"d"}}}},
    };
    for (const Case& c : cases) {
        std::vector<CsvRow> expected;
        for (const Expected& e : c.rows) {
            CsvRow row{e.number, e.cells, std::nullopt};
            if (!e.problem.empty()) {
                row.problem = Message{e.problem, ""};
            }
            expected.push_back(row);
        }
        std::vector<CsvRow> rows = ReadCsv(c.text);
        for (CsvRow& row : rows) {
            if (row.problem) {
                EXPECT_TRUE(!row.problem->zh.empty() && Utf8ToUtf16(row.problem->zh)) << c.what;
                row.problem->zh.clear();
            }
        }
        EXPECT_EQ(rows, expected) << c.what;
    }
}

TEST(CsvLine, QuotesOnlyTheFieldsThatNeedIt) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", ""},
        {"plain 中文", "plain 中文"},
        {" spaces ", " spaces "},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line\r\nbreak", "\"line\r\nbreak\""},
        {"lf\n", "\"lf\n\""},
        {"cr\r", "\"cr\r\""},
    };
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(CsvField(text), field) << text;
    }
    EXPECT_EQ(CsvLine({"a", "", "b,c"}), "a,,\"b,c\"\r\n");
    EXPECT_EQ(CsvLine({""}), "\"\"\r\n");  // not a blank line
}

TEST(CsvLine, ReadsBackAsTheSameCells) {
    const std::vector<std::vector<std::string>> records{
        {"name", "pushAddress", "cipKey"},
        {""},
        {"", ""},
        {"\"", "\"\"", "a\"b", "\"quoted\""},
        {"a\r\nb", "\n", "\r", "\r\n\r\n", ","},
        {" lead", "trail ", "大廳", "a\0b"s},
    };
    std::string text;
    for (const auto& fields : records) {
        text += CsvLine(fields);
    }
    std::vector<CsvRow> expected;
    for (std::size_t i = 0; i < records.size(); ++i) {
        expected.push_back({static_cast<unsigned>(i + 1), records[i], std::nullopt});
    }
    EXPECT_EQ(ReadCsv(text), expected);
}

}  // namespace
}  // namespace tavrel::form
