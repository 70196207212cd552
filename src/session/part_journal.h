// The journal of a recording part: while a part is open, a small file in the settings folder
// names it (its file, its format, when it started) and a lock next to it says that this
// program is alive. A normal end removes both. A journal whose lock no living program holds
// was left by a recording that was interrupted (the program or the machine died): at the
// next start its file is repaired, so that players see its true length, and listed.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QLockFile;
class RecordedFiles;

namespace engine {
class IEngineFactory;
}

class PartJournal {
public:
    // Writes the journal of a part before its first block, in folder + "/journals/". Returns
    // nothing when it cannot be written (the recording goes on, without that protection).
    static std::unique_ptr<PartJournal> open(const QString &folder, const QString &partPath, const QString &format);
    ~PartJournal();   // removes the journal and its lock: the part ended normally

    // The part's file moved (the save folder was made again): the journal follows it.
    void setPartPath(const QString &partPath);

private:
    PartJournal(QString journalPath, std::unique_ptr<QLockFile> lock, QString format);
    void write(const QString &partPath);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    QString m_format;
};

// A part that an interrupted run left behind.
struct InterruptedPart {
    QString journalPath;
    QString partPath;
    QString format;
    QDateTime started;
};

// The journals in folder + "/journals/" whose lock no living program holds; the locks of the
// ones returned are taken, so no second program repairs the same files. Never throws.
class InterruptedParts {
public:
    explicit InterruptedParts(const QString &folder);
    ~InterruptedParts();
    const QList<InterruptedPart> &parts() const { return m_parts; }
    // Done with this part: its journal and lock go.
    void forget(const InterruptedPart &part);

private:
    QList<InterruptedPart> m_parts;
    QList<std::shared_ptr<QLockFile>> m_locks;
};

// Repairs and lists every part an interrupted run left behind in folder, and says what was
// done in plain words, one line a part ("Recovered Untitled3.mp3 (12:04) from a recording
// that was interrupted."). A file that cannot be repaired is left as it is, and the line says
// so. Never throws: nothing here may stop the program from starting.
QStringList recoverInterruptedParts(engine::IEngineFactory &engine, RecordedFiles &files, const QString &folder);
