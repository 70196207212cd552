// The running window's remote control on the session bus: org.example.TavrinSoundRecorder at
// /org/example/TavrinSoundRecorder, interface org.example.TavrinSoundRecorder.Recorder. Its
// methods do exactly what the window's own controls do, refusals included: the call is
// answered at once (a refusal as the error org.example.TavrinSoundRecorder.Error.Refused with
// the window's text) and the window shows its box afterwards.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>

class MainWindow;
class RecorderCore;

class RemoteControl : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.example.TavrinSoundRecorder.Recorder")
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(qlonglong Elapsed READ elapsed)
    Q_PROPERTY(QString CurrentFile READ currentFile)

public:
    explicit RemoteControl(MainWindow &window, QObject *parent = nullptr);
    ~RemoteControl() override;

    // Takes the service name on the session bus; false, and nothing said, without a bus or
    // when another window holds the name already.
    bool registerOnSessionBus();

    QString state() const;
    qlonglong elapsed() const;
    QString currentFile() const;

public slots:
    void Record();
    void Pause();
    void Stop();
    // A marker where the recording is now; name "" for "Marker n".
    void AddMarker(const QString &name);

private:
    // Runs a window command; a refusal it shows, or an error it raises, becomes the call's
    // error.
    template <typename Command>
    void answer(Command command);
    void announceChanges();

    MainWindow &m_window;
    RecorderCore &m_core;
    bool m_registered = false;
    QString m_shownState;
    QString m_shownFile;
};
