// The toolkit-free half of the window services: message tables, the dialog's default
// commands and the application object. The backends supply the rest of Window.h.
#include "platform/Window.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace tavrel::ui {

namespace {
constexpr MessageMap kWndMap{nullptr, {}};

CWinApp* g_app = nullptr;

bool Matches(const MessageEntry& e, const Message& msg) {
    if (e.message != msg.id) {
        return false;
    }
    if (msg.id != wm::Command) {
        return true;
    }
    const int id = static_cast<int>(msg.wParam & 0xFFFF);
    const unsigned code = static_cast<unsigned>((msg.wParam >> 16) & 0xFFFF);
    return e.code == code && id >= e.firstId && id <= e.lastId;
}

// Restores the message that an outer handler was handling, for nested dispatch.
class CurrentMessage {
public:
    CurrentMessage(const Message*& slot, const Message& msg) : slot_(slot), saved_(slot) {
        slot_ = &msg;
    }
    ~CurrentMessage() { slot_ = saved_; }

private:
    const Message*& slot_;
    const Message* saved_;
};
}  // namespace

namespace {

// Decimal text as a dialog reads a number: blanks around it, a sign when signed, then
// digits only. Nothing when the text is anything else or the number is out of range.
std::optional<std::int64_t> ParseDecimal(std::u16string_view text, bool isSigned) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(u' ') - first + 1);
    bool negative = false;
    if (isSigned && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const std::int64_t limit = isSigned ? (negative ? 2147483648LL : 2147483647LL) : 4294967295LL;
    std::int64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return negative ? -value : value;
}

}  // namespace

void CWnd::SetDlgItemInt(int id, int value, bool isSigned) {
    char digits[16];
    const auto result =
        isSigned ? std::to_chars(digits, digits + sizeof digits, value)
                 : std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(value));
    SetDlgItemText(id, std::u16string(digits, result.ptr));
}

int CWnd::GetDlgItemInt(int id, bool isSigned) const {
    const std::optional<std::int64_t> value = ParseDecimal(GetDlgItemText(id), isSigned);
    return value ? static_cast<int>(static_cast<std::uint32_t>(*value)) : 0;
}

const MessageMap* CWnd::GetMessageMap() const {
    return &kWndMap;
}

bool CWnd::OnWndMsg(const Message& msg, MsgResult* result) {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageEntry& e : map->entries) {
            if (Matches(e, msg)) {
                CurrentMessage current(currentMessage_, msg);
                const MsgResult r = e.handler(*this, msg);
                if (result != nullptr) {
                    *result = r;
                }
                return true;
            }
        }
    }
    return false;
}

// --- CDialog

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* parent)
    : template_(dialogTemplate), parent_(parent) {}

CDialog::~CDialog() = default;

const MessageMap* CDialog::GetMessageMap() const {
    // IDOK and IDCANCEL end the dialog unless a derived table binds them first.
    static const MessageEntry entries[] = {
        {wm::Command, bn::Clicked, IDOK, IDOK,
         [](CWnd& w, const Message&) -> MsgResult {
             static_cast<CDialog&>(w).OnOK();
             return 0;
         }},
        {wm::Command, bn::Clicked, IDCANCEL, IDCANCEL,
         [](CWnd& w, const Message&) -> MsgResult {
             static_cast<CDialog&>(w).OnCancel();
             return 0;
         }},
    };
    static const MessageMap map{&kWndMap, entries};
    return &map;
}

CWnd* CDialog::ModalOwner() const {
    if (parent_ != nullptr) {
        return parent_;
    }
    const CWinApp* app = AfxGetApp();
    return app != nullptr && app->m_pMainWnd != this ? app->m_pMainWnd : nullptr;
}

bool CDialog::OnInitDialog() {
    return true;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// --- CWinApp

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

bool CWinApp::InitInstance() {
    return true;
}

CWinApp* AfxGetApp() {
    return g_app;
}

}  // namespace tavrel::ui
