// Vectors and the 4x4 matrix: arithmetic, the point-in-triangle test, matrix operations and the
// preconditions that stop the program.

#include "geometry_text.h"
#include "test_support.h"

#include <QtTest>

#include <limits>

namespace
{
const double EPSILON = std::numeric_limits<double>::epsilon();
volatile double g_sink = 0.0; // keeps calls made only for their assertion from being optimised away

template <class... TValue> QString Texts(const TValue &...values)
{
    return QStringList{Text(values)...}.join(QLatin1String(" | "));
}

TMat4 Translation(const TVector3 &t)
{
    TMat4 m;
    m[3] = t.x;
    m[7] = t.y;
    m[11] = t.z;
    return m;
}
} // namespace

class TTestVector : public QObject
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
        // Triangle a = (1, 1), b = (5, 1), c = (1, 5): the edges a-b and a-c are outside, b-c is inside.
        const TVector2 a(1, 1), b(5, 1), c(1, 5);
        const TVector2 inside[] = {{2, 2}, {3, 3}};
        const TVector2 outside[] = {{1, 1}, {3, 1}, {1, 3}, {3.01, 3}, {0.5, 2}, {2, 0.5}, {-10, -10}};
        for (const TVector2 &p : inside)
        {
            QVERIFY2(TVector2::Is_Point_In_Triangle(p, a, b, c), qPrintable(Text(p)));
            QVERIFY2(TVector2::Is_Point_In_Triangle(p, a, c, b), qPrintable(Text(p)));
            QVERIFY(!TVector2::Is_Point_In_Triangle(p, a, b, TVector2(3, 1))); // no area holds nothing
        }
        for (const TVector2 &p : outside)
        {
            QVERIFY2(!TVector2::Is_Point_In_Triangle(p, a, b, c), qPrintable(Text(p)));
            QVERIFY2(!TVector2::Is_Point_In_Triangle(p, a, c, b), qPrintable(Text(p)));
        }
    }

    void Matrix()
    {
        TMat4 m;
        QCOMPARE(Text(m), QStringLiteral("1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"));
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
        QCOMPARE(Text(m), Text(TMat4()));

        // a translates by (1, 2, 3), b scales x by 2: a * b is b applied after a.
        const TMat4 a = Translation(TVector3(1, 2, 3));
        TMat4 b;
        b[0] = 2;
        QCOMPARE(Texts((a * b) * TVector3(1, 1, 1), (b * a) * TVector3(1, 1, 1)),
                 QStringLiteral("4 3 4 | 3 3 4"));
        QCOMPARE(Text(TMat4(a) *= b), Text(a * b));

        // Rodrigues' rotation by the negated angle (x goes to -y about z), applied on top of what the
        // matrix holds: a translation turns too.
        const TVector3 k = TVector3(1, 2, 3) / std::sqrt(14.0);
        const TVector3 point(0.3, -1, 2);
        const double angle = 0.7;
        const TVector3 expected = point * std::cos(angle) - (k * point) * std::sin(angle) +
                                  k * ((k ^ point) * (1 - std::cos(angle)));
        TMat4 shifted = Translation(point);
        shifted.Rotate(k, angle);
        QCOMPARE(Text(shifted * TVector3()), Text(expected));
    }

    void Preconditions()
    {
        const TChildRun runs[] = {
            {[] { g_sink = TVector2()(2); }, true},
            {[] { g_sink = TVector3()(3); }, true},
            {[] { g_sink = TVector3()(2); }, false},
            {[] { g_sink = TVector2().Normal().x; }, true},
            {[] { g_sink = TVector3(EPSILON, 0, 0).Normal().x; }, true},
            {[] { g_sink = TVector3(2 * EPSILON, 0, 0).Normal().x; }, false},
            {[] { g_sink = (TVector2(1, 1) / -2.0).x; }, true},
            {[] { g_sink = (TVector3(1, 1, 1) / -2.0).x; }, true},
            {[] { g_sink = (TVector3(1, 1, 1) / (2 * EPSILON)).x; }, false},
        };
        for (const TChildRun &run : runs)
            QCOMPARE(Child_Outcome(run.action), Expected_Outcome(run));
    }
};

QTEST_APPLESS_MAIN(TTestVector)
#include "tst_vector.moc"
