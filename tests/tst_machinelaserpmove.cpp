#include "measure_checks.h"
#include "measure_files.h"
#include "measuredata_machinelaserpmove.h"

namespace
{
const char IDENTIFICATION[] = "PMove_Raw_Measurement:Version=1:Type=Machine_And_Laser";
const char DATA_MISSING[] = "Data missing from measurement file.";

// One reading per position; the deviation is a thousandth of the position's index.
QStringList Readings(const std::vector<double> &positions)
{
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        const double deviation = 0.001 * static_cast<double>(i + 1);
        lines += MeasureFiles::Laser_Point(static_cast<int>(i + 1), positions[i], positions[i] + deviation,
                                           positions[i], deviation);
    }
    return lines;
}

QStringList File_Lines(const QStringList &measurement, const QString &type = QStringLiteral("Scale"))
{
    return MeasureFiles::Laser_File_Lines(QLatin1String(IDENTIFICATION), type, measurement);
}

QByteArray File_With(const QStringList &measurement, const QString &type = QStringLiteral("Scale"))
{
    return MeasureFiles::File(File_Lines(measurement, type));
}

QByteArray File_Without(const QString &line_start)
{
    return MeasureFiles::File(MeasureFiles::Without(File_Lines(Readings({0, 100})), line_start));
}
} // namespace

class TMachineLaserPMoveTest : public QObject
{
    Q_OBJECT

  private slots:
    void Load_data();
    void Load();
    void Readings_Before_Type();
    void Report_data();
    void Report();
    void Example_Report_data();
    void Example_Report();
    void Damaged_Files();
    void Large_File();
};

void TMachineLaserPMoveTest::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("type");
    QTest::addColumn<std::vector<TVector2>>("points");

    // Deviations of the readings are 0.001, 0.002, ... in file order.
    QTest::newRow("readings combine per position")
        << File_With(Readings({0.0, 0.5, 100.0, 100.9, 200.0})) << QString() << 0
        << std::vector<TVector2>{{0.25, 0.0015}, {100.45, 0.0035}, {200.0, 0.005}};
    QTest::newRow("gap of exactly 1.0 splits") << File_With(Readings({1.0, 0.0})) << QString() << 0
                                               << std::vector<TVector2>{{0.0, 0.002}, {1.0, 0.001}};
    QTest::newRow("chain of close readings is one position")
        << File_With(Readings({1.2, 0.0, 0.6})) << QString() << 0 << std::vector<TVector2>{{0.6, 0.002}};
    QTest::newRow("equal positions") << File_With(Readings({5, 5, 5, 5})) << QString() << 0
                                     << std::vector<TVector2>{{5.0, 0.0025}};
    QTest::newRow("no readings") << File_With({}) << QString() << 0 << std::vector<TVector2>{};
    QTest::newRow("seven parts ignored")
        << File_With(Readings({10.0}) + QStringList(QStringLiteral("Point:2,20,20,20,0,0,0"))) << QString()
        << 0 << std::vector<TVector2>{{10.0, 0.001}};
    QTest::newRow("non-finite values read as zero")
        << File_With(
               {QStringLiteral("Point:1,nan,0,0,0,0,0,inf"), QStringLiteral("Point:2,1e400,0,0,0,0,0,0.004")})
        << QString() << 0 << std::vector<TVector2>{{0.0, 0.002}};

    QTest::newRow("straightness in X") << File_With(Readings({0.0}), QStringLiteral("Straightness_In_X"))
                                       << QString() << 1 << std::vector<TVector2>{{0.0, 0.001}};
    QTest::newRow("straightness in Z, lower case")
        << File_With(Readings({0.0}), QStringLiteral("y axis straightness_in_z")) << QString() << 3
        << std::vector<TVector2>{{0.0, 0.001}};
    QTest::newRow("angular") << File_With(Readings({0.0}), QStringLiteral("Angular")) << QString() << 4
                             << std::vector<TVector2>{{0.0, 0.001}};
    QTest::newRow("length test type name")
        << File_With(Readings({0.0}), QStringLiteral("Straightness_X")) << "Measurement Type not recognized."
        << 0 << std::vector<TVector2>{};

    QStringList outside = File_Lines(Readings({10.0}));
    outside.append(MeasureFiles::Laser_Point(2, 20, 20, 20, 0.5));
    QTest::newRow("reading after the measurement section")
        << MeasureFiles::File(outside) << QString() << 0 << std::vector<TVector2>{{10.0, 0.001}};

    QStringList ten_gauge = File_Lines(Readings({0.0}));
    ten_gauge[0] = QStringLiteral("B89.4.10360_Raw_Measurement:Version=1:Type=Machine_And_Laser");
    QTest::newRow("laser length test identification")
        << MeasureFiles::File(ten_gauge) << "Machine_Laser identification line not recognized" << 0
        << std::vector<TVector2>{};

    const char *const required[] = {
        "Probe_Offsets_Valid:", "Probe_Offset:", "Start_Point:",      "Measurement_Axis:",
        "Measurement_Type:",    "Description:",  "Measurement_Begin:"};
    for (const char *line_start : required)
    {
        QTest::newRow(qPrintable(QStringLiteral("without %1").arg(QLatin1String(line_start))))
            << File_Without(QLatin1String(line_start)) << DATA_MISSING << 0 << std::vector<TVector2>{};
    }
}

void TMachineLaserPMoveTest::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, type);
    QFETCH(std::vector<TVector2>, points);

    TMeasureMachineLaserPMove record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_LASER_PMOVE));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    if (!message.isEmpty())
    {
        return;
    }
    QCOMPARE(record.Measurement_Type(), type);
    QCOMPARE(record.Points().size(), points.size());
    for (size_t i = 0; i < points.size(); ++i)
    {
        const TVector2 &point = record.Points()[i];
        QVERIFY2(qAbs(point.x - points[i].x) < 1e-9 && qAbs(point.y - points[i].y) < 1e-9,
                 qPrintable(QStringLiteral("%1: %2, %3").arg(i).arg(point.x).arg(point.y)));
    }
    // The graph is always exactly one curve: the combined points.
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(1));
    QCOMPARE(curves[0].size(), points.size());
}

void TMachineLaserPMoveTest::Readings_Before_Type()
{
    // Readings count only once a measurement type has been read; all of them stay as entries.
    QStringList lines = File_Lines(Readings({0.0, 100.0, 200.0}));
    const QString type = lines.takeAt(5);
    lines.insert(lines.size() - 2, type);
    TMeasureMachineLaserPMove late_type;
    QVERIFY(late_type.Load_Data(MeasureFiles::File(lines)));
    QCOMPARE(late_type.Measured_Data().size(), size_t(3));
    QCOMPARE(late_type.Points().size(), size_t(1));
    QCOMPARE(late_type.Points()[0].x, 200.0);

    // A type after the whole measurement section: the file loads with no points.
    lines.move(lines.indexOf(type), lines.size() - 1);
    TMeasureMachineLaserPMove after;
    QVERIFY(after.Load_Data(MeasureFiles::File(lines)));
    QVERIFY(after.Points().empty());
    QCOMPARE(after.Graph_Data().size(), size_t(1));
    QVERIFY(after.Graph_Data()[0].empty());
    const QStringList report = after.Text_Report();
    QCOMPARE(report.mid(report.size() - 5),
             QStringList({QStringLiteral("Measurement Points mm"), QString(44, QLatin1Char('-')), QString(),
                          QStringLiteral("     Nominal        Actual      Deviation"), QString()}));
}

void TMachineLaserPMoveTest::Report_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("tail");

    QTest::newRow("scale") << "Scale"
                           << QStringList({QStringLiteral("     Nominal        Actual      Deviation"),
                                           QString(),
                                           QStringLiteral("    500.0000      500.0020        0.0020"),
                                           QStringLiteral("    600.0000      599.9985       -0.0015")});
    QTest::newRow("straightness") << "Straightness_In_Y"
                                  << QStringList({QStringLiteral("     Position     Deviation"), QString(),
                                                  QStringLiteral("    500.0000        0.0020"),
                                                  QStringLiteral("    600.0000       -0.0015")});
}

void TMachineLaserPMoveTest::Report()
{
    QFETCH(QString, type);
    QFETCH(QStringList, tail);

    TMeasureMachineLaserPMove record;
    QVERIFY(record.Load_Data(File_With({MeasureFiles::Laser_Point(2, 600, 599.9985, 600, -0.0015),
                                        MeasureFiles::Laser_Point(1, 500, 500.002, 500, 0.002)},
                                       type)));
    const QStringList report = record.Text_Report();
    QCOMPARE(report.first(), QStringLiteral("PMove Laser Measurement"));
    QCOMPARE(report.mid(report.size() - tail.size()), tail);
}

void TMachineLaserPMoveTest::Example_Report_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");

    QTest::newRow("scale") << "laser_pmove_x_axis" << 11;
    QTest::newRow("straightness") << "laser_pmove_y_straightness_z" << 17;
}

void TMachineLaserPMoveTest::Example_Report()
{
    QFETCH(QString, name);
    QFETCH(int, points);

    const TMeasurementLoad load = MeasurementLoad::Load_File(
        MeasureChecks::Source_Path(QStringLiteral("examples/") + name + ".dat"), nullptr);
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QCOMPARE(load.contents, TMeasureData::CONTENTS_LASER_PMOVE);
    MeasureChecks::Compare_Lines(
        load.report_lines, MeasureChecks::Read_Lines(QStringLiteral("tests/data/golden/") + name + ".txt"));
    QCOMPARE(load.graph_data.size(), size_t(1));
    QCOMPARE(static_cast<int>(load.graph_data[0].size()), points);
}

void TMachineLaserPMoveTest::Damaged_Files()
{
    MeasureChecks::Check_Damaged_Input(
        MeasureChecks::Read_Bytes(QStringLiteral("examples/laser_pmove_x_axis.dat")),
        {QLatin1String(DATA_MISSING), QStringLiteral("Machine_Laser identification line not recognized"),
         QStringLiteral("Probe offset data not recognized."),
         QStringLiteral("Start point data not recognized."),
         QStringLiteral("Measurement Axis data not recognized."),
         QStringLiteral("Measurement Type not recognized.")});
}

void TMachineLaserPMoveTest::Large_File()
{
    // Positions 1.5 mm apart in descending order: all are sorted, none combine, and each is one
    // report line.
    const QStringList head = File_Lines({});
    const int fixed_lines = [&head]
    {
        TMeasureMachineLaserPMove empty;
        empty.Load_Data(MeasureFiles::File(head));
        return static_cast<int>(empty.Text_Report().size());
    }();
    MeasureChecks::Check_Large_File(
        MeasureFiles::File(head.mid(0, head.size() - 1)),
        [](int i)
        {
            const double position = 100000.0 - 1.5 * i;
            return (MeasureFiles::Laser_Point(i, position, position + 0.001, position, 0.001) + '\n')
                .toLatin1();
        },
        "Measurement_End::\n", fixed_lines);
}

QTEST_GUILESS_MAIN(TMachineLaserPMoveTest)

#include "tst_machinelaserpmove.moc"
