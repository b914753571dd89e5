#include "BenchSupport.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace Bench {

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double millisecondsOf(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}

std::pair<double, double> sideBySide(int rounds, const std::function<void()> &a, const std::function<void()> &b)
{
    // One untimed run each first, so caches and the loader start equal.
    a();
    b();
    QList<double> timesA, timesB;
    for (int i = 0; i < rounds; ++i) {
        // Alternate which goes first so drift on a shared machine hits both alike.
        if (i % 2) {
            timesA << millisecondsOf(a);
            timesB << millisecondsOf(b);
        } else {
            timesB << millisecondsOf(b);
            timesA << millisecondsOf(a);
        }
    }
    return { median(timesA), median(timesB) };
}

void report(const char *name, double value, const char *unit)
{
    std::printf("BENCH %s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace Bench

#include <QFile>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace Bench {

qint64 spawnAndDrain(const QString &program, const QStringList &arguments)
{
    QList<QByteArray> storage { QFile::encodeName(program) };
    for (const QString &argument : arguments)
        storage << QFile::encodeName(argument);
    QList<char *> argv;
    for (QByteArray &bytes : storage)
        argv << bytes.data();
    argv << nullptr;

    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    qint64 total = 0;
    char buffer[65536];
    for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;)
        total += n;
    close(out[0]);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return total;
}

} // namespace Bench
