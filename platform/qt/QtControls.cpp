// The Qt widgets that stand for the templates' Windows controls (QtControls.h): the
// address entry, edits with Windows' input limits, the drop-down list, radio buttons.
#include "platform/qt/QtControls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "platform/qt/QtText.h"
#include "record/Utf16.h"

namespace tavrel::ui::qt {

namespace {

constexpr QChar kParagraphSeparator(0x2029);
constexpr QChar kLineSeparator(0x2028);

// Line breaks of any kind as '\n'.
QString WithLfBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(kParagraphSeparator, QLatin1Char('\n'));
    text.replace(kLineSeparator, QLatin1Char('\n'));
    return text;
}

// The text as a Windows edit holds it: line breaks as CR LF.
std::u16string WindowsUnits(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToU16(text);
}

// An address field: up to three digits.
class FieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (input.size() > 3) {
            return Invalid;
        }
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                return Invalid;
            }
        }
        return Acceptable;
    }
};

// The address entry to a screen reader: one editable control whose text is the dotted
// address (a reader reads text and names; not every bridge passes on a value), with
// its four fields as children.
class AddressAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AddressAccessible(AddressEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Text() : QAccessibleWidget::text(t);
    }

    // The text interface, read-only: the dotted address.
    QString text(int start, int end) const override { return Text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QString Text() const { return static_cast<const AddressEdit*>(widget())->Text(); }
};

// A control with one action of its own (offered while it is enabled, and also run by
// "press"), besides what every widget offers.
class ActionAccessible : public QAccessibleWidget {
public:
    ActionAccessible(QWidget* widget, QAccessible::Role role, QString action)
        : QAccessibleWidget(widget, role), action_(std::move(action)) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) {
            names.prepend(action_);
        }
        return names;
    }
    void doAction(const QString& name) override {
        if (name == action_ || name == pressAction()) {
            Act();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

protected:
    virtual void Act() = 0;

private:
    QString action_;
};

// Automatic radio buttons that follow the template's groups are not auto-exclusive to
// Qt, which would otherwise report them as check boxes.
class RadioAccessible : public ActionAccessible {
public:
    explicit RadioAccessible(RadioButton* radio)
        : ActionAccessible(radio, QAccessible::RadioButton, toggleAction()) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return WithoutAccessKey(Radio()->text());
        }
        return ActionAccessible::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = ActionAccessible::state();
        state.checkable = true;
        state.checked = Radio()->isChecked();
        return state;
    }

private:
    void Act() override { Radio()->click(); }
    RadioButton* Radio() const { return static_cast<RadioButton*>(widget()); }
};

class DropDownAccessible : public ActionAccessible {
public:
    explicit DropDownAccessible(DropDownList* list)
        : ActionAccessible(list, QAccessible::ComboBox, showMenuAction()) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? List()->currentText() : ActionAccessible::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = ActionAccessible::state();
        state.expandable = true;
        state.expanded = List()->view()->isVisible();
        return state;
    }

private:
    void Act() override { List()->showPopup(); }
    DropDownList* List() const { return static_cast<DropDownList*>(widget()); }
};

QAccessibleInterface* AccessibleFor(const QString& className, QObject* object) {
    if (className == QLatin1String(DropDownList::staticMetaObject.className())) {
        return new DropDownAccessible(static_cast<DropDownList*>(object));
    }
    if (className == QLatin1String(AddressEdit::staticMetaObject.className())) {
        return new AddressAccessible(static_cast<AddressEdit*>(object));
    }
    if (className == QLatin1String(RadioButton::staticMetaObject.className())) {
        return new RadioAccessible(static_cast<RadioButton*>(object));
    }
    return nullptr;
}

void InstallAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(AccessibleFor);
        return true;
    }();
    (void)installed;
}

}  // namespace

QString WithoutAccessKey(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;  // "&&" is one ampersand; "&x" is x
        }
        plain += text[i];
    }
    return plain;
}

// --- InputRule

int InputRule::Units(const QString& text) const {
    int units = 0;
    for (const QChar c : text) {
        units += (c == QLatin1Char('\n')) ? 2 : 1;  // a line break is CR LF
    }
    return units;
}

int InputRule::Bytes(const QString& text) const {
    return static_cast<int>(CodePageLength(WindowsUnits(text), codePage));
}

QString InputRule::Fit(const QString& rest, const QString& inserted) const {
    if (digitsOnly) {
        for (const QChar c : inserted) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                return {};
            }
        }
    }
    // The insertion as the edit counts it (line breaks as CR LF), and how many of its units
    // keep within each limit; both counts end on a whole character.
    const std::u16string units = WindowsUnits(inserted);
    std::size_t fitting = units.size();
    if (maxUnits >= 0) {
        const auto room = static_cast<std::size_t>(std::max(0, maxUnits - Units(rest)));
        fitting = utf16::WholeCharacterPrefix(units, room).size();
    }
    if (maxBytes >= 0) {
        const auto room = static_cast<std::size_t>(std::max(0, maxBytes - Bytes(rest)));
        fitting = std::min(fitting, FittingUnits(units, room, codePage));
    }
    // Back to the edit's own characters, where a line break is one: it goes in whole or
    // not at all.
    qsizetype taken = 0;
    for (std::size_t used = 0; taken < inserted.size(); ++taken) {
        used += inserted[taken] == QLatin1Char('\n') ? 2 : 1;
        if (used > fitting) {
            break;
        }
    }
    return inserted.left(taken);
}

// --- AddressEdit

AddressEdit::AddressEdit(QWidget* parent) : QFrame(parent) {
    InstallAccessibleInterfaces();
    auto* digits = new FieldValidator(this);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(digits);
        field->setAcceptDrops(false);
        field->setFocusPolicy(Qt::ClickFocus);
        field->setAttribute(Qt::WA_MacShowFocusRect, false);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnEdited(i); });
        connect(field, &QLineEdit::editingFinished, this, [this, i] { Constrain(i); });
        fields_[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(fields_[0]);
}

QRect AddressEdit::FieldsArea() const {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return rect().adjusted(frame + 1, frame, -(frame + 1), -frame);
}

void AddressEdit::resizeEvent(QResizeEvent* event) {
    // Four equal fields with the dots painted in the gaps between them.
    QFrame::resizeEvent(event);
    const QRect area = FieldsArea();
    const int dot = fontMetrics().horizontalAdvance(QLatin1Char('.')) + 4;
    const int width = (area.width() - 3 * dot) / 4;
    for (int i = 0; i < 4; ++i) {
        Field(i)->setGeometry(area.x() + i * (width + dot), area.y(), width, area.height());
    }
}

void AddressEdit::SetAddress(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        Field(i)->setText(QString::number((value >> (24 - 8 * i)) & 0xFF));
    }
}

std::uint32_t AddressEdit::Address() const {
    std::uint32_t value = 0;
    for (const QLineEdit* field : fields_) {
        const unsigned part = field->text().isEmpty() ? 0u : std::min(field->text().toUInt(), 255u);
        value = (value << 8) | part;
    }
    return value;
}

QString AddressEdit::Text() const {
    QStringList parts;
    for (const QLineEdit* field : fields_) {
        parts << field->text();
    }
    return parts.join(QLatin1Char('.'));
}

int AddressEdit::FieldIndex(const QObject* object) const {
    for (int i = 0; i < 4; ++i) {
        if (Field(i) == object) {
            return i;
        }
    }
    return -1;
}

void AddressEdit::GoToField(int index, int cursor) {
    QLineEdit* field = Field(index);
    field->setFocus(Qt::OtherFocusReason);
    if (cursor < 0) {
        field->selectAll();
    } else {
        field->setCursorPosition(std::min<int>(cursor, static_cast<int>(field->text().size())));
    }
}

void AddressEdit::Constrain(int index) {
    QLineEdit* field = Field(index);
    if (!field->text().isEmpty() && field->text().toUInt() > 255) {
        field->setText(QStringLiteral("255"));
    }
}

void AddressEdit::OnEdited(int index) {
    Constrain(index);
    const QLineEdit* field = Field(index);
    if (index < 3 && field->text().size() == 3 && field->cursorPosition() == 3 &&
        !field->hasSelectedText()) {
        GoToField(index + 1, -1);
    }
}

bool AddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = FieldIndex(watched);
    if (index < 0) {
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        update();  // the frame shows the focus
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* field = Field(index);
    const int cursor = field->cursorPosition();
    const bool selection = field->hasSelectedText();
    const auto length = static_cast<int>(field->text().size());
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (key->text() == QStringLiteral(".")) {
        // A dot ends a field that has digits before the cursor; it is never inserted.
        if (index < 3 && length > 0 && cursor > 0 && !selection) {
            Constrain(index);
            GoToField(index + 1, -1);
        }
        return true;
    }
    if (!plain) {
        return false;
    }
    switch (key->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            if (index > 0 && cursor == 0 && !selection) {
                Constrain(index);
                GoToField(index - 1, static_cast<int>(Field(index - 1)->text().size()));
                return true;
            }
            return false;
        case Qt::Key_Right:
            if (index < 3 && cursor == length && !selection) {
                Constrain(index);
                GoToField(index + 1, 0);
                return true;
            }
            return false;
        case Qt::Key_Home:
            GoToField(0, 0);
            return true;
        case Qt::Key_End:
            GoToField(3, 3);
            return true;
        default:
            return false;
    }
}

void AddressEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (isAncestorOf(QApplication::focusWidget())) {
        option.state |= QStyle::State_HasFocus;
    }
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    for (int i = 0; i < 3; ++i) {
        const QRect gap(Field(i)->geometry().right() + 1, FieldsArea().y(),
                        Field(i + 1)->geometry().left() - Field(i)->geometry().right() - 1,
                        FieldsArea().height());
        painter.drawText(gap, Qt::AlignCenter, QStringLiteral("."));
    }
}

// --- LineEdit

class LineEdit::RuleValidator : public QValidator {
public:
    explicit RuleValidator(LineEdit* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int& pos) const override {
        if (edit_->programText_) {
            return Acceptable;
        }
        const QString& old = edit_->accepted_;
        if (input == old) {
            return Acceptable;
        }
        // What changed: the text after the cursor is the old text's tail, the inserted
        // part ends at the cursor, and what precedes it is common to both.
        qsizetype end = pos;
        qsizetype oldEnd = 0;
        const qsizetype tail = input.size() - pos;
        if (pos >= 0 && tail >= 0 && tail <= old.size() &&
            QStringView(input).mid(pos) == QStringView(old).right(tail)) {
            oldEnd = old.size() - tail;
        } else {
            qsizetype same = 0;
            while (same < input.size() && same < old.size() &&
                   input[input.size() - 1 - same] == old[old.size() - 1 - same]) {
                ++same;
            }
            end = input.size() - same;
            oldEnd = old.size() - same;
        }
        qsizetype start = 0;
        while (start < end && start < oldEnd && input[start] == old[start]) {
            ++start;
        }
        const QString inserted = input.mid(start, end - start);
        if (inserted.isEmpty()) {
            return Acceptable;  // only removed: always allowed
        }
        const QString rest = input.left(start) + input.mid(end);
        const QString fit = edit_->rule_.Fit(rest, inserted);
        if (fit.isEmpty()) {
            return Invalid;
        }
        if (fit.size() != inserted.size()) {
            input = input.left(start) + fit + input.mid(end);
            pos = static_cast<int>(start + fit.size());
        }
        return Acceptable;
    }

private:
    LineEdit* edit_;
};

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new RuleValidator(this));
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
}

void LineEdit::SetProgramText(const QString& text) {
    programText_ = true;
    setText(text);
    programText_ = false;
    accepted_ = QLineEdit::text();
}

// --- PlainEdit

PlainEdit::PlainEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setAcceptDrops(false);
}

QString PlainEdit::WindowsText() const {
    if (!document()->isModified()) {
        return programText_;  // a lone CR or LF from a file stays as it was
    }
    QString text = WithLfBreaks(document()->toRawText());
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void PlainEdit::SetProgramText(const QString& text) {
    setPlainText(WithLfBreaks(text));
    document()->setModified(false);
    programText_ = text;
}

QString PlainEdit::TextWithoutSelection() const {
    QString text = WithLfBreaks(document()->toRawText());
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        text.remove(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    }
    return text;
}

void PlainEdit::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                       !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    QString text = enter ? QStringLiteral("\n") : event->text();
    bool typing = enter || (!text.isEmpty() && !(mods & (Qt::ControlModifier | Qt::MetaModifier)));
    for (const QChar c : text) {
        if (!enter && !c.isPrint() && !c.isSurrogate()) {
            typing = false;
        }
    }
    if (!typing) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();  // Enter stays here, also when it is refused
    const QString fit = rule_.Fit(TextWithoutSelection(), text);
    if (fit.isEmpty()) {
        return;
    }
    if (enter || fit != text) {
        // A line break is a new paragraph, whatever the modifiers asked for.
        QTextCursor cursor = textCursor();
        cursor.insertText(fit);
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PlainEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) {
        const QString commit = WithLfBreaks(event->commitString());
        const QString fit = rule_.Fit(TextWithoutSelection(), commit);
        if (fit != event->commitString()) {
            QInputMethodEvent trimmed(event->preeditString(), event->attributes());
            trimmed.setCommitString(fit, event->replacementStart(), event->replacementLength());
            QPlainTextEdit::inputMethodEvent(&trimmed);
            return;
        }
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void PlainEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        return;
    }
    const QString fit = rule_.Fit(TextWithoutSelection(), WithLfBreaks(source->text()));
    if (fit.isEmpty()) {
        return;
    }
    QMimeData plain;
    plain.setText(fit);
    QPlainTextEdit::insertFromMimeData(&plain);
}

// --- DropDownList

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
    InstallAccessibleInterfaces();
}

// --- RadioButton

RadioButton::RadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    InstallAccessibleInterfaces();
    setAutoExclusive(false);
}

void RadioButton::nextCheckState() {
    setChecked(true);
    if (group_ != nullptr) {
        for (RadioButton* other : *group_) {
            if (other != this) {
                other->setChecked(false);
            }
        }
    }
}

void RadioButton::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        default:
            QRadioButton::keyPressEvent(event);
            return;
    }
    event->accept();
    if (group_ == nullptr) {
        return;
    }
    const auto n = static_cast<int>(group_->size());
    int self = 0;
    while (self < n && (*group_)[static_cast<std::size_t>(self)] != this) {
        ++self;
    }
    for (int k = 1; k < n; ++k) {
        RadioButton* next = (*group_)[static_cast<std::size_t>(((self + step * k) % n + n) % n)];
        if (next->isEnabled() && !next->isHidden()) {
            next->setFocus(Qt::OtherFocusReason);
            next->click();
            return;
        }
    }
}

}  // namespace tavrel::ui::qt
