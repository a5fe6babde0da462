// quillon-report --summary run as a user runs it: the folder search, the CSV rows with their UTC times,
// exit statuses and usage errors.

#include "tests/common/test_support.h"
#include "tests/common/tool_run.h"

#include <QRegularExpression>
#include <QtTest>

namespace
{
const QString EXAMPLES = Source_Path(QStringLiteral("examples/"));

// The percentage the verdict line of the report gives for the file.
QByteArray Percent(const QString &file, const QStringList &options = {})
{
    const QByteArray out =
        Run(QStringList{"--verdict", "--nominals", EXAMPLES} + options + QStringList{file}).out;
    return QRegularExpression(QStringLiteral(" is ([0-9]+\\.[0-9])% of "))
        .match(QString::fromUtf8(out))
        .captured(1)
        .toUtf8();
}

bool Copy(const QString &example, const QString &path, const char *modified)
{
    QDateTime time = QDateTime::fromString(QLatin1String(modified), Qt::ISODate);
    time.setTimeSpec(Qt::UTC);
    QFile file(path);
    return Write_File(path, Read_File(EXAMPLES + example)) && file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}
} // namespace

class TTestSummaryMode : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Folder()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("runs"));
        const QString laser = QStringLiteral("laser_10360_x_axis.dat");
        QVERIFY(Copy(laser, root + "/b.dat", "2026-03-01T10:00:00"));
        QVERIFY(Copy(laser, root + "/old/a.DAT", "2026-01-15T08:30:00"));
        QVERIFY(Copy(QStringLiteral("stepgauge_10360_x_front.dat"), root + "/c.dat", "2026-02-01T23:59:59"));
        QVERIFY(Copy(QStringLiteral("ballbar_500mm.dat"), root + "/q,\"x\".dat", "2026-02-02T00:00:00"));
        QVERIFY(Copy(QStringLiteral("pingauge_10mm.dat"), root + "/pin.dat", "2026-02-03T00:00:00"));
        // Not searched: hidden entries, other suffixes, a linked folder.
        QVERIFY(Copy(laser, root + "/.hidden.dat", "2026-02-01T00:00:00"));
        QVERIFY(Copy(laser, root + "/.hidden/x.dat", "2026-02-01T00:00:00"));
        QVERIFY(Copy(laser, root + "/notes.txt", "2026-02-01T00:00:00"));
        QVERIFY(Copy(laser, dir.filePath("elsewhere/y.dat"), "2026-02-01T00:00:00"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), root + "/link"));

        const QByteArray laser_percent = Percent(EXAMPLES + laser);
        const QByteArray header = "Modified,Kind,Identity,Verdict,Percent,File\n";
        const QByteArray loaded =
            "2026-02-02T00:00:00Z,ballbar,,PASS," + Percent(EXAMPLES + "ballbar_500mm.dat") + ",\"" +
            root.toUtf8() + "/q,\"\"x\"\".dat\"\n" +
            "2026-01-15T08:30:00Z,laser_10360,\"X axis, Y=-400 Z=-500\",PASS," + laser_percent + "," +
            root.toUtf8() + "/old/a.DAT\n" +
            "2026-03-01T10:00:00Z,laser_10360,\"X axis, Y=-400 Z=-500\",PASS," + laser_percent + "," +
            root.toUtf8() + "/b.dat\n" + "2026-02-03T00:00:00Z,pin_gauge,,,," + root.toUtf8() + "/pin.dat\n" +
            "2026-02-01T23:59:59Z,stepgauge_10360,\"1020-4471; X axis front, Y=-350 Z=-600\",PASS," +
            Percent(EXAMPLES + "stepgauge_10360_x_front.dat") + "," + root.toUtf8() + "/c.dat\n";
        QVERIFY(!laser_percent.isEmpty());
        TRun run = Run({"--summary", "--nominals", EXAMPLES, root + "/"});
        QCOMPARE(run.out, header + loaded);
        QCOMPARE(run.exit_code, 0);
        QCOMPARE(run.err, QByteArray());

        // A file given by name is taken whatever its name; one given twice is one row.
        run = Run({"--summary", "--verdict", root + "/notes.txt", root + "/notes.txt"});
        QCOMPARE(run.out.count('\n'), 2);
        QVERIFY(run.out.endsWith(",laser_10360,\"X axis, Y=-400 Z=-500\",PASS," + laser_percent + "," +
                                 root.toUtf8() + "/notes.txt\n"));
        QCOMPARE(run.exit_code, 0);

        // Without its nominal set the step gauge file does not load; every other row is still printed.
        run = Run({"--summary", "--verdict", "--nominals", dir.filePath("elsewhere"), root});
        QCOMPARE(run.exit_code, 2); // no Nominal_Data folder there
        QVERIFY(QDir().mkpath(dir.filePath("elsewhere/Nominal_Data")));
        run = Run({"--summary", "--verdict", "--nominals", dir.filePath("elsewhere"), root});
        QCOMPARE(run.exit_code, 1);
        QVERIFY(
            run.out.contains("\n2026-02-01T23:59:59Z,stepgauge_10360,,ERR,," + root.toUtf8() + "/c.dat\n"));
        QCOMPARE(run.out.count('\n'), 6);

        // A FAIL gives 3 with --verdict, unless a file did not load.
        const QStringList tight = {"--tolerance", "0.001"};
        QVERIFY(Percent(EXAMPLES + laser, tight).toDouble() > 100.0);
        run = Run(QStringList{"--summary", "--nominals", EXAMPLES} + tight + QStringList{root});
        QCOMPARE(run.exit_code, 0);
        QVERIFY(
            run.out.contains(",FAIL," + Percent(EXAMPLES + laser, tight) + "," + root.toUtf8() + "/b.dat\n"));
        run = Run(QStringList{"--summary", "--verdict", "--nominals", EXAMPLES} + tight + QStringList{root});
        QCOMPARE(run.exit_code, 3);
        QVERIFY(Write_File(root + "/tiny.dat", "x"));
        run = Run(QStringList{"--summary", "--verdict", "--nominals", EXAMPLES} + tight + QStringList{root});
        QCOMPARE(run.exit_code, 1);
        QVERIFY(run.out.endsWith(",unknown,,ERR,," + root.toUtf8() + "/tiny.dat\n"));
    }

    void Usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("graph") << QStringList{"--graph", "x.png"}
                               << QByteArray("--graph cannot be used with --summary");
        QTest::newRow("graph size") << QStringList{"--graph-size", "10x10"}
                                    << QByteArray("--graph-size cannot");
        QTest::newRow("line") << QStringList{"--line"} << QByteArray("--line cannot");
        QTest::newRow("pdf") << QStringList{"--pdf", "x.pdf"} << QByteArray("--pdf cannot");
        QTest::newRow("page size") << QStringList{"--page-size", "A4"} << QByteArray("--page-size cannot");
        QTest::newRow("csv") << QStringList{"--csv", "x.csv"} << QByteArray("--csv cannot");
        QTest::newRow("no path") << QStringList{} << QByteArray("no measurement file");
        QTest::newRow("bad limits") << QStringList{"--ts-limits", "5"} << QByteArray("'5'");
    }

    void Usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const TRun run = Run(QStringList{"--summary"} + arguments +
                             (message.startsWith("no ") ? QStringList() : QStringList{EXAMPLES}));
        QCOMPARE(run.exit_code, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains(message), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TTestSummaryMode)
#include "tst_summarymode.moc"
