// Start-up recovery of the parts that interrupted runs left behind (see part_journal.h).
//
// A journal is trusted only as far as the disk agrees with it: the file it names must be a
// regular file (not a link) at an absolute path, the very file that was recorded (its device
// and inode), of the format the journal names; it is opened without following links. A
// file that fails any of these is left untouched and named in the message; where the
// journal's second name still holds the recording, that is repaired and given a name in the
// rescue folder instead. A repair is marked in the journal before it begins, so a repair that
// crashes the program is never tried again: at the next start the file is listed as it is and
// the user told. A file whose folder is not there (a drive that is not mounted) keeps its
// journal until the file is found and repaired, or the user forgets it; the user is told
// once.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <thread>

class RecordedFiles;

namespace engine {
class IEngineFactory;
}

struct RecoveryReport {
    // What was done, one line a part ("Recovered Untitled3.mp3 (12:04) from a recording that
    // was interrupted.").
    QStringList said;
    // The files to list, in order.
    QStringList recovered;
    // Parts whose file is not reachable, told about for the first time now: the user may
    // forget them (forgetInterruptedPart) or keep waiting.
    struct Unreachable {
        QString journalPath;
        QString text;   // "Untitled3.mp3 on /media/stick is not reachable; it will be repaired when it is."
    };
    QList<Unreachable> unreachable;
};

Q_DECLARE_METATYPE(RecoveryReport)

// Where recordings that lost their folder are given a name:
// $XDG_DATA_HOME/tavrin-sound-recorder/rescued/.
QString defaultRescueFolder();

// Repairs every part an interrupted run left behind in folder (the settings folder), as
// described above; progress gets each file's name before its repair. Runs on any thread:
// it lists nothing (see listRecoveredParts). Never throws: nothing here may stop the program
// from starting.
RecoveryReport repairInterruptedParts(engine::IEngineFactory &engine, const QString &folder,
                                      const QString &rescueFolder = defaultRescueFolder(),
                                      std::function<void(const QString &)> progress = {});
// Lists what a recovery gave back (on the files' thread).
void listRecoveredParts(const RecoveryReport &report, RecordedFiles &files);
// Both, at once.
RecoveryReport recoverInterruptedParts(engine::IEngineFactory &engine, RecordedFiles &files, const QString &folder,
                                       const QString &rescueFolder = defaultRescueFolder());

// The user does not want the part of this journal any more: the journal goes.
void forgetInterruptedPart(const QString &journalPath);

// The recovery at start-up, on a thread of its own, so that the window is usable while a long
// repair runs. What it says comes on the thread that made it.
class StartupRecovery : public QObject {
    Q_OBJECT

public:
    explicit StartupRecovery(engine::IEngineFactory &engine, QObject *parent = nullptr);
    ~StartupRecovery() override;   // waits for a repair under way

    void start(const QString &folder, const QString &rescueFolder = defaultRescueFolder());
    bool isRunning() const { return m_running; }

signals:
    // A file's repair begins.
    void repairing(const QString &fileName);
    void finished(const RecoveryReport &report);

private:
    engine::IEngineFactory &m_engine;
    std::thread m_thread;
    bool m_running = false;
};
