// What `write` says when the file cannot be written as asked, or was replaced and then
// went wrong: the true reason, exit 1, and nothing claimed that did not happen.
#include <gtest/gtest.h>

#include "Support.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <cerrno>
#include <climits>

#include "record/FolderFlush.h"
#endif

namespace tavrel::cli::test {
namespace {

#ifndef _WIN32
TEST(WriteReport, SaysWhatStandsInTheWay) {
    const TempFolder dir;
    struct Case {
        std::string dest;
        const char* says;
    };
    const std::string longName(NAME_MAX + 1, 'n');
    std::string deep = Utf8(dir.path());
    while (deep.size() < PATH_MAX) {
        deep += "/" + std::string(200, 'd');
    }
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    const std::vector<Case> cases{
        {Utf8(dir / longName), "is too long"},
        {Utf8(dir / longName / "x.dat"), "is too long"},
        {deep, "is too long"},
        {deep + "/x.dat", "is too long"},
        {Utf8(dir / "missing" / "x.dat"), "does not exist"},
        {Utf8(dir / "fifo"), "fifo"},
    };
    for (const Case& c : cases) {
        const Outcome o = RunCli({"write", c.dest});
        EXPECT_EQ(o.status, 1) << c.dest.substr(0, 80);
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err.substr(0, 300);
        EXPECT_EQ(o.out, "");
    }
    struct stat info {};
    ASSERT_EQ(lstat((dir / "fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO was replaced";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The medium fails once the file is in place: reported as replaced, not as unwritten.
TEST(WriteReport, AFileReplacedOnAFailingMediumIsNotCalledUnwritten) {
    const TempFolder dir;
    WriteBytes(dir / "device_config.dat", ToBytes("previous"));
    const auto failingFlush = [](int) { return EIO; };
    const detail::FolderFlush saved = detail::ReplaceFolderFlush(failingFlush);
    const Outcome o = RunCli({"write", Utf8(dir.path()), "--rings", "5"});
    detail::ReplaceFolderFlush(saved);

    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("the file was replaced, but the medium reported an error"),
              std::string::npos)
        << o.err;
    EXPECT_EQ(o.err.find("cannot write"), std::string::npos) << o.err;
    EXPECT_EQ(ReadBytes(dir / "device_config.dat").size(), 1036u);
}
#endif

}  // namespace
}  // namespace tavrel::cli::test
