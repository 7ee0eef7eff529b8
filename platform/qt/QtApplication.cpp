// What the Qt program sets up before its application object runs, and the run itself.
#include "platform/qt/QtApplication.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/Window.h"

namespace tavrel::ui::qt {

void PrepareApplication(QApplication& app, int appIconId) {
    const QLocale taiwan(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    QLocale::setDefault(taiwan);
    static QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_TW"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    if (const auto* icon = static_cast<const QIcon*>(LoadAppIcon(appIconId))) {
        QApplication::setWindowIcon(*icon);
    }
    app.setQuitOnLastWindowClosed(false);
}

}  // namespace tavrel::ui::qt

namespace tavrel::ui {

int RunApplication(int argc, char* argv[], int appIconId) {
    // Only the program name reaches Qt (no -reverse, -style, -platform...); the
    // environment (QT_QPA_PLATFORM) still chooses the platform.
    char fallbackName[] = "tavrel";
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    qt::PrepareApplication(app, appIconId);
    if (CWinApp* theApp = AfxGetApp()) {
        theApp->InitInstance();  // returns when the dialog has ended
    }
    return 0;
}

}  // namespace tavrel::ui
