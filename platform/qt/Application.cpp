#include "platform/qt/Application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/Window.h"

namespace tavrel::ui::qt {

void PrepareApplication(QApplication& app) {
    const QLocale taiwan(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    QLocale::setDefault(taiwan);
    static QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_TW"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    if (const auto* icon = static_cast<const QIcon*>(LoadAppIcon(TAVREL_APP_ICON_ID))) {
        QApplication::setWindowIcon(*icon);
    }
    app.setQuitOnLastWindowClosed(false);
}

}  // namespace tavrel::ui::qt
