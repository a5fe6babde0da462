#include "tools/comparemode.h"

#include "model/comparison.h"
#include "model/measurementload.h"
#include "tools/outputmode.h"

#include <QCoreApplication>
#include <QFile>

namespace
{
const char COMPARE[] = "compare";

// Gives the messages of this file a translation context that lupdate can see.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(QuillonReport)
};
} // namespace

QCommandLineOption CompareMode::Option()
{
    return QCommandLineOption(
        QLatin1String(COMPARE),
        Text::tr("Instead of reports, compare the deviations of two runs of the same step gauge or laser "
                 "measurement, FILE A and FILE B: one row per point with A, B and B - A. Exit status 1 "
                 "when the runs cannot be compared."));
}

bool CompareMode::Requested(const QCommandLineParser &parser)
{
    return parser.isSet(QLatin1String(COMPARE));
}

QString CompareMode::Usage_Problem(const QCommandLineParser &parser)
{
    const QString conflict = OutputMode::Conflict(
        parser, COMPARE, {"graph", "graph-size", "line", "pdf", "page-size", "csv", "verdict", "summary"});
    if (!conflict.isEmpty() || !Requested(parser))
        return conflict;
    if (parser.positionalArguments().size() != 2)
        return Text::tr("--compare takes exactly two measurement files");
    return QString();
}

int CompareMode::Run(const QStringList &files, const TNominalSource *nominals, QFile *out, QFile *err)
{
    const TMeasurementLoad a = MeasurementLoad::Load_File(files.at(0), nominals);
    const TMeasurementLoad b = MeasurementLoad::Load_File(files.at(1), nominals);
    const TComparison comparison = Comparison::Compare(files.at(0), a, files.at(1), b);
    if (!comparison.Comparable())
    {
        err->write(Text::tr("quillon-report: cannot compare: %1\n").arg(comparison.reason).toUtf8());
        return 1;
    }
    const QStringList lines = Comparison::Table(comparison, files.at(0), files.at(1));
    out->write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!out->flush())
    {
        err->write(Text::tr("quillon-report: cannot write to standard output: %1\n")
                       .arg(out->errorString())
                       .toUtf8());
        return 1;
    }
    return 0;
}
