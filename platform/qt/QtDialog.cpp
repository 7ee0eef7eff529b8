// Modal dialogs on Qt: the dialog's window is built from its template, initialised by
// the dialog and run in Qt's modal loop; what the dialog's tables do not take gets the
// window's default handling (QtDialogWindow.cpp).
#include <QApplication>
#include <memory>

#include "platform/Window.h"
#include "platform/WindowAccess.h"
#include "platform/qt/QtDialogWindow.h"

namespace tavrel::ui {

using qt::DialogWindow;
using qt::WindowOf;

int CDialog::DoModal() {
    if (qApp == nullptr) {
        return -1;
    }
    const CWnd* ownerWnd = ModalOwner();
    QWidget* owner = ownerWnd == nullptr ? nullptr : WindowOf(*ownerWnd);

    auto window = std::make_unique<DialogWindow>(*this, owner);
    WindowAccess::SetHandle(*this, static_cast<QWidget*>(window.get()));
    try {
        if (OnInitDialog()) {
            window->FocusFirstTabStop();
        }
    } catch (...) {
        window->EndWith(-1);  // as a handler's exception does in DialogWindow::Dispatch
    }
    int result = 0;
    if (!window->Ended()) {
        result = window->exec();
    }
    if (window->Ended()) {  // before the run (in OnInitDialog) or during it
        result = window->EndResult();
    }
    WindowAccess::SetHandle(*this, nullptr);
    return result;
}

void CDialog::EndDialog(int result) {
    if (DialogWindow* window = WindowOf(*this)) {
        window->EndWith(result);
    }
}

}  // namespace tavrel::ui
