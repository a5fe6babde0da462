// The report document as a reader of the PDF sees it: header, every line, page numbers, and long or wide
// reports drawn whole.

#include "document/reportdocument.h"
#include "model/graphtable.h"
#include "model/kindtable.h"
#include "model/tolerance.h"
#include "widgets/graphwidget.h"

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
    // The header of each kind: the report's title, the equipment, the tolerance and the verdict of the
    // kinds judged against one. A load that did not complete has neither title nor verdict; one with lines
    // unread is incomplete whatever its values say.
    void Header_data()
    {
        using M = TMeasureData;
        QTest::addColumn<int>("contents");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("unreadable");
        QTest::addColumn<QString>("tolerance");
        QTest::addColumn<int>("mark");
        const QString mpl = QStringLiteral("E MPL = ") + TTolerance::Default().Display_Text();
        const QString limits = QStringLiteral("Ts_Min 18.00 \u00b0C, Ts_Max 22.00 \u00b0C");
        const int none = TVerdict::VERDICT_NONE, pass = TVerdict::VERDICT_PASS, fail = TVerdict::VERDICT_FAIL;
        // The points: deviations of 1 and 2 um at 100 and 200 mm, far below the temperature limits; as the
        // ballbar's lengths they are 100 mm apart. What each kind, from the first, is judged by: d deviations
        // (passes), r the range of lengths (fails), t the temperature limits (fails), - nothing.
        const QString tolerances[] = {mpl, mpl, limits, QString()};
        const int marks[] = {pass, fail, fail, none};
        for (int kind = M::CONTENTS_STEPGAUGE_10360; kind <= M::CONTENTS_VALIDATION_LINE; ++kind)
        {
            const int rule = QByteArray("drt-").indexOf("ddd----r---tdd----"[kind - 1]);
            QTest::newRow(KindTable::Find(M::TFileContents(kind))->key)
                << kind << true << 0 << tolerances[rule] << marks[rule];
        }
        const int incomplete = TVerdict::VERDICT_INCOMPLETE;
        QTest::newRow("laser 10360, lines unread")
            << int(M::CONTENTS_LASER_10360) << true << 3 << mpl << incomplete;
        QTest::newRow("laser 10360, not loaded") << int(M::CONTENTS_LASER_10360) << false << 0 << mpl << none;
        QTest::newRow("unknown, not loaded") << int(M::CONTENTS_UNKNOWN) << false << 0 << QString() << none;
    }

    void Header()
    {
        QFETCH(int, contents);
        QFETCH(bool, loaded);
        QFETCH(int, unreadable);
        QFETCH(QString, tolerance);
        QFETCH(int, mark);
        TReportSource source;
        source.path = QStringLiteral("/no/such/folder/x.dat");
        source.contents = TMeasureData::TFileContents(contents);
        source.loaded = loaded;
        source.unreadable_lines = unreadable;
        source.equipment = QStringLiteral("SG-4711");
        source.report_lines = QStringList{QStringLiteral("Kind Title"), QStringLiteral("line")};
        source.curves = {{{100.0, 0.001}, {200.0, -0.002}}};
        const TReportDocument document = ReportDocument::Measurement_Document(source, TTolerance::Default());
        QCOMPARE(document.file_name, QStringLiteral("x.dat"));
        QVERIFY(!document.modified.isValid());
        QCOMPARE(document.title, loaded ? QStringLiteral("Kind Title") : QString());
        QCOMPARE(document.equipment, source.equipment);
        QCOMPARE(document.tolerance, tolerance);
        QCOMPARE(int(document.verdict_mark), mark);
        static const char *const words[] = {"", "Verdict: PASS  ", "Verdict: FAIL  ",
                                            "Verdict: INCOMPLETE  "};
        QVERIFY2(mark == TVerdict::VERDICT_NONE ? document.verdict.isEmpty()
                                                : document.verdict.startsWith(QLatin1String(words[mark])),
                 qPrintable(document.verdict));
        QCOMPARE(document.report_lines, source.report_lines);
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
        widget.Set_Titles(QStringLiteral("Deviation Graph Title"), QString(), QString());
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
            QVERIFY2(ReportDocument::Write_Pdf(document, path, QPageSize::A4, &error), qPrintable(error));

            QProcess process;
            process.start(QStringLiteral("pdftotext"),
                          {QStringLiteral("-layout"), path, QStringLiteral("-")});
            QVERIFY(process.waitForFinished(60000));
            const QString text = QString::fromUtf8(process.readAllStandardOutput());
            QCOMPARE(text.contains(widget.Graph_Title()), graph);
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
