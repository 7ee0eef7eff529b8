// The Qt half of the dialog templates: a DialogWindow's widgets made and placed from
// its template, in pixels converted from dialog units with the template font's metrics
// as Windows converts them, and named for screen readers by the labels beside them.
#include "platform/qt/QtDialogTemplateBuilder.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <cmath>
#include <cstdlib>

#include "platform/qt/QtControls.h"
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtText.h"

namespace tavrel::ui::qt {

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
                connect(radio, &QAbstractButton::clicked, this, [this, id] { Clicked(id); });
                // Taller than its template line when the style's indicator needs it.
                const int h = std::max(rect.height(), radio->sizeHint().height());
                rect = QRect(rect.x(), rect.center().y() - (h - 1) / 2, rect.width(), h);
                widget = radio;
            } else {
                auto* button = new QPushButton(text, this);
                button->setAutoDefault(true);
                button->setDefault(type == style::BsDefPushButton);
                button->setFocusPolicy(focus);
                connect(button, &QAbstractButton::clicked, this, [this, id] { Clicked(id); });
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

}  // namespace tavrel::ui::qt
