#include "commandline.h"

#include "quillon_version.h"

#include <QFileInfo>

QString TCommandLine::Usage()
{
    return QStringLiteral("Usage: quillon [FOLDER | FILE.dat]\n"
                          "Shows the measurement files of FOLDER, or of the folder of FILE.dat with that\n"
                          "file selected. Without an argument the measurement folder of the last session\n"
                          "is listed. A folder or file given here is not stored as the measurement folder.\n"
                          "  --help     print this text and exit\n"
                          "  --version  print the version and exit\n"
                          "  --         end of options (for a name beginning with '-')\n");
}

QString TCommandLine::Version()
{
    return QStringLiteral("Quillon - Version " QUILLON_VERSION "\n");
}

TCommandLine TCommandLine::Parse(const QStringList &arguments)
{
    TCommandLine result;
    QStringList paths;
    QString unknown;
    bool options_ended = false;
    for (const QString &argument : arguments)
    {
        if (options_ended || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            paths.append(argument);
        else if (argument == QLatin1String("--"))
            options_ended = true;
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            result.action = ACTION_HELP;
        else if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
        {
            if (result.action != ACTION_HELP)
                result.action = ACTION_VERSION;
        }
        else if (unknown.isEmpty())
            unknown = argument;
    }
    // Help and version answer even next to arguments they do not need.
    if (result.action != ACTION_RUN)
        return result;

    if (!unknown.isEmpty())
    {
        result.action = ACTION_USAGE_ERROR;
        result.message = QStringLiteral("quillon: unknown option '") + unknown + QStringLiteral("'\n");
        return result;
    }
    if (paths.size() > 1)
    {
        result.action = ACTION_USAGE_ERROR;
        result.message = QStringLiteral("quillon: only one folder or file can be opened\n");
        return result;
    }
    if (paths.isEmpty())
        return result;

    const QFileInfo info(paths.first());
    if (!info.exists())
        result.message = QStringLiteral("quillon: '") + paths.first() +
                         QStringLiteral("' does not exist; starting without it\n");
    else if (!info.isDir() && !info.fileName().endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        result.message = QStringLiteral("quillon: '") + paths.first() +
                         QStringLiteral("' is neither a folder nor a .dat file; starting without it\n");
    else
        result.path = info.absoluteFilePath();
    return result;
}
