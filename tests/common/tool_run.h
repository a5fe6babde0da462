#pragma once

// The report tool, or another program, run as a user runs it: in the C locale, in a time zone far from
// UTC (so that a time written in local time shows) and without a display.

#include <QProcess>
#include <QStringList>

struct TRun
{
    int exit_code = -1;
    QByteArray out, err;
};

// stdout_file: where standard output goes instead of to the test.
inline TRun Run(const QStringList &arguments, const QString &program = QStringLiteral(QUILLON_REPORT_PATH),
                const QString &stdout_file = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Kolkata"));
    for (const char *display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(display));
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!stdout_file.isEmpty())
        process.setStandardOutputFile(stdout_file);
    process.start(program, arguments);
    TRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    return run;
}
