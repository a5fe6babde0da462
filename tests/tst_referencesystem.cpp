#include "childprocess.h"
#include "referencesystem.h"

#include <QtTest>

#include <cmath>

typedef void (*TAction)();
Q_DECLARE_METATYPE(TAction)
Q_DECLARE_METATYPE(TVector3)
Q_DECLARE_METATYPE(TReferenceSystem::TAxis)

namespace
{
const double PI = std::acos(-1.0);
const double H = std::sqrt(0.5);

bool Near(const TVector3 &a, const TVector3 &b)
{
    return std::fabs(a.x - b.x) < 1e-12 && std::fabs(a.y - b.y) < 1e-12 && std::fabs(a.z - b.z) < 1e-12;
}

QByteArray Text(const TVector3 &v)
{
    return QByteArray::number(v.x) + ", " + QByteArray::number(v.y) + ", " + QByteArray::number(v.z);
}

TVector3 Row(const TReferenceSystem &system, int row)
{
    const TMat4 &m = system.Rotation();
    return TVector3(m[4 * row], m[4 * row + 1], m[4 * row + 2]);
}

// The inverse must be exactly the transpose, and the rows must stay a right-handed orthonormal set.
QByteArray Consistency_Fault(const TReferenceSystem &system)
{
    const TMat4 &m = system.Rotation();
    const TMat4 &inverse = system.Inverse_Rotation();
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            if (inverse[4 * r + c] != m[4 * c + r])
            {
                return "inverse is not the transpose at " + QByteArray::number(4 * r + c);
            }
        }
    }
    const TMat4 product = m * inverse;
    for (int i = 0; i < 16; ++i)
    {
        if (std::fabs(product[i] - ((i % 5 == 0) ? 1.0 : 0.0)) > 1e-12)
        {
            return "rows are not orthonormal";
        }
    }
    if (!Near(Row(system, 0) * Row(system, 1), Row(system, 2)))
    {
        return "rows are not right-handed";
    }
    return QByteArray();
}
} // namespace

#define COMPARE_V3(actual, expected)                                                                         \
    QVERIFY2(Near((actual), (expected)), Text(actual) + " != " + Text(expected))

#define VERIFY_CONSISTENT(system)                                                                            \
    do                                                                                                       \
    {                                                                                                        \
        const QByteArray fault = Consistency_Fault(system);                                                  \
        QVERIFY2(fault.isEmpty(), fault.constData());                                                        \
    } while (false)

class TTestReferenceSystem : public QObject
{
    Q_OBJECT

  private slots:
    void construction_and_copy();
    void skew1_data();
    void skew1();
    void skew2_data();
    void skew2();
    void origin();
    void rotate();
    void every_operation_keeps_inverse();
    void equal_axes_assert();
};

void TTestReferenceSystem::construction_and_copy()
{
    TReferenceSystem system;
    COMPARE_V3(system.Origin(), TVector3());
    COMPARE_V3(Row(system, 0), TVector3(1, 0, 0));
    COMPARE_V3(Row(system, 2), TVector3(0, 0, 1));
    VERIFY_CONSISTENT(system);

    system.Skew1(TVector3(1, 1, 0), TReferenceSystem::XPLUS);
    system.Offset_Origin(3, TReferenceSystem::YPLUS);
    const TReferenceSystem copy(system);
    TReferenceSystem assigned;
    assigned = system;
    for (const TReferenceSystem *other : {&copy, static_cast<const TReferenceSystem *>(&assigned)})
    {
        COMPARE_V3(other->Origin(), system.Origin());
        for (int i = 0; i < 16; ++i)
        {
            QCOMPARE(other->Rotation()[i], system.Rotation()[i]);
            QCOMPARE(other->Inverse_Rotation()[i], system.Inverse_Rotation()[i]);
        }
    }

    system.Clear_Alignment();
    COMPARE_V3(system.Origin(), TVector3());
    COMPARE_V3(Row(system, 0), TVector3(1, 0, 0));
    COMPARE_V3(Row(system, 1), TVector3(0, 1, 0));
    VERIFY_CONSISTENT(system);
}

void TTestReferenceSystem::skew1_data()
{
    QTest::addColumn<TVector3>("direction");
    QTest::addColumn<TReferenceSystem::TAxis>("axis");
    QTest::addColumn<TVector3>("x_row");
    QTest::addColumn<TVector3>("y_row");
    QTest::addColumn<TVector3>("z_row");
    QTest::newRow("z along z") << TVector3(0, 0, 2) << TReferenceSystem::ZPLUS << TVector3(1, 0, 0)
                               << TVector3(0, 1, 0) << TVector3(0, 0, 1);
    QTest::newRow("x diagonal") << TVector3(1, 1, 0) << TReferenceSystem::XPLUS << TVector3(H, H, 0)
                                << TVector3(-H, H, 0) << TVector3(0, 0, 1);
    QTest::newRow("y diagonal") << TVector3(1, 1, 0) << TReferenceSystem::YPLUS << TVector3(H, -H, 0)
                                << TVector3(H, H, 0) << TVector3(0, 0, 1);
    QTest::newRow("minus x diagonal") << TVector3(1, 1, 0) << TReferenceSystem::XMINUS << TVector3(-H, -H, 0)
                                      << TVector3(-H, H, 0) << TVector3(0, 0, -1);
    QTest::newRow("minus z along z") << TVector3(0, 0, 2) << TReferenceSystem::ZMINUS << TVector3(1, 0, 0)
                                     << TVector3(0, -1, 0) << TVector3(0, 0, -1);
    QTest::newRow("minus y along y") << TVector3(0, 3, 0) << TReferenceSystem::YMINUS << TVector3(-1, 0, 0)
                                     << TVector3(0, -1, 0) << TVector3(0, 0, 1);
    QTest::newRow("zero direction") << TVector3(0, 0, 0) << TReferenceSystem::XPLUS << TVector3(1, 0, 0)
                                    << TVector3(0, 1, 0) << TVector3(0, 0, 1);
}

void TTestReferenceSystem::skew1()
{
    QFETCH(TVector3, direction);
    QFETCH(TReferenceSystem::TAxis, axis);
    QFETCH(TVector3, x_row);
    QFETCH(TVector3, y_row);
    QFETCH(TVector3, z_row);
    TReferenceSystem system;
    system.Skew1(direction, axis);
    COMPARE_V3(Row(system, 0), x_row);
    COMPARE_V3(Row(system, 1), y_row);
    COMPARE_V3(Row(system, 2), z_row);
    VERIFY_CONSISTENT(system);
}

void TTestReferenceSystem::skew2_data()
{
    QTest::addColumn<TVector3>("direction");
    QTest::addColumn<TReferenceSystem::TAxis>("axis");
    QTest::addColumn<TReferenceSystem::TAxis>("fixed");
    QTest::addColumn<TVector3>("x_row");
    QTest::addColumn<TVector3>("y_row");
    QTest::addColumn<TVector3>("z_row");
    const TVector3 d(1, 1, 1);
    QTest::newRow("fixed z, x") << d << TReferenceSystem::XPLUS << TReferenceSystem::ZPLUS
                                << TVector3(H, H, 0) << TVector3(-H, H, 0) << TVector3(0, 0, 1);
    QTest::newRow("fixed -z, -x") << d << TReferenceSystem::XMINUS << TReferenceSystem::ZMINUS
                                  << TVector3(-H, -H, 0) << TVector3(H, -H, 0) << TVector3(0, 0, 1);
    QTest::newRow("fixed z, y") << d << TReferenceSystem::YPLUS << TReferenceSystem::ZPLUS
                                << TVector3(H, -H, 0) << TVector3(H, H, 0) << TVector3(0, 0, 1);
    QTest::newRow("fixed z, -y") << d << TReferenceSystem::YMINUS << TReferenceSystem::ZPLUS
                                 << TVector3(-H, H, 0) << TVector3(-H, -H, 0) << TVector3(0, 0, 1);
    QTest::newRow("fixed x, y") << d << TReferenceSystem::YPLUS << TReferenceSystem::XPLUS
                                << TVector3(1, 0, 0) << TVector3(0, H, H) << TVector3(0, -H, H);
    QTest::newRow("fixed x, z") << d << TReferenceSystem::ZPLUS << TReferenceSystem::XMINUS
                                << TVector3(1, 0, 0) << TVector3(0, H, -H) << TVector3(0, H, H);
    QTest::newRow("fixed y, x") << d << TReferenceSystem::XPLUS << TReferenceSystem::YPLUS
                                << TVector3(H, 0, H) << TVector3(0, 1, 0) << TVector3(-H, 0, H);
    QTest::newRow("fixed y, z") << d << TReferenceSystem::ZPLUS << TReferenceSystem::YPLUS
                                << TVector3(H, 0, -H) << TVector3(0, 1, 0) << TVector3(H, 0, H);
    QTest::newRow("fixed y, -z") << d << TReferenceSystem::ZMINUS << TReferenceSystem::YPLUS
                                 << TVector3(-H, 0, H) << TVector3(0, 1, 0) << TVector3(-H, 0, -H);
    // Cases that leave the system as it was.
    QTest::newRow("along fixed") << TVector3(0, 0, 5) << TReferenceSystem::XPLUS << TReferenceSystem::ZPLUS
                                 << TVector3(1, 0, 0) << TVector3(0, 1, 0) << TVector3(0, 0, 1);
    QTest::newRow("zero direction") << TVector3() << TReferenceSystem::XPLUS << TReferenceSystem::ZPLUS
                                    << TVector3(1, 0, 0) << TVector3(0, 1, 0) << TVector3(0, 0, 1);
    QTest::newRow("opposite senses") << d << TReferenceSystem::XMINUS << TReferenceSystem::XPLUS
                                     << TVector3(1, 0, 0) << TVector3(0, 1, 0) << TVector3(0, 0, 1);
}

void TTestReferenceSystem::skew2()
{
    QFETCH(TVector3, direction);
    QFETCH(TReferenceSystem::TAxis, axis);
    QFETCH(TReferenceSystem::TAxis, fixed);
    QFETCH(TVector3, x_row);
    QFETCH(TVector3, y_row);
    QFETCH(TVector3, z_row);
    TReferenceSystem system;
    system.Skew2(direction, axis, fixed);
    COMPARE_V3(Row(system, 0), x_row);
    COMPARE_V3(Row(system, 1), y_row);
    COMPARE_V3(Row(system, 2), z_row);
    VERIFY_CONSISTENT(system);
}

void TTestReferenceSystem::origin()
{
    TReferenceSystem system;
    system.Set_Origin(TVector3(5, 7, 9), TReferenceSystem::YPLUS);
    COMPARE_V3(system.Origin(), TVector3(0, 7, 0));
    // The row of the axis counts, not its sense.
    system.Offset_Origin(2, TReferenceSystem::ZMINUS);
    COMPARE_V3(system.Origin(), TVector3(0, 7, 2));
    system.Set_Origin(TVector3(-4, 0, 0), TReferenceSystem::XMINUS);
    COMPARE_V3(system.Origin(), TVector3(-4, 7, 2));

    // On a turned system the origin moves along the turned axis only.
    system.Clear_Alignment();
    system.Skew1(TVector3(1, 1, 0), TReferenceSystem::XPLUS);
    system.Set_Origin(TVector3(2, 0, 5), TReferenceSystem::XPLUS);
    COMPARE_V3(system.Origin(), TVector3(1, 1, 0));
    system.Set_Origin(TVector3(0, 0, 5), TReferenceSystem::YPLUS);
    COMPARE_V3(system.Origin(), TVector3(1, 1, 0));
    system.Offset_Origin(std::sqrt(2.0), TReferenceSystem::YPLUS);
    COMPARE_V3(system.Origin(), TVector3(0, 2, 0));
}

void TTestReferenceSystem::rotate()
{
    TReferenceSystem system;
    system.Rotate(PI / 2, TReferenceSystem::ZPLUS);
    COMPARE_V3(Row(system, 0), TVector3(0, 1, 0));
    COMPARE_V3(Row(system, 1), TVector3(-1, 0, 0));
    COMPARE_V3(Row(system, 2), TVector3(0, 0, 1));
    VERIFY_CONSISTENT(system);

    // Turning back about the same own axis restores the system, whatever it was.
    system.Clear_Alignment();
    system.Skew1(TVector3(1, 2, 3), TReferenceSystem::ZPLUS);
    const TReferenceSystem before(system);
    system.Rotate(0.3, TReferenceSystem::XMINUS);
    QVERIFY(!Near(Row(system, 1), Row(before, 1)));
    VERIFY_CONSISTENT(system);
    system.Rotate(-0.3, TReferenceSystem::XPLUS);
    for (int row = 0; row < 3; ++row)
    {
        COMPARE_V3(Row(system, row), Row(before, row));
    }
}

void TTestReferenceSystem::every_operation_keeps_inverse()
{
    // A plane, line and point alignment followed by adjustments.
    TReferenceSystem system;
    system.Skew1(TVector3(0.01, -0.02, 1), TReferenceSystem::ZPLUS);
    VERIFY_CONSISTENT(system);
    system.Skew2(TVector3(1, 0.05, 0.3), TReferenceSystem::XPLUS, TReferenceSystem::ZPLUS);
    VERIFY_CONSISTENT(system);
    COMPARE_V3(Row(system, 2), TVector3(0.01, -0.02, 1).Normal());
    system.Set_Origin(TVector3(10, 20, 30), TReferenceSystem::XPLUS);
    system.Offset_Origin(-5, TReferenceSystem::ZMINUS);
    VERIFY_CONSISTENT(system);
    system.Rotate(1.1, TReferenceSystem::YMINUS);
    VERIFY_CONSISTENT(system);
    system.Skew2(TVector3(0, 1, 1), TReferenceSystem::ZMINUS, TReferenceSystem::XPLUS);
    VERIFY_CONSISTENT(system);
    system.Skew1(TVector3(-1, 0, 0), TReferenceSystem::XMINUS);
    VERIFY_CONSISTENT(system);
    COMPARE_V3(Row(system, 0), TVector3(1, 0, 0));
}

void TTestReferenceSystem::equal_axes_assert()
{
    const TChildResult broken =
        Run_In_Child(+[]
                     {
                         TReferenceSystem system;
                         system.Skew2(TVector3(1, 1, 0), TReferenceSystem::YPLUS, TReferenceSystem::YPLUS);
                     });
    QVERIFY(broken.started);
    QVERIFY(broken.aborted);
    QVERIFY2(broken.error_output.contains("\"fixed_axis_name != axis_name\""),
             broken.error_output.constData());

    const TChildResult sound =
        Run_In_Child(+[]
                     {
                         TReferenceSystem system;
                         system.Skew2(TVector3(1, 1, 0), TReferenceSystem::YMINUS, TReferenceSystem::YPLUS);
                     });
    QVERIFY(sound.started);
    QVERIFY(!sound.aborted);
}

QTEST_APPLESS_MAIN(TTestReferenceSystem)
#include "tst_referencesystem.moc"
