#include "childprocess.h"
#include "mat4.h"
#include "vector2.h"
#include "vector3.h"

#include <QtTest>

#include <cmath>
#include <limits>

typedef void (*TAction)();
Q_DECLARE_METATYPE(TAction)
Q_DECLARE_METATYPE(TVector2)
Q_DECLARE_METATYPE(TVector3)

namespace
{
const double EPSILON = std::numeric_limits<double>::epsilon();
const double PI = std::acos(-1.0);

bool Near(const TVector3 &a, const TVector3 &b)
{
    return std::fabs(a.x - b.x) < 1e-12 && std::fabs(a.y - b.y) < 1e-12 && std::fabs(a.z - b.z) < 1e-12;
}

QByteArray Text(const TVector3 &v)
{
    return QByteArray::number(v.x) + ", " + QByteArray::number(v.y) + ", " + QByteArray::number(v.z);
}

// Keeps results of calls made only for their assertion from being optimised away.
volatile double g_sink = 0.0;
} // namespace

#define COMPARE_V3(actual, expected)                                                                         \
    QVERIFY2(Near((actual), (expected)), Text(actual) + " != " + Text(expected))

class TTestVector : public QObject
{
    Q_OBJECT

  private slots:
    void vector2_arithmetic();
    void vector3_arithmetic();
    void cross_product_data();
    void cross_product();
    void point_in_triangle_data();
    void point_in_triangle();
    void matrix_basics();
    void matrix_product_order();
    void matrix_rotation_data();
    void matrix_rotation();
    void assertion_texts_data();
    void assertion_texts();
};

void TTestVector::vector2_arithmetic()
{
    TVector2 v(3.0, -4.0);
    const TVector2 w(0.5, 2.0);
    QCOMPARE(TVector2()(0), 0.0);
    QCOMPARE(TVector2()(1), 0.0);
    v(0) = 6.0;
    QCOMPARE(v.x, 6.0);
    QCOMPARE(w(1), 2.0);
    v = TVector2(3.0, -4.0);

    QCOMPARE(v ^ w, -6.5);
    QCOMPARE((v * 2.0).y, -8.0);
    QCOMPARE((2.0 * v).x, 6.0);
    QCOMPARE((v + w).x, 3.5);
    QCOMPARE((v + w).y, -2.0);
    QCOMPARE((v + 1.0).y, -3.0);
    QCOMPARE((1.0 + v).x, 4.0);
    QCOMPARE((v - w).x, 2.5);
    QCOMPARE((v - w).y, -6.0);
    QCOMPARE((v - 1.0).x, 2.0);
    QCOMPARE((v / 2.0).y, -2.0);

    TVector2 &normal = v.Normal();
    QCOMPARE(&normal, &v);
    QCOMPARE(v.x, 0.6);
    QCOMPARE(v.y, -0.8);
}

void TTestVector::vector3_arithmetic()
{
    TVector3 v(1.0, -2.0, 2.0);
    const TVector3 w(3.0, 0.5, -1.0);
    QCOMPARE(TVector3()(2), 0.0);
    v(2) = 5.0;
    QCOMPARE(v.z, 5.0);
    QCOMPARE(w(0), 3.0);
    QCOMPARE(w(1), 0.5);
    v = TVector3(1.0, -2.0, 2.0);

    QCOMPARE(v ^ w, 0.0);
    COMPARE_V3(v * 2.0, TVector3(2.0, -4.0, 4.0));
    COMPARE_V3(2.0 * v, TVector3(2.0, -4.0, 4.0));
    COMPARE_V3(v + w, TVector3(4.0, -1.5, 1.0));
    COMPARE_V3(v + 1.0, TVector3(2.0, -1.0, 3.0));
    COMPARE_V3(1.0 + v, TVector3(2.0, -1.0, 3.0));
    COMPARE_V3(v - w, TVector3(-2.0, -2.5, 3.0));
    COMPARE_V3(v - 1.0, TVector3(0.0, -3.0, 1.0));
    COMPARE_V3(v / 4.0, TVector3(0.25, -0.5, 0.5));
    COMPARE_V3(v.Normal(), TVector3(1.0 / 3.0, -2.0 / 3.0, 2.0 / 3.0));
}

void TTestVector::cross_product_data()
{
    QTest::addColumn<TVector3>("a");
    QTest::addColumn<TVector3>("b");
    QTest::addColumn<TVector3>("expected");
    QTest::newRow("x*y") << TVector3(1, 0, 0) << TVector3(0, 1, 0) << TVector3(0, 0, 1);
    QTest::newRow("y*z") << TVector3(0, 1, 0) << TVector3(0, 0, 1) << TVector3(1, 0, 0);
    QTest::newRow("z*x") << TVector3(0, 0, 1) << TVector3(1, 0, 0) << TVector3(0, 1, 0);
    QTest::newRow("y*x") << TVector3(0, 1, 0) << TVector3(1, 0, 0) << TVector3(0, 0, -1);
    QTest::newRow("general") << TVector3(1, 2, 3) << TVector3(4, 5, 6) << TVector3(-3, 6, -3);
    QTest::newRow("parallel") << TVector3(1, 2, 3) << TVector3(-2, -4, -6) << TVector3(0, 0, 0);
}

void TTestVector::cross_product()
{
    QFETCH(TVector3, a);
    QFETCH(TVector3, b);
    QFETCH(TVector3, expected);
    COMPARE_V3(a * b, expected);
    TVector3 in_place(a);
    in_place *= b;
    COMPARE_V3(in_place, expected);
}

void TTestVector::point_in_triangle_data()
{
    QTest::addColumn<TVector2>("p");
    QTest::addColumn<bool>("inside");
    // Triangle a = (1, 1), b = (5, 1), c = (1, 5).
    QTest::newRow("interior") << TVector2(2, 2) << true;
    QTest::newRow("vertex a") << TVector2(1, 1) << false;
    QTest::newRow("vertex b") << TVector2(5, 1) << false;
    QTest::newRow("vertex c") << TVector2(1, 5) << false;
    QTest::newRow("edge a-b") << TVector2(3, 1) << false;
    QTest::newRow("edge a-c") << TVector2(1, 3) << false;
    QTest::newRow("edge b-c") << TVector2(3, 3) << true;
    QTest::newRow("beyond b-c") << TVector2(3.01, 3) << false;
    QTest::newRow("left of a-c") << TVector2(0.5, 2) << false;
    QTest::newRow("below a-b") << TVector2(2, 0.5) << false;
    QTest::newRow("far away") << TVector2(-10, -10) << false;
}

void TTestVector::point_in_triangle()
{
    QFETCH(TVector2, p);
    QFETCH(bool, inside);
    const TVector2 a(1, 1), b(5, 1), c(1, 5);
    QCOMPARE(TVector2::Is_Point_In_Triangle(p, a, b, c), inside);
    QCOMPARE(TVector2::Is_Point_In_Triangle(p, a, c, b), inside);
    // A triangle without area holds nothing.
    QCOMPARE(TVector2::Is_Point_In_Triangle(p, a, b, TVector2(3, 1)), false);
}

void TTestVector::matrix_basics()
{
    const TMat4 identity;
    for (int i = 0; i < 16; ++i)
    {
        QCOMPARE(identity[i], (i == 0 || i == 5 || i == 10 || i == 15) ? 1.0 : 0.0);
    }
    COMPARE_V3(identity * TVector3(1.5, -2, 7), TVector3(1.5, -2, 7));

    const double values[16] = {1, 2, 3, 10, 4, 5, 6, 20, 7, 8, 9, 30, 100, 200, 300, 400};
    TMat4 m(values);
    // Row 3 takes no part in the point transform.
    COMPARE_V3(m * TVector3(1, 0, -1), TVector3(8, 18, 28));

    TMat4 transposed(m);
    transposed.Transpose();
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            QCOMPARE(transposed[4 * r + c], values[4 * c + r]);
        }
    }
    transposed.Transpose();
    for (int i = 0; i < 16; ++i)
    {
        QCOMPARE(transposed[i], values[i]);
    }

    m.Normal();
    COMPARE_V3(TVector3(m[0], m[1], m[2]), TVector3(1, 2, 3) / std::sqrt(14.0));
    COMPARE_V3(TVector3(m[8], m[9], m[10]), TVector3(7, 8, 9) / std::sqrt(194.0));
    QCOMPARE(m[7], 20.0);
    QCOMPARE(m[12], 100.0);

    m.Identity();
    for (int i = 0; i < 16; ++i)
    {
        QCOMPARE(m[i], identity[i]);
    }
}

void TTestVector::matrix_product_order()
{
    // a translates by (1, 2, 3), b scales x by 2: a * b is b applied after a.
    TMat4 a;
    a[3] = 1;
    a[7] = 2;
    a[11] = 3;
    TMat4 b;
    b[0] = 2;
    COMPARE_V3((a * b) * TVector3(1, 1, 1), TVector3(4, 3, 4));
    COMPARE_V3((b * a) * TVector3(1, 1, 1), TVector3(3, 3, 4));
    TMat4 in_place(a);
    in_place *= b;
    COMPARE_V3(in_place * TVector3(1, 1, 1), TVector3(4, 3, 4));
}

void TTestVector::matrix_rotation_data()
{
    QTest::addColumn<TVector3>("axis");
    QTest::addColumn<double>("angle");
    QTest::addColumn<TVector3>("point");
    QTest::addColumn<TVector3>("expected");
    QTest::newRow("z, quarter") << TVector3(0, 0, 1) << PI / 2 << TVector3(1, 0, 0) << TVector3(0, -1, 0);
    QTest::newRow("x, quarter") << TVector3(1, 0, 0) << PI / 2 << TVector3(0, 1, 0) << TVector3(0, 0, -1);
    QTest::newRow("y, quarter") << TVector3(0, 1, 0) << PI / 2 << TVector3(0, 0, 1) << TVector3(-1, 0, 0);
    QTest::newRow("z, negative") << TVector3(0, 0, 1) << -PI / 2 << TVector3(1, 0, 0) << TVector3(0, 1, 0);
    QTest::newRow("diagonal, third") << TVector3(1, 1, 1) / std::sqrt(3.0) << 2 * PI / 3 << TVector3(1, 0, 0)
                                     << TVector3(0, 0, 1);
    QTest::newRow("point on axis") << TVector3(0, 0, 1) << 1.0 << TVector3(0, 0, 4) << TVector3(0, 0, 4);
}

void TTestVector::matrix_rotation()
{
    QFETCH(TVector3, axis);
    QFETCH(double, angle);
    QFETCH(TVector3, point);
    QFETCH(TVector3, expected);
    TMat4 m;
    m.Rotate(axis, angle);
    COMPARE_V3(m * point, expected);

    // The rotation is applied on top of what the matrix already holds: the translation turns too.
    TMat4 shifted;
    shifted[3] = point.x;
    shifted[7] = point.y;
    shifted[11] = point.z;
    shifted.Rotate(axis, angle);
    COMPARE_V3(shifted * TVector3(), expected);
}

void TTestVector::assertion_texts_data()
{
    QTest::addColumn<TAction>("action");
    QTest::addColumn<QByteArray>("condition"); // empty: must not stop
    const QByteArray length = "Length > std::numeric_limits<double>::epsilon()";
    const QByteArray divisor = "d > std::numeric_limits<double>::epsilon()";

    QTest::newRow("v2 index 2") << TAction(+[] { g_sink = TVector2()(2); }) << QByteArray("false");
    QTest::newRow("v2 index -1") << TAction(+[]
                                            {
                                                TVector2 v;
                                                v(-1) = 1.0;
                                            })
                                 << QByteArray("false");
    QTest::newRow("v3 index 3") << TAction(+[] { g_sink = TVector3()(3); }) << QByteArray("false");
    QTest::newRow("v3 index 2") << TAction(+[] { g_sink = TVector3()(2); }) << QByteArray();
    QTest::newRow("v2 zero normal") << TAction(+[] { g_sink = TVector2().Normal().x; }) << length;
    QTest::newRow("v3 zero normal") << TAction(+[] { g_sink = TVector3().Normal().x; }) << length;
    QTest::newRow("v3 tiny normal") << TAction(+[] { g_sink = TVector3(EPSILON, 0, 0).Normal().x; })
                                    << length;
    QTest::newRow("v3 small normal") << TAction(+[] { g_sink = TVector3(2 * EPSILON, 0, 0).Normal().x; })
                                     << QByteArray();
    QTest::newRow("matrix normal") << TAction(+[]
                                              {
                                                  TMat4 m;
                                                  m[5] = 0.0;
                                                  m.Normal();
                                              })
                                   << length;
    QTest::newRow("v2 / epsilon") << TAction(+[] { g_sink = (TVector2(1, 1) / EPSILON).x; }) << divisor;
    QTest::newRow("v2 / negative") << TAction(+[] { g_sink = (TVector2(1, 1) / -2.0).x; }) << divisor;
    QTest::newRow("v3 / zero") << TAction(+[] { g_sink = (TVector3(1, 1, 1) / 0.0).x; }) << divisor;
    QTest::newRow("v3 / negative") << TAction(+[] { g_sink = (TVector3(1, 1, 1) / -2.0).x; }) << divisor;
    QTest::newRow("v3 / two epsilon")
        << TAction(+[] { g_sink = (TVector3(1, 1, 1) / (2 * EPSILON)).x; }) << QByteArray();
}

void TTestVector::assertion_texts()
{
    QFETCH(TAction, action);
    QFETCH(QByteArray, condition);
    const TChildResult result = Run_In_Child(action);
    QVERIFY(result.started);
    QCOMPARE(result.aborted, !condition.isEmpty());
    if (!condition.isEmpty())
    {
        QVERIFY2(result.error_output.contains("\"" + condition + "\""), result.error_output.constData());
    }
}

QTEST_APPLESS_MAIN(TTestVector)
#include "tst_vector.moc"
