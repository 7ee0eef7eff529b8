// Window and control operations of CWnd on Qt Widgets; painting, system metrics and
// the icons the executable carries in its Qt resources.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <limits>
#include <map>
#include <memory>

#include "platform/Window.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtIconEngine.h"
#include "platform/qt/QtText.h"

namespace tavrel::ui {

using qt::DialogWindow;
using qt::ToQString;
using qt::ToU16;
using qt::WindowOf;

namespace {

template <class T>
T* ControlOf(const CWnd& wnd, int id) {
    DialogWindow* window = WindowOf(wnd);
    return window == nullptr ? nullptr : qobject_cast<T*>(window->Control(id));
}

// The size a PNG file's header gives (no image plugins involved), or an invalid size.
QSize PngSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray head = file.read(24);  // signature, IHDR length and type, width, height
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR") {
        return {};
    }
    const auto be32 = [&head](int at) {
        return (static_cast<int>(static_cast<unsigned char>(head[at])) << 24) |
               (static_cast<unsigned char>(head[at + 1]) << 16) |
               (static_cast<unsigned char>(head[at + 2]) << 8) |
               static_cast<unsigned char>(head[at + 3]);
    };
    return {be32(16), be32(20)};
}

// The caption of the message boxes' OK button; empty: Qt's own.
QString& OkText() {
    static QString text;
    return text;
}

}  // namespace

// --- CWnd: the window itself

MsgResult CWnd::Default() {
    DialogWindow* window = WindowOf(*this);
    return (currentMessage_ == nullptr || window == nullptr)
               ? 0
               : window->DefaultHandling(*currentMessage_);
}

MsgResult CWnd::SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const Message msg{message, wParam, lParam};
    if (DialogWindow* window = WindowOf(*this)) {
        return window->Dispatch(msg);
    }
    MsgResult result = 0;
    OnWndMsg(msg, &result);
    return result;
}

void CWnd::SetIcon(Icon icon, bool /*big*/) {
    // Qt keeps one icon in all sizes for both roles.
    DialogWindow* window = WindowOf(*this);
    if (window != nullptr && icon != nullptr) {
        window->setWindowIcon(*static_cast<const QIcon*>(icon));
    }
}

bool CWnd::IsIconic() const {
    const DialogWindow* window = WindowOf(*this);
    return window != nullptr && window->isMinimized();
}

Rect CWnd::GetClientRect() const {
    const DialogWindow* window = WindowOf(*this);
    return window == nullptr ? Rect{} : Rect{0, 0, window->width(), window->height()};
}

std::optional<CMenu> CWnd::GetSystemMenu(bool revert) {
    DialogWindow* window = WindowOf(*this);
    if (window == nullptr || !(window->Template().style & style::SysMenu)) {
        return std::nullopt;
    }
    if (revert) {
        window->SystemMenu()->clear();
        return std::nullopt;
    }
    return CMenu(window->SystemMenu());
}

int CWnd::MessageBox(std::u16string_view text, std::u16string_view caption, unsigned type) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type & 0xF0) {
        case mb::IconError:
            icon = QMessageBox::Critical;
            break;
        case 0x20:  // MB_ICONQUESTION
            icon = QMessageBox::Question;
            break;
        case 0x30:  // MB_ICONWARNING
            icon = QMessageBox::Warning;
            break;
        case mb::IconInformation:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    QMessageBox box(icon, ToQString(caption), ToQString(text), QMessageBox::Ok, WindowOf(*this));
    box.setTextFormat(Qt::PlainText);
    if (!OkText().isEmpty()) {
        box.button(QMessageBox::Ok)->setText(OkText());
    }
    box.exec();
    return IDOK;
}

// --- CWnd: controls

void CWnd::CheckDlgButton(int id, int checked) {
    if (auto* button = ControlOf<QAbstractButton>(*this, id)) {
        button->setChecked(checked != 0);
    }
}

bool CWnd::IsDlgButtonChecked(int id) const {
    const auto* button = ControlOf<QAbstractButton>(*this, id);
    return button != nullptr && button->isChecked();
}

void CWnd::EnableDlgItem(int id, bool enable) {
    if (DialogWindow* window = WindowOf(*this)) {
        if (QWidget* control = window->Control(id)) {
            control->setEnabled(enable);
        }
    }
}

bool CWnd::IsDlgItemEnabled(int id) const {
    const DialogWindow* window = WindowOf(*this);
    const QWidget* control = window == nullptr ? nullptr : window->Control(id);
    return control != nullptr && control->isEnabled();
}

void CWnd::SetDlgItemAddress(int id, AddressValue value) {
    if (auto* address = ControlOf<qt::AddressEdit>(*this, id)) {
        address->SetAddress(value);
    }
}

AddressValue CWnd::GetDlgItemAddress(int id) const {
    const auto* address = ControlOf<qt::AddressEdit>(*this, id);
    return address == nullptr ? 0 : address->Address();
}

int CWnd::AddListEntry(int id, std::u16string_view text) {
    auto* combo = ControlOf<QComboBox>(*this, id);
    if (combo == nullptr) {
        return -1;
    }
    combo->addItem(ToQString(text));
    return combo->count() - 1;
}

void CWnd::SetListSelection(int id, int index) {
    if (auto* combo = ControlOf<QComboBox>(*this, id)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

int CWnd::GetListSelection(int id) const {
    const auto* combo = ControlOf<QComboBox>(*this, id);
    return combo == nullptr ? -1 : combo->currentIndex();
}

void CWnd::LimitText(int id, int maxChars) {
    const int limit = maxChars > 0 ? maxChars : -1;  // 0: as much as the edit holds
    if (auto* line = ControlOf<qt::LineEdit>(*this, id)) {
        line->Rule().maxUnits = limit;
    } else if (auto* plain = ControlOf<qt::PlainEdit>(*this, id)) {
        plain->Rule().maxUnits = limit;
    }
}

void CWnd::LimitTextBytes(int id, int maxBytes, CodePage cp) {
    const int limit = maxBytes >= 0 ? maxBytes : -1;
    if (auto* line = ControlOf<qt::LineEdit>(*this, id)) {
        line->Rule().maxBytes = limit;
        line->Rule().codePage = cp;
    } else if (auto* plain = ControlOf<qt::PlainEdit>(*this, id)) {
        plain->Rule().maxBytes = limit;
        plain->Rule().codePage = cp;
    }
}

void CWnd::SetDlgItemText(int id, std::u16string_view text) {
    DialogWindow* window = WindowOf(*this);
    QWidget* control = window == nullptr ? nullptr : window->Control(id);
    const QString value = ToQString(text);
    if (auto* line = qobject_cast<qt::LineEdit*>(control)) {
        line->SetProgramText(value);
    } else if (auto* plain = qobject_cast<qt::PlainEdit*>(control)) {
        plain->SetProgramText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
    }
}

std::u16string CWnd::GetDlgItemText(int id) const {
    const DialogWindow* window = WindowOf(*this);
    const QWidget* control = window == nullptr ? nullptr : window->Control(id);
    if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
        return ToU16(line->text());
    }
    if (const auto* plain = qobject_cast<const qt::PlainEdit*>(control)) {
        return ToU16(plain->WindowsText());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return ToU16(button->text());
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return ToU16(label->text());
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return ToU16(combo->currentText());
    }
    if (const auto* address = qobject_cast<const qt::AddressEdit*>(control)) {
        return ToU16(address->Text());
    }
    return {};
}

void SetMessageBoxOkText(std::u16string_view text) {
    OkText() = ToQString(text);
}

// --- CMenu: the entries that stand for the system menu

void CMenu::AppendSeparator() {
    static_cast<QMenu*>(m_hMenu)->addSeparator();
}

void CMenu::AppendItem(unsigned commandId, std::u16string_view text) {
    auto* menu = static_cast<QMenu*>(m_hMenu);
    QAction* action = menu->addAction(ToQString(text));
    action->setData(commandId);
#ifdef Q_OS_MACOS
    // The application menu offers the window's first own entry as its About item.
    if (auto* window = qobject_cast<DialogWindow*>(menu->parentWidget())) {
        static QMenuBar* bar = new QMenuBar(nullptr);
        static QMenu* appMenu = bar->addMenu(window->windowTitle());
        auto* item = new QAction(ToQString(text), window);  // goes with the window
        const bool first = menu->actions().size() <= 2;     // separator and this one
        item->setMenuRole(first ? QAction::AboutRole : QAction::ApplicationSpecificRole);
        QObject::connect(item, &QAction::triggered, window, [window, commandId] {
            window->Dispatch({wm::SysCommand, commandId, 0});
        });
        appMenu->addAction(item);
    }
#endif
}

// --- painting

// Present only while painting: the painter of the window's paint event.
struct CPaintDC::State {
    QPainter* painter;
};

CPaintDC::CPaintDC(CWnd& wnd) : wnd_(wnd) {
    QPainter* painter = nullptr;
    if (DialogWindow* window = WindowOf(wnd); window != nullptr && window->BeginPainting(painter)) {
        state_ = std::make_unique<State>(State{painter});
        hdc_ = reinterpret_cast<std::uintptr_t>(painter);
    }
}

CPaintDC::~CPaintDC() {
    if (state_ != nullptr) {
        if (DialogWindow* window = WindowOf(wnd_)) {
            window->EndPainting();
        }
    }
}

void CPaintDC::DrawIcon(int x, int y, Icon icon) {
    QPainter* painter = state_ != nullptr ? state_->painter : nullptr;
    if (painter == nullptr || icon == nullptr) {
        return;
    }
    const QSize size(GetSystemMetrics(sm::CxIcon), GetSystemMetrics(sm::CyIcon));
    painter->drawPixmap(QPoint(x, y), static_cast<const QIcon*>(icon)->pixmap(size));
}

int GetSystemMetrics(int index) {
    if (index == sm::CxIcon || index == sm::CyIcon) {
        // In the device-independent pixels that widgets are laid out and painted in.
        const QStyle* style = qApp != nullptr ? QApplication::style() : nullptr;
        return style != nullptr ? style->pixelMetric(QStyle::PM_LargeIconSize) : 32;
    }
    return 0;
}

Icon LoadAppIcon(int resourceId) {
    // The icon resource's images lie in the Qt resources under :/icon/<id>/.
    static std::map<int, std::unique_ptr<QIcon>> icons;
    static const bool cleanUp = [] {
        qAddPostRoutine([] { icons.clear(); });  // before the application is gone
        return true;
    }();
    (void)cleanUp;
    auto it = icons.find(resourceId);
    if (it == icons.end()) {
        QList<qt::IconImage> images;
        const QDir dir(QStringLiteral(":/icon/%1").arg(resourceId));
        for (const QString& name : dir.entryList(QDir::Files)) {
            const QString path = dir.filePath(name);
            if (const QSize size = PngSize(path); size.isValid()) {
                images.append({path, size});
            }
        }
        std::unique_ptr<QIcon> icon;
        if (!images.isEmpty()) {
            icon = std::make_unique<QIcon>(new qt::IconEngine(std::move(images)));
        }
        it = icons.emplace(resourceId, std::move(icon)).first;
    }
    return it->second.get();
}

}  // namespace tavrel::ui
