// Hands what a writer wrote to the disk itself (fdatasync) about once a second, on a thread
// of its own, so that a machine that loses power keeps the recording up to about a second
// before the end. The UI thread that writes the blocks never waits for the disk.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace engine::file {

class FileSyncer {
public:
    explicit FileSyncer(int fd);   // starts syncing fd; fd must stay open until stop()
    ~FileSyncer();

    // New data was written since the last sync. Cheap; never blocks.
    void noteWritten() { m_dirty.store(true, std::memory_order_relaxed); }
    // Ends the thread (a sync in progress is finished first). Idempotent.
    void stop();
    // errno of the first failed sync (EIO, ENOSPC, ...), 0 while all went well.
    int error() const { return m_error.load(); }

private:
    void run();

    int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::atomic<bool> m_dirty{false};
    std::atomic<int> m_error{0};
    std::thread m_thread;
};

}  // namespace engine::file
