#pragma once
// Driving modal windows from tests: a modal run blocks, so what happens inside it is
// scheduled beforehand and runs once the expected window is the active modal (or popup)
// widget, with a deadline after which the window is closed and the test fails.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

namespace tavrel::test {

inline constexpr int kModalTimeoutMs = 10000;

// Polls for a window of type T (the active modal widget, or for QMenu the active popup)
// and runs `action` on it once. Stops polling when destroyed.
template <class T>
class WhenShown {
public:
    explicit WhenShown(std::function<void(T*)> action, const char* what = "window",
                       std::function<bool(T*)> which = {})
        : action_(std::move(action)), which_(std::move(which)), what_(what) {
        timer_ = new QTimer;
        timer_->setInterval(10);
        QObject::connect(timer_, &QTimer::timeout, [this] { Poll(); });
        elapsed_.start();
        timer_->start();
    }
    ~WhenShown() { delete timer_; }
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;

    bool Seen() const { return seen_; }

private:
    static T* Current() {
        if constexpr (std::is_base_of_v<QMenu, T>) {
            return qobject_cast<T*>(QApplication::activePopupWidget());
        } else {
            return qobject_cast<T*>(QApplication::activeModalWidget());
        }
    }

    void Poll() {
        if (T* window = Current(); window != nullptr && (!which_ || which_(window))) {
            timer_->stop();
            seen_ = true;
            action_(window);
            return;
        }
        if (elapsed_.elapsed() > kModalTimeoutMs) {
            timer_->stop();
            QTest::qFail(qPrintable(QStringLiteral("no %1 appeared in time").arg(what_)), __FILE__,
                         __LINE__);
            // Unblock whatever modal run is waiting.
            if (auto* popup = QApplication::activePopupWidget()) {
                popup->close();
            }
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                modal->done(-99);
            }
        }
    }

    std::function<void(T*)> action_;
    std::function<bool(T*)> which_;
    QString what_;
    QTimer* timer_;
    QElapsedTimer elapsed_;
    bool seen_ = false;
};

}  // namespace tavrel::test
