// setup.ini, typed: the only code that knows its sections and keys. Every read goes to the
// file (nothing is cached, see IniFile); a write the file system refuses throws SettingsError
// ("Unable to write to <path>") and leaves the file as it was.
#pragma once

#include "session/recording_settings.h"

#include <QString>

class ProgramSettings {
public:
    // defaultSavePath: where recordings go when setup.ini names no folder.
    ProgramSettings(QString path, QString defaultSavePath);

    const QString &path() const { return m_path; }

    // The recording settings as stored, the time limit in force from start-up.
    RecordingSettings recording() const;
    // The Options dialog's OK: the recording settings and the MP3 and WAV lists' positions
    // (-1: none chosen), as one change.
    void storeRecording(const RecordingSettings &settings, int mp3Position, int wavPosition);
    // The time limit as stored, in seconds; -1 when none is stored.
    int storedTimeLimit() const;
    // The positions of the Options dialog's MP3 and WAV lists as stored (5 and 15 when none).
    int mp3Position() const;
    int wavPosition() const;

    // The levels of "Microphone + computer sound", 0..100 % each (100 when none is stored).
    struct MixLevels {
        int microphone = 100;
        int computer = 100;
        bool operator==(const MixLevels &) const = default;
    };
    MixLevels mixLevels() const;
    // Written only when they differ from what is stored.
    void storeMixLevels(const MixLevels &levels);

    // Each side of the mix in a file of its own ("mix"/"separate"); written only when it
    // changed. Read with the recording settings.
    void storeSeparateSides(bool on);
    // "Listen to the input" ("monitor"/"on"); written only when it changed.
    bool monitoring() const;
    void storeMonitoring(bool on);
    // Closing the window during a run hides it to the tray ("options"/"tray", 1 when not
    // stored); desktop notifications ("options"/"notify", 1 when not stored). Written only
    // when they changed.
    bool closesToTray() const;
    void storeClosesToTray(bool on);
    bool notifies() const;
    void storeNotifies(bool on);

    // The Tip of the Day: whether it opens at start-up, and the number of the tip shown last.
    bool showsTips() const;
    int tipNumber() const;
    void storeTips(int tipNumber, bool showAtStartUp);

private:
    QString m_path;
    QString m_defaultSavePath;
};
