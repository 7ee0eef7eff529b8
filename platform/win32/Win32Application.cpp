// The program's run on Windows: the process settings the tool relies on, then one run of
// the application object's per-instance initialisation. No message loop follows it.
#include "platform/Window.h"
#include "platform/win32/Win32.h"

namespace tavrel::ui {

int RunApplication(int /*argc*/, char* /*argv*/[], int /*appIconId*/) {
    // File calls on a drive without a medium fail quietly instead of asking the user.
    const UINT errorMode = SetErrorMode(0);
    SetErrorMode(errorMode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES;  // the address entry too
    InitCommonControlsEx(&controls);

    // Each window takes its icon from the resources itself (CWnd::SetIcon).
    if (CWinApp* app = AfxGetApp()) {
        app->InitInstance();
    }
    return 0;
}

}  // namespace tavrel::ui
