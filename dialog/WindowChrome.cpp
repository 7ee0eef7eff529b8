// What the settings window has beyond its form: the application icon, the About entry
// in the system menu and the About box, and the icon painted while minimised.
#include "dialog/AboutDlg.h"
#include "dialog/ConfigDlg.h"
#include "dialog/Strings.h"
#include "dialog/resource.h"
#include "form/Words.h"

namespace tavrel {

void CConfigDlg::InitChrome() {
    if (std::optional<ui::CMenu> menu = GetSystemMenu(false)) {
        const std::u16string_view text = LoadResourceString(IDS_ABOUT_MENU);
        if (!text.empty()) {
            menu->AppendSeparator();
            menu->AppendItem(IDM_ABOUT, text);
        }
    }
    SetIcon(appIcon_, true);
    SetIcon(appIcon_, false);
    ui::SetMessageBoxOkText(form::words::kOk);
}

void CConfigDlg::OnSystemCommand(unsigned command, std::intptr_t /*position*/) {
    if ((command & 0xFFF0) == IDM_ABOUT) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CConfigDlg::OnPaintWindow() {
    if (!IsIconic()) {
        Default();
        return;
    }
    ui::CPaintDC dc(*this);
    SendMessage(ui::wm::IconEraseBkgnd, dc.GetSafeHdc(), 0);
    const int cxIcon = ui::GetSystemMetrics(ui::sm::CxIcon);
    const int cyIcon = ui::GetSystemMetrics(ui::sm::CyIcon);
    const ui::Rect rect = GetClientRect();
    dc.DrawIcon(CenteredIconOffset(rect.Width(), cxIcon), CenteredIconOffset(rect.Height(), cyIcon),
                appIcon_);
}

ui::Icon CConfigDlg::OnDragIconQuery() {
    return appIcon_;
}

}  // namespace tavrel
