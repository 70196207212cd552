#include "session/file_operations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <stdio.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

DiskResult failed(int error)
{
    return {DiskResult::Failed, systemReason(error)};
}

}  // namespace

QString fileExtension(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? name.mid(dot) : QString();
}

QString renamedFileName(const QString &typed, const QString &oldName)
{
    const QString typedExtension = fileExtension(typed);
    return typed.left(typed.size() - typedExtension.size()) + fileExtension(oldName);
}

DiskResult renameWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);

    // A plain rename() would silently replace a file of the new name: a recording lost.
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return {};
    int error = errno;
    if (error == EEXIST)
        return {DiskResult::NameTaken, {}};
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return failed(error);

    // The file system cannot refuse by itself: a hard link fails on an existing name.
    if (::link(f.constData(), t.constData()) == 0) {
        if (::unlink(f.constData()) == 0)
            return {};
        error = errno;
        ::unlink(t.constData());
        return failed(error);
    }
    error = errno;
    if (error == EEXIST)
        return {DiskResult::NameTaken, {}};
    if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG)
        return failed(error);

    // No hard links here either (FAT, some network shares): look first, then rename.
    struct stat st {};
    if (::lstat(t.constData(), &st) == 0)
        return {DiskResult::NameTaken, {}};
    if (::rename(f.constData(), t.constData()) != 0)
        return failed(errno);
    return {};
}

DiskResult deleteFromDisk(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) == 0)
        return {};
    const int error = errno;
    if (error == ENOENT)
        return {DiskResult::Missing, {}};
    return failed(error);
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

ReservedFile::ReservedFile(ReservedFile &&other) noexcept
    : m_path(std::move(other.m_path)), m_fd(std::exchange(other.m_fd, -1))
{
}

ReservedFile &ReservedFile::operator=(ReservedFile &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_path = std::move(other.m_path);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

ReservedFile::~ReservedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

// Creates path exclusively; -1 with errno when it cannot.
int createExclusive(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The first free name that `name(n)` gives, n = first, first + 1, ..., created exclusively
// with its companions; with `only`, n = first alone.
ReservedFile reserveFirstFree(const std::function<QString(qint64)> &name, qint64 first, bool only,
                              const QStringList &companions = {}, std::vector<ReservedFile> *made = nullptr)
{
    for (qint64 n = first;; ++n) {
        std::vector<ReservedFile> files;
        QString taken;
        for (qsizetype k = -1; k < companions.size(); ++k) {
            const QString path = k < 0 ? name(n) : companionPath(name(n), companions[k]);
            const int fd = createExclusive(path);
            if (fd >= 0) {
                files.emplace_back(path, fd);
                continue;
            }
            const int error = errno;
            // Not this number: what it made goes again.
            for (const ReservedFile &f : files)
                QFile::remove(f.path());
            if (error != EEXIST)
                //: %1 is a file's path, %2 the system's reason.
                throw std::runtime_error(QCoreApplication::translate("FileOperations", "Cannot create %1: %2")
                                             .arg(path, systemReason(error))
                                             .toStdString());
            taken = path;
            break;
        }
        if (taken.isEmpty()) {
            if (made)
                made->assign(std::make_move_iterator(files.begin() + 1), std::make_move_iterator(files.end()));
            return std::move(files.front());
        }
        if (only)
            throw std::runtime_error(QCoreApplication::translate("FileOperations", "Cannot write %1: the file exists")
                                         .arg(taken)
                                         .toStdString());
    }
}

}  // namespace

ReservedFile reserveNumberedFile(const QString &folder, const QString &stem, const QString &extension)
{
    return reserveFirstFree([&](qint64 n) { return joinPath(folder, stem + QString::number(n) + extension); }, 1,
                            false);
}

ReservedFile reservePartFile(const QString &folder, const QString &stem, const QString &extension, bool firstPart,
                             const QStringList &companions, std::vector<ReservedFile> *made)
{
    if (stem.isEmpty())
        return reserveFirstFree(
            [&](qint64 n) { return joinPath(folder, QStringLiteral("Untitled") + QString::number(n) + extension); }, 1,
            false, companions, made);
    return reserveFirstFree(
        [&](qint64 n) {
            return joinPath(folder, n == 1 ? stem + extension : QStringLiteral("%1 %2%3").arg(stem).arg(n).arg(extension));
        },
        firstPart ? 1 : 2, firstPart, companions, made);
}

QString companionPath(const QString &path, const QString &suffix)
{
    const QString extension = fileExtension(path);
    return path.left(path.size() - extension.size()) + suffix + extension;
}

bool pathSurvivesFileSystem(const QString &path)
{
    if (!path.contains(QChar(QChar::ReplacementCharacter)))
        return true;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QString numberedVariant(const QString &name, int n)
{
    if (n <= 1)
        return name;
    const QString extension = fileExtension(name);
    return name.left(name.size() - extension.size()) + QStringLiteral(" (%1)").arg(n) + extension;
}

namespace {

// Copies the whole file open as from into the new file to; 0 or the errno.
int copyWhole(int from, int to)
{
    struct stat st {};
    if (::fstat(from, &st) != 0)
        return errno;
    off_t offset = 0;
    while (offset < st.st_size) {
        const ssize_t n = ::sendfile(to, from, &offset, size_t(std::min<off_t>(st.st_size - offset, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
    }
    return ::fsync(to) == 0 ? 0 : errno;
}

}  // namespace

QString giveNameTo(int fd, const QString &sourcePath, const QString &folder, const QString &name)
{
    if (!QDir().mkpath(folder))
        throw std::runtime_error(
            QCoreApplication::translate("FileOperations", "Cannot create %1").arg(folder).toStdString());
    const QByteArray source = QFile::encodeName(sourcePath);
    for (int n = 1; n < 10000; ++n) {
        const QString path = joinPath(folder, numberedVariant(name, n));
        const QByteArray target = QFile::encodeName(path);
        if (!source.isEmpty() && ::link(source.constData(), target.constData()) == 0)
            return path;
        if (!source.isEmpty() && errno == EEXIST)
            continue;
        const int copy = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (copy < 0) {
            const int refused = errno;
            if (refused == EEXIST)
                continue;
            throw std::runtime_error(QCoreApplication::translate("FileOperations", "Cannot create %1: %2")
                                         .arg(path, systemReason(refused))
                                         .toStdString());
        }
        const int error = copyWhole(fd, copy);
        ::close(copy);
        if (error) {
            ::unlink(target.constData());
            throw std::runtime_error(QCoreApplication::translate("FileOperations", "Cannot create %1: %2")
                                         .arg(path, systemReason(error))
                                         .toStdString());
        }
        return path;
    }
    throw std::runtime_error(QCoreApplication::translate("FileOperations", "Cannot create %1: every name is taken")
                                 .arg(joinPath(folder, name))
                                 .toStdString());
}
