// Network hints: each kind of value that would leave a box unreachable, none for sound
// values or automatic addressing, and how show, check and write pass them on.
#include <gtest/gtest.h>

#include "Support.h"
#include "cli/Checks.h"
#include "cli/Hints.h"

namespace tavrel::cli::test {
namespace {

AddressValue A(const char* text) {
    std::string reason;
    return CheckAddress(text, reason).value();
}

SettingsValues Fixed(const char* ip, const char* mask, const char* gateway,
                     const char* other = "8.8.4.4", const char* preferred = "8.8.8.8") {
    SettingsValues v;
    v.automaticAddress = false;
    v.ipAddress = A(ip);
    v.subnetMask = A(mask);
    v.defaultGateway = A(gateway);
    v.otherDnsServer = A(other);
    v.preferredDnsServer = A(preferred);
    return v;
}

TEST(NetworkHints, NameEachFaultOfTheFixedAddresses) {
    struct Case {
        SettingsValues values;
        std::vector<std::string> phrases;  // one per hint, in order
    };
    const std::vector<Case> cases{
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.0.1"), {}},
        {Fixed("10.1.2.3", "255.0.0.0", "10.200.0.1"), {}},
        {Fixed("192.168.0.21", "255.255.255.252", "192.168.0.22"), {}},  // /30
        {Fixed("192.168.0.20", "255.255.255.254", "192.168.0.21"), {}},  // /31: no network address
        {Fixed("192.168.0.20", "255.0.255.0", "192.168.0.1"),
         {"The subnet mask 255.0.255.0 is not a run of ones followed by zeros"}},
        {Fixed("192.168.0.20", "0.255.255.255", "192.168.0.1"),
         {"The subnet mask 0.255.255.255 is not",
          "outside the device's subnet 0.168.0.20 (mask 0.255.255.255)"}},
        {Fixed("0.0.0.0", "255.255.255.0", "0.0.0.1"),
         {"The IP address 0.0.0.0 is not an address a device can have"}},
        {Fixed("255.255.255.255", "255.255.255.0", "255.255.255.1"),
         {"The IP address 255.255.255.255 is not an address"}},
        {Fixed("192.168.0.0", "255.255.255.0", "192.168.0.1"),
         {"192.168.0.0 is the network address of its subnet 192.168.0.0/24"}},
        {Fixed("192.168.0.255", "255.255.255.0", "192.168.0.1"),
         {"192.168.0.255 is the broadcast address of its subnet 192.168.0.0/24"}},
        {Fixed("10.0.0.127", "255.255.255.128", "10.0.0.1"),
         {"is the broadcast address of its subnet 10.0.0.0/25"}},
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.1.1"),
         {"The default gateway 192.168.1.1 is outside the device's subnet 192.168.0.0/24"}},
        {Fixed("192.168.0.20", "255.255.255.0", "0.0.0.0"), {"default gateway 0.0.0.0 is outside"}},
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.0.20"),
         {"The default gateway 192.168.0.20 is the device's own IP address"}},
        {Fixed("192.168.0.20", "255.255.255.0", "192.168.0.1", "0.0.0.0", "255.255.255.255"),
         {"The other DNS server 0.0.0.0 is not an address a server can have",
          "The preferred DNS server 255.255.255.255 is not"}},
        {Fixed("0.0.0.0", "255.0.255.0", "0.0.0.0", "0.0.0.0", "8.8.8.8"),
         {"subnet mask 255.0.255.0", "IP address 0.0.0.0",
          "default gateway 0.0.0.0 is the device's own", "other DNS server 0.0.0.0"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> hints = NetworkHints(c.values);
        ASSERT_EQ(hints.size(), c.phrases.size()) << ::testing::PrintToString(hints);
        for (std::size_t i = 0; i < hints.size(); ++i) {
            EXPECT_NE(hints[i].find(c.phrases[i]), std::string::npos)
                << hints[i] << "\nexpected: " << c.phrases[i];
        }
    }
}

TEST(NetworkHints, NoneInAutomaticMode) {
    SettingsValues v = Fixed("0.0.0.0", "255.0.255.0", "1.2.3.4", "0.0.0.0", "255.255.255.255");
    v.automaticAddress = true;
    EXPECT_TRUE(NetworkHints(v).empty());
    EXPECT_TRUE(NetworkHints(SettingsValues{}).empty());  // a fresh form
}

// A file with a gateway outside its subnet: show lists the hint, show --json holds it,
// check accepts the file unless --strict, and write says it while writing the same bytes.
TEST(NetworkHints, ShowCheckAndWritePassThemOn) {
    const TempFolder dir;
    const std::vector<std::string> values{
        "--fixed",     "--ip",    "192.168.0.20",    "--gateway", "10.0.0.1",
        "--other-dns", "8.8.4.4", "--preferred-dns", "8.8.8.8"};
    std::vector<std::string> args{"write", Utf8(dir / "hinted.dat")};
    args.insert(args.end(), values.begin(), values.end());
    const Outcome written = RunCli(args);
    ASSERT_EQ(written.status, 0) << written.err;
    const std::string hint =
        "The default gateway 10.0.0.1 is outside the device's subnet 192.168.0.0/24, so the "
        "device cannot reach it.";
    EXPECT_EQ(written.err, "hint: " + hint + "\n");

    const Outcome shown = RunCli({"show", Utf8(dir / "hinted.dat")});
    EXPECT_NE(shown.out.find("\nhint: " + hint + "\n"), std::string::npos) << shown.out;
    const Outcome json = RunCli({"show", "--json", Utf8(dir / "hinted.dat")});
    EXPECT_NE(json.out.find("\"hints\": [\n    \"" + hint + "\"\n  ]"), std::string::npos)
        << json.out;
    // The object show --json prints is taken back by write, hints and all.
    const Outcome again = RunCli({"write", Utf8(dir / "again.dat"), "--json-in", "-"}, json.out);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(ReadBytes(dir / "again.dat"), ReadBytes(dir / "hinted.dat"));

    const Outcome checked = RunCli({"check", Utf8(dir / "hinted.dat")});
    EXPECT_EQ(checked.status, 0);
    EXPECT_NE(checked.out.find("hint: " + hint), std::string::npos) << checked.out;
    EXPECT_EQ(RunCli({"check", "--strict", Utf8(dir / "hinted.dat")}).status, 1);

    WriteBytes(dir / "sound.dat", Fixture("full-form.dat"));
    const Outcome sound =
        RunCli({"check", "--strict", "--codepage", "950", Utf8(dir / "sound.dat")});
    EXPECT_EQ(sound.status, 0) << sound.out;
    EXPECT_EQ(sound.out.find("hint"), std::string::npos) << sound.out;
    WriteBytes(dir / "foreign.dat", Fixture("foreign.dat"));
    EXPECT_EQ(RunCli({"check", "--strict", Utf8(dir / "foreign.dat")}).status, 1);  // warnings
}

}  // namespace
}  // namespace tavrel::cli::test
