#pragma once
// The window of a CDialog on Qt: a QDialog whose widgets are placed from the dialog
// template (QtDialogTemplateBuilder.cpp), converting dialog units with the template
// font's metrics as Windows does, and which turns Qt events into the window's messages
// (QtDialogWindow.cpp).

#include <QDialog>
#include <QPointer>
#include <map>
#include <vector>

#include "platform/Window.h"
#include "platform/qt/QtDialogTemplateBuilder.h"

class QMenu;
class QPainter;
class QPaintEvent;

namespace tavrel::ui::qt {
class RadioButton;
}

namespace tavrel::ui {

namespace qt {

class DialogWindow : public QDialog {
    Q_OBJECT
public:
    DialogWindow(CDialog& dialog, QWidget* owner);

    CDialog& Dialog() const { return dialog_; }
    const DialogTemplate& Template() const { return dialog_.GetTemplate(); }

    // The control of that id, or nullptr.
    QWidget* Control(int id) const;
    // The control whose id is that, for the widgets of a control that has several.
    int ControlId(const QWidget* widget) const;

    // The entries that stand for the system menu: offered in the context menu.
    QMenu* SystemMenu();

    // Looks the message up in the window's tables; what no table takes gets the
    // default handling. An exception from a handler ends the dialog with -1.
    MsgResult Dispatch(const Message& msg);
    // The platform's default handling of a message.
    MsgResult DefaultHandling(const Message& msg);

    // Focus on the first enabled, visible control that is a tab stop.
    void FocusFirstTabStop();

    // Painting state while a paint event is being handled.
    bool BeginPainting(QPainter*& painter);
    void EndPainting();

    // Ends the modal run (also before it has started) with this result.
    void EndWith(int result);
    bool Ended() const { return ended_; }
    int EndResult() const { return endResult_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

public slots:
    void reject() override;

private:
    struct Placed {
        const ControlTemplate* control;
        QWidget* widget;
    };

    // The widgets of the template (QtDialogTemplateBuilder.cpp).
    void Build();
    QWidget* CreateControl(const ControlTemplate& control, int group);
    QRect ToPixels(int x, int y, int cx, int cy) const;
    void NameControlsByTheirLabels();
    int IndexOf(const QWidget* widget) const;
    void ShowSystemMenu(const QPoint& globalPos);
    // A button's click, as the command it sends.
    void Clicked(int id);

    CDialog& dialog_;
    BaseUnits units_;
    int lineHeight_ = 0;
    std::vector<Placed> placed_;  // template order
    std::map<int, QWidget*> byId_;
    std::map<int, std::vector<RadioButton*>> radioGroups_;  // by template group
    QPointer<QMenu> systemMenu_;
    QPaintEvent* paintEvent_ = nullptr;
    QPainter* painter_ = nullptr;
    bool ended_ = false;
    int endResult_ = 0;
};

// The dialog window of a CWnd, or nullptr when it has none (yet).
DialogWindow* WindowOf(const CWnd& wnd);

}  // namespace qt
}  // namespace tavrel::ui
