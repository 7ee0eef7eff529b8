// RegularFile.h on POSIX systems: lstat/stat first, so that a FIFO or device is never
// opened, then open with O_NONBLOCK and fstat again in case something else took the name
// in between.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "record/FileDescriptorPosix.h"
#include "record/RegularFile.h"

namespace tavrel {

namespace {

FileStatus StatusFromMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return {FileKind::Regular};
    }
    if (S_ISDIR(mode)) {
        return {FileKind::Folder};
    }
    if (S_ISLNK(mode)) {
        return {FileKind::SymbolicLink};
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return {FileKind::Device};
    }
    if (S_ISFIFO(mode)) {
        return {FileKind::Pipe};
    }
    if (S_ISSOCK(mode)) {
        return {FileKind::Socket};
    }
    return {FileKind::Other};
}

FileStatus StatusFromError(int error) {
    if (error == ENOENT) {
        return {FileKind::Missing};
    }
    return {FileKind::Other, error};
}

}  // namespace

FileStatus LinkStatus(const NativePath& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        return StatusFromError(errno);
    }
    return StatusFromMode(st.st_mode);
}

RegularFileRead ReadRegularFile(const NativePath& path, std::size_t limit) {
    RegularFileRead result;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        result.status = StatusFromError(errno);
        return result;
    }
    result.status = StatusFromMode(st.st_mode);
    if (result.status.kind != FileKind::Regular) {
        return result;
    }
    const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        result.status = StatusFromError(errno);
        return result;
    }
    result.status =
        fstat(fd.Get(), &st) != 0 ? FileStatus{FileKind::Other, errno} : StatusFromMode(st.st_mode);
    if (result.status.kind != FileKind::Regular) {
        return result;
    }
    result.size = static_cast<std::uintmax_t>(st.st_size);
    result.more = ReadAtMost(limit, result.bytes, [&](std::span<std::uint8_t> buffer) {
        return ReadFully(fd.Get(), buffer, result.status.systemError);
    });
    return result;
}

}  // namespace tavrel
