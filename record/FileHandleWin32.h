#pragma once
// The owners of the Win32 handles that file code holds: an open file (CreateFileW and its
// kin, closed with CloseHandle) and a folder search (FindFirstFileW, closed with
// FindClose).

#include <cstddef>
#include <cstdint>
#include <span>

#include "record/UniqueHandle.h"
#include "record/Win32.h"

namespace tavrel {

struct FileHandlePolicy {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    // Whether the system closed the file cleanly; GetLastError() says why not.
    static bool Close(Value handle) noexcept { return CloseHandle(handle) != FALSE; }
};

// What CreateFileW returns: INVALID_HANDLE_VALUE (not nullptr) owns nothing.
using UniqueFileHandle = UniqueHandle<FileHandlePolicy>;

// Reads until `buffer` is full, the file ends or a read fails; returns the count read, and
// GetLastError() of a failed read in `error` (0 when none).
inline std::size_t ReadFully(HANDLE file, std::span<std::uint8_t> buffer, int& error) {
    error = 0;
    std::size_t done = 0;
    while (done < buffer.size()) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data() + done, static_cast<DWORD>(buffer.size() - done), &got,
                      nullptr)) {
            error = static_cast<int>(GetLastError());
            break;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

struct FindHandlePolicy {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value search) noexcept { FindClose(search); }
};

// What FindFirstFileW returns: INVALID_HANDLE_VALUE owns nothing.
using UniqueFindHandle = UniqueHandle<FindHandlePolicy>;

}  // namespace tavrel
