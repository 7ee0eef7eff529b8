// tavrel-cli table: settings files back to rows, and batch writing them again.
#include <gtest/gtest.h>

#include "Support.h"

namespace tavrel::cli::test {
namespace {

namespace fs = std::filesystem;

// The shared fixtures in a site's folders: table --csv, then batch of that table, gives
// each file back byte for byte where check accepts it, and what the dialog saves for the
// foreign file.
TEST(Table, BatchOfItsCsvWritesTheFilesAgain) {
    const TempFolder dir;
    const std::vector<std::pair<std::string, std::string>> devices{
        {"fresh-form.dat", "fresh-form.dat"},
        {"full-form.dat", "full-form.dat"},
        {"foreign-saved.dat", "foreign-saved.dat"},
        {"foreign.dat", "foreign-saved.dat"},
    };
    std::vector<std::string> args{"table", "--csv", "--codepage", "950"};
    for (const auto& [fixture, expected] : devices) {
        const std::string name = "設備 " + fixture;
        fs::create_directories(dir / ("old/" + name));
        WriteBytes(dir / ("old/" + name) / "device_config.dat", Fixture(fixture));
        args.push_back(Utf8(dir / ("old/" + name)));
    }
    const Outcome table = RunCli(args);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.err, "tavrel-cli: " + Utf8(dir / "old/設備 foreign.dat" / "device_config.dat") +
                             ": not what the dialog writes for the values it shows (see check); "
                             "its row holds what the form shows\n");

    const Outcome batch =
        RunCli({"batch", "-", "--out", Utf8(dir / "new"), "--codepage", "950"}, table.out);
    ASSERT_EQ(batch.status, 0) << batch.err << table.out;
    for (const auto& [fixture, expected] : devices) {
        EXPECT_EQ(ReadBytes(dir / ("new/設備 " + fixture) / "device_config.dat"), Fixture(expected))
            << fixture;
    }
}

TEST(Table, CsvHasTheColumnsBatchReads) {
    const TempFolder dir;
    fs::create_directories(dir / "a,b");
    WriteBytes(dir / "a,b" / "device_config.dat", Fixture("full-form.dat"));
    const Outcome o = RunCli({"table", "--csv", "--codepage", "950", Utf8(dir / "a,b") + "/"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "\xEF\xBB\xBFname,addressMode,ipAddress,subnetMask,defaultGateway,otherDnsServer,"
              "preferredDnsServer,pushAddress,lineGuardMode,ringLimit,cipKey\r\n"
              "\"a,b\",0,192.168.0.20,255.255.255.0,192.168.0.1,8.8.4.4,8.8.8.8,"
              "\"http://push.example.com/call\r\n中文推送\",1,3,密鑰Key123\r\n");
}

TEST(Table, AlignedColumnsForReading) {
    const TempFolder dir;
    fs::create_directories(dir / "大廳");
    fs::create_directories(dir / "b");
    WriteBytes(dir / "大廳" / "device_config.dat", Fixture("full-form.dat"));
    WriteBytes(dir / "b" / "settings.dat", Fixture("fresh-form.dat"));
    const Outcome o = RunCli(
        {"table", "--codepage", "950", Utf8(dir / "大廳"), Utf8(dir / "b" / "settings.dat")});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "name  addressMode  ipAddress     subnetMask     defaultGateway  otherDnsServer  "
              "preferredDnsServer  pushAddress                                         "
              "lineGuardMode  ringLimit  cipKey\n"
              "大廳  0            192.168.0.20  255.255.255.0  192.168.0.1     8.8.4.4         "
              "8.8.8.8             \"http://push.example.com/call\\u000D\\u000A中文推送\"  "
              "1              3          密鑰Key123\n"
              "b     1            0.0.0.0       255.255.255.0  0.0.0.0         0.0.0.0         "
              "0.0.0.0" +
                  std::string(13 + 52, ' ') +  // the rest of its column, the empty push address
                  "0              0\n");
}

TEST(Table, FilesThatCannotBeReadFailButTheOthersAreListed) {
    const TempFolder dir;
    fs::create_directories(dir / "a");
    WriteBytes(dir / "a" / "device_config.dat", Fixture("fresh-form.dat"));
    const Outcome o = RunCli({"table", "--csv", Utf8(dir / "missing"), Utf8(dir / "a"), "-"});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find(Utf8(dir / "missing")), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("not standard input"), std::string::npos) << o.err;
    EXPECT_NE(o.out.find("\r\na,1,0.0.0.0,"), std::string::npos) << o.out;
}

}  // namespace
}  // namespace tavrel::cli::test
