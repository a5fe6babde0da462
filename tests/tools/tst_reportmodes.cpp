// quillon-report's two other modes run as a user runs them: --summary (the folder search, the CSV rows
// with their UTC times, exit statuses) and --compare (the table of two runs, the reason two runs cannot be
// compared), and the options each mode refuses.

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
    return Write_File(path, Read_File(EXAMPLES + example), time);
}
} // namespace

class TTestReportModes : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(d_dir.isValid());
        // The second run of the laser reads 0.002 mm more once at 100 mm, where four readings are
        // averaged.
        QByteArray data = Read_File(EXAMPLES + "laser_pmove_x_axis.dat");
        QVERIFY(data.contains("-500.0000,0.00049\n"));
        data.replace("-500.0000,0.00049\n", "-500.0000,0.00249\n");
        QVERIFY(Write_File(d_dir.filePath("after.dat"), data));
        QVERIFY(QDir().mkpath(d_dir.filePath("empty/Nominal_Data")));
    }

    void Summary()
    {
        const QString root = d_dir.filePath(QStringLiteral("runs"));
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
        QVERIFY(Copy(laser, d_dir.filePath("elsewhere/y.dat"), "2026-02-01T00:00:00"));
        QVERIFY(QFile::link(d_dir.filePath("elsewhere"), root + "/link"));

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
        run = Run({"--summary", "--verdict", "--nominals", d_dir.filePath("elsewhere"), root});
        QCOMPARE(run.exit_code, 2); // no Nominal_Data folder there
        QVERIFY(QDir().mkpath(d_dir.filePath("elsewhere/Nominal_Data")));
        run = Run({"--summary", "--verdict", "--nominals", d_dir.filePath("elsewhere"), root});
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

    // The table's head and last line, or the one line that says why two runs cannot be compared.
    void Compare_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("last_line"); // of standard output
        QTest::addColumn<QByteArray>("err");
        const QString pmove = EXAMPLES + "laser_pmove_x_axis.dat";
        const QString step = EXAMPLES + "stepgauge_10360_x_front.dat";
        QTest::newRow("changed run") << QStringList{"--compare", pmove, d_dir.filePath("after.dat")} << 0
                                     << QByteArray("Largest change: 0.0005 mm at 100.0000 mm (curve 1)")
                                     << QByteArray();
        QTest::newRow("nominals and tolerance apply")
            << QStringList{"--nominals", EXAMPLES, "--tolerance", "0.003", "--compare", step, step} << 0
            << QByteArray("Largest change: 0.0000 mm at 100.0008 mm (curve 1)") << QByteArray();
        QTest::newRow("nominal set missing")
            << QStringList{"--nominals", d_dir.filePath("empty"), "--compare", step, step} << 1
            << QByteArray()
            << QByteArray("quillon-report: cannot compare: '" + step.toUtf8() +
                          "' did not load: Stepgauge nominal data for gauge '1020-4471' not found.\n");
        QTest::newRow("different kinds")
            << QStringList{"--compare", EXAMPLES + "laser_10360_x_axis.dat", pmove} << 1 << QByteArray()
            << QByteArray("quillon-report: cannot compare: the files hold different kinds of measurement: "
                          "laser_10360 and laser_pmove\n");
        const QByteArray two = "quillon-report: --compare takes exactly two measurement files (see --help)\n";
        QTest::newRow("one file") << QStringList{"--compare", pmove} << 2 << QByteArray() << two;
        QTest::newRow("three files") << QStringList{"--compare", pmove, pmove, pmove} << 2 << QByteArray()
                                     << two;
    }

    void Compare()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit_code);
        QFETCH(QByteArray, last_line);
        QFETCH(QByteArray, err);
        const TRun run = Run(arguments);
        QCOMPARE(run.err, err);
        QCOMPARE(run.exit_code, exit_code);
        QCOMPARE(run.out.isEmpty(), exit_code != 0);
        if (exit_code != 0)
            return;
        const QList<QByteArray> lines = run.out.split('\n');
        const int files = static_cast<int>(arguments.size()) - 2;
        QCOMPARE(lines.value(0), QByteArray("Comparison of deviations in mm"));
        QCOMPARE(lines.value(1), "  A: " + arguments.at(files).toUtf8());
        QCOMPARE(lines.value(2), "  B: " + arguments.at(files + 1).toUtf8());
        QCOMPARE(lines.value(lines.size() - 2), last_line);
        QCOMPARE(lines.constLast(), QByteArray());
    }

    void Compare_Table_Rows()
    {
        // One row per point of the graph, 11 positions of the laser run.
        const TRun run = Run({"--compare", EXAMPLES + "laser_pmove_x_axis.dat", d_dir.filePath("after.dat")});
        QCOMPARE(run.exit_code, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 4 + 1 + 11 + 2 + 1);
        QCOMPARE(lines.at(6), QByteArray("    1    100.0000      0.0004      0.0009      0.0005"));
    }

    // Options of another mode are usage errors, named in one line; nothing goes to standard output.
    void Refused_Options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        const QString pmove = EXAMPLES + "laser_pmove_x_axis.dat";
        const QString cannot = QStringLiteral("quillon-report: %1 cannot be used with %2 (see --help)\n");
        for (const QString option : {"--graph x.png", "--graph-size 10x10", "--line", "--pdf x.pdf",
                                     "--page-size A4", "--csv x.csv"})
            QTest::newRow(qPrintable("summary " + option))
                << QStringList{"--summary"} + option.split(' ') + QStringList{EXAMPLES}
                << cannot.arg(option.section(' ', 0, 0), "--summary").toUtf8();
        for (const QString option : {"--csv -", "--verdict", "--summary"})
            QTest::newRow(qPrintable("compare " + option))
                << QStringList{"--compare"} + option.split(' ') + QStringList{pmove, pmove}
                << cannot.arg(option.section(' ', 0, 0), "--compare").toUtf8();
        QTest::newRow("summary without path")
            << QStringList{"--summary"} << QByteArray("no measurement file");
        QTest::newRow("summary, bad limits")
            << QStringList{"--summary", "--ts-limits", "5", EXAMPLES} << QByteArray("'5'");
    }

    void Refused_Options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const TRun run = Run(arguments);
        QCOMPARE(run.exit_code, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains(message) && run.err.count('\n') == 1, run.err.constData());
    }

  private:
    QTemporaryDir d_dir;
};

QTEST_GUILESS_MAIN(TTestReportModes)
#include "tst_reportmodes.moc"
