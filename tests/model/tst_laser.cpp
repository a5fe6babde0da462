// The two laser records: the reader they share, measurement types, the pairing of the length test's
// points, the combining of the data collection's readings and files of the largest size.

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
QByteArray Readings(const std::vector<double> &positions)
{
    QList<QByteArray> lines;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        lines +=
            Point(static_cast<int>(i + 1), positions[i], positions[i] + 0.001 * static_cast<double>(i + 1));
    }
    return lines.join('\n');
}
} // namespace

class TestLaser : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data();
    void Load();
    void Length_Pairs();
    void Combined_Readings_data();
    void Combined_Readings();
    void Readings_Before_The_Type();
    void Large_File();
};

void TestLaser::Load_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("valid");
    const auto fails = [](const char *name, int kind, const QByteArray &file, const QString &message)
    { QTest::newRow(name) << kind << file << message << 0 << true; };
    const auto loads = [](const char *name, int kind, const QByteArray &file, int type, bool valid)
    { QTest::newRow(name) << kind << file << QString() << type << valid; };
    const QByteArray lengths = Example_Of(LENGTHS);
    const QByteArray pmove = Example_Of(PMOVE);
    const auto type = [](const QByteArray &file, const char *value)
    { return Replaced(file, "Measurement_Type:", QByteArray("Measurement_Type:") + value); };

    loads("10360: type in lower case among words", LENGTHS, type(lengths, " measured straightness_y of X"), 2,
          true);
    loads("10360: scale tested before angular", LENGTHS, type(lengths, "Angular_Scale"), 0, true);
    loads("10360: straightness in X", LENGTHS, type(lengths, "Straightness_X"), 1, true);
    loads("10360: angular", LENGTHS, type(lengths, "ANGULAR"), 4, true);
    fails("10360: data collection type name", LENGTHS, type(lengths, "Straightness_In_Y"), TYPE_MESSAGE);
    loads("pmove: straightness in Y", PMOVE, type(pmove, "Straightness_In_Y"), 2, true);
    loads("pmove: straightness in Z, lower case", PMOVE, type(pmove, "y axis straightness_in_z"), 3, true);
    fails("pmove: length test type name", PMOVE, type(pmove, "Straightness_X"), TYPE_MESSAGE);
    loads("probe offsets not valid", LENGTHS,
          Replaced(lengths, "Probe_Offsets_Valid:", "Probe_Offsets_Valid: No"), 0, false);
    loads("yes in any letter case", PMOVE, Replaced(pmove, "Probe_Offsets_Valid:", "PROBE_OFFSETS_VALID:yES"),
          0, true);

    // The length test holds exactly 30 points of eight or more parts, inside the section.
    fails("10360: 29 points", LENGTHS, Without(lengths, "Point:30,"), DATA_MISSING);
    fails("10360: 31 points", LENGTHS, Inserted(lengths, "Point:1,", Point(31, 0, 0)), DATA_MISSING);
    fails("10360: seven parts ignored", LENGTHS, Replaced(lengths, "Point:5,", "Point:5,0,0,0,1,2,3"),
          DATA_MISSING);
    loads("10360: parts beyond the eighth ignored", LENGTHS,
          Replaced(lengths, "Point:5,", "Point:5,0,0,0,1,2,3,0.0002,extra"), 0, true);
    fails("10360: point after the section", LENGTHS,
          Without(lengths, "Point:30,") + Point(30, 1000, 1000) + '\n', DATA_MISSING);
    // Alignment and probe vector records belong to other kinds: ignored, also when malformed, and an
    // alignment marker opens no section that would hide the points.
    loads("10360: other kinds' records ignored", LENGTHS,
          Inserted(lengths, "Point:1,", "Alignment_Begin:\nX_Axis:1 0 0\nProbe_Vector:0,1"), 0, true);

    fails("start point malformed", PMOVE, Replaced(pmove, "Start_Point:", "Start_Point:1,2"),
          QStringLiteral("Start point data not recognized."));
    fails("axis malformed", LENGTHS, Replaced(lengths, "Measurement_Axis:", "Measurement_Axis:1,0,0,0"),
          QStringLiteral("Measurement Axis data not recognized."));
    fails("probe offset malformed", PMOVE, Replaced(pmove, "Probe_Offset:", "Probe_Offset:0;0;-150"),
          PROBE_OFFSET);
    fails("other laser's identification", PMOVE,
          "B89.4.10360_Raw_Measurement:Version=1:Type=Machine_And_Laser" + pmove.mid(pmove.indexOf('\n')),
          QStringLiteral("Machine_Laser identification line not recognized"));
    for (const char *line_start :
         {"Probe_Offsets_Valid:", "Probe_Offset:", "Start_Point:", "Measurement_Axis:", "Measurement_Type:",
          "Description:", "Measurement_Begin:"})
    {
        fails(qPrintable(QStringLiteral("without ") + QLatin1String(line_start)), LENGTHS,
              Without(lengths, line_start), DATA_MISSING);
    }
}

void TestLaser::Load()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, type);
    QFETCH(bool, valid);

    const std::unique_ptr<TMeasureData> record =
        Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
    QCOMPARE(record->Load_Data(file), message.isEmpty());
    QCOMPARE(record->last_error, message);
    if (!message.isEmpty())
    {
        return;
    }
    const auto *laser = dynamic_cast<const TMeasureLaserCommon *>(record.get());
    QCOMPARE(laser->Measurement_Type(), type);
    QCOMPARE(laser->Probe_Offsets_Valid(), valid);
    static const char *const TYPE_TEXTS[] = {"Scale", "Straightness in X", "Straightness in Y",
                                             "Straightness in Z", "Angular"};
    const QStringList report = record->Text_Report();
    QVERIFY(report.contains(QStringLiteral("  Measurement_Type: ") + QLatin1String(TYPE_TEXTS[type])));
    QVERIFY(report.contains(valid ? QStringLiteral("  Valid:  Yes") : QStringLiteral("  Valid:  No")));
}

void TestLaser::Length_Pairs()
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
    QCOMPARE(record.Lengths().size(), size_t(15));
    for (size_t i = 0; i < 15; ++i)
    {
        QCOMPARE(record.Lengths()[i].nominal, 100.0 * static_cast<double>(i / 3 + 1));
        QVERIFY(qAbs(record.Lengths()[i].actual - record.Lengths()[i].nominal - 0.001 * (i + 1)) < 1e-9);
    }

    // Curve r holds repeat r of every length, at the first repeat's measured length.
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(3));
    for (size_t repeat = 0; repeat < 3; ++repeat)
    {
        QCOMPARE(curves[repeat].size(), size_t(5));
        for (size_t group = 0; group < 5; ++group)
        {
            QCOMPARE(curves[repeat][group].x, record.Lengths()[3 * group].actual);
            QVERIFY(qAbs(curves[repeat][group].y - 0.001 * static_cast<double>(3 * group + repeat + 1)) <
                    1e-9);
        }
    }
}

void TestLaser::Combined_Readings_data()
{
    QTest::addColumn<QByteArray>("readings");
    QTest::addColumn<std::vector<double>>("points"); // x and y of each point

    // Deviations are 0.001, 0.002, ... in file order; readings closer than 1.0 to the one before
    // them in sorted order are one point, at the mean position with the mean deviation.
    QTest::newRow("readings combine per position")
        << Readings({0.0, 0.5, 100.0, 100.9, 200.0})
        << std::vector<double>{0.25, 0.0015, 100.45, 0.0035, 200.0, 0.005};
    QTest::newRow("a gap of exactly 1.0 splits, sorted")
        << Readings({1.0, 0.0}) << std::vector<double>{0.0, 0.002, 1.0, 0.001};
    QTest::newRow("a chain of close readings is one position")
        << Readings({1.2, 0.0, 0.6}) << std::vector<double>{0.6, 0.002};
    QTest::newRow("no readings") << QByteArray() << std::vector<double>{};
    QTest::newRow("seven parts ignored")
        << Readings({10.0}) + "\nPoint:2,20,20,20,0,0,0" << std::vector<double>{10.0, 0.001};
}

void TestLaser::Combined_Readings()
{
    QFETCH(QByteArray, readings);
    QFETCH(std::vector<double>, points);

    TMeasureMachineLaserPMove record;
    QVERIFY(record.Load_Data(With_Points(PMOVE, readings) + Point(9, 500, 500.5) + '\n'));
    std::vector<double> values;
    for (const TVector2 &point : record.Points())
    {
        values.push_back(point.x);
        values.push_back(point.y);
    }
    Compare_Values(values, points);
    // The graph is always exactly one curve: the combined points.
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(1));
    QCOMPARE(curves[0].size(), record.Points().size());
}

void TestLaser::Readings_Before_The_Type()
{
    // Readings count only once a measurement type has been read; all of them stay as entries.
    const QByteArray type = "Measurement_Type:Scale";
    const QByteArray late =
        Inserted(Without(With_Points(PMOVE, Readings({0.0, 100.0, 200.0})), type), "Point:3,", type);
    TMeasureMachineLaserPMove record;
    QVERIFY(record.Load_Data(late));
    QCOMPARE(record.Measured_Data().size(), size_t(3));
    QCOMPARE(record.Points().size(), size_t(1));
    QCOMPARE(record.Points()[0].x, 200.0);

    // A type after the whole measurement section: the file loads with no points and an empty curve.
    TMeasureMachineLaserPMove after;
    QVERIFY(after.Load_Data(Without(With_Points(PMOVE, Readings({0.0, 100.0})), type) + type + '\n'));
    QVERIFY(after.Points().empty());
    QCOMPARE(after.Graph_Data().size(), size_t(1));
    QVERIFY(after.Graph_Data()[0].empty());
}

void TestLaser::Large_File()
{
    // Positions 1.5 mm apart in descending order: all are sorted, none combine, and each is one
    // report line.
    const QByteArray file = With_Points(PMOVE, "");
    TMeasureMachineLaserPMove empty;
    QVERIFY(empty.Load_Data(file));
    Check_Large_File(
        file.left(file.indexOf("Measurement_End::")),
        [](int i)
        {
            const double position = 100000.0 - 1.5 * i;
            return Point(i, position, position + 0.001) + '\n';
        },
        "Measurement_End::\n", static_cast<int>(empty.Text_Report().size()));
}

QTEST_GUILESS_MAIN(TestLaser)
#include "tst_laser.moc"
