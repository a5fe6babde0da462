// Point repeatability records: loading, failures, report figures and robustness.

#include "measure_checks.h"
#include "measuredata_pointrepeat.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<TVector3>)

namespace
{
const char HEAD[] = "Artifact_Measurement:Version=1:Type=Point_Repeat\n"
                    "Probe_Offset:0,0,-183.217\nProbe_Vector:-1,0,0\n"
                    "Alignment_Begin:\nTranslation:1,2,3\nAlignment_End:\n";

// A complete file around the given Measurement section lines.
QByteArray Point_File(const QByteArray &measurement_lines)
{
    return QByteArray(HEAD) + "Measurement_Begin:\n" + measurement_lines + "Measurement_End::\n";
}
} // namespace

class TTestPointRepeat : public QObject
{
    Q_OBJECT

  private slots:
    void Load_Data_data();
    void Load_Data();
    void Failures_data();
    void Failures();
    void Figures_data();
    void Figures();
    void Accuracy_Of_Large_Ranges();
    void Report();
    void Golden_Report();
    void Damaged_Input();
    void Large_File();
};

void TTestPointRepeat::Load_Data_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("description");
    QTest::addColumn<double>("move_distance");
    QTest::addColumn<std::vector<TVector3>>("points");

    QTest::newRow("first value shares the key's part")
        << Point_File("Point:7,100,50,20\nPoint:8,100.5,49,21\n") << QString() << 0.0
        << std::vector<TVector3>{TVector3(0, 0, 0), TVector3(0.5, -1, 1)};
    QTest::newRow("three or five values ignored")
        << Point_File("Point:1,2,3\nPoint:1,2,3,4,5\nPoint:0,1,1,1\n") << QString() << 0.0
        << std::vector<TVector3>{TVector3(0, 0, 0)};
    QTest::newRow("keys in any letter case, text kept unchanged")
        << Point_File("DESCRIPTION: Front left, 8 mm/s \nmove distance:150\npoint:1,1,1,1\n")
        << QStringLiteral(" Front left, 8 mm/s") << 150.0 << std::vector<TVector3>{TVector3(0, 0, 0)};
    QTest::newRow("records outside the section ignored")
        << QByteArray(HEAD) + "Description:outside\nMove Distance:5\nPoint:1,1,1,1\n" + Point_File("")
        << QString() << 0.0 << std::vector<TVector3>();
    QTest::newRow("last description and distance win")
        << Point_File("Description:a\nMove Distance:1\nDescription:b\nMove Distance:2\n")
        << QStringLiteral("b") << 2.0 << std::vector<TVector3>();
    QTest::newRow("underscore distance key and bare lists ignored")
        << Point_File("Move_Distance:150\n1,2,3,4\nPoint:1,2,3,4\n") << QString() << 0.0
        << std::vector<TVector3>{TVector3(0, 0, 0)};
    QTest::newRow("distance that is not a number reads as zero")
        << Point_File("Move Distance:far\n") << QString() << 0.0 << std::vector<TVector3>();
}

void TTestPointRepeat::Load_Data()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, description);
    QFETCH(double, move_distance);
    QFETCH(std::vector<TVector3>, points);

    TMeasurePointRepeat record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_POINT_REPEAT));
    QVERIFY2(record.Load_Data(file), qPrintable(record.last_error));
    QCOMPARE(record.Description(), description);
    QCOMPARE(record.Move_Distance(), move_distance);
    QCOMPARE(record.Points().size(), points.size());
    for (size_t i = 0; i < points.size(); ++i)
    {
        QCOMPARE(record.Points()[i].x, points[i].x);
        QCOMPARE(record.Points()[i].y, points[i].y);
        QCOMPARE(record.Points()[i].z, points[i].z);
    }
    // The probe values are the record's own; the base members stay zero.
    QCOMPARE(record.Probe_Offset().z, -183.217);
    QCOMPARE(record.Probe_Vector().x, -1.0);
    QCOMPARE(record.probe_offset.z, 0.0);
    QCOMPARE(record.probe_vector.x, 0.0);
    QCOMPARE(record.alignment[13], 2.0);
    QVERIFY(record.Graph_Data().empty());
}

void TTestPointRepeat::Failures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    const QString missing = QStringLiteral("Data missing from measurement file.");
    const QByteArray measurement = "Measurement_Begin:\nPoint:1,1,1,1\nMeasurement_End::\n";

    QTest::newRow("sphere repeatability file")
        << QByteArray("B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat\n") + HEAD + measurement
        << QStringLiteral("Artifact identification line not recognized");
    QTest::newRow("no alignment")
        << QByteArray(
               "Artifact_Measurement:Version=1:Type=Point_Repeat\nProbe_Offset:0,0,0\nProbe_Vector:0,0,1\n") +
               measurement
        << missing;
    QTest::newRow("no measurement") << QByteArray(HEAD) << missing;
    QTest::newRow("measurement marker with a word")
        << QByteArray(HEAD) + "Measurement_Begin: now\nPoint:1,1,1,1\nMeasurement_End::\n"
        << missing;
}

void TTestPointRepeat::Failures()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    TMeasurePointRepeat record;
    QVERIFY(!record.Load_Data(file));
    QCOMPARE(record.last_error, message);
}

void TTestPointRepeat::Figures_data()
{
    QTest::addColumn<QByteArray>("points");
    QTest::addColumn<QString>("repeatability");
    QTest::addColumn<QString>("accuracy");

    QTest::newRow("three points") << QByteArray("Point:1,100,50,20\nPoint:2,100.002,50.001,20\n"
                                                "Point:3,99.999,49.999,20.002\n")
                                  << QStringLiteral("Point Repeatability:  0.0030 mm")
                                  << QStringLiteral("Positioning Accuracy: 0.0028 mm");
    QTest::newRow("single point") << QByteArray("Point:1,100,50,20\n")
                                  << QStringLiteral("Point Repeatability:  0.0000 mm")
                                  << QStringLiteral("Positioning Accuracy: 0.0000 mm");
    QTest::newRow("no point") << QByteArray() << QStringLiteral("Point Repeatability:  0.0000 mm")
                              << QStringLiteral("Positioning Accuracy: 0.0000 mm");
    QTest::newRow("three-four-five") << QByteArray("Point:1,0,0,0\nPoint:2,-0.5,0.003,-0.004\n")
                                     << QStringLiteral("Point Repeatability:  0.5000 mm")
                                     << QStringLiteral("Positioning Accuracy: 0.0050 mm");
}

void TTestPointRepeat::Figures()
{
    QFETCH(QByteArray, points);
    QFETCH(QString, repeatability);
    QFETCH(QString, accuracy);

    TMeasurePointRepeat record;
    QVERIFY(record.Load_Data(Point_File(points)));
    const QStringList report = record.Text_Report();
    QVERIFY(report.size() >= 2);
    QCOMPARE(report[report.size() - 2], repeatability);
    QCOMPARE(report.last(), accuracy);
}

void TTestPointRepeat::Accuracy_Of_Large_Ranges()
{
    // Squaring such ranges would overflow; their length is finite.
    QCOMPARE(TMeasurePointRepeat::Positioning_Accuracy(TVector3(1, 3e200, 4e200)), 5e200);
    QCOMPARE(TMeasurePointRepeat::Positioning_Accuracy(TVector3(1, 3e-200, 4e-200)), 5e-200);
}

void TTestPointRepeat::Report()
{
    TMeasurePointRepeat record;
    QVERIFY(record.Load_Data(Point_File("Description: X approach\nMove Distance:150\nPoint:1,100,50,20\n"
                                        "Point:2,100.002,50.001,20\nPoint:3,99.999,49.999,20.002\n")));
    const QStringList expected = {
        QStringLiteral("Point Repeatability"),
        QString(64, QLatin1Char('=')),
        QString(),
        QStringLiteral("Description"),
        QString(44, QLatin1Char('-')),
        QString(),
        QStringLiteral("Description:    X approach"),
        QStringLiteral("Move Distance: 150.000"),
        QString(),
        QStringLiteral("Alignment"),
        QString(44, QLatin1Char('-')),
        QString(),
        QStringLiteral("  X Axis:  1.000000000,  0.000000000,  0.000000000"),
        QStringLiteral("  Y Axis:  0.000000000,  1.000000000,  0.000000000"),
        QStringLiteral("  Z Axis:  0.000000000,  0.000000000,  1.000000000"),
        QStringLiteral("  Origin:       1.0000,       2.0000,       3.0000"),
        QString(),
        QStringLiteral("Probe"),
        QString(44, QLatin1Char('-')),
        QString(),
        QStringLiteral("  Offset:       0.0000,       0.0000,    -183.2170"),
        QStringLiteral("  Vector: -1.000000000,  0.000000000,  0.000000000"),
        QString(),
        QStringLiteral("Points"),
        QString(44, QLatin1Char('-')),
        QString(),
        QStringLiteral("        X             Y             Z"),
        QString(),
        QStringLiteral("      0.0000        0.0000        0.0000"),
        QStringLiteral("      0.0020        0.0010        0.0000"),
        QStringLiteral("     -0.0010       -0.0010        0.0020"),
        QString(),
        QStringLiteral("Point Repeatability:  0.0030 mm"),
        QStringLiteral("Positioning Accuracy: 0.0028 mm"),
    };
    MeasureChecks::Compare_Lines(record.Text_Report(), expected);
}

void TTestPointRepeat::Golden_Report()
{
    MeasureChecks::Check_Golden_Report(QStringLiteral("examples/point_repeat_table_centre_x.dat"),
                                       QStringLiteral("tests/data/golden/point_repeat_table_centre_x.txt"),
                                       TMeasureData::CONTENTS_POINT_REPEAT);
}

void TTestPointRepeat::Damaged_Input()
{
    const QByteArray example =
        MeasureChecks::Read_Bytes(QStringLiteral("examples/point_repeat_table_centre_x.dat"));
    QVERIFY(!example.isEmpty());
    MeasureChecks::Check_Damaged_Input(example,
                                       {QStringLiteral("Artifact identification line not recognized"),
                                        QStringLiteral("Data missing from measurement file."),
                                        QStringLiteral("Probe offset data not recognized."),
                                        QStringLiteral("Probe vector data not recognized."),
                                        QStringLiteral("X Alignment data not recognized."),
                                        QStringLiteral("Y Alignment data not recognized."),
                                        QStringLiteral("Z Alignment data not recognized."),
                                        QStringLiteral("Alignment translation data not recognized.")});
}

void TTestPointRepeat::Large_File()
{
    // Title 3, Description 6, Alignment 8, Probe 6, Points heading 5, figures 3.
    MeasureChecks::Check_Large_File(
        QByteArray(HEAD) + "Measurement_Begin:\nDescription:Table centre\nMove Distance:150\n",
        [](int i)
        { return QStringLiteral("Point:%1,312.40785,288.10509,-455.20140\n").arg(i + 1).toLatin1(); },
        "Measurement_End::\n", 31);
}

QTEST_GUILESS_MAIN(TTestPointRepeat)
#include "tst_pointrepeat.moc"
