// A table's bytes as text: UTF-8 with or without its byte order mark, code page 950 as a
// spreadsheet on a Traditional Chinese Windows saves "CSV", and the encodings refused
// with what to do.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/TableText.h"
#include "form/Utf8.h"

namespace tavrel::form {
namespace {

using namespace std::string_literals;

constexpr CodePage kBig5 = kTraditionalChineseCodePage;

TEST(DecodeTable, ReadsUtf8AndCodePageTables) {
    struct Case {
        const char* what;
        std::string bytes;
        CodePage cp;
        std::string text;
        TableEncoding encoding;
    };
    const std::vector<Case> cases{
        {"UTF-8", "name\r\n大廳\r\n", kBig5, "name\r\n大廳\r\n", TableEncoding::Utf8},
        {"a byte order mark is dropped", "\xEF\xBB\xBFname\n大廳\n", kBig5, "name\n大廳\n",
         TableEncoding::Utf8},
        {"ASCII", "name\na\n", kBig5, "name\na\n", TableEncoding::Utf8},
        {"empty", "", kBig5, "", TableEncoding::Utf8},
        {"code page 950", "name,cipKey\r\n\xA4\x6A\xC6\x55,\xB1\x4B\xC6\x5F\r\n", kBig5,
         "name,cipKey\r\n大廳,密鑰\r\n", TableEncoding::CodePage},
        {"code page 950 keeps NUL and gives ? for what it cannot decode", "a\0\xA4\x6A,\xFF\n"s,
         kBig5, "a\0大,?\n"s, TableEncoding::CodePage},
        // Declared UTF-8: its bad cells are for the row checks to name.
        {"a byte order mark before bytes that are not UTF-8", "\xEF\xBB\xBFname\n\xA4\x6A\n", kBig5,
         "name\n\xA4\x6A\n", TableEncoding::Utf8},
        {"code page UTF-8", "name\n\xA4\x6A\n", kUtf8CodePage, "name\n\xA4\x6A\n",
         TableEncoding::Utf8},
        {"a NUL that is not UTF-16", "n\0\xE5\xA4\xA7\n"s, kBig5, "n\0大\n"s, TableEncoding::Utf8},
    };
    for (const Case& c : cases) {
        const Result<TableText> table = DecodeTable(c.bytes, c.cp);
        ASSERT_TRUE(table) << c.what << ": " << table.Reasons()[0].en;
        EXPECT_EQ(table->utf8, c.text) << c.what;
        EXPECT_EQ(table->encoding, c.encoding) << c.what;
    }
}

TEST(DecodeTable, RefusesUtf16AndMisreadTablesSayingWhatToDo) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string phrase;
    };
    const std::string utf16le = "n\0a\0m\0e\0\r\0\n\0"s;
    const std::string utf16be = "\0n\0a\0m\0e\0\r\0\n"s;
    const std::string save = "save it as CSV UTF-8";
    const std::string misread = "the table was opened in the wrong character set: open it as UTF-8";
    const std::vector<Case> cases{
        {"UTF-16 LE with its mark", "\xFF\xFE" + utf16le, "UTF-16 text (little-endian): " + save},
        {"UTF-16 BE with its mark", "\xFE\xFF" + utf16be, "UTF-16 text (big-endian): " + save},
        {"UTF-16 LE", utf16le, "UTF-16 text (little-endian): " + save},
        {"UTF-16 BE", utf16be, "UTF-16 text (big-endian): " + save},
        {"only the mark of UTF-16 LE", "\xFF\xFE", "little-endian"},
        {"UTF-16 LE of Chinese text with its mark", "\xFF\xFE\x27\x59", "little-endian"},
        {"a misread mark, saved again with a mark", "\xEF\xBB\xBFï»¿name\r\na\r\n", misread},
        {"a misread mark, saved again without one", "ï»¿name\na\n", misread},
        {"a misread mark in a quoted first cell", "\"ï»¿name\"\na\n", misread},
    };
    for (const Case& c : cases) {
        const Result<TableText> table = DecodeTable(c.bytes, kBig5);
        ASSERT_FALSE(table) << c.what;
        ASSERT_EQ(table.Reasons().size(), 1u) << c.what;
        const Message& why = table.Reasons()[0];
        EXPECT_NE(why.en.find(c.phrase), std::string::npos) << c.what << ": " << why.en;
        EXPECT_TRUE(!why.zh.empty() && Utf8ToUtf16(why.zh)) << c.what;
    }
}

}  // namespace
}  // namespace tavrel::form
