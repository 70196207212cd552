// What the two kinds of AudioWriter share (audio_writer.cpp holds the base and picks the
// kind; wav_writer.cpp writes WAV itself, encoded_writer.cpp every other type through
// FFmpeg). Not for use outside them.
#pragma once

#include "engine/file/audio_writer.h"

#include <QString>

#include <unistd.h>

#include <cerrno>
#include <memory>

namespace engine::file {

// Writes all of data; returns 0 or the errno of the failure (bytes written so far in
// *done).
inline int writeAll(int fd, const char *data, qint64 size, qint64 *done)
{
    *done = 0;
    while (*done < size) {
        const ssize_t n = ::write(fd, data + *done, size_t(size - *done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        *done += n;
    }
    return 0;
}

std::unique_ptr<AudioWriter> makeWavWriter(const QString &path, const OutputFormat &format, int reservedFd);
std::unique_ptr<AudioWriter> makeEncodedWriter(const QString &path, const OutputFormat &format, int reservedFd);

}  // namespace engine::file
