#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

class QFile;
class TNominalSource;
class TTolerance;

// quillon-report --summary: one CSV row per measurement file found under the given paths.
namespace SummaryMode
{
QCommandLineOption Option();
bool Requested(const QCommandLineParser &parser);
// With --summary, the usage error of an option that writes another output; empty when there is none.
QString Usage_Problem(const QCommandLineParser &parser);
// Prints the summary; the exit status.
int Run(const QStringList &paths, const TNominalSource *nominals, const TTolerance &tolerance, bool verdict,
        QFile *out);
} // namespace SummaryMode
