#pragma once

// Helpers every test area shares: files of the source tree and scratch files, and actions run in a
// child process that may stop the program on a failed assertion.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

inline QString Source_Path(const QString &relative_path)
{
    return QStringLiteral(QUILLON_SOURCE_DIR "/") + relative_path;
}

// The file's bytes; "<unreadable>" when it cannot be read, so that a comparison shows it.
inline QByteArray Read_File(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Makes the file's folder if need be.
inline bool Write_File(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(data) == data.size();
}

// A time given as ISO text ("2026-05-01T12:00:00"), read as UTC.
inline QDateTime Utc(const char *iso)
{
    QDateTime time = QDateTime::fromString(QLatin1String(iso), Qt::ISODate);
    time.setTimeSpec(Qt::UTC);
    return time;
}

// Also sets its modification time, for tests that order runs by it.
inline bool Write_File(const QString &path, const QByteArray &data, const QDateTime &modified)
{
    QFile file(path);
    return Write_File(path, data) && file.open(QIODevice::ReadWrite) &&
           file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// An action run for its precondition check, and whether that check must stop the program.
struct TChildRun
{
    void (*action)();
    bool stops;
};

// Runs the action in a forked child: "assertion" when it stopped on a failed assertion, "end" when it
// ran to its end, else what happened instead.
inline QByteArray Child_Outcome(void (*action)())
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0)
        return "no child";
    if (pid == 0)
    {
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        const rlimit no_core = {0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        // The test library's crash handler would dump a stack trace (slowly) for an expected abort.
        std::signal(SIGABRT, SIG_DFL);
        action();
        _exit(0);
    }
    close(fds[1]);
    QByteArray output;
    char buffer[512];
    ssize_t count;
    while ((count = read(fds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<int>(count));
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return "lost the child";
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT && output.startsWith("ASSERT: \""))
        return "assertion";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QByteArray("end") : "stopped: " + output;
}

inline QByteArray Expected_Outcome(const TChildRun &run)
{
    return run.stops ? "assertion" : "end";
}
