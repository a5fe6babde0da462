// The two laser records: the reader they share, measurement types, the pairing of the length test's
// points and the combining of the data collection's readings.

#include "measure_checks.h"
#include "measuredata_machinelaser10360.h"
#include "measuredata_machinelaserpmove.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const int LENGTHS = TMeasureData::CONTENTS_LASER_10360;
const int PMOVE = TMeasureData::CONTENTS_LASER_PMOVE;
const QString TYPE_MESSAGE = QStringLiteral("Measurement Type not recognized.");

QByteArray Example_Of(int kind)
{
    return Example(QLatin1String(kind == LENGTHS ? "laser_10360_x_axis" : "laser_pmove_x_axis"));
}

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

// The kind's example with its Point: records replaced.
QByteArray With_Points(int kind, const QByteArray &points)
{
    return Inserted(Without(Example_Of(kind), "Point:"), "Measurement_End::", points);
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

class TTestLaser : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // The values: measurement type and whether the probe offsets are valid.
    void Load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &file, const QString &message,
                            const TValues &values = {}) {
            QTest::newRow(name) << TLoadRow{kind, file, message, values};
        };
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
        row("probe offsets not valid", LENGTHS,
            Replaced(lengths, "Probe_Offsets_Valid:", "Probe_Offsets_Valid: No"), QString(), {0, 0});
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
        if (!row.message.isEmpty())
            return;
        const auto &laser = dynamic_cast<const TMeasureLaserCommon &>(*record);
        Compare_Values({double(laser.Measurement_Type()), double(laser.Probe_Offsets_Valid())}, row.values);
        static const char *const TYPE_TEXTS[] = {"Scale", "Straightness in X", "Straightness in Y",
                                                 "Straightness in Z", "Angular"};
        const QStringList report = record->Text_Report();
        QVERIFY(report.contains(QStringLiteral("  Measurement_Type: ") +
                                QLatin1String(TYPE_TEXTS[laser.Measurement_Type()])));
        QVERIFY(report.contains(row.values[1] ? QStringLiteral("  Valid:  Yes")
                                              : QStringLiteral("  Valid:  No")));
    }

    void Length_Pairs()
    {
        // Five lengths of 100 to 500 mm, three repeats each, deviations 1 to 15 µm; written 30 down to 1,
        // one number with blanks around it: after sorting the points still pair as (1, 2), (3, 4), ...
        QList<QByteArray> points;
        for (int number = 30; number >= 1; --number)
        {
            const int length = (number - 1) / 2;
            const double nominal = number % 2 == 0 ? 100.0 * (length / 3 + 1) : 0.0;
            points += Point(number, nominal, number % 2 == 0 ? nominal + 0.001 * (length + 1) : 0.0);
        }
        points[0].replace("Point:30,", "Point: 30 ,");

        TMeasureMachineLaser10360 record;
        QVERIFY(record.Load_Data(With_Points(LENGTHS, points.join('\n'))));
        TValues lengths;
        TValues expected_lengths;
        for (size_t i = 0; i < record.Lengths().size(); ++i)
        {
            lengths.insert(lengths.end(), {record.Lengths()[i].nominal, record.Lengths()[i].actual});
            const double nominal = 100.0 * static_cast<double>(i / 3 + 1);
            expected_lengths.insert(expected_lengths.end(),
                                    {nominal, nominal + 0.001 * static_cast<double>(i + 1)});
        }
        Compare_Values(lengths, expected_lengths);
        QCOMPARE(lengths.size(), size_t(30));
    }

    void Combined_Readings_data()
    {
        QTest::addColumn<QByteArray>("readings");
        QTest::addColumn<TValues>("points"); // x and y of each point

        // Deviations are 0.001, 0.002, ... in file order; readings closer than 1.0 to the one before
        // them in sorted order are one point, at the mean position with the mean deviation.
        QTest::newRow("readings combine per position") << Readings({0.0, 0.5, 100.0, 100.9, 200.0})
                                                       << TValues{0.25, 0.0015, 100.45, 0.0035, 200.0, 0.005};
        QTest::newRow("a gap of exactly 1.0 splits, sorted")
            << Readings({1.0, 0.0}) << TValues{0.0, 0.002, 1.0, 0.001};
        QTest::newRow("a chain of close readings is one position")
            << Readings({1.2, 0.0, 0.6}) << TValues{0.6, 0.002};
        QTest::newRow("no readings") << QByteArray() << TValues{};
        QTest::newRow("seven parts ignored")
            << Readings({10.0}) + "\nPoint:2,20,20,20,0,0,0" << TValues{10.0, 0.001};
    }

    void Combined_Readings()
    {
        QFETCH(QByteArray, readings);
        QFETCH(TValues, points);
        TMeasureMachineLaserPMove record;
        QVERIFY(record.Load_Data(With_Points(PMOVE, readings) + Point(9, 500, 500.5) + '\n'));
        Compare_Values(Flat({record.Points()}), points);
        // The graph is always exactly one curve: the combined points.
        Compare_Values(Flat(record.Graph_Data()), points);
        QCOMPARE(record.Graph_Data().size(), size_t(1));
    }

    void Readings_Before_The_Type()
    {
        // Readings count only once a measurement type has been read; all of them stay as entries.
        const QByteArray type = "Measurement_Type:Scale";
        const QByteArray late =
            Inserted(Without(With_Points(PMOVE, Readings({0.0, 100.0, 200.0})), type), "Point:3,", type);
        TMeasureMachineLaserPMove record;
        QVERIFY(record.Load_Data(late));
        QCOMPARE(record.Measured_Data().size(), size_t(3));
        Compare_Values(Flat({record.Points()}), {200.0, 0.003});

        // A type after the whole measurement section: the file loads with no points and an empty curve.
        TMeasureMachineLaserPMove after;
        QVERIFY(after.Load_Data(Without(With_Points(PMOVE, Readings({0.0, 100.0})), type) + type + '\n'));
        QVERIFY(after.Points().empty());
        QCOMPARE(Sizes(after.Graph_Data()), std::vector<int>{0});
    }
};

QTEST_GUILESS_MAIN(TTestLaser)
#include "tst_laser.moc"
