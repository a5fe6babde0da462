#include "tools/summarymode.h"

#include "model/runsummary.h"

#include <QFile>

namespace
{
const char SUMMARY[] = "summary";
// Options that write something other than the summary.
const char *const OTHER_OUTPUTS[] = {"graph", "graph-size", "line", "pdf", "page-size", "csv"};
} // namespace

QCommandLineOption SummaryMode::Option()
{
    return QCommandLineOption(
        QLatin1String(SUMMARY),
        QStringLiteral("Instead of reports, print one CSV row per file: modification time, kind, identity, "
                       "verdict, percent of the tolerance and path. A folder is searched recursively for "
                       ".dat files. Exit status 1 when any file did not load; with --verdict 3 when any "
                       "verdict is FAIL or INCOMPLETE and every file loaded."));
}

bool SummaryMode::Requested(const QCommandLineParser &parser)
{
    return parser.isSet(QLatin1String(SUMMARY));
}

QString SummaryMode::Usage_Problem(const QCommandLineParser &parser)
{
    if (!Requested(parser))
        return QString();
    for (const char *option : OTHER_OUTPUTS)
    {
        if (parser.isSet(QLatin1String(option)))
            return QStringLiteral("--%1 cannot be used with --summary").arg(QLatin1String(option));
    }
    return QString();
}

int SummaryMode::Run(const QStringList &paths, const TNominalSource *nominals, const TTolerance &tolerance,
                     bool verdict, QFile *out)
{
    QStringList files;
    for (const QString &path : paths)
        files += RunSummary::Find_Files(path);
    files.removeDuplicates();

    TRunSummaryCache cache;
    const std::vector<TRunSummary> rows = cache.Scan(files, nominals, tolerance);
    QString text = RunSummary::Csv_Header();
    bool any_error = false;
    bool any_not_passed = false;
    for (const TRunSummary &row : rows)
    {
        text += RunSummary::Csv_Row(row);
        any_error = any_error || row.Failed_To_Load();
        any_not_passed = any_not_passed || row.Not_Passed();
    }
    out->write(text.toUtf8());
    out->flush();
    if (any_error)
        return 1;
    return verdict && any_not_passed ? 3 : 0;
}
