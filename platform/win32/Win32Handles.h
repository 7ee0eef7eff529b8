#pragma once
// The owners of the Win32 resources the backend holds for the length of one call: an
// alias of UniqueHandle for each kind, and the calls that acquire the scoped states.

#include "platform/win32/Win32.h"
#include "record/FileHandleWin32.h"
#include "record/UniqueHandle.h"

namespace tavrel::ui::win32 {

using tavrel::UniqueFileHandle;

// COM on this thread; holds true when this scope initialised it.
struct ComApartmentPolicy {
    using Value = bool;
    static Value Invalid() noexcept { return false; }
    static void Close(Value) noexcept { CoUninitialize(); }
};
using UniqueComApartment = UniqueHandle<ComApartmentPolicy>;

// COM for the length of a scope; left alone when the thread already runs COM in another
// mode.
inline UniqueComApartment InitializeCom() {
    return UniqueComApartment(
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)));
}

// An item list the shell allocated, freed with CoTaskMemFree.
struct ItemIdListPolicy {
    using Value = PIDLIST_ABSOLUTE;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value pidl) noexcept { CoTaskMemFree(pidl); }
};
using UniqueItemIdList = UniqueHandle<ItemIdListPolicy>;

// The clipboard; holds true while this scope has it open.
struct ClipboardPolicy {
    using Value = bool;
    static Value Invalid() noexcept { return false; }
    static void Close(Value) noexcept { CloseClipboard(); }
};
using UniqueClipboard = UniqueHandle<ClipboardPolicy>;

// Opens the clipboard for owner; owns nothing when another window has it open.
inline UniqueClipboard OpenClipboardFor(HWND owner) {
    return UniqueClipboard(OpenClipboard(owner) != FALSE);
}

// A global memory block that the caller has locked (GlobalLock), unlocked with
// GlobalUnlock.
struct GlobalLockPolicy {
    using Value = HGLOBAL;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value block) noexcept { GlobalUnlock(block); }
};
using UniqueGlobalLock = UniqueHandle<GlobalLockPolicy>;

}  // namespace tavrel::ui::win32
