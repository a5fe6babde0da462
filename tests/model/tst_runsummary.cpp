// The run summary: kind keys and identities of the example files, the verdict's percentage, CSV
// fields, row order, the cache's stamps, and the drift projection; the comparison of two runs.

#include "model/comparison.h"
#include "model/drift.h"
#include "model/runsummary.h"
#include "model/tolerance.h"
#include "tests/common/test_support.h"

#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using TCurves = std::vector<std::vector<TVector2>>;

namespace
{
TRunSummary Row(const char *kind, const char *identity, const char *modified, const char *path)
{
    TRunSummary row;
    row.kind = QLatin1String(kind);
    row.identity = QString::fromUtf8(identity);
    row.modified = Utc(modified);
    row.path = QLatin1String(path);
    return row;
}
} // namespace

Q_DECLARE_METATYPE(TRunSummary)
Q_DECLARE_METATYPE(TDrift::TTrend)
Q_DECLARE_METATYPE(TComparison::TProblemType)
Q_DECLARE_METATYPE(TCurves)

class TTestRunSummary : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Examples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("identity");
        // clang-format off
        const char *const rows[][3] = {
            {"examples/stepgauge_b89_x_axis", "stepgauge_b89", "SG-1000-2318; X axis centre, Y=-200 Z=-540"},
            {"examples/stepgauge_squareness_xy", "stepgauge_squareness", "SG-0620-0877; XY diagonal, Z=-560"},
            {"examples/gaugeblock_500mm_x_axis", "gaugeblock", "GB-500-1142; X axis, Y=-300 Z=-612"},
            {"tests/data/laser/laser_10360_short_point", "laser_10360", "X axis, Y=-400 Z=-500"},
            {"examples/laser_pmove_y_straightness_z", "laser_pmove", "Y axis, X=-300 Z=-500"},
            {"examples/point_repeat_table_centre_x", "point_repeat", "Table centre, X approach, speed 8 mm/s"},
            {"examples/temperature_machine_day", "temperature", ""},
            {"examples/ringgauge_25mm", "ring_gauge", ""},
            {"examples/validation_sphere_three_spheres", "validation_sphere", ""}};
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[1]) << QString(row[0]) << QString(row[1]) << QString::fromUtf8(row[2]);
    }

    // The kinds that have an identity and some that have none: the key and identity, and the verdict word
    // and percentage the verdict line gives. A dropped data line must not let the summary call the run
    // PASS or FAIL.
    void Examples()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, identity);
        const QString path = Source_Path(file + QStringLiteral(".dat"));
        const TRunLoad load = TRunLoad::Load(path, TFileStamp::Of(path), nullptr);
        const TRunSummary row = load.Summary(TTolerance::Default());
        QCOMPARE(row.kind, kind);
        QCOMPARE(row.identity, identity);
        QCOMPARE(row.path, path);
        QCOMPARE(row.modified.timeSpec(), Qt::UTC);
        QCOMPARE(row.modified, QFileInfo(path).lastModified().toUTC());

        const TVerdict verdict =
            Verdict::Evaluate(load.contents, load.graph_data, TTolerance::Default(), load.unreadable_lines);
        QCOMPARE(row.verdict, verdict.line.section(QLatin1Char(' '), 1, 1));
        QCOMPARE(row.verdict == QLatin1String("INCOMPLETE"), file.startsWith(QLatin1String("tests/")));
        const QString percent =
            verdict.line.section(QStringLiteral(" is "), 1).section(QLatin1Char('%'), 0, 0);
        QCOMPARE(row.percent, verdict.line.contains(QLatin1String("% of")) ? percent : QString());
    }

    void Identity_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("identity");
        QTest::newRow("blanks trimmed") << QByteArray("Equipment_Identification:1020-4471")
                                        << QByteArray("equipment_identification:  1020-4471 \t")
                                        << "1020-4471; X axis front, Y=-350 Z=-600";
        QTest::newRow("no description") << QByteArray("Description:X axis front, Y=-350 Z=-600")
                                        << QByteArray("Description:  ") << "1020-4471";
        QTest::newRow("description outside the measurement")
            << QByteArray("Alignment_Begin:") << QByteArray("Description:outside\nAlignment_Begin:")
            << "1020-4471; X axis front, Y=-350 Z=-600";
    }

    void Identity()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, identity);
        QByteArray data = Read_File(Source_Path(QStringLiteral("examples/stepgauge_10360_x_front.dat")));
        QVERIFY(data.contains(from));
        data.replace(from, to);
        QCOMPARE(RunSummary::Identity(TMeasureData::CONTENTS_STEPGAUGE_10360, data), identity);
        // A kind without these records has no identity, whatever its lines say.
        QCOMPARE(RunSummary::Identity(TMeasureData::CONTENTS_BALLBAR, data), QString());
    }

    // The percentage of a verdict line; the lines without one are the examples'.
    void Percent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("percent");
        QTest::newRow("fail") << QStringLiteral("1234.5%") << QStringLiteral("1234.5");
        QTest::newRow("no limit") << QStringLiteral("-") << QString();
    }

    void Percent()
    {
        QFETCH(QString, text);
        QFETCH(QString, percent);
        TVerdict given;
        given.verdict = TVerdict::VERDICT_FAIL;
        given.line = QStringLiteral("Verdict: FAIL  worst deviation -0.0123 mm at 400.0000 mm is %1 of "
                                    "E MPL 0.0150 mm")
                         .arg(text);
        QCOMPARE(RunSummary::Percent(given), percent);
    }

    // Quoting as the CSV rows of quillon-report --summary have it, also for a quote and a comma.
    void Csv_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        // clang-format off
        const char *const rows[][3] = {
            {"blanks kept", " a b ", " a b "}, {"line feed", "a\nb", "\"a\nb\""},
            {"carriage return", "a\rb", "\"a\rb\""}};
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }

    void Csv()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(RunSummary::Csv_Field(text), field);
    }

    void Order_data()
    {
        QTest::addColumn<TRunSummary>("first");
        QTest::addColumn<TRunSummary>("second");
        QTest::newRow("then identity") << Row("ballbar", "A", "2027-01-01T00:00:00", "z")
                                       << Row("ballbar", "B", "2020-01-01T00:00:00", "a");
        QTest::newRow("then path") << Row("ballbar", "A", "2027-01-01T00:00:00", "a/z")
                                   << Row("ballbar", "A", "2027-01-01T00:00:00", "b");
    }

    void Order()
    {
        QFETCH(TRunSummary, first);
        QFETCH(TRunSummary, second);
        QVERIFY(RunSummary::Less(first, second));
        QVERIFY(!RunSummary::Less(second, first));
        std::vector<TRunSummary> rows = {second, first};
        RunSummary::Sort(&rows);
        QCOMPARE(rows.front().path, first.path);
    }

    // A changed size or time loads the file again; the same size and time keep what was loaded.
    void Cache()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.dat"));
        const QByteArray laser = Read_File(Source_Path(QStringLiteral("examples/laser_10360_x_axis.dat")));
        const QDateTime time = Utc("2026-05-01T12:00:00");
        QVERIFY(Write_File(path, laser, time));
        TRunSummaryCache cache;
        const TTolerance tolerance = TTolerance::Default();
        std::vector<TRunSummary> rows = cache.Scan({path}, nullptr, tolerance);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].verdict, QStringLiteral("PASS"));

        // Same size and time: the cached load stands, so this is no proof of reading.
        QByteArray changed = laser;
        changed.replace("B89.4.10360_Raw_Measurement", "B89.4.10360_Raw_Measuremenx");
        QCOMPARE(changed.size(), laser.size());
        QVERIFY(Write_File(path, changed, time));
        QVERIFY(cache.Stale({path}).empty());
        QCOMPARE(cache.Scan({path}, nullptr, tolerance)[0].verdict, QStringLiteral("PASS"));

        QVERIFY(Write_File(path, changed, time.addSecs(1)));
        QCOMPARE(cache.Stale({path}).size(), size_t(1));
        rows = cache.Scan({path}, nullptr, tolerance);
        QCOMPARE(rows[0].verdict, RunSummary::Error_Word());
        QCOMPARE(rows[0].kind, QStringLiteral("unknown"));
        QCOMPARE(rows[0].modified, time.addSecs(1));

        QVERIFY(Write_File(path, laser + "\n", time.addSecs(1)));
        QCOMPARE(cache.Scan({path}, nullptr, tolerance)[0].verdict, QStringLiteral("PASS"));
        QCOMPARE(cache.Count(), 1);

        // A tighter tolerance judges the cached load again.
        TTolerance tight = tolerance;
        QVERIFY(tight.Set_Expression(QStringLiteral("0.001")));
        QVERIFY(cache.Stale({path}).empty());
        QCOMPARE(cache.Rows({path}, tight)[0].verdict, QStringLiteral("FAIL"));

        QVERIFY(QFile::remove(path));
        rows = cache.Scan({path}, nullptr, tolerance);
        QCOMPARE(rows[0].verdict, RunSummary::Error_Word());
        QVERIFY(!rows[0].modified.isValid());
    }

    void Drift_data()
    {
        QTest::addColumn<QVector<double>>("percents");
        QTest::addColumn<int>("days_apart");
        QTest::addColumn<TDrift::TTrend>("trend");
        QTest::addColumn<QString>("reached");
        // A third of a percent a day from 50%: 100% on day 150 after the first run.
        QTest::newRow("rising") << QVector<double>{50, 60, 70, 80} << 30 << TDrift::TREND_RISING
                                << "2026-07-01";
        QTest::newRow("rising with scatter")
            << QVector<double>{51, 59, 69, 81} << 30 << TDrift::TREND_RISING << "2026-07-01";
        QTest::newRow("already beyond")
            << QVector<double>{110, 120, 130, 140} << 30 << TDrift::TREND_RISING << "2026-01-02";
        QTest::newRow("falling") << QVector<double>{80, 70, 60, 50} << 30 << TDrift::TREND_FALLING << "";
        QTest::newRow("flat") << QVector<double>{60.0, 60.01, 59.99, 60.0} << 30 << TDrift::TREND_FLAT << "";
        QTest::newRow("too few") << QVector<double>{50, 60, 70} << 30 << TDrift::TREND_TOO_FEW << "";
        QTest::newRow("one time") << QVector<double>{50, 60, 70, 80} << 0 << TDrift::TREND_TOO_FEW << "";
    }

    void Drift()
    {
        QFETCH(QVector<double>, percents);
        QFETCH(int, days_apart);
        QFETCH(TDrift::TTrend, trend);
        QFETCH(QString, reached);
        const QDateTime first = Utc("2026-02-01T00:00:00");
        std::vector<TDriftPoint> points;
        // Given newest first, as the order must not matter.
        for (int i = static_cast<int>(percents.size()) - 1; i >= 0; --i)
            points.push_back({first.addDays(static_cast<qint64>(i) * days_apart), percents[i]});
        const TDrift drift = Drift::Project(points);
        QCOMPARE(drift.trend, trend);
        QCOMPARE(drift.reached.isValid() ? drift.reached.toUTC().toString(QStringLiteral("yyyy-MM-dd"))
                                         : QString(),
                 reached);
        if (trend == TDrift::TREND_RISING && !reached.isEmpty())
            QVERIFY(qAbs(drift.Percent_At(drift.reached) - 100.0) < 1e-6);
    }

    // Comparison of two runs: which runs match, the reason when they do not, and the table's exact text. The
    // reasons of a load that failed or of kinds that differ are the report tool's and the window's.
    void Compare_Runs_data()
    {
        QTest::addColumn<TCurves>("a");
        QTest::addColumn<TCurves>("b");
        QTest::addColumn<TComparison::TProblemType>("problem");
        QTest::addColumn<QStringList>("lines"); // the reason, or the table's rows and its last line

        const TCurves two = {{{0.0, 0.001}, {100.0, 0.002}}, {{0.0, -0.001}, {100.0, 0.0}, {200.0, 0.003}}};
        QTest::newRow("curve counts") << two << TCurves{two[0]} << TComparison::PROBLEM_CURVE_COUNT
                                      << QStringList{"the runs have different numbers of curves: 2 and 1"};
        QTest::newRow("point counts")
            << two << TCurves{two[0], {{0.0, 0.0}, {100.0, 0.0}}} << TComparison::PROBLEM_POINT_COUNT
            << QStringList{"curve 2 has different numbers of points: 3 and 2"};
        QTest::newRow("position apart")
            << two << TCurves{two[0], {{0.0, 0.0}, {101.0001, 0.0}, {200.0, 0.0}}}
            << TComparison::PROBLEM_POSITION
            << QStringList{"point 2 of curve 2 lies at 100.0000 mm and 101.0001 mm, more than 1 mm apart"};
        QTest::newRow("position not a number")
            << TCurves{{{std::numeric_limits<double>::quiet_NaN(), 0.0}}} << TCurves{{{0.0, 0.0}}}
            << TComparison::PROBLEM_POSITION
            << QStringList{"point 1 of curve 1 lies at nan mm and 0.0000 mm, more than 1 mm apart"};
        QTest::newRow("no points") << TCurves{{}, {}} << TCurves{{}, {}} << TComparison::PROBLEM_NO_POINTS
                                   << QStringList{"the runs have no points to compare"};
        QTest::newRow("no curves") << TCurves{} << TCurves{} << TComparison::PROBLEM_NO_POINTS
                                   << QStringList{"the runs have no points to compare"};

        // Positions are A's; one mm apart is near enough.
        QTest::newRow("one mm apart")
            << TCurves{{{200.0, 0.0}}} << TCurves{{{201.0, 0.0}}} << TComparison::PROBLEM_NONE
            << QStringList{"    1    200.0000      0.0000      0.0000      0.0000",
                           "Largest change: 0.0000 mm at 200.0000 mm (curve 1)"};
        // -0.00126 and -0.00094 print as -0.0013 and -0.0009, but differ by 0.00032.
        QTest::newRow("difference of unrounded values")
            << TCurves{{{200.0, -0.00126}, {400.0, 0.0}}} << TCurves{{{200.2, -0.00094}, {400.0, 0.0001}}}
            << TComparison::PROBLEM_NONE
            << QStringList{"    1    200.0000     -0.0013     -0.0009      0.0003",
                           "    1    400.0000      0.0000      0.0001      0.0001",
                           "Largest change: 0.0003 mm at 200.0000 mm (curve 1)"};
        QTest::newRow("largest change is the largest magnitude, first of equals, sign kept")
            << TCurves{{{0.0, 0.001}}, {{0.0, 0.0}, {1500.0, 0.002}, {1600.0, 0.0}}}
            << TCurves{{{0.0, 0.0035}}, {{0.0, 0.0}, {1500.0, -0.0005}, {1600.0, 0.0025}}}
            << TComparison::PROBLEM_NONE
            << QStringList{"    1      0.0000      0.0010      0.0035      0.0025",
                           "    2      0.0000      0.0000      0.0000      0.0000",
                           "    2   1500.0000      0.0020     -0.0005     -0.0025",
                           "    2   1600.0000      0.0000      0.0025      0.0025",
                           "Largest change: 0.0025 mm at 0.0000 mm (curve 1)"};
        QTest::newRow("a number wider than its column stays apart")
            << TCurves{{{-12345678.0, 0.0}}} << TCurves{{{-12345678.5, 0.0}}} << TComparison::PROBLEM_NONE
            << QStringList{"    1 -12345678.0000      0.0000      0.0000      0.0000",
                           "Largest change: 0.0000 mm at -12345678.0000 mm (curve 1)"};
    }

    void Compare_Runs()
    {
        QFETCH(TCurves, a);
        QFETCH(TCurves, b);
        QFETCH(TComparison::TProblemType, problem);
        QFETCH(QStringList, lines);

        const TComparison comparison = Comparison::Compare_Curves(a, b);
        QCOMPARE(comparison.problem, problem);
        if (!comparison.Comparable())
        {
            QCOMPARE(QStringList(comparison.reason), lines);
            QVERIFY(comparison.rows.empty());
            return;
        }
        QCOMPARE(comparison.reason, QString());
        const QString last = lines.takeLast();
        QCOMPARE(Comparison::Table(comparison, QStringLiteral("runs/a.dat"), QStringLiteral("b")),
                 QStringList({"Comparison of deviations in mm", "  A: runs/a.dat", "  B: b", QString(),
                              "Curve    Position           A           B       B - A"}) +
                     lines + QStringList({QString(), last}));
    }
};

QTEST_GUILESS_MAIN(TTestRunSummary)
#include "tst_runsummary.moc"
