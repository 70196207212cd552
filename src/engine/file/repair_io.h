// What the repairs of the formats share (file_repair.cpp holds what is public and picks the
// format; repair_wav.cpp, repair_mp3.cpp, repair_wma.cpp, repair_flac.cpp and repair_ogg.cpp
// repair one each): the file being repaired and a reader that walks it. Not for use outside
// them.
#pragma once

#include "engine/engine.h"
#include "engine/file/ffmpeg_util.h"

#include <QtEndian>
#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace engine::file::repair {

// pread of the range, fewer bytes (*done) where the file ends; 0 or the errno of a failure.
inline int readFully(int fd, char *data, qint64 bytes, qint64 offset, qint64 *done)
{
    *done = 0;
    while (*done < bytes) {
        const ssize_t n = ::pread(fd, data + *done, size_t(bytes - *done), off_t(offset + *done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        *done += n;
    }
    return 0;
}

// pwrite of the whole range; 0 or the errno of the failure.
inline int writeFully(int fd, const char *data, qint64 bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(bytes - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
}

// APE tags hold pictures at most; anything claiming more is not a tag.
inline constexpr qint64 kMaxTrailingTagBytes = 16 << 20;

// Thrown by a trial repair at its first change.
struct WouldChange {};

// The file being repaired: reads and writes at offsets, and the message of a refusal.
// Tags at its end may be set aside: size() then ends where they start, and a cut moves
// them down to the new end. A trial repair changes nothing and stops where it would.
class RepairTarget {
public:
    RepairTarget(int fd, const QString &path) : m_fd(fd), m_path(path)
    {
        struct stat st {};
        if (fstat(fd, &st) != 0)
            failSystem(errno);
        if (!S_ISREG(st.st_mode))
            fail(QCoreApplication::translate("FileRepair", "it is not a regular file"));
        m_size = m_fileSize = st.st_size;
    }

    int fd() const { return m_fd; }
    // Up to the trailing tags set aside.
    qint64 size() const { return m_size; }
    // Trailing tags included.
    qint64 fileSize() const { return m_fileSize; }

    // Where the audio may end ahead of tags at the end of the file (an ID3v1 tag, an APEv2
    // tag, or an APEv2 tag and then an ID3v1 tag), earliest first; empty when there are none.
    std::vector<qint64> trailingTagStarts() const
    {
        std::vector<qint64> starts;
        const qint64 id3v1 = m_fileSize >= 128 && readRaw(m_fileSize - 128, 3) == "TAG" ? m_fileSize - 128 : -1;
        for (const qint64 end : {id3v1, m_fileSize}) {
            const qint64 ape = end >= 0 ? apeTagStart(end) : -1;
            if (ape >= 0)
                starts.push_back(ape);
        }
        if (id3v1 >= 0)
            starts.push_back(id3v1);
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        return starts;
    }

    // What follows `end` is set aside as tags (none at the size of the file).
    void setAudioEnd(qint64 end) { m_size = end; }

    void setTrial(bool trial) { m_trial = trial; }

    // Up to `bytes` bytes from offset (fewer at the end of the file).
    QByteArray read(qint64 offset, qint64 bytes) const
    {
        return readRaw(offset, std::min(bytes, m_size - offset));
    }

    void write(qint64 offset, const QByteArray &bytes)
    {
        Q_ASSERT(offset >= 0 && offset + bytes.size() <= m_size);
        if (m_trial) {
            if (read(offset, bytes.size()) != bytes)
                throw WouldChange();
            return;
        }
        if (const int error = writeFully(m_fd, bytes.constData(), bytes.size(), offset))
            failSystem(error);
    }

    void truncate(qint64 size)
    {
        if (size >= m_size)
            return;
        if (m_trial)
            throw WouldChange();
        // The tags go first, over what is cut off, so that the file never grows.
        const QByteArray tags = readRaw(m_size, m_fileSize - m_size);
        if (tags.size() != m_fileSize - m_size)
            fail(QCoreApplication::translate("FileRepair", "its tags cannot be read"));
        if (const int error = writeFully(m_fd, tags.constData(), tags.size(), size))
            failSystem(error);
        if (ftruncate(m_fd, off_t(size + tags.size())) != 0)
            failSystem(errno);
        m_fileSize -= m_size - size;
        m_size = size;
    }

    [[noreturn]] void fail(const QString &reason) const
    {
        //: %1 the file, %2 why ("its header is damaged").
        throw EngineError(QCoreApplication::translate("FileRepair", "Cannot repair %1: %2")
                              .arg(m_path, reason));
    }
    [[noreturn]] void failSystem(int error) const { fail(systemErrorText(error)); }

private:
    // Where an APEv2 tag that ends at `end` starts, -1 when none does.
    qint64 apeTagStart(qint64 end) const
    {
        if (end < 32)
            return -1;
        const QByteArray footer = readRaw(end - 32, 32);
        if (footer.size() != 32 || !footer.startsWith("APETAGEX"))
            return -1;
        const quint32 version = qFromLittleEndian<quint32>(footer.constData() + 8);
        const qint64 tagSize = qFromLittleEndian<quint32>(footer.constData() + 12);   // items and footer
        const bool hasHeader = uchar(footer[23]) & 0x80;
        const qint64 bytes = tagSize + (hasHeader ? 32 : 0);
        if ((version != 1000 && version != 2000) || tagSize < 32 || bytes > end || bytes > kMaxTrailingTagBytes
            || (hasHeader && readRaw(end - bytes, 8) != "APETAGEX"))
            return -1;
        return end - bytes;
    }

    QByteArray readRaw(qint64 offset, qint64 bytes) const
    {
        bytes = std::max<qint64>(0, std::min(bytes, m_fileSize - offset));
        if (offset < 0 || bytes == 0)
            return QByteArray();
        QByteArray data(bytes, Qt::Uninitialized);
        qint64 done = 0;
        if (const int error = readFully(m_fd, data.data(), bytes, offset, &done))
            failSystem(error);
        data.truncate(done);
        return data;
    }

    int m_fd;
    QString m_path;
    qint64 m_size = 0;
    qint64 m_fileSize = 0;
    bool m_trial = false;
};

// Reads a file front to back in large pieces, for walking its frames.
class SequentialReader {
public:
    explicit SequentialReader(const RepairTarget &file) : m_file(file) {}
    // The `bytes` bytes at offset, or nullptr when the file ends first.
    const char *at(qint64 offset, int bytes)
    {
        if (offset < m_start || offset + bytes > m_start + m_buffer.size()) {
            m_start = offset;
            m_buffer = m_file.read(offset, std::max(bytes, 1 << 20));
            if (m_buffer.size() < bytes)
                return nullptr;
        }
        return m_buffer.constData() + (offset - m_start);
    }
    // Up to `bytes` bytes at offset, fewer at the end of the file (*available says how
    // many); nullptr when none are left.
    const char *upTo(qint64 offset, int bytes, int *available)
    {
        *available = int(std::clamp<qint64>(m_file.size() - offset, 0, bytes));
        return *available > 0 ? at(offset, *available) : nullptr;
    }

private:
    const RepairTarget &m_file;
    QByteArray m_buffer;
    qint64 m_start = 0;
};

// Each format: whether the first bytes of a file (64 at most) are of it, and its repair, which
// throws EngineError when it refuses the file.
bool isWav(const QByteArray &head);
void repairWav(RepairTarget &file);
bool isMpeg(const QByteArray &head);
void repairMp3(RepairTarget &file);
bool isAsf(const QByteArray &head);
void repairAsf(RepairTarget &file);
bool isFlac(const QByteArray &head);
void repairFlac(RepairTarget &file);
bool isOgg(const QByteArray &head);
void repairOgg(RepairTarget &file);

}  // namespace engine::file::repair
