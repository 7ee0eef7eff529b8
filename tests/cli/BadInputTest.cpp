// The real program against input and destinations that are not what they should be:
// it never crashes, hangs or writes beside the point, and says what it found.
#include <gtest/gtest.h>

#include <fstream>

#include "Support.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace tavrel::cli::test {
namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

#ifndef _WIN32
// A socket's name in the file system, left behind when the socket is closed.
void MakeSocket(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.native().size(), sizeof address.sun_path);
    path.native().copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(fd);
}
#endif

struct Case {
    std::string what;
    std::vector<std::string> args;
    fs::path input;  // standard input, when given
    int status;
    std::string phrase;  // in standard output or error
    Output output = Output::File;
};

TEST(BadInput, EndsPromptlyWithAnAnswerAndWritesNothing) {
    const TempFolder dir;
    const std::string out = Utf8(dir / "out");
    fs::create_directory(out);
    const auto at = [&](const char* name) { return Utf8(dir / name); };

    WriteText(dir / "deep.json",
              "{\"addressMode\": " + std::string(100000, '[') + std::string(100000, ']') + "}");
    WriteText(dir / "overflow.json", R"({"ringLimit":1e400})");
    fs::create_directory(dir / "holder");
    WriteBytes(dir / "holder" / "device_config.dat", Fixture("full-form.dat"));
    fs::create_directories(dir / "taken" / "device_config.dat");

    std::vector<Case> cases{
        {"100,000 deep JSON file",
         {"write", out, "--json-in", at("deep.json")},
         {},
         1,
         "addressMode: arrays and objects nest more than"},
        {"100,000 deep JSON on standard input",
         {"write", out, "--json-in", "-"},
         dir / "deep.json",
         1,
         "nest more than"},
        {"number overflow",
         {"write", out, "--json-in", "-"},
         dir / "overflow.json",
         1,
         "ringLimit: the number 1e400 is too large"},
        {"a folder holding the file: show",
         {"show", at("holder"), "--codepage", "950"},
         {},
         0,
         "192.168.0.20"},
        {"a folder holding the file: check",
         {"check", at("holder"), "--codepage", "950"},
         {},
         0,
         "exactly what the dialog writes"},
        {"a folder where the file should go",
         {"write", at("taken")},
         {},
         1,
         "device_config.dat: it is a folder, not a regular file"},
#ifdef _WIN32
        {"show a device", {"show", "NUL"}, {}, 1, "it is a device"},
        {"write over a device", {"write", "NUL"}, {}, 1, "it is a device"},
#else
        {"show an endless device", {"show", "/dev/zero"}, {}, 1, "it is a device"},
        {"endless standard input: show",
         {"show", "-"},
         "/dev/zero",
         0,
         "The file is longer than 1036 bytes"},
        {"endless standard input: check", {"check", "-"}, "/dev/zero", 1, "longer than 1036 bytes"},
        {"JSON from an endless device",
         {"write", out, "--json-in", "/dev/zero"},
         {},
         1,
         "--json-in: cannot read /dev/zero: it is a device"},
        {"endless JSON on standard input",
         {"write", out, "--json-in", "-"},
         "/dev/zero",
         1,
         "holds more than 1 MiB"},
        {"base from a FIFO without writer",
         {"write", out, "--base", at("fifo")},
         {},
         1,
         "it is a FIFO"},
        {"show a FIFO", {"show", at("fifo")}, {}, 1, "it is a FIFO"},
        {"check a socket", {"check", at("socket")}, {}, 1, "it is a socket"},
        {"write over a FIFO", {"write", at("fifo")}, {}, 1, "it is a FIFO"},
        {"write over a socket", {"write", at("socket")}, {}, 1, "it is a socket"},
        {"write over a symbolic link", {"write", at("link")}, {}, 1, "it is a symbolic link"},
        {"write - to a terminal",
         {"write", "-"},
         {},
         1,
         "standard output is a terminal",
         Output::Terminal},
#endif
    };
#ifndef _WIN32
    ASSERT_EQ(mkfifo(at("fifo").c_str(), 0600), 0);
    MakeSocket(dir / "socket");
    WriteBytes(dir / "linked.dat", ToBytes("linked file"));
    fs::create_symlink(dir / "linked.dat", dir / "link");
    // A device node of our own (the null device) needs root; elsewhere the case is left out.
    if (mknod(at("device").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        cases.push_back({"write over a device", {"write", at("device")}, {}, 1, "it is a device"});
    }
#endif

    for (const Case& c : cases) {
        const Outcome o = RunProgram(c.args, c.input, c.output);
        EXPECT_EQ(o.status, c.status) << c.what << "\n" << o.err;
        EXPECT_NE((o.out + o.err).find(c.phrase), std::string::npos)
            << c.what << ": " << o.out << o.err;
        if (c.status != 0 && c.args[0] != "check") {  // a check's warnings are its output
            EXPECT_EQ(o.out, "") << c.what;
        }
    }

    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_TRUE(fs::is_directory(dir / "taken" / "device_config.dat"));
#ifndef _WIN32
    EXPECT_EQ(fs::symlink_status(dir / "fifo").type(), fs::file_type::fifo);
    EXPECT_EQ(fs::symlink_status(dir / "socket").type(), fs::file_type::socket);
    EXPECT_EQ(fs::read_symlink(dir / "link"), dir / "linked.dat");
    EXPECT_EQ(ReadBytes(dir / "linked.dat"), ToBytes("linked file"));
    if (fs::exists(dir / "device")) {
        EXPECT_EQ(fs::symlink_status(dir / "device").type(), fs::file_type::character);
    }
#endif
}

// `write -` sends the record to standard output and creates no file named "-".
TEST(BadInput, WriteDashWritesTheRecordToStandardOutput) {
    const TempFolder dir;
    const fs::path dash = fs::current_path() / "-";
    ASSERT_FALSE(fs::exists(dash)) << "a file named - is in the way";
    const Outcome o = RunProgram({"write", "-", "--rings", "10"});
    EXPECT_EQ(o.status, 0) << o.err;
    Bytes expected = Fixture("fresh-form.dat");
    expected[904] = 10;  // a line feed, which text-mode output would turn into CR LF
    EXPECT_EQ(ToBytes(o.out), expected);
    EXPECT_EQ(o.err, "");
    EXPECT_FALSE(fs::exists(dash));
    std::error_code ignored;
    fs::remove(dash, ignored);
}

}  // namespace
}  // namespace tavrel::cli::test
