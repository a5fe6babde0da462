// Vectors, the 4x4 matrix, the reference system, regression, least-squares curves, the linear solver and
// piecewise linear interpolation, with the outputs each leaves on a failure and the preconditions that
// stop the program.

#include "geometry/interpolation.h"
#include "geometry/mat4.h"
#include "geometry/referencesystem.h"
#include "tests/common/test_support.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace
{
// Rounded to 1e-9, so that rounding noise and -0 compare equal to the exact value.
QString Text(std::initializer_list<double> values)
{
    QStringList parts;
    for (const double value : values)
        parts << QString::number(std::round(value * 1e9) / 1e9 + 0.0, 'g', 12);
    return parts.join(QLatin1Char(' '));
}

QString Text(const TVector2 &v)
{
    return Text({v.x, v.y});
}

QString Text(const TVector3 &v)
{
    return Text({v.x, v.y, v.z});
}

QString Text(const TMat4 &m)
{
    return Text({m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], m[12], m[13],
                 m[14], m[15]});
}

const double EPSILON = std::numeric_limits<double>::epsilon();
volatile double g_sink = 0.0; // keeps calls made only for their assertion from being optimised away

template <class... TValue> QString Texts(const TValue &...values)
{
    return QStringList{Text(values)...}.join(QLatin1String(" | "));
}

using TRs = TReferenceSystem;
const double PI = std::acos(-1.0);
const QString IDENTITY = QStringLiteral("1 0 0 | 0 1 0 | 0 0 1");

TVector3 Row(const TRs &system, int row)
{
    const TMat4 &m = system.Rotation();
    return TVector3(m[4 * row], m[4 * row + 1], m[4 * row + 2]);
}

QString Rows(const TRs &system)
{
    return Texts(Row(system, 0), Row(system, 1), Row(system, 2));
}

// Empty when the inverse is the transpose and the rows are a right-handed orthonormal set.
QByteArray Consistency_Fault(const TRs &system)
{
    TMat4 transposed = system.Rotation();
    transposed.Transpose();
    if (Text(system.Inverse_Rotation()) != Text(transposed))
        return "inverse is not the transpose";
    if (Text(system.Rotation() * transposed) != Text(TMat4()))
        return "rows are not orthonormal";
    if (Text(Row(system, 0) * Row(system, 1)) != Text(Row(system, 2)))
        return "rows are not right-handed";
    return QByteArray();
}

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

class TTestGeometry : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Arithmetic()
    {
        TVector2 v(3, -4);
        const TVector2 w(0.5, 2);
        TVector3 p(1, 2, 3);
        const TVector3 q(4, 5, 6);
        QCOMPARE(QPointF(v ^ w, p ^ q), QPointF(-6.5, 32));
        QCOMPARE(
            Texts(v * 2.0, 2.0 * v, v + w, v + 1.0, 1.0 + v, v - w, v - 1.0, v / 2.0, TVector2(v).Normal()),
            QStringLiteral("6 -8 | 6 -8 | 3.5 -2 | 4 -3 | 4 -3 | 2.5 -6 | 2 -5 | 1.5 -2 | 0.6 -0.8"));
        QCOMPARE(Texts(p * 2.0, 2.0 * p, p + q, p + 1.0, 1.0 + p, p - q, p - 1.0, p / 4.0),
                 QStringLiteral("2 4 6 | 2 4 6 | 5 7 9 | 2 3 4 | 2 3 4 | -3 -3 -3 | 0 1 2 | 0.25 0.5 0.75"));
        // Cross products, and a normal of length 3.
        QCOMPARE(Texts(p * q, TVector3(p) *= q, TVector3(2, -1, 2).Normal() * 3.0),
                 QStringLiteral("-3 6 -3 | -3 6 -3 | 2 -1 2"));
        v(1) = 6;
        p(2) = 7;
        QCOMPARE(Texts(v, p), QStringLiteral("3 6 | 1 2 7"));
    }

    void Point_In_Triangle()
    {
        // Triangle a = (1, 1), b = (5, 1), c = (1, 5): the edges a-b and a-c are outside, b-c is inside. The
        // first two points are inside; a triangle without area holds nothing.
        const TVector2 a(1, 1), b(5, 1), c(1, 5);
        const TVector2 points[] = {{2, 2}, {3, 3}, {1, 1}, {3, 1}, {1, 3}, {3.01, 3}, {0.5, 2}, {2, 0.5}};
        for (int i = 0; i < 8; ++i)
        {
            QCOMPARE(TVector2::Is_Point_In_Triangle(points[i], a, b, c), i < 2);
            QCOMPARE(TVector2::Is_Point_In_Triangle(points[i], a, c, b), i < 2);
            QVERIFY(!TVector2::Is_Point_In_Triangle(points[i], a, b, TVector2(3, 1)));
        }
    }

    void Matrix()
    {
        TMat4 m;
        const double values[16] = {1, 2, 3, 10, 4, 5, 6, 20, 7, 8, 9, 30, 100, 200, 300, 400};
        m.Set(values);
        QCOMPARE(Text(m * TVector3(1, 0, -1)), QStringLiteral("8 18 28")); // row 3 takes no part
        m.Transpose();
        QCOMPARE(Text(m), QStringLiteral("1 4 7 100 2 5 8 200 3 6 9 300 10 20 30 400"));
        m.Transpose();
        // Rows 0 to 2 become unit vectors; the translation column and row 3 stay.
        m.Normal();
        QCOMPARE(Texts(TVector3(m[0], m[1], m[2]) * std::sqrt(14.0),
                       TVector3(m[4], m[5], m[6]) * std::sqrt(77.0),
                       TVector3(m[8], m[9], m[10]) * std::sqrt(194.0)),
                 QStringLiteral("1 2 3 | 4 5 6 | 7 8 9"));
        QCOMPARE(Text({m[3], m[7], m[11], m[12], m[15]}), QStringLiteral("10 20 30 100 400"));
        m.Identity();
        QCOMPARE(Text(m), QStringLiteral("1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"));

        // a translates by (1, 2, 3), b scales x by 2: a * b is b applied after a.
        TMat4 a, b;
        a[3] = 1;
        a[7] = b[0] = 2;
        a[11] = 3;
        QCOMPARE(Texts((a * b) * TVector3(1, 1, 1), (b * a) * TVector3(1, 1, 1)),
                 QStringLiteral("4 3 4 | 3 3 4"));
        QCOMPARE(Text(TMat4(a) *= b), Text(a * b));

        // Rodrigues' rotation by the negated angle (x goes to -y about z), applied on top of what the
        // matrix holds: a's translation turns too.
        const TVector3 k = TVector3(3, -1, 2) / std::sqrt(14.0), point(1, 2, 3);
        const double angle = 0.7;
        const TVector3 expected = point * std::cos(angle) - (k * point) * std::sin(angle) +
                                  k * ((k ^ point) * (1 - std::cos(angle)));
        TMat4 turned(a);
        turned.Rotate(k, angle);
        QCOMPARE(Text(turned * TVector3()), Text(expected));
    }

    void Alignments()
    {
        // Each from the machine system; h is the square root of one half. A direction along the fixed
        // axis of Skew2, or no direction, leaves the system alone.
        const struct
        {
            void (*align)(TRs &);
            QString rows;
        } cases[] = {
            {[](TRs &s) { s.Skew1(TVector3(0, 0, 2), TRs::ZPLUS); }, IDENTITY},
            {[](TRs &s) { s.Skew1(TVector3(1, 1, 0), TRs::XPLUS); }, "h h 0 | -h h 0 | 0 0 1"},
            {[](TRs &s) { s.Skew1(TVector3(1, 1, 0), TRs::YPLUS); }, "h -h 0 | h h 0 | 0 0 1"},
            {[](TRs &s) { s.Skew1(TVector3(1, 1, 0), TRs::XMINUS); }, "-h -h 0 | -h h 0 | 0 0 -1"},
            {[](TRs &s) { s.Skew1(TVector3(0, 3, 0), TRs::YMINUS); }, "-1 0 0 | 0 -1 0 | 0 0 1"},
            {[](TRs &s) { s.Skew1(TVector3(0, 0, 2), TRs::ZMINUS); }, "1 0 0 | 0 -1 0 | 0 0 -1"},
            {[](TRs &s) { s.Skew1(TVector3(), TRs::XPLUS); }, IDENTITY},
            {[](TRs &s) { s.Skew2(TVector3(0, 0, 5), TRs::XPLUS, TRs::ZPLUS); }, IDENTITY},
            {[](TRs &s) { s.Skew2(TVector3(), TRs::XPLUS, TRs::ZPLUS); }, IDENTITY},
            {[](TRs &s) { s.Rotate(PI / 2, TRs::ZPLUS); }, "0 1 0 | -1 0 0 | 0 0 1"},
        };
        for (const auto &c : cases)
        {
            TRs system;
            c.align(system);
            QCOMPARE(Rows(system), QString(c.rows).replace(QLatin1Char('h'), Text({std::sqrt(0.5)})));
            QCOMPARE(Consistency_Fault(system), QByteArray());
        }
    }

    void Skew2_And_Rotate()
    {
        // From a turned system, for every pair of axes: the fixed row stays, the named axis (with its sense)
        // turns to the part of the direction perpendicular to it, and the rows stay a consistent set.
        TRs start;
        start.Skew1(TVector3(0.2, -0.3, 1), TRs::ZPLUS);
        start.Rotate(0.4, TRs::ZPLUS);
        const TVector3 direction(1, 2, -0.5);
        for (int fixed = TRs::XPLUS; fixed <= TRs::ZMINUS; ++fixed)
        {
            for (int axis = TRs::XPLUS; axis <= TRs::ZMINUS; ++axis)
            {
                if (axis == fixed)
                    continue;
                const QByteArray pair = QByteArray::number(fixed) + " " + QByteArray::number(axis);
                TRs system(start);
                system.Skew2(direction, TRs::TAxis(axis), TRs::TAxis(fixed));
                QVERIFY2(Consistency_Fault(system).isEmpty(), pair);
                const TVector3 f = Row(start, fixed % 3);
                QCOMPARE(Text(Row(system, fixed % 3)), Text(f));
                if (axis % 3 == fixed % 3)
                {
                    QVERIFY2(Rows(system) == Rows(start), pair); // opposite senses of one axis set nothing
                    continue;
                }
                const TVector3 across = direction - f * (direction ^ f);
                const double sense = axis < 3 ? 1.0 : -1.0;
                QVERIFY2(Text(Row(system, axis % 3) * sense) == Text(across / std::sqrt(across ^ across)),
                         pair);
            }
        }
        // Turning back about the same own axis restores the system.
        TRs turned(start);
        turned.Rotate(0.3, TRs::XMINUS);
        QVERIFY(Rows(turned) != Rows(start) && Consistency_Fault(turned).isEmpty());
        turned.Rotate(-0.3, TRs::XPLUS);
        QCOMPARE(Rows(turned), Rows(start));
    }

    void Origin_And_Clear()
    {
        TRs system;
        QStringList origins;
        system.Set_Origin(TVector3(5, 7, 9), TRs::YPLUS);
        origins << Text(system.Origin());
        system.Offset_Origin(2, TRs::ZMINUS); // the row of the axis counts, not its sense
        origins << Text(system.Origin());
        system.Set_Origin(TVector3(-4, 0, 0), TRs::XMINUS);
        origins << Text(system.Origin());
        // On a turned system the origin moves along the turned axis only.
        system.Clear_Alignment();
        system.Skew1(TVector3(1, 1, 0), TRs::XPLUS);
        system.Set_Origin(TVector3(2, 0, 5), TRs::XPLUS);
        origins << Text(system.Origin());
        system.Set_Origin(TVector3(0, 0, 5), TRs::YPLUS);
        origins << Text(system.Origin());
        system.Offset_Origin(std::sqrt(2.0), TRs::YPLUS);
        origins << Text(system.Origin());
        system.Clear_Alignment();
        origins << Text(system.Origin()) << Rows(system);
        QCOMPARE(origins.join(QLatin1String(" / ")),
                 QStringLiteral("0 7 0 / 0 7 2 / -4 7 2 / 1 1 0 / 1 1 0 / 0 2 0 / 0 0 0 / ") + IDENTITY);
        QCOMPARE(Consistency_Fault(system), QByteArray());
    }

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
        // Each form takes its own component as abscissa and interpolates the other two; y = 10 only on
        // the first segment. A failure sets both outputs to zero.
        const std::vector<TVector3> points = {TVector3(0, 0, 0), TVector3(10, 20, 30), TVector3(20, 20, 60)};
        double r[6] = {7, 7, 7, 7, 7, 7};
        QVERIFY(Extrapolation::Get_Value_XY(points, 15.0, &r[0], &r[1]) &&
                Extrapolation::Get_Value_YZ(points, 15.0, &r[2], &r[3]) &&
                Extrapolation::Get_Value_ZX(points, 10.0, &r[4], &r[5]));
        QCOMPARE(Text({r[0], r[1], r[2], r[3], r[4], r[5]}), QStringLiteral("5 10 20 45 5 15"));
        QVERIFY(!Extrapolation::Get_Value_XY({TVector3(1, 2, 3)}, 3.0, &r[0], &r[1]));
        QCOMPARE(QPointF(r[0], r[1]), QPointF(0, 0));
    }

    void Preconditions()
    {
        const TChildRun runs[] = {
            {[] { g_sink = TVector2()(2); }, true},
            {[] { g_sink = TVector3()(2); }, false},
            {[] { g_sink = TVector2().Normal().x; }, true},
            {[] { g_sink = TVector3(EPSILON, 0, 0).Normal().x; }, true},
            {[] { g_sink = TVector3(2 * EPSILON, 0, 0).Normal().x; }, false},
            {[] { g_sink = (TVector2(1, 1) / -2.0).x; }, true},
            {[] { TRs().Skew2(TVector3(1, 1, 0), TRs::YPLUS, TRs::YPLUS); }, true},
            // Missing outputs; only the line's intercept may be left out.
            {[] { Fit_Line(TWO, nullptr, nullptr); }, true},
            {[] { Fit_Line(TWO, &g, nullptr); }, false},
            {[] { Fit_Curve({}, &g, &g, &g, &g, nullptr); }, true},
            {[] { Extrapolation::Get_Value(TWO, 0.5, nullptr); }, true},
        };
        for (const TChildRun &run : runs)
            QCOMPARE(Child_Outcome(run.action), Expected_Outcome(run));
    }
};

QTEST_APPLESS_MAIN(TTestGeometry)
#include "tst_geometry.moc"
