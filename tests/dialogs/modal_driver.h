// Drives a dialog that a command shows with exec(): the script runs once, inside the
// dialog's own event loop, as soon as a visible modal dialog of type T is on top. Whatever the
// script leaves open is then closed with the title bar's close box, so that a failing check
// inside the script cannot hang the test. The driver watches until it is destroyed or its
// deadline passes.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

template <typename T>
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(T *)> script, int deadlineMs = 5000)
        : m_script(std::move(script)), m_deadlineMs(deadlineMs)
    {
        m_clock.start();
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    int runs = 0;                  // times the script ran (0 or 1)
    bool closedByDriver = false;   // the script left the dialog open

private:
    void poll()
    {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (m_clock.elapsed() > m_deadlineMs)
                m_timer.stop();
            return;
        }
        m_timer.stop();
        ++runs;
        QPointer<T> guard(dialog);
        m_script(dialog);
        if (guard && guard->isVisible()) {
            closedByDriver = true;
            guard->close();
        }
    }

    std::function<void(T *)> m_script;
    int m_deadlineMs;
    QElapsedTimer m_clock;
    QTimer m_timer;
};
