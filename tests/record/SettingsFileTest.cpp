// Reading device_config.dat, and writing it safely: a failed write reports its reason,
// keeps the previous file and leaves no temporary file behind.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "record/SettingsFile.h"
#include "record/SettingsValues.h"

#ifndef _WIN32
#include <sys/resource.h>

#include "LockedFolder.h"

#include <cerrno>
#include <climits>
#include <csignal>
#endif

namespace tavrel {
namespace {

using test::Image;
using test::ScratchDir;

// Bytes that are never zero, so that a zero in a read record can only come from the
// part past the file's end.
Image Pattern(std::size_t size) {
    Image image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>(1 + (i * 7) % 250);
    }
    return image;
}

class ReadFileOfSize : public testing::TestWithParam<std::size_t> {};

TEST_P(ReadFileOfSize, TakesWhatTheFileCoversAndZerosAfter) {
    const std::size_t size = GetParam();
    ScratchDir dir;
    test::WriteRaw(dir / "device_config.dat", Pattern(size));

    const auto record = ReadSettingsFile(dir / "device_config.dat");
    ASSERT_TRUE(record.has_value());
    Image expected = Pattern(std::min(size, kRecordSize));
    expected.resize(kRecordSize, 0);
    EXPECT_EQ(test::ImageOf(*record), expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadFileOfSize, testing::Values(0, 1, 388, 1035, 1036, 1037, 4096));

// A file that ends just before the push address: mode and addresses are read, the rest
// is empty, and the read still succeeds.
TEST(ReadSettingsFile, FileEndingBeforePushAddressKeepsAddressesAndMode) {
    SettingsValues stored = test::FixedAddressValues();
    stored.pushAddress = u"push";
    stored.ringLimit = 7;
    stored.cipKey = u"key";
    Image image = test::ImageOf(RecordFromValues(stored));
    image.resize(388);
    ScratchDir dir;
    test::WriteRaw(dir / "device_config.dat", image);

    const auto record = ReadSettingsFile(dir / "device_config.dat");
    ASSERT_TRUE(record.has_value());
    SettingsValues expected = stored;
    expected.pushAddress.clear();
    expected.lineGuardMode = 0;
    expected.ringLimit = 0;
    expected.cipKey.clear();
    EXPECT_EQ(ValuesFromRecord(*record), expected);
}

TEST(ReadSettingsFile, NothingWhenThereIsNoFileToOpen) {
    ScratchDir dir;
    EXPECT_FALSE(ReadSettingsFile(dir / "device_config.dat").has_value());
    EXPECT_FALSE(ReadSettingsFile(dir / "missing" / "device_config.dat").has_value());
    std::filesystem::create_directory(dir / "device_config.dat");
    EXPECT_FALSE(ReadSettingsFile(dir / "device_config.dat").has_value());
}

DeviceSettingsRecord SampleRecord() {
    SettingsValues values;
    values.pushAddress = u"10.0.0.5:9000";
    values.ringLimit = 4;
    values.cipKey = u"abc";
    return RecordFromValues(values);
}

TEST(WriteSettingsFile, ReplacesAPreviousFileWithExactlyTheRecord) {
    ScratchDir dir;
    const auto path = dir / "device_config.dat";
    test::WriteRaw(path, Pattern(2000));

    const auto record = SampleRecord();
    const WriteResult result = WriteSettingsFile(path, record);
    ASSERT_TRUE(result) << static_cast<int>(result.error) << " " << result.systemError;
    EXPECT_EQ(test::ReadRaw(path), test::ImageOf(record));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"device_config.dat"});
    EXPECT_EQ(ReadSettingsFile(path), record);
}

// Every failure: reported with its reason, the previous file (if any) unchanged, and no
// temporary file left in the folder.
class WriteFault : public testing::Test {
protected:
    void SetUp() override {
        path_ = dir_ / "device_config.dat";
        previous_ = Pattern(500);
    }
    void WritePrevious() { test::WriteRaw(path_, previous_); }
    void ExpectPreviousKept() {
        EXPECT_EQ(test::ReadRaw(path_), previous_);
        EXPECT_EQ(dir_.Names(), std::vector<std::string>{"device_config.dat"});
    }

    ScratchDir dir_;
    std::filesystem::path path_;
    Image previous_;
};

TEST_F(WriteFault, MissingFolder) {
    const auto result = WriteSettingsFile(dir_ / "missing" / "device_config.dat", SampleRecord());
    EXPECT_EQ(result.error, WriteError::FolderNotFound);
    EXPECT_FALSE(result);
    EXPECT_TRUE(dir_.Names().empty());
}

TEST_F(WriteFault, FolderPathRunsThroughAFile) {
    WritePrevious();
    const auto result = WriteSettingsFile(path_ / "device_config.dat", SampleRecord());
    EXPECT_EQ(result.error, WriteError::FolderNotFound);
    ExpectPreviousKept();
}

TEST_F(WriteFault, DirectoryInTheWay) {
    std::filesystem::create_directory(path_);
    test::WriteRaw(path_ / "inside.txt", previous_);

    const auto result = WriteSettingsFile(path_, SampleRecord());
    EXPECT_EQ(result.error, WriteError::TargetIsDirectory);
    EXPECT_EQ(test::ReadRaw(path_ / "inside.txt"), previous_);
    EXPECT_EQ(dir_.Names(), std::vector<std::string>{"device_config.dat"});
}

TEST_F(WriteFault, PathLongerThanThePlatformTakes) {
#ifdef _WIN32
    const std::size_t limit = 260;
#else
    const std::size_t limit = PATH_MAX;
#endif
    const std::size_t length = dir_.path().native().size();
    const auto path = dir_ / std::filesystem::path(std::string(limit - length, 'a'));
    ASSERT_GE(path.native().size(), limit);
    EXPECT_EQ(WriteSettingsFile(path, SampleRecord()).error, WriteError::PathTooLong);
    EXPECT_TRUE(dir_.Names().empty());
}

#ifndef _WIN32
// A folder nobody may write to.
TEST_F(WriteFault, ReadOnlyFolder) {
    WritePrevious();
    const test::LockedFolder lock(dir_.path());
    if (!lock.locked()) {
        GTEST_SKIP() << "this user may write to any folder and cannot make one immutable";
    }
    EXPECT_EQ(WriteSettingsFile(path_, SampleRecord()).error, WriteError::AccessDenied);
    ExpectPreviousKept();
}

// A write that stops part-way (here at the process's file size limit, which binds root
// too) must not replace the previous file.
TEST_F(WriteFault, WriteStopsPartWay) {
    WritePrevious();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    const auto result = WriteSettingsFile(path_, SampleRecord());

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_EQ(result.error, WriteError::Other);
    EXPECT_EQ(result.systemError, EFBIG);
    ExpectPreviousKept();
}
#endif

TEST(DescribeWriteError, GivesEachReasonItsOwnSentence) {
    std::vector<std::u16string> texts;
    for (const WriteError error :
         {WriteError::PathTooLong, WriteError::FolderNotFound, WriteError::AccessDenied,
          WriteError::TargetIsDirectory, WriteError::DiskFull, WriteError::VerifyFailed,
          WriteError::Other}) {
        const auto text = DescribeWriteError({error, 0});
        EXPECT_FALSE(text.empty()) << static_cast<int>(error);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 0) << static_cast<int>(error);
        texts.push_back(text);
    }
    EXPECT_EQ(DescribeWriteError({WriteError::FolderNotFound, 2}), u"資料夾不存在");
    EXPECT_NE(DescribeWriteError({WriteError::Other, 5}).find(u"5"), std::u16string::npos);
}

}  // namespace
}  // namespace tavrel
