#pragma once

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs an action that may stop the program (a failed assertion) in a forked child, so the test can
// check how it stopped and what it wrote to stderr.
struct TChildResult
{
    bool started = false;
    bool aborted = false;
    QByteArray error_output;
};

inline TChildResult Run_In_Child(void (*action)())
{
    TChildResult result;
    int fds[2];
    if (pipe(fds) != 0)
    {
        return result;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0)
    {
        close(fds[0]);
        close(fds[1]);
        return result;
    }
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
    char buffer[512];
    ssize_t count;
    while ((count = read(fds[0], buffer, sizeof buffer)) > 0)
    {
        result.error_output.append(buffer, static_cast<int>(count));
    }
    close(fds[0]);
    int status = 0;
    result.started = waitpid(pid, &status, 0) == pid;
    result.aborted = WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
    return result;
}
