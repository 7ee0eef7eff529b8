// The toolkit-free half of the window services: message tables, the dialog's default
// commands and the application object. The backends supply the rest of Window.h.
#include "platform/Window.h"

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

const MessageMap* CWnd::GetMessageMap() const {
    return &kWndMap;
}

bool CWnd::OnWndMsg(const Message& msg, MsgResult* result) {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageEntry& e : map->entries) {
            if (Matches(e, msg)) {
                CurrentMessage current(m_currentMessage, msg);
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
    : m_template(dialogTemplate), m_parent(parent) {}

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
