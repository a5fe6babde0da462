#include "measure_checks.h"
#include "measure_files.h"
#include "measuredata_machinelaser10360.h"

#include <algorithm>

namespace
{
const char IDENTIFICATION[] = "B89.4.10360_Raw_Measurement:Version=1:Type=Machine_And_Laser";
const char DATA_MISSING[] = "Data missing from measurement file.";
const char EXAMPLE[] = "examples/laser_10360_x_axis.dat";

// Deviation of repeat r of length group g: 10 µm/m of the length plus r tenths of a micrometre.
double Deviation(int group, int repeat)
{
    return 100.0 * (group + 1) * 1e-5 + repeat * 0.0001;
}

// 30 points in index order: five lengths of 100 to 500 mm, three repeats each.
QStringList Points(int count = 30)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
    {
        const int length = i / 2;
        const double nominal = (i % 2) ? 100.0 * (length / 3 + 1) : 0.0;
        const double actual = (i % 2) ? nominal + Deviation(length / 3, length % 3) : 0.0;
        lines += MeasureFiles::Laser_Point(i + 1, nominal, actual, nominal, actual - nominal);
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
    return MeasureFiles::File(MeasureFiles::Without(File_Lines(Points()), line_start));
}

QByteArray File_Replacing(const QString &line_start, const QString &line)
{
    return MeasureFiles::File(MeasureFiles::Replacing(File_Lines(Points()), line_start, line));
}
} // namespace

class TMachineLaser10360Test : public QObject
{
    Q_OBJECT

  private slots:
    void Load_data();
    void Load();
    void Pairs_After_Sorting();
    void Graph_Data();
    void Report();
    void Example_Report();
    void Damaged_Files();
};

void TMachineLaser10360Test::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("valid");

    QTest::newRow("scale") << File_With(Points()) << QString() << 0 << true;
    QTest::newRow("type in lower case among words")
        << File_With(Points(), QStringLiteral(" measured straightness_y of X")) << QString() << 2 << true;
    QTest::newRow("scale tested before angular")
        << File_With(Points(), QStringLiteral("Angular_Scale")) << QString() << 0 << true;
    QTest::newRow("straightness in Z")
        << File_With(Points(), QStringLiteral("Straightness_Z")) << QString() << 3 << true;
    QTest::newRow("angular") << File_With(Points(), QStringLiteral("ANGULAR")) << QString() << 4 << true;
    QTest::newRow("data collection type name") << File_With(Points(), QStringLiteral("Straightness_In_Y"))
                                               << "Measurement Type not recognized." << 0 << true;
    QTest::newRow("probe offsets not valid")
        << File_Replacing(QStringLiteral("Probe_Offsets_Valid:"), QStringLiteral("Probe_Offsets_Valid: No"))
        << QString() << 0 << false;
    QTest::newRow("yes in any case") << File_Replacing(QStringLiteral("Probe_Offsets_Valid:"),
                                                       QStringLiteral("PROBE_OFFSETS_VALID:yES"))
                                     << QString() << 0 << true;

    QTest::newRow("29 points") << File_With(Points(29)) << DATA_MISSING << 0 << true;
    QTest::newRow("31 points") << File_With(Points() + QStringList(MeasureFiles::Laser_Point(31, 0, 0, 0, 0)))
                               << DATA_MISSING << 0 << true;
    QStringList seven_parts = Points();
    seven_parts[4] = QStringLiteral("Point:5,0,0,0,1,2,3");
    QTest::newRow("seven parts ignored") << File_With(seven_parts) << DATA_MISSING << 0 << true;
    QStringList nine_parts = Points();
    nine_parts[4] += QStringLiteral(",extra");
    QTest::newRow("parts beyond the eighth ignored") << File_With(nine_parts) << QString() << 0 << true;

    QStringList outside = File_Lines(Points(29));
    outside.append(MeasureFiles::Laser_Point(30, 0, 0, 0, 0));
    QTest::newRow("point after the measurement section")
        << MeasureFiles::File(outside) << DATA_MISSING << 0 << true;

    // Alignment and probe vector records belong to other kinds: ignored here, also when malformed,
    // and an alignment marker opens no section that would hide the points.
    QTest::newRow("other kinds' records ignored")
        << File_With(QStringList({QStringLiteral("Alignment_Begin:"), QStringLiteral("X_Axis:1 0 0"),
                                  QStringLiteral("Probe_Vector:0,1")}) +
                     Points())
        << QString() << 0 << true;

    QTest::newRow("start point malformed")
        << File_Replacing(QStringLiteral("Start_Point:"), QStringLiteral("Start_Point:1,2"))
        << "Start point data not recognized." << 0 << true;
    QTest::newRow("axis malformed") << File_Replacing(QStringLiteral("Measurement_Axis:"),
                                                      QStringLiteral("Measurement_Axis:1,0,0,0"))
                                    << "Measurement Axis data not recognized." << 0 << true;
    QTest::newRow("probe offset malformed")
        << File_Replacing(QStringLiteral("Probe_Offset:"), QStringLiteral("Probe_Offset:0;0;-150"))
        << "Probe offset data not recognized." << 0 << true;
    QTest::newRow("wrong identification")
        << File_Replacing(QLatin1String(IDENTIFICATION),
                          QStringLiteral("PMove_Raw_Measurement:Version=1:Type=Machine_And_Laser"))
        << "Machine_Laser identification line not recognized" << 0 << false;

    const char *const required[] = {
        "Probe_Offsets_Valid:", "Probe_Offset:", "Start_Point:",      "Measurement_Axis:",
        "Measurement_Type:",    "Description:",  "Measurement_Begin:"};
    for (const char *line_start : required)
    {
        QTest::newRow(qPrintable(QStringLiteral("without %1").arg(QLatin1String(line_start))))
            << File_Without(QLatin1String(line_start)) << DATA_MISSING << 0 << true;
    }
}

void TMachineLaser10360Test::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, type);
    QFETCH(bool, valid);

    TMeasureMachineLaser10360 record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_LASER_10360));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    if (!message.isEmpty())
    {
        return;
    }
    QCOMPARE(record.Measurement_Type(), type);
    QCOMPARE(record.Probe_Offsets_Valid(), valid);
    QCOMPARE(record.Lengths().size(), size_t(15));
    for (size_t i = 0; i < 15; ++i)
    {
        const auto &length = record.Lengths()[i];
        QCOMPARE(length.nominal, 100.0 * (i / 3 + 1));
        QVERIFY(qAbs(length.actual - length.nominal -
                     Deviation(static_cast<int>(i / 3), static_cast<int>(i % 3))) < 1e-9);
    }
    // The laser keeps its own probe offset; the record's common probe and alignment stay unset.
    QCOMPARE(record.Probe_Offset().z, -150.0);
    QCOMPARE(record.probe_offset.z, 0.0);
    QCOMPARE(record.alignment[0], 1.0);
}

void TMachineLaser10360Test::Pairs_After_Sorting()
{
    // Points written 30 down to 1 still pair (1, 2), (3, 4), ...; the index may carry blanks, and
    // a point number that is not a whole number reads as 0.
    QStringList reversed = Points();
    std::reverse(reversed.begin(), reversed.end());
    reversed[0].replace(QStringLiteral("Point:30,"), QStringLiteral("Point: 30 ,"));

    TMeasureMachineLaser10360 record;
    QVERIFY(record.Load_Data(File_With(reversed)));
    QCOMPARE(record.Measured_Data().front().index, 1);
    QCOMPARE(record.Measured_Data().back().index, 30);
    QVERIFY(qAbs(record.Lengths()[14].actual - 500.0 - Deviation(4, 2)) < 1e-9);

    // Equal numbers keep their order in the file.
    QStringList numbered = Points();
    numbered[0].replace(QStringLiteral("Point:1,"), QStringLiteral("Point:1.0,"));
    numbered[1].replace(QStringLiteral("Point:2,"), QStringLiteral("Point:x,"));
    TMeasureMachineLaser10360 zero;
    QVERIFY(zero.Load_Data(File_With(numbered)));
    QCOMPARE(zero.Measured_Data()[0].index, 0);
    QCOMPARE(zero.Measured_Data()[1].index, 0);
    QCOMPARE(zero.Measured_Data()[0].nominal, 0.0);
    QCOMPARE(zero.Measured_Data()[1].nominal, 100.0);
}

void TMachineLaser10360Test::Graph_Data()
{
    TMeasureMachineLaser10360 record;
    QVERIFY(record.Graph_Data().empty());
    QVERIFY(record.Load_Data(File_With(Points())));
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(3));
    for (int repeat = 0; repeat < 3; ++repeat)
    {
        QCOMPARE(curves[static_cast<size_t>(repeat)].size(), size_t(5));
        for (int group = 0; group < 5; ++group)
        {
            const TVector2 &point = curves[static_cast<size_t>(repeat)][static_cast<size_t>(group)];
            // All repeats sit at the first repeat's measured length.
            QVERIFY(qAbs(point.x - (100.0 * (group + 1) + Deviation(group, 0))) < 1e-9);
            QVERIFY(qAbs(point.y - Deviation(group, repeat)) < 1e-9);
        }
    }
}

void TMachineLaser10360Test::Report()
{
    TMeasureMachineLaser10360 record;
    QVERIFY(record.Load_Data(
        File_Replacing(QStringLiteral("Probe_Offsets_Valid:"), QStringLiteral("Probe_Offsets_Valid:No"))));
    const QStringList report = record.Text_Report();
    QVERIFY(report.contains(QStringLiteral("  Valid:  No")));
    QVERIFY(report.contains(QStringLiteral("  Measurement_Type: Scale")));
    QCOMPARE(report.mid(report.size() - 17, 3),
             QStringList({QStringLiteral("     Nominal        Actual      Deviation"), QString(),
                          QStringLiteral("    100.0000      100.0010        0.0010")}));
    QCOMPARE(report.last(), QStringLiteral("    500.0000      500.0052        0.0052"));
}

void TMachineLaser10360Test::Example_Report()
{
    const TMeasurementLoad load =
        MeasurementLoad::Load_File(MeasureChecks::Source_Path(QLatin1String(EXAMPLE)), nullptr);
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QCOMPARE(load.contents, TMeasureData::CONTENTS_LASER_10360);
    MeasureChecks::Compare_Lines(load.report_lines, MeasureChecks::Read_Lines(QStringLiteral(
                                                        "tests/data/golden/laser_10360_x_axis.txt")));
    QCOMPARE(load.graph_data.size(), size_t(3));
}

void TMachineLaser10360Test::Damaged_Files()
{
    MeasureChecks::Check_Damaged_Input(MeasureChecks::Read_Bytes(QLatin1String(EXAMPLE)),
                                       {QLatin1String(DATA_MISSING),
                                        QStringLiteral("Machine_Laser identification line not recognized"),
                                        QStringLiteral("Probe offset data not recognized."),
                                        QStringLiteral("Start point data not recognized."),
                                        QStringLiteral("Measurement Axis data not recognized."),
                                        QStringLiteral("Measurement Type not recognized.")});
}

QTEST_GUILESS_MAIN(TMachineLaser10360Test)

#include "tst_machinelaser10360.moc"
