// Regression, least-squares curves, the linear solver and piecewise linear interpolation, with the
// outputs each leaves on a failure and the preconditions that stop the program.

#include "interpolation.h"
#include "test_support.h"

#include <QtTest>

using TPoints = std::vector<TVector2>;
using TValues = std::vector<double>;
Q_DECLARE_METATYPE(TPoints)
Q_DECLARE_METATYPE(TValues)

namespace
{
const TPoints TWO = {{0, 0}, {1, 1}};
double g = 0;

// Points of the polynomial with the given coefficients (highest power first) at x = -2, -1.5, ..., 3.
TPoints Polynomial(const TValues &coefficients)
{
    TPoints points;
    for (double x = -2; x <= 3; x += 0.5)
    {
        double y = 0;
        for (const double c : coefficients)
            y = y * x + c;
        points.emplace_back(x, y);
    }
    return points;
}

struct TFitRow
{
    QString routine;
    TPoints points;
    double x;
    bool ok;
    TValues expected;
};
} // namespace

Q_DECLARE_METATYPE(TFitRow)

class TTestInterpolation : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Fits_data()
    {
        // Every output starts at 7: a failure leaves it there ("untouched") or sets it to 0, as each routine
        // says.
        QTest::addColumn<TFitRow>("row");

        const auto row = [](const char *routine, const char *name, const TPoints &points, bool ok,
                            const TValues &expected, double x = 0.0) {
            QTest::addRow("%s: %s", routine, name)
                << TFitRow{QString::fromLatin1(routine), points, x, ok, expected};
        };
        row("line", "exact", {{0, 1}, {1, 3}, {2, 5}}, true, {2, 1});
        row("line", "scattered", {{1, 2}, {2, 3}, {3, 5}, {4, 4}}, true, {0.8, 1.5});
        row("line", "one point", {{3, 4}}, false, {7, 7});
        row("line", "all x equal", {{0.1, 1}, {0.1, 2}, {0.1, 4}}, false, {7, 7});
        row("line", "sums overflow", {{1e200, 1e200}, {-1e200, 0}}, false, {7, 7});

        row("zero", "steep falls back to the line fit", {{1, 2}, {2, 4}}, true, {2});
        row("zero", "mirrored through zero", {{1, 0.5}, {-1, -0.5}}, true, {0.5});
        row("zero", "shallow mean", {{2, 0.2}, {4, 0.6}}, true, {0.4 / 3.0});
        row("zero", "a point at x zero is mirrored", {{0, 1}, {2, 1}}, true, {0});
        row("zero", "mean x below 1e-6 falls back", {{1e-7, 0}, {1e-7, 0}}, false, {0});
        row("zero", "no points", {}, false, {0});
        row("zero", "all at x zero", {{0, 1}, {0, 2}}, false, {0});

        row("endfit", "ends only", {{0, 1}, {5, 9}, {10, 3}}, true, {0.2});
        row("endfit", "one point", {{0, 1}}, false, {0});
        row("endfit", "ends too close", {{0, 1}, {5, 2}, {0.0000005, 3}}, false, {0});

        row("quadratic", "exact", Polynomial({2, -3, 1}), true, {2, -3, 1});
        row("quadratic", "least squares", {{0, 0}, {1, 1}, {2, 1}, {3, 0}}, true, {-0.5, 1.5, 0});
        row("quadratic", "two points", TWO, false, {7, 7, 7});
        row("quadratic", "two distinct x", {{0, 0}, {1, 1}, {1, 2}}, false, {7, 7, 7});
        row("cubic", "exact", Polynomial({1, -2, 0.5, 4}), true, {1, -2, 0.5, 4});
        row("cubic", "three points", {{0, 0}, {1, 1}, {2, 8}}, false, {0, 0, 0, 0});
        row("cubic", "three distinct x", {{0, 0}, {1, 1}, {2, 8}, {2, 9}, {1, 2}}, false, {0, 0, 0, 0});
        row("quartic", "exact", Polynomial({0.25, -1, 0, 3, -1}), true, {0.25, -1, 0, 3, -1});
        row("quartic", "four points", {{0, 0}, {1, 1}, {2, 8}, {3, 27}}, false, {0, 0, 0, 0, 0});
        row("quartic", "four distinct x", {{0, 0}, {1, 1}, {2, 8}, {3, 27}, {3, 28}, {0, 1}}, false,
            {0, 0, 0, 0, 0});

        // Piecewise linear in list order; beyond the ends the end segments are extended.
        const TPoints bent = {{0, 0}, {5, 10}, {10, 0}};
        const TPoints step = {{0, 0}, {5, 5}, {5, 7}, {10, 12}};
        row("value", "at the first point", bent, true, {0}, 0);
        row("value", "second segment", bent, true, {5}, 7.5);
        row("value", "joint belongs to the first segment", bent, true, {10}, 5);
        row("value", "past the end", bent, true, {-4}, 12);
        row("value", "before the start", bent, true, {-2}, -1);
        row("value", "descending list", {{10, 1}, {0, 3}}, true, {2}, 5);
        row("value", "vertical step at a joint", step, true, {5}, 5);
        row("value", "after a vertical step", step, true, {9}, 7);
        row("value", "backtracking takes the first segment", {{0, 0}, {2, 4}, {1, 0}, {10, 10}}, true, {3},
            1.5);
        row("value", "one point", {{1, 1}}, false, {0}, 1);
        row("value", "ends share x", {{0, 0}, {5, 5}, {0, 9}}, false, {0}, 1);
        row("value", "zero-length first segment", {{0, 0}, {0, 5}, {10, 10}}, false, {0}, -1);
        row("value", "zero-length last segment", {{0, 0}, {10, 5}, {10, 10}}, false, {0}, 11);
    }

    void Fits()
    {
        QFETCH(TFitRow, row);
        const QString &routine = row.routine;
        const TPoints &points = row.points;
        const TValues &expected = row.expected;
        const bool ok = row.ok;

        double r[5] = {7, 7, 7, 7, 7};
        bool result = false;
        if (routine == QLatin1String("line"))
        {
            result = Regression::Fit_Line(points, &r[0], &r[1]);
            double slope_only = 7;
            QCOMPARE(Regression::Fit_Line(points, &slope_only, nullptr), ok);
            QCOMPARE(slope_only, r[0]);
        }
        else if (routine == QLatin1String("zero"))
            result = Regression::Get_Slope_Through_Zero(points, &r[0]);
        else if (routine == QLatin1String("endfit"))
            result = Regression::Get_Endfit_Slope(points, &r[0]);
        else if (routine == QLatin1String("quadratic"))
            result = LeastSquares::Fit_Curve(points, &r[0], &r[1], &r[2]);
        else if (routine == QLatin1String("cubic"))
            result = LeastSquares::Fit_Curve(points, &r[0], &r[1], &r[2], &r[3]);
        else if (routine == QLatin1String("quartic"))
            result = LeastSquares::Fit_Curve(points, &r[0], &r[1], &r[2], &r[3], &r[4]);
        else
            result = Extrapolation::Get_Value(points, row.x, &r[0]);
        QCOMPARE(result, ok);
        for (size_t k = 0; k < expected.size(); ++k)
            QVERIFY2(qAbs(r[k] - expected[k]) < 1e-9,
                     qPrintable(QStringLiteral("%1: %2").arg(k).arg(r[k], 0, 'g', 17)));
    }

    void Solve_Mat_data()
    {
        QTest::addColumn<TValues>("matrix");
        QTest::addColumn<TValues>("solution"); // empty: no solution
        QTest::newRow("pivot needs a row swap") << TValues{0, 1, 2, 1, 0, 3} << TValues{3, 2};
        QTest::newRow("singular") << TValues{0, 1, 2, 0, 1, 3} << TValues{};
        // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3
        QTest::newRow("three unknowns")
            << TValues{2, 1, -1, 8, -3, -1, 2, -11, -2, 1, 2, -3} << TValues{2, 3, -1};
        QTest::newRow("pivot vanishes after elimination")
            << TValues{1, 1, 1, 3, 1, 1, 2, 4, 2, 2, 5, 9} << TValues{};
    }

    void Solve_Mat()
    {
        QFETCH(TValues, matrix);
        QFETCH(TValues, solution);
        const int rows = matrix.size() == 6 ? 2 : 3;
        TValues result(3, 0.0);
        QCOMPARE(::Solve_Mat(rows, rows + 1, matrix.data(), result.data()), !solution.empty());
        for (size_t k = 0; k < solution.size(); ++k)
            QVERIFY2(qAbs(result[k] - solution[k]) < 1e-12, qPrintable(QString::number(result[k])));
    }

    void Value_3D()
    {
        // Each form takes its own component as abscissa and interpolates the other two.
        const std::vector<TVector3> points = {TVector3(0, 0, 0), TVector3(10, 20, 30), TVector3(20, 20, 60)};
        double first = 7;
        double second = 7;
        QVERIFY(Extrapolation::Get_Value_XY(points, 15.0, &first, &second));
        QCOMPARE(QPointF(first, second), QPointF(5, 10));
        QVERIFY(Extrapolation::Get_Value_YZ(points, 15.0, &first, &second));
        QCOMPARE(QPointF(first, second), QPointF(20, 45));
        // y runs 0, 20, 20: the first segment holds y = 10.
        QVERIFY(Extrapolation::Get_Value_ZX(points, 10.0, &first, &second));
        QCOMPARE(QPointF(first, second), QPointF(5, 15));
        QVERIFY(!Extrapolation::Get_Value_XY({TVector3(1, 2, 3)}, 3.0, &first, &second));
        QCOMPARE(QPointF(first, second), QPointF(0, 0));
    }

    void Null_Outputs()
    {
        const TChildRun runs[] = {
            {[] { Regression::Fit_Line(TWO, nullptr, nullptr); }, true},
            {[] { Regression::Fit_Line(TWO, &g, nullptr); }, false},
            {[] { Regression::Get_Slope_Through_Zero(TWO, nullptr); }, true},
            {[] { Regression::Get_Endfit_Slope(TWO, nullptr); }, true},
            {[] { LeastSquares::Fit_Curve(TWO, &g, nullptr, &g); }, true},
            {[] { LeastSquares::Fit_Curve({}, &g, &g, &g, nullptr); }, true},
            {[] { LeastSquares::Fit_Curve({}, &g, &g, &g, &g, nullptr); }, true},
            {[] { Extrapolation::Get_Value(TWO, 0.5, nullptr); }, true},
            {[] { Extrapolation::Get_Value_XY({}, 0.0, &g, nullptr); }, true},
            {[] { Extrapolation::Get_Value_ZX({}, 0.0, nullptr, &g); }, true},
        };
        for (const TChildRun &run : runs)
            QCOMPARE(Child_Outcome(run.action), Expected_Outcome(run));
    }
};

QTEST_APPLESS_MAIN(TTestInterpolation)
#include "tst_interpolation.moc"
