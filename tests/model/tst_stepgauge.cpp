// The step gauge and gauge block records: the file reader they share, malformed records, point counts
// and layouts, merging of squareness readings, nominal matching, lengths and graphs.

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
// The five gauge example's certified positions: steps 0, 100, 200, 400, 600, 800 and 1000.
const TValues CERTIFIED = {10.0, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};

// The examples: reference step 10 (five gauge and B89) and 20 (squareness).
QByteArray Example_Of(int kind)
{
    const char *const names[] = {"stepgauge_10360_x_front", "stepgauge_b89_x_axis", "stepgauge_squareness_xy",
                                 "gaugeblock_500mm_x_axis"};
    return Example(QLatin1String(names[kind - FIVE_GAUGE]));
}

// Point: records in the kind's layout: the position is part 1 of four (B89) or part 2 of five.
QByteArray Points(int kind, const TValues &positions)
{
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
        lines += QString::fromLatin1(kind == B89 ? "Point:%1,%2,0.001,-0.001" : "Point:%1,1,%2,0.001,-0.001")
                     .arg(i + 1)
                     .arg(positions[i], 0, 'f', 5);
    return lines.join(QLatin1Char('\n')).toLatin1();
}

// The kind's example with its Point: records replaced.
QByteArray With_Points(int kind, const QByteArray &points)
{
    return Inserted(Without(Example_Of(kind), "Point:"), "Measurement_End::", points);
}

QByteArray With_Positions(int kind, const TValues &positions)
{
    return With_Points(kind, Points(kind, positions));
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

        const QByteArray five_gauge = Example_Of(FIVE_GAUGE);
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
        row("block: six positions", BLOCK, block, QString(), six);
        row("block: five positions", BLOCK, With_Positions(BLOCK, Series(5)), DATA_MISSING);
        row("block: seven positions", BLOCK, With_Positions(BLOCK, Series(7)), DATA_MISSING);
        row("block: a reference step is no flatness", BLOCK,
            Replaced(block, "Datum_Flatness:", "Reference_Step_Position:0.0002"), DATA_MISSING);
        row("block: flatness outside the measurement section", BLOCK,
            Without(block, "Datum_Flatness:") + "Datum_Flatness:0.0002\n", DATA_MISSING);
    }

    void Load()
    {
        QFETCH(TLoadRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.kind, row.file);
        QCOMPARE(record->last_error, row.message);
        if (row.message.isEmpty())
            Compare_Values(Positions(*record), row.values);
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
        Compare_Values(Positions(record), row.positions);
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
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>({6, 6, 6}));
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

    void Squareness_Line()
    {
        // Deviations of +1 µm at 100 mm and +3 µm at 200 mm (reference step 20).
        TMeasureStepgaugeSquare record;
        QVERIFY(record.Load_Data(With_Positions(SQUARE, {0.0, 100.001, 200.003})));
        QVERIFY(record.Set_Nominal_Data({220.0, 120.0, 20.0}));
        const double slope = 0.002 / 100.002;
        QVERIFY2(qAbs(record.Slope() - slope) < 1e-12, qPrintable(QString::number(record.Slope(), 'g', 12)));
        QVERIFY(qAbs(record.Intercept() - (0.001 - slope * 100.001)) < 1e-12);
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>{2});
        Compare_Values(Flat(record.Graph_Data()), {100.001, 0.001, 200.003, 0.003});

        // One length is too few for a line: the slope stays 0.
        TMeasureStepgaugeSquare single;
        QVERIFY(single.Load_Data(With_Positions(SQUARE, {0.0, 100.001})));
        QVERIFY(single.Set_Nominal_Data({20.0, 120.0}));
        QCOMPARE(single.Slope(), 0.0);
    }
};

QTEST_GUILESS_MAIN(TTestStepgauge)
#include "tst_stepgauge.moc"
