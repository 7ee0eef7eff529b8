// Network hints as the commands pass them on: show, check and write.
#include <gtest/gtest.h>

#include "Support.h"

namespace tavrel::cli::test {
namespace {

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
