// Window and control operations of CWnd on the Win32 window services; painting, system
// metrics and the executable's icons.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Window.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Controls.h"

namespace tavrel::ui {

using win32::Hwnd;
using win32::Utf16;
using win32::Wide;

namespace {

HWND Item(const CWnd& wnd, int id) {
    return GetDlgItem(Hwnd(wnd.GetSafeHwnd()), id);
}

LRESULT SendToItem(const CWnd& wnd, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageW(Hwnd(wnd.GetSafeHwnd()), id, msg, wParam, lParam);
}

}  // namespace

// --- the window itself

MsgResult CWnd::SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return SendMessageW(Hwnd(hwnd_), message, wParam, lParam);
}

void CWnd::SetIcon(Icon icon, bool big) {
    SendMessageW(Hwnd(hwnd_), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon));
}

bool CWnd::IsIconic() const {
    return ::IsIconic(Hwnd(hwnd_)) != FALSE;
}

Rect CWnd::GetClientRect() const {
    RECT rc{};
    ::GetClientRect(Hwnd(hwnd_), &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

std::optional<CMenu> CWnd::GetSystemMenu(bool revert) {
    HMENU menu = ::GetSystemMenu(Hwnd(hwnd_), revert ? TRUE : FALSE);
    if (menu == nullptr) {
        return std::nullopt;
    }
    return CMenu(menu);
}

int CWnd::MessageBox(std::u16string_view text, std::u16string_view caption, unsigned type) {
    return MessageBoxW(Hwnd(hwnd_), Wide(text).c_str(), Wide(caption).c_str(), type);
}

void SetMessageBoxOkText(std::u16string_view /*text*/) {
    // The system's message box shows its own caption, in the system's language.
}

void CMenu::AppendSeparator() {
    AppendMenuW(static_cast<HMENU>(m_hMenu), MF_SEPARATOR, 0, nullptr);
}

void CMenu::AppendItem(unsigned commandId, std::u16string_view text) {
    AppendMenuW(static_cast<HMENU>(m_hMenu), MF_STRING, commandId, Wide(text).c_str());
}

// --- controls

void CWnd::CheckDlgButton(int id, int checked) {
    SendToItem(*this, id, BM_SETCHECK, checked != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CWnd::IsDlgButtonChecked(int id) const {
    return SendToItem(*this, id, BM_GETCHECK, 0, 0) != 0;
}

void CWnd::EnableDlgItem(int id, bool enable) {
    EnableWindow(Item(*this, id), enable ? TRUE : FALSE);
}

bool CWnd::IsDlgItemEnabled(int id) const {
    return IsWindowEnabled(Item(*this, id)) != FALSE;
}

void CWnd::SetDlgItemAddress(int id, AddressValue value) {
    SendToItem(*this, id, IPM_SETADDRESS, 0, static_cast<LPARAM>(value));
}

AddressValue CWnd::GetDlgItemAddress(int id) const {
    DWORD value = 0;
    SendToItem(*this, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

int CWnd::AddListEntry(int id, std::u16string_view text) {
    const std::wstring entry = Wide(text);
    return static_cast<int>(
        SendToItem(*this, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str())));
}

void CWnd::SetListSelection(int id, int index) {
    // Wine keeps the old selection for an index past the end; clear it ourselves.
    const auto count = static_cast<int>(SendToItem(*this, id, CB_GETCOUNT, 0, 0));
    const int selection = index >= 0 && index < count ? index : -1;
    SendToItem(*this, id, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int CWnd::GetListSelection(int id) const {
    const LRESULT selection = SendToItem(*this, id, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

void CWnd::LimitText(int id, int maxChars) {
    SendToItem(*this, id, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0), 0);
}

void CWnd::LimitTextBytes(int id, int maxBytes, CodePage cp) {
    win32::LimitEditBytes(Item(*this, id), maxBytes, cp);
}

void CWnd::SetDlgItemText(int id, std::u16string_view text) {
    SetDlgItemTextW(Hwnd(hwnd_), id, Wide(text).c_str());
}

std::u16string CWnd::GetDlgItemText(int id) const {
    HWND item = Item(*this, id);
    const int length = GetWindowTextLengthW(item);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Utf16(text);
}

// --- painting and resources

struct CPaintDC::State {
    PAINTSTRUCT paint{};
};

CPaintDC::CPaintDC(CWnd& wnd) : wnd_(wnd), state_(std::make_unique<State>()) {
    hdc_ = reinterpret_cast<std::uintptr_t>(BeginPaint(Hwnd(wnd.GetSafeHwnd()), &state_->paint));
}

CPaintDC::~CPaintDC() {
    EndPaint(Hwnd(wnd_.GetSafeHwnd()), &state_->paint);
}

void CPaintDC::DrawIcon(int x, int y, Icon icon) {
    ::DrawIcon(reinterpret_cast<HDC>(hdc_), x, y, static_cast<HICON>(icon));
}

int GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

Icon LoadAppIcon(int resourceId) {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
}

}  // namespace tavrel::ui
