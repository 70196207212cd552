#include "session/part_watch.h"

#include "engine/engine.h"
#include "session/file_operations.h"
#include "session/part_journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

bool lstatOf(const QString &path, struct stat *st)
{
    return ::lstat(QFile::encodeName(path).constData(), st) == 0;
}

}  // namespace

PartWatch::PartWatch(engine::IAudioFile2 &writer, PartJournal *journal, QString path, int fd, QString rescueFolder)
    : m_writer(writer), m_journal(journal), m_path(std::move(path)), m_fd(fd), m_rescueFolder(std::move(rescueFolder))
{
    struct stat st {};
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0)
        m_links = qint64(st.st_nlink);
}

PartWatch::~PartWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool PartWatch::namesFile(const QString &path) const
{
    struct stat name {}, file {};
    return lstatOf(path, &name) && ::fstat(m_fd, &file) == 0 && S_ISREG(name.st_mode) && name.st_dev == file.st_dev
           && name.st_ino == file.st_ino;
}

bool PartWatch::lostName()
{
    // A name went (the link count fell) and it was the part's own; a file only renamed
    // keeps its links and is left alone.
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return false;
    const qint64 before = std::exchange(m_links, qint64(st.st_nlink));
    return qint64(st.st_nlink) < before && !namesFile(m_path);
}

PartWatch::Report PartWatch::check()
{
    if (m_moving)
        return collectMove();
    if (m_gaveUp || !lostName())
        return {};
    return giveName();
}

PartWatch::Report PartWatch::beforeClose()
{
    return check();
}

PartWatch::Report PartWatch::giveName()
{
    m_removedFolder = QFileInfo(m_path).path();
    QString why;
    if (!QDir().mkpath(m_removedFolder))
        why = tr("Cannot create %1").arg(m_removedFolder);
    else if (tryFolder(m_removedFolder, &why)) {
        if (m_moving)
            return {};
        //: %1 is a folder, %2 a file name.
        return {tr("The folder %1 was removed while recording. It was made again and the recording put back into "
                   "it as %2; the recording goes on.")
                    .arg(m_removedFolder, QFileInfo(m_path).fileName()),
                {}, true};
    }
    m_rescuing = true;
    QString rescueWhy;
    if (tryFolder(m_rescueFolder, &rescueWhy)) {
        if (m_moving)
            return {};
        //: %1 is a folder, %2 why it could not be made, %3 the file's new path.
        return {tr("The folder %1 was removed while recording and could not be made again (%2). The recording "
                   "goes on in %3.")
                    .arg(m_removedFolder, why, m_path),
                {}, true};
    }
    m_gaveUp = true;
    return {{},
            //: %1 is a folder; %2 and %3 say why no name could be had there and in the rescue folder.
            tr("The folder %1 was removed while recording, and the recording could not be given a name "
               "again (%2; %3). What was recorded is lost when the recording ends.")
                .arg(m_removedFolder, why, rescueWhy),
            false};
}

bool PartWatch::tryFolder(const QString &folder, QString *why)
{
    if (!QDir().mkpath(folder)) {
        *why = tr("Cannot create %1").arg(folder);
        return false;
    }
    const QString name = QFileInfo(m_path).fileName();
    for (int n = 1; n < 1000; ++n) {
        const QString target = joinPath(folder, numberedVariant(name, n));
        struct stat st {};
        if (lstatOf(target, &st))
            continue;
        try {
            m_writer.MoveOpenFile(target);
            if (m_writer.IsMovingFile()) {
                m_moving = true;
                m_target = target;
                return true;
            }
        } catch (const std::exception &e) {
            if (lstatOf(target, &st))
                continue;   // taken meanwhile: the next name
            *why = QString::fromUtf8(e.what());
            return false;
        }
        // One more name of the same file: the journal names it from now on.
        m_path = target;
        if (m_journal)
            m_journal->setPart(m_path, m_fd);
        struct stat file {};
        if (::fstat(m_fd, &file) == 0)
            m_links = qint64(file.st_nlink);
        return true;
    }
    //: Why no name could be had, said in brackets inside another message; %1 is a folder.
    *why = tr("every name is taken in %1").arg(folder);
    return false;
}

PartWatch::Report PartWatch::collectMove()
{
    try {
        if (m_writer.IsMovingFile())
            return {};
    } catch (const std::exception &e) {
        // The copy failed and was removed; the recording goes on where it was.
        m_moving = false;
        const QString why = QString::fromUtf8(e.what());
        if (!m_rescuing) {
            m_rescuing = true;
            QString rescueWhy;
            if (tryFolder(m_rescueFolder, &rescueWhy)) {
                if (m_moving)
                    return {};
                //: %1 is a folder, %2 why the copy failed, %3 the file's new path.
                return {tr("The folder %1 was removed while recording and the recording could not be copied back "
                           "into it (%2). The recording goes on in %3.")
                            .arg(m_removedFolder, why, m_path),
                        {}, true};
            }
        }
        m_gaveUp = true;
        return {{},
                //: %1 is a folder, %2 why the copy failed.
                tr("The folder %1 was removed while recording, and the recording could not be copied "
                   "back (%2). What was recorded is lost when the recording ends.")
                    .arg(m_removedFolder, why),
                false};
    }
    // The writer writes into the copy now: that is the part's file.
    m_moving = false;
    const int fd = ::open(QFile::encodeName(m_target).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        ::close(m_fd);
        m_fd = fd;
        struct stat st {};
        if (::fstat(m_fd, &st) == 0)
            m_links = qint64(st.st_nlink);
    }
    m_path = m_target;
    if (m_journal)
        m_journal->setPart(m_path, m_fd);
    if (m_rescuing)
        //: %1 is a folder, %2 the file's new path.
        return {tr("The folder %1 was removed while recording and could not be made again. Everything recorded "
                   "so far was copied into %2, and the recording goes on there.")
                    .arg(m_removedFolder, m_path),
                {}, true};
    //: %1 is a folder, %2 a file name.
    return {tr("The folder %1 was removed while recording. It was made again, everything recorded so far was "
               "copied back into it as %2, and the recording goes on.")
                .arg(m_removedFolder, QFileInfo(m_path).fileName()),
            {}, true};
}

bool PartWatch::settleAfterClose()
{
    if (m_moving) {
        // Closing waited for the copy: it holds everything, or it failed and was removed.
        m_moving = false;
        struct stat st {};
        if (!lstatOf(m_target, &st) || !S_ISREG(st.st_mode))
            return false;
        m_path = m_target;
        return true;
    }
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return true;   // nothing known: nothing claimed
    // The journal's second name is no name of the user's.
    const QString second = m_journal ? m_journal->secondNamePath() : QString();
    const qint64 ours = !second.isEmpty() && namesFile(second) ? 1 : 0;
    return qint64(st.st_nlink) > ours;
}
