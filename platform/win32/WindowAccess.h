#pragma once
// What the Win32 backend needs of CWnd beyond its public face.

#include "platform/Window.h"

namespace tavrel::ui {

struct WindowAccess {
    static void SetHandle(CWnd& wnd, NativeWindow handle) { wnd.m_hWnd = handle; }
};

}  // namespace tavrel::ui
