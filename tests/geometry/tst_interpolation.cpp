// Regression, least-squares curves, the linear solver and piecewise linear interpolation, with the
// outputs each leaves on a failure and the preconditions that stop the program.

#include "interpolation.h"
#include "test_support.h"

#include <QtTest>

namespace
{
using TPoints = std::vector<TVector2>;
using TValues = std::vector<double>;
using TFit = bool (*)(const TPoints &, double x, double *out);
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
    TFit fit;
    TPoints points;
    bool ok;
    TValues expected;
    double x;
};

using namespace Regression;
using namespace LeastSquares;
const TFit LINE = [](const TPoints &p, double, double *r) { return Fit_Line(p, &r[0], &r[1]); };
const TFit ZERO = [](const TPoints &p, double, double *r) { return Get_Slope_Through_Zero(p, r); };
const TFit ENDFIT = [](const TPoints &p, double, double *r) { return Get_Endfit_Slope(p, r); };
const TFit QUADRATIC = [](const TPoints &p, double, double *r) { return Fit_Curve(p, r, r + 1, r + 2); };
const TFit CUBIC = [](const TPoints &p, double, double *r) { return Fit_Curve(p, r, r + 1, r + 2, r + 3); };
const TFit QUARTIC = [](const TPoints &p, double, double *r)
{ return Fit_Curve(p, r, r + 1, r + 2, r + 3, r + 4); };
const TFit VALUE = [](const TPoints &p, double x, double *r) { return Extrapolation::Get_Value(p, x, r); };
} // namespace

Q_DECLARE_METATYPE(TFitRow)

class TTestInterpolation : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Fits_data()
    {
        // Every output starts at 7: a failure leaves it there or sets it to 0, as each routine says.
        QTest::addColumn<TFitRow>("row");
        const auto row = [](const char *name, TFit fit, const TPoints &points, bool ok,
                            const TValues &expected, double x = 0.0) {
            QTest::newRow(name) << TFitRow{fit, points, ok, expected, x};
        };
        row("line", LINE, {{1, 2}, {2, 3}, {3, 5}, {4, 4}}, true, {0.8, 1.5});
        row("line: one point", LINE, {{3, 4}}, false, {7, 7});
        row("line: all x equal", LINE, {{0.1, 1}, {0.1, 2}, {0.1, 4}}, false, {7, 7});
        row("line: sums overflow", LINE, {{1e200, 1e200}, {-1e200, 0}}, false, {7, 7});
        row("zero: steep falls back to the line fit", ZERO, {{1, 2}, {2, 4}}, true, {2});
        row("zero: mirrored through zero", ZERO, {{1, 0.5}, {-1, -0.5}}, true, {0.5});
        row("zero: shallow mean", ZERO, {{2, 0.2}, {4, 0.6}}, true, {0.4 / 3.0});
        row("zero: a point at x zero is mirrored", ZERO, {{0, 1}, {2, 1}}, true, {0});
        row("zero: mean x below 1e-6 falls back", ZERO, {{1e-7, 0}, {1e-7, 0}}, false, {0});
        row("zero: no points", ZERO, {}, false, {0});
        row("endfit: ends only", ENDFIT, {{0, 1}, {5, 9}, {10, 3}}, true, {0.2});
        row("endfit: one point", ENDFIT, {{0, 1}}, false, {0});
        row("endfit: ends too close", ENDFIT, {{0, 1}, {5, 2}, {0.0000005, 3}}, false, {0});
        row("quadratic", QUADRATIC, Polynomial({2, -3, 1}), true, {2, -3, 1});
        row("quadratic: least squares", QUADRATIC, {{0, 0}, {1, 1}, {2, 1}, {3, 0}}, true, {-0.5, 1.5, 0});
        row("quadratic: two distinct x", QUADRATIC, {{0, 0}, {1, 1}, {1, 2}}, false, {7, 7, 7});
        row("cubic", CUBIC, Polynomial({1, -2, 0.5, 4}), true, {1, -2, 0.5, 4});
        row("cubic: three distinct x", CUBIC, {{0, 0}, {1, 1}, {2, 8}, {2, 9}, {1, 2}}, false, {0, 0, 0, 0});
        row("quartic", QUARTIC, Polynomial({0.25, -1, 0, 3, -1}), true, {0.25, -1, 0, 3, -1});
        row("quartic: four distinct x", QUARTIC, {{0, 0}, {1, 1}, {2, 8}, {3, 27}, {3, 28}, {0, 1}}, false,
            {0, 0, 0, 0, 0});

        // Piecewise linear in list order; beyond the ends the end segments are extended.
        const TPoints bent = {{0, 0}, {5, 10}, {10, 0}};
        const TPoints step = {{0, 0}, {5, 5}, {5, 7}, {10, 12}};
        row("value: second segment", VALUE, bent, true, {5}, 7.5);
        row("value: joint belongs to the first segment", VALUE, bent, true, {10}, 5);
        row("value: past the end", VALUE, bent, true, {-4}, 12);
        row("value: before the start", VALUE, bent, true, {-2}, -1);
        row("value: descending list", VALUE, {{10, 1}, {0, 3}}, true, {2}, 5);
        row("value: vertical step at a joint", VALUE, step, true, {5}, 5);
        row("value: after a vertical step", VALUE, step, true, {9}, 7);
        row("value: backtracking takes the first segment", VALUE, {{0, 0}, {2, 4}, {1, 0}, {10, 10}}, true,
            {3}, 1.5);
        row("value: one point", VALUE, {{1, 1}}, false, {0}, 1);
        row("value: ends share x", VALUE, {{0, 0}, {5, 5}, {0, 9}}, false, {0}, 1);
        row("value: zero-length first segment", VALUE, {{0, 0}, {0, 5}, {10, 10}}, false, {0}, -1);
        row("value: zero-length last segment", VALUE, {{0, 0}, {10, 5}, {10, 10}}, false, {0}, 11);
    }

    void Fits()
    {
        QFETCH(TFitRow, row);
        double r[5] = {7, 7, 7, 7, 7};
        QCOMPARE(row.fit(row.points, row.x, r), row.ok);
        for (size_t k = 0; k < row.expected.size(); ++k)
            QVERIFY2(qAbs(r[k] - row.expected[k]) < 1e-9, qPrintable(QString::number(r[k], 'g', 17)));
    }

    void Solve_Mat()
    {
        const struct
        {
            int rows;
            TValues matrix;
            TValues solution; // empty: no solution
        } cases[] = {
            {2, {0, 1, 2, 1, 0, 3}, {3, 2}}, // the pivot needs a row swap
            {2, {0, 1, 2, 0, 1, 3}, {}},
            {3, {2, 1, -1, 8, -3, -1, 2, -11, -2, 1, 2, -3}, {2, 3, -1}},
            {3, {1, 1, 1, 3, 1, 1, 2, 4, 2, 2, 5, 9}, {}}, // the pivot vanishes after elimination
        };
        for (auto c : cases)
        {
            TValues result(3, 0.0);
            QCOMPARE(::Solve_Mat(c.rows, c.rows + 1, c.matrix.data(), result.data()), !c.solution.empty());
            for (size_t k = 0; k < c.solution.size(); ++k)
                QVERIFY2(qAbs(result[k] - c.solution[k]) < 1e-12, qPrintable(QString::number(result[k])));
        }
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
        QVERIFY(
            Extrapolation::Get_Value_ZX(points, 10.0, &first, &second)); // y = 10 only on the first segment
        QCOMPARE(QPointF(first, second), QPointF(5, 15));
        QVERIFY(!Extrapolation::Get_Value_XY({TVector3(1, 2, 3)}, 3.0, &first, &second));
        QCOMPARE(QPointF(first, second), QPointF(0, 0));
    }

    void Null_Outputs()
    {
        const TChildRun runs[] = {
            {[] { Fit_Line(TWO, nullptr, nullptr); }, true},
            {[] { Fit_Line(TWO, &g, nullptr); }, false},
            {[] { Get_Slope_Through_Zero(TWO, nullptr); }, true},
            {[] { Get_Endfit_Slope(TWO, nullptr); }, true},
            {[] { Fit_Curve({}, &g, &g, &g, &g, nullptr); }, true},
            {[] { Extrapolation::Get_Value(TWO, 0.5, nullptr); }, true},
            {[] { Extrapolation::Get_Value_XY({}, 0.0, &g, nullptr); }, true},
        };
        for (const TChildRun &run : runs)
            QCOMPARE(Child_Outcome(run.action), Expected_Outcome(run));
    }
};

QTEST_APPLESS_MAIN(TTestInterpolation)
#include "tst_interpolation.moc"
