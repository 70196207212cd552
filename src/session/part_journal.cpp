#include "session/part_journal.h"

#include "engine/engine.h"
#include "session/format_text.h"
#include "session/ini_file.h"
#include "session/recorded_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <atomic>

namespace {

const QString kSection = QStringLiteral("part");
const QString kJournalSuffix = QStringLiteral(".journal");

QString journalFolder(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("journals"));
}

QString lockPathOf(const QString &journalPath)
{
    return journalPath.left(journalPath.size() - kJournalSuffix.size()) + QStringLiteral(".lock");
}

std::unique_ptr<QLockFile> lockFor(const QString &journalPath)
{
    auto lock = std::make_unique<QLockFile>(lockPathOf(journalPath));
    // A lock is stale only when the program that took it is gone, never because it is old:
    // a recording may run for days.
    lock->setStaleLockTime(0);
    return lock;
}

}  // namespace

std::unique_ptr<PartJournal> PartJournal::open(const QString &folder, const QString &partPath, const QString &format)
{
    if (folder.isEmpty())
        return nullptr;
    const QString dir = journalFolder(folder);
    if (!QDir().mkpath(dir))
        return nullptr;
    static std::atomic<int> counter{0};
    const QString journal = QDir(dir).filePath(QStringLiteral("part-%1-%2%3")
                                                   .arg(QCoreApplication::applicationPid())
                                                   .arg(++counter)
                                                   .arg(kJournalSuffix));
    std::unique_ptr<QLockFile> lock = lockFor(journal);
    if (!lock->tryLock(0))
        return nullptr;
    std::unique_ptr<PartJournal> j(new PartJournal(journal, std::move(lock), format));
    try {
        j->write(partPath);
    } catch (const std::exception &) {
        return nullptr;   // the destructor removes what was made
    }
    return j;
}

PartJournal::PartJournal(QString journalPath, std::unique_ptr<QLockFile> lock, QString format)
    : m_path(std::move(journalPath)), m_lock(std::move(lock)), m_format(std::move(format))
{
}

PartJournal::~PartJournal()
{
    QFile::remove(m_path);
    m_lock->unlock();
}

void PartJournal::write(const QString &partPath)
{
    IniFile(m_path).write({
        {kSection, QStringLiteral("path"), partPath},
        {kSection, QStringLiteral("format"), m_format},
        {kSection, QStringLiteral("started"), QDateTime::currentDateTime().toString(Qt::ISODate)},
    });
}

void PartJournal::setPartPath(const QString &partPath)
{
    try {
        IniFile(m_path).writeString(kSection, QStringLiteral("path"), partPath);
    } catch (const std::exception &) {
    }
}

InterruptedParts::InterruptedParts(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QDir dir(journalFolder(folder));
    const QStringList journals = dir.entryList({QStringLiteral("*") + kJournalSuffix}, QDir::Files, QDir::Name);
    for (const QString &name : journals) {
        const QString journal = dir.filePath(name);
        std::shared_ptr<QLockFile> lock = lockFor(journal);
        if (!lock->tryLock(0))
            continue;   // a living program records into it
        const IniFile ini(journal);
        InterruptedPart part;
        part.journalPath = journal;
        part.partPath = ini.readString(kSection, QStringLiteral("path"), QString());
        part.format = ini.readString(kSection, QStringLiteral("format"), QString());
        part.started = QDateTime::fromString(ini.readString(kSection, QStringLiteral("started"), QString()), Qt::ISODate);
        m_parts.append(part);
        m_locks.append(std::move(lock));
    }
}

InterruptedParts::~InterruptedParts()
{
    for (const std::shared_ptr<QLockFile> &lock : std::as_const(m_locks))
        lock->unlock();
}

void InterruptedParts::forget(const InterruptedPart &part)
{
    QFile::remove(part.journalPath);
}

QStringList recoverInterruptedParts(engine::IEngineFactory &engine, RecordedFiles &files, const QString &folder)
{
    QStringList said;
    try {
        InterruptedParts interrupted(folder);
        if (interrupted.parts().isEmpty())
            return said;
        std::unique_ptr<engine::IAudioFile2> repairer = engine.createFile(QStringLiteral("repairer"));
        repairer->SetActive(true);
        for (const InterruptedPart &part : interrupted.parts()) {
            const QFileInfo file(part.partPath);
            if (part.partPath.isEmpty() || !file.exists()) {
                interrupted.forget(part);   // nothing left to recover
                continue;
            }
            if (file.size() == 0) {
                // The part was named but never written: nothing of it is worth keeping.
                QFile::remove(part.partPath);
                interrupted.forget(part);
                continue;
            }
            try {
                repairer->RepairFile(part.partPath);
                files.add(part.partPath);
                const qint64 ms = files.at(files.count() - 1).durationMs;
                said << QStringLiteral("Recovered %1 (%2) from a recording that was interrupted.")
                            .arg(file.fileName(), minutesAndSeconds(ms / 1000));
            } catch (const std::exception &e) {
                said << QStringLiteral("%1 was left by a recording that was interrupted and could not be "
                                       "repaired; it was left as it was (%2).")
                            .arg(file.fileName(), QString::fromUtf8(e.what()));
            }
            interrupted.forget(part);
        }
    } catch (const std::exception &) {
        // Whatever went wrong, the program still starts.
    }
    return said;
}
