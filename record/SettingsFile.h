#pragma once
// Reading and writing device_config.dat.

#include <filesystem>
#include <optional>
#include <string>

#include "DeviceSettingsRecord.h"

namespace tavrel {

inline constexpr char16_t kSettingsFileName[] = u"device_config.dat";

// Reads the record from an existing file: nothing when it cannot be opened; otherwise the
// first 1036 bytes, with zeros past the end of a shorter file.
std::optional<DeviceSettingsRecord> ReadSettingsFile(const std::filesystem::path& path);

enum class WriteError {
    None,
    PathTooLong,        // longer than the platform's path limit
    FolderNotFound,     // the folder does not exist
    AccessDenied,       // no permission, or a read-only medium
    TargetIsDirectory,  // a folder stands where the file should go
    DiskFull,           // no space left on the medium
    VerifyFailed,       // the file read back differs from what was written
    Other,              // any other failure of the system; see systemError
};

struct WriteResult {
    WriteError error = WriteError::None;
    int systemError = 0;  // errno, or GetLastError() on Windows; 0 when none applies
    explicit operator bool() const { return error == WriteError::None; }
};

// Writes the whole record safely: a temporary file in the same folder, flushed to the
// medium, then moved over the target, then read back and compared. On any failure the
// temporary file is removed and a previous file at `path` is left exactly as it was.
WriteResult WriteSettingsFile(const std::filesystem::path& path,
                              const DeviceSettingsRecord& record);

// The reason of a failed write as a short Traditional Chinese sentence for the user.
std::u16string DescribeWriteError(const WriteResult& result);

}  // namespace tavrel
