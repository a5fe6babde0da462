#include "measure_checks.h"
#include "measuredata_pingauge.h"
#include "measuredata_ringgauge.h"

#include <QtTest>

#include <cmath>
#include <memory>

namespace
{
const char PIN_ID[] = "Artifact_Measurement:Version=1:Type=Pin_Gauge\n";
const char RING_ID[] = "Artifact_Measurement:Version=1:Type=Ring_Gauge\n";
const char ALIGNMENT[] =
    "Alignment_Begin:\nX_Axis:1,0,0\nY_Axis:0,1,0\nZ_Axis:0,0,1\nTranslation:0,0,0\nAlignment_End:\n";
const char PROBE[] = "Probe_Offset:0,0,-125\nProbe_Vector:0,0,1\n";
const char FEATURE[] = "Circle C1 XYZ:1,2,3 Diam:10 Form:0.001\n";
const char MISSING_MESSAGE[] = "Data missing from measurement file.";

std::unique_ptr<TMeasureCircleGauge> Make_Record(bool ring)
{
    if (ring)
    {
        return std::make_unique<TMeasureRing>();
    }
    return std::make_unique<TMeasurePin>();
}

QByteArray Identification(bool ring)
{
    return ring ? RING_ID : PIN_ID;
}

// A complete file around the given point rows.
QByteArray File(bool ring, const QByteArray &points)
{
    return Identification(ring) + ALIGNMENT + PROBE + FEATURE + "Point_Data_Begin:\n" + points +
           "Point_Data_End::\n";
}
} // namespace

class TestPinRing : public QObject
{
    Q_OBJECT

  private slots:
    void feature_record_data();
    void feature_record();
    void loading_data();
    void loading();
    void point_rows_data();
    void point_rows();
    void magnification_data();
    void magnification();
    void graph();
    void huge_deviation_graph();
    void example_reports_data();
    void example_reports();
    void damaged_files_data();
    void damaged_files();
    void largest_file();
};

void TestPinRing::feature_record_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("description");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("form");

    QTest::newRow("complete") << QStringLiteral("Circle Ring_25 XYZ:0.5, -1.25 ,3 Diam: 25.0003 Form:0.0011")
                              << QString() << QStringLiteral("Circle Ring_25") << -1.25 << 25.0003 << 0.0011;
    QTest::newRow("no blanks between keys")
        << QStringLiteral("circle pin XYZ:1,2,3Diam:10Form:0.5") << QString() << QStringLiteral("circle pin")
        << 2.0 << 10.0 << 0.5;
    QTest::newRow("words as numbers") << QStringLiteral("Circle XYZ:a,,c Diam:wide Form:") << QString()
                                      << QStringLiteral("Circle") << 0.0 << 0.0 << 0.0;
    QTest::newRow("no form") << QStringLiteral("Circle XYZ:1,2,3 Diam:10")
                             << QStringLiteral("Feature form error not found.") << QString() << 0.0 << 0.0
                             << 0.0;
    // The form's text runs on to the line's end, "0.1 Diam:10", and so is not a number.
    QTest::newRow("form before diameter")
        << QStringLiteral("Circle XYZ:1,2,3 Form:0.1 Diam:10")
        << QStringLiteral("Feature diameter not found.") << QString() << 0.0 << 0.0 << 0.0;
    QTest::newRow("lower-case xyz key")
        << QStringLiteral("Circle xyz:1,2,3 Diam:10 Form:0.1")
        << QStringLiteral("Feature position not found.") << QString() << 0.0 << 10.0 << 0.1;
    QTest::newRow("lower-case form key")
        << QStringLiteral("Circle XYZ:1,2,3 Diam:10 form:0.1")
        << QStringLiteral("Feature form error not found.") << QString() << 0.0 << 0.0 << 0.0;
    QTest::newRow("two position values")
        << QStringLiteral("Circle XYZ:1,2 Diam:10 Form:0.1")
        << QStringLiteral("Feature position not recognized.") << QString() << 0.0 << 10.0 << 0.1;
    QTest::newRow("position with blanks, not commas")
        << QStringLiteral("Circle XYZ:1 2 3 Diam:10 Form:0.1")
        << QStringLiteral("Feature position not recognized.") << QString() << 0.0 << 10.0 << 0.1;
    // Every key is cut at its first occurrence: a second "Form:" ends in the diameter's text.
    QTest::newRow("repeated form key") << QStringLiteral("Circle XYZ:1,2,3 Diam:10 Form:0.1 Form:0.2")
                                       << QString() << QStringLiteral("Circle") << 2.0 << 10.0 << 0.0;
}

void TestPinRing::feature_record()
{
    QFETCH(QString, line);
    QFETCH(QString, message);

    TFeatureData feature;
    QString error;
    QCOMPARE(MeasureFeature::Read_Feature_Record(line, &feature, &error), message.isEmpty());
    QCOMPARE(error, message);
    // Values read before a failure stay.
    QTEST(feature.description, "description");
    QTEST(feature.xyz.y, "y");
    QTEST(feature.diameter, "diameter");
    QTEST(feature.form, "form");
}

void TestPinRing::loading_data()
{
    QTest::addColumn<bool>("ring");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    for (const bool ring : {false, true})
    {
        const QByteArray id = Identification(ring);
        const char *kind = ring ? "ring: " : "pin: ";
        auto row = [kind](const char *name) -> QTestData &
        { return QTest::newRow(qPrintable(QString::fromLatin1(kind) + QLatin1String(name))); };

        row("complete, empty point section") << ring << File(ring, QByteArray()) << QString();
        row("sections in any order, markers in any case")
            << ring
            << id + "point_data_begin:\n1,2,3,1,0,0,0\nPOINT_DATA_END::\n" + FEATURE + PROBE + ALIGNMENT
            << QString();
        row("twin's identification") << ring << Identification(!ring) + ALIGNMENT + PROBE + FEATURE
                                     << QStringLiteral("Artifact identification line not recognized");
        row("no alignment") << ring << id + PROBE + FEATURE + "Point_Data_Begin:\nPoint_Data_End::\n"
                            << QString::fromLatin1(MISSING_MESSAGE);
        row("no probe vector") << ring
                               << id + ALIGNMENT + "Probe_Offset:0,0,-125\n" + FEATURE +
                                      "Point_Data_Begin:\nPoint_Data_End::\n"
                               << QString::fromLatin1(MISSING_MESSAGE);
        row("no point data section") << ring << id + ALIGNMENT + PROBE + FEATURE
                                     << QString::fromLatin1(MISSING_MESSAGE);
        row("feature only inside the alignment section")
            << ring
            << id + "Alignment_Begin:\n" + FEATURE + "Alignment_End:\n" + PROBE +
                   "Point_Data_Begin:\nPoint_Data_End::\n"
            << QString::fromLatin1(MISSING_MESSAGE);
        row("feature only inside the point section")
            << ring << id + ALIGNMENT + PROBE + "Point_Data_Begin:\n" + FEATURE + "Point_Data_End::\n"
            << QString::fromLatin1(MISSING_MESSAGE);
        row("point section closed with one colon stays open")
            << ring << id + ALIGNMENT + PROBE + "Point_Data_Begin:\nPoint_Data_End:\n" + FEATURE
            << QString::fromLatin1(MISSING_MESSAGE);
        row("feature word of the sphere is not a feature")
            << ring
            << id + ALIGNMENT + PROBE +
                   "Sphere S XYZ:1,2,3 Diam:10 Form:0.1\nPoint_Data_Begin:\nPoint_Data_End::\n"
            << QString::fromLatin1(MISSING_MESSAGE);
        row("malformed probe offset") << ring << id + "Probe_Offset:0 0 -125\n" + ALIGNMENT
                                      << QStringLiteral("Probe offset data not recognized.");
        row("malformed probe vector inside the point section")
            << ring << id + "Point_Data_Begin:\nProbe_Vector:0,1\n"
            << QStringLiteral("Probe vector data not recognized.");
        row("malformed Z axis") << ring << id + "Alignment_Begin:\nZ_Axis:0,0,1,0\n"
                                << QStringLiteral("Z Alignment data not recognized.");
        row("feature without diameter") << ring << id + ALIGNMENT + "Circle XYZ:1,2,3 Form:0.1\n"
                                        << QStringLiteral("Feature diameter not found.");
    }
}

void TestPinRing::loading()
{
    QFETCH(bool, ring);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    const std::unique_ptr<TMeasureCircleGauge> record = Make_Record(ring);
    QCOMPARE(record->file_contents,
             int(ring ? TMeasureData::CONTENTS_RING_GAUGE : TMeasureData::CONTENTS_PIN_GAUGE));
    QCOMPARE(record->Load_Data(file), message.isEmpty());
    QCOMPARE(record->last_error, message);
}

void TestPinRing::point_rows_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("last_deviation");

    QTest::newRow("seven values") << QByteArray("1,2,3,0.6,0.8,0,0.002\n") << 1 << 0.002;
    QTest::newRow("six and eight values skipped")
        << QByteArray("1,2,3,0.6,0.8,0\n1,2,3,0.6,0.8,0,0.002,9\n4,5,6,1,0,0,-0.001\n") << 1 << -0.001;
    QTest::newRow("empty part counts as zero") << QByteArray("1,2,3,0.6,,0,0.003\n5,,6,1,0,0,\n") << 2 << 0.0;
    QTest::newRow("probe offset inside the section is not a point")
        << QByteArray("Probe_Offset:7,8,9\n1,2,3,1,0,0,0.5\n") << 1 << 0.5;
}

void TestPinRing::point_rows()
{
    QFETCH(QByteArray, rows);
    QFETCH(int, count);
    QFETCH(double, last_deviation);

    TMeasurePin record;
    QVERIFY(record.Load_Data(File(false, rows)));
    QCOMPARE(int(record.Points().size()), count);
    QCOMPARE(record.Points().back().deviation, last_deviation);
    if (rows.startsWith("Probe_Offset:"))
    {
        QCOMPARE(record.probe_offset.z, 9.0);
    }
    else
    {
        QCOMPARE(record.probe_offset.z, -125.0);
    }
}

void TestPinRing::magnification_data()
{
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("form");
    QTest::addColumn<double>("magnification");

    QTest::newRow("form at the threshold") << 1000.0 << 0.0001 << 1.0;
    QTest::newRow("zero form") << 10.0 << 0.0 << 1.0;
    QTest::newRow("negative form") << 10.0 << -0.5 << 1.0;
    QTest::newRow("diameter 10, form 0.001") << 10.0 << 0.001 << 2500.0;
    QTest::newRow("capped at 10000") << 100.0 << 0.002 << 10000.0;
    QTest::newRow("raised to 1") << 1.0 << 0.5 << 1.0;
    QTest::newRow("huge diameter over small form") << 1e308 << 0.00011 << 10000.0;
}

void TestPinRing::magnification()
{
    QFETCH(double, diameter);
    QFETCH(double, form);
    QTEST(TMeasureCircleGauge::Magnification(diameter, form), "magnification");
}

void TestPinRing::graph()
{
    // Diameter 10, form 0.001: magnification 2500.
    TMeasureRing record;
    QVERIFY(
        record.Load_Data(File(true, "5,0,3,-1,0,0,0.001\n0,5,3,0,-1,0,-0.002\n-5,0,3,0.6,0.8,0,0.0004\n")));
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(int(graph.size()), 3);
    QCOMPARE(int(graph[0].size()), 4);
    QCOMPARE(int(graph[1].size()), 4);
    QCOMPARE(graph[0][1].x, 0.0);
    QCOMPARE(graph[0][1].y, 5.0);
    QCOMPARE(graph[0][3].x, graph[0][0].x);
    QCOMPARE(graph[0][3].y, graph[0][0].y);
    QCOMPARE(graph[1][0].x, 5.0 - 0.001 * 2500.0);
    QCOMPARE(graph[1][1].y, 5.0 + 0.002 * 2500.0);
    QCOMPARE(graph[1][2].x, -5.0 + 0.6 * 0.0004 * 2500.0);
    QCOMPARE(graph[1][2].y, 0.8 * 0.0004 * 2500.0);
    QCOMPARE(graph[1][3].x, graph[1][0].x);
    for (size_t i = 0; i < graph[1].size(); ++i)
    {
        QCOMPARE(graph[2][i].x, graph[1][i].x);
        QCOMPARE(graph[2][i].y, graph[1][i].y);
    }

    TMeasurePin empty;
    QVERIFY(empty.Load_Data(File(false, QByteArray())));
    const std::vector<std::vector<TVector2>> empty_graph = empty.Graph_Data();
    QCOMPARE(int(empty_graph.size()), 3);
    QVERIFY(empty_graph[0].empty() && empty_graph[1].empty() && empty_graph[2].empty());
}

void TestPinRing::huge_deviation_graph()
{
    // Finite values whose magnified product overflows: those moved points are left out of the
    // outline, the report prints the values as they are.
    TMeasurePin record;
    QVERIFY(
        record.Load_Data(File(false, "5,0,0,1e308,0,0,1e308\n0,5,0,0,-1e308,0,1e308\n1,1,0,1,0,0,0.001\n")));
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(int(graph.size()), 3);
    QCOMPARE(int(graph[0].size()), 4);
    QCOMPARE(graph[0][0].x, 5.0);
    // Only the third point remains, closed on itself.
    QCOMPARE(int(graph[1].size()), 2);
    QCOMPARE(graph[1][0].x, 1.0 + 0.001 * 2500.0);
    QCOMPARE(graph[1][1].x, graph[1][0].x);
    QCOMPARE(int(graph[2].size()), 2);
    const QStringList report = record.Text_Report();
    QCOMPARE(report.size(), 32);
    QVERIFY(report.at(30).endsWith(QStringLiteral(", ") + QString::number(1e308, 'f', 4)));
}

void TestPinRing::example_reports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("contents");
    QTest::addColumn<int>("points");
    QTest::newRow("ring") << QStringLiteral("ringgauge_25mm") << int(TMeasureData::CONTENTS_RING_GAUGE) << 36;
    QTest::newRow("pin") << QStringLiteral("pingauge_10mm") << int(TMeasureData::CONTENTS_PIN_GAUGE) << 24;
}

void TestPinRing::example_reports()
{
    QFETCH(QString, name);
    QFETCH(int, contents);
    QFETCH(int, points);

    const TMeasurementLoad load = MeasurementLoad::Load_File(
        MeasureChecks::Source_Path(QStringLiteral("examples/%1.dat").arg(name)), nullptr);
    QVERIFY(load.Succeeded());
    QCOMPARE(int(load.contents), contents);
    MeasureChecks::Compare_Lines(
        load.report_lines, MeasureChecks::Read_Lines(QStringLiteral("tests/data/golden/%1.txt").arg(name)));
    QCOMPARE(int(load.graph_data.size()), 3);
    QCOMPARE(int(load.graph_data[0].size()), points + 1);
}

void TestPinRing::damaged_files_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ring") << QStringLiteral("examples/ringgauge_25mm.dat");
    QTest::newRow("pin") << QStringLiteral("examples/pingauge_10mm.dat");
}

void TestPinRing::damaged_files()
{
    QFETCH(QString, name);
    MeasureChecks::Check_Damaged_Input(
        MeasureChecks::Read_Bytes(name),
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

void TestPinRing::largest_file()
{
    // One row per point after the 29 lines before them.
    MeasureChecks::Check_Large_File(
        File(true, QByteArray()).replace("Point_Data_End::\n", ""),
        [](int i) { return QByteArray::number(i % 25) + ",0,-5,-1,0,0,0.0004\n"; }, "Point_Data_End::\n", 29);
}

QTEST_GUILESS_MAIN(TestPinRing)
#include "tst_pinring.moc"
