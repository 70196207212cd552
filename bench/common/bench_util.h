// Small tools for the benchmarks: our own CPU time (getrusage of self, all threads), the
// CPU time of a peer run as a child (wait4), and how the figures are printed.
#pragma once

#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

extern char **environ;

namespace bench {

inline double seconds(const timeval &tv)
{
    return double(tv.tv_sec) + double(tv.tv_usec) / 1e6;
}

// CPU seconds (user + system) this process has used so far, all threads.
inline double selfCpu()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return seconds(ru.ru_utime) + seconds(ru.ru_stime);
}

// A child process whose CPU time is read from wait4 when it ends.
class Child {
public:
    Child() = default;
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;
    bool start(const QStringList &args, bool quiet = true)
    {
        std::vector<QByteArray> bytes;
        for (const QString &a : args)
            bytes.push_back(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &b : bytes)
            argv.push_back(b.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (quiet) {
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        }
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const int rc = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            m_pid = -1;
        return m_pid > 0;
    }
    // Waits for the end; false when it failed. cpu gets its user + system seconds.
    bool finish(double *cpu = nullptr)
    {
        if (m_pid <= 0)
            return false;
        int status = 0;
        rusage ru{};
        if (wait4(m_pid, &status, 0, &ru) != m_pid)
            return false;
        m_pid = -1;
        if (cpu)
            *cpu = seconds(ru.ru_utime) + seconds(ru.ru_stime);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    void terminate()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            finish();
        }
    }
    ~Child() { terminate(); }

private:
    pid_t m_pid = -1;
};

// Runs a program to its end; returns its user + system CPU seconds (-1 on failure).
inline double runCpu(const QString &program, const QStringList &args)
{
    std::vector<QByteArray> storage;
    storage.push_back(program.toLocal8Bit());
    for (const QString &a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    // The peer's output (version banners, reports) is not ours to print.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage r{};
    if (wait4(pid, &status, 0, &r) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return seconds(r.ru_utime) + seconds(r.ru_stime);
}

// CPU seconds of the calling thread alone: the cost of a call, without the time the
// scheduler gave to other processes meanwhile.
inline double threadCpu()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The least of several runs: the figure least disturbed by other work on the machine.
inline double least(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void ratioLine(const char *what, double ours, double peer, double target)
{
    const double ratio = peer > 0 ? ours / peer : 0;
    std::printf("%-44s ours %9.4f s   ffmpeg %9.4f s   ratio %5.2f  (target <= %.2f) %s\n", what, ours, peer,
                ratio, target, ratio <= target ? "ok" : "MISSED");
}

}  // namespace bench
