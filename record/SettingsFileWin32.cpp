// device_config.dat on Windows: the wide-character file calls, FlushFileBuffers and
// MoveFileExW.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>

#include "record/SettingsFile.h"
#include "record/SystemErrorText.h"

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

// Reads until `buffer` is full, the file ends or a read fails; returns the count read.
std::size_t ReadFully(HANDLE file, std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        DWORD n = 0;
        if (!ReadFile(file, buffer.data() + done, static_cast<DWORD>(buffer.size() - done), &n,
                      nullptr) ||
            n == 0) {
            break;
        }
        done += n;
    }
    return done;
}

// Whether the file read from its start holds exactly `expected` (one byte more than a
// record is asked for, so that a longer file shows).
bool Holds(HANDLE file, const DeviceSettingsRecord::Image& expected) {
    std::array<std::uint8_t, kRecordSize + 1> buffer{};
    const std::size_t n = ReadFully(file, buffer);
    return n == kRecordSize && std::equal(expected.begin(), expected.end(), buffer.begin());
}

// A name no other writer uses at the same moment; CREATE_NEW settles any clash. Short,
// so that it fits wherever device_config.dat fits.
std::wstring TemporaryName(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    const unsigned long long mix = (GetTickCount64() * 0x9E3779B97F4A7C15ull) ^
                                   (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) ^
                                   counter.fetch_add(1);
    wchar_t name[32];
    std::swprintf(name, 32, L"~tav%08llx.tmp", mix & 0xFFFFFFFFull);
    return (folder / name).native();
}

}  // namespace

std::optional<DeviceSettingsRecord> ReadSettingsFile(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kRecordSize> image{};
    const std::size_t n = ReadFully(file, image);
    CloseHandle(file);
    return DeviceSettingsRecord::FromImage(std::span(image).first(n));
}

WriteResult WriteSettingsFile(const std::filesystem::path& path,
                              const DeviceSettingsRecord& record) {
    const std::wstring& target = path.native();
    if (target.size() >= MAX_PATH) {
        return {WriteError::PathTooLong, 0};
    }
    if (IsDirectory(target)) {
        return {WriteError::TargetIsDirectory, 0};
    }

    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(path.parent_path());
        if (temporary.size() >= MAX_PATH) {
            return {WriteError::PathTooLong, 0};
        }
        file = CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_ARCHIVE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return Failed(error);
            }
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return Failed(ERROR_FILE_EXISTS);
    }

    // Until the move, every failure removes the temporary file and leaves the previous
    // file as it was.
    const auto abandon = [&](WriteResult result) {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        DeleteFileW(temporary.c_str());
        return result;
    };
    const auto& bytes = record.Bytes();
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return abandon(Failed(GetLastError()));
    }
    if (written != bytes.size()) {
        return abandon(Failed(ERROR_HANDLE_DISK_FULL));
    }
    if (!FlushFileBuffers(file)) {
        return abandon(Failed(GetLastError()));
    }
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return abandon(Failed(GetLastError()));
    }
    if (!Holds(file, bytes)) {
        return abandon({WriteError::VerifyFailed, 0});
    }
    const BOOL closed = CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (!closed) {
        return abandon(Failed(GetLastError()));
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        return abandon(IsDirectory(target)
                           ? WriteResult{WriteError::TargetIsDirectory, static_cast<int>(error)}
                           : Failed(error));
    }

    // The new file is in place now; a failure from here on can no longer keep the
    // previous one, but is still reported, since the medium may not hold what it should.
    const HANDLE check =
        CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (check == INVALID_HANDLE_VALUE) {
        return Failed(GetLastError());
    }
    const bool same = Holds(check, bytes);
    CloseHandle(check);
    if (!same) {
        return {WriteError::VerifyFailed, 0};
    }
    return {};
}

namespace detail {

std::u16string SystemErrorText(int error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (n > 0 && buffer != nullptr) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), n);
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    // The system's sentences end with a line break, which a message box does not need.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace detail

}  // namespace tavrel
