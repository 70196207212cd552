// CPU-time measurement for the file benchmarks: our own work is the process's own CPU
// time (getrusage of self), the peer's is that of the child it ran in (wait4).
#pragma once

#include <QString>
#include <QStringList>

#include <fcntl.h>
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

inline double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// User + system CPU seconds of this process so far.
inline double selfCpu()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return seconds(r.ru_utime) + seconds(r.ru_stime);
}

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
