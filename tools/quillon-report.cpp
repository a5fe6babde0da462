// Prints, for each measurement file, the lines the viewer's report pane shows after loading it.

#include "measurementload.h"
#include "nominalstore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace
{
const char DESCRIPTION[] = "Prints the report of each measurement file, as the Quillon viewer shows it.\n"
                           "With several files each report is preceded by a line \"==> FILE <==\".\n"
                           "\n"
                           "Exit status: 0 when every file loaded, 1 when any printed an ERR line,\n"
                           "2 for a usage error or a missing nominal folder.";

void Write(QFile *out, const QString &text)
{
    out->write(text.toUtf8());
}

// A usage error: one line on standard error, exit status 2.
int Usage_Error(QFile *err, QString message)
{
    if (message.endsWith(QLatin1Char('.')))
    {
        message.chop(1);
    }
    Write(err, QStringLiteral("quillon-report: %1 (see --help)\n").arg(message));
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-report"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(DESCRIPTION));
    const QCommandLineOption help_option = parser.addHelpOption();
    const QCommandLineOption version_option = parser.addVersionOption();
    const QCommandLineOption nominals_option(
        QStringLiteral("nominals"),
        QStringLiteral("Match step gauge measurements to the nominal sets in DIR/Nominal_Data, as the viewer "
                       "does with its settings folder; without it step gauge reports are printed as loaded, "
                       "with no nominal values."),
        QStringLiteral("DIR"));
    parser.addOption(nominals_option);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Measurement files (.dat)."),
                                 QStringLiteral("FILE..."));

    if (!parser.parse(QCoreApplication::arguments()))
    {
        return Usage_Error(&err, parser.errorText());
    }
    if (parser.isSet(help_option))
    {
        Write(&out, parser.helpText());
        return 0;
    }
    if (parser.isSet(version_option))
    {
        Write(&out, QStringLiteral("quillon-report %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
    {
        return Usage_Error(&err, QStringLiteral("no measurement file given"));
    }

    // The tool only reads nominal sets, so a missing folder is an error rather than created.
    TNominalStore nominal_store;
    const TNominalSource *nominals = nullptr;
    if (parser.isSet(nominals_option))
    {
        const QString nominal_folder = parser.value(nominals_option);
        const QString folder = TNominalStore::Nominal_Folder_In(nominal_folder);
        if (nominal_folder.isEmpty() || !QFileInfo(folder).isDir())
        {
            Write(&err, QStringLiteral("quillon-report: no nominal folder '%1'\n").arg(folder));
            return 2;
        }
        nominal_store.Initialize(nominal_folder);
        nominals = &nominal_store;
    }

    bool all_loaded = true;
    for (const QString &file : files)
    {
        if (files.size() > 1)
        {
            Write(&out, QStringLiteral("==> %1 <==\n").arg(file));
        }
        const TMeasurementLoad load = MeasurementLoad::Load_File(file, nominals);
        for (const QString &line : load.report_lines)
        {
            Write(&out, line + QLatin1Char('\n'));
        }
        if (files.size() > 1)
        {
            out.write("\n");
        }
        all_loaded = all_loaded && load.Succeeded();
    }
    out.flush();
    return all_loaded ? 0 : 1;
}
