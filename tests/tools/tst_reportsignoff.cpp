// quillon-report's verdict, exit statuses, PDF and CSV output, run as a user would run it.

#include "measurementload.h"

#include <QtTest>

namespace
{
const QString TOOL = QStringLiteral(QUILLON_REPORT_PATH);
const QString LASER = QStringLiteral(QUILLON_SOURCE_DIR "/examples/laser_10360_x_axis.dat");
const QString TEMPERATURE = QStringLiteral(QUILLON_SOURCE_DIR "/examples/temperature_machine_day.dat");

struct TRun
{
    int exit_code = -1;
    QString out;
    QString err;
};

TRun Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    TRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
               QString::fromUtf8(process.readAllStandardError())};
    return run;
}

struct TExitRow
{
    QStringList arguments;
    int exit_code;
    QString text; // the last line of standard output, or part of standard error for a usage error
};
} // namespace
Q_DECLARE_METATYPE(TExitRow)

class TestReportSignoff : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Exit_Status_data();
    void Exit_Status();
    void Pdf_And_Csv();

  private:
    QTemporaryDir d_dir;
};

void TestReportSignoff::Exit_Status_data()
{
    QTest::addColumn<TExitRow>("row");
    const QString missing = d_dir.filePath(QStringLiteral("missing.dat"));
    QTest::newRow("pass") << TExitRow{
        {"--verdict", LASER},
        0,
        "Verdict: PASS  worst deviation -0.0038 mm at 999.9962 mm is 25.6% of E MPL 0.0150 mm"};
    QTest::newRow("fail") << TExitRow{
        {"--verdict", "--tolerance", "0.003", LASER}, 3, "Verdict: FAIL  worst deviation"};
    QTest::newRow("load failure wins")
        << TExitRow{{"--verdict", "--tolerance", "0.003", LASER, missing}, 1, ""};
    QTest::newRow("temperature limits") << TExitRow{{"--verdict", "--ts-limits", "20,22.5", TEMPERATURE},
                                                    3,
                                                    "Verdict: FAIL  readings 19.80 to 21.21 \u00b0C outside"};
    QTest::newRow("limits reversed") << TExitRow{{"--ts-limits", "22,18", LASER}, 2, "22,18"};
    QTest::newRow("pdf of two files") << TExitRow{{"--pdf", "x.pdf", LASER, LASER}, 2, "exactly one"};
    QTest::newRow("unknown paper") << TExitRow{{"--pdf", "x.pdf", "--page-size", "B5", LASER}, 2, "'B5'"};
    QTest::newRow("pdf into a folder") << TExitRow{{"--pdf", d_dir.path(), LASER}, 1, "Cannot write"};
    QTest::newRow("csv into a missing folder")
        << TExitRow{{"--csv", missing + "/x.csv", LASER}, 1, "Cannot write"};
}

void TestReportSignoff::Exit_Status()
{
    QFETCH(TExitRow, row);
    const TRun run = Run(TOOL, row.arguments);
    QCOMPARE(run.exit_code, row.exit_code);
    const QString last = run.out.trimmed().split(QLatin1Char('\n')).last();
    if (row.exit_code == 2 || row.text == QStringLiteral("Cannot write"))
        QVERIFY2(run.err.contains(row.text), qPrintable(run.err));
    else
        QVERIFY2(last.startsWith(row.text), qPrintable(last));
    QCOMPARE(QDir(d_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestReportSignoff::Pdf_And_Csv()
{
    const QString pdf = d_dir.filePath(QStringLiteral("laser.pdf"));
    const QString csv = d_dir.filePath(QStringLiteral("laser.csv"));
    const TRun run = Run(TOOL, {"--verdict", "--pdf", pdf, "--page-size", "letter", "--csv", csv, LASER});
    QCOMPARE(run.exit_code, 0);
    const QStringList report = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    // Every graph point at full precision, in curve order.
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.value(0), QStringLiteral("Curve,Length,Deviation"));
    const TMeasurementLoad load = MeasurementLoad::Load_File(LASER, nullptr);
    int row = 1;
    for (std::size_t curve = 0; curve < load.graph_data.size(); ++curve)
    {
        for (const TVector2 &point : load.graph_data[curve])
        {
            const QStringList fields = rows.value(row++).split(QLatin1Char(','));
            QVERIFY2(fields.value(0).toULong() == curve + 1 && fields.value(1).toDouble() == point.x &&
                         fields.value(2).toDouble() == point.y,
                     qPrintable(rows.value(row - 1)));
        }
    }
    QCOMPARE(rows.size(), 16);
    QCOMPARE(rows.size(), row);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = Run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"}).out.simplified();
    for (const QString &line : report)
        QVERIFY2(text.contains(line.simplified()), qPrintable(line));
    QVERIFY(Run(QStringLiteral("pdfinfo"), {pdf}).out.contains(QStringLiteral("612 x 792 pts (letter)")));
}

QTEST_GUILESS_MAIN(TestReportSignoff)
#include "tst_reportsignoff.moc"
