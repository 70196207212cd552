#include "engine/file/audio_writer.h"

#include "engine/file/ffmpeg_util.h"
#include "engine/file/file_syncer.h"
#include "engine/file/open_file_move.h"
#include "engine/file/writer_kinds.h"
#include "engine/file/writing_registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <utility>

namespace engine::file {

namespace {

// Creates or empties the file; the descriptor, or -errno when the system refuses.
int createTruncated(const QByteArray &native)
{
    int fd = -1;
    do {
        fd = ::open(native.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? -errno : fd;
}

int openForWriting(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = createTruncated(native);
    if (fd < 0)
        throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: %2")
                              .arg(path, systemErrorText(-fd)));
    return fd;
}

// Makes a new file; never opens or replaces an existing one, a link included. The
// descriptor, or -errno.
int createExclusively(const QByteArray &native)
{
    int fd = -1;
    do {
        fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? -errno : fd;
}

// The largest size a file open as fd may reach, as far as it can be known beforehand.
qint64 sizeLimitOf(int fd)
{
    constexpr long kMsdosMagic = 0x4d44;   // FAT12/16/32: files end below 4 GB
    qint64 limit = std::numeric_limits<qint64>::max();
    struct rlimit rl {};
    if (getrlimit(RLIMIT_FSIZE, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY)
        limit = qint64(std::min<rlim_t>(rl.rlim_cur, rlim_t(limit)));
    struct statfs fs {};
    if (fstatfs(fd, &fs) == 0 && long(fs.f_type) == kMsdosMagic)
        limit = std::min<qint64>(limit, 0xFFFFFFFFLL);
    return limit;
}

}  // namespace

// ---- AudioWriter ----------------------------------------------------------------------------

AudioWriter::AudioWriter(const QString &path, const OutputFormat &format, int reservedFd)
    : m_reservedFd(reservedFd), m_path(path), m_format(format)
{
}

AudioWriter::~AudioWriter()
{
    // The writers close their files in their own destructors; this only ends the threads
    // of one whose setup failed half-way.
    m_move.reset();
    m_syncer.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
        unregisterWriting(m_path);
    }
    if (m_reservedFd >= 0)
        ::close(m_reservedFd);
}

void AudioWriter::openFile()
{
    m_fd = m_reservedFd >= 0 ? std::exchange(m_reservedFd, -1) : openForWriting(m_path);
    m_sizeLimit = sizeLimitOf(m_fd);
    registerWriting(m_path);
    m_syncer = std::make_unique<FileSyncer>(m_fd);
}

void AudioWriter::abandonFile()
{
    m_syncer.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        unregisterWriting(m_path);
    }
}

void AudioWriter::write(const SampleArray &samples)
{
    collectMove();
    reportMoveFailure();
    if (m_full)
        throw FileLimitError(m_failure);
    if (m_failed)
        throw EngineError(m_failure);
    if (m_fd < 0)
        throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot write %1: the file is closed")
                              .arg(m_path));
    if (const int error = m_syncer->error())
        failWrite(error);
    std::lock_guard<std::mutex> lock(m_lock);
    writeBlock(samples);
    m_syncer->noteWritten();
}

void AudioWriter::close()
{
    if (m_fd < 0)
        return;
    // A move in progress is finished first: the old file may be gone from its folder.
    if (m_move) {
        m_move->wait();
        collectMove();
    }
    QString failure;
    try {
        finishFile();
    } catch (const EngineError &e) {
        failure = e.text();
    }
    m_syncer->stop();
    const int syncError = m_syncer->error();
    m_syncer.reset();
    const int closeError = ::close(m_fd) != 0 ? errno : 0;
    m_fd = -1;
    unregisterWriting(m_path);
    if (!failure.isEmpty())
        throw EngineError(failure);
    if (!m_moveFailure.isEmpty())
        reportMoveFailure();
    if (m_failed || m_full)
        return;
    if (const int e = syncError ? syncError : closeError)
        throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot write %1: %2")
                              .arg(m_path, systemErrorText(e)));
}

void AudioWriter::closeQuietly()
{
    try {
        close();
    } catch (const EngineError &) {
    }
}

void AudioWriter::moveTo(const QString &newPath)
{
    collectMove();
    const QString failure = QCoreApplication::translate("AudioWriter", "Cannot move the recording to %1: %2");
    if (m_fd < 0)
        throw EngineError(failure.arg(newPath,
                                      QCoreApplication::translate("AudioWriter", "no file is being written")));
    if (m_move)
        throw EngineError(failure.arg(newPath,
                                      QCoreApplication::translate("AudioWriter", "it is being moved already")));
    const QByteArray native = QFile::encodeName(newPath);
    struct stat target {}, current {};
    if (::stat(native.constData(), &target) == 0 && fstat(m_fd, &current) == 0
        && target.st_dev == current.st_dev && target.st_ino == current.st_ino)
        throw EngineError(failure.arg(newPath,
                                      QCoreApplication::translate("AudioWriter", "that is the recording itself")));
    // The recording's own name may be taken again once its folder was made anew: the old
    // file is gone (the check above), only this writer still names it.
    const bool ownName = QFileInfo(newPath).absoluteFilePath() == QFileInfo(m_path).absoluteFilePath();
    if (!ownName && isBeingWritten(newPath))
        throw EngineError(failure.arg(newPath,
                                      QCoreApplication::translate("AudioWriter", "that file is being written")));
    // While the file has a name somewhere on that file system, one more name is all it
    // takes: nothing is copied. linkat never replaces an existing entry.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, native.constData(), AT_SYMLINK_FOLLOW) == 0) {
        unregisterWriting(m_path);
        m_path = newPath;
        registerWriting(m_path);
        return;
    }
    if (errno == EEXIST)
        throw EngineError(failure.arg(newPath, systemErrorText(EEXIST)));
    // No name left (the kernel links no such file again), another file system, or no hard
    // links there: the file is copied into a new one that is nothing else's.
    const int fd = createExclusively(native);
    if (fd < 0)
        throw EngineError(failure.arg(newPath, systemErrorText(-fd)));
    m_moveFailure.clear();
    m_move = std::make_unique<OpenFileMove>(m_fd, fd, newPath, m_lock, rewrittenHeadBytes());
    registerWriting(newPath);
}

bool AudioWriter::isMoving()
{
    collectMove();
    reportMoveFailure();
    return m_move != nullptr;
}

void AudioWriter::collectMove()
{
    if (!m_move || !m_move->finished())
        return;
    m_move->wait();
    const QString newPath = m_move->newPath();
    if (m_move->failure().isEmpty()) {
        unregisterWriting(m_path);
        m_path = newPath;
    } else {
        unregisterWriting(newPath);
        m_moveFailure = m_move->failure();
    }
    m_move.reset();
}

void AudioWriter::reportMoveFailure()
{
    if (m_moveFailure.isEmpty())
        return;
    const QString failure = m_moveFailure;
    m_moveFailure.clear();
    throw EngineError(failure);
}

void AudioWriter::failWrite(int systemError)
{
    failWrite(systemErrorText(systemError));
}

void AudioWriter::failWrite(const QString &reason)
{
    m_failed = true;
    m_failure = QCoreApplication::translate("AudioWriter", "Cannot write %1: %2").arg(m_path, reason);
    throw EngineError(m_failure);
}

void AudioWriter::reachLimit(const QString &reason)
{
    m_full = true;
    m_failure = QCoreApplication::translate("AudioWriter", "Cannot write %1: %2").arg(m_path, reason);
    throw FileLimitError(m_failure);
}

std::unique_ptr<AudioWriter> AudioWriter::create(const QString &path, const OutputFormat &format, int reservedFd)
{
    quietFfmpegLog();
    if (format.type == OutputType::Wav)
        return makeWavWriter(path, format, reservedFd);
    return makeEncodedWriter(path, format, reservedFd);
}

}  // namespace engine::file
