// The report document as a reader of the PDF sees it: every line, the header, the page numbers, nothing
// past the right edge, and no broken file left behind by a failed export.

#include "graphwidget.h"
#include "reportdocument.h"

#include <QtTest>

namespace
{
// Text of the PDF as pdftotext lays it out; empty when pdftotext failed.
QString Pdf_Text(const QString &path, const QStringList &options = {})
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every non-empty line, blanks simplified, appears in text in order.
QString First_Missing(const QStringList &lines, const QString &text)
{
    QStringList extracted;
    for (const QString &line : text.split(QLatin1Char('\n')))
        extracted.append(line.simplified());
    int at = 0;
    for (const QString &line : lines)
    {
        const QString wanted = line.simplified();
        if (wanted.isEmpty())
            continue;
        while (at < extracted.size() && !extracted.at(at).contains(wanted))
            ++at;
        if (at == extracted.size())
            return line;
    }
    return QString();
}

TReportDocument Document(const QStringList &lines)
{
    TReportDocument document;
    document.file_name = QStringLiteral("bench_x.dat");
    document.title = QStringLiteral("ASME B89.4.10360 Stepgauge Measurement");
    document.modified = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
    document.equipment = QStringLiteral("SG-4711");
    document.tolerance = QStringLiteral("E MPL = 0.0120+0.0060L/1000 | 0.0150");
    document.verdict =
        QStringLiteral("Verdict: FAIL  worst deviation -0.0223 mm at 400.0000 mm is 154.9% of E MPL "
                       "0.0144 mm");
    document.verdict_mark = TReportDocument::MARK_FAIL;
    document.report_lines = lines;
    return document;
}
} // namespace

class TestReportDocument : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void Lines_And_Pages_data();
    void Lines_And_Pages();
    void Nothing_Past_The_Edge();
    void Failed_Export_data();
    void Failed_Export();

  private:
    QTemporaryDir d_dir;
};

void TestReportDocument::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

struct TPagesRow
{
    QStringList lines;
    bool graph;
    QPageSize::PageSizeId size;
    int least_pages;
};
Q_DECLARE_METATYPE(TPagesRow)

void TestReportDocument::Lines_And_Pages_data()
{
    QTest::addColumn<TPagesRow>("row");
    QFile golden(QStringLiteral(QUILLON_SOURCE_DIR "/tests/data/golden/stepgauge_10360_x_front.txt"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    const QStringList report = QString::fromUtf8(golden.readAll()).split(QLatin1Char('\n'));
    QStringList long_report;
    for (int i = 0; i < 10000; ++i)
        long_report.append(QStringLiteral("%1  %2").arg(i, 5).arg(i * 0.0001, 12, 'f', 4));

    QTest::newRow("golden report with graph") << TPagesRow{report, true, QPageSize::A4, 1};
    QTest::newRow("10000 lines A4") << TPagesRow{long_report, false, QPageSize::A4, 100};
    QTest::newRow("10000 lines Letter") << TPagesRow{long_report, true, QPageSize::Letter, 100};
    QTest::newRow("no report lines") << TPagesRow{{}, false, QPageSize::A4, 1};
}

void TestReportDocument::Lines_And_Pages()
{
    QFETCH(TPagesRow, row);
    TGraphWidget graph;
    graph.d_graph_title = QStringLiteral("Deviation Graph Title");
    const int set = graph.CreateDataSet(QColor(64, 0, 0), TGraphWidget::GRAPH_CROSS);
    graph.AddPoints(set, {TVector2(0.0, 0.001), TVector2(400.0, -0.0223)});
    TReportDocument document = Document(row.lines);
    document.graph = row.graph ? &graph : nullptr;

    const QString path = d_dir.filePath(QStringLiteral("report.pdf"));
    QString error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY2(ReportDocument::Write_Pdf(document, path, row.size, &error), qPrintable(error));
    QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));

    const QString text = Pdf_Text(path, {QStringLiteral("-layout")});
    const QStringList header = {document.title,     document.file_name, QStringLiteral("2026-03-14 09:26:53"),
                                document.equipment, document.tolerance, document.verdict};
    for (const QString &field : header)
        QVERIFY2(text.simplified().contains(field.simplified()), qPrintable(field));
    QCOMPARE(text.contains(graph.d_graph_title), row.graph);
    QCOMPARE(First_Missing(row.lines, text), QString());

    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Page 1 of (\\d+)")).match(text);
    QVERIFY(pages.hasMatch());
    const int count = pages.captured(1).toInt();
    QVERIFY(count >= row.least_pages);
    QStringList footers;
    for (int page = 1; page <= count; ++page)
        footers.append(QStringLiteral("Page %1 of %2").arg(page).arg(count));
    QCOMPARE(First_Missing(footers, text), QString());
    QCOMPARE(text.count(QLatin1Char('\f')), count);
}

void TestReportDocument::Nothing_Past_The_Edge()
{
    // One line shrinks the font; a line too long for any legible size is wrapped instead.
    const QString wide = QStringLiteral("wide-%1-end").arg(QString(300, QLatin1Char('w')));
    QString huge;
    for (int i = 0; i < 1500; ++i)
        huge += QStringLiteral("%1.").arg(i, 4, 10, QLatin1Char('0'));
    const QString path = d_dir.filePath(QStringLiteral("wide.pdf"));
    QString error;
    QVERIFY2(ReportDocument::Write_Pdf(Document({wide, huge, QStringLiteral("after")}), path, QPageSize::A4,
                                       &error),
             qPrintable(error));

    QString joined = Pdf_Text(path);
    joined.remove(QRegularExpression(QStringLiteral("\\s")));
    QVERIFY(joined.contains(wide));
    QVERIFY(joined.contains(huge + QStringLiteral("after")));

    // Word boxes in points: none may end past the paper less its 15 mm margin.
    const QString boxes = Pdf_Text(path, {QStringLiteral("-bbox")});
    const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\""));
    const double right = page.match(boxes).captured(1).toDouble() - 15.0 / 25.4 * 72.0;
    QVERIFY(right > 400.0);
    QRegularExpressionMatchIterator words =
        QRegularExpression(QStringLiteral("xMax=\"([0-9.]+)\"")).globalMatch(boxes);
    int count = 0;
    for (; words.hasNext(); ++count)
    {
        const double x = words.next().captured(1).toDouble();
        QVERIFY2(x <= right + 0.5, qPrintable(QString::number(x)));
    }
    QVERIFY(count > 10);
}

void TestReportDocument::Failed_Export_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("path is a folder") << QStringLiteral("folder.pdf");
    QTest::newRow("missing folder") << QStringLiteral("missing/report.pdf");
}

void TestReportDocument::Failed_Export()
{
    QFETCH(QString, path);
    const QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.pdf")));
    const QString full = dir.filePath(path);
    QString error;
    QVERIFY(!ReportDocument::Write_Pdf(Document({QStringLiteral("line")}), full, QPageSize::A4, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write '%1'").arg(full)), qPrintable(error));
    // Nothing half-written left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestReportDocument)
#include "tst_reportdocument.moc"
