// The arithmetic of a nominal set's faces: pitch fields, deviations shown and entered, serial numbers.

#include "model/nominalfaces.h"

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

struct TLayoutCase
{
    TValues nominals; // when empty: 'generated' faces 1 mm apart
    int generated;
    NominalFaces::TSpacing spacing;
    double increment, end;
    int uneven_face;
    double even_increment;
    TValues labels; // the first rows' labels
};
Q_DECLARE_METATYPE(TLayoutCase)

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

    void Lay_Out_data()
    {
        using namespace NominalFaces;
        QTest::addColumn<TLayoutCase>("layout");
        const auto row = [](const char *tag, const TLayoutCase &layout) { QTest::newRow(tag) << layout; };
        const TValues gap = {10, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};
        row("a face missing",
            {gap, 0, SPACING_UNEVEN, 100, 1000, 3, 100, {0, 100.00031, 200.00012, 399.99978}});
        row("calibrated set", {{0, 20.00012, 40.0003}, 0, SPACING_EVEN, 20, 40, -1, 0, {0, 20, 40}});
        row("offset first face",
            {{10, 110.00031, 210.00012}, 0, SPACING_EVEN, 100, 200, -1, 0, {0, 100, 200}});
        row("49 um off", {{0, 10, 20.049, 30}, 0, SPACING_EVEN, 10, 30, -1, 0, {0, 10, 20, 30}});
        row("51 um off", {{0, 10, 19.949, 30}, 0, SPACING_UNEVEN, 10, 30, 2, 10, {0, 10, 19.949, 30}});
        // The pitch is rounded to 10.0 mm, and 40 um a face add up.
        row("pitch 10.04", {{0, 10.04, 20.08, 30.12}, 0, SPACING_UNEVEN, 10, 30.1, 2, 10, {0, 10.04, 20.08}});
        row("first faces 0.5 mm apart", {{3, 3.5, 103}, 0, SPACING_UNEVEN, 0.5, 100, 1, 0, {0, 0.5, 100}});
        row("two faces 1.5 mm apart", {{0, 1.5}, 0, SPACING_UNEVEN, 1.5, 1.5, 1, 0, {0, 1.5}});
        row("descending", {{200, 100, 0}, 0, SPACING_UNEVEN, -100, -200, 1, 0, {0, -100, -200}});
        row("the face limit", {{}, 10000, SPACING_EVEN, 1, 9999, -1, 0, {0, 1}});
        row("one face past the limit", {{}, 10001, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("one face", {{5}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("no faces", {{}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("nan", {{0, 10, std::nan("")}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("overflowing difference", {{-1e308, 1e308}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
    }

    // Whether deviations can be shown for a set, the pitch fields and the row labels it opens with.
    void Lay_Out()
    {
        QFETCH(TLayoutCase, layout);
        TValues nominals = layout.nominals;
        for (int face = 0; face < layout.generated; ++face)
            nominals.push_back(face);
        const NominalFaces::TLayout found = NominalFaces::Lay_Out(nominals);
        QCOMPARE(found.spacing, layout.spacing);
        QCOMPARE(found.uneven_face, layout.uneven_face);
        QVERIFY(std::fabs(found.even_increment - layout.even_increment) < 1e-9);
        if (layout.spacing == NominalFaces::SPACING_NOT_SHOWN)
        {
            QVERIFY(found.labels.empty());
            return;
        }
        QVERIFY2(std::fabs(found.increment - layout.increment) < 1e-9 &&
                     std::fabs(found.end - layout.end) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2").arg(found.increment).arg(found.end)));
        QCOMPARE(found.labels.size(), nominals.size());
        for (size_t face = 0; face < layout.labels.size(); ++face)
            QVERIFY2(std::fabs(found.labels[face] - layout.labels[face]) < 1e-9,
                     qPrintable(QString::number(face)));
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
