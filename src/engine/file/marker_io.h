// What the markers' files share (file_markers.cpp and one file per container family:
// marker_vorbis.cpp for FLAC, Ogg Vorbis and Opus, marker_wav.cpp, marker_mp3.cpp,
// marker_wma.cpp): the failure they throw, the file kinds, the descriptor and whole-file
// rewrite, and the times of markers. Not for use outside them.
#pragma once

#include "engine/file/ffmpeg_util.h"
#include "engine/file/file_markers.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace engine::file::markers {

// A reason a file's markers cannot be read or written; the callers add the file's name.
struct MarkerFailure {
    QString reason;
};

[[noreturn]] inline void fail(const QString &reason)
{
    throw MarkerFailure{reason};
}

enum class Kind { Wav, Mp3, Wma, Flac, Ogg };

inline Kind kindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"wav")
        return Kind::Wav;
    if (suffix == u"mp3")
        return Kind::Mp3;
    if (suffix == u"wma")
        return Kind::Wma;
    if (suffix == u"flac")
        return Kind::Flac;
    if (suffix == u"ogg" || suffix == u"opus")
        return Kind::Ogg;
    fail(QCoreApplication::translate("FileMarkers", "this type of file keeps no markers"));
}

// ---- Files ----------------------------------------------------------------------------

class Fd {
public:
    Fd(const QString &path, bool writable)
    {
        const QByteArray native = QFile::encodeName(path);
        do {
            m_fd = ::open(native.constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
        } while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0)
            fail(systemErrorText(errno));
        struct stat st {};
        if (fstat(m_fd, &st) != 0)
            fail(systemErrorText(errno));
        if (!S_ISREG(st.st_mode))
            fail(QCoreApplication::translate("FileMarkers", "not a file"));
        m_size = st.st_size;
        m_mode = st.st_mode & 07777;
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;

    int fd() const { return m_fd; }
    qint64 size() const { return m_size; }
    mode_t mode() const { return m_mode; }

    // Exactly `length` bytes from `offset`; a shorter file is a damaged one.
    QByteArray readAt(qint64 offset, qint64 length) const
    {
        if (offset < 0 || length < 0 || offset + length > m_size)
            fail(QCoreApplication::translate("FileMarkers", "the file is cut short"));
        QByteArray data(length, Qt::Uninitialized);
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::pread(m_fd, data.data() + done, size_t(length - done), off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail(systemErrorText(errno));
            if (n == 0)
                fail(QCoreApplication::translate("FileMarkers", "the file is cut short"));
            done += n;
        }
        return data;
    }
    // Up to `length` bytes from `offset`.
    QByteArray readSome(qint64 offset, qint64 length) const
    {
        return readAt(offset, std::clamp<qint64>(m_size - offset, 0, length));
    }

    void writeAt(qint64 offset, const QByteArray &data)
    {
        qint64 done = 0;
        while (done < data.size()) {
            const ssize_t n = ::pwrite(m_fd, data.constData() + done, size_t(data.size() - done), off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(systemErrorText(n < 0 ? errno : ENOSPC));
            done += n;
        }
        m_size = std::max(m_size, offset + data.size());
    }
    void truncate(qint64 size)
    {
        if (::ftruncate(m_fd, off_t(size)) != 0)
            fail(systemErrorText(errno));
        m_size = size;
    }
    void sync()
    {
        if (::fsync(m_fd) != 0)
            fail(systemErrorText(errno));
    }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    mode_t m_mode = 0644;
};

// Writes the file anew through `fill` (given the new file's descriptor) into a new file in
// the same folder, brought to disk, then renamed over the old one: a crash leaves either
// the old file or the new one, never half of each.
inline void replaceFile(const QString &path, const Fd &old, const std::function<void(Fd &out)> &fill)
{
    const QFileInfo info(path);
    std::random_device random;
    QByteArray tempNative;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 20; ++attempt) {
        const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName()
                             + QStringLiteral(".markers-%1").arg(random() % 1000000, 6, 10, QLatin1Char('0'));
        tempNative = QFile::encodeName(temp);
        fd = ::open(tempNative.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            fail(systemErrorText(errno));
    }
    if (fd < 0)
        fail(systemErrorText(EEXIST));
    ::close(fd);
    try {
        {
            Fd out(QFile::decodeName(tempNative), true);
            fchmod(out.fd(), old.mode());
            fill(out);
            out.sync();
        }
        if (::rename(tempNative.constData(), QFile::encodeName(path).constData()) != 0)
            fail(systemErrorText(errno));
    } catch (...) {
        ::unlink(tempNative.constData());
        throw;
    }
    const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Copies bytes [from, to) of one file to the end of another.
inline void copyRange(const Fd &in, qint64 from, qint64 to, Fd &out)
{
    constexpr qint64 kChunk = 4 << 20;
    qint64 at = out.size();
    for (qint64 p = from; p < to; p += kChunk) {
        const QByteArray data = in.readAt(p, std::min(kChunk, to - p));
        out.writeAt(at, data);
        at += data.size();
    }
}

// ---- Times --------------------------------------------------------------------------------

inline qint64 framesToMs(qint64 frame, int rate)
{
    return rate > 0 ? qint64(std::llround(double(frame) * 1000.0 / rate)) : 0;
}

inline qint64 msToFrames(qint64 ms, int rate)
{
    return qint64(std::llround(double(ms) * rate / 1000.0));
}

inline void checkMarkers(const std::vector<FileMarker> &markers)
{
    if (markers.size() > size_t(kMaxMarkers))
        fail(QCoreApplication::translate("FileMarkers", "more than %1 markers").arg(kMaxMarkers));
    for (const FileMarker &m : markers)
        if (m.frame < 0)
            fail(QCoreApplication::translate("FileMarkers", "a marker before the start"));
}

// The markers in the order of their positions (a stable sort keeps equal ones in order).
inline std::vector<FileMarker> sorted(std::vector<FileMarker> markers)
{
    std::stable_sort(markers.begin(), markers.end(),
                     [](const FileMarker &a, const FileMarker &b) { return a.frame < b.frame; });
    return markers;
}

// The markers as a format keeping milliseconds gives them back.
inline std::vector<FileMarker> inMs(std::vector<FileMarker> markers, int rate)
{
    for (FileMarker &m : markers)
        m.frame = msToFrames(framesToMs(m.frame, rate), rate);
    return markers;
}


// Each container's markers, in their own files: read in order, written as a sorted list.
std::vector<FileMarker> readWavMarkers(const QString &path);
void writeWavMarkers(const QString &path, const std::vector<FileMarker> &markers);
std::vector<FileMarker> readMp3Markers(const QString &path);
void writeMp3Markers(const QString &path, const std::vector<FileMarker> &markers);
std::vector<FileMarker> readWmaMarkers(const QString &path);
void writeWmaMarkers(const QString &path, const std::vector<FileMarker> &markers);
std::vector<FileMarker> readFlacMarkers(const QString &path);
void writeFlacMarkers(const QString &path, const std::vector<FileMarker> &markers);
std::vector<FileMarker> readOggMarkers(const QString &path);
void writeOggMarkers(const QString &path, const std::vector<FileMarker> &markers);

}  // namespace engine::file::markers
