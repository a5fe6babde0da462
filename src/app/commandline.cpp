#include "app/commandline.h"

#include "quillon_version.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

QString TCommandLine::Usage()
{
    return QCoreApplication::translate(
        "TCommandLine", "Usage: quillon [FOLDER | FILE.dat]\n"
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
    // Only parsing is asked of the parser: help and version texts are our own, and it works before
    // the application object exists.
    QCommandLineParser parser;
    const QCommandLineOption help_option(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version_option(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help_option);
    parser.addOption(version_option);
    const bool parsed = parser.parse(QStringList(QStringLiteral("quillon")) + arguments);

    TCommandLine result;
    // Help and version answer even next to arguments they do not need.
    if (parser.isSet(help_option))
    {
        result.action = ACTION_HELP;
        return result;
    }
    if (parser.isSet(version_option))
    {
        result.action = ACTION_VERSION;
        return result;
    }
    if (!parsed)
    {
        const QStringList unknown = parser.unknownOptionNames();
        const QString name = unknown.isEmpty()             ? QString()
                             : unknown.first().size() == 1 ? QLatin1Char('-') + unknown.first()
                                                           : QStringLiteral("--") + unknown.first();
        result.action = ACTION_USAGE_ERROR;
        result.message =
            QCoreApplication::translate("TCommandLine", "quillon: unknown option '%1'\n").arg(name);
        return result;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1)
    {
        result.action = ACTION_USAGE_ERROR;
        result.message =
            QCoreApplication::translate("TCommandLine", "quillon: only one folder or file can be opened\n");
        return result;
    }
    if (paths.isEmpty())
        return result;

    const QFileInfo info(paths.first());
    if (!info.exists())
        result.message =
            QCoreApplication::translate("TCommandLine", "quillon: '%1' does not exist; starting without it\n")
                .arg(paths.first());
    else if (!info.isDir() && !info.fileName().endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        result.message =
            QCoreApplication::translate(
                "TCommandLine", "quillon: '%1' is neither a folder nor a .dat file; starting without it\n")
                .arg(paths.first());
    else
        result.path = info.absoluteFilePath();
    return result;
}
