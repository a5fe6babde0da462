#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the viewer: quillon [--help] [--version] [FOLDER | FILE.dat]
struct TCommandLine
{
    enum TAction
    {
        ACTION_RUN,
        ACTION_HELP,
        ACTION_VERSION,
        ACTION_USAGE_ERROR
    };

    TAction action = ACTION_RUN;
    // The folder or file to open, absolute; empty when none was given or it does not exist.
    QString path;
    // For standard error: the usage error, or why the given path is not opened.
    QString message;

    // The arguments after the program name.
    static TCommandLine Parse(const QStringList &arguments);
    static QString Usage();
    static QString Version();
};
