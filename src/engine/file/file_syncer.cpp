#include "engine/file/file_syncer.h"

#include <cerrno>
#include <chrono>

#include <unistd.h>

namespace engine::file {

namespace {

constexpr std::chrono::milliseconds kSyncInterval(1000);

}  // namespace

FileSyncer::FileSyncer(int fd) : m_fd(fd), m_thread(&FileSyncer::run, this) {}

FileSyncer::~FileSyncer()
{
    stop();
}

void FileSyncer::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void FileSyncer::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_wake.wait_for(lock, kSyncInterval, [this] { return m_stop; }))
            return;
        if (!m_dirty.exchange(false))
            continue;
        lock.unlock();
        int r;
        do {
            r = ::fdatasync(m_fd);
        } while (r != 0 && errno == EINTR);
        // A file that cannot be synced at all (EINVAL, EROFS: a device or a special file
        // system) is not a failure of the recording; lost data is.
        if (r != 0 && errno != EINVAL && errno != EROFS) {
            int none = 0;
            m_error.compare_exchange_strong(none, errno);
        }
        lock.lock();
    }
}

}  // namespace engine::file
