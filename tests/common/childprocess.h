#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using TChildAction = void (*)();
Q_DECLARE_METATYPE(TChildAction)

// Runs an action that should stop the program on a failed assertion in a forked child. Returns an empty
// text when it stopped with exactly that condition (or, for an empty condition, ran to its end), else what
// happened instead, so that QCOMPARE(Assertion_Fault(...), QByteArray()) shows it.
inline QByteArray Assertion_Fault(TChildAction action, const QByteArray &condition)
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
    const bool aborted = WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
    if (condition.isEmpty())
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QByteArray() : "stopped: " + output;
    if (!aborted || !output.contains("ASSERT: \"" + condition + "\""))
        return "did not stop on the assertion: " + output;
    return QByteArray();
}

// Data-driven assertion tests: Assertion_Columns() and Assertion_Row() in the _data function,
// QCOMPARE_ASSERTION_ROW() in the test.
inline void Assertion_Columns()
{
    QTest::addColumn<TChildAction>("action");
    QTest::addColumn<QByteArray>("condition"); // empty: must run to its end
}

inline void Assertion_Row(const char *tag, const char *condition, TChildAction action)
{
    QTest::newRow(tag) << action << QByteArray(condition);
}

#define QCOMPARE_ASSERTION_ROW()                                                                             \
    do                                                                                                       \
    {                                                                                                        \
        QFETCH(TChildAction, action);                                                                        \
        QFETCH(QByteArray, condition);                                                                       \
        QCOMPARE(Assertion_Fault(action, condition), QByteArray());                                          \
    } while (false)
