// device_config.dat on Windows: the wide-character file calls, FlushFileBuffers and
// MoveFileExW.

#include "record/Win32.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "record/FileHandleWin32.h"
#include "record/SettingsFile.h"
#include "record/TemporaryName.h"

namespace tavrel {

namespace {

// Not named by every SDK's headers.
constexpr DWORD kDiskQuotaExceeded = 1295;

WriteResult Failed(DWORD error) {
    const int code = static_cast<int>(error);
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DIRECTORY:
            return {WriteError::FolderNotFound, code};
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return {WriteError::AccessDenied, code};
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case kDiskQuotaExceeded:
            return {WriteError::DiskFull, code};
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return {WriteError::PathTooLong, code};
        default:
            return {WriteError::Other, code};
    }
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The volume and file index that identify a file, however its path is spelled.
struct FileIdentity {
    DWORD volume = 0, indexHigh = 0, indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        return std::nullopt;
    }
    return IdentityOf(file.Get());
}

// Whether the file read from its start holds exactly `expected` (one byte more than a
// record is asked for, so that a longer file shows).
bool Holds(HANDLE file, const DeviceSettingsRecord::Image& expected) {
    std::array<std::uint8_t, kRecordSize + 1> buffer{};
    int readError = 0;  // a failed read leaves the count short: not the same
    const std::size_t n = ReadFully(file, buffer, readError);
    return n == kRecordSize && std::equal(expected.begin(), expected.end(), buffer.begin());
}

// A temporary file this young may belong to a writer between closing its file and
// moving it into place; every other live writer's file is open, and cannot be deleted.
constexpr ULONGLONG kStaleAge = 60ull * 10'000'000;  // one minute, in 100 ns units

// Removes the temporary files that writes ended by a kill or a power loss left in the
// folder: those no process has open, and not written in the last minute.
void RemoveStaleTemporaryFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L'\\' + detail::TemporaryFileNamePattern();
    const UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search) {
        return;
    }
    FILETIME nowTime{};
    GetSystemTimeAsFileTime(&nowTime);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    do {
        if (detail::IsTemporaryFileName(std::wstring_view(found.cFileName)) &&
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                0 &&
            ticks(nowTime) - ticks(found.ftLastWriteTime) > kStaleAge) {
            DeleteFileW((folder + L'\\' + found.cFileName).c_str());
        }
    } while (FindNextFileW(search.Get(), &found));
}

// One write at a time, so that a console control handler can wait for the one in
// progress to end before the process does.
SRWLOCK writeLock = SRWLOCK_INIT;

class WriteInProgress {
public:
    WriteInProgress() { AcquireSRWLockExclusive(&writeLock); }
    ~WriteInProgress() { ReleaseSRWLockExclusive(&writeLock); }
    WriteInProgress(const WriteInProgress&) = delete;
    WriteInProgress& operator=(const WriteInProgress&) = delete;
};

}  // namespace

void RemoveTemporaryFileOfWriteInProgress() {
    AcquireSRWLockExclusive(&writeLock);  // never released: the process is ending
}

NativePath ToNativePath(std::u16string_view path) {
    return NativePath(path.begin(), path.end());
}

WriteResult WriteSettingsFile(const NativePath& target, const DeviceSettingsRecord& record,
                              NewFileAccess /*access*/) {
    if (target.size() >= MAX_PATH) {
        return {WriteError::PathTooLong, 0};
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            return {WriteError::TargetIsDirectory, 0};
        }
        if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) {
            return {WriteError::TargetNotRegularFile, 0};
        }
    }
    const std::size_t separator = target.find_last_of(L"\\/");
    const std::wstring folder =
        separator == std::wstring::npos ? std::wstring(L".") : target.substr(0, separator);
    RemoveStaleTemporaryFiles(folder);

    const WriteInProgress inProgress;
    std::wstring temporary;
    UniqueFileHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary =
            folder + L'\\' + detail::NewTemporaryFileName(GetCurrentProcessId(), GetTickCount64());
        if (temporary.size() >= MAX_PATH) {
            return {WriteError::PathTooLong, 0};
        }
        // Not shared: while this writer has it open, no other can delete it as stale.
        file.Reset(CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return Failed(error);
            }
        }
    }
    if (!file) {
        return Failed(ERROR_FILE_EXISTS);
    }

    // Until the move, every failure removes the temporary file and leaves the previous
    // file as it was.
    const auto abandon = [&](WriteResult result) {
        file.Reset();
        DeleteFileW(temporary.c_str());
        return result;
    };
    const auto& bytes = record.Bytes();
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return abandon(Failed(GetLastError()));
    }
    if (written != bytes.size()) {
        return abandon(Failed(ERROR_HANDLE_DISK_FULL));
    }
    if (!FlushFileBuffers(file.Get())) {
        return abandon(Failed(GetLastError()));
    }
    if (SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return abandon(Failed(GetLastError()));
    }
    if (!Holds(file.Get(), bytes)) {
        return abandon({WriteError::VerifyFailed, 0});
    }
    // Closed before the move, which a file still open would block; the close can report
    // a write that failed late.
    const std::optional<FileIdentity> ours = IdentityOf(file.Get());
    if (!file.Close()) {
        return abandon(Failed(GetLastError()));
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        // Write-through reports the flush after the move: the file may stand in place.
        if (ours && IdentityOf(target) == ours) {
            return {WriteError::ReplacedButNotFlushed, static_cast<int>(error)};
        }
        return abandon(IsDirectory(target)
                           ? WriteResult{WriteError::TargetIsDirectory, static_cast<int>(error)}
                           : Failed(error));
    }

    // The new file is in place, flushed with the move; it may be another writer's already.
    const std::optional<FileIdentity> standing = IdentityOf(target);
    if (ours && standing && standing != ours) {
        return {WriteError::ReplacedByAnotherWriter, 0};
    }
    return {};
}

}  // namespace tavrel
