// device_config.dat on POSIX systems: open/read/write, fsync, rename.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "record/CodePage.h"
#include "record/SettingsFile.h"
#include "record/SystemErrorText.h"

namespace tavrel {

namespace {

WriteResult Failed(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {WriteError::FolderNotFound, error};
        case EACCES:
        case EPERM:
        case EROFS:
            return {WriteError::AccessDenied, error};
        case EISDIR:
            return {WriteError::TargetIsDirectory, error};
        case ENOSPC:
        case EDQUOT:
            return {WriteError::DiskFull, error};
        case ENAMETOOLONG:
            return {WriteError::PathTooLong, error};
        default:
            return {WriteError::Other, error};
    }
}

// Reads until `buffer` is full, the file ends or a read fails; returns the count read.
std::size_t ReadFully(int fd, std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = read(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// 0, or the errno of the failed write.
int WriteFully(int fd, std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Whether the file at `path` holds exactly `expected`: read from the start, one byte
// more than a record so that a longer file shows. 0, or the errno of the failed open.
int CompareFile(const std::filesystem::path& path, const DeviceSettingsRecord::Image& expected,
                bool& same) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    std::array<std::uint8_t, kRecordSize + 1> buffer{};
    const std::size_t n = ReadFully(fd, buffer);
    close(fd);
    same = n == kRecordSize && std::equal(expected.begin(), expected.end(), buffer.begin());
    return 0;
}

// A name no other writer uses at the same moment; creation with O_EXCL settles any clash.
std::filesystem::path TemporaryName(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const unsigned long long mix =
        (static_cast<unsigned long long>(ticks) * 0x9E3779B97F4A7C15ull) ^
        (static_cast<unsigned long long>(getpid()) << 20) ^ counter.fetch_add(1);
    char name[32];
    std::snprintf(name, sizeof name, "~tav%08llx.tmp", mix & 0xFFFFFFFFull);
    return folder / name;
}

// Syncs the folder's entry for a renamed file; file systems that cannot sync a
// folder say so with EINVAL, which is no failure of ours.
int SyncFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    int error = 0;
    if (fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        error = errno;
    }
    close(fd);
    return error;
}

}  // namespace

std::optional<DeviceSettingsRecord> ReadSettingsFile(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    // A folder opens for reading here but is no file to read, as on Windows.
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    std::array<std::uint8_t, kRecordSize> image{};
    const std::size_t n = ReadFully(fd, image);
    close(fd);
    return DeviceSettingsRecord::FromImage(std::span(image).first(n));
}

WriteResult WriteSettingsFile(const std::filesystem::path& path,
                              const DeviceSettingsRecord& record) {
    if (path.native().size() >= PATH_MAX) {
        return {WriteError::PathTooLong, 0};
    }
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return {WriteError::TargetIsDirectory, 0};
    }
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");

    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(folder);
        fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return Failed(errno);
        }
    }
    if (fd < 0) {
        return Failed(EEXIST);
    }

    // Until the rename, every failure removes the temporary file and leaves the
    // previous file as it was.
    const auto abandon = [&](WriteResult result) {
        if (fd >= 0) {
            close(fd);
        }
        unlink(temporary.c_str());
        return result;
    };
    const auto& bytes = record.Bytes();
    if (const int error = WriteFully(fd, bytes); error != 0) {
        return abandon(Failed(error));
    }
    if (fsync(fd) != 0) {
        return abandon(Failed(errno));
    }
    const int closeResult = close(fd);
    fd = -1;
    if (closeResult != 0) {
        return abandon(Failed(errno));
    }
    bool same = false;
    if (const int error = CompareFile(temporary, bytes, same); error != 0) {
        return abandon(Failed(error));
    }
    if (!same) {
        return abandon({WriteError::VerifyFailed, 0});
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        return abandon(Failed(errno));
    }

    // The new file is in place now; a failure from here on can no longer keep the
    // previous one, but is still reported, since the medium may not hold what it should.
    if (const int error = SyncFolder(folder); error != 0) {
        return Failed(error);
    }
    if (const int error = CompareFile(path, bytes, same); error != 0) {
        return Failed(error);
    }
    if (!same) {
        return {WriteError::VerifyFailed, 0};
    }
    return {};
}

namespace detail {

std::u16string SystemErrorText(int error) {
    // The C library's text is in the locale's encoding, which is UTF-8 wherever this runs.
    return FromCodePage(std::generic_category().message(error), 65001);
}

}  // namespace detail

}  // namespace tavrel
