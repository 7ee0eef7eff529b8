#include "platform/qt/DialogWindow.h"

#include <cmath>
#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextLayout>
#include <QWindow>

#include "platform/qt/Controls.h"
#include "platform/qt/QtText.h"

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

bool IsTabStop(const ControlTemplate& c) {
    return (c.style & style::TabStop) != 0;
}

bool CanTakeFocus(const QWidget* w) {
    return w->isEnabled() && !w->isHidden();
}

}  // namespace

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int extent = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(extent / 26 + 1) / 2, metrics.height()};
}

int LineHeight(const QFont& font) {
    QTextLayout layout(QStringLiteral("Ay\u78BA"), font);  // Latin and a Chinese glyph
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return static_cast<int>(std::ceil(line.height()));
}

QFont TemplateFont(const DialogTemplate& t) {
    QFont font;
    // The named face first (Liberation Sans stands in for Arial where Arial is missing,
    // with the same metrics); then fonts that carry the Chinese glyphs it lacks.
    font.setFamilies({ToQString(t.fontFace), QStringLiteral("Liberation Sans"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK TC"),
                      QStringLiteral("PingFang TC"), QStringLiteral("Heiti TC")});
    font.setPointSize(t.pointSize > 0 ? t.pointSize : 9);
    font.setWeight(static_cast<QFont::Weight>(t.weight > 0 ? t.weight : 400));
    font.setItalic(t.italic);
    return font;
}

DialogWindow::DialogWindow(CDialog& dialog, QWidget* owner) : QDialog(owner), dialog_(dialog) {
    Build();
}

void DialogWindow::Build() {
    const DialogTemplate& t = Template();
    setFont(TemplateFont(t));
    units_ = BaseUnitsOf(font());
    lineHeight_ = LineHeight(font());
    setWindowTitle(ToQString(t.caption));

    // A window with a task-bar button of its own is a top-level window to the window
    // manager; the others are dialogs that stay with their owner.
    Qt::WindowFlags flags =
        ((t.exStyle & style::ExAppWindow) ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
    if (t.style & style::Caption) {
        flags |= Qt::WindowTitleHint;
    }
    if (t.style & style::SysMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    setWindowFlags(flags);
    setFixedSize(ToPixels(0, 0, t.cx, t.cy).size());

    int group = 0;
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const ControlTemplate& c = t.controls[i];
        if (i == 0 || (c.style & style::Group)) {
            ++group;
        }
        QWidget* widget = CreateControl(c, group);
        if (c.style & style::Disabled) {
            widget->setEnabled(false);
        }
        placed_.push_back({&c, widget});
        if (c.id != kNoId) {
            byId_.emplace(c.id, widget);
        }
    }

    NameControlsByTheirLabels();

    // Alt+Space opens the system menu, as on Windows.
    auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

void DialogWindow::NameControlsByTheirLabels() {
    // A control that shows no caption of its own is named, for screen readers, by the
    // text on its row of the form: the nearest label to its left whose line it shares,
    // without the colon that ends it.
    for (const Placed& p : placed_) {
        const ControlClass kind = p.control->kind;
        if (kind != ControlClass::Edit && kind != ControlClass::ComboBox &&
            kind != ControlClass::IpAddress) {
            continue;
        }
        const QRect row = p.widget->geometry();
        QLabel* best = nullptr;
        for (const Placed& other : placed_) {
            auto* label = qobject_cast<QLabel*>(other.widget);
            const QRect at = other.widget->geometry();
            if (label == nullptr || label->text().isEmpty() || at.right() >= row.left() ||
                at.bottom() < row.top() || at.top() > row.bottom()) {
                continue;
            }
            if (best == nullptr || at.right() > best->geometry().right() ||
                (at.right() == best->geometry().right() &&
                 std::abs(at.center().y() - row.center().y()) <
                     std::abs(best->geometry().center().y() - row.center().y()))) {
                best = label;
            }
        }
        if (best == nullptr) {
            continue;
        }
        QString name = WithoutAccessKey(best->text()).trimmed();
        while (name.endsWith(QLatin1Char(':')) || name.endsWith(QChar(0xFF1A))) {  // ':' '：'
            name.chop(1);
        }
        name = name.trimmed();
        p.widget->setAccessibleName(name);
        if (auto* address = qobject_cast<AddressEdit*>(p.widget)) {
            for (int i = 0; i < 4; ++i) {
                address->Field(i)->setAccessibleName(name);
            }
        }
        best->setBuddy(p.widget);  // the "labelled by" relation readers on Linux follow
    }
}

QRect DialogWindow::ToPixels(int x, int y, int cx, int cy) const {
    return {MulDiv(x, units_.x, 4), MulDiv(y, units_.y, 8), MulDiv(cx, units_.x, 4),
            MulDiv(cy, units_.y, 8)};
}

QWidget* DialogWindow::CreateControl(const ControlTemplate& c, int group) {
    QRect rect = ToPixels(c.x, c.y, c.cx, c.cy);
    const QString text = ToQString(c.text);
    const Qt::FocusPolicy focus = IsTabStop(c) ? Qt::StrongFocus : Qt::ClickFocus;
    QWidget* widget = nullptr;
    const int id = c.id;

    switch (c.kind) {
        case ControlClass::Button: {
            const std::uint32_t type = c.style & style::BsTypeMask;
            if (type == style::BsGroupBox) {
                auto* box = new QGroupBox(text, this);
                box->setFocusPolicy(Qt::NoFocus);
                widget = box;
            } else if (type == style::BsAutoRadioButton) {
                auto* radio = new RadioButton(text, this);
                radio->setFocusPolicy(focus);
                std::vector<RadioButton*>& members = radioGroups_[group];
                members.push_back(radio);
                radio->SetGroup(&members);
                connect(radio, &QAbstractButton::clicked, this,
                        [this, id] { Dispatch(Command(id, bn::Clicked)); });
                // Taller than its template line when the style's indicator needs it.
                const int h = std::max(rect.height(), radio->sizeHint().height());
                rect = QRect(rect.x(), rect.center().y() - (h - 1) / 2, rect.width(), h);
                widget = radio;
            } else {
                auto* button = new QPushButton(text, this);
                button->setAutoDefault(true);
                button->setDefault(type == style::BsDefPushButton);
                button->setFocusPolicy(focus);
                connect(button, &QAbstractButton::clicked, this,
                        [this, id] { Dispatch(Command(id, bn::Clicked)); });
                widget = button;
            }
            break;
        }
        case ControlClass::Static: {
            auto* label = new QLabel(this);
            label->setFocusPolicy(Qt::NoFocus);
            const std::uint32_t type = c.style & style::SsTypeMask;
            if (type == style::SsIcon) {
                // An icon static takes the size of the icon, whatever the template says.
                const int size = GetSystemMetrics(sm::CxIcon);
                if (const auto* icon = static_cast<const QIcon*>(LoadAppIcon(c.iconId))) {
                    label->setPixmap(icon->pixmap(QSize(size, size), qApp->devicePixelRatio()));
                }
                rect.setSize(QSize(size, GetSystemMetrics(sm::CyIcon)));
            } else {
                label->setTextFormat(Qt::PlainText);
                label->setText(text);
                Qt::Alignment align = Qt::AlignLeft;
                if (type == style::SsRight) {
                    align = Qt::AlignRight;
                } else if (type == 0x0001) {  // SS_CENTER
                    align = Qt::AlignHCenter;
                }
                label->setAlignment(align | Qt::AlignTop);
                // A line of Chinese from the fallback font may be taller than the
                // template's line: give it room below rather than clip it.
                rect.setHeight(std::max(rect.height(), lineHeight_));
            }
            widget = label;
            break;
        }
        case ControlClass::Edit: {
            if (c.style & style::EsMultiLine) {
                auto* edit = new PlainEdit(this);
                edit->setVerticalScrollBarPolicy(
                    (c.style & style::VScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
                edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                edit->setLineWrapMode((c.style & style::EsAutoHScroll)
                                          ? QPlainTextEdit::NoWrap
                                          : QPlainTextEdit::WidgetWidth);
                if (!(c.style & style::Border)) {
                    edit->setFrameShape(QFrame::NoFrame);
                }
                edit->setFocusPolicy(focus);
                edit->SetProgramText(text);
                widget = edit;
            } else {
                auto* edit = new LineEdit(this);
                edit->Rule().digitsOnly = (c.style & style::EsNumber) != 0;
                edit->setFrame((c.style & style::Border) != 0);
                edit->setFocusPolicy(focus);
                edit->SetProgramText(text);
                widget = edit;
            }
            break;
        }
        case ControlClass::ComboBox: {
            auto* combo = new DropDownList(this);
            combo->setFocusPolicy(focus);
            // The template's height includes the opened list; the closed box is as tall
            // as the style makes it.
            rect.setHeight(std::min(rect.height(), combo->sizeHint().height()));
            widget = combo;
            break;
        }
        case ControlClass::IpAddress: {
            auto* address = new AddressEdit(this);
            address->setFocusPolicy(focus);
            widget = address;
            break;
        }
    }
    widget->setGeometry(rect);
    return widget;
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
    MsgResult result = 0;
    if (dialog_.OnWndMsg(msg, &result)) {
        return result;
    }
    return DefaultHandling(msg);
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
