#pragma once
// <windows.h> and the shell and common-control headers, for the Win32 backend only.
//
// The window services in platform/Window.h carry the names of the Win32 functions they
// stand for (MessageBox, SendMessage, SetDlgItemText...). <windows.h> turns some of
// those names into macros for their A/W variants; they are undefined here so that
// Window.h means the same in every translation unit. Backend code calls the W functions
// by their full names.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include "record/Win32.h"
// windows.h first
#include <commctrl.h>
#include <shlobj.h>

#undef MessageBox
#undef SendMessage
#undef SetDlgItemText
#undef GetDlgItemText

#include <string>
#include <string_view>

namespace tavrel::ui::win32 {

// The backend's text is UTF-16 on both sides; these copy between the two character types
// without aliasing one as the other.
inline std::wstring Wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}
inline std::u16string Utf16(std::wstring_view text) {
    return {text.begin(), text.end()};
}

inline HWND Hwnd(void* window) {
    return static_cast<HWND>(window);
}

}  // namespace tavrel::ui::win32
