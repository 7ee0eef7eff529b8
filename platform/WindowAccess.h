#pragma once
// What the backends need of CWnd beyond its public face: setting the window a CWnd
// stands for, from outside the class (the Win32 dialog procedure, the Qt modal run).

#include "platform/Window.h"

namespace tavrel::ui {

struct WindowAccess {
    static void SetHandle(CWnd& wnd, NativeWindow handle) { wnd.hwnd_ = handle; }
};

}  // namespace tavrel::ui
