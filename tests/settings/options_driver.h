// Drives the modal Options dialog from a test.
#pragma once

#include "ui/options_dialog.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <functional>

// Runs `open` (a command that shows the dialog modally) and, once the dialog is up, `act` on
// it; a dialog that `act` left open is cancelled so that `open` returns. Returns whether a
// dialog came up.
inline bool whileOpen(const std::function<void()> &open, const std::function<void(OptionsDialog *)> &act)
{
    bool seen = false;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QPointer<OptionsDialog> d = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        probe.stop();
        seen = true;
        act(d);
        if (d && d->isVisible())
            d->reject();
    });
    probe.start();
    open();
    probe.stop();
    return seen;
}
