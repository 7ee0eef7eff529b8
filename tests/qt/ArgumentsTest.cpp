// The Qt program's own entry, started with toolkit options on its command line: the
// settings window must come up exactly as without them (left to right, the default style,
// the platform the environment names, the template's caption). Exits 0 when it does.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "dialog/resource.h"
#include "platform/Window.h"
#include "platform/qt/QtDialogWindow.h"

namespace {

using tavrel::ui::qt::DialogWindow;

int g_failures = 0;
bool g_seen = false;

void Expect(bool ok, const char* what, const QString& got) {
    if (!ok) {
        ++g_failures;
        std::fprintf(stderr, "FAIL: %s (got \"%s\")\n", what, qPrintable(got));
    }
}

// Looks at the settings window once it is up, then closes it the way Escape does.
void Inspect(DialogWindow& w) {
    g_seen = true;
    Expect(w.windowTitle() == QStringLiteral("Tavrel(Build 20220103)"), "the template's caption",
           w.windowTitle());
    Expect(QGuiApplication::layoutDirection() == Qt::LeftToRight &&
               w.layoutDirection() == Qt::LeftToRight,
           "left to right", w.isRightToLeft() ? QStringLiteral("right to left") : QString());
    Expect(QGuiApplication::platformName() == QStringLiteral("offscreen"),
           "the platform of QT_QPA_PLATFORM", QGuiApplication::platformName());
    Expect(QApplication::style()->name() != QStringLiteral("windows"), "the default style",
           QApplication::style()->name());
    w.reject();
}

void WatchForTheSettingsWindow() {
    // Runs inside the dialog's modal loop, once events flow.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            auto* timer = new QTimer(qApp);
            auto* elapsed = new QElapsedTimer;
            elapsed->start();
            QObject::connect(timer, &QTimer::timeout, [timer, elapsed] {
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    auto* w = qobject_cast<DialogWindow*>(top);
                    if (w != nullptr && w->isVisible() && !w->Ended()) {
                        timer->stop();
                        Inspect(*w);
                        return;
                    }
                }
                if (elapsed->elapsed() > 10000) {
                    std::fprintf(stderr, "FAIL: no settings window appeared\n");
                    std::exit(1);
                }
            });
            timer->start(10);
        },
        Qt::QueuedConnection);
}
Q_COREAPP_STARTUP_FUNCTION(WatchForTheSettingsWindow)

}  // namespace

int main() {
    QTemporaryDir config;
    if (!config.isValid() || !qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()))) {
        std::fprintf(stderr, "FAIL: no temporary configuration folder\n");
        return 1;
    }
    char name[] = "tavrel";
    char reverse[] = "-reverse";
    char styleOption[] = "-style";
    char style[] = "windows";
    char platformOption[] = "-platform";
    char platform[] = "minimal";
    char titleOption[] = "-qwindowtitle";
    char title[] = "other";
    char* argv[] = {name,     reverse,     styleOption, style,  platformOption,
                    platform, titleOption, title,       nullptr};
    tavrel::ui::RunApplication(static_cast<int>(std::size(argv)) - 1, argv, IDI_APP);
    if (!g_seen) {
        std::fprintf(stderr, "FAIL: the settings window was never inspected\n");
        return 1;
    }
    std::printf("%s\n", g_failures == 0 ? "the options changed nothing" : "options took effect");
    return g_failures == 0 ? 0 : 1;
}
