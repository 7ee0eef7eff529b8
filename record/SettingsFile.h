#pragma once
// Reading and writing device_config.dat: a read that never waits on what is not a file,
// and a write that either puts the whole record in place or leaves the previous file as
// it was, reporting what failed as an error code and the system's error number.

#include <optional>
#include <string>
#include <string_view>

#include "record/DeviceSettingsRecord.h"
#include "record/NativePath.h"

namespace tavrel {

inline constexpr char16_t kSettingsFileName[] = u"device_config.dat";

// The native form of a UTF-16 path (UTF-8 bytes off Windows).
NativePath ToNativePath(std::u16string_view path);

// Reads the record from an existing regular file: nothing when it cannot be opened or is
// anything else (a folder, FIFO, device or socket is never opened for a blocking read);
// otherwise its first 1036 bytes, with zeros past the end of a shorter file.
std::optional<DeviceSettingsRecord> ReadSettingsFile(const NativePath& path);

enum class WriteError {
    None,
    PathTooLong,              // longer than the platform's path limit
    FolderNotFound,           // the folder does not exist
    AccessDenied,             // no permission, or a read-only medium
    TargetIsDirectory,        // a folder stands where the file should go
    TargetNotRegularFile,     // a device, FIFO, socket or symbolic link stands there
    DiskFull,                 // no space left on the medium
    VerifyFailed,             // the file read back differs from what was written
    ReplacedButNotFlushed,    // the new file replaced the old one, then the medium failed
    ReplacedByAnotherWriter,  // written and in place, then another write replaced it
    Other,                    // any other failure of the system; see systemError
};

struct WriteResult {
    WriteError error = WriteError::None;
    int systemError = 0;  // errno, or GetLastError() on Windows; 0 when none applies
    explicit operator bool() const { return error == WriteError::None; }
    // Whether the new file took the old one's place despite the failure.
    bool Replaced() const {
        return error == WriteError::ReplacedButNotFlushed ||
               error == WriteError::ReplacedByAnotherWriter;
    }
};

// Who may read a file that the write creates (a file it replaces keeps its own mode).
// POSIX only; on Windows the folder's permissions apply.
enum class NewFileAccess {
    Default,    // as the process's umask allows
    OwnerOnly,  // 0600: the stored copy, which holds the key
};

// Writes the whole record safely: a temporary file in the same folder, flushed to the
// medium, read back and compared, then moved over the target and the folder flushed.
// Refuses a target that is neither absent nor a regular file. Until the move, any
// failure removes the temporary file and leaves a previous file at `path` exactly as it
// was; after it, only ReplacedButNotFlushed and ReplacedByAnotherWriter can follow.
// Temporary files of earlier writes that were killed are removed from the folder first;
// those of writes still running are left alone.
WriteResult WriteSettingsFile(const NativePath& path, const DeviceSettingsRecord& record,
                              NewFileAccess access = NewFileAccess::Default);

// Leaves no temporary file of the write in progress in this process, for a handler that
// ends the process right after. POSIX: removes it, async-signal-safe. Windows, where the
// handler runs on a thread of its own: waits until the write in progress has ended (its
// temporary file moved into place or removed) and lets no other write start. Writes in
// one process are expected one at a time.
void RemoveTemporaryFileOfWriteInProgress();

}  // namespace tavrel
