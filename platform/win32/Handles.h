#pragma once
// Small owners for the Win32 resources the backend holds for the length of one call.

#include "platform/win32/Win32.h"

namespace tavrel::ui::win32 {

// A handle from CreateFileW, closed at the end of its scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// COM on this thread for the length of a scope; left alone when the thread already runs
// COM in another mode.
class ComApartment {
public:
    ComApartment()
        : initialised_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

// An item list the shell allocated, freed with CoTaskMemFree.
class ItemIdList {
public:
    explicit ItemIdList(PIDLIST_ABSOLUTE pidl) : pidl_(pidl) {}
    ~ItemIdList() { CoTaskMemFree(pidl_); }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    PIDLIST_ABSOLUTE get() const { return pidl_; }
    explicit operator bool() const { return pidl_ != nullptr; }

private:
    PIDLIST_ABSOLUTE pidl_;
};

// The clipboard, open for the length of a scope.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// A locked global memory block.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~GlobalLockScope() {
        if (data_ != nullptr) {
            GlobalUnlock(block_);
        }
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    const void* data() const { return data_; }
    SIZE_T size() const { return data_ != nullptr ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    void* data_;
};

}  // namespace tavrel::ui::win32
