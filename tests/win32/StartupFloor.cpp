// tavrel_startup_floor.exe: the least a Win32 program can do to show a window, for
// tools/measure-startup-windows to set beside tavrel.exe. A modal dialog from an
// in-memory template with one static control, built with the same compiler, flags and
// static runtime as the program, importing only kernel32 and user32. No manifest, no
// common controls, no dialog font: what is left is Wine's own cost of starting a process
// and showing a window.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>

namespace {

// DLGTEMPLATE and one DLGITEMTEMPLATE, each DWORD-aligned, with their variable-length
// parts (menu, class, title; class, text, creation data) as UTF-16.
struct alignas(4) FloorTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass;
    wchar_t title[22];
    WORD pad;
    DLGITEMTEMPLATE item;
    WORD classOrdinal[2];
    wchar_t text[6];
    WORD creationData;
};
static_assert(offsetof(FloorTemplate, item) % 4 == 0, "items start on a DWORD boundary");

INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    static FloorTemplate floor{
        {WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 1, 0, 0,
         160, 40},
        0,
        0,
        L"Tavrel start-up floor",
        0,
        {WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 10, 10, 100, 10, 0xFFFF},
        {0xFFFF, 0x0082},  // the Static class
        L"floor",
        0,
    };
    DialogBoxIndirectParamW(instance, &floor.dialog, nullptr, FloorProc, 0);
    return 0;
}
