// The program's entry point: the process settings the tool relies on, then one run of
// the application object's per-instance initialisation. No message loop follows it.
#include "platform/Window.h"
#include "platform/win32/Win32.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    // File calls on a drive without a medium fail quietly instead of asking the user.
    const UINT errorMode = SetErrorMode(0);
    SetErrorMode(errorMode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES;  // the address entry too
    InitCommonControlsEx(&controls);

    if (tavrel::ui::CWinApp* app = tavrel::ui::AfxGetApp()) {
        app->InitInstance();
    }
    return 0;
}
