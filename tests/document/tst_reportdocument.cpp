// The report document as a reader of the PDF sees it: header, every line, page numbers, and long or wide
// reports drawn whole.

#include "graphtable.h"
#include "graphwidget.h"
#include "reportdocument.h"
#include "tolerance.h"

#include <QtTest>

#include <limits>

namespace
{
// The first of the lines, blanks simplified, not found in text in order; empty when all are there.
QString First_Missing(const QStringList &lines, const QString &text)
{
    const QStringList extracted = text.split(QLatin1Char('\n'));
    int at = 0;
    for (const QString &line : lines)
    {
        while (!line.simplified().isEmpty() && at < extracted.size() &&
               !extracted.at(at).simplified().contains(line.simplified()))
            ++at;
        if (at == extracted.size())
            return line;
    }
    return QString();
}
} // namespace

class TTestReportDocument : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // The header's verdict of a loaded laser measurement: judged when every line was read, otherwise
    // incomplete whatever the values say.
    void Header_Verdict_data()
    {
        QTest::addColumn<int>("unreadable");
        QTest::addColumn<double>("deviation");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<int>("mark");
        QTest::newRow("pass") << 0 << 0.001 << "Verdict: PASS" << int(TVerdict::VERDICT_PASS);
        QTest::newRow("fail") << 0 << 0.1 << "Verdict: FAIL" << int(TVerdict::VERDICT_FAIL);
        QTest::newRow("pass, one line unread")
            << 1 << 0.001 << "Verdict: INCOMPLETE  1 data line could not be read"
            << int(TVerdict::VERDICT_INCOMPLETE);
        QTest::newRow("fail, lines unread")
            << 3 << 0.1 << "Verdict: INCOMPLETE  3 data lines could not be read"
            << int(TVerdict::VERDICT_INCOMPLETE);
    }

    void Header_Verdict()
    {
        QFETCH(int, unreadable);
        QFETCH(double, deviation);
        QFETCH(QString, verdict);
        QFETCH(int, mark);
        TReportSource source;
        source.contents = TMeasureData::CONTENTS_LASER_10360;
        source.loaded = true;
        source.curves = {{{100.0, deviation}}};
        source.unreadable_lines = unreadable;
        const TReportDocument document = ReportDocument::Measurement_Document(source, TTolerance::Default());
        QVERIFY2(document.verdict.startsWith(verdict), qPrintable(document.verdict));
        QCOMPARE(int(document.verdict_mark), mark);
    }

    // Points with a coordinate that is not finite never reach a table.
    void Table_Rows()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const QString rows =
            GraphTable::Rows(TMeasureData::CONTENTS_LASER_10360,
                             {{{1, 0.5}, {inf, 1}, {2, nan}}, {{-inf, 0}, {3, 0.25}}}, QLatin1Char(','));
        QCOMPARE(rows, QStringLiteral("Curve,Length,Deviation\n1,1,0.5\n2,3,0.25\n"));
    }

    // 10000 lines with a graph; then one line that shrinks the font and one too long for any legible size,
    // which is wrapped.
    void Lines_And_Pages()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList long_report;
        for (int i = 0; i < 10000; ++i)
            long_report.append(QStringLiteral("%1  %2").arg(i, 5).arg(i * 0.0001, 12, 'f', 4));
        QString huge;
        for (int i = 0; i < 1500; ++i)
            huge += QStringLiteral("%1.").arg(i, 4, 10, QLatin1Char('0'));
        TGraphWidget widget;
        widget.d_graph_title = QStringLiteral("Deviation Graph Title");
        widget.AddPoints(widget.CreateDataSet(QColor(64, 0, 0), TGraphWidget::GRAPH_CROSS),
                         {{0, 0.001}, {400, -0.02}});
        TReportDocument document;
        document.file_name = QStringLiteral("bench_x.dat");
        document.title = QStringLiteral("ASME B89.4.10360 Stepgauge Measurement");
        document.modified = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
        document.equipment = QStringLiteral("SG-4711");
        document.tolerance = QStringLiteral("E MPL = 0.0120+0.0060L/1000 | 0.0150");
        document.verdict = QStringLiteral("Verdict: FAIL  worst deviation -0.0223 mm at 400.0000 mm");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        for (const bool graph : {true, false})
        {
            document.report_lines =
                graph ? long_report : QStringList{QStringLiteral("wide-%1-end").arg(QString(300, 'w')), huge};
            document.graph = graph ? &widget : nullptr;
            QString error;
            QElapsedTimer timer;
            timer.start();
            QVERIFY2(ReportDocument::Write_Pdf(document, path, QPageSize::A4, &error), qPrintable(error));
            QVERIFY(timer.elapsed() < 15000);

            QProcess process;
            process.start(QStringLiteral("pdftotext"),
                          {QStringLiteral("-layout"), path, QStringLiteral("-")});
            QVERIFY(process.waitForFinished(60000));
            const QString text = QString::fromUtf8(process.readAllStandardOutput());
            QCOMPARE(text.contains(widget.d_graph_title), graph);
            const QString joined = QString(text).remove(QRegularExpression(QStringLiteral("\\s")));
            // The header in order, then every line; one too long for a line is shrunk or wrapped, but whole.
            QStringList lines{document.title,     document.file_name, QStringLiteral("2026-03-14 09:26:53"),
                              document.equipment, document.tolerance, document.verdict};
            for (const QString &line : document.report_lines)
            {
                if (line.size() < 200)
                    lines.append(line);
                else
                    QVERIFY(joined.contains(line));
            }
            QCOMPARE(First_Missing(lines, text), QString());

            const int pages = text.count(QLatin1Char('\f'));
            QVERIFY(pages >= (graph ? 100 : 1));
            QStringList footers;
            for (int page = 1; page <= pages; ++page)
                footers.append(QStringLiteral("Page %1 of %2").arg(page).arg(pages));
            QCOMPARE(First_Missing(footers, text), QString());
        }
    }
};

QTEST_MAIN(TTestReportDocument)
#include "tst_reportdocument.moc"
