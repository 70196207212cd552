// Small tools for the benchmarks: child processes with their own CPU time, our own CPU.
#pragma once

#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

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

}  // namespace bench
