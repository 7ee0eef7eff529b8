// device_config.dat on POSIX systems: open/read/write, fsync, rename, and flock on the
// temporary file so that a later write can tell a live writer's file from a stale one.

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <string_view>

#include "record/CodePage.h"
#include "record/FileDescriptorPosix.h"
#include "record/FolderFlush.h"
#include "record/SettingsFile.h"
#include "record/TemporaryName.h"
#include "record/UniqueHandle.h"

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

struct DirectoryPolicy {
    using Value = DIR*;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value listing) noexcept { closedir(listing); }
};

// A folder listing (fdopendir), which owns the descriptor it was opened on.
using UniqueDirectory = UniqueHandle<DirectoryPolicy>;

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

// Whether the open file, read from its start, holds exactly `expected`: one byte more
// than a record is asked for, so that a longer file shows. 0, or the errno of a failure.
int Holds(int fd, const DeviceSettingsRecord::Image& expected, bool& same) {
    if (lseek(fd, 0, SEEK_SET) != 0) {
        return errno;
    }
    std::array<std::uint8_t, kRecordSize + 1> buffer{};
    int readError = 0;  // a failed read leaves the count short: not the same
    const std::size_t n = ReadFully(fd, buffer, readError);
    same = n == kRecordSize && std::equal(expected.begin(), expected.end(), buffer.begin());
    return 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the temporary files that writes ended by a kill or a power loss left in the
// folder. A running writer holds the lock on its file from creation to rename, so a file
// we can lock is nobody's; it is removed only while its name still leads to it.
void RemoveStaleTemporaryFiles(const std::string& folder) {
    const Descriptor folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd) {
        return;
    }
    Descriptor listed(dup(folderFd.Get()));
    const UniqueDirectory listing(listed ? fdopendir(listed.Get()) : nullptr);
    if (!listing) {
        return;
    }
    (void)listed.Release();  // the listing closes it now
    while (const dirent* entry = readdir(listing.Get())) {
        if (!detail::IsTemporaryFileName(std::string_view(entry->d_name))) {
            continue;
        }
        const Descriptor file(openat(folderFd.Get(), entry->d_name,
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened {
        }, named{};
        if (file && fstat(file.Get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
            flock(file.Get(), LOCK_EX | LOCK_NB) == 0 &&
            fstatat(folderFd.Get(), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(opened, named)) {
            unlinkat(folderFd.Get(), entry->d_name, 0);
        }
    }
}

int FlushWithFsync(int folderFd) {
    return fsync(folderFd) == 0 ? 0 : errno;
}

std::atomic<detail::FolderFlush> folderFlush{FlushWithFsync};

// Syncs the folder's entry for a renamed file; file systems that cannot sync a
// folder say so with EINVAL, which is no failure of ours.
int SyncFolder(const std::string& folder) {
    const Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
        return 0;
    }
    const int error = folderFlush.load()(fd.Get());
    return error == EINVAL || error == ENOTSUP ? 0 : error;
}

// The temporary file of the write in progress, for a signal handler to remove: the
// name is complete whenever `pendingSet` is.
char pendingName[PATH_MAX];
volatile std::sig_atomic_t pendingSet = 0;

void SetPending(const std::string& name) {
    pendingSet = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    const std::size_t n = std::min(name.size(), sizeof pendingName - 1);
    std::memcpy(pendingName, name.data(), n);
    pendingName[n] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pendingSet = 1;
}

void ClearPending() {
    pendingSet = 0;
}

// Every signal held back from this thread for the length of a scope; errno kept.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &saved_);
    }
    ~SignalsHeld() {
        const int error = errno;
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
        errno = error;
    }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_;
};

}  // namespace

NativePath ToNativePath(std::u16string_view path) {
    return ToCodePage(path, kUtf8CodePage);
}

void RemoveTemporaryFileOfWriteInProgress() {
    if (pendingSet) {
        unlink(pendingName);
    }
}

WriteResult WriteSettingsFile(const NativePath& path, const DeviceSettingsRecord& record,
                              NewFileAccess access) {
    if (path.size() >= PATH_MAX) {
        return {WriteError::PathTooLong, 0};
    }
    struct stat previous {};
    const bool replacing = lstat(path.c_str(), &previous) == 0;
    if (replacing && S_ISDIR(previous.st_mode)) {
        return {WriteError::TargetIsDirectory, 0};
    }
    if (replacing && !S_ISREG(previous.st_mode)) {
        return {WriteError::TargetNotRegularFile, 0};
    }
    if (!replacing && errno != ENOENT) {
        return Failed(errno);
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    RemoveStaleTemporaryFiles(folder);

    // A rewrite's file is created private and then given the previous file's mode; a new
    // file is created 0666 less the umask, or 0600 when it is to stay private.
    const mode_t createMode = replacing || access == NewFileAccess::OwnerOnly ? 0600 : 0666;
    std::string temporary;
    Descriptor fd;
    for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        temporary = folder + '/' + detail::NewTemporaryFileName(getpid(), ticks);
        {
            // A signal handler sees either no file or one it can remove.
            const SignalsHeld held;
            fd.Reset(open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, createMode));
            if (fd) {
                SetPending(temporary);
            }
        }
        if (!fd) {
            if (errno != EEXIST) {
                return Failed(errno);
            }
            continue;
        }
        // Locked before anything is written; a stale-file sweep that locked it first has
        // removed the name, and the next name is tried.
        struct stat created {};
        if (flock(fd.Get(), LOCK_EX) != 0 || fstat(fd.Get(), &created) != 0 ||
            created.st_nlink == 0) {
            ClearPending();
            fd.Reset();
        }
    }
    if (!fd) {
        return Failed(EEXIST);
    }

    // Until the rename, every failure removes the temporary file and leaves the
    // previous file as it was.
    const auto abandon = [&](WriteResult result) {
        unlink(temporary.c_str());
        ClearPending();
        return result;
    };
    if (replacing) {
        if (fchmod(fd.Get(), previous.st_mode & 07777) != 0) {
            return abandon(Failed(errno));
        }
        // Another user's file (root rewriting it) stays theirs where that is allowed; where
        // it is not, the new file is the writer's own, as any new file would be.
        if (previous.st_uid != geteuid() || previous.st_gid != getegid()) {
            if (fchown(fd.Get(), previous.st_uid, previous.st_gid) != 0) {
                // Not allowed (not root): the file stays the writer's; nothing to report.
            }
        }
    }
    const auto& bytes = record.Bytes();
    if (const int error = WriteFully(fd.Get(), bytes); error != 0) {
        return abandon(Failed(error));
    }
    if (fsync(fd.Get()) != 0) {
        return abandon(Failed(errno));
    }
    bool same = false;
    if (const int error = Holds(fd.Get(), bytes, same); error != 0) {
        return abandon(Failed(error));
    }
    if (!same) {
        return abandon({WriteError::VerifyFailed, 0});
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        return abandon(Failed(errno));
    }
    ClearPending();

    // The new file is in place: what can still fail is the flush of the folder, which
    // makes the rename last, and the file may be another writer's already.
    if (const int error = SyncFolder(folder); error != 0) {
        return {WriteError::ReplacedButNotFlushed, error};
    }
    struct stat ours {};
    struct stat standing {};
    if (fstat(fd.Get(), &ours) == 0 && stat(path.c_str(), &standing) == 0 &&
        !SameFile(ours, standing)) {
        return {WriteError::ReplacedByAnotherWriter, 0};
    }
    return {};
}

namespace detail {

FolderFlush ReplaceFolderFlush(FolderFlush flush) {
    return folderFlush.exchange(flush);
}

}  // namespace detail

}  // namespace tavrel
