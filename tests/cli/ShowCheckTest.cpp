// tavrel-cli show and check: what the form shows after loading a file, and what loading
// changes.
#include <gtest/gtest.h>

#include "Support.h"

namespace tavrel::cli::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The lines of `check` output that are warnings.
std::vector<std::string> Warnings(const Outcome& o) {
    std::vector<std::string> warnings;
    for (const std::string& line : Lines(o.out)) {
        if (line.rfind("  - ", 0) == 0) {
            warnings.push_back(line.substr(4));
        }
    }
    return warnings;
}

void ExpectWarnings(const std::vector<std::string>& warnings,
                    const std::vector<std::string>& phrases) {
    ASSERT_EQ(warnings.size(), phrases.size()) << ::testing::PrintToString(warnings);
    for (std::size_t i = 0; i < phrases.size(); ++i) {
        EXPECT_NE(warnings[i].find(phrases[i]), std::string::npos)
            << "warning " << i << ": " << warnings[i] << "\nexpected: " << phrases[i];
    }
}

TEST(Show, ListsTheFormFieldsInTheFormsOrder) {
    const TempFolder dir;
    WriteBytes(dir / "full.dat", Fixture("full-form.dat"));
    const Outcome o = RunCli({"show", Utf8(dir / "full.dat"), "--codepage", "950"});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::vector<std::string> expected{
        "位址模式:          使用下列的IP位址 (addressMode 0)",
        "IP位址:            192.168.0.20",
        "子網路遮罩:        255.255.255.0",
        "預設閘道:          192.168.0.1",
        "其他DNS 伺服器:    8.8.4.4",
        "慣用DNS伺服器:     8.8.8.8",
        "來電號碼推送位址:  http://push.example.com/call",
        "                   中文推送",
        "惡意佔用外線設定:  開啟 (lineGuardMode 1)",
        "來電響鈴超過:      3 聲，立即將電話接起後並掛斷來電",
        "CIPKEY:            密鑰Key123",
    };
    EXPECT_EQ(Lines(o.out), expected) << o.out;
}

TEST(Show, JsonHoldsEveryKeyInOrder) {
    const TempFolder dir;
    WriteBytes(dir / "full.dat", Fixture("full-form.dat"));
    const Outcome o = RunCli({"show", "--json", "--codepage", "950", Utf8(dir / "full.dat")});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, R"({
  "addressMode": 0,
  "ipAddress": "192.168.0.20",
  "subnetMask": "255.255.255.0",
  "defaultGateway": "192.168.0.1",
  "otherDnsServer": "8.8.4.4",
  "preferredDnsServer": "8.8.8.8",
  "pushAddress": "http://push.example.com/call\r\n中文推送",
  "lineGuardMode": 1,
  "ringLimit": 3,
  "cipKey": "密鑰Key123",
  "warnings": [],
  "hints": []
}
)");
}

TEST(Show, ForeignFileShowsWhatTheFormShowsWithItsWarnings) {
    const TempFolder dir;
    WriteBytes(dir / "foreign.dat", Fixture("foreign.dat"));
    const Outcome o = RunCli({"show", "--json", Utf8(dir / "foreign.dat")});
    ASSERT_EQ(o.status, 0) << o.err;
    for (const char* expected :
         {"\"addressMode\": 1", "\"ipAddress\": \"10.0.0.1\"",
          "\"subnetMask\": \"255.255.255.255\"", "\"defaultGateway\": \"255.255.255.255\"",
          "\"otherDnsServer\": \"255.255.255.255\"", "\"preferredDnsServer\": \"8.8.8.8\"",
          "\"lineGuardMode\": -1", "\"ringLimit\": -5", "\"cipKey\": \"abc\""}) {
        EXPECT_NE(o.out.find(expected), std::string::npos) << expected << "\n" << o.out;
    }

    const Outcome checked = RunCli({"check", Utf8(dir / "foreign.dat")});
    EXPECT_EQ(checked.status, 1);
    ExpectWarnings(
        Warnings(checked),
        {"address mode is stored as 2", "IP address is stored as \"10.1\"; the form shows 10.0.0.1",
         "subnet mask is empty; the form shows 255.255.255.255",
         "other DNS server is stored as \" 8.8.4.4\", which is not an address",
         "default gateway is stored as \"bogus\", which is not an address",
         "preferred DNS server has non-zero bytes after its terminator",
         "reserved area (offsets 324-387) holds 1 non-zero byte", "line guard is stored as 5"});
    for (const std::string& line : Lines(o.out)) {
        EXPECT_EQ(line.find("\"warnings\": []"), std::string::npos);
    }
}

TEST(Check, FilesTheDialogWritesPass) {
    const TempFolder dir;
    for (const char* name :
         {"fresh-form.dat", "full-form.dat", "foreign-saved.dat", "line-breaks.dat"}) {
        WriteBytes(dir / name, Fixture(name));
        const Outcome o = RunCli({"check", "--codepage", "950", Utf8(dir / name)});
        EXPECT_EQ(o.status, 0) << name << "\n" << o.out;
    }
}

// Files that no dialog writes, each built from a fixture with one fault.
TEST(Check, NamesEachFaultOfAFile) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
        std::string phrase;
    };
    const auto put16 = [](Bytes& b, std::size_t at, const std::u16string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            b[at + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
            b[at + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
        }
    };
    const std::vector<Case> cases{
        {"388 bytes", [](Bytes& b) { b.resize(388); }, "388 bytes long, not 1036"},
        {"1037 bytes", [](Bytes& b) { b.push_back(0); }, "bytes after the first 1036"},
        {"empty", [](Bytes& b) { b.clear(); }, "0 bytes long"},
        {"octal address", [&](Bytes& b) { put16(b, 4, u"010.0.0.1"); },
         "IP address is stored as \"010.0.0.1\"; the form shows 8.0.0.1"},
        {"address without terminator", [&](Bytes& b) { put16(b, 68, std::u16string(32, u'9')); },
         "subnet mask has no terminator within its 32 characters"},
        {"push address without terminator",
         [&](Bytes& b) { put16(b, 388, std::u16string(256, u'p')); },
         "push address has no terminator within its 256 characters"},
        {"push address longer than saving keeps",
         [&](Bytes& b) { put16(b, 388, std::u16string(255, u'p')); },
         "push address is 255 characters long; saving keeps only the first 253"},
        {"push address garbage after its end", [](Bytes& b) { b[890] = 1; },
         "push address has non-zero bytes after its terminator"},
        {"mode -1", [](Bytes& b) { b[0] = b[1] = b[2] = b[3] = 0xFF; }, "stored as -1"},
        {"key of 100 bytes", [](Bytes& b) { std::fill(b.begin() + 908, b.begin() + 1008, 'k'); },
         "key is 100 bytes long; saving keeps only the first 63"},
        {"key without terminator", [](Bytes& b) { std::fill(b.begin() + 908, b.end(), 'k'); },
         "key has no terminator within its 128 bytes"},
        {"key garbage after its end", [](Bytes& b) { b[1035] = 'x'; },
         "key has non-zero bytes after its terminator"},
        {"key bytes that are no text in 950",
         [](Bytes& b) {
             b[908] = 0xFF;
             b[909] = 0;
         },
         "key holds bytes that do not read back unchanged in code page 950"},
    };
    const TempFolder dir;
    for (const Case& c : cases) {
        Bytes bytes = Fixture("fresh-form.dat");
        c.spoil(bytes);
        WriteBytes(dir / "f.dat", bytes);
        const Outcome o = RunCli({"check", "--codepage", "950", Utf8(dir / "f.dat")});
        EXPECT_EQ(o.status, 1) << c.what;
        const std::vector<std::string> w = Warnings(o);
        EXPECT_TRUE(std::any_of(
            w.begin(), w.end(),
            [&](const std::string& s) { return s.find(c.phrase) != std::string::npos; }))
            << c.what << "\n"
            << o.out;
    }
}

TEST(Check, A388ByteFileWarnsOnlyOfItsSize) {
    const TempFolder dir;
    const Bytes full = Fixture("full-form.dat");
    WriteBytes(dir / "short.dat", Bytes(full.begin(), full.begin() + 388));
    const Outcome o = RunCli({"show", "--json", Utf8(dir / "short.dat")});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("\"ipAddress\": \"192.168.0.20\""), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("\"addressMode\": 0"), std::string::npos) << o.out;
    ExpectWarnings(Warnings(RunCli({"check", Utf8(dir / "short.dat")})),
                   {"The file is 388 bytes long, not 1036"});
}

TEST(Check, StandardInputAndUnreadableFiles) {
    const Bytes full = Fixture("full-form.dat");
    EXPECT_EQ(
        RunCli({"check", "-", "--codepage", "950"}, std::string(full.begin(), full.end())).status,
        0);
    const TempFolder dir;
    for (const std::string& file : {Utf8(dir / "none.dat"), Utf8(dir.path())}) {
        for (const char* command : {"show", "check"}) {
            const Outcome o = RunCli({command, file});
            EXPECT_EQ(o.status, 1) << command << " " << file;
            EXPECT_NE(o.err.find(file), std::string::npos) << o.err;
            EXPECT_EQ(o.out, "");
        }
    }
}

}  // namespace
}  // namespace tavrel::cli::test
