#include "tools/summarymode.h"

#include "model/runsummary.h"
#include "tools/outputmode.h"

#include <QCoreApplication>
#include <QFile>

namespace
{
const char SUMMARY[] = "summary";
} // namespace

QCommandLineOption SummaryMode::Option()
{
    return QCommandLineOption(
        QLatin1String(SUMMARY),
        QCoreApplication::translate(
            "QuillonReport",
            "Instead of reports, print one CSV row per file: modification time, kind, identity, "
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
    return OutputMode::Conflict(parser, SUMMARY, {"graph", "graph-size", "line", "pdf", "page-size", "csv"});
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
