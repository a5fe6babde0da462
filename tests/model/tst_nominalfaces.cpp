#include "nominalfaces.h"

#include <QtTest>

#include <cmath>
#include <limits>

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

struct TSerialCase
{
    QString serial;
    bool accepted;
};
Q_DECLARE_METATYPE(TSerialCase)

class TTestNominalFaces : public QObject
{
    Q_OBJECT

  private slots:
    void generate_data()
    {
        using namespace NominalFaces;
        QTest::addColumn<TPitchCase>("pitch");
        QTest::newRow("default gauge") << TPitchCase{"10.000", "1010.000", PITCH_VALID, 102, 1010.0};
        QTest::newRow("end 95 rounds up") << TPitchCase{"10", "95", PITCH_VALID, 11, 100.0};
        QTest::newRow("end 94 rounds down") << TPitchCase{"10", " 94 ", PITCH_VALID, 10, 90.0};
        QTest::newRow("the cap itself") << TPitchCase{"1", "9999", PITCH_VALID, 10000, 9999.0};
        QTest::newRow("one face past the cap") << TPitchCase{"1", "10000", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end 1e9") << TPitchCase{"1", "1e9", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end 1e300") << TPitchCase{"10", "1e300", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end inf") << TPitchCase{"10", "inf", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end nan") << TPitchCase{"10", "nan", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end below 2 mm") << TPitchCase{"1", "1.9", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("increment below 1 mm") << TPitchCase{"0.999", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment text") << TPitchCase{"ten", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment nan") << TPitchCase{"nan", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment -inf") << TPitchCase{"-inf", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
    }

    void generate()
    {
        QFETCH(TPitchCase, pitch);
        TValues positions = {1.0};
        const NominalFaces::TPitchState state =
            NominalFaces::Generate_Faces(0.0, NominalFaces::Read_Number(pitch.increment),
                                         NominalFaces::Read_Number(pitch.end), &positions);
        QCOMPARE(state, pitch.state);
        QCOMPARE(static_cast<int>(positions.size()), pitch.faces);
        if (pitch.faces > 0)
        {
            QCOMPARE(positions.front(), 0.0);
            QVERIFY(std::fabs(positions.back() - pitch.last) < 1e-9);
        }
    }

    void derive_data()
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

    void derive()
    {
        QFETCH(TDeriveCase, derive);
        double increment = 0.0, end = 0.0;
        QCOMPARE(NominalFaces::Derive_Pitch(derive.nominals, &increment, &end), derive.valid);
        if (!derive.valid)
            return;
        QVERIFY(std::fabs(increment - derive.increment) < 1e-9 && std::fabs(end - derive.end) < 1e-9);
        const TValues positions =
            NominalFaces::Face_Positions(increment, static_cast<int>(derive.nominals.size()));
        for (size_t face = 0; face < derive.nominals.size(); ++face)
        {
            const double deviation = NominalFaces::Deviation_Micrometres(derive.nominals[face],
                                                                         derive.nominals[0], positions[face]);
            QVERIFY2(std::fabs(deviation - derive.deviations[face]) < 1e-6,
                     qPrintable(QString::number(deviation)));
            // Entering the shown deviation gives the face back.
            const double value = NominalFaces::Value_From_Deviation(derive.nominals, positions,
                                                                    static_cast<int>(face), deviation);
            QVERIFY(std::fabs(value - derive.nominals[face]) < 1e-9);
        }
    }

    // A deviation entered is added to the face's ideal position from the first face, also where the
    // face already lies 50 µm or more from it.
    void deviation_entry_data()
    {
        QTest::addColumn<TValues>("nominals");
        QTest::addColumn<int>("face");
        QTest::addColumn<double>("micrometres");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.5 um at 20.00012") << TValues{0, 20.00012, 40.0003} << 1 << 2.5 << 20.0025;
        QTest::newRow("face 60 um off") << TValues{0, 20.06, 40.0} << 1 << 2.5 << 20.0025;
        QTest::newRow("offset first face") << TValues{10, 110.07, 210.0} << 1 << -3.0 << 109.997;
        QTest::newRow("first face") << TValues{10.00004, 20.0, 30.0} << 0 << 1.0 << 10.001;
    }

    void deviation_entry()
    {
        QFETCH(TValues, nominals);
        QFETCH(int, face);
        QFETCH(double, micrometres);
        QFETCH(double, expected);
        const TValues positions = NominalFaces::Face_Positions(
            10.0 * std::round((nominals[1] - nominals[0]) / 10.0), static_cast<int>(nominals.size()));
        QVERIFY(std::fabs(NominalFaces::Value_From_Deviation(nominals, positions, face, micrometres) -
                          expected) < 1e-9);
    }

    void serial_data()
    {
        QTest::addColumn<TSerialCase>("serial");
        for (const char *good : {"90210", "1020-4471", "SG-0620 0877", "a.b"})
            QTest::newRow(good) << TSerialCase{good, true};
        for (const char *bad : {"", "a/b", "a\\b", "..", "x..y", " 7", "7 ", "a:b", "a*b", "a\nb", "a\tb"})
            QTest::newRow(bad) << TSerialCase{bad, false};
        QTest::newRow("too long") << TSerialCase{QString(253, QLatin1Char('x')), false};
    }

    void serial()
    {
        QFETCH(TSerialCase, serial);
        QCOMPARE(NominalSerial::Problem(serial.serial).isEmpty(), serial.accepted);
    }

    void listed_file()
    {
        const QStringList names = {"SG_10", "sg_7", "SG_70"};
        QCOMPARE(NominalSerial::Listed_File(names, "7"), QStringLiteral("sg_7"));
        QCOMPARE(NominalSerial::Listed_File(names, "sg_7"), QString());
        QCOMPARE(NominalSerial::Listed_File(names, "0"), QString());
    }
};

QTEST_GUILESS_MAIN(TTestNominalFaces)
#include "tst_nominalfaces.moc"
