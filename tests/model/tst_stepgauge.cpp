// The step gauge and gauge block records: the file reader they share, point counts and layouts, merging
// of squareness readings, nominal matching, lengths and graphs. The two laser records: the reader they
// share, measurement types, the pairing of the length test's points and the combining of readings.

#include "model/kinds/measuredata_gaugeblock.h"
#include "model/kinds/measuredata_machinelaser10360.h"
#include "model/kinds/measuredata_machinelaserpmove.h"
#include "model/kinds/measuredata_stepgauge10360.h"
#include "model/kinds/measuredata_stepgaugeb89.h"
#include "model/kinds/measuredata_stepgaugesquare.h"
#include "tests/common/measure_checks.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const int FIVE_GAUGE = TMeasureData::CONTENTS_STEPGAUGE_10360;
const int B89 = TMeasureData::CONTENTS_STEPGAUGE_B89;
const int SQUARE = TMeasureData::CONTENTS_STEPGAUGE_SQUARE;
const int BLOCK = TMeasureData::CONTENTS_GAUGEBLOCK;
const int LENGTHS = TMeasureData::CONTENTS_LASER_10360;
const int PMOVE = TMeasureData::CONTENTS_LASER_PMOVE;
const QString TYPE_MESSAGE = QStringLiteral("Measurement Type not recognized.");
const QString NOT_FOUND = QStringLiteral("Nominal data not found.  Possible wrong reference step position or "
                                         "measurement error exceeds maximum allowed.");
// The five gauge example's certified positions: steps 0, 100, 200, 400, 600, 800 and 1000.
const TValues CERTIFIED = {10.0, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};

// The examples: reference step 10 (five gauge and B89) and 20 (squareness).
QByteArray Example_Of(int kind)
{
    if (kind == LENGTHS || kind == PMOVE)
        return Example(QLatin1String(kind == LENGTHS ? "laser_10360_x_axis" : "laser_pmove_x_axis"));
    const char *const names[] = {"stepgauge_10360_x_front", "stepgauge_b89_x_axis", "stepgauge_squareness_xy",
                                 "gaugeblock_500mm_x_axis"};
    return Example(QLatin1String(names[kind - FIVE_GAUGE]));
}

// The kind's example with its Point: records replaced.
QByteArray With_Points(int kind, const QByteArray &points)
{
    return Inserted(Without(Example_Of(kind), "Point:"), "Measurement_End::", points);
}

// Point: records in the kind's layout: the position is part 1 of four (B89) or part 2 of five.
QByteArray With_Positions(int kind, const TValues &positions)
{
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
        lines += QString::fromLatin1(kind == B89 ? "Point:%1,%2,0.001,-0.001" : "Point:%1,1,%2,0.001,-0.001")
                     .arg(i + 1)
                     .arg(positions[i], 0, 'f', 5);
    return With_Points(kind, lines.join(QLatin1Char('\n')).toLatin1());
}

TValues Series(int count)
{
    TValues values;
    for (int i = 0; i < count; ++i)
        values.push_back(10.0 * i);
    return values;
}

// The measured positions a record holds (merged steps for the squareness kind).
TValues Positions(const TMeasureData &record)
{
    TValues values;
    const auto actuals = [&values](const auto &points)
    {
        for (const auto &point : points)
            values.push_back(point.actual);
    };
    if (const auto *five_gauge = dynamic_cast<const TMeasureStepgauge10360 *>(&record))
        actuals(five_gauge->Points());
    else if (const auto *b89 = dynamic_cast<const TMeasureStepgaugeB89 *>(&record))
        actuals(b89->Points());
    else if (const auto *square = dynamic_cast<const TMeasureStepgaugeSquare *>(&record))
        actuals(square->Points());
    else
        values = dynamic_cast<const TMeasureGaugeblock &>(record).Positions();
    return values;
}

struct TMatchRow
{
    TValues positions;
    TValues certified;
    bool matched;
    TValues nominals;
    std::vector<int> curves;
};
// "Point:" index, position, actual, nominal, x, y, z, deviation; the position is the nominal.
QByteArray Point(int index, double nominal, double actual)
{
    return QStringLiteral("Point:%1,%2,%3,%2,0,0,0,%4")
        .arg(index)
        .arg(nominal, 0, 'f', 5)
        .arg(actual, 0, 'f', 5)
        .arg(actual - nominal, 0, 'f', 5)
        .toLatin1();
}

// One reading per position; the deviation is a thousandth of the reading's number.
QByteArray Readings(const TValues &positions)
{
    QList<QByteArray> lines;
    for (size_t i = 0; i < positions.size(); ++i)
        lines +=
            Point(static_cast<int>(i + 1), positions[i], positions[i] + 0.001 * static_cast<double>(i + 1));
    return lines.join('\n');
}
} // namespace

Q_DECLARE_METATYPE(TMatchRow)

class TTestStepgauge : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &file, const QString &message,
                            const TValues &positions = {}) {
            QTest::newRow(name) << TLoadRow{kind, file, message, positions};
        };

        const QByteArray gauge_36 = With_Positions(FIVE_GAUGE, Series(36));
        row("records inside their sections are not required", FIVE_GAUGE,
            Without(Without(Without(gauge_36, "X_Scale:"), "X_Expansion_Coefficient:"), "X_Axis:"), QString(),
            Series(36));

        // The five gauge file holds exactly 36 points; records of other part counts are skipped. A single
        // colon does not close the Measurement section, so the point after it still counts.
        row("10360: 35 points", FIVE_GAUGE, With_Positions(FIVE_GAUGE, Series(35)), DATA_MISSING);
        row("10360: 37 points", FIVE_GAUGE, With_Positions(FIVE_GAUGE, Series(37)), DATA_MISSING);
        row("10360: four and six parts skipped, one-colon marker, points after the section", FIVE_GAUGE,
            Inserted(Inserted(gauge_36, "Point:36,", "Measurement_End:"),
                     "Measurement_End::", "Point:37,1,1.0,0\nPoint:38,1,1.0,0,0,0") +
                "Point:39,1,1,0,0\n",
            QString(), Series(36));

        row("b89: second part of four, empty parts and words read as zero", B89,
            With_Points(B89,
                        "Point:7, 250.125 ,x,y\nPoint:1,1,50,0,0\nPoint:1,60,0\nPoint:,,,\nPoint:4,nan,0,0"),
            QString(), {250.125, 0, 0});
        row("b89: points outside the section or with two sections open ignored", B89,
            With_Points(B89, "Point:1,5,0,0\nAlignment_Begin:\nPoint:2,99,0,0\nAlignment_End:") +
                "Point:3,100,0,0\n",
            QString(), {5});

        // Squareness readings are sorted and merged while each lies within 1.0 of the one before it.
        row("square: chains of close readings merge, a gap above 1.0 splits, steps sorted", SQUARE,
            With_Positions(SQUARE, {200, 1.8, 0, 100.3, 0.9, 99.8, 2.8001, 100.1}), QString(),
            {0.9, 2.8001, (99.8 + 100.1 + 100.3) / 3.0, 200});
        row("square: a gap of exactly 1.0 joins", SQUARE, With_Positions(SQUARE, {0, 1}), QString(), {0.5});
        row("square: third part of five", SQUARE,
            With_Points(SQUARE, "Point:3,2, 42.5 ,x,y\nPoint:1,60,0,0\nPoint:1,1,70,0,0,0"), QString(),
            {42.5});

        const TValues six = {10.000, 35.002, 10.001, 35.001, 9.999, 35.003};
        const QByteArray block = With_Positions(BLOCK, six);
        row("block: five positions", BLOCK, With_Positions(BLOCK, Series(5)), DATA_MISSING);
        row("block: seven positions", BLOCK, With_Positions(BLOCK, Series(7)), DATA_MISSING);
        row("block: a reference step is no flatness", BLOCK,
            Replaced(block, "Datum_Flatness:", "Reference_Step_Position:0.0002"), DATA_MISSING);
        row("block: flatness outside the measurement section", BLOCK,
            Without(block, "Datum_Flatness:") + "Datum_Flatness:0.0002\n", DATA_MISSING);

        // The values of a laser record: measurement type and whether the probe offsets are valid.
        const QByteArray lengths = Example_Of(LENGTHS);
        const QByteArray pmove = Example_Of(PMOVE);
        const auto type = [](const QByteArray &file, const char *value)
        { return Replaced(file, "Measurement_Type:", QByteArray("Measurement_Type:") + value); };

        row("10360: type in lower case among words", LENGTHS, type(lengths, " measured straightness_y of X"),
            QString(), {2, 1});
        row("10360: scale tested before angular", LENGTHS, type(lengths, "Angular_Scale"), QString(), {0, 1});
        row("10360: straightness in X", LENGTHS, type(lengths, "Straightness_X"), QString(), {1, 1});
        row("10360: angular", LENGTHS, type(lengths, "ANGULAR"), QString(), {4, 1});
        row("10360: data collection type name", LENGTHS, type(lengths, "Straightness_In_Y"), TYPE_MESSAGE);
        row("pmove: straightness in Y", PMOVE, type(pmove, "Straightness_In_Y"), QString(), {2, 1});
        row("pmove: length test type name", PMOVE, type(pmove, "Straightness_X"), TYPE_MESSAGE);
        row("yes in any letter case", PMOVE,
            Replaced(pmove, "Probe_Offsets_Valid:", "PROBE_OFFSETS_VALID:yES"), QString(), {0, 1});

        // The length test holds exactly 30 points of eight or more parts, inside the section.
        row("10360: 29 points", LENGTHS, Without(lengths, "Point:30,"), DATA_MISSING);
        row("10360: 31 points", LENGTHS, Inserted(lengths, "Point:1,", Point(31, 0, 0)), DATA_MISSING);
        row("10360: seven parts ignored", LENGTHS, Replaced(lengths, "Point:5,", "Point:5,0,0,0,1,2,3"),
            DATA_MISSING);
        row("10360: parts beyond the eighth ignored", LENGTHS,
            Replaced(lengths, "Point:5,", "Point:5,0,0,0,1,2,3,0.0002,extra"), QString(), {0, 1});
        row("10360: point after the section", LENGTHS,
            Without(lengths, "Point:30,") + Point(30, 1000, 1000) + '\n', DATA_MISSING);
        // Alignment and probe vector records belong to other kinds: ignored, also when malformed, and an
        // alignment marker opens no section that would hide the points.
        row("10360: other kinds' records ignored", LENGTHS,
            Inserted(lengths, "Point:1,", "Alignment_Begin:\nX_Axis:1 0 0\nProbe_Vector:0,1"), QString(),
            {0, 1});
    }

    void Load()
    {
        QFETCH(TLoadRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.kind, row.file);
        QCOMPARE(record->last_error, row.message);
        const auto *laser = dynamic_cast<const TMeasureLaserCommon *>(record.get());
        if (!row.message.isEmpty() || !laser)
            return row.message.isEmpty() ? Compare_Values(Positions(*record), row.values) : void();
        Compare_Values({double(laser->Measurement_Type()), double(laser->Probe_Offsets_Valid())}, row.values);
        static const char *const TYPE_TEXTS[] = {"Scale", "Straightness in X", "Straightness in Y",
                                                 "Straightness in Z", "Angular"};
        const QStringList report = record->Text_Report();
        QVERIFY(report.contains(QStringLiteral("  Measurement_Type: ") +
                                QLatin1String(TYPE_TEXTS[laser->Measurement_Type()])));
        QVERIFY(report.contains(QStringLiteral("  Valid:  ") + QLatin1String(row.values[1] ? "Yes" : "No")));
    }

    void Nominal_Matching_data()
    {
        QTest::addColumn<TMatchRow>("row");
        const auto row = [](const char *name, const TMatchRow &match) { QTest::newRow(name) << match; };
        // The B89 example's reference step is 10: a position p is looked up at p + 10, and matched by the
        // first certified position within 2.0 of it, not the nearest.
        row("2.1 away is no match", {{250.5}, {258.4, 260.0}, true, {250.0}, {1}});
        row("first within 2.0 wins", {{250.5}, {258.6, 260.0}, true, {248.6}, {1}});
        row("exactly 2.0 above", {{250.5}, {262.5}, true, {252.5}, {1}});
        row("matched in any order",
            {{0.0004, 100.0011, 199.999}, {210.0002, 10.0, 110.0003}, true, {0, 100.0003, 200.0002}, {3}});
        // Matching stops at the first miss; the points before it keep their new nominals.
        row("third point unmatched",
            {{0, 50, 75, 100}, {10.001, 60.002, 110}, false, {0.001, 50.002, 75, 100}, {4}});
        row("no points", {{}, {}, true, {}, {}});
        // A new curve starts where the position steps back; equal positions continue it.
        row("two runs", {{0, 100, 200, 0, 100},
                         {10.001, 110.001, 210.001},
                         true,
                         {0.001, 100.001, 200.001, 0.001, 100.001},
                         {3, 2}});
        row("equal positions continue", {{0, 100, 100, 50}, {10, 60, 110}, true, {0, 100, 100, 50}, {3, 1}});
    }

    void Nominal_Matching()
    {
        QFETCH(TMatchRow, row);
        TMeasureStepgaugeB89 record;
        QVERIFY(record.Load_Data(With_Positions(B89, row.positions)));
        QCOMPARE(record.Set_Nominal_Data(row.certified), row.matched);
        QCOMPARE(record.last_error, row.matched ? QString() : NOT_FOUND);
        TValues nominals;
        TValues graph; // each run along the gauge is a curve of (position, deviation)
        for (size_t i = 0; i < record.Points().size(); ++i)
        {
            nominals.push_back(record.Points()[i].nominal);
            graph.insert(graph.end(), {row.positions[i], row.positions[i] - row.nominals[i]});
        }
        Compare_Values(nominals, row.nominals);
        QCOMPARE(Sizes(record.Graph_Data()), row.curves);
        Compare_Values(Flat(record.Graph_Data()), graph);
    }

    void Graph_Follows_Nominals()
    {
        TMeasureStepgauge10360 record;
        QVERIFY(record.Load_Data(Example_Of(FIVE_GAUGE)));
        QVERIFY(record.Set_Nominal_Data(CERTIFIED));
        const QStringList report = record.Text_Report();
        QVERIFY(record.Set_Nominal_Data(CERTIFIED)); // matching again gives the same result
        QCOMPARE(record.Text_Report(), report);
        // Curve r holds repeat r of every length, at the first repeat's measured length.
        TValues expected;
        for (size_t repeat = 0; repeat < 3; ++repeat)
            for (size_t group = 0; group < 6; ++group)
            {
                const TMeasureStepgauge10360::TLengthData &length = record.Lengths()[3 * group + repeat];
                QVERIFY(qAbs(length.nominal - (CERTIFIED[group + 1] - CERTIFIED[0])) < 1e-9);
                expected.insert(expected.end(),
                                {record.Lengths()[3 * group].actual, length.actual - length.nominal});
            }
        Compare_Values(Flat(record.Graph_Data()), expected);
    }

    void Failed_Match_Keeps_Lengths()
    {
        // Only the first two steps are certified.
        for (const int kind : {FIVE_GAUGE, SQUARE})
        {
            const std::unique_ptr<TMeasureData> record = Loaded(kind, Example_Of(kind));
            const QStringList report = record->Text_Report();
            QVERIFY(!record->Set_Nominal_Data(kind == SQUARE ? TValues{20.0, 70.0002}
                                                             : TValues{10.0, 110.00031}));
            QCOMPARE(record->last_error, NOT_FOUND);
            QCOMPARE(record->Text_Report(), report);
        }
    }

    void Squareness_Graph()
    {
        // Deviations of +1 µm at 100 mm and +3 µm at 200 mm (reference step 20); the line through such
        // deviations is the golden report's.
        TMeasureStepgaugeSquare record;
        QVERIFY(record.Load_Data(With_Positions(SQUARE, {0.0, 100.001, 200.003})));
        QVERIFY(record.Set_Nominal_Data({220.0, 120.0, 20.0}));
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>{2});
        Compare_Values(Flat(record.Graph_Data()), {100.001, 0.001, 200.003, 0.003});
    }

    void Length_Points_In_Any_Order()
    {
        // The example's points written 30 down to 1, one number with blanks around it: after sorting
        // they pair as (1, 2), (3, 4), ... again.
        QList<QByteArray> points;
        for (const QByteArray &line : Example_Of(LENGTHS).split('\n'))
            if (line.startsWith("Point:"))
                points.prepend(line);
        points[0].replace("Point:30,", "Point: 30 ,");
        QCOMPARE(Loaded(LENGTHS, With_Points(LENGTHS, points.join('\n')))->Text_Report(),
                 Loaded(LENGTHS, Example_Of(LENGTHS))->Text_Report());
    }

    void Combined_Readings_data()
    {
        QTest::addColumn<TLoadRow>("row"); // the values: x and y of each point
        const auto row = [](const char *name, const QByteArray &file, const TValues &points) {
            QTest::newRow(name) << TLoadRow{PMOVE, file, QString(), points};
        };
        const auto file = [](const QByteArray &readings)
        { return With_Points(PMOVE, readings) + Point(9, 500, 500.5) + '\n'; };

        // Deviations are 0.001, 0.002, ... in file order; readings closer than 1.0 to the one before
        // them in sorted order are one point, at the mean position with the mean deviation.
        row("readings combine per position", file(Readings({0.0, 0.5, 100.0, 100.9, 200.0})),
            {0.25, 0.0015, 100.45, 0.0035, 200.0, 0.005});
        row("a gap of exactly 1.0 splits, sorted", file(Readings({1.0, 0.0})), {0.0, 0.002, 1.0, 0.001});
        row("a chain of close readings is one position", file(Readings({1.2, 0.0, 0.6})), {0.6, 0.002});
        row("no readings", file(QByteArray()), {});
        row("seven parts ignored", file(Readings({10.0}) + "\nPoint:2,20,20,20,0,0,0"), {10.0, 0.001});
        // Readings count only once a measurement type has been read.
        const QByteArray type = "Measurement_Type:Scale";
        row("readings before the type",
            Inserted(Without(file(Readings({0.0, 100.0, 200.0})), type), "Point:3,", type), {200.0, 0.003});
        row("type after the section", Without(file(Readings({0.0, 100.0})), type) + type + '\n', {});
    }

    void Combined_Readings()
    {
        QFETCH(TLoadRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.kind, row.file);
        QCOMPARE(record->last_error, QString());
        // The graph is always exactly one curve, also an empty one: the combined points.
        QCOMPARE(record->Graph_Data().size(), size_t(1));
        Compare_Values(Flat(record->Graph_Data()), row.values);
    }
};

QTEST_GUILESS_MAIN(TTestStepgauge)
#include "tst_stepgauge.moc"
