// Comparison of two runs: which runs match, the reason when they do not, and the table's exact text.

#include "model/comparison.h"
#include "model/measurementload.h"
#include "tests/common/test_support.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;

// A laser data collection file with one reading per position.
QByteArray Pmove_File(const std::vector<TVector2> &points)
{
    QByteArray data = "PMove_Raw_Measurement:Version=1:Type=Machine_And_Laser\n"
                      "Probe_Offsets_Valid:Yes\n"
                      "Probe_Offset:0.0000,0.0000,-150.0000\n"
                      "Start_Point:0.0000,0.0000,0.0000\n"
                      "Measurement_Axis:1.000000000,0.000000000,0.000000000\n"
                      "Measurement_Type:Scale\n"
                      "Measurement_Begin:\n"
                      "Description:X axis\n";
    int index = 1;
    for (const TVector2 &point : points)
        data += QStringLiteral("Point:%1,%2,%3,%2,%2,0.0000,0.0000,%4\n")
                    .arg(index++)
                    .arg(point.x, 0, 'f', 5)
                    .arg(point.x + point.y, 0, 'f', 5)
                    .arg(point.y, 0, 'f', 5)
                    .toLatin1();
    return data + "Measurement_End::\n";
}
} // namespace

Q_DECLARE_METATYPE(TComparison::TProblemType)
Q_DECLARE_METATYPE(TCurves)

class TestComparison : public QObject
{
    Q_OBJECT

  private slots:
    void curves_data();
    void curves();
    void table_data();
    void table();
    void loads();
};

void TestComparison::curves_data()
{
    QTest::addColumn<TCurves>("a");
    QTest::addColumn<TCurves>("b");
    QTest::addColumn<TComparison::TProblemType>("problem");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("rows");

    const TCurves two = {{{0.0, 0.001}, {100.0, 0.002}}, {{0.0, -0.001}, {100.0, 0.0}, {200.0, 0.003}}};
    QTest::newRow("matching") << two << two << TComparison::PROBLEM_NONE << QString() << 5;
    QTest::newRow("one mm apart is near enough")
        << TCurves{{{200.0, 0.0}}} << TCurves{{{201.0, 0.0}}} << TComparison::PROBLEM_NONE << QString() << 1;
    QTest::newRow("curve counts") << two << TCurves{two[0]} << TComparison::PROBLEM_CURVE_COUNT
                                  << QStringLiteral("the runs have different numbers of curves: 2 and 1")
                                  << 0;
    QTest::newRow("point counts") << two << TCurves{two[0], {{0.0, 0.0}, {100.0, 0.0}}}
                                  << TComparison::PROBLEM_POINT_COUNT
                                  << QStringLiteral("curve 2 has different numbers of points: 3 and 2") << 0;
    QTest::newRow("position apart")
        << two << TCurves{two[0], {{0.0, 0.0}, {101.0001, 0.0}, {200.0, 0.0}}}
        << TComparison::PROBLEM_POSITION
        << QStringLiteral("point 2 of curve 2 lies at 100.0000 mm and 101.0001 mm, more than 1 mm apart")
        << 0;
    QTest::newRow("position not a number")
        << TCurves{{{std::numeric_limits<double>::quiet_NaN(), 0.0}}} << TCurves{{{0.0, 0.0}}}
        << TComparison::PROBLEM_POSITION
        << QStringLiteral("point 1 of curve 1 lies at nan mm and 0.0000 mm, more than 1 mm apart") << 0;
    QTest::newRow("no points") << TCurves{{}, {}} << TCurves{{}, {}} << TComparison::PROBLEM_NO_POINTS
                               << QStringLiteral("the runs have no points to compare") << 0;
    QTest::newRow("no curves") << TCurves{} << TCurves{} << TComparison::PROBLEM_NO_POINTS
                               << QStringLiteral("the runs have no points to compare") << 0;
}

void TestComparison::curves()
{
    QFETCH(TCurves, a);
    QFETCH(TCurves, b);
    QFETCH(TComparison::TProblemType, problem);
    QFETCH(QString, reason);
    QFETCH(int, rows);

    const TComparison comparison = Comparison::Compare_Curves(a, b);
    QCOMPARE(comparison.problem, problem);
    QCOMPARE(comparison.reason, reason);
    QCOMPARE(static_cast<int>(comparison.rows.size()), rows);
    if (rows > 0)
    {
        // Positions are A's; the curve numbers count from 1.
        const TComparisonRow &last = comparison.rows.back();
        QCOMPARE(last.curve, static_cast<int>(a.size()));
        QCOMPARE(last.position, a.back().back().x);
        QCOMPARE(last.b, b.back().back().y);
    }
}

void TestComparison::table_data()
{
    QTest::addColumn<TCurves>("a");
    QTest::addColumn<TCurves>("b");
    QTest::addColumn<QStringList>("rows"); // the table's rows and its last line

    // -0.00126 and -0.00094 print as -0.0013 and -0.0009, but differ by 0.00032.
    QTest::newRow("difference of unrounded values")
        << TCurves{{{200.0, -0.00126}, {400.0, 0.0}}} << TCurves{{{200.2, -0.00094}, {400.0, 0.0001}}}
        << QStringList{QStringLiteral("    1    200.0000     -0.0013     -0.0009      0.0003"),
                       QStringLiteral("    1    400.0000      0.0000      0.0001      0.0001"),
                       QStringLiteral("Largest change: 0.0003 mm at 200.0000 mm (curve 1)")};
    QTest::newRow("largest change is the largest magnitude, first of equals, sign kept")
        << TCurves{{{0.0, 0.001}}, {{0.0, 0.0}, {1500.0, 0.002}, {1600.0, 0.0}}}
        << TCurves{{{0.0, 0.0035}}, {{0.0, 0.0}, {1500.0, -0.0005}, {1600.0, 0.0025}}}
        << QStringList{QStringLiteral("    1      0.0000      0.0010      0.0035      0.0025"),
                       QStringLiteral("    2      0.0000      0.0000      0.0000      0.0000"),
                       QStringLiteral("    2   1500.0000      0.0020     -0.0005     -0.0025"),
                       QStringLiteral("    2   1600.0000      0.0000      0.0025      0.0025"),
                       QStringLiteral("Largest change: 0.0025 mm at 0.0000 mm (curve 1)")};
    QTest::newRow("a number wider than its column stays apart")
        << TCurves{{{-12345678.0, 0.0}}} << TCurves{{{-12345678.5, 0.0}}}
        << QStringList{QStringLiteral("    1 -12345678.0000      0.0000      0.0000      0.0000"),
                       QStringLiteral("Largest change: 0.0000 mm at -12345678.0000 mm (curve 1)")};
}

void TestComparison::table()
{
    QFETCH(TCurves, a);
    QFETCH(TCurves, b);
    QFETCH(QStringList, rows);

    const TComparison comparison = Comparison::Compare_Curves(a, b);
    QVERIFY2(comparison.Comparable(), qPrintable(comparison.reason));
    const QString last = rows.takeLast();
    QCOMPARE(Comparison::Table(comparison, QStringLiteral("runs/a.dat"), QStringLiteral("b")),
             QStringList({"Comparison of deviations in mm", "  A: runs/a.dat", "  B: b", QString(),
                          "Curve    Position           A           B       B - A"}) +
                 rows + QStringList({QString(), last}));
}

// Runs as loaded: the reasons of the load itself. The kinds' reasons are the report tool's and the window's.
void TestComparison::loads()
{
    const TMeasurementLoad before = MeasurementLoad::Load_Contents(
        Pmove_File({{0.0, 0.0002}, {100.0, -0.0011}, {200.0, 0.0004}}), nullptr);
    const TMeasurementLoad after =
        MeasurementLoad::Load_Contents(Pmove_File({{0.0, 0.0}, {100.0, -0.0003}, {200.0, 0.0}}), nullptr);
    QVERIFY(before.Succeeded() && after.Succeeded());
    TComparison comparison =
        Comparison::Compare(QStringLiteral("a.dat"), before, QStringLiteral("b.dat"), after);
    QVERIFY2(comparison.Comparable(), qPrintable(comparison.reason));
    QCOMPARE(Comparison::Table(comparison, QStringLiteral("a.dat"), QStringLiteral("b.dat")).constLast(),
             QStringLiteral("Largest change: 0.0008 mm at 100.0000 mm (curve 1)"));

    const TMeasurementLoad broken = MeasurementLoad::Load_Contents("not a measurement file at all, but long "
                                                                   "enough to be read as one",
                                                                   nullptr);
    comparison = Comparison::Compare(QStringLiteral("a.dat"), before, QStringLiteral("b.dat"), broken);
    QCOMPARE(comparison.problem, TComparison::PROBLEM_LOAD_FAILED);
    QVERIFY2(comparison.reason.startsWith(QLatin1String("'b.dat' did not load: ")) &&
                 comparison.reason.size() > 22 && !comparison.reason.contains(QLatin1String("ERR")),
             qPrintable(comparison.reason));
}

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
