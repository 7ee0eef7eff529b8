// The dialogs in this process, for what another process cannot read or do: the settings
// window's own system menu, a handler that throws.
#include <windows.h>
// windows.h first
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "dialog/ConfigDlg.h"
#include "tests/dialog/ThrowingDlg.h"

namespace {

struct MenuItem {
    UINT type = 0;
    UINT id = 0;
    std::wstring text;
};

struct Inspection {
    HWND dialog = nullptr;
    int count = 0;
    MenuItem beforeLast, last;
};

tavrel::CConfigDlg* g_dialog = nullptr;
Inspection g_seen;

MenuItem ReadItem(HMENU menu, int position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text));
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return {info.fType, info.wID, text};
}

// Runs inside the dialog's modal loop: looks at the system menu, then closes the window
// the way its close command does.
void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = static_cast<HWND>(g_dialog->GetSafeHwnd());
    g_seen.dialog = dialog;
    if (HMENU menu = GetSystemMenu(dialog, FALSE)) {
        g_seen.count = GetMenuItemCount(menu);
        g_seen.beforeLast = ReadItem(menu, g_seen.count - 2);
        g_seen.last = ReadItem(menu, g_seen.count - 1);
    }
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST(SettingsWindow, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs an X display (DISPLAY)";
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);
    tavrel::CConfigDlg dialog;
    g_dialog = &dialog;
    SetTimer(nullptr, 0, 10, Inspect);

    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "the close command ends the dialog with IDCANCEL";
    ASSERT_NE(g_seen.dialog, nullptr);
    EXPECT_GE(g_seen.count, 3) << "the platform's own items come first";
    EXPECT_NE(g_seen.beforeLast.type & MFT_SEPARATOR, 0u);
    EXPECT_EQ(g_seen.last.id, 0x0010u);
    EXPECT_EQ(g_seen.last.text, L"&關於Tavrel");
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "the window is gone after the modal run";
}

using tavrel::test::ThrowingDlg;

ThrowingDlg* g_throwing = nullptr;

void CALLBACK PressConfirm(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND dialog = static_cast<HWND>(g_throwing->GetSafeHwnd())) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

TEST(SettingsWindow, ExceptionFromAHandlerEndsTheDialog) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs an X display (DISPLAY)";
    }
    for (const bool inInit : {false, true}) {
        ThrowingDlg dialog(inInit);
        g_throwing = &dialog;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, PressConfirm);
        EXPECT_EQ(dialog.DoModal(), -1) << (inInit ? "OnInitDialog" : "the confirm handler");
        KillTimer(nullptr, timer);
        g_throwing = nullptr;
    }
}

}  // namespace
