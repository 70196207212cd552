#include "engine/file/open_file_move.h"

#include "engine/engine.h"
#include "engine/file/ffmpeg_util.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace engine::file {

namespace {

// Left over for the copy under the writer's lock; the rest is copied while the writer
// goes on. A 200 ms block of 44.1 kHz stereo WAV is 35 KiB.
constexpr qint64 kCatchUpBytes = 256 * 1024;
constexpr qint64 kCopyChunk = 1 << 20;
// From a file without a name the copy goes in small steps, each one's space given back
// before the next: the move needs no more than this beyond the recording itself.
constexpr qint64 kGiveBackChunk = 64 * 1024;

qint64 fileSize(int fd)
{
    struct stat st {};
    return fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
}

}  // namespace

OpenFileMove::OpenFileMove(int writerFd, int newFd, const QString &newPath, std::mutex &writerLock,
                           qint64 headBytes)
    : m_writerFd(writerFd),
      m_target(newFd),
      m_newPath(newPath),
      m_nativePath(QFile::encodeName(newPath)),
      m_writerLock(writerLock),
      m_headBytes(headBytes)
{
    // A reference of our own to the old file: the writer's descriptor number will point
    // at the new one.
    m_source = fcntl(writerFd, F_DUPFD_CLOEXEC, 0);
    if (m_source < 0) {
        const int error = errno;
        ::close(m_target);
        ::unlink(m_nativePath.constData());
        throw EngineError(QCoreApplication::translate("OpenFileMove", "Cannot move the recording to %1: %2")
                              .arg(newPath, systemErrorText(error)));
    }
    m_thread = std::thread(&OpenFileMove::run, this);
}

OpenFileMove::~OpenFileMove()
{
    wait();
}

void OpenFileMove::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

// An old file that no name holds any more is only read by this copy: the space of what is
// copied already goes back to the disk, so the move needs little room beyond the file
// itself. The head, which the writer rewrites in place and which is copied again at the
// switch, stays.
void OpenFileMove::giveBackCopied(qint64 copied)
{
    constexpr qint64 kPage = 4096;
    const qint64 from = std::max(m_punchedUpTo, (m_headBytes + kPage - 1) / kPage * kPage);
    const qint64 to = copied / kPage * kPage;
    if (to <= from)
        return;
    // Where the file system cannot punch holes the copy simply needs more room.
    if (fallocate(m_source, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, off_t(from), off_t(to - from)) == 0)
        m_punchedUpTo = to;
}

// Copies [from, to) of the old file into the new one, giving back what is copied where the
// old file has no name; returns 0 or the errno.
int OpenFileMove::copyRange(qint64 from, qint64 to)
{
    struct stat st {};
    const bool giveBack = fstat(m_source, &st) == 0 && st.st_nlink == 0;
    std::vector<char> buffer(size_t(std::min(giveBack ? kGiveBackChunk : kCopyChunk, std::max<qint64>(to - from, 1))));
    while (from < to) {
        const ssize_t n = ::pread(m_source, buffer.data(), size_t(std::min<qint64>(qint64(buffer.size()), to - from)), off_t(from));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(m_target, buffer.data() + done, size_t(n - done), off_t(from + done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return w < 0 ? errno : ENOSPC;
            done += w;
        }
        from += n;
        if (giveBack)
            giveBackCopied(from);
    }
    return 0;
}

void OpenFileMove::run()
{
    int error = 0;
    qint64 copied = 0;
    bool switched = false;
    while (!error) {
        const qint64 size = fileSize(m_source);
        if (size < 0) {
            error = errno;
            break;
        }
        if (size - copied > kCatchUpBytes) {
            error = copyRange(copied, size);
            copied = size;
            continue;
        }
        // The last stretch, between two blocks: nothing is written meanwhile, so nothing
        // is lost or doubled.
        std::lock_guard<std::mutex> lock(m_writerLock);
        const qint64 end = fileSize(m_source);
        error = end < 0 ? errno : copyRange(copied, end);
        if (!error)
            error = copyRange(0, std::min(m_headBytes, end));
        const off_t offset = error ? -1 : lseek(m_source, 0, SEEK_CUR);
        if (!error && offset < 0)
            error = errno;
        if (!error && dup3(m_target, m_writerFd, O_CLOEXEC) < 0)
            error = errno;
        if (!error) {
            switched = true;
            lseek(m_writerFd, offset, SEEK_SET);
        }
        break;
    }
    ::close(m_target);
    ::close(m_source);
    if (!switched) {
        ::unlink(m_nativePath.constData());
        m_failure = QCoreApplication::translate("OpenFileMove", "Cannot move the recording to %1: %2")
                        .arg(m_newPath, systemErrorText(error));
    }
    m_finished.store(true);
}

}  // namespace engine::file
