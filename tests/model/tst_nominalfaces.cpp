// The arithmetic of a nominal set's faces: pitch fields, deviations shown and entered, serial numbers.

#include "nominalfaces.h"

#include <QtTest>

#include <cmath>

using TValues = std::vector<double>;

struct TPitchCase
{
    QString increment, end;
    NominalFaces::TPitchState state;
    int faces;
    double last;
};
Q_DECLARE_METATYPE(TPitchCase)

struct TDeriveCase
{
    TValues nominals;
    bool valid;
    double increment, end;
    TValues deviations; // micrometres, one per face
};
Q_DECLARE_METATYPE(TDeriveCase)

class TTestNominalFaces : public QObject
{
    Q_OBJECT

  private slots:
    void Generate_data()
    {
        using namespace NominalFaces;
        QTest::addColumn<TPitchCase>("pitch");
        QTest::newRow("default gauge") << TPitchCase{"10.000", "1010.000", PITCH_VALID, 102, 1010.0};
        QTest::newRow("end 95 rounds up") << TPitchCase{"10", "95", PITCH_VALID, 11, 100.0};
        QTest::newRow("end 94 rounds down") << TPitchCase{"10", " 94 ", PITCH_VALID, 10, 90.0};
        QTest::newRow("the cap itself") << TPitchCase{"1", "9999", PITCH_VALID, 10000, 9999.0};
        QTest::newRow("one face past the cap") << TPitchCase{"1", "10000", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end 1e300") << TPitchCase{"10", "1e300", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end below 2 mm") << TPitchCase{"1", "1.9", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("increment below 1 mm") << TPitchCase{"0.999", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment text") << TPitchCase{"ten", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment nan") << TPitchCase{"nan", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
    }

    void Generate()
    {
        QFETCH(TPitchCase, pitch);
        TValues positions = {1.0};
        QCOMPARE(NominalFaces::Generate_Faces(0.0, NominalFaces::Read_Number(pitch.increment),
                                              NominalFaces::Read_Number(pitch.end), &positions),
                 pitch.state);
        QCOMPARE(static_cast<int>(positions.size()), pitch.faces);
        if (pitch.faces > 0)
            QVERIFY(positions.front() == 0.0 && std::fabs(positions.back() - pitch.last) < 1e-9);
    }

    void Derive_data()
    {
        QTest::addColumn<TDeriveCase>("derive");
        QTest::newRow("calibrated set") << TDeriveCase{{0, 20.00012, 40.0003}, true, 20, 40, {0, 0.12, 0.3}};
        QTest::newRow("offset first face")
            << TDeriveCase{{10, 110.00031, 210.00012, 309.99978}, true, 100, 300, {0, 0.31, 0.12, -0.22}};
        QTest::newRow("pitch rounded to 0.1 mm")
            << TDeriveCase{{5, 15.06, 25.1}, true, 10.1, 20.2, {0, -40, -100}};
        QTest::newRow("one value") << TDeriveCase{{5}, false, 0, 0, {}};
        QTest::newRow("pitch below 1 mm") << TDeriveCase{{0, 0.94, 1.9, 2.9}, false, 0, 0, {}};
        QTest::newRow("end below 2 mm") << TDeriveCase{{0, 1.0}, false, 0, 0, {}};
        QTest::newRow("overflowing difference") << TDeriveCase{{-1e308, 1e308, 1.5e308}, false, 0, 0, {}};
    }

    // The deviations shown for a set, and entering the shown deviation gives each face back.
    void Derive()
    {
        QFETCH(TDeriveCase, derive);
        double increment = 0.0, end = 0.0;
        QCOMPARE(NominalFaces::Derive_Pitch(derive.nominals, &increment, &end), derive.valid);
        if (!derive.valid)
            return;
        QVERIFY(std::fabs(increment - derive.increment) < 1e-9 && std::fabs(end - derive.end) < 1e-9);
        const TValues positions =
            NominalFaces::Face_Positions(increment, static_cast<int>(derive.nominals.size()));
        for (int face = 0; face < static_cast<int>(derive.nominals.size()); ++face)
        {
            const double value = derive.nominals[face];
            const double deviation =
                NominalFaces::Deviation_Micrometres(value, derive.nominals[0], positions[face]);
            QVERIFY2(std::fabs(deviation - derive.deviations[face]) < 1e-6,
                     qPrintable(QString::number(deviation)));
            QVERIFY(
                std::fabs(NominalFaces::Value_From_Deviation(derive.nominals, positions, face, deviation) -
                          value) < 1e-9);
        }
    }

    // The ideal position, not the value rounded to 0.1 mm, takes the deviation: a face 60 µm off.
    void Deviation_Of_A_Far_Face()
    {
        const TValues positions = NominalFaces::Face_Positions(20.0, 3);
        QCOMPARE(NominalFaces::Value_From_Deviation({0, 20.06, 40}, positions, 1, 2.5), 20.0025);
        QCOMPARE(NominalFaces::Value_From_Deviation({10.00004, 30.06, 50}, positions, 0, 1.0), 10.001);
    }

    void Serial()
    {
        for (const char *good : {"90210", "1020-4471", "SG-0620 0877", "a.b"})
            QVERIFY2(NominalSerial::Problem(good).isEmpty(), good);
        for (const QString &bad : QStringList{"", "a/b", "a\\b", "..", "x..y", " 7", "7 ", "a:b", "a*b",
                                              "a\nb", "a\tb", QString(253, QLatin1Char('x'))})
            QVERIFY2(!NominalSerial::Problem(bad).isEmpty(), qPrintable(bad));
        const QStringList names = {"SG_10", "sg_7", "SG_70"};
        QCOMPARE(NominalSerial::Listed_File(names, "7"), QStringLiteral("sg_7"));
        QCOMPARE(NominalSerial::Listed_File(names, "sg_7"), QString());
    }
};

QTEST_GUILESS_MAIN(TTestNominalFaces)
#include "tst_nominalfaces.moc"
