// tavrel-cli batch: what a table writes, what it refuses (and then writes nothing), and a
// run that stops part-way.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "Support.h"

#ifndef _WIN32
#include "tests/record/LockedFolder.h"
#endif

namespace tavrel::cli::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// `text` followed by spaces to `width` columns.
std::string Pad(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

// Every file and folder below `folder`, by path relative to it with '/' between names,
// with its bytes.
std::map<std::string, Bytes> Tree(const fs::path& folder) {
    std::map<std::string, Bytes> files;
    if (fs::exists(folder)) {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::u8string name = fs::relative(entry.path(), folder).generic_u8string();
            files[std::string(name.begin(), name.end())] =
                entry.is_regular_file() ? ReadBytes(entry.path()) : Bytes{};
        }
    }
    return files;
}

// What `write --json-in` writes for the JSON object: the same checks and the same bytes
// that a row with those cells must give.
Bytes Written(const std::string& json, const std::vector<std::string>& extra = {}) {
    const TempFolder dir;
    std::vector<std::string> args{"write", Utf8(dir.path()), "--json-in", "-", "--codepage", "950"};
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome o = RunCli(args, json);
    EXPECT_EQ(o.status, 0) << json << ": " << o.err;
    return ReadBytes(dir / "device_config.dat");
}

Outcome Batch(const TempFolder& dir, const std::string& csv, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"batch", "-", "--out", Utf8(dir / "site"), "--codepage", "950"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args, csv);
}

TEST(Batch, EachRowWritesWhatWriteWritesForItsCells) {
    struct Case {
        const char* what;
        std::string csv;
        std::map<std::string, std::string> devices;  // folder name -> the same values as JSON
    };
    const std::vector<Case> cases{
        {"LF rows",
         "name,ipAddress\ndev1,10.0.0.5\ndev2,10.0.0.6\n",
         {{"dev1", R"({"ipAddress": "10.0.0.5"})"}, {"dev2", R"({"ipAddress": "10.0.0.6"})"}}},
        {"byte order mark, CR LF rows, quoted header and names",
         "\xEF\xBB\xBF\"name\",\"ringLimit\"\r\n\"dev1\",5\r\n",
         {{"dev1", R"({"ringLimit": 5})"}}},
        {"quoted comma, doubled quotes, a line break of either kind",
         "name,pushAddress\r\ndev1,\"a,b \"\"c\"\"\r\nline2\"\r\ndev2,\"x\ny\"\r\n",
         {{"dev1", R"({"pushAddress": "a,b \"c\"\r\nline2"})"},
          {"dev2", R"({"pushAddress": "x\r\ny"})"}}},
        {"Chinese names and values",
         "name,cipKey,pushAddress\n設備一,密鑰,中文推送\n",
         {{"設備一", R"({"cipKey": "密鑰", "pushAddress": "中文推送"})"}}},
        {"empty cells keep the fresh form, blank lines, no line break at the end",
         "name,ipAddress,subnetMask\n\ndev1,,255.255.0.0\n\ndev2,10.0.0.2,",
         {{"dev1", R"({"subnetMask": "255.255.0.0"})"}, {"dev2", R"({"ipAddress": "10.0.0.2"})"}}},
        {"the numbers at their limits",
         "name,addressMode,lineGuardMode,ringLimit\na,0,-1,-2147483648\nb,1,1,2147483647\n",
         {{"a", R"({"addressMode": 0, "lineGuardMode": -1, "ringLimit": -2147483648})"},
          {"b", R"({"addressMode": 1, "lineGuardMode": 1, "ringLimit": 2147483647})"}}},
        {"a cell that is only spaces is a value, not empty",
         "name,cipKey\ndev1,\"  \"\n",
         {{"dev1", R"({"cipKey": "  "})"}}},
    };
    for (const Case& c : cases) {
        const TempFolder dir;
        const Outcome o = Batch(dir, c.csv);
        ASSERT_EQ(o.status, 0) << c.what << ": " << o.err;
        std::map<std::string, Bytes> expected;
        for (const auto& [name, json] : c.devices) {
            expected[name] = {};
            expected[name + "/device_config.dat"] = Written(json);
        }
        EXPECT_EQ(Tree(dir / "site"), expected) << c.what;
        EXPECT_NE(o.out.find("wrote " + std::to_string(c.devices.size()) + " file"),
                  std::string::npos)
            << c.what << ": " << o.out;
    }
}

TEST(Batch, EveryColumnInAnyOrderGivesTheFullFormFixture) {
    const TempFolder dir;
    const Outcome o =
        Batch(dir,
              "cipKey,ringLimit,lineGuardMode,pushAddress,preferredDnsServer,"
              "otherDnsServer,defaultGateway,subnetMask,ipAddress,addressMode,name\r\n"
              "密鑰Key123,3,1,\"http://push.example.com/call\r\n中文推送\",8.8.8.8,"
              "8.8.4.4,192.168.0.1,255.255.255.0,192.168.0.20,0,設定\r\n");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "site/設定" / "device_config.dat"), Fixture("full-form.dat"));
    EXPECT_EQ(o.err, "");  // sound values give no hints
    EXPECT_NE(o.out.find("設定  fixed 192.168.0.20"), std::string::npos) << o.out;
}

TEST(Batch, RowsStartFromTheBaseFile) {
    const TempFolder dir;
    WriteBytes(dir / "full.dat", Fixture("full-form.dat"));
    const Outcome o = Batch(dir, "name,ipAddress,cipKey\na,192.168.0.31,\nb,192.168.0.32,other\n",
                            {"--base", Utf8(dir / "full.dat")});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::vector<std::string> base{"--base", Utf8(dir / "full.dat")};
    const TempFolder expect;
    ASSERT_EQ(RunCli({"write", Utf8(expect / "a.dat"), "--base", Utf8(dir / "full.dat"), "--ip",
                      "192.168.0.31", "--codepage", "950"})
                  .status,
              0);
    ASSERT_EQ(RunCli({"write", Utf8(expect / "b.dat"), "--base", Utf8(dir / "full.dat"), "--ip",
                      "192.168.0.32", "--key", "other", "--codepage", "950"})
                  .status,
              0);
    EXPECT_EQ(ReadBytes(dir / "site" / "a" / "device_config.dat"), ReadBytes(expect / "a.dat"));
    EXPECT_EQ(ReadBytes(dir / "site" / "b" / "device_config.dat"), ReadBytes(expect / "b.dat"));
}

TEST(Batch, ReplacesEarlierFilesInFoldersThatExist) {
    const TempFolder dir;
    fs::create_directories(dir / "site" / "dev1");
    WriteBytes(dir / "site" / "dev1" / "device_config.dat", ToBytes("old"));
    WriteBytes(dir / "site" / "dev1" / "notes.txt", ToBytes("kept"));
    const Outcome o = Batch(dir, "name,ringLimit\ndev1,4\n");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "site" / "dev1" / "device_config.dat"),
              Written(R"({"ringLimit": 4})"));
    EXPECT_EQ(ReadBytes(dir / "site" / "dev1" / "notes.txt"), ToBytes("kept"));
}

// One table with a fault in many rows: each is named with its row and column, and
// nothing at all is written, not even the rows that are sound.
TEST(Batch, ListsEveryBadRowAndWritesNothing) {
    // A byte order mark: the table says it is UTF-8 text, so a cell that is not is refused.
    const std::string csv =
        "\xEF\xBB\xBFname,addressMode,ipAddress,lineGuardMode,ringLimit,pushAddress,cipKey\n"
        "good,0,10.0.0.1,0,1,,\n"
        "m,2,,,,,\n"
        "ip,,10.0.0.256,,,,\n"
        "g,,,2,,,\n"
        "r,,,,3.5,,\n"
        "p,,,,,\"" +
        std::string(251, 'p') +
        "\",\n"
        "k,,,,,,\"" +
        std::string(64, 'k') +
        "\"\n"
        "u,,,,,\xFF,\n" +
        "n,,,,,a\x01\x00z,\n"s +
        "c,,,,,,\xF0\x9F\x98\x80\n"
        "several,x,1.2.3,,,,\n"
        "good2,1,,,,,\n";
    const TempFolder dir;
    const Outcome o = Batch(dir, csv);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    for (const char* phrase :
         {"row 3, addressMode: \"2\"", "row 4, ipAddress: \"10.0.0.256\" is not an address",
          "row 5, lineGuardMode", "row 6, ringLimit", "row 7, pushAddress: is 251 characters",
          "row 8, cipKey: takes 64 bytes", "row 9, pushAddress: is not valid UTF-8",
          "row 10, pushAddress", "row 11, cipKey: has characters that code page 950 cannot hold",
          "row 12, addressMode", "row 12, ipAddress", "10 of 12 rows refused; nothing written"}) {
        EXPECT_NE(o.err.find(phrase), std::string::npos) << phrase << "\n" << o.err;
    }
    EXPECT_FALSE(fs::exists(dir / "site"));
}

TEST(Batch, RefusesNamesThatAreNotOneFolderOnBothSystems) {
    struct Case {
        std::string name;
        const char* phrase;
    };
    const std::vector<Case> cases{
        {"", "is empty"},
        {"a/b", "path separator"},
        {"a\\b", "path separator"},
        {".", "not a folder of its own"},
        {"..", "not a folder of its own"},
        {"CON", "reserves"},
        {"con.txt", "reserves"},
        {"Lpt1 .x", "reserves"},
        {"COM\u00B9", "reserves"},
        {"dev.", "ends with a dot or a space"},
        {"\"dev \"", "ends with a dot or a space"},
        {"a:b", "':'"},
        {"a*b", "'*'"},
        {"\"a\"\"b\"", "'\"'"},
        {"\"a\tb\"", "control character"},
        {"\xC0", "not valid UTF-8"},
        {std::string(256, 'n'), "255 bytes"},
        {Repeat("設", 86), "255 bytes"},  // 258 bytes in UTF-8
    };
    for (const Case& c : cases) {
        const TempFolder dir;
        // With a byte order mark the table is UTF-8 text, and a name that is not is refused.
        const Outcome o = Batch(dir, "\xEF\xBB\xBFname,ringLimit\n" + c.name + ",1\nok,1\n");
        EXPECT_EQ(o.status, 1) << c.name;
        EXPECT_NE(o.err.find("row 2, name"), std::string::npos) << c.name << ": " << o.err;
        EXPECT_NE(o.err.find(c.phrase), std::string::npos) << c.name << ": " << o.err;
        EXPECT_FALSE(fs::exists(dir / "site")) << c.name;
    }
}

TEST(Batch, AcceptsNamesAtTheEdgeOfTheRules) {
    const TempFolder dir;
    std::string csv = "name\nCONSOLE\nCOM10\n.hidden\n dev\nnul-box\n";
#ifndef _WIN32
    // Windows paths end at 260 characters, before such a name fits in one.
    csv += std::string(255, 'n') + "\n" + Repeat("設", 85) + "\n";  // 255 bytes each
#endif
    const Outcome o = Batch(dir, csv);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Tree(dir / "site").size(),
              2 * static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n') - 1));
}

TEST(Batch, RefusesARepeatedNameInAnyCase) {
    const TempFolder dir;
    const Outcome o = Batch(dir, "name\ndev1\ndev2\nDEV1\ndev1\n");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("row 4, name: \"DEV1\" repeats the name of row 2"), std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("row 5, name: \"dev1\" repeats the name of row 2"), std::string::npos)
        << o.err;
    EXPECT_FALSE(fs::exists(dir / "site"));
}

TEST(Batch, RefusesTablesThatAreNotWellFormed) {
    struct Case {
        const char* what;
        std::string csv;
        const char* phrase;
    };
    const std::vector<Case> cases{
        {"empty", "", "the table is empty"},
        {"header only", "name,ipAddress\r\n", "has no rows"},
        {"unknown column", "name,ipAddress,colour\ndev,1.2.3.4,red\n",
         "\"colour\", which is not one of name, addressMode"},
        {"column with spaces", "name, ipAddress\n", "\" ipAddress\""},
        {"repeated column", "name,ringLimit,ringLimit\n", "\"ringLimit\" twice"},
        {"no name column", "ipAddress\n10.0.0.1\n", "no name column"},
        {"more cells than columns", "name,ringLimit\na,1\nb,2,3\n", "row 3: has more cells"},
        {"fewer cells than columns", "name,ringLimit\na\n", "row 2: has fewer cells"},
        {"unclosed quote", "name,pushAddress\na,\"x\nb,y\n",
         "row 2: has a quoted cell that is never closed"},
        {"quote inside a cell", "name,pushAddress\na,x\"y\"\n", "row 2: has a quote inside a cell"},
        {"text after the closing quote", "name,pushAddress\na,\"x\"y\n",
         "row 2: has text after the closing quote"},
        {"quote fault in the header", "name,\"ringLimit\"x\n", "the header row has text after"},
    };
    for (const Case& c : cases) {
        const TempFolder dir;
        const Outcome o = Batch(dir, c.csv);
        EXPECT_EQ(o.status, 1) << c.what;
        EXPECT_NE(o.err.find(c.phrase), std::string::npos) << c.what << ": " << o.err;
        EXPECT_EQ(o.out, "") << c.what;
        EXPECT_FALSE(fs::exists(dir / "site")) << c.what;
    }
}

TEST(Batch, RefusesDestinationsInTheWay) {
    const TempFolder dir;
    fs::create_directories(dir / "site" / "b" / "device_config.dat");
    WriteBytes(dir / "site" / "a", ToBytes("a file"));
    const auto before = Tree(dir / "site");
    const Outcome o = Batch(dir, "name\na\nb\nc\n");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("row 2, name: " + Utf8(dir / "site" / "a") + " is a file, not a folder"),
              std::string::npos)
        << o.err;
    EXPECT_NE(
        o.err.find("row 3, name: cannot write " + Utf8(dir / "site" / "b" / "device_config.dat") +
                   ": it is a folder, not a regular file"),
        std::string::npos)
        << o.err;
    EXPECT_EQ(Tree(dir / "site"), before);

    WriteBytes(dir / "file", ToBytes("x"));
    for (const std::string& out :
         {Utf8(dir / "file"), Utf8(dir / "missing" / "site"), std::string()}) {
        const Outcome bad = RunCli({"batch", "-", "--out", out}, "name\na\n");
        EXPECT_EQ(bad.status, 1) << out;
        EXPECT_NE(bad.err.find("--out"), std::string::npos) << bad.err;
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(Batch, RefusesTablesThatCannotBeRead) {
    const TempFolder dir;
    WriteBytes(dir / "big.csv", ToBytes("name\n" + std::string(16 << 20, 'n') + "\n"));
    for (const std::string& table :
         {Utf8(dir / "none.csv"), Utf8(dir / "big.csv"), Utf8(dir.path())}) {
        const Outcome o = RunCli({"batch", table, "--out", Utf8(dir / "site")});
        EXPECT_EQ(o.status, 1) << table;
        EXPECT_NE(o.err.find(table), std::string::npos) << o.err;
    }
    const Outcome both =
        RunCli({"batch", "-", "--out", Utf8(dir / "site"), "--base", "-"}, "name\na\n");
    EXPECT_EQ(both.status, 1);
    EXPECT_FALSE(fs::exists(dir / "site"));
}

TEST(Batch, DryRunPrintsThePlanAndWritesNothing) {
    const TempFolder dir;
    const Outcome o =
        Batch(dir, "name,addressMode,ipAddress\nlong-name,0,10.0.0.7\nb,1,\n", {"--dry-run"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "long-name  " + Pad("fixed 10.0.0.7", 22) +
                         Utf8(dir / "site" / "long-name" / "device_config.dat") + "\n" +
                         Pad("b", 11) + Pad("automatic", 22) +
                         Utf8(dir / "site" / "b" / "device_config.dat") +
                         "\nchecked 2 rows; would write 2 files into " + Utf8(dir / "site") +
                         " (dry run: nothing written)\n");
    EXPECT_FALSE(fs::exists(dir / "site"));
}

// Tables as spreadsheets save them: in code page 950, with CR-only rows, or damaged by a
// round trip, each read or refused with what to do.
TEST(Batch, ReadsTablesAsSpreadsheetsSaveThem) {
    struct Case {
        const char* what;
        std::string csv;
        int status;
        const char* err;                             // a phrase of the error stream
        std::map<std::string, std::string> devices;  // folder -> the same values as JSON
    };
    const std::vector<Case> cases{
        {"code page 950 (大廳, 密鑰)",
         "name,cipKey\r\n\xA4\x6A\xC6\x55,\xB1\x4B\xC6\x5F\r\n",
         0,
         "not UTF-8 text; read it as code page 950",
         {{"大廳", R"({"cipKey": "密鑰"})"}}},
        {"CR-only rows",
         "name,ringLimit\rdev1,3\rdev2,4\r",
         0,
         "",
         {{"dev1", R"({"ringLimit": 3})"}, {"dev2", R"({"ringLimit": 4})"}}},
        {"a key in spreadsheet number form",
         "name,cipKey\ndev1,1.23456789012346E+018\n",
         0,
         "hint: row 2, cipKey: \"1.23456789012346E+018\" looks like a number",
         {{"dev1", R"({"cipKey": "1.23456789012346E+018"})"}}},
        {"a key whose Chinese became ?",
         "name,cipKey\ndev1,??Key\n",
         0,
         "hint: row 2, cipKey: holds \"?\"",
         {{"dev1", R"({"cipKey": "??Key"})"}}},
        {"a byte order mark read as Western European text",
         "\xC3\xAF\xC2\xBB\xC2\xBFname\ndev1\n",
         1,
         "opened in the wrong character set: open it as UTF-8",
         {}},
        {"UTF-16", std::string("\xFF\xFEn\0a\0m\0e\0\n\0", 12), 1, "UTF-16", {}},
    };
    for (const Case& c : cases) {
        const TempFolder dir;
        const Outcome o = Batch(dir, c.csv);
        EXPECT_EQ(o.status, c.status) << c.what << ": " << o.err;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << c.what << ": " << o.err;
        std::map<std::string, Bytes> expected;
        for (const auto& [name, json] : c.devices) {
            expected[name] = Bytes{};
            expected[name + "/device_config.dat"] = Written(json);
        }
        EXPECT_EQ(Tree(dir / "site"), expected) << c.what;
    }
}

// A dry run into a folder that holds devices says what writing would do to each.
TEST(Batch, DryRunSaysWhatChangesInAFolderOfDevices) {
    const TempFolder dir;
    ASSERT_EQ(Batch(dir, "name,ringLimit\nsame,1\nother,1\n").status, 0);
    const auto before = Tree(dir / "site");
    const Outcome o =
        Batch(dir, "name,ringLimit,cipKey\nsame,1,\nother,2,k\nnew,1,\n", {"--dry-run"});
    EXPECT_EQ(o.status, 0) << o.err;
    const auto file = [&](const char* name) {
        return Utf8(dir / "site" / name / "device_config.dat");
    };
    for (const std::string& line :
         {file("same") + "  unchanged\n", file("other") + "  changes ringLimit, cipKey\n",
          file("new") + "  new\n"}) {
        EXPECT_NE(o.out.find(line), std::string::npos) << line << "\n" << o.out;
    }
    EXPECT_EQ(Tree(dir / "site"), before);
}

TEST(Batch, HintsGoToTheErrorStreamAndChangeNoByte) {
    const TempFolder dir;
    const Outcome o = Batch(dir,
                            "name,addressMode,ipAddress,subnetMask,defaultGateway,otherDnsServer,"
                            "preferredDnsServer\n"
                            "a,0,10.0.0.5,255.255.255.0,10.0.0.1,8.8.8.8,8.8.4.4\n"
                            "b,0,10.0.0.5,255.0.255.0,10.0.0.1,8.8.8.8,8.8.4.4\n"
                            "c,1,10.0.0.5,,,,\n"
                            "d,0,10.0.0.5,255.255.255.0,10.0.0.1,8.8.8.8,8.8.4.4\n");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err,
              "hint: row 3 (b): The subnet mask 255.0.255.0 is not a run of ones followed by "
              "zeros, so the device's subnet is not what it seems.\n"
              "hint: row 3 (b) has the same fixed IP address 10.0.0.5 as row 2; only one of "
              "them can be reached.\n"
              "hint: row 5 (d) has the same fixed IP address 10.0.0.5 as row 2; only one of "
              "them can be reached.\n");
    EXPECT_EQ(ReadBytes(dir / "site" / "b" / "device_config.dat"),
              Written(R"({"addressMode": 0, "ipAddress": "10.0.0.5", "subnetMask": "255.0.255.0",
                          "defaultGateway": "10.0.0.1", "otherDnsServer": "8.8.8.8",
                          "preferredDnsServer": "8.8.4.4"})"));
}

#ifndef _WIN32
// The third device's folder cannot be made: the first two are written completely, and
// the report says which were written and which were not.
TEST(Batch, AWriteThatFailsStopsTheRunAndSaysWhatWasWritten) {
    const TempFolder dir;
    fs::create_directories(dir / "site" / "a");
    fs::create_directories(dir / "site" / "b");
    Outcome o;
    {
        const tavrel::test::LockedFolder lock(dir / "site");
        if (!lock.locked()) {
            GTEST_SKIP() << "this user may write to any folder and cannot make one immutable";
        }
        o = Batch(dir, "name,ringLimit\na,1\nb,2\nc,3\nd,4\n");
    }
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(ReadBytes(dir / "site" / "a" / "device_config.dat"), Written(R"({"ringLimit": 1})"));
    EXPECT_EQ(ReadBytes(dir / "site" / "b" / "device_config.dat"), Written(R"({"ringLimit": 2})"));
    EXPECT_EQ(Tree(dir / "site").size(), 4u);  // a, b and their files
    EXPECT_NE(o.err.find("row 4 (c): cannot create the folder " + Utf8(dir / "site" / "c")),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("stopped: 2 of 4 files written (each listed on standard output); not "
                         "written: c, d"),
              std::string::npos)
        << o.err;
    // A line for each file written, and no summary of success.
    EXPECT_EQ(o.out, "a  " + Pad("automatic", 22) + Utf8(dir / "site" / "a" / "device_config.dat") +
                         "\nb  " + Pad("automatic", 22) +
                         Utf8(dir / "site" / "b" / "device_config.dat") + "\n");
}
#endif

// The real program, under Wine for the Windows build: a table file and a site folder with
// Chinese names, read and written through the program's own arguments.
TEST(Program, BatchWritesASiteInChineseFolders) {
    const TempFolder dir;
    fs::create_directory(dir / "工地");
    {
        std::ofstream table(dir / "工地/設備表.csv", std::ios::binary);
        table << "\xEF\xBB\xBFname,addressMode,ipAddress,defaultGateway,cipKey\r\n"
                 "大廳,0,192.168.0.21,192.168.0.1,密鑰\r\n"
                 "倉庫,0,192.168.0.22,192.168.0.1,密鑰\r\n";
    }
    const Outcome o = RunProgram({"batch", Utf8(dir / "工地/設備表.csv"), "--out",
                                  Utf8(dir / "工地/設定"), "--codepage", "950"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "工地/設定/大廳" / "device_config.dat"),
              Written(R"({"addressMode": 0, "ipAddress": "192.168.0.21",
                          "defaultGateway": "192.168.0.1", "cipKey": "密鑰"})"));
    EXPECT_NE(o.out.find("倉庫  fixed 192.168.0.22"), std::string::npos) << o.out;

    const Outcome listed =
        RunProgram({"table", "--csv", "--codepage", "950", Utf8(dir / "工地/設定/大廳"),
                    Utf8(dir / "工地/設定/倉庫" / "device_config.dat")});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("\r\n大廳,0,192.168.0.21,255.255.255.0,192.168.0.1,"),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("\r\n倉庫,0,192.168.0.22,"), std::string::npos) << listed.out;
}

}  // namespace
}  // namespace tavrel::cli::test
