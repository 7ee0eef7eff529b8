// Reading device_config.dat, and writing it safely: a failed write reports its reason,
// keeps the previous file and leaves no temporary file behind.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "record/SettingsFile.h"
#include "record/SettingsValues.h"
#include "record/TemporaryName.h"

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "LockedFolder.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <future>

#include "record/FolderFlush.h"
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

#ifndef _WIN32
// What can stand at a path in place of a regular file.
enum class NonFile { Fifo, Socket, LinkToFile, LinkToDevice };

std::string NameOf(NonFile kind) {
    switch (kind) {
        case NonFile::Fifo:
            return "Fifo";
        case NonFile::Socket:
            return "Socket";
        case NonFile::LinkToFile:
            return "LinkToFile";
        case NonFile::LinkToDevice:
            return "LinkToDevice";
    }
    return {};
}

// Makes `kind` at `path`; a link to a file points at `path` + ".real", which holds `bytes`.
void MakeNonFile(NonFile kind, const std::filesystem::path& path, const Image& bytes) {
    switch (kind) {
        case NonFile::Fifo:
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << std::strerror(errno);
            break;
        case NonFile::Socket: {
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            ASSERT_LT(path.native().size(), sizeof address.sun_path);
            std::strcpy(address.sun_path, path.c_str());
            ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
                << std::strerror(errno);
            close(fd);
            break;
        }
        case NonFile::LinkToFile:
            test::WriteRaw(path.native() + ".real", bytes);
            std::filesystem::create_symlink(path.filename().native() + ".real", path);
            break;
        case NonFile::LinkToDevice:
            std::filesystem::create_symlink("/dev/zero", path);
            break;
    }
}

// The file type that lstat reports for `kind`.
mode_t TypeOf(NonFile kind) {
    switch (kind) {
        case NonFile::Fifo:
            return S_IFIFO;
        case NonFile::Socket:
            return S_IFSOCK;
        default:
            return S_IFLNK;
    }
}

class ReadNonFile : public testing::TestWithParam<NonFile> {};

// Nothing is read, and nothing waits: a FIFO without a writer would hold a blocking
// open for ever, and a device would give endless bytes.
TEST_P(ReadNonFile, GivesNothingWithoutWaiting) {
    ScratchDir dir;
    const auto path = dir / "device_config.dat";
    MakeNonFile(GetParam(), path, Pattern(kRecordSize));
    auto read = std::async(std::launch::async, [&] { return ReadSettingsFile(path); });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the read is still waiting";
        const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);  // lets it go on
        read.wait();
        close(writer);
    }
    EXPECT_FALSE(read.get().has_value());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadNonFile,
                         testing::Values(NonFile::Fifo, NonFile::Socket, NonFile::LinkToDevice),
                         [](const auto& info) { return NameOf(info.param); });

TEST(ReadSettingsFile, FollowsALinkToAFile) {
    ScratchDir dir;
    const auto path = dir / "device_config.dat";
    MakeNonFile(NonFile::LinkToFile, path, Pattern(kRecordSize));
    const auto record = ReadSettingsFile(path);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(test::ImageOf(*record), Pattern(kRecordSize));
}
#endif

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

#ifndef _WIN32
class WriteOverNonFile : public testing::TestWithParam<NonFile> {};

// Refused, with the thing at the path left as it was (a link and what it points to
// alike) and no temporary file left.
TEST_P(WriteOverNonFile, IsRefusedAndTouchesNothing) {
    ScratchDir dir;
    const auto path = dir / "device_config.dat";
    const Image previous = Pattern(700);
    MakeNonFile(GetParam(), path, previous);
    const std::vector<std::string> names = dir.Names();

    const auto result = WriteSettingsFile(path, SampleRecord());

    EXPECT_EQ(result.error, WriteError::TargetNotRegularFile);
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IFMT, TypeOf(GetParam()));
    EXPECT_EQ(dir.Names(), names);
    if (GetParam() == NonFile::LinkToFile) {
        EXPECT_EQ(test::ReadRaw(path.native() + ".real"), previous);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, WriteOverNonFile,
                         testing::Values(NonFile::Fifo, NonFile::Socket, NonFile::LinkToFile,
                                         NonFile::LinkToDevice),
                         [](const auto& info) { return NameOf(info.param); });

// The mode a written file ends with, under umask 022.
struct ModeCase {
    const char* name;
    int previousMode;  // -1: no previous file
    NewFileAccess access;
    mode_t expected;
};

class WrittenFileMode : public testing::TestWithParam<ModeCase> {};

TEST_P(WrittenFileMode, KeepsThePreviousModeOrFollowsTheAccessAsked) {
    const ModeCase& c = GetParam();
    ScratchDir dir;
    const auto path = dir / "device_config.dat";
    if (c.previousMode >= 0) {
        test::WriteRaw(path, Pattern(100));
        ASSERT_EQ(chmod(path.c_str(), static_cast<mode_t>(c.previousMode)), 0);
    }
    const mode_t savedMask = umask(022);
    const auto result = WriteSettingsFile(path, SampleRecord(), c.access);
    umask(savedMask);

    ASSERT_TRUE(result) << static_cast<int>(result.error);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.expected) << std::oct << (info.st_mode & 07777);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrittenFileMode,
    testing::Values(ModeCase{"Private", 0600, NewFileAccess::Default, 0600},
                    ModeCase{"GroupReadable", 0640, NewFileAccess::Default, 0640},
                    ModeCase{"WiderThanPrivateAsked", 0644, NewFileAccess::OwnerOnly, 0644},
                    ModeCase{"NewByUmask", -1, NewFileAccess::Default, 0644},
                    ModeCase{"NewOwnerOnly", -1, NewFileAccess::OwnerOnly, 0600}),
    [](const auto& info) { return std::string(info.param.name); });

// What happens while the folder is flushed after the replace, through the folder-flush
// seam: the medium fails, or another writer moves its own file in at that moment.
struct AfterReplace {
    static inline std::filesystem::path target, other;
    static int MediumFails(int) { return EIO; }
    static int AnotherWriterMovesIn(int folderFd) {
        rename(other.c_str(), target.c_str());
        return fsync(folderFd) == 0 ? 0 : errno;
    }
};

struct AfterReplaceCase {
    const char* name;
    detail::FolderFlush flush;
    WriteError expected;
    int systemError;
    bool otherStands;  // the other writer's file is what stands at the path
};

class WriteAfterReplace : public testing::TestWithParam<AfterReplaceCase> {};

// Reported as what it is: the file was replaced. Never as "nothing written".
TEST_P(WriteAfterReplace, ReportsThatTheFileWasReplaced) {
    const AfterReplaceCase& c = GetParam();
    ScratchDir dir;
    AfterReplace::target = dir / "device_config.dat";
    AfterReplace::other = dir / "other.dat";
    test::WriteRaw(AfterReplace::target, Pattern(500));
    const Image other = Pattern(kRecordSize);
    test::WriteRaw(AfterReplace::other, other);

    const detail::FolderFlush saved = detail::ReplaceFolderFlush(c.flush);
    const auto result = WriteSettingsFile(AfterReplace::target, SampleRecord());
    detail::ReplaceFolderFlush(saved);

    EXPECT_EQ(result.error, c.expected);
    EXPECT_EQ(result.systemError, c.systemError);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.Replaced());
    EXPECT_EQ(test::ReadRaw(AfterReplace::target),
              c.otherStands ? other : test::ImageOf(SampleRecord()));
    for (const std::string& name : dir.Names()) {
        EXPECT_NE(name.substr(0, 4), "~tav") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteAfterReplace,
    testing::Values(AfterReplaceCase{"MediumFails", AfterReplace::MediumFails,
                                     WriteError::ReplacedButNotFlushed, EIO, false},
                    AfterReplaceCase{"AnotherWriterMovesIn", AfterReplace::AnotherWriterMovesIn,
                                     WriteError::ReplacedByAnotherWriter, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

#endif

// Temporary files of ours that no writer holds any more go with the next write into the
// folder; one a running writer holds, and every other name, stay.
TEST(WriteSettingsFile, RemovesStaleTemporaryFilesOnly) {
    ScratchDir dir;
    const std::vector<std::string> kept = {"notes.tmp", "~tav0000abcd.tmp.bak", "~tav1234567.tmp",
                                           "~tavABCDEF01.tmp", "~tavfeedbeef.tmp"};
    for (const std::string& name : kept) {
        test::WriteRaw(dir / name, Pattern(10));
    }
    test::WriteRaw(dir / "~tav0000abcd.tmp", Pattern(10));
    test::WriteRaw(dir / "~tav9876fedc.tmp", Pattern(10));
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& name : dir.Names()) {
        std::filesystem::last_write_time(dir / name, anHourAgo);
    }
    // A running writer's file ("feedbeef"): open, and locked as writers lock theirs.
#ifdef _WIN32
    std::ofstream held(dir / "~tavfeedbeef.tmp", std::ios::app);
#else
    const int held = open((dir / "~tavfeedbeef.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
#endif

    ASSERT_TRUE(WriteSettingsFile(dir / "device_config.dat", SampleRecord()));

#ifndef _WIN32
    close(held);
#endif
    std::vector<std::string> expected = kept;
    expected.push_back("device_config.dat");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.Names(), expected);
}

TEST(TemporaryFileName, NamesMadeAtOneMomentDifferAndAreSweptByTheirShape) {
    const std::vector<NativePath> names = {detail::NewTemporaryFileName(7, 1000),
                                           detail::NewTemporaryFileName(7, 1000),
                                           detail::NewTemporaryFileName(8, 1000)};
    for (const NativePath& name : names) {
        EXPECT_TRUE(detail::IsTemporaryFileName(name)) << name;
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
    }
}

}  // namespace
}  // namespace tavrel
