// Modal dialogs on the Win32 dialog manager: the template is built in memory, the
// dialog procedure hands every message to the dialog's message tables, and what no table
// takes gets the dialog manager's default handling.
#include <vector>

#include "platform/Window.h"
#include "platform/WindowAccess.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32DialogTemplateBuilder.h"

namespace tavrel::ui {

using win32::Hwnd;

namespace {

// CWnd::Default hands the message being handled to DefDlgProcW, which first calls the
// dialog procedure again with the same message: that one call must go unhandled, so that
// the default processing runs instead of the handler a second time.
struct DefaultPass {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool pending = false;
};
DefaultPass g_defaultPass;  // one user-interface thread

bool TakeDefaultPass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DefaultPass& pass = g_defaultPass;
    if (pass.pending && pass.hwnd == hwnd && pass.message == message && pass.wParam == wParam &&
        pass.lParam == lParam) {
        pass.pending = false;
        return true;
    }
    return false;
}

RECT WorkArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return area;
    }
    return info.rcWork;
}

// Centres a dialog as the framework does: over its owner, kept inside the work area of
// the monitor nearest to the owner; a dialog without a (visible, not minimised) owner in
// the work area of the monitor that holds the application's main window.
void CentreDialog(HWND dialog) {
    RECT window{};
    GetWindowRect(dialog, &window);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;

    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && (!IsWindowVisible(owner) || IsIconic(owner))) {
        owner = nullptr;
    }
    RECT centre{};
    RECT area{};
    if (owner != nullptr) {
        GetWindowRect(owner, &centre);
        area = WorkArea(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST));
    } else {
        HWND mainWindow = dialog;
        if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd != nullptr &&
                                        app->m_pMainWnd->GetSafeHwnd() != nullptr) {
            mainWindow = Hwnd(app->m_pMainWnd->GetSafeHwnd());
        }
        area = WorkArea(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY));
        centre = area;
    }

    LONG x = (centre.left + centre.right) / 2 - width / 2;
    LONG y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x < area.left) {
        x = area.left;
    } else if (x + width > area.right) {
        x = area.right - width;
    }
    if (y < area.top) {
        y = area.top;
    } else if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Pastes into ES_NUMBER edits are filtered too; the edit itself looks only at typing.
void FilterNumberEdits(HWND dialog, const DialogTemplate& dialogTemplate) {
    for (const ControlTemplate& c : dialogTemplate.controls) {
        if (c.kind == ControlClass::Edit && (c.style & style::EsNumber) != 0 && c.id != kNoId) {
            win32::AcceptDigitsOnly(GetDlgItem(dialog, c.id));
        }
    }
}

// Messages whose result the dialog procedure returns itself instead of in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

INT_PTR InitDialog(HWND hwnd, CDialog& dialog) {
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&dialog));
    WindowAccess::SetHandle(dialog, hwnd);
    FilterNumberEdits(hwnd, dialog.GetTemplate());

    RECT before{};
    GetWindowRect(hwnd, &before);
    const bool focusFirstTabStop = dialog.OnInitDialog();
    RECT after{};
    GetWindowRect(hwnd, &after);
    if (EqualRect(&before, &after)) {
        CentreDialog(hwnd);  // unless the initialisation placed the window itself
    }
    return focusFirstTabStop ? TRUE : FALSE;
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (TakeDefaultPass(hwnd, message, wParam, lParam)) {
        return FALSE;
    }
    try {
        if (message == WM_INITDIALOG) {
            return InitDialog(hwnd, *reinterpret_cast<CDialog*>(lParam));
        }
        auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (dialog == nullptr) {
            return FALSE;  // before WM_INITDIALOG
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            WindowAccess::SetHandle(*dialog, nullptr);
            return FALSE;
        }
        MsgResult result = 0;
        if (!dialog->OnWndMsg({message, wParam, lParam}, &result)) {
            return FALSE;
        }
        if (ReturnsResultDirectly(message)) {
            return result;
        }
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        // Nothing may unwind through the dialog manager: end the dialog instead.
        EndDialog(hwnd, -1);
        return TRUE;
    }
}

}  // namespace

MsgResult CWnd::Default() {
    if (currentMessage_ == nullptr || hwnd_ == nullptr) {
        return 0;
    }
    const Message& msg = *currentMessage_;
    HWND hwnd = Hwnd(hwnd_);
    const DefaultPass saved = g_defaultPass;
    g_defaultPass = {hwnd, msg.id, static_cast<WPARAM>(msg.wParam), static_cast<LPARAM>(msg.lParam),
                     true};
    const LRESULT result = DefDlgProcW(hwnd, msg.id, msg.wParam, msg.lParam);
    g_defaultPass = saved;
    return result;
}

int CDialog::DoModal() {
    const std::vector<std::uint8_t> dialogTemplate = win32::BuildDialogTemplate(template_);
    const CWnd* ownerWnd = ModalOwner();
    HWND owner = ownerWnd == nullptr ? nullptr : Hwnd(ownerWnd->GetSafeHwnd());
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), owner,
        DialogProc, reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    return static_cast<int>(result);
}

void CDialog::EndDialog(int result) {
    ::EndDialog(Hwnd(hwnd_), result);
}

}  // namespace tavrel::ui
