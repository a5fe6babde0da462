// The pin, ring and sphere form (PFTU) records: the feature record, the reader they share with its
// sections, point rows, and the graph's magnification and outlines. The sphere repeatability (RPT) and
// point repeatability records: the lines each reads as positions, positions relative to the first,
// ranges and the point repeat's accuracy. Their figures are the golden reports'.

#include "model/kinds/measuredata_circlegauge.h"
#include "model/kinds/measuredata_pftu.h"
#include "model/kinds/measuredata_pointrepeat.h"
#include "model/kinds/measuredata_rpt.h"
#include "tests/common/measure_checks.h"

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
const QByteArray CIRCLE = "Circle C1 XYZ:1,2,3 Diam:10 Form:0.001";

QByteArray Identification(int kind)
{
    return TMeasureData::Identification_Text(TMeasureData::TFileContents(kind)).toLatin1() + '\n';
}

// A complete file around the point rows; the feature is a 10 mm circle of form 0.001 or a sphere.
QByteArray File(int kind, const QByteArray &points)
{
    return Identification(kind) + ALIGNMENT + PROBE +
           (kind == PFTU ? QByteArray("Sphere S1 XYZ:1,2,3 Diam:25 Form:0.0008") : CIRCLE) +
           "\nPoint_Data_Begin:\n" + points + "Point_Data_End::\n";
}

struct TFeatureRow
{
    QString line;
    QString message;
    QString description;
    double y, diameter, form;
};

const int RPT = TMeasureData::CONTENTS_SPHERE_RPT;
const int POINT = TMeasureData::CONTENTS_POINT_REPEAT;
const QByteArray RPT_HEAD = "B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat\n"
                            "Probe_Offset:0.5,-1.25,-120\nProbe_Vector:0,0,1\n"
                            "Alignment_Begin:\nX_Axis:1,0,0\nTranslation:10,20,30\nAlignment_End:\n";
const QByteArray POINT_HEAD = "Artifact_Measurement:Version=1:Type=Point_Repeat\n"
                              "Probe_Offset:0,0,-183.217\nProbe_Vector:-1,0,0\n"
                              "Alignment_Begin:\nTranslation:1,2,3\nAlignment_End:\n";

// A complete file around the Measurement section's lines.
QByteArray Repeat_File(int kind, const QByteArray &measurement)
{
    return (kind == RPT ? RPT_HEAD : POINT_HEAD) + "Measurement_Begin:\n" + measurement +
           "Measurement_End::\n";
}

TValues Flat(const std::vector<TVector3> &positions)
{
    TValues values;
    for (const TVector3 &position : positions)
        values.insert(values.end(), {position.x, position.y, position.z});
    return values;
}

// What a loaded record gives: the number of points of a feature, the positions of a repeat.
TValues Values(const TMeasureData &record)
{
    if (const auto *circle = dynamic_cast<const TMeasureCircleGauge *>(&record))
        return {double(circle->Points().size())};
    if (const auto *sphere = dynamic_cast<const TMeasurePFTU *>(&record))
        return {double(sphere->Points().size())};
    if (const auto *rpt = dynamic_cast<const TMeasureRPT *>(&record))
        return Flat(rpt->Centres());
    return Flat(dynamic_cast<const TMeasurePointRepeat &>(record).Points());
}

// A load row with report lines that must be present.
struct TRow
{
    TLoadRow load;
    QStringList lines;
};
} // namespace

Q_DECLARE_METATYPE(TFeatureRow)
Q_DECLARE_METATYPE(TRow)

class TTestFeature : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Feature_Record_data()
    {
        QTest::addColumn<TFeatureRow>("row");
        const auto row = [](const char *name, const TFeatureRow &feature) { QTest::newRow(name) << feature; };
        row("complete", {"Circle Ring_25 XYZ:0.5, -1.25 ,3 Diam: 25.0003 Form:0.0011", QString(),
                         "Circle Ring_25", -1.25, 25.0003, 0.0011});
        row("no blanks between keys",
            {"circle pin XYZ:1,2,3Diam:10Form:0.5", QString(), "circle pin", 2, 10, 0.5});
        row("words as numbers", {"Circle XYZ:a,,c Diam:wide Form:", QString(), "Circle", 0, 0, 0});
        // Values read before a failure stay.
        row("no form", {"Circle XYZ:1,2,3 Diam:10", "Feature form error not found.", QString(), 0, 0, 0});
        // Keys are taken from the end: the form's text runs on to the line's end, "0.1 Diam:10".
        row("form before diameter",
            {"Circle XYZ:1,2,3 Form:0.1 Diam:10", "Feature diameter not found.", QString(), 0, 0, 0});
        row("lower-case xyz key",
            {"Circle xyz:1,2,3 Diam:10 Form:0.1", "Feature position not found.", QString(), 0, 10, 0.1});
        row("two position values",
            {"Circle XYZ:1,2 Diam:10 Form:0.1", "Feature position not recognized.", QString(), 0, 10, 0.1});
        // Every key is cut at its first occurrence: a second "Form:" ends in the diameter's text.
        row("repeated form key",
            {"Circle XYZ:1,2,3 Diam:10 Form:0.1 Form:0.2", QString(), "Circle", 2, 10, 0});
    }

    void Feature_Record()
    {
        QFETCH(TFeatureRow, row);
        TFeatureData feature;
        QString error;
        QCOMPARE(MeasureFeature::Read_Feature_Record(row.line, &feature, &error), row.message.isEmpty());
        QCOMPARE(error, row.message);
        QCOMPARE(feature.description, row.description);
        Compare_Values({feature.xyz.y, feature.diameter, feature.form}, {row.y, row.diameter, row.form});
    }

    void Load_data()
    {
        QTest::addColumn<TRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &file, const QString &message,
                            const TValues &values = {}, const QStringList &lines = {}) {
            QTest::newRow(name) << TRow{{kind, file, message, values}, lines};
        };

        const QByteArray pin = File(PIN, "1,2,3,1,0,0,0.001\n");
        row("sections in any order, markers in any case", PIN,
            Identification(PIN) + "point_data_begin:\n1,2,3,1,0,0,0\nPOINT_DATA_END::\n" + CIRCLE + '\n' +
                PROBE + ALIGNMENT,
            QString(), {1}, {"         Form: 0.0010 mm"});
        // The feature record counts only outside the sections.
        row("feature only inside the alignment section", PIN,
            Inserted(Without(pin, "Circle"), "Alignment_End:", CIRCLE), DATA_MISSING);
        row("feature only inside the point section", PIN,
            Inserted(Without(pin, "Circle"), "Point_Data_End::", CIRCLE), DATA_MISSING);
        row("point section closed with one colon stays open", PIN,
            Replaced(Without(pin, "Circle"), "Point_Data_End::", "Point_Data_End:\n" + CIRCLE), DATA_MISSING);
        row("malformed probe vector inside the point section", PIN,
            Inserted(pin, "1,2,3", "Probe_Vector:0,1"), PROBE_VECTOR);
        // A probe record inside the point section is the probe's, not a point.
        row("rows of six and eight values skipped, empty parts count, probe offset is no point", RING,
            File(RING, "1,2,3,0.6,0.8,0\n1,2,3,0.6,0.8,0,0.002,9\n5,,6,1,0,0,\nProbe_Offset:7,8,9\n"),
            QString(), {1}, {"  Offset:       7.0000,       8.0000,       9.0000"});

        const QByteArray sphere =
            File(PFTU, "0,0,12.5,0,0,1,12.5,0.0001\n0,0,-12.5,0,0,-1,12.4998,-0.0002\n");
        row("pftu: nominal radius inside the point section", PFTU,
            Inserted(sphere, "Point_Data_End::", "nominal_sphere_radius: 9.5"), QString(), {2},
            {"  Nominal Rad.: 9.5000 mm"});
        row("pftu: nominal radius inside the alignment section", PFTU,
            Inserted(sphere, "Alignment_End:", "Nominal_Sphere_Radius:7"), QString(), {2},
            {"  Nominal Rad.: 7.0000 mm"});
        row("pftu: seven-value rows of the circle gauges ignored", PFTU,
            File(PFTU, "0,0,12.5,0,0,1,0.0001\n1,2,3,4,5,6,7,8,9\n"), QString(), {0},
            {"  Nominal Rad.: 0.0000 mm"});
        row("pftu: lower-case feature word", PFTU,
            Replaced(sphere, "Sphere", "sphere  Ball XYZ:1,2,3 Diam:25 Form:0.1"), QString(), {2},
            {"   Description: sphere  Ball"});
        row("pftu: a circle is not the sphere's feature", PFTU, Replaced(sphere, "Sphere", CIRCLE),
            DATA_MISSING);

        // The probe values are this kind's own; the report shows them.
        row("rpt: relative to the first, 3 or 5 values skipped, first value unused", RPT,
            Repeat_File(RPT, "1,10,20,30\n1,2,3\n1,2,3,4,5\n99,10.5,19,31\n"), QString(),
            {0, 0, 0, 0.5, -1, 1});
        row("rpt: one-colon end does not close, lines after the section ignored", RPT,
            Repeat_File(RPT, "1,1,1,1\nMeasurement_End:\n2,2,2,2\n") + "3,3,3,3\n", QString(),
            {0, 0, 0, 1, 1, 1});
        row("rpt: lines while two sections are open ignored, alignment records only in their section", RPT,
            Repeat_File(
                RPT,
                "1,1,1,1\nAlignment_Begin:\n2,2,2,2\nX_Axis:5,5,5\nAlignment_End:\n3,3,3,3\nX_Axis:6,6,6\n"),
            QString(), {0, 0, 0, 2, 2, 2}, {"  X Axis:  1.000000000,  0.000000000,  0.000000000"});
        row("rpt: no centre", RPT, Repeat_File(RPT, ""), QString(), {},
            {"      0.0000        0.0000        0.0000 mm"});

        row("point: the first value shares the key's part, 3 or 5 values ignored", POINT,
            Repeat_File(POINT, "Point:7,100,50,20\nPoint:1,2,3\nPoint:1,2,3,4,5\nPoint:8,100.5,49,21\n"),
            QString(), {0, 0, 0, 0.5, -1, 1});
        row("point: keys in any letter case, bare lists and underscore key ignored", POINT,
            Repeat_File(POINT, "DESCRIPTION: Front left, 8 mm/s \nmove "
                               "distance:150\nMove_Distance:9\n1,2,3,4\npoint:1,1,1,1\n"),
            QString(), {0, 0, 0}, {"Description:    Front left, 8 mm/s", "Move Distance: 150.000"});
        row("point: records outside the section ignored", POINT,
            POINT_HEAD + "Description:outside\nMove Distance:5\nPoint:1,1,1,1\nMeasurement_Begin:\n",
            QString(), {}, {"Description:   ", "Move Distance: 0.000"});
    }

    void Load()
    {
        QFETCH(TRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.load.kind, row.load.file);
        QCOMPARE(record->last_error, row.load.message);
        if (!row.load.message.isEmpty())
            return;
        Compare_Values(Values(*record), row.load.values);
        const QStringList report = record->Text_Report();
        for (const QString &line : row.lines)
            QVERIFY2(report.contains(line),
                     qPrintable(line + QStringLiteral(" in:\n") + report.join(QLatin1Char('\n'))));
    }

    void Magnification()
    {
        // A deviation equal to the form error is drawn as a quarter of the diameter, within 1 to 10000:
        // diameter, form and magnification.
        const double rows[][3] = {{1000.0, 0.0001, 1.0},   {10.0, -0.5, 1.0}, {10.0, 0.001, 2500.0},
                                  {100.0, 0.002, 10000.0}, {1.0, 0.5, 1.0},   {1e308, 0.00011, 10000.0}};
        for (const auto &row : rows)
            QCOMPARE(TMeasureCircleGauge::Magnification(row[0], row[1]), row[2]);
    }

    void Graph()
    {
        // Diameter 10, form 0.001: magnification 2500. The probed points, then the points moved along
        // their normals by the magnified deviations, that outline again; each closed on its first point.
        TMeasureRing record;
        QVERIFY(record.Load_Data(
            File(RING, "5,0,3,-1,0,0,0.001\n0,5,3,0,-1,0,-0.002\n-5,0,3,0.6,0.8,0,0.0004\n")));
        const TValues moved = {2.5, 0, 0, 10, -5 + 0.6, 0.8, 2.5, 0};
        TValues expected = {5, 0, 0, 5, -5, 0, 5, 0};
        for (int copy = 0; copy < 2; ++copy)
            expected.insert(expected.end(), moved.begin(), moved.end());
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>({4, 4, 4}));
        Compare_Values(Flat(record.Graph_Data()), expected);

        TMeasurePin empty;
        QVERIFY(empty.Load_Data(File(PIN, "")));
        QCOMPARE(Sizes(empty.Graph_Data()), std::vector<int>({0, 0, 0}));
    }

    void Huge_Deviations_Left_Out_Of_The_Graph()
    {
        // Finite values whose magnified product overflows: those moved points are left out. Only the third
        // point remains, closed on itself.
        TMeasurePin record;
        QVERIFY(record.Load_Data(
            File(PIN, "5,0,0,1e308,0,0,1e308\n0,5,0,0,-1e308,0,1e308\n1,1,0,1,0,0,0.001\n")));
        const TCurves graph = record.Graph_Data();
        QCOMPARE(Sizes(graph), std::vector<int>({4, 2, 2}));
        QCOMPARE(graph[1][0].x, 1.0 + 0.001 * 2500.0);
        QCOMPARE(graph[1][1].x, graph[1][0].x);
    }

    void Ranges()
    {
        // Per axis, of values all above or all below zero; accuracy, the length of the Y and Z ranges.
        Compare_Values(Flat({TMeasureRPT::Range({TVector3(3, -1, 2), TVector3(1, -4, 9)})}), {2, 3, 7});
        QCOMPARE(TMeasurePointRepeat::Positioning_Accuracy(TVector3(1, 3e200, 4e200)), 5e200);
    }
};

QTEST_GUILESS_MAIN(TTestFeature)
#include "tst_feature.moc"
