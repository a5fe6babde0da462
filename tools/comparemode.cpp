#include "tools/comparemode.h"

#include "model/comparison.h"
#include "model/measurementload.h"

#include <QCoreApplication>
#include <QFile>

namespace
{
const char COMPARE[] = "compare";
// Options that ask for an output of their own.
const char *const OTHER_OUTPUTS[] = {"graph",     "graph-size", "line",    "pdf",
                                     "page-size", "csv",        "verdict", "summary"};

QString Tr(const char *text)
{
    return QCoreApplication::translate("quillon-report", text);
}
} // namespace

QCommandLineOption CompareMode::Option()
{
    return QCommandLineOption(
        QLatin1String(COMPARE),
        QStringLiteral(
            "Instead of reports, compare the deviations of two runs of the same step gauge or laser "
            "measurement, FILE A and FILE B: one row per point with A, B and B - A. Exit status 1 "
            "when the runs cannot be compared."));
}

bool CompareMode::Requested(const QCommandLineParser &parser)
{
    return parser.isSet(QLatin1String(COMPARE));
}

QString CompareMode::Usage_Problem(const QCommandLineParser &parser)
{
    if (!Requested(parser))
        return QString();
    for (const char *option : OTHER_OUTPUTS)
    {
        if (parser.isSet(QLatin1String(option)))
            return Tr("--%1 cannot be used with --compare").arg(QLatin1String(option));
    }
    if (parser.positionalArguments().size() != 2)
        return Tr("--compare takes exactly two measurement files");
    return QString();
}

int CompareMode::Run(const QStringList &files, const TNominalSource *nominals, QFile *out, QFile *err)
{
    const TMeasurementLoad a = MeasurementLoad::Load_File(files.at(0), nominals);
    const TMeasurementLoad b = MeasurementLoad::Load_File(files.at(1), nominals);
    const TComparison comparison = Comparison::Compare(files.at(0), a, files.at(1), b);
    if (!comparison.Comparable())
    {
        err->write(Tr("quillon-report: cannot compare: %1\n").arg(comparison.reason).toUtf8());
        return 1;
    }
    const QStringList lines = Comparison::Table(comparison, files.at(0), files.at(1));
    out->write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!out->flush())
    {
        err->write(
            Tr("quillon-report: cannot write to standard output: %1\n").arg(out->errorString()).toUtf8());
        return 1;
    }
    return 0;
}
