#pragma once
// The owners of the Win32 handles that file code holds: an open file (CreateFileW and its
// kin, closed with CloseHandle) and a folder search (FindFirstFileW, closed with
// FindClose).

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

struct FindHandlePolicy {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value search) noexcept { FindClose(search); }
};

// What FindFirstFileW returns: INVALID_HANDLE_VALUE owns nothing.
using UniqueFindHandle = UniqueHandle<FindHandlePolicy>;

}  // namespace tavrel
