// Reading at most a limit of a regular file, and telling what stands at a path without
// following a link.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "record/RegularFile.h"

namespace tavrel {
namespace {

using test::Image;
using test::ScratchDir;

struct SizeCase {
    std::size_t size;
    std::size_t limit;
    bool more;
};

class ReadRegularFileOfSize : public testing::TestWithParam<SizeCase> {};

TEST_P(ReadRegularFileOfSize, KeepsAtMostTheLimitAndSaysWhetherMoreFollows) {
    const SizeCase c = GetParam();
    ScratchDir dir;
    Image content(c.size);
    for (std::size_t i = 0; i < c.size; ++i) {
        content[i] = static_cast<std::uint8_t>(i * 13 + 1);
    }
    test::WriteRaw(dir / "file", content);

    const RegularFileRead read = ReadRegularFile((dir / "file").native(), c.limit);
    EXPECT_EQ(read.status.kind, FileKind::Regular);
    EXPECT_EQ(read.status.systemError, 0);
    content.resize(std::min(c.size, c.limit));
    EXPECT_EQ(read.bytes, content);
    EXPECT_EQ(read.more, c.more);
    EXPECT_EQ(read.size, c.size);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadRegularFileOfSize,
                         testing::Values(SizeCase{0, 0, false}, SizeCase{0, 8, false},
                                         SizeCase{7, 8, false}, SizeCase{8, 8, false},
                                         SizeCase{9, 8, true}, SizeCase{5000, 1036, true},
                                         SizeCase{1, 0, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.size) + "BytesLimit" +
                                    std::to_string(info.param.limit);
                         });

TEST(ReadRegularFile, TellsWhatStandsThereInsteadOfAFile) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "folder");
    for (const auto& [name, kind] :
         {std::pair{"missing", FileKind::Missing}, std::pair{"folder", FileKind::Folder}}) {
        SCOPED_TRACE(name);
        const RegularFileRead read = ReadRegularFile((dir / name).native(), 8);
        EXPECT_EQ(read.status.kind, kind);
        EXPECT_EQ(read.status.systemError, 0);
        EXPECT_TRUE(read.bytes.empty());
        EXPECT_EQ(LinkStatus((dir / name).native()).kind, kind);
    }
}

#ifndef _WIN32
// A link is read through, but LinkStatus tells the link itself.
TEST(ReadRegularFile, FollowsALinkThatLinkStatusReportsAsALink) {
    ScratchDir dir;
    test::WriteRaw(dir / "file", Image{1, 2, 3});
    std::filesystem::create_symlink(dir / "file", dir / "link");

    const RegularFileRead read = ReadRegularFile((dir / "link").native(), 8);
    EXPECT_EQ(read.status.kind, FileKind::Regular);
    EXPECT_EQ(read.bytes, (Image{1, 2, 3}));
    EXPECT_EQ(LinkStatus((dir / "link").native()).kind, FileKind::SymbolicLink);
    EXPECT_EQ(LinkStatus((dir / "file").native()).kind, FileKind::Regular);
}
#endif

}  // namespace
}  // namespace tavrel
