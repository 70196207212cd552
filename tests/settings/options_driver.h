// Drives the modal Options dialog from a test.
#pragma once

#include "ui/options_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

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

// The dialog's controls, found by their object names as a user finds them by their place.
struct OptionsControls {
    explicit OptionsControls(OptionsDialog *d) : dialog(d) {}

    OptionsDialog *dialog;
    QGroupBox *savePathGroup = find<QGroupBox>("savePathGroup");
    QLineEdit *savePath = find<QLineEdit>("savePath");
    QToolButton *chooseFolderButton = find<QToolButton>("chooseFolderButton");
    QGroupBox *formatGroup = find<QGroupBox>("formatGroup");
    QRadioButton *mp3Button = find<QRadioButton>("mp3Button");
    QRadioButton *wavButton = find<QRadioButton>("wavButton");
    QRadioButton *wmaButton = find<QRadioButton>("wmaButton");
    QComboBox *mp3List = find<QComboBox>("mp3List");
    QComboBox *wavList = find<QComboBox>("wavList");
    QComboBox *wmaList = find<QComboBox>("wmaList");
    QRadioButton *flacButton = find<QRadioButton>("flacButton");
    QRadioButton *oggButton = find<QRadioButton>("oggButton");
    QRadioButton *opusButton = find<QRadioButton>("opusButton");
    QComboBox *flacList = find<QComboBox>("flacList");
    QSpinBox *flacLevel = find<QSpinBox>("flacLevel");
    QComboBox *oggList = find<QComboBox>("oggList");
    QComboBox *opusList = find<QComboBox>("opusList");
    QGroupBox *timeLimitGroup = find<QGroupBox>("timeLimitGroup");
    QRadioButton *noLimitButton = find<QRadioButton>("noLimitButton");
    QRadioButton *stopAfterButton = find<QRadioButton>("stopAfterButton");
    UpDownField *hours = find<UpDownField>("hours");
    UpDownField *minutes = find<UpDownField>("minutes");
    UpDownField *seconds = find<UpDownField>("seconds");
    QGroupBox *splitGroup = find<QGroupBox>("splitGroup");
    QCheckBox *splitBox = find<QCheckBox>("splitBox");
    UpDownField *splitMinutes = find<UpDownField>("splitMinutes");
    UpDownField *splitSeconds = find<UpDownField>("splitSeconds");
    QPushButton *okButton = find<QPushButton>("okButton");
    QPushButton *cancelButton = find<QPushButton>("cancelButton");

    // "MP3", "WAV" or "WMA" for the radio buttons and the lists of each format.
    QRadioButton *formatButton(const QString &format) const
    {
        return format == QLatin1String("MP3") ? mp3Button : format == QLatin1String("WAV") ? wavButton : wmaButton;
    }
    QComboBox *formatList(const QString &format) const
    {
        return format == QLatin1String("MP3") ? mp3List : format == QLatin1String("WAV") ? wavList : wmaList;
    }

private:
    template <typename T>
    T *find(const char *name) const
    {
        T *found = dialog->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("the Options dialog has no %s named %s", T::staticMetaObject.className(), name);
        return found;
    }
};
