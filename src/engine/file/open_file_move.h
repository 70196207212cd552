// Moves a file that is still being written: copies what is written so far into a new file
// on a thread of its own while the writer goes on, and once the copy has caught up puts
// the new file in place of the old one under the writer's own descriptor number, so that
// the writer carries on in the new file without noticing. Used when the folder of a
// recording goes away and the file cannot simply be given a new name (it has none left, or
// the new one is on another file system). An old file without a name gives back the space
// of what is copied as the copy goes.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

namespace engine::file {

class OpenFileMove {
public:
    // writerFd: the writer's descriptor (open for reading and writing); newFd: the new
    // file, just created and empty (taken over); writerLock: held by the writer while it
    // writes, so the switch falls between two blocks; headBytes: bytes at the start that
    // the writer rewrites in place (copied again at the switch). Throws EngineError when
    // the copy cannot start.
    OpenFileMove(int writerFd, int newFd, const QString &newPath, std::mutex &writerLock,
                 qint64 headBytes);
    ~OpenFileMove();   // waits for the copy

    const QString &newPath() const { return m_newPath; }
    bool finished() const { return m_finished.load(); }
    void wait();
    // After finished(): empty when the writer now writes into the new file, otherwise
    // why not ("Cannot move the recording to /x/y.wav: No space left on device"); the new
    // file is then removed again.
    QString failure() const { return m_failure; }

private:
    void run();
    int copyRange(qint64 from, qint64 to);
    void giveBackCopied(qint64 copied);

    int m_writerFd;
    int m_source = -1;
    int m_target;
    QString m_newPath;
    QByteArray m_nativePath;
    std::mutex &m_writerLock;
    qint64 m_headBytes;
    qint64 m_punchedUpTo = 0;
    QString m_failure;
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace engine::file
