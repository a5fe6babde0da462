// Prints, for each measurement file, the lines the viewer's report pane shows after loading it.

#include "measurementload.h"
#include "nominalstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace
{
const char USAGE[] = "Usage: quillon-report [--nominals DIR] FILE...\n"
                     "Prints the report of each measurement file, as the Quillon viewer shows it.\n"
                     "With several files each report is preceded by a line \"==> FILE <==\".\n"
                     "--nominals DIR  match step gauge measurements to the nominal sets in\n"
                     "                DIR/Nominal_Data, as the viewer does with its settings\n"
                     "                folder; without it step gauge reports are printed as\n"
                     "                loaded, with no nominal values.\n"
                     "Exit status: 0 when every file loaded, 1 when any printed an ERR line,\n"
                     "2 for a usage error or a missing nominal folder.\n";

void Write(QFile *out, const QString &text)
{
    out->write(text.toUtf8());
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);

    QStringList files;
    QString nominal_folder;
    bool use_nominals = false;
    bool options_ended = false;
    for (int i = 0; i < arguments.size(); ++i)
    {
        const QString &argument = arguments.at(i);
        if (!options_ended && argument == QLatin1String("--nominals"))
        {
            if (i + 1 == arguments.size())
            {
                Write(&err, QStringLiteral("quillon-report: option '--nominals' needs a folder\n"));
                err.write(USAGE);
                return 2;
            }
            nominal_folder = arguments.at(++i);
            use_nominals = true;
        }
        else if (!options_ended && argument == QLatin1String("--"))
        {
            options_ended = true;
        }
        else if (!options_ended && (argument == QLatin1String("--help") || argument == QLatin1String("-h")))
        {
            out.write(USAGE);
            return 0;
        }
        else if (!options_ended && argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-"))
        {
            Write(&err, QStringLiteral("quillon-report: unknown option '%1'\n").arg(argument));
            err.write(USAGE);
            return 2;
        }
        else
        {
            files.append(argument);
        }
    }
    if (files.isEmpty())
    {
        err.write(USAGE);
        return 2;
    }

    // The tool only reads nominal sets, so a missing folder is an error rather than created.
    TNominalStore nominal_store;
    const TNominalSource *nominals = nullptr;
    if (use_nominals)
    {
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
