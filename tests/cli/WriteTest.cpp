// tavrel-cli write: the bytes it writes, and the values it refuses.
#include <gtest/gtest.h>

#include <utility>

#include "Support.h"

namespace tavrel::cli::test {
namespace {

const std::vector<std::string> kFullForm{
    "--fixed",   "--ip",        "192.168.0.20", "--mask",  "255.255.255.0",
    "--gateway", "192.168.0.1", "--other-dns",  "8.8.4.4", "--preferred-dns",
    "8.8.8.8",   "--guard",     "on",           "--rings", "3",
    "--key",     "密鑰Key123",  "--codepage",   "950"};

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(Write, FreshFormIntoAFolder) {
    const TempFolder dir;
    const Outcome o = RunCli({"write", Utf8(dir.path())});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "device_config.dat"), Fixture("fresh-form.dat"));
}

// Every way of writing a line break in the push address is stored as CR LF.
TEST(Write, FullFixedAddressFormWithChineseTextAndCodePage950Key) {
    for (const std::string push :
         {"http://push.example.com/call\n中文推送", "http://push.example.com/call\r\n中文推送",
          "http://push.example.com/call\r中文推送"}) {
        const TempFolder dir;
        const Outcome o =
            RunCli(Args({"write", Utf8(dir / "settings.dat"), "--push", push}, kFullForm));
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(ReadBytes(dir / "settings.dat"), Fixture("full-form.dat"));
    }
}

// A foreign file saves the values the dialog shows; lone CR and LF in the push address
// stay as they were.
TEST(Write, BaseLoadsAForeignFileAsTheDialogDoes) {
    for (const auto& [base, expected] : {std::pair{"foreign.dat", "foreign-saved.dat"},
                                         std::pair{"line-breaks.dat", "line-breaks.dat"}}) {
        const TempFolder dir;
        WriteBytes(dir / "base.dat", Fixture(base));
        const Outcome o = RunCli({"write", Utf8(dir.path()), "--base", Utf8(dir / "base.dat")});
        EXPECT_EQ(o.status, 0) << base << "\n" << o.err;
        EXPECT_EQ(ReadBytes(dir / "device_config.dat"), Fixture(expected)) << base;
    }
}

// A file that ends before the push address: the fields past its end read as zero.
TEST(Write, BaseOnA388ByteFile) {
    const TempFolder dir;
    Bytes expected = Fixture("full-form.dat");
    WriteBytes(dir / "short.dat", Bytes(expected.begin(), expected.begin() + 388));
    std::fill(expected.begin() + 388, expected.end(), 0);

    const Outcome o = RunCli({"write", Utf8(dir.path()), "--base", Utf8(dir / "short.dat")});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "device_config.dat"), expected);
}

TEST(Write, OptionsReplaceTheValuesOfTheBase) {
    const TempFolder dir;
    WriteBytes(dir / "full.dat", Fixture("full-form.dat"));
    const std::string base = Utf8(dir / "full.dat");
    ASSERT_EQ(RunCli({"write", Utf8(dir / "a.dat"), "--base", base, "--auto", "--rings", "-5",
                      "--guard", "off", "--key", "", "--push", "x"})
                  .status,
              0);
    const Outcome shown = RunCli({"show", "--json", Utf8(dir / "a.dat")});
    for (const char* expected :
         {"\"addressMode\": 1", "\"ipAddress\": \"192.168.0.20\"", "\"pushAddress\": \"x\"",
          "\"lineGuardMode\": 0", "\"ringLimit\": -5", "\"cipKey\": \"\""}) {
        EXPECT_NE(shown.out.find(expected), std::string::npos) << expected << "\n" << shown.out;
    }
}

TEST(Write, JsonRoundTripThroughStandardInput) {
    const TempFolder dir;
    WriteBytes(dir / "full.dat", Fixture("full-form.dat"));
    const Outcome shown = RunCli({"show", "--json", "--codepage", "950", Utf8(dir / "full.dat")});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const Outcome o =
        RunCli({"write", Utf8(dir.path()), "--json-in", "-", "--codepage", "950"}, shown.out);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "device_config.dat"), Fixture("full-form.dat"));
}

TEST(Write, JsonKeysItLacksKeepTheFreshFormAndOptionsWin) {
    const TempFolder dir;
    const Outcome o = RunCli({"write", Utf8(dir.path()), "--json-in", "-", "--rings", "7"},
                             R"({"ringLimit": 3, "lineGuardMode": -1, "warnings": ["x"]})");
    ASSERT_EQ(o.status, 0) << o.err;
    Bytes expected = Fixture("fresh-form.dat");
    std::fill(expected.begin() + 900, expected.begin() + 904, 0xFF);  // guard -1
    expected[904] = 7;
    EXPECT_EQ(ReadBytes(dir / "device_config.dat"), expected);
}

TEST(Write, AcceptsTheLimitsThemselves) {
    const TempFolder dir;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--push", std::string(250, 'p')},
             {"--push", std::string(248, 'p') + "\n"},  // CR LF ends exactly at 250
             {"--key", std::string(63, 'k')},
             {"--key", "鑰" + std::string(61, 'k'), "--codepage", "950"},
             {"--rings", "2147483647"},
             {"--rings", "-2147483648"},
             {"--ip", "0.0.0.0", "--mask", "255.255.255.255"}}) {
        const Outcome o = RunCli(Args({"write", Utf8(dir.path())}, args));
        EXPECT_EQ(o.status, 0) << args[0] << " " << args[1] << ": " << o.err;
    }
}

// Each refusal names its option, exits 1 and leaves the previous file as it was.
TEST(Write, RefusesBadValuesAndLeavesTheFileUntouched) {
    struct Case {
        std::vector<std::string> args;
        std::string json;
        const char* named;
    };
    const std::vector<Case> cases{
        {{"--ip", "192.168.0.256"}, "", "--ip"},
        {{"--mask", "255.255.255"}, "", "--mask"},
        {{"--gateway", "1.2.3.4.5"}, "", "--gateway"},
        {{"--other-dns", " 8.8.4.4"}, "", "--other-dns"},
        {{"--preferred-dns", "0x8.8.8.8"}, "", "--preferred-dns"},
        {{"--ip", ""}, "", "--ip"},
        {{"--push", std::string(251, 'p')}, "", "--push"},
        {{"--push", std::string(126, '\n')}, "", "--push"},  // 252 units as CR LF
        {{"--key", std::string(64, 'k')}, "", "--key"},
        {{"--key", "密鑰" + std::string(60, 'k'), "--codepage", "950"}, "", "--key"},
        {{"--key", "\xF0\x9F\x98\x80", "--codepage", "950"}, "", "--key"},  // not in 950
        {{"--rings", "2147483648"}, "", "--rings"},
        {{"--rings", "-2147483649"}, "", "--rings"},
        {{"--rings", "3.5"}, "", "--rings"},
        {{"--rings", ""}, "", "--rings"},
        {{"--guard", "1"}, "", "--guard"},
        {{"--json-in", "-"}, R"({"ringLimit": 1, "colour": 2})", "colour"},
        {{"--json-in", "-"}, R"({"lineGuardMode": 2})", "lineGuardMode"},
        {{"--json-in", "-"}, R"({"addressMode": "1"})", "addressMode"},
        {{"--json-in", "-"}, R"({"ringLimit": 2147483648})", "ringLimit"},
        {{"--json-in", "-"}, R"({"ipAddress": "10.1"})", "ipAddress"},
        {{"--json-in", "-"}, R"({"cipKey": "a\u0000b"})", "cipKey"},
        {{"--json-in", "-"}, R"({"addressMode": 0,})", "--json-in"},
        {{"--json-in", "-"}, R"([1, 2])", "--json-in"},
    };
    const TempFolder dir;
    const Bytes previous = ToBytes("previous file");
    for (const Case& c : cases) {
        WriteBytes(dir / "device_config.dat", previous);
        const Outcome o = RunCli(Args({"write", Utf8(dir.path())}, c.args), c.json);
        const std::string what = c.args[0] + " " + c.args[1] + " " + c.json;
        EXPECT_EQ(o.status, 1) << what;
        EXPECT_NE(o.err.find(c.named), std::string::npos) << what << ": " << o.err;
        EXPECT_EQ(ReadBytes(dir / "device_config.dat"), previous) << what;
        EXPECT_EQ(o.out, "") << what;
    }
}

// The JSON library's own tag never shows; the position counts lines and columns from 1.
TEST(Write, JsonErrorsSayWhereInPlainWords) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {R"({"addressMode": 0,})",
         "--json-in: not valid JSON at line 1, column 19: syntax error while parsing object"},
        {"{\n  \"ringLimit\": 3,\n  \"cipKey\": tru\n}", "not valid JSON at line 3, column "},
        {"{\"cipKey\": \"\xFF\"}", "ill-formed UTF-8 byte; last read: '\"?'"},
        {" \n", "--json-in: the input is empty, not a JSON object"},
        {R"({"warnings": [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]})",
         "--json-in: warnings: arrays and objects nest more than 32 deep"},
        {R"({"lineGuardMode": 0, "ringLimit": -1e400})",
         "--json-in: ringLimit: the number -1e400 is too large to read"},
    };
    const TempFolder dir;
    for (const auto& [json, phrase] : cases) {
        const Outcome o = RunCli({"write", Utf8(dir.path()), "--json-in", "-"}, json);
        EXPECT_EQ(o.status, 1) << json;
        EXPECT_NE(o.err.find(phrase), std::string::npos) << json << "\n" << o.err;
        EXPECT_EQ(o.err.find("json.exception"), std::string::npos) << o.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Write, RefusesADestinationWithoutAnExistingFolder) {
    const TempFolder dir;
    for (const std::string& dest :
         {Utf8(dir / "missing" / "x.dat"), Utf8(dir / "missing") + "/", std::string()}) {
        const Outcome o = RunCli({"write", dest});
        EXPECT_EQ(o.status, 1) << dest;
        EXPECT_FALSE(o.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(Write, BaseThatCannotBeReadIsAnError) {
    const TempFolder dir;
    const Outcome o = RunCli({"write", Utf8(dir.path()), "--base", Utf8(dir / "none.dat")});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("none.dat"), std::string::npos) << o.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "device_config.dat"));
}

}  // namespace
}  // namespace tavrel::cli::test
