// The step gauge and gauge block records: the file reader they share with each kind's required
// records and Point: layout, point counts, merging of squareness readings, nominal matching, lengths,
// graphs and files of the largest size.

#include "measure_checks.h"
#include "measuredata_gaugeblock.h"
#include "measuredata_stepgauge10360.h"
#include "measuredata_stepgaugeb89.h"
#include "measuredata_stepgaugesquare.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const int FIVE_GAUGE = TMeasureData::CONTENTS_STEPGAUGE_10360;
const int B89 = TMeasureData::CONTENTS_STEPGAUGE_B89;
const int SQUARE = TMeasureData::CONTENTS_STEPGAUGE_SQUARE;
const int BLOCK = TMeasureData::CONTENTS_GAUGEBLOCK;
const QString NOT_FOUND = QStringLiteral("Nominal data not found.  Possible wrong reference step position or "
                                         "measurement error exceeds maximum allowed.");

// The examples: reference step 10 (five gauge and B89) and 20 (squareness).
QByteArray Example_Of(int kind)
{
    const char *const names[] = {"stepgauge_10360_x_front", "stepgauge_b89_x_axis", "stepgauge_squareness_xy",
                                 "gaugeblock_500mm_x_axis"};
    return Example(QLatin1String(names[kind - FIVE_GAUGE]));
}

// Point: records in the kind's layout: the position is part 1 of four (B89) or part 2 of five.
QByteArray Points(int kind, const std::vector<double> &positions)
{
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        lines += QString::fromLatin1(kind == B89 ? "Point:%1,%2,0.001,-0.001" : "Point:%1,1,%2,0.001,-0.001")
                     .arg(i + 1)
                     .arg(positions[i], 0, 'f', 5);
    }
    return lines.join(QLatin1Char('\n')).toLatin1();
}

// The kind's example with its Point: records replaced.
QByteArray With_Points(int kind, const QByteArray &points)
{
    return Inserted(Without(Example_Of(kind), "Point:"), "Measurement_End::", points);
}

std::vector<double> Series(int count)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
    {
        values.push_back(10.0 * i);
    }
    return values;
}

// The measured positions a record holds (merged steps for the squareness kind).
std::vector<double> Positions(const TMeasureData &record)
{
    std::vector<double> values;
    const auto actuals = [&values](const auto &points)
    {
        for (const auto &point : points)
        {
            values.push_back(point.actual);
        }
    };
    if (const auto *five_gauge = dynamic_cast<const TMeasureStepgauge10360 *>(&record))
    {
        actuals(five_gauge->Points());
    }
    else if (const auto *b89 = dynamic_cast<const TMeasureStepgaugeB89 *>(&record))
    {
        actuals(b89->Points());
    }
    else if (const auto *square = dynamic_cast<const TMeasureStepgaugeSquare *>(&record))
    {
        actuals(square->Points());
    }
    else if (const auto *block = dynamic_cast<const TMeasureGaugeblock *>(&record))
    {
        values = block->Positions();
    }
    return values;
}

std::unique_ptr<TMeasureData> Create(int kind)
{
    return Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
}
} // namespace

class TestStepgauge : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data();
    void Load();
    void Nominal_Matching_data();
    void Nominal_Matching();
    void Lengths_And_Graph_Follow_Nominals();
    void Failed_Match_Keeps_Lengths_data();
    void Failed_Match_Keeps_Lengths();
    void Squareness_Line();
    void Gauge_Block_Report_Without_Lengths();
    void Large_File_data();
    void Large_File();
};

void TestStepgauge::Load_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<double>>("positions");
    const auto fails = [](const QString &name, int kind, const QByteArray &file, const QString &message)
    { QTest::newRow(qPrintable(name)) << kind << file << message << std::vector<double>(); };
    const auto loads =
        [](const char *name, int kind, const QByteArray &file, const std::vector<double> &positions)
    { QTest::newRow(name) << kind << file << QString() << positions; };

    // Each kind with the identification of another, and without each record it requires.
    const char *const names[] = {"10360", "b89", "square", "block"};
    const char *const others[] = {"B89.4.10360_Raw_Measurement:Version=1:Type=Single_Gauge",
                                  "B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge",
                                  "B89.4.1_Raw_Measurement:Version=1:Type=Step_Gauge",
                                  "B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge"};
    for (const int kind : {FIVE_GAUGE, B89, SQUARE, BLOCK})
    {
        const QString name = QLatin1String(names[kind - FIVE_GAUGE]);
        const QByteArray example = Example_Of(kind);
        fails(name + QStringLiteral(": other identification"), kind,
              others[kind - FIVE_GAUGE] + example.mid(example.indexOf('\n')),
              kind == BLOCK ? QStringLiteral("Gauge block identification line not recognized")
                            : STEPGAUGE_IDENTIFICATION);
        QList<QByteArray> required = {"Equipment_Identification:", "Probe_Offset:",      "Probe_Vector:",
                                      "Alignment_Begin:",          "Measurement_Begin:", "Description:"};
        required += kind == BLOCK ? "Datum_Flatness:" : "Reference_Step_Position:";
        if (kind != SQUARE)
        {
            required += {"Scales_Begin:", "Temperature_Begin:"};
        }
        for (const QByteArray &line_start : required)
        {
            fails(name + QStringLiteral(": without ") + QLatin1String(line_start), kind,
                  Without(example, line_start), DATA_MISSING);
        }
    }

    const QByteArray five_gauge = Example_Of(FIVE_GAUGE);
    const QByteArray gauge_36 = With_Points(FIVE_GAUGE, Points(FIVE_GAUGE, Series(36)));
    fails("probe offset by blanks", FIVE_GAUGE, Replaced(five_gauge, "Probe_Offset:", "Probe_Offset:1 2 3"),
          PROBE_OFFSET);
    fails("probe vector of two values", FIVE_GAUGE, Replaced(five_gauge, "Probe_Vector:", "Probe_Vector:0,1"),
          PROBE_VECTOR);
    fails("x axis of four values", FIVE_GAUGE, Replaced(five_gauge, "X_Axis:", "X_Axis:1,0,0,0"),
          X_ALIGNMENT);
    fails("y axis empty", FIVE_GAUGE, Replaced(five_gauge, "Y_Axis:", "Y_Axis:"), Y_ALIGNMENT);
    fails("z axis of one value", FIVE_GAUGE, Replaced(five_gauge, "Z_Axis:", "Z_Axis:1"), Z_ALIGNMENT);
    fails("translation by semicolons", FIVE_GAUGE, Replaced(five_gauge, "Translation:", "Translation:1;2;3"),
          TRANSLATION);
    loads("records inside their sections are not required", FIVE_GAUGE,
          Without(Without(Without(gauge_36, "X_Scale:"), "X_Expansion_Coefficient:"), "X_Axis:"), Series(36));

    // The five gauge file holds exactly 36 points; records of other part counts are skipped. A single
    // colon does not close the Measurement section, so the point after it still counts.
    fails("10360: 35 points", FIVE_GAUGE, With_Points(FIVE_GAUGE, Points(FIVE_GAUGE, Series(35))),
          DATA_MISSING);
    fails("10360: 37 points", FIVE_GAUGE, With_Points(FIVE_GAUGE, Points(FIVE_GAUGE, Series(37))),
          DATA_MISSING);
    loads("10360: four and six parts skipped, points after the section ignored", FIVE_GAUGE,
          Inserted(gauge_36, "Measurement_End::", "Point:37,1,1.0,0\nPoint:38,1,1.0,0,0,0") +
              "Point:39,1,1,0,0\n",
          Series(36));
    loads("10360: one-colon closing marker", FIVE_GAUGE, Inserted(gauge_36, "Point:36,", "Measurement_End:"),
          Series(36));

    loads(
        "b89: second part of four, empty parts and words read as zero", B89,
        With_Points(B89, "Point:7, 250.125 ,x,y\nPoint:1,1,50,0,0\nPoint:1,60,0\nPoint:,,,\nPoint:4,nan,0,0"),
        {250.125, 0, 0});
    loads("b89: no points", B89, With_Points(B89, ""), {});
    loads("b89: points outside the section or with two sections open ignored", B89,
          With_Points(B89, "Point:1,5,0,0\nAlignment_Begin:\nPoint:2,99,0,0\nAlignment_End:") +
              "Point:3,100,0,0\n",
          {5});

    // Squareness readings are sorted and merged while each lies within 1.0 of the one before it.
    loads("square: readings merge per step", SQUARE,
          With_Points(SQUARE, Points(SQUARE, {0, 0.4, 99.8, 100.3, 100.1})),
          {0.2, (99.8 + 100.1 + 100.3) / 3.0});
    loads("square: a chain of close readings is one step", SQUARE,
          With_Points(SQUARE, Points(SQUARE, {1.8, 0, 0.9})), {0.9});
    loads("square: a gap of exactly 1.0 joins", SQUARE, With_Points(SQUARE, Points(SQUARE, {0, 1})), {0.5});
    loads("square: a gap above 1.0 splits, steps sorted", SQUARE,
          With_Points(SQUARE, Points(SQUARE, {200, 1.0001, 0})), {0, 1.0001, 200});
    loads("square: no points", SQUARE, With_Points(SQUARE, ""), {});
    loads("square: third part of five", SQUARE,
          With_Points(SQUARE, "Point:3,2, 42.5 ,x,y\nPoint:1,60,0,0\nPoint:1,1,70,0,0,0"), {42.5});
    // No scale or temperature sections here: their markers are ignored lines that close nothing.
    loads("square: scale and temperature markers ignored", SQUARE,
          With_Points(SQUARE, "Scales_Begin:\nTemperature_Begin:\nPoint:1,1,7,0,0"), {7});

    const std::vector<double> six = {10.000, 35.002, 10.001, 35.001, 9.999, 35.003};
    const QByteArray block = With_Points(BLOCK, Points(BLOCK, six));
    loads("block: six positions", BLOCK, block, six);
    fails("block: five positions", BLOCK, With_Points(BLOCK, Points(BLOCK, Series(5))), DATA_MISSING);
    fails("block: seven positions", BLOCK, With_Points(BLOCK, Points(BLOCK, Series(7))), DATA_MISSING);
    fails("block: a reference step is no flatness", BLOCK,
          Replaced(block, "Datum_Flatness:", "Reference_Step_Position:0.0002"), DATA_MISSING);
    fails("block: flatness outside the measurement section", BLOCK,
          Without(block, "Datum_Flatness:") + "Datum_Flatness:0.0002\n", DATA_MISSING);
}

void TestStepgauge::Load()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(std::vector<double>, positions);

    const std::unique_ptr<TMeasureData> record = Create(kind);
    QCOMPARE(record->Load_Data(file), message.isEmpty());
    QCOMPARE(record->last_error, message);
    if (message.isEmpty())
    {
        Compare_Values(Positions(*record), positions);
    }
}

void TestStepgauge::Nominal_Matching_data()
{
    QTest::addColumn<std::vector<double>>("positions");
    QTest::addColumn<std::vector<double>>("certified");
    QTest::addColumn<bool>("matched");
    QTest::addColumn<std::vector<double>>("nominals");
    QTest::addColumn<std::vector<int>>("curves");
    const auto row = [](const char *name, const std::vector<double> &positions,
                        const std::vector<double> &certified, bool matched,
                        const std::vector<double> &nominals, const std::vector<int> &curves)
    { QTest::newRow(name) << positions << certified << matched << nominals << curves; };

    // The B89 example's reference step is 10: a position p is looked up at p + 10, and matched by the
    // first certified position within 2.0 of it, not the nearest.
    row("2.1 away is no match", {250.5}, {258.4, 260.0}, true, {250.0}, {1});
    row("first within 2.0 wins", {250.5}, {258.6, 260.0}, true, {248.6}, {1});
    row("exactly 2.0 above", {250.5}, {262.5}, true, {252.5}, {1});
    row("exactly 2.0 below", {250.5}, {258.5}, true, {248.5}, {1});
    row("matched in any order", {0.0004, 100.0011, 199.999}, {210.0002, 10.0, 110.0003}, true,
        {0, 100.0003, 200.0002}, {3});
    // Matching stops at the first miss; the points before it keep their new nominals.
    row("third point unmatched", {0, 50, 75, 100}, {10.001, 60.002, 110}, false, {0.001, 50.002, 75, 100},
        {4});
    row("empty nominal list", {0}, {}, false, {0}, {1});
    row("no points", {}, {}, true, {}, {});
    // A new curve starts where the position steps back; equal positions continue it.
    row("two runs", {0, 100, 200, 0, 100}, {10.001, 110.001, 210.001}, true,
        {0.001, 100.001, 200.001, 0.001, 100.001}, {3, 2});
    row("equal positions continue", {0, 100, 100, 50}, {10, 60, 110}, true, {0, 100, 100, 50}, {3, 1});
    row("every step back", {30, 20, 10}, {20, 30, 40}, true, {30, 20, 10}, {1, 1, 1});
}

void TestStepgauge::Nominal_Matching()
{
    QFETCH(std::vector<double>, positions);
    QFETCH(std::vector<double>, certified);
    QFETCH(bool, matched);
    QFETCH(std::vector<double>, nominals);
    QFETCH(std::vector<int>, curves);

    TMeasureStepgaugeB89 record;
    QVERIFY(record.Load_Data(With_Points(B89, Points(B89, positions))));
    QCOMPARE(record.Set_Nominal_Data(certified), matched);
    QCOMPARE(record.last_error, matched ? QString() : NOT_FOUND);
    std::vector<double> result;
    for (const TMeasureStepgaugeB89::TPointData &point : record.Points())
    {
        result.push_back(point.nominal);
    }
    Compare_Values(result, nominals);
    Compare_Values(Positions(record), positions);

    // Each run along the gauge is a curve of (position, deviation).
    std::vector<int> sizes;
    std::vector<double> points;
    std::vector<double> expected;
    for (const std::vector<TVector2> &curve : record.Graph_Data())
    {
        sizes.push_back(static_cast<int>(curve.size()));
        for (const TVector2 &point : curve)
        {
            points.insert(points.end(), {point.x, point.y});
        }
    }
    for (size_t i = 0; i < positions.size(); ++i)
    {
        expected.insert(expected.end(), {positions[i], positions[i] - nominals[i]});
    }
    QCOMPARE(sizes, curves);
    Compare_Values(points, expected);
}

void TestStepgauge::Lengths_And_Graph_Follow_Nominals()
{
    // The five gauge example's certified positions: steps 0, 100, 200, 400, 600, 800 and 1000.
    const std::vector<double> certified = {10.0,      110.00031, 210.00012, 409.99978,
                                           610.00044, 810.00019, 1009.99962};
    TMeasureStepgauge10360 record;
    QVERIFY(record.Load_Data(Example_Of(FIVE_GAUGE)));
    const std::vector<TMeasureStepgauge10360::TLengthData> measured = record.Lengths();
    for (int repeat = 0; repeat < 2; ++repeat) // matching again gives the same result
    {
        QVERIFY(record.Set_Nominal_Data(certified));
        QCOMPARE(record.Lengths().size(), size_t(18));
        for (size_t i = 0; i < 18; ++i)
        {
            QCOMPARE(record.Lengths()[i].actual, measured[i].actual);
            QVERIFY(qAbs(record.Lengths()[i].nominal - (certified[i / 3 + 1] - certified[0])) < 1e-9);
        }
    }

    // Curve r holds repeat r of every length, at the first repeat's measured length.
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(3));
    for (size_t repeat = 0; repeat < 3; ++repeat)
    {
        QCOMPARE(curves[repeat].size(), size_t(6));
        for (size_t group = 0; group < 6; ++group)
        {
            const TMeasureStepgauge10360::TLengthData &length = record.Lengths()[3 * group + repeat];
            QCOMPARE(curves[repeat][group].x, record.Lengths()[3 * group].actual);
            QCOMPARE(curves[repeat][group].y, length.actual - length.nominal);
        }
    }
}

void TestStepgauge::Failed_Match_Keeps_Lengths_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<std::vector<double>>("certified");

    // Only the first two steps are certified.
    QTest::newRow("10360") << FIVE_GAUGE << std::vector<double>{10.0, 110.00031};
    QTest::newRow("square") << SQUARE << std::vector<double>{20.0, 70.0002};
}

void TestStepgauge::Failed_Match_Keeps_Lengths()
{
    QFETCH(int, kind);
    QFETCH(std::vector<double>, certified);

    const std::unique_ptr<TMeasureData> record = Create(kind);
    QVERIFY(record->Load_Data(Example_Of(kind)));
    const QStringList report = record->Text_Report();
    QVERIFY(!record->Set_Nominal_Data(certified));
    QCOMPARE(record->last_error, NOT_FOUND);
    QCOMPARE(record->Text_Report(), report);
}

void TestStepgauge::Squareness_Line()
{
    // Deviations of +1 µm at 100 mm and +3 µm at 200 mm (reference step 20).
    TMeasureStepgaugeSquare record;
    QVERIFY(record.Load_Data(With_Points(SQUARE, Points(SQUARE, {0.0, 100.001, 200.003}))));
    QVERIFY(record.Set_Nominal_Data({220.0, 120.0, 20.0}));
    const double slope = 0.002 / 100.002;
    QVERIFY2(qAbs(record.Slope() - slope) < 1e-12, qPrintable(QString::number(record.Slope(), 'g', 12)));
    QVERIFY(qAbs(record.Intercept() - (0.001 - slope * 100.001)) < 1e-12);
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(1));
    Compare_Values({curves[0][0].x, curves[0][0].y, curves[0][1].x, curves[0][1].y},
                   {100.001, 0.001, 200.003, 0.003});

    // One length is too few for a line: the slope stays 0.
    TMeasureStepgaugeSquare single;
    QVERIFY(single.Load_Data(With_Points(SQUARE, Points(SQUARE, {0.0, 100.001}))));
    QVERIFY(single.Set_Nominal_Data({20.0, 120.0}));
    QCOMPARE(single.Slope(), 0.0);
    // One step gives no length: still one curve, empty.
    TMeasureStepgaugeSquare one;
    QVERIFY(one.Load_Data(With_Points(SQUARE, Points(SQUARE, {3.0, 3.5}))));
    QCOMPARE(one.Graph_Data().size(), size_t(1));
    QVERIFY(one.Graph_Data()[0].empty());
}

void TestStepgauge::Gauge_Block_Report_Without_Lengths()
{
    // No mean of no lengths.
    const QStringList report = TMeasureGaugeblock().Text_Report();
    QCOMPARE(report.mid(report.size() - 2), QStringList({QStringLiteral("     Actual"), QString()}));
}

void TestStepgauge::Large_File_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("fixed_lines");

    // B89: runs of 27 steps, a report line per point. Squareness: steps 2.5 apart in descending
    // order, all sorted, none merged, a line per step after the first.
    QTest::newRow("b89") << B89 << 0;
    QTest::newRow("square") << SQUARE << -1;
}

void TestStepgauge::Large_File()
{
    QFETCH(int, kind);
    QFETCH(int, fixed_lines);

    const QByteArray file = With_Points(kind, "");
    const QByteArray head = file.left(file.indexOf("Measurement_End::"));
    const std::unique_ptr<TMeasureData> empty = Create(kind);
    QVERIFY(empty->Load_Data(file));
    Check_Large_File(
        head,
        [kind](int i)
        {
            const double position = kind == B89 ? (i * 37) % 1000 : 100000.0 - 2.5 * i;
            return Points(kind, {position}) + '\n';
        },
        "Measurement_End::\n", fixed_lines + static_cast<int>(empty->Text_Report().size()));
}

QTEST_GUILESS_MAIN(TestStepgauge)
#include "tst_stepgauge.moc"
