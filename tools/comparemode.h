#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

class QFile;
class TNominalSource;

// quillon-report --compare A B: the deviations of two runs side by side, with the change between them.
namespace CompareMode
{
QCommandLineOption Option();
bool Requested(const QCommandLineParser &parser);
// With --compare, the usage error of the files or of another output option; empty when there is none.
QString Usage_Problem(const QCommandLineParser &parser);
// Prints the table, or the reason the runs cannot be compared on err; the exit status.
int Run(const QStringList &files, const TNominalSource *nominals, QFile *out, QFile *err);
} // namespace CompareMode
