#pragma once
// Input filters for edit controls, added by subclassing the control. They act on what
// the user types (WM_CHAR, WM_IME_CHAR), pastes (WM_PASTE) or composes with an input
// method; text the program sets (WM_SETTEXT) always passes unchanged.

#include "platform/win32/Win32.h"
#include "record/CodePage.h"

namespace tavrel::ui::win32 {

// The text may hold at most maxBytes bytes once converted to the code page, counted
// whole characters at a time:
// - a typed character that would not fit is refused;
// - a paste inserts the longest prefix of whole characters that fits (only its first
//   line in a single-line edit), or nothing when not even one character fits;
// - EM_REPLACESEL with text that would not fit is refused whole;
// - a composition result that would not fit is taken back.
// A text longer than the limit that the program put there stays as it is; while it is
// too long, nothing can be added, only removed. Calling it again changes the limit.
void LimitEditBytes(HWND edit, int maxBytes, CodePage codePage);

// Only the digits 0-9 can be typed or pasted (a paste holding anything else is refused
// whole). For ES_NUMBER edits, whose own filter does not look at pastes.
void AcceptDigitsOnly(HWND edit);

}  // namespace tavrel::ui::win32
