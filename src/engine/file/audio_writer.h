// Writes one audio file: WAV (our own RIFF writer, its header kept current while the
// file grows), MP3 (LAME through FFmpeg, with a Xing/LAME header) or WMA (WMA V2 in ASF
// through FFmpeg). Internal to the engine; FfmpegAudioFile writes through it.
#pragma once

#include "engine/engine.h"
#include "engine/file/output_format.h"

#include <QString>

#include <memory>

namespace engine::file {

class AudioWriter {
public:
    // Creates (or replaces) the file; throws EngineError ("Cannot create <path>: <reason>").
    static std::unique_ptr<AudioWriter> create(const QString &path, const OutputFormat &format);
    virtual ~AudioWriter() = default;

    // Appends a block in any sample format, rate and channel count; it is converted to
    // the file's format. Throws EngineError ("Cannot write <path>: <reason>"); what was
    // written before stays readable.
    virtual void write(const SampleArray &samples) = 0;
    // Completes the file. Throws EngineError for a failure not reported before.
    virtual void close() = 0;

    const OutputFormat &format() const { return m_format; }
    const QString &path() const { return m_path; }
    qint64 framesWritten() const { return m_frames; }   // in the file's rate

protected:
    AudioWriter(const QString &path, const OutputFormat &format) : m_path(path), m_format(format) {}
    [[noreturn]] void failWrite(int systemError);
    [[noreturn]] void failWrite(const QString &reason);

    QString m_path;
    OutputFormat m_format;
    qint64 m_frames = 0;
    bool m_failed = false;          // a write failed; the failure has been reported
    QString m_failure;
};

}  // namespace engine::file
