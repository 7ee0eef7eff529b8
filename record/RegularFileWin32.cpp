// RegularFile.h on Windows: a handle is opened for the name (a device such as NUL or CON
// opens at once and is never read) and its type asked before any byte is read.

#include "record/FileHandleWin32.h"
#include "record/RegularFile.h"

namespace tavrel {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileStatus StatusFromError(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return {FileKind::Missing};
    }
    return {FileKind::Other, static_cast<int>(error)};
}

FileStatus StatusOfHandle(HANDLE h) {
    switch (GetFileType(h)) {
        case FILE_TYPE_CHAR:
            return {FileKind::Device};
        case FILE_TYPE_PIPE:
            return {FileKind::Pipe};
        case FILE_TYPE_DISK:
            break;
        default:
            return {FileKind::Other};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) {
        return {FileKind::Other, static_cast<int>(GetLastError())};
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return {FileKind::SymbolicLink};
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return {FileKind::Folder};
    }
    return {FileKind::Regular};
}

}  // namespace

FileStatus LinkStatus(const NativePath& path) {
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        return StatusFromError(GetLastError());
    }
    return StatusOfHandle(file.Get());
}

RegularFileRead ReadRegularFile(const NativePath& path, std::size_t limit) {
    RegularFileRead result;
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        result.status = StatusFromError(GetLastError());
        return result;
    }
    result.status = StatusOfHandle(file.Get());
    if (result.status.kind != FileKind::Regular) {
        return result;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size)) {
        result.size = static_cast<std::uintmax_t>(size.QuadPart);
    }
    result.more = ReadAtMost(limit, result.bytes, [&](std::span<std::uint8_t> buffer) {
        return ReadFully(file.Get(), buffer, result.status.systemError);
    });
    return result;
}

}  // namespace tavrel
