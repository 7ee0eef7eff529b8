// The program's entry point on Qt: the application object runs its one dialog.
#include <QApplication>

#include "platform/Window.h"
#include "platform/qt/Application.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tavrel::ui::qt::PrepareApplication(app);
    if (tavrel::ui::CWinApp* theApp = tavrel::ui::AfxGetApp()) {
        theApp->InitInstance();  // returns when the dialog has ended
    }
    return 0;
}
