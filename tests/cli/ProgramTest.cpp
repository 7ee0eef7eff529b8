// The command line as a whole: exit statuses, help and version, and the real program
// with its arguments, standard input and output.
#include <gtest/gtest.h>

#include "Support.h"

namespace tavrel::cli::test {
namespace {

TEST(CommandLine, UsageErrorsExitWith2AndWriteNothing) {
    const TempFolder dir;
    const std::string d = Utf8(dir.path());
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"print", "x"},
             {"show"},
             {"show", "a", "b"},
             {"show", "x", "--colour"},
             {"write"},
             {"write", d, "--rings"},
             {"write", d, "--base", "a", "--json-in", "b"},
             {"write", d, "--codepage", "abc"},
             {"write", d, "--ip", "1.1.1.1", "--ip", "2.2.2.2"},
         }) {
        const Outcome o = RunCli(args);
        EXPECT_EQ(o.status, 2) << ::testing::PrintToString(args) << o.out;
        EXPECT_NE(o.err.find("tavrel-cli"), std::string::npos) << o.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(CommandLine, UsageErrorsNameWhatIsWrong) {
    const TempFolder dir;
    const std::string d = Utf8(dir.path());
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"frob"}, "unknown command 'frob'"},
        {{"--codepage", "950", "frob", "x"}, "unknown command 'frob'"},
        {{"help", "frob"}, "unknown command 'frob'"},
        {{"show", "x", "--colour"}, "unknown option '--colour'"},
        {{"--colour=red", "show", "x"}, "unknown option '--colour'"},
        {{"show", "a", "b"}, "unexpected argument 'b'"},
        {{}, "a command is required: show, check"},
        {{"write", d, "--codepage", ""}, "--codepage: a code page number is required"},
        {{"--codepage", "", "show", "x"}, "--codepage: a code page number is required"},
    };
    for (const auto& [args, phrase] : cases) {
        const Outcome o = RunCli(args);
        EXPECT_EQ(o.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(o.err.rfind("tavrel-cli: " + phrase, 0), 0) << o.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(CommandLine, HelpCommandGivesTheHelpOfACommand) {
    const Outcome help = RunCli({"help", "show"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("Usage: tavrel-cli show"), std::string::npos) << help.out;
    EXPECT_EQ(help.out, RunCli({"show", "--help"}).out);
    EXPECT_EQ(RunCli({"help"}).out, RunCli({"--help"}).out);
}

// The key's code page when --codepage names none.
TEST(CommandLine, HelpNamesTheDefaultCodePage) {
#ifdef _WIN32
    const std::string expected = "(default: the system's ANSI code page)";
#else
    const std::string expected = "(default: code page 950)";
#endif
    EXPECT_NE(RunCli({"--help"}).out.find(expected), std::string::npos);
}

TEST(CommandLine, HelpAndVersionAfterAnyCommand) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"write", "--help"}, {"--version"}, {"show", "--version"}}) {
        const Outcome o = RunCli(args);
        EXPECT_EQ(o.status, 0) << ::testing::PrintToString(args) << o.err;
        EXPECT_FALSE(o.out.empty());
    }
    EXPECT_NE(RunCli({"write", "--help"}).out.find("--preferred-dns"), std::string::npos);
    EXPECT_EQ(RunCli({"--version"}).out, "tavrel-cli " TAVREL_VERSION "\n");
}

TEST(CommandLine, UnknownCodePageIsRefused) {
    const TempFolder dir;
    const Outcome o = RunCli({"write", Utf8(dir.path()), "--codepage", "4242"});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("--codepage"), std::string::npos) << o.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The real program: Chinese arguments, a Chinese folder name, exit statuses.
TEST(Program, WritesTheFullFormFromItsArguments) {
    const TempFolder dir;
    std::filesystem::create_directory(dir / "設定");
    const Outcome o = RunProgram({"write",
                                  Utf8(dir / "設定"),
                                  "--fixed",
                                  "--ip",
                                  "192.168.0.20",
                                  "--gateway",
                                  "192.168.0.1",
                                  "--other-dns",
                                  "8.8.4.4",
                                  "--preferred-dns",
                                  "8.8.8.8",
                                  "--push",
                                  "http://push.example.com/call\n中文推送",
                                  "--guard",
                                  "on",
                                  "--rings",
                                  "3",
                                  "--key",
                                  "密鑰Key123",
                                  "--codepage",
                                  "950"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "設定" / "device_config.dat"), Fixture("full-form.dat"));
}

// Standard input is read as bytes: a ring count of 26 stores the byte 0x1A, which ends
// text-mode input on Windows.
TEST(Program, ReadsStandardInputAsBinaryAndPrintsUtf8) {
    const TempFolder dir;
    ASSERT_EQ(RunProgram({"write", Utf8(dir.path()), "--rings", "26", "--key", "密鑰", "--codepage",
                          "950"})
                  .status,
              0);
    const std::filesystem::path file = dir / "device_config.dat";
    const Outcome checked = RunProgram({"check", "-", "--codepage", "950"}, file);
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;

    const Outcome shown = RunProgram({"show", "--json", "-", "--codepage", "950"}, file);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("\"cipKey\": \"密鑰\""), std::string::npos) << shown.out;
}

TEST(Program, ExitStatuses) {
    const TempFolder dir;
    EXPECT_EQ(RunProgram({"--version"}).status, 0);
    EXPECT_EQ(RunProgram({"show", Utf8(dir / "none.dat")}).status, 1);
    EXPECT_EQ(RunProgram({"write", Utf8(dir.path()), "--guard", "maybe"}).status, 1);
    EXPECT_EQ(RunProgram({"write", Utf8(dir.path()), "--colour"}).status, 2);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace tavrel::cli::test
