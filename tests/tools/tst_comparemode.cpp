// quillon-report --compare run as a user runs it: the table of two runs, the reason two runs cannot be
// compared, and the usage errors.

#include "tests/common/test_support.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString EXAMPLES = Source_Path(QStringLiteral("examples/"));

struct TRun
{
    int exit_code = -1;
    QByteArray out, err;
};

TRun Run(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLON_REPORT_PATH), arguments);
    TRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    return run;
}
} // namespace

class TTestCompareMode : public QObject
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

    void Exit_Status_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("last_line"); // of standard output
        QTest::addColumn<QByteArray>("err");

        const QString pmove = EXAMPLES + "laser_pmove_x_axis.dat";
        const QString after = d_dir.filePath("after.dat");
        const QString step = EXAMPLES + "stepgauge_10360_x_front.dat";
        const QString ballbar = EXAMPLES + "ballbar_500mm.dat";
        QTest::newRow("changed run") << QStringList{"--compare", pmove, after} << 0
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
        QTest::newRow("kind without positions")
            << QStringList{"--compare", ballbar, ballbar} << 1 << QByteArray()
            << QByteArray("quillon-report: cannot compare: ballbar measurements have no deviations along "
                          "positions to compare\n");
        QTest::newRow("one file") << QStringList{"--compare", pmove} << 2 << QByteArray()
                                  << QByteArray(
                                         "quillon-report: --compare takes exactly two measurement files "
                                         "(see --help)\n");
        QTest::newRow("three files") << QStringList{"--compare", pmove, pmove, pmove} << 2 << QByteArray()
                                     << QByteArray("quillon-report: --compare takes exactly two measurement "
                                                   "files (see --help)\n");
        QTest::newRow("csv") << QStringList{"--compare", "--csv", "-", pmove, after} << 2 << QByteArray()
                             << QByteArray(
                                    "quillon-report: --csv cannot be used with --compare (see --help)\n");
        QTest::newRow("verdict")
            << QStringList{"--verdict", "--compare", pmove, after} << 2 << QByteArray()
            << QByteArray("quillon-report: --verdict cannot be used with --compare (see --help)\n");
        QTest::newRow("summary")
            << QStringList{"--summary", "--compare", pmove, after} << 2 << QByteArray()
            << QByteArray("quillon-report: --summary cannot be used with --compare (see --help)\n");
    }

    void Exit_Status()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit_code);
        QFETCH(QByteArray, last_line);
        QFETCH(QByteArray, err);

        const TRun run = Run(arguments);
        QCOMPARE(run.err, err);
        QCOMPARE(run.exit_code, exit_code);
        if (exit_code != 0)
        {
            QCOMPARE(run.out, QByteArray());
            return;
        }
        const QList<QByteArray> lines = run.out.split('\n');
        const int files = static_cast<int>(arguments.size()) - 2;
        QCOMPARE(lines.value(0), QByteArray("Comparison of deviations in mm"));
        QCOMPARE(lines.value(1), "  A: " + arguments.at(files).toUtf8());
        QCOMPARE(lines.value(2), "  B: " + arguments.at(files + 1).toUtf8());
        QCOMPARE(lines.value(lines.size() - 2), last_line);
        QCOMPARE(lines.constLast(), QByteArray());
    }

    void Table_Rows()
    {
        // One row per point of the graph, 11 positions of the laser run.
        const TRun run = Run({"--compare", EXAMPLES + "laser_pmove_x_axis.dat", d_dir.filePath("after.dat")});
        QCOMPARE(run.exit_code, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 4 + 1 + 11 + 2 + 1);
        QCOMPARE(lines.at(6), QByteArray("    1    100.0000      0.0004      0.0009      0.0005"));
    }

  private:
    QTemporaryDir d_dir;
};

QTEST_GUILESS_MAIN(TTestCompareMode)
#include "tst_comparemode.moc"
