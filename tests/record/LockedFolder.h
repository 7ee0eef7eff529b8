#pragma once
// A folder in which nothing new can be made, for tests of writes that the system
// refuses (POSIX only). Permission bits stop ordinary users; root passes them, so for
// root the folder is made immutable instead, where the file system allows it.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

namespace tavrel::test {

class LockedFolder {
public:
    explicit LockedFolder(const std::filesystem::path& path) : path_(path) {
        std::filesystem::permissions(
            path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        if (access(path.c_str(), W_OK) != 0) {
            locked_ = true;
            return;
        }
        fd_ = open(path.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd_ >= 0 && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            locked_ = ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~LockedFolder() {
        if (fd_ >= 0) {
            int flags = 0;
            ioctl(fd_, FS_IOC_GETFLAGS, &flags);
            flags &= ~FS_IMMUTABLE_FL;
            ioctl(fd_, FS_IOC_SETFLAGS, &flags);
            close(fd_);
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

    // False when this user can neither be kept out by permissions nor make it immutable.
    bool locked() const { return locked_; }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool locked_ = false;
};

}  // namespace tavrel::test
