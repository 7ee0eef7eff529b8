#pragma once
// The controls of the dialog templates that Qt has no exact counterpart for: the
// address entry, edits with Windows' input limits, and radio buttons that follow
// Windows' group rules.

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QValidator>
#include <array>
#include <cstdint>
#include <vector>

#include "record/CodePage.h"

namespace tavrel::ui::qt {

// A caption as it reads without its access-key marks ("&&" stays one '&').
QString WithoutAccessKey(const QString& text);

// What an edit lets the user type or paste. Text set by the program is never cut.
struct InputRule {
    int maxUnits = -1;  // UTF-16 code units, a line break counting as CR LF; -1: none
    int maxBytes = -1;  // bytes in codePage; -1: none
    CodePage codePage = kSystemAnsiCodePage;
    bool digitsOnly = false;

    // The part of `inserted` that may go into an edit that holds `rest` besides it:
    // nothing when digits only are taken and `inserted` holds anything else; otherwise
    // its longest prefix of whole characters that keeps within the limits.
    QString Fit(const QString& rest, const QString& inserted) const;
    int Units(const QString& text) const;
    int Bytes(const QString& text) const;
};

// The address entry: four fields of up to three digits, each 0-255. A third digit or
// '.' moves on to the next field, Backspace at the start of a field moves back; a blank
// field reads 0. To accessibility it is one editable text, the dotted address, with the
// four fields as its children.
class AddressEdit : public QFrame {
    Q_OBJECT
public:
    explicit AddressEdit(QWidget* parent = nullptr);

    void SetAddress(std::uint32_t value);
    std::uint32_t Address() const;
    QString Text() const;
    QLineEdit* Field(int index) const { return fields_[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect FieldsArea() const;
    int FieldIndex(const QObject* object) const;
    void GoToField(int index, int cursor);  // cursor -1: select the whole field
    void Constrain(int index);
    void OnEdited(int index);

    std::array<QLineEdit*, 4> fields_{};
};

// A single-line edit that keeps its InputRule on everything typed, pasted or dropped.
class LineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LineEdit(QWidget* parent = nullptr);

    InputRule& Rule() { return rule_; }
    // Text from the program: shown whole, whatever the rule.
    void SetProgramText(const QString& text);

private:
    class RuleValidator;
    InputRule rule_;
    QString accepted_;  // the text before the change being validated
    bool programText_ = false;
    friend class RuleValidator;
};

// A multi-line edit with the same rule. Enter inserts a line break; Tab moves on.
class PlainEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainEdit(QWidget* parent = nullptr);

    InputRule& Rule() { return rule_; }
    // The text exactly as the program set it while the user has not changed it;
    // otherwise with every line break as CR LF.
    QString WindowsText() const;
    // Shows CR LF, a lone CR and a lone LF each as a line break.
    void SetProgramText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QString TextWithoutSelection() const;
    InputRule rule_;
    QString programText_;  // as the program set it
};

// The drop-down list. To accessibility its name is its label, as on every platform, and
// its value the selected entry (Qt on Linux would name it by the entry).
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget* parent = nullptr);
};

// An automatic radio button: clicking checks it and unchecks the others of its group
// (the template's group), and the arrow keys move within the group and click. To
// accessibility it is a radio button.
class RadioButton : public QRadioButton {
    Q_OBJECT
public:
    RadioButton(const QString& text, QWidget* parent);
    void SetGroup(std::vector<RadioButton*>* group) { group_ = group; }

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<RadioButton*>* group_ = nullptr;
};

}  // namespace tavrel::ui::qt
