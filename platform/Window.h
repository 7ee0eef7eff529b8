#pragma once
// The window and control services that the dialog and the application use, in the
// vocabulary of the Win32 window services, without any toolkit header. Each backend
// (platform/win32, platform/qt) implements every function declared here; exactly one
// backend is linked into a program.
//
// Messages reach a window's handlers through its message table (MessageMap): each entry
// names a message, a notification code, a range of control ids and a handler. A backend
// turns its own events (Win32 messages, Qt signals and events) into Message values and
// hands them to CWnd::OnWndMsg, which walks the table of the most derived class first,
// then its bases.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/DialogTemplate.h"
#include "record/CodePage.h"
#include "record/DeviceSettingsRecord.h"

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

namespace tavrel::ui {

using NativeWindow = void*;  // HWND, or the QWidget of the dialog
using NativeMenu = void*;    // HMENU, or the QMenu that stands for the system menu
using Icon = void*;          // HICON, or a QIcon owned by the backend (never released)
using MsgResult = std::intptr_t;

struct Message {
    unsigned id;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// Message numbers and codes, with their Windows values.
namespace wm {
inline constexpr unsigned Paint = 0x000F;
inline constexpr unsigned IconEraseBkgnd = 0x0027;
inline constexpr unsigned QueryDragIcon = 0x0037;
inline constexpr unsigned Command = 0x0111;     // wParam: id | code << 16
inline constexpr unsigned SysCommand = 0x0112;  // wParam: command, lParam: position
}  // namespace wm
namespace bn {
inline constexpr unsigned Clicked = 0;
}
namespace sc {
inline constexpr unsigned Move = 0xF010;
inline constexpr unsigned Close = 0xF060;
}  // namespace sc
namespace mb {
inline constexpr unsigned Ok = 0x0000;
inline constexpr unsigned IconError = 0x0010;
inline constexpr unsigned IconInformation = 0x0040;
}  // namespace mb
namespace sm {
inline constexpr int CxIcon = 11;
inline constexpr int CyIcon = 12;
}  // namespace sm

class CWnd;
using MessageHandler = MsgResult (*)(CWnd& target, const Message& msg);

struct MessageEntry {
    unsigned message;
    unsigned code;  // notification code (wm::Command); 0 otherwise
    int firstId;    // control id range (wm::Command); 0 otherwise
    int lastId;
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    std::span<const MessageEntry> entries;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The system menu of a window (on platforms without one: the entries the window offers
// in its context menu and application menu). Choosing an item sends wm::SysCommand.
class CMenu {
public:
    explicit CMenu(NativeMenu menu) : m_hMenu(menu) {}
    void AppendSeparator();
    void AppendItem(unsigned commandId, std::u16string_view text);  // '&' marks the access key
    NativeMenu m_hMenu;
};

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    NativeWindow GetSafeHwnd() const { return hwnd_; }

    virtual const MessageMap* GetMessageMap() const;

    // Looks the message up in the tables, most derived first; true when a handler took it.
    bool OnWndMsg(const Message& msg, MsgResult* result);
    // The platform's default handling of the message being handled right now.
    MsgResult Default();
    MsgResult SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // --- the window itself
    void SetIcon(Icon icon, bool big);
    bool IsIconic() const;
    Rect GetClientRect() const;
    // The system menu, or nothing when the window has none.
    std::optional<CMenu> GetSystemMenu(bool revert);
    // Modal, owned by this window; returns the button pressed (IDOK). Its OK button reads
    // as SetMessageBoxOkText says.
    int MessageBox(std::u16string_view text, std::u16string_view caption, unsigned type);

    // --- its controls, by id
    void CheckDlgButton(int id, int checked);  // 1 checked, 0 unchecked
    bool IsDlgButtonChecked(int id) const;
    // A disabled control keeps its value and refuses input.
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;

    // Address entry: a blank control reads 0, an empty field reads 0.
    void SetDlgItemAddress(int id, AddressValue value);
    AddressValue GetDlgItemAddress(int id) const;

    // Drop-down list: entries keep insertion order; an index out of range clears the
    // selection; the selection reads -1 when there is none.
    int AddListEntry(int id, std::u16string_view text);
    void SetListSelection(int id, int index);
    int GetListSelection(int id) const;

    // Typing or pasting beyond the limit is refused; text set by the program is not cut.
    void LimitText(int id, int maxChars);
    // The same, counted in bytes of the text converted to the code page; a character that
    // would not fit whole is refused.
    void LimitTextBytes(int id, int maxBytes, CodePage cp);
    // Edits with style::EsNumber refuse every character but digits, typed or pasted.

    // UTF-16 text. Multi-line edits hold line breaks as CR LF.
    void SetDlgItemText(int id, std::u16string_view text);
    std::u16string GetDlgItemText(int id) const;
    // Decimal text (shared by the backends, on top of the text functions): reads 0 when
    // the text is empty or not a number in range; blanks around the number are allowed.
    void SetDlgItemInt(int id, int value, bool isSigned);
    int GetDlgItemInt(int id, bool isSigned) const;

protected:
    NativeWindow hwnd_ = nullptr;
    const Message* currentMessage_ = nullptr;  // set by OnWndMsg while a handler runs
    friend struct WindowAccess;                // for the backends (platform/WindowAccess.h)
};

// Painting context for wm::Paint handlers: begins painting when constructed, ends when
// destroyed.
class CPaintDC {
public:
    explicit CPaintDC(CWnd& wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    std::uintptr_t GetSafeHdc() const { return hdc_; }
    void DrawIcon(int x, int y, Icon icon);

private:
    struct State;  // the backend's painting state
    CWnd& wnd_;
    std::uintptr_t hdc_ = 0;
    std::unique_ptr<State> state_;
};

int GetSystemMetrics(int index);

class CDialog : public CWnd {
public:
    // With no parent, the application's main window (if it exists) owns the dialog.
    explicit CDialog(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns its end code, or -1 when it could not be created.
    // The owner is disabled while it runs.
    virtual int DoModal();
    void EndDialog(int result);

    const DialogTemplate& GetTemplate() const { return template_; }
    CWnd* GetParentWnd() const { return parent_; }
    // The window that owns the dialog while it runs: its parent, or else the
    // application's main window unless that is this dialog itself; nullptr for none.
    CWnd* ModalOwner() const;
    const MessageMap* GetMessageMap() const override;

    // Called by the backend once the window and its controls exist. The default returns
    // true: the framework puts the focus on the first tab stop.
    virtual bool OnInitDialog();

protected:
    // Default actions for IDOK and IDCANCEL when the tables bind nothing else to them.
    virtual void OnOK();
    virtual void OnCancel();

private:
    const DialogTemplate& template_;
    CWnd* parent_;
};

class CWinApp {
public:
    // The one application object registers itself here; the backend's entry point runs it.
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Per-instance initialisation. Returning false ends the process without a message loop.
    virtual bool InitInstance();

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// The program's whole run, for its entry point: the platform's set-up, then the
// application object's InitInstance (nothing when there is none). Of `argv` only the
// program's name reaches the toolkit: the tool takes no arguments. `appIconId` names the
// icon resource that the program's windows show unless they set their own. Returns the
// process's exit code.
int RunApplication(int argc, char* argv[], int appIconId);

// The caption of MessageBox's OK button where the toolkit draws message boxes itself
// (Qt); Windows shows its own, in the system's language. Until set, the toolkit's own.
void SetMessageBoxOkText(std::u16string_view text);

// Icons and other resources that the executable carries, by resource id.
Icon LoadAppIcon(int resourceId);

// --- building message tables

namespace detail {
template <class M>
struct MemberClass;
template <class C, class R, class... A>
struct MemberClass<R (C::*)(A...)> {
    using type = C;
};
template <auto Method>
using ClassOf = typename MemberClass<decltype(Method)>::type;
}  // namespace detail

// void T::Method(): a button click (or any notification `code`) from control `id`.
template <auto Method>
constexpr MessageEntry OnCommand(int id, unsigned code = bn::Clicked) {
    return {wm::Command, code, id, id, [](CWnd& w, const Message&) -> MsgResult {
                (static_cast<detail::ClassOf<Method>&>(w).*Method)();
                return 0;
            }};
}

// void T::Method(unsigned command, std::intptr_t position): wm::SysCommand.
template <auto Method>
constexpr MessageEntry OnSysCommand() {
    return {wm::SysCommand, 0, 0, 0, [](CWnd& w, const Message& m) -> MsgResult {
                (static_cast<detail::ClassOf<Method>&>(w).*Method)(static_cast<unsigned>(m.wParam),
                                                                   m.lParam);
                return 0;
            }};
}

// void T::Method(): wm::Paint.
template <auto Method>
constexpr MessageEntry OnPaint() {
    return {wm::Paint, 0, 0, 0, [](CWnd& w, const Message&) -> MsgResult {
                (static_cast<detail::ClassOf<Method>&>(w).*Method)();
                return 0;
            }};
}

// Icon T::Method(): wm::QueryDragIcon.
template <auto Method>
constexpr MessageEntry OnQueryDragIcon() {
    return {wm::QueryDragIcon, 0, 0, 0, [](CWnd& w, const Message&) -> MsgResult {
                return reinterpret_cast<MsgResult>(
                    (static_cast<detail::ClassOf<Method>&>(w).*Method)());
            }};
}

}  // namespace tavrel::ui
