#pragma once
// The owner of a Win32 file handle (CreateFileW and its kin), closed with CloseHandle.

#include "record/Win32.h"

#include "record/UniqueHandle.h"

namespace tavrel {

struct FileHandlePolicy {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value handle) noexcept { CloseHandle(handle); }
};

// What CreateFileW returns: INVALID_HANDLE_VALUE (not nullptr) owns nothing.
using UniqueFileHandle = UniqueHandle<FileHandlePolicy>;

}  // namespace tavrel
