#include "tools/signoffoptions.h"

#include "base/checkedfile.h"
#include "document/reportdocument.h"
#include "model/graphtable.h"
#include "model/measurementload.h"
#include "model/presentation.h"
#include "model/tolerance.h"
#include "model/verdict.h"
#include "widgets/graphwidget.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cmath>

namespace
{
void Write(QFile *file, const QString &text)
{
    file->write(text.toUtf8());
}

// "-" is standard output.
bool Write_Csv(const QString &path, const QString &rows, const QString &input, QString *error)
{
    QString reason;
    if (path == QLatin1String("-"))
    {
        QFile out;
        const QByteArray data = rows.toUtf8();
        if (out.open(stdout, QIODevice::WriteOnly) && out.write(data) == data.size() && out.flush())
            return true;
        *error = QCoreApplication::translate("QuillonReport", "cannot write to standard output: %1")
                     .arg(out.errorString());
        return false;
    }
    if (CheckedFile::Write(path, rows.toUtf8(), &reason, {input}))
        return true;
    *error = CheckedFile::Failure_Text(path, reason);
    return false;
}
} // namespace

TSignoffOptions::TSignoffOptions()
    : d_verdict_option(
          QStringLiteral("verdict"),
          QCoreApplication::translate("QuillonReport",
                                      "Print the verdict of each file after its report; the exit status is 3 "
                                      "when any verdict is FAIL or INCOMPLETE and every file loaded.")),
      d_ts_limits_option(
          QStringLiteral("ts-limits"),
          QCoreApplication::translate("QuillonReport",
                                      "Temperature limits in degrees Celsius for the verdict of temperature "
                                      "logs (default 18,22)."),
          QStringLiteral("MIN,MAX")),
      d_pdf_option(QStringLiteral("pdf"),
                   QCoreApplication::translate(
                       "QuillonReport", "Write the report of the one FILE as a PDF document to OUT: header, "
                                        "verdict, report text, graph and page numbers."),
                   QStringLiteral("OUT")),
      d_page_size_option(
          QStringLiteral("page-size"),
          QCoreApplication::translate("QuillonReport", "Paper of the PDF: A4 (default) or Letter."),
          QStringLiteral("SIZE")),
      d_csv_option(QStringLiteral("csv"),
                   QCoreApplication::translate(
                       "QuillonReport",
                       "Write the graph points of the one FILE to OUT as comma-separated rows: "
                       "curve number, x, y, after a header row naming the axes."),
                   QStringLiteral("OUT"))
{
}

QList<QCommandLineOption> TSignoffOptions::Options() const
{
    return {d_verdict_option, d_ts_limits_option, d_pdf_option, d_page_size_option, d_csv_option};
}

QString TSignoffOptions::Read(const QCommandLineParser &parser, int file_count, TTolerance *tolerance)
{
    d_verdict = parser.isSet(d_verdict_option);
    if (parser.isSet(d_ts_limits_option))
    {
        const QStringList limits = parser.value(d_ts_limits_option).split(QLatin1Char(','));
        bool min_ok = false;
        bool max_ok = false;
        const double minimum = limits.value(0).trimmed().toDouble(&min_ok);
        const double maximum = limits.value(1).trimmed().toDouble(&max_ok);
        if (limits.size() != 2 || !min_ok || !max_ok)
            return QCoreApplication::translate("QuillonReport", "temperature limits '%1' are not MIN,MAX")
                .arg(parser.value(d_ts_limits_option));
        if (!TTolerance::Temperature_Limits_Valid(minimum, maximum))
            return QStringLiteral("--ts-limits '%1': %2")
                .arg(parser.value(d_ts_limits_option), TTolerance::Temperature_Limits_Rule_Text());
        tolerance->d_lower_temperature_limit = minimum;
        tolerance->d_upper_temperature_limit = maximum;
    }
    d_pdf_path = parser.value(d_pdf_option);
    d_csv_path = parser.value(d_csv_option);
    if ((parser.isSet(d_pdf_option) || parser.isSet(d_csv_option)) && file_count != 1)
        return QCoreApplication::translate(
            "QuillonReport", "--pdf and --csv write the report of exactly one measurement file");
    if ((parser.isSet(d_pdf_option) && d_pdf_path.isEmpty()) ||
        (parser.isSet(d_csv_option) && d_csv_path.isEmpty()))
        return QCoreApplication::translate("QuillonReport", "--pdf and --csv need a file name");
    if (parser.isSet(d_page_size_option))
    {
        const QString size = parser.value(d_page_size_option);
        if (!parser.isSet(d_pdf_option))
            return QCoreApplication::translate("QuillonReport", "--page-size needs --pdf");
        if (size.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0)
            d_page_size = QPageSize::Letter;
        else if (size.compare(QLatin1String("A4"), Qt::CaseInsensitive) != 0)
            return QCoreApplication::translate("QuillonReport", "page size '%1' is neither A4 nor Letter")
                .arg(size);
    }
    return QString();
}

bool TSignoffOptions::Finish_File(const QString &file, const TMeasurementLoad &load,
                                  const QStringList &report_lines, const TPresentation &presentation,
                                  const TTolerance &tolerance, QFile *out, QFile *err, bool *failed) const
{
    const TReportSource source = TReportSource::From_Load(file, load, load.record.get(), report_lines);
    if (d_verdict && load.Succeeded())
    {
        const TVerdict verdict = Verdict::Evaluate(load.contents, load.graph_data, tolerance,
                                                   load.record ? load.record->unreadable_lines : 0);
        if (verdict.verdict != TVerdict::VERDICT_NONE)
            Write(out, verdict.line + QLatin1Char('\n'));
        *failed = *failed || verdict.verdict == TVerdict::VERDICT_FAIL ||
                  verdict.verdict == TVerdict::VERDICT_INCOMPLETE;
    }
    if (d_pdf_path.isEmpty() && d_csv_path.isEmpty())
        return true;
    if (!load.Succeeded())
    {
        Write(err, QCoreApplication::translate("QuillonReport",
                                               "quillon-report: nothing written: '%1' did not load\n")
                       .arg(file));
        return true;
    }
    if (!d_csv_path.isEmpty() && !presentation.setup.shown)
    {
        Write(err, QCoreApplication::translate(
                       "QuillonReport", "quillon-report: nothing written: measurements of the kind in '%1' "
                                        "have no graph, so there are no CSV rows\n")
                       .arg(file));
        return false;
    }

    QString error;
    bool written = true;
    if (!d_pdf_path.isEmpty())
    {
        TGraphWidget graph;
        TReportDocument document = ReportDocument::Measurement_Document(source, tolerance);
        if (presentation.setup.shown)
        {
            graph.Show(presentation.setup, presentation.data_sets, presentation.legend);
            document.graph = &graph;
        }
        written = ReportDocument::Write_Pdf(document, d_pdf_path, d_page_size, &error, {file});
    }
    if (written && !d_csv_path.isEmpty())
        written = Write_Csv(d_csv_path, GraphTable::Rows(load.contents, load.graph_data, QLatin1Char(',')),
                            file, &error);
    if (!written)
        Write(err, QStringLiteral("quillon-report: %1\n").arg(error));
    return written;
}
