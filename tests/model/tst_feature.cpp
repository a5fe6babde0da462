// The pin, ring and sphere form (PFTU) records: the feature record, the reader they share with its
// sections, point rows, the graph's magnification and outlines, and files of the largest size.

#include "measure_checks.h"
#include "measuredata_pftu.h"
#include "measuredata_circlegauge.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const int PIN = TMeasureData::CONTENTS_PIN_GAUGE;
const int RING = TMeasureData::CONTENTS_RING_GAUGE;
const int PFTU = TMeasureData::CONTENTS_SPHERE_PFTU;
const QByteArray ALIGNMENT =
    "Alignment_Begin:\nX_Axis:1,0,0\nY_Axis:0,1,0\nZ_Axis:0,0,1\nTranslation:0,0,0\nAlignment_End:\n";
const QByteArray PROBE = "Probe_Offset:0,0,-125\nProbe_Vector:0,0,1\n";

QByteArray Identification(int kind)
{
    return kind == PFTU  ? "B89.4.10360_Raw_Measurement:Version=1:Type=Sphere_Pftu\n"
           : kind == PIN ? "Artifact_Measurement:Version=1:Type=Pin_Gauge\n"
                         : "Artifact_Measurement:Version=1:Type=Ring_Gauge\n";
}

// A complete file around the point rows; the feature is a 10 mm circle of form 0.001 or a sphere.
QByteArray File(int kind, const QByteArray &points)
{
    return Identification(kind) + ALIGNMENT + PROBE +
           (kind == PFTU ? "Sphere S1 XYZ:1,2,3 Diam:25 Form:0.0008\n"
                         : "Circle C1 XYZ:1,2,3 Diam:10 Form:0.001\n") +
           "Point_Data_Begin:\n" + points + "Point_Data_End::\n";
}

int Point_Count(const TMeasureData &record)
{
    if (const auto *sphere = dynamic_cast<const TMeasurePFTU *>(&record))
    {
        return static_cast<int>(sphere->Points().size());
    }
    return static_cast<int>(dynamic_cast<const TMeasureCircleGauge &>(record).Points().size());
}
} // namespace

class TestFeature : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Feature_Record_data();
    void Feature_Record();
    void Load_data();
    void Load();
    void Magnification_data();
    void Magnification();
    void Graph();
    void Huge_Deviations_Left_Out_Of_The_Graph();
    void Large_File();
};

void TestFeature::Feature_Record_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("description");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("form");

    QTest::newRow("complete") << "Circle Ring_25 XYZ:0.5, -1.25 ,3 Diam: 25.0003 Form:0.0011" << QString()
                              << "Circle Ring_25" << -1.25 << 25.0003 << 0.0011;
    QTest::newRow("no blanks between keys")
        << "circle pin XYZ:1,2,3Diam:10Form:0.5" << QString() << "circle pin" << 2.0 << 10.0 << 0.5;
    QTest::newRow("words as numbers")
        << "Circle XYZ:a,,c Diam:wide Form:" << QString() << "Circle" << 0.0 << 0.0 << 0.0;
    // Values read before a failure stay.
    QTest::newRow("no form") << "Circle XYZ:1,2,3 Diam:10"
                             << "Feature form error not found." << QString() << 0.0 << 0.0 << 0.0;
    // Keys are taken from the end: the form's text runs on to the line's end, "0.1 Diam:10".
    QTest::newRow("form before diameter") << "Circle XYZ:1,2,3 Form:0.1 Diam:10"
                                          << "Feature diameter not found." << QString() << 0.0 << 0.0 << 0.0;
    QTest::newRow("lower-case xyz key") << "Circle xyz:1,2,3 Diam:10 Form:0.1"
                                        << "Feature position not found." << QString() << 0.0 << 10.0 << 0.1;
    QTest::newRow("two position values")
        << "Circle XYZ:1,2 Diam:10 Form:0.1"
        << "Feature position not recognized." << QString() << 0.0 << 10.0 << 0.1;
    // Every key is cut at its first occurrence: a second "Form:" ends in the diameter's text.
    QTest::newRow("repeated form key")
        << "Circle XYZ:1,2,3 Diam:10 Form:0.1 Form:0.2" << QString() << "Circle" << 2.0 << 10.0 << 0.0;
}

void TestFeature::Feature_Record()
{
    QFETCH(QString, line);
    QFETCH(QString, message);

    TFeatureData feature;
    QString error;
    QCOMPARE(MeasureFeature::Read_Feature_Record(line, &feature, &error), message.isEmpty());
    QCOMPARE(error, message);
    QTEST(feature.description, "description");
    QTEST(feature.xyz.y, "y");
    QTEST(feature.diameter, "diameter");
    QTEST(feature.form, "form");
}

void TestFeature::Load_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("line"); // a report line that must be present
    const auto fails = [](const QString &name, int kind, const QByteArray &file, const QString &message)
    { QTest::newRow(qPrintable(name)) << kind << file << message << 0 << QString(); };
    const auto loads = [](const char *name, int kind, const QByteArray &file, int points, const char *line)
    { QTest::newRow(name) << kind << file << QString() << points << QString::fromUtf8(line); };

    const QByteArray pin = File(PIN, "1,2,3,1,0,0,0.001\n");
    const QByteArray circle = "Circle C1 XYZ:1,2,3 Diam:10 Form:0.001";
    for (const char *line_start :
         {"Alignment_Begin:", "Probe_Offset:", "Probe_Vector:", "Point_Data_Begin:", "Circle"})
    {
        fails(QStringLiteral("without ") + QLatin1String(line_start), PIN, Without(pin, line_start),
              DATA_MISSING);
    }
    loads("sections in any order, markers in any case", PIN,
          Identification(PIN) + "point_data_begin:\n1,2,3,1,0,0,0\nPOINT_DATA_END::\n" + circle + '\n' +
              PROBE + ALIGNMENT,
          1, "         Form: 0.0010 mm");
    fails("twin's identification", RING, Identification(PIN) + pin.mid(pin.indexOf('\n') + 1),
          ARTIFACT_IDENTIFICATION);
    // The feature record counts only outside the sections.
    fails("feature only inside the alignment section", PIN,
          Inserted(Without(pin, "Circle"), "Alignment_End:", circle), DATA_MISSING);
    fails("feature only inside the point section", PIN,
          Inserted(Without(pin, "Circle"), "Point_Data_End::", circle), DATA_MISSING);
    fails("point section closed with one colon stays open", PIN,
          Replaced(Without(pin, "Circle"), "Point_Data_End::", "Point_Data_End:\n" + circle), DATA_MISSING);
    fails("malformed probe vector inside the point section", PIN, Inserted(pin, "1,2,3", "Probe_Vector:0,1"),
          PROBE_VECTOR);
    fails("malformed Z axis", RING, Replaced(File(RING, ""), "Z_Axis:", "Z_Axis:0,0,1,0"), Z_ALIGNMENT);
    fails("feature without diameter", PIN, Replaced(pin, "Circle", "Circle XYZ:1,2,3 Form:0.1"),
          QStringLiteral("Feature diameter not found."));
    // A probe record inside the point section is the probe's, not a point.
    loads("rows of six and eight values skipped, empty parts count, probe offset is no point", RING,
          File(RING, "1,2,3,0.6,0.8,0\n1,2,3,0.6,0.8,0,0.002,9\n5,,6,1,0,0,\nProbe_Offset:7,8,9\n"), 1,
          "  Offset:       7.0000,       8.0000,       9.0000");

    const QByteArray sphere = File(PFTU, "0,0,12.5,0,0,1,12.5,0.0001\n0,0,-12.5,0,0,-1,12.4998,-0.0002\n");
    loads("pftu: nominal radius", PFTU, Inserted(sphere, "Sphere", "Nominal_Sphere_Radius:12.4996"), 2,
          "  Nominal Rad.: 12.4996 mm");
    loads("pftu: nominal radius inside the point section", PFTU,
          Inserted(sphere, "Point_Data_End::", "nominal_sphere_radius: 9.5"), 2, "  Nominal Rad.: 9.5000 mm");
    loads("pftu: nominal radius inside the alignment section", PFTU,
          Inserted(sphere, "Alignment_End:", "Nominal_Sphere_Radius:7"), 2, "  Nominal Rad.: 7.0000 mm");
    loads("pftu: seven-value rows of the circle gauges ignored", PFTU,
          File(PFTU, "0,0,12.5,0,0,1,0.0001\n1,2,3,4,5,6,7,8,9\n"), 0, "  Nominal Rad.: 0.0000 mm");
    loads("pftu: lower-case feature word", PFTU,
          Replaced(sphere, "Sphere", "sphere  Ball XYZ:1,2,3 Diam:25 Form:0.1"), 2,
          "   Description: sphere  Ball");
    fails("pftu: a circle is not the sphere's feature", PFTU, Replaced(sphere, "Sphere", circle),
          DATA_MISSING);
    fails("pftu: pin identification", PFTU, Identification(PIN) + sphere.mid(sphere.indexOf('\n') + 1),
          ARTIFACT_IDENTIFICATION);
}

void TestFeature::Load()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, points);
    QFETCH(QString, line);

    const std::unique_ptr<TMeasureData> record =
        Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
    QCOMPARE(record->Load_Data(file), message.isEmpty());
    QCOMPARE(record->last_error, message);
    if (message.isEmpty())
    {
        QCOMPARE(Point_Count(*record), points);
        QVERIFY2(record->Text_Report().contains(line),
                 qPrintable(record->Text_Report().join(QLatin1Char('\n'))));
    }
}

void TestFeature::Magnification_data()
{
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("form");
    QTest::addColumn<double>("magnification");

    // A deviation equal to the form error is drawn as a quarter of the diameter, within 1 to 10000.
    QTest::newRow("form at the threshold") << 1000.0 << 0.0001 << 1.0;
    QTest::newRow("negative form") << 10.0 << -0.5 << 1.0;
    QTest::newRow("diameter 10, form 0.001") << 10.0 << 0.001 << 2500.0;
    QTest::newRow("capped at 10000") << 100.0 << 0.002 << 10000.0;
    QTest::newRow("raised to 1") << 1.0 << 0.5 << 1.0;
    QTest::newRow("huge diameter over small form") << 1e308 << 0.00011 << 10000.0;
}

void TestFeature::Magnification()
{
    QFETCH(double, diameter);
    QFETCH(double, form);
    QTEST(TMeasureCircleGauge::Magnification(diameter, form), "magnification");
}

void TestFeature::Graph()
{
    // Diameter 10, form 0.001: magnification 2500. The probed points, then the points moved along
    // their normals by the magnified deviations, that outline again; each closed on its first point.
    TMeasureRing record;
    QVERIFY(
        record.Load_Data(File(RING, "5,0,3,-1,0,0,0.001\n0,5,3,0,-1,0,-0.002\n-5,0,3,0.6,0.8,0,0.0004\n")));
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(graph.size(), size_t(3));
    std::vector<double> values[3];
    for (size_t curve = 0; curve < 3; ++curve)
    {
        for (const TVector2 &point : graph[curve])
        {
            values[curve].push_back(point.x);
            values[curve].push_back(point.y);
        }
    }
    Compare_Values(values[0], {5, 0, 0, 5, -5, 0, 5, 0});
    Compare_Values(values[1], {2.5, 0, 0, 10, -5 + 0.6, 0.8, 2.5, 0});
    Compare_Values(values[2], values[1]);

    TMeasurePin empty;
    QVERIFY(empty.Load_Data(File(PIN, "")));
    const std::vector<std::vector<TVector2>> empty_graph = empty.Graph_Data();
    QCOMPARE(empty_graph.size(), size_t(3));
    QVERIFY(empty_graph[0].empty() && empty_graph[1].empty() && empty_graph[2].empty());
}

void TestFeature::Huge_Deviations_Left_Out_Of_The_Graph()
{
    // Finite values whose magnified product overflows: those moved points are left out.
    TMeasurePin record;
    QVERIFY(
        record.Load_Data(File(PIN, "5,0,0,1e308,0,0,1e308\n0,5,0,0,-1e308,0,1e308\n1,1,0,1,0,0,0.001\n")));
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(graph.size(), size_t(3));
    QCOMPARE(graph[0].size(), size_t(4));
    // Only the third point remains, closed on itself.
    QCOMPARE(graph[1].size(), size_t(2));
    QCOMPARE(graph[1][0].x, 1.0 + 0.001 * 2500.0);
    QCOMPARE(graph[1][1].x, graph[1][0].x);
    QCOMPARE(graph[2].size(), size_t(2));
}

void TestFeature::Large_File()
{
    // One row per point after the 29 lines before them.
    Check_Large_File(
        File(RING, "").replace("Point_Data_End::\n", ""),
        [](int i) { return QByteArray::number(i % 25) + ",0,-5,-1,0,0,0.0004\n"; }, "Point_Data_End::\n", 29);
}

QTEST_GUILESS_MAIN(TestFeature)
#include "tst_feature.moc"
