// Start-up probe for tools/measure-startup-qt: runs either the program's own start-up
// ("tavrel": the application object with its settings dialog) or a minimal Qt dialog
// ("minimal", the floor), and when the dialog first paints prints
//   shown <CLOCK_REALTIME in ns> rss <resident KiB>
// and closes the dialog, so that the process ends as it would when the user closes it.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "dialog/resource.h"
#include "platform/Window.h"
#include "platform/qt/QtApplication.h"

namespace {

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog != nullptr && dialog->isWindow()) {
                done_ = true;
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("shown %lld rss %ld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                            ResidentKiB());
                std::fflush(stdout);
                QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
            }
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    FirstPaint probe;
    app.installEventFilter(&probe);
    if (argc > 1 && qstrcmp(argv[1], "minimal") == 0) {
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Minimal"));
        auto* label = new QLabel(QStringLiteral("Hello"), &dialog);
        label->move(10, 10);
        auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
        button->move(10, 40);
        dialog.resize(200, 80);
        dialog.exec();
        return 0;
    }
    tavrel::ui::qt::PrepareApplication(app, IDI_APP);
    if (tavrel::ui::CWinApp* theApp = tavrel::ui::AfxGetApp()) {
        theApp->InitInstance();
    }
    return 0;
}
