#include "measure_checks.h"
#include "measuredata_pftu.h"

#include <QtTest>

namespace
{
const char ID[] = "B89.4.10360_Raw_Measurement:Version=1:Type=Sphere_Pftu\n";
const char ALIGNMENT[] =
    "Alignment_Begin:\nX_Axis:1,0,0\nY_Axis:0,1,0\nZ_Axis:0,0,1\nTranslation:0,0,0\nAlignment_End:\n";
const char PROBE[] = "Probe_Offset:0,0,-125\nProbe_Vector:0,0,1\n";
const char FEATURE[] = "Sphere S1 XYZ:1,2,3 Diam:25 Form:0.0008\n";
const char MISSING_MESSAGE[] = "Data missing from measurement file.";
} // namespace

class TestPFTU : public QObject
{
    Q_OBJECT

  private slots:
    void loading_data();
    void loading();
    void report_without_nominal_radius();
    void example_report();
    void damaged_files();
    void largest_file();
};

void TestPFTU::loading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("nominal_radius");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("description");

    const QByteArray head = QByteArray(ID) + ALIGNMENT + PROBE;
    const QByteArray points =
        "Point_Data_Begin:\n0,0,12.5,0,0,1,12.5,0.0001\n0,0,-12.5,0,0,-1,12.4998,-0.0002\n"
        "Point_Data_End::\n";
    QTest::newRow("complete") << head + "Nominal_Sphere_Radius:12.4996\n" + FEATURE + points << QString()
                              << 12.4996 << 2 << QStringLiteral("Sphere S1");
    QTest::newRow("no nominal radius")
        << head + FEATURE + points << QString() << 0.0 << 2 << QStringLiteral("Sphere S1");
    QTest::newRow("nominal radius inside the point section")
        << head + FEATURE + "Point_Data_Begin:\nnominal_sphere_radius: 9.5\nPoint_Data_End::\n"
        << QString() << 9.5 << 0 << QStringLiteral("Sphere S1");
    QTest::newRow("nominal radius inside the alignment section")
        << QByteArray(ID) + "Alignment_Begin:\nNominal_Sphere_Radius:7\nAlignment_End:\n" + PROBE + FEATURE +
               points
        << QString() << 7.0 << 2 << QStringLiteral("Sphere S1");
    QTest::newRow("seven-value rows of the circle gauges ignored")
        << head + FEATURE + "Point_Data_Begin:\n0,0,12.5,0,0,1,0.0001\n1,2,3,4,5,6,7,8,9\nPoint_Data_End::\n"
        << QString() << 0.0 << 0 << QStringLiteral("Sphere S1");
    QTest::newRow("lower-case feature word") << head + "sphere  Ball XYZ:1,2,3 Diam:25 Form:0.1\n" + points
                                             << QString() << 0.0 << 2 << QStringLiteral("sphere  Ball");
    QTest::newRow("circle is not the sphere's feature")
        << head + "Circle C XYZ:1,2,3 Diam:25 Form:0.1\n" + points << QString::fromLatin1(MISSING_MESSAGE)
        << 0.0 << 2 << QString();
    QTest::newRow("form before diameter")
        << head + "Sphere XYZ:1,2,3 Form:0.1 Diam:25\n" + points
        << QStringLiteral("Feature diameter not found.") << 0.0 << 0 << QString();
    QTest::newRow("position of four values")
        << head + "Sphere XYZ:1,2,3,4 Diam:25 Form:0.1\n"
        << QStringLiteral("Feature position not recognized.") << 0.0 << 0 << QString();
    QTest::newRow("no point section")
        << head + FEATURE << QString::fromLatin1(MISSING_MESSAGE) << 0.0 << 0 << QStringLiteral("Sphere S1");
    QTest::newRow("no probe offset") << QByteArray(ID) + ALIGNMENT + "Probe_Vector:0,0,1\n" + FEATURE + points
                                     << QString::fromLatin1(MISSING_MESSAGE) << 0.0 << 2
                                     << QStringLiteral("Sphere S1");
    QTest::newRow("feature while both sections are open")
        << QByteArray(ID) + "Alignment_Begin:\nPoint_Data_Begin:\n" + FEATURE + PROBE
        << QString::fromLatin1(MISSING_MESSAGE) << 0.0 << 0 << QString();
    QTest::newRow("malformed probe vector")
        << QByteArray(ID) + "Probe_Vector:0,0\n"
        << QStringLiteral("Probe vector data not recognized.") << 0.0 << 0 << QString();
    QTest::newRow("malformed X axis")
        << QByteArray(ID) + "Alignment_Begin:\nX_Axis:\n"
        << QStringLiteral("X Alignment data not recognized.") << 0.0 << 0 << QString();
    QTest::newRow("pin identification")
        << QByteArray("Artifact_Measurement:Version=1:Type=Pin_Gauge\n") + ALIGNMENT
        << QStringLiteral("Artifact identification line not recognized") << 0.0 << 0 << QString();
}

void TestPFTU::loading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(double, nominal_radius);
    QFETCH(int, points);
    QFETCH(QString, description);

    TMeasurePFTU record;
    QCOMPARE(record.file_contents, int(TMeasureData::CONTENTS_SPHERE_PFTU));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    QCOMPARE(record.Nominal_Radius(), nominal_radius);
    QCOMPARE(int(record.Points().size()), points);
    QCOMPARE(record.Feature().description, description);
    QVERIFY(record.Graph_Data().empty());
}

void TestPFTU::report_without_nominal_radius()
{
    TMeasurePFTU record;
    QVERIFY(record.Load_Data(QByteArray(ID) + ALIGNMENT + PROBE + FEATURE +
                             "Point_Data_Begin:\nPoint_Data_End::\n"));
    const QStringList report = record.Text_Report();
    QCOMPARE(report.size(), 30);
    QCOMPARE(report.at(20), QStringLiteral("  Nominal Rad.: 0.0000 mm"));
    QCOMPARE(report.last().size(), 108); // the column header ends the report
}

void TestPFTU::example_report()
{
    MeasureChecks::Check_Golden_Report(QStringLiteral("examples/sphere_pftu_25mm.dat"),
                                       QStringLiteral("tests/data/golden/sphere_pftu_25mm.txt"),
                                       TMeasureData::CONTENTS_SPHERE_PFTU);
}

void TestPFTU::damaged_files()
{
    MeasureChecks::Check_Damaged_Input(
        MeasureChecks::Read_Bytes(QStringLiteral("examples/sphere_pftu_25mm.dat")),
        {QStringLiteral("Artifact identification line not recognized"), QString::fromLatin1(MISSING_MESSAGE),
         QStringLiteral("Probe offset data not recognized."),
         QStringLiteral("Probe vector data not recognized."),
         QStringLiteral("X Alignment data not recognized."),
         QStringLiteral("Y Alignment data not recognized."),
         QStringLiteral("Z Alignment data not recognized."),
         QStringLiteral("Alignment translation data not recognized."),
         QStringLiteral("Feature form error not found."), QStringLiteral("Feature diameter not found."),
         QStringLiteral("Feature position not found."), QStringLiteral("Feature position not recognized.")});
}

void TestPFTU::largest_file()
{
    // One row per point after the 30 lines before them; the closing marker follows the points.
    MeasureChecks::Check_Large_File(
        QByteArray(ID) + ALIGNMENT + PROBE + FEATURE + "Point_Data_Begin:\n",
        [](int i) { return QByteArray::number(i) + ",0,12.5,0,0,1,12.5,0.0001\n"; }, "Point_Data_End::\n",
        30);
}

QTEST_GUILESS_MAIN(TestPFTU)
#include "tst_pftu.moc"
