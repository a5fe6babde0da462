#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

class QFile;
class TTolerance;
struct TMeasurementLoad;
struct TPresentation;

// quillon-report's sign-off: --verdict, --ts-limits, --pdf with --page-size, and --csv.
class TSignoffOptions
{
  public:
    TSignoffOptions();

    QList<QCommandLineOption> Options() const;
    // The PDF report draws the graph, which needs a GUI application.
    bool Needs_Widgets(const QCommandLineParser &parser) const { return parser.isSet(d_pdf_option); }
    // Takes the values over, the temperature limits into the tolerance. Empty when they are usable,
    // otherwise the usage error.
    QString Read(const QCommandLineParser &parser, int file_count, TTolerance *tolerance);

    // After the report of one file: the verdict line, the PDF and the CSV file as asked. False when a file
    // could not be written (said on err); *failed becomes true on a FAIL or INCOMPLETE verdict.
    bool Finish_File(const QString &file, const TMeasurementLoad &load, const QStringList &report_lines,
                     const TPresentation &presentation, const TTolerance &tolerance, QFile *out, QFile *err,
                     bool *failed) const;

  private:
    QCommandLineOption d_verdict_option;
    QCommandLineOption d_ts_limits_option;
    QCommandLineOption d_pdf_option;
    QCommandLineOption d_page_size_option;
    QCommandLineOption d_csv_option;

    bool d_verdict = false;
    QString d_pdf_path;
    QPageSize::PageSizeId d_page_size = QPageSize::A4;
    QString d_csv_path;
};
