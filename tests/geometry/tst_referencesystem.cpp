// The reference system: skews about one and two axes, origins, clearing and rotation, each leaving
// the rows a right-handed orthonormal set with the inverse as transpose.

#include "geometry_text.h"
#include "referencesystem.h"
#include "test_support.h"

#include <QtTest>

namespace
{
using TRs = TReferenceSystem;
const double PI = std::acos(-1.0);
const double H = std::sqrt(0.5);
const QString IDENTITY = QStringLiteral("1 0 0 | 0 1 0 | 0 0 1");

TVector3 Row(const TRs &system, int row)
{
    const TMat4 &m = system.Rotation();
    return TVector3(m[4 * row], m[4 * row + 1], m[4 * row + 2]);
}

QString Rows(const TRs &system)
{
    return Text(Row(system, 0)) + " | " + Text(Row(system, 1)) + " | " + Text(Row(system, 2));
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
} // namespace

class TTestReferenceSystem : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Skew1()
    {
        const TVector3 diagonal(1, 1, 0);
        const struct
        {
            TVector3 direction;
            TRs::TAxis axis;
            QString rows;
        } cases[] = {
            {TVector3(0, 0, 2), TRs::ZPLUS, IDENTITY},
            {diagonal, TRs::XPLUS, Text(TVector3(H, H, 0)) + " | " + Text(TVector3(-H, H, 0)) + " | 0 0 1"},
            {diagonal, TRs::YPLUS, Text(TVector3(H, -H, 0)) + " | " + Text(TVector3(H, H, 0)) + " | 0 0 1"},
            {diagonal, TRs::XMINUS,
             Text(TVector3(-H, -H, 0)) + " | " + Text(TVector3(-H, H, 0)) + " | 0 0 -1"},
            {TVector3(0, 3, 0), TRs::YMINUS, "-1 0 0 | 0 -1 0 | 0 0 1"},
            {TVector3(0, 0, 2), TRs::ZMINUS, "1 0 0 | 0 -1 0 | 0 0 -1"},
            {TVector3(), TRs::XPLUS, IDENTITY}, // no direction: unchanged
        };
        for (const auto &c : cases)
        {
            TRs system;
            system.Skew1(c.direction, c.axis);
            QCOMPARE(Rows(system), c.rows);
            QCOMPARE(Consistency_Fault(system), QByteArray());
        }
    }

    void Skew2()
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
        // A direction along the fixed axis, or none, leaves the system alone.
        for (const TVector3 &none : {TVector3(0, 0, 5), TVector3()})
        {
            TRs system;
            system.Skew2(none, TRs::XPLUS, TRs::ZPLUS);
            QCOMPARE(Rows(system), IDENTITY);
        }
        QCOMPARE(Child_Outcome([] { TRs().Skew2(TVector3(1, 1, 0), TRs::YPLUS, TRs::YPLUS); }),
                 QByteArray("assertion"));
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

    void Rotate()
    {
        TRs system;
        system.Rotate(PI / 2, TRs::ZPLUS);
        QCOMPARE(Rows(system), QStringLiteral("0 1 0 | -1 0 0 | 0 0 1"));
        QCOMPARE(Consistency_Fault(system), QByteArray());

        // Turning back about the same own axis restores the system, whatever it was.
        system.Skew1(TVector3(1, 2, 3), TRs::ZPLUS);
        const QString before = Rows(system);
        system.Rotate(0.3, TRs::XMINUS);
        QVERIFY(Rows(system) != before);
        QCOMPARE(Consistency_Fault(system), QByteArray());
        system.Rotate(-0.3, TRs::XPLUS);
        QCOMPARE(Rows(system), before);
    }
};

QTEST_APPLESS_MAIN(TTestReferenceSystem)
#include "tst_referencesystem.moc"
