// The window of a CDialog on Qt, once built: Qt's events turned into the window's
// messages, the platform's default handling of those, the focus walk in template order,
// painting and the end of the modal run.
#include "platform/qt/QtDialogWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QWindow>

#include "platform/qt/QtDialogTemplateBuilder.h"

namespace tavrel::ui::qt {

namespace {

constexpr unsigned kScMinimize = 0xF020;
constexpr unsigned kScRestore = 0xF120;

Message Command(int id, unsigned code) {
    return {wm::Command, (static_cast<std::uintptr_t>(id) & 0xFFFF) | (std::uintptr_t{code} << 16),
            0};
}

// The cursor position as Windows packs it into a message's long parameter.
std::intptr_t PackPoint(const QPoint& p) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(p.x()) & 0xFFFF) |
                                      ((static_cast<std::uint32_t>(p.y()) & 0xFFFF) << 16));
}

bool CanTakeFocus(const QWidget* w) {
    return w->isEnabled() && !w->isHidden();
}

}  // namespace

DialogWindow::DialogWindow(CDialog& dialog, QWidget* owner) : QDialog(owner), dialog_(dialog) {
    Build();
    // Alt+Space opens the system menu, as on Windows.
    auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

void DialogWindow::Clicked(int id) {
    Dispatch(Command(id, bn::Clicked));
}

QWidget* DialogWindow::Control(int id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

int DialogWindow::IndexOf(const QWidget* widget) const {
    for (; widget != nullptr && widget != this; widget = widget->parentWidget()) {
        for (std::size_t i = 0; i < placed_.size(); ++i) {
            if (placed_[i].widget == widget) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

int DialogWindow::ControlId(const QWidget* widget) const {
    const int index = IndexOf(widget);
    return index < 0 ? kNoId : placed_[static_cast<std::size_t>(index)].control->id;
}

QMenu* DialogWindow::SystemMenu() {
    if (!systemMenu_) {
        systemMenu_ = new QMenu(this);
    }
    return systemMenu_;
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPos) {
    if (!systemMenu_ || systemMenu_->isEmpty()) {
        return;
    }
    QPointer<DialogWindow> self(this);
    QAction* chosen = systemMenu_->exec(globalPos);
    if (self && chosen != nullptr && chosen->data().isValid()) {
        Dispatch({wm::SysCommand, chosen->data().toUInt(), PackPoint(QCursor::pos())});
    }
}

MsgResult DialogWindow::Dispatch(const Message& msg) {
    try {
        MsgResult result = 0;
        if (dialog_.OnWndMsg(msg, &result)) {
            return result;
        }
        return DefaultHandling(msg);
    } catch (...) {
        // Nothing may unwind through Qt's event handling: end the dialog instead, as the
        // Win32 dialog procedure does.
        EndWith(-1);
        return 0;
    }
}

MsgResult DialogWindow::DefaultHandling(const Message& msg) {
    switch (msg.id) {
        case wm::SysCommand:
            switch (static_cast<unsigned>(msg.wParam) & 0xFFF0) {
                case sc::Close: {
                    // As a dialog closes on Windows: the cancel command, unless the
                    // cancel button is there and disabled.
                    const QWidget* cancel = Control(IDCANCEL);
                    if (cancel == nullptr || cancel->isEnabled()) {
                        Dispatch(Command(IDCANCEL, bn::Clicked));
                    }
                    break;
                }
                case sc::Move:
                    if (QWindow* w = windowHandle()) {
                        w->startSystemMove();
                    }
                    break;
                case kScMinimize:
                    showMinimized();
                    break;
                case kScRestore:
                    showNormal();
                    break;
                default:
                    break;
            }
            return 0;
        case wm::Paint:
            if (paintEvent_ != nullptr) {
                QDialog::paintEvent(paintEvent_);
            }
            return 0;
        case wm::IconEraseBkgnd:
            if (auto* painter = reinterpret_cast<QPainter*>(msg.wParam)) {
                painter->fillRect(rect(), palette().window());
                return 1;
            }
            return 0;
        default:
            return 0;  // wm::Command and the rest: nothing to do
    }
}

void DialogWindow::FocusFirstTabStop() {
    for (const Placed& p : placed_) {
        if (IsTabStop(*p.control) && CanTakeFocus(p.widget)) {
            p.widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool DialogWindow::focusNextPrevChild(bool next) {
    // Tab and Shift+Tab walk the template order, skipping what is not a tab stop or
    // cannot take the focus now.
    const int n = static_cast<int>(placed_.size());
    if (n == 0) {
        return false;
    }
    const int current = IndexOf(focusWidget());
    const int start = current >= 0 ? current : (next ? -1 : 0);
    for (int k = 1; k <= n; ++k) {
        const int i = ((start + (next ? k : -k)) % n + n) % n;
        const Placed& p = placed_[static_cast<std::size_t>(i)];
        if (IsTabStop(*p.control) && CanTakeFocus(p.widget)) {
            p.widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

bool DialogWindow::BeginPainting(QPainter*& painter) {
    if (paintEvent_ == nullptr || painter_ != nullptr) {
        return false;
    }
    painter_ = new QPainter(this);
    painter = painter_;
    return true;
}

void DialogWindow::EndPainting() {
    delete painter_;
    painter_ = nullptr;
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    paintEvent_ = event;
    Dispatch({wm::Paint, 0, 0});
    paintEvent_ = nullptr;
    EndPainting();
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    // The close box is the system command "close", which the tables may take; by
    // default it becomes the cancel command.
    Dispatch({wm::SysCommand, sc::Close, PackPoint(QCursor::pos())});
    if (ended_) {
        event->accept();
    } else {
        event->ignore();
    }
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(event->globalPos());
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    // The keys that open a context menu on Linux: Shift+F10 and the Menu key. An edit
    // shows its own menu; everything else shows this window's. (Where the platform
    // turns the Menu key into a context-menu request itself, that menu is open by now
    // and the key goes to it, not here.)
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (!(event->key() == Qt::Key_Menu && mods == Qt::NoModifier) &&
        !(event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    QPointer<QWidget> target = focusWidget() != nullptr ? focusWidget() : this;
    // Once the key has been handled, as a click's context menu opens after the click.
    QMetaObject::invokeMethod(
        this,
        [this, target] {
            if (!target || Ended()) {
                return;
            }
            const QPoint at = target->rect().center();
            if (qobject_cast<QLineEdit*>(target) || qobject_cast<QPlainTextEdit*>(target)) {
                QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
                QApplication::sendEvent(target, &request);
            } else {
                ShowSystemMenu(target->mapToGlobal(at));
            }
        },
        Qt::QueuedConnection);
}

void DialogWindow::reject() {
    // Escape: the cancel command, as Windows sends it.
    Dispatch(Command(IDCANCEL, bn::Clicked));
}

void DialogWindow::EndWith(int result) {
    if (ended_) {
        return;
    }
    ended_ = true;
    endResult_ = result;
    QDialog::done(result);
}

DialogWindow* WindowOf(const CWnd& wnd) {
    return qobject_cast<DialogWindow*>(static_cast<QWidget*>(wnd.GetSafeHwnd()));
}

}  // namespace tavrel::ui::qt
