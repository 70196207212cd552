#include "session/part_recovery.h"

#include "engine/engine.h"
#include "session/file_operations.h"
#include "session/format_text.h"
#include "session/part_journal.h"
#include "session/recorded_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// A descriptor that closes itself.
class OpenFile {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

class Recovery {
    Q_DECLARE_TR_FUNCTIONS(PartRecovery)

public:
    Recovery(engine::IEngineFactory &engine, QString rescueFolder, std::function<void(const QString &)> progress)
        : m_repairer(engine.createFile(QStringLiteral("repairer"))),
          m_measurer(engine.createInformation(QStringLiteral("recoveryInformation"))),
          m_rescueFolder(std::move(rescueFolder)),
          m_progress(std::move(progress))
    {
        m_repairer->SetActive(true);
    }

    void recover(InterruptedParts &journals, InterruptedPart &part);
    RecoveryReport report;

private:
    void refuse(InterruptedParts &journals, InterruptedPart &part, const QString &why);
    bool rescue(InterruptedParts &journals, InterruptedPart &part, const QString &refusal);
    // Repairs the file open as fd, marked in the journal first; "" or why not.
    QString repair(InterruptedParts &journals, InterruptedPart &part, int fd, const QString &path);
    // The markers the journal kept go into the repaired file; a failure is said.
    void writeMarkers(std::vector<engine::FileMarker> markers, const QString &path);
    // A file to list; its length in "mm:ss", or "" when it cannot be measured.
    QString list(const QString &path);
    bool isTheRecording(const InterruptedPart &part, const struct stat &st) const
    {
        return S_ISREG(st.st_mode) && st.st_dev == part.entry.device && st.st_ino == part.entry.inode;
    }

    std::unique_ptr<engine::IAudioFile2> m_repairer;
    std::unique_ptr<engine::IAudioInformation2> m_measurer;
    QString m_rescueFolder;
    std::function<void(const QString &)> m_progress;
};

QString Recovery::list(const QString &path)
{
    report.recovered << path;
    try {
        m_measurer->LoadFromFile(path);
        return minutesAndSeconds(m_measurer->GetDuration() / 1000);
    } catch (const std::exception &) {
        return QString();
    }
}

QString Recovery::repair(InterruptedParts &journals, InterruptedPart &part, int fd, const QString &path)
{
    // Marked before the first byte is looked at: should the repair crash the program, it is
    // never tried again.
    if (m_progress)
        m_progress(QFileInfo(part.entry.partPath).fileName());
    part.entry.repairStarted = true;
    if (!journals.update(part))
        return tr("Cannot repair %1: its journal cannot be written").arg(path);
    try {
        m_repairer->RepairOpenFile(fd, path, part.entry.format);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    writeMarkers(part.entry.markers, path);
    return QString();
}

void Recovery::writeMarkers(std::vector<engine::FileMarker> markers, const QString &path)
{
    if (markers.empty())
        return;
    try {
        // A marker after the last frame kept marks the end.
        m_repairer->Open(path, 0, 1);
        const qint64 frames = m_repairer->GetErrorCode() == 0 ? m_repairer->GetNumSamples() : 0;
        m_repairer->Close();
        for (engine::FileMarker &m : markers)
            m.frame = std::clamp<qint64>(m.frame, 0, std::max<qint64>(0, frames));
        m_repairer->SetMarkers(path, markers);
    } catch (const std::exception &e) {
        report.said << QString::fromUtf8(e.what());
    }
}

void Recovery::recover(InterruptedParts &journals, InterruptedPart &part)
{
    const JournalEntry &e = part.entry;
    const QFileInfo file(e.partPath);
    if (!e.identityKnown() || !QDir::isAbsolutePath(e.partPath) || file.fileName().isEmpty()) {
        //: Why a file was left as it was, said after "... was left as it was: ".
        refuse(journals, part, tr("its journal does not say exactly which file was recorded"));
        return;
    }
    const QByteArray path = native(e.partPath);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        const int error = errno;
        // The file is gone. Where the journal's second name still holds the recording, the
        // recording is not.
        if (rescue(journals, part, QString()))
            return;
        struct stat folder {};
        const bool folderThere = ::stat(native(file.path()).constData(), &folder) == 0;
        const bool removed = (error == ENOENT || error == ENOTDIR) && folderThere && folder.st_dev == e.device;
        if (removed) {
            journals.forget(part);   // removed with nothing left of it: nothing to recover
            return;
        }
        // A drive that is not mounted (its folder missing, or an empty mount point there):
        // the file may come back.
        if (!e.told) {
            part.entry.told = true;
            journals.update(part);
            //: %1 is a file name, %2 its folder.
            report.unreachable.append({part.journalPath,
                                       tr("%1 on %2 is not reachable; it will be repaired when it is.")
                                           .arg(file.fileName(), file.path())});
        }
        return;
    }
    if (S_ISLNK(st.st_mode)) {
        //: Why a file was left as it was, said after "... was left as it was: ".
        refuse(journals, part, tr("it is a link now"));
        return;
    }
    if (!isTheRecording(part, st)) {
        //: Why a file was left as it was, said after "... was left as it was: ".
        refuse(journals, part, tr("it is not the file that was recorded"));
        return;
    }
    const OpenFile fd(::open(path.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (fd.fd() < 0 || ::fstat(fd.fd(), &opened) != 0 || !isTheRecording(part, opened)) {
        refuse(journals, part,
               fd.fd() < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : tr("it is not the file that was recorded"));
        return;
    }
    if (e.repairStarted) {
        list(e.partPath);
        report.said << tr("%1 was left by a recording that was interrupted and could not be repaired: its "
                          "repair did not finish the last time. It was left as it was.")
                           .arg(file.fileName());
        journals.forget(part);
        return;
    }
    if (opened.st_size == 0) {
        // Named but never written: nothing of it is worth keeping.
        ::unlink(path.constData());
        journals.forget(part);
        return;
    }
    const QString failure = repair(journals, part, fd.fd(), e.partPath);
    if (failure.isEmpty()) {
        const QString length = list(e.partPath);
        //: %1 is a file name, %2 its length in minutes and seconds ("12:04").
        report.said << tr("Recovered %1 (%2) from a recording that was interrupted.")
                           .arg(file.fileName(), length.isEmpty() ? minutesAndSeconds(0) : length);
    } else {
        //: %1 is a file name, %2 why it could not be repaired.
        report.said << tr("%1 was left by a recording that was interrupted and could not be repaired; it "
                          "was left as it was (%2).")
                           .arg(file.fileName(), failure);
    }
    journals.forget(part);
}

void Recovery::refuse(InterruptedParts &journals, InterruptedPart &part, const QString &why)
{
    // The file the journal names is left exactly as it is.
    if (rescue(journals, part, why))
        return;
    //: %1 is a file's path, %2 why it was not repaired.
    report.said << tr("%1 was left by a recording that was interrupted, but was not repaired and was left as "
                      "it was: %2.")
                       .arg(part.entry.partPath, why);
    journals.forget(part);
}

bool Recovery::rescue(InterruptedParts &journals, InterruptedPart &part, const QString &refusal)
{
    const QString second = part.secondNamePath();
    if (second.isEmpty())
        return false;
    const OpenFile fd(::open(native(second).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (fd.fd() < 0 || ::fstat(fd.fd(), &st) != 0 || !isTheRecording(part, st))
        return false;
    const QString name = QFileInfo(part.entry.partPath).fileName();
    QString failure;
    if (part.entry.repairStarted)
        //: Why a file could not be repaired, said in brackets inside another message.
        failure = tr("its repair did not finish the last time");
    else if (st.st_size > 0)
        failure = repair(journals, part, fd.fd(), part.entry.partPath);
    QString made;
    try {
        made = giveNameTo(fd.fd(), second, m_rescueFolder, name.isEmpty() ? QStringLiteral("Untitled.wav") : name);
    } catch (const std::exception &e) {
        // Kept for the next start: the journal and its second name stay.
        //: %1 is a file name, %2 why no name could be given.
        report.said << tr("%1 was left by a recording that was interrupted and could not be given a name "
                          "(%2); it is kept and will be tried again at the next start.")
                           .arg(name, QString::fromUtf8(e.what()));
        return true;
    }
    const QString length = list(made);
    QString text = refusal.isEmpty()
                       //: %1 is a file name, %2 its length in minutes and seconds, %3 the folder it was
                       //: recorded in, %4 its new path.
                       ? tr("Recovered %1 (%2) from a recording that was interrupted; it was no longer "
                            "in %3, so it is now %4.")
                             .arg(name, length.isEmpty() ? minutesAndSeconds(0) : length,
                                  QFileInfo(part.entry.partPath).path(), made)
                       //: %1 is a file's path, %2 why it was not repaired, %3 the recovered file's path,
                       //: %4 its length in minutes and seconds.
                       : tr("%1 was not repaired and was left as it was (%2); the recording itself was "
                            "recovered as %3 (%4).")
                             .arg(part.entry.partPath, refusal, made, length.isEmpty() ? minutesAndSeconds(0) : length);
    if (!failure.isEmpty())
        //: Follows a message about a recovered file; %1 says why it could not be repaired.
        text += QLatin1Char(' ') + tr("It could not be repaired (%1).").arg(failure);
    report.said << text;
    journals.forget(part);
    return true;
}

}  // namespace

QString defaultRescueFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/tavrin-sound-recorder/rescued");
}

RecoveryReport repairInterruptedParts(engine::IEngineFactory &engine, const QString &folder, const QString &rescueFolder,
                                      std::function<void(const QString &)> progress)
{
    try {
        InterruptedParts journals(folder);
        if (journals.parts().isEmpty())
            return {};
        Recovery recovery(engine, rescueFolder, std::move(progress));
        QList<InterruptedPart> parts = journals.parts();
        for (InterruptedPart &part : parts) {
            try {
                recovery.recover(journals, part);
            } catch (const std::exception &) {
                // One part's trouble does not keep the others from being recovered.
            }
        }
        return recovery.report;
    } catch (const std::exception &) {
        // Whatever went wrong, the program still starts.
    }
    return {};
}

RecoveryReport recoverInterruptedParts(engine::IEngineFactory &engine, RecordedFiles &files, const QString &folder,
                                       const QString &rescueFolder)
{
    const RecoveryReport report = repairInterruptedParts(engine, folder, rescueFolder);
    listRecoveredParts(report, files);
    return report;
}

void listRecoveredParts(const RecoveryReport &report, RecordedFiles &files)
{
    for (const QString &path : report.recovered) {
        try {
            files.add(path);
        } catch (const std::exception &) {
            // Said already: it could not be measured, so it is not listed.
        }
    }
}

void forgetInterruptedPart(const QString &journalPath)
{
    QLockFile lock(PartJournal::lockPathOf(journalPath));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        PartJournal::remove(journalPath);
}

StartupRecovery::StartupRecovery(engine::IEngineFactory &engine, QObject *parent) : QObject(parent), m_engine(engine) {}

StartupRecovery::~StartupRecovery()
{
    if (m_thread.joinable())
        m_thread.join();
}

void StartupRecovery::start(const QString &folder, const QString &rescueFolder)
{
    if (m_running)
        return;
    if (m_thread.joinable())
        m_thread.join();
    m_running = true;
    m_thread = std::thread([this, folder, rescueFolder] {
        const RecoveryReport report = repairInterruptedParts(m_engine, folder, rescueFolder, [this](const QString &name) {
            QMetaObject::invokeMethod(this, [this, name] { emit repairing(name); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            this,
            [this, report] {
                m_running = false;
                emit finished(report);
            },
            Qt::QueuedConnection);
    });
}
