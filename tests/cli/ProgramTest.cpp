// The command line as a whole: exit statuses, help and version, and the real program
// with its arguments, standard input and output.
#include <gtest/gtest.h>

#include <cstdlib>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "Support.h"
#include "generated/Version.h"

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
             {"write", d, "--auto", "--fixed"},
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
        {{"write", d, "--ip", "1.1.1.1", "--ip", "2.2.2.2"}, "--ip is given twice"},
        {{"write", d, "--auto", "--fixed"}, "--auto and --fixed cannot be given together"},
        {{"write", d, "--base", "a", "--json-in", "b"},
         "--base and --json-in cannot be given together"},
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
    // help is a command of its own, with a help of its own.
    EXPECT_NE(RunCli({"--help"}).out.find("\n  help "), std::string::npos);
    const Outcome helpHelp = RunCli({"help", "help"});
    EXPECT_EQ(helpHelp.status, 0) << helpHelp.err;
    EXPECT_NE(helpHelp.out.find("Usage: tavrel-cli help"), std::string::npos) << helpHelp.out;
}

// Output that cannot be written is a failure, never exit 0: a full disk, a closed pipe.
TEST(CommandLine, OutputThatIsLostIsAFailure) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full";
#else
    const TempFolder dir;
    WriteBytes(dir / "device_config.dat", Fixture("full-form.dat"));
    const std::string f = Utf8(dir / "device_config.dat");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"show", f},
                                               {"show", "--json", f},
                                               {"table", f},
                                               {"table", "--csv", f},
                                               {"check", f}}) {
        std::string line = "'" + std::string(TAVREL_CLI_PATH) + "'";
        for (const std::string& a : args) {
            line += " '" + a + "'";
        }
        const int status = std::system((line + " >/dev/full 2>" + Utf8(dir / "err.txt")).c_str());
        EXPECT_EQ(WEXITSTATUS(status), 1) << line;
        const Bytes err = ReadBytes(dir / "err.txt");
        EXPECT_NE(std::string(err.begin(), err.end()).find("cannot write to standard output: "),
                  std::string::npos)
            << line;
    }
    // A reader that has gone away: a failure with its reason, not a death by SIGPIPE.
    const std::string statusFile = Utf8(dir / "status.txt");
    std::system(("(sleep 0.3; '" + std::string(TAVREL_CLI_PATH) + "' write - 2>" +
                 Utf8(dir / "err.txt") + "; echo $? >" + statusFile + ") | true")
                    .c_str());
    const Bytes status = ReadBytes(dir / "status.txt");
    EXPECT_EQ(std::string(status.begin(), status.end()), "1\n");
    const Bytes err = ReadBytes(dir / "err.txt");
    EXPECT_NE(std::string(err.begin(), err.end()).find("cannot write to standard output"),
              std::string::npos);
#endif
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
    EXPECT_EQ(RunCli({"--version"}).out, "tavrel-cli " TAVREL_VERSION_TEXT "\n");
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
