// Writes one audio file: WAV (our own RIFF writer, its header kept current while the
// file grows), MP3 (LAME through FFmpeg, with a Xing/LAME header), WMA (WMA V2 in ASF),
// FLAC (FFmpeg's encoder, native FLAC file), Ogg Vorbis (libvorbis) or Opus (libopus in
// Ogg), all through FFmpeg. Internal to the engine; FfmpegAudioFile writes through it.
//
// What is captured reaches the disk within about a second, whatever the format: every
// block is handed to the system as soon as it is written (the muxers hold back no more
// than about 250 ms: ASF packets and Ogg pages are kept that short, and the muxer is
// flushed after every block), and a syncer thread of the writer's own calls fdatasync
// about once a second, so neither a killed program nor a machine that loses power costs
// more.
#pragma once

#include "engine/engine.h"
#include "engine/file/output_format.h"

#include <QString>

#include <memory>
#include <mutex>

namespace engine::file {

class FileSyncer;
class OpenFileMove;

class AudioWriter {
public:
    // Creates (or replaces) the file; throws EngineError ("Cannot create <path>: <reason>").
    // With a descriptor (an empty file the caller made, open for reading and writing), writes
    // into that file instead and takes the descriptor over, also when this throws.
    static std::unique_ptr<AudioWriter> create(const QString &path, const OutputFormat &format,
                                               int reservedFd = -1);
    virtual ~AudioWriter();

    // Appends a block in any sample format, rate and channel count; it is converted to
    // the file's format. Throws FileLimitError when the block does not fit (the file is
    // complete without it), EngineError ("Cannot write <path>: <reason>") for any other
    // failure; what was written before stays readable.
    void write(const SampleArray &samples);
    // Completes the file. Throws EngineError for a failure not reported before.
    void close();

    // See IAudioFile2::MoveOpenFile and IsMovingFile.
    void moveTo(const QString &newPath);
    bool isMoving();

    const OutputFormat &format() const { return m_format; }
    const QString &path() const { return m_path; }
    qint64 framesWritten() const { return m_frames; }   // in the file's rate

protected:
    AudioWriter(const QString &path, const OutputFormat &format, int reservedFd);

    // Creates the file (open for reading too, so that a move can copy from it), or takes the
    // reserved one, and starts its syncer; throws EngineError ("Cannot create <path>:
    // <reason>").
    void openFile();
    // Closes a file whose writer could not be set up.
    void abandonFile();
    // Closes quietly (for destructors).
    void closeQuietly();

    // The writer's own part of write(), called under the writer's lock.
    virtual void writeBlock(const SampleArray &samples) = 0;
    // Completes the file's contents before its descriptor is closed; throws EngineError
    // for a failure not reported before.
    virtual void finishFile() = 0;
    // Bytes at the start of the file that are rewritten in place while it grows.
    virtual qint64 rewrittenHeadBytes() const { return 0; }

    [[noreturn]] void failWrite(int systemError);
    [[noreturn]] void failWrite(const QString &reason);
    // The file is full: throws FileLimitError ("Cannot write <path>: <reason>").
    [[noreturn]] void reachLimit(const QString &reason);

    int m_fd = -1;                  // read and write; its number stays the same over a move
    int m_reservedFd = -1;          // the caller's file, until openFile takes it
    // The largest size this file may reach: a process file-size limit ("ulimit -f") or a FAT
    // file system's 4 GB; max() for none known.
    qint64 m_sizeLimit = 0;
    QString m_path;
    OutputFormat m_format;
    qint64 m_frames = 0;
    bool m_failed = false;          // a write failed; the failure has been reported
    bool m_full = false;            // the file reached its size limit; reported
    QString m_failure;

private:
    // Takes note of a move that has ended; on the UI thread.
    void collectMove();
    // Throws a move failure that has not been reported yet.
    void reportMoveFailure();

    std::mutex m_lock;              // held while a block is written and while a move switches
    std::unique_ptr<FileSyncer> m_syncer;
    std::unique_ptr<OpenFileMove> m_move;
    QString m_moveFailure;          // not reported yet
};

}  // namespace engine::file
