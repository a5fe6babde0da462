// The records of the artifact kinds (pin, ring and sphere form, sphere and point repeatability, temperature
// log, ballbar, best-fit validation, probe tip): the lines and sections each reads, what it keeps on a
// failure, the edges of its report and graph, and the message each kind gives for one malformed record.
// Their usual figures are the golden reports'.

#include "model/kinds/measuredata_ballbar.h"
#include "model/kinds/measuredata_circlegauge.h"
#include "model/kinds/measuredata_pftu.h"
#include "model/kinds/measuredata_pointrepeat.h"
#include "model/kinds/measuredata_probe.h"
#include "model/kinds/measuredata_rpt.h"
#include "model/kinds/measuredata_temperature.h"
#include "model/kinds/measuredata_validation.h"
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

const QByteArray LOG_ID = "Temperature_Log:Version=1:Type=Machine_Sensors\n";

// A sensor's block of the report: min, max, mean and standard deviation as printed.
QStringList Sensor(int sensor, const QStringList &values)
{
    QStringList lines = {QStringLiteral("Sensor: %1").arg(sensor), QString(44, QLatin1Char('-'))};
    const char *const labels[] = {"  Min:   %1 C", "  Max:   %1 C", "  Mean:  %1 C", "  Stdev: %1 C"};
    for (int i = 0; i < 4; ++i)
        lines += QString::fromLatin1(labels[i]).arg(values[i]);
    return lines << QString();
}
const QByteArray BALLBAR_ID = "B89.4.1_Data:Version=1:Type=BallBar\n";

// One data line: end points (0,0,0) and (0,0,z), the other fields filled.
QByteArray Line(const QByteArray &name, double z)
{
    return name + ",Horizontal,0,0,0,0,0," + QByteArray::number(z, 'g', 17) + ",20.1,19.9992,1,0,0\n";
}

// A reading line and the reading it gives: sensor, time and temperature; empty when it is dropped.
struct TReadingRow
{
    QByteArray line;
    QString reading;
};

// Data lines, the first lines of the report after its title and heading, and the graph's points.
struct TBallbarRow
{
    QByteArray lines;
    QStringList report;
    TValues graph;
};

const int PLANE = TMeasureData::CONTENTS_VALIDATION_PLANE;
const QString PLANE_ENTRY = QStringLiteral("Plane entry format not recognized.");
// x, y, z, i, j, k, diameter and form of the plane entry "1 2 3 0 0 1 0.0025".
const TValues PLANE_123 = {1, 2, 3, 0, 0, 1, 0, 0.0025};
const std::vector<TValidationCommon::TResultData> NO_RESULTS;

const QByteArray TIP_ID = "Artifact_Measurement:Version=1:Type=Tip_Calibration\n";
} // namespace

Q_DECLARE_METATYPE(TFeatureRow)
Q_DECLARE_METATYPE(TRow)
Q_DECLARE_METATYPE(TReadingRow)
Q_DECLARE_METATYPE(TBallbarRow)

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

    void Reading_Lines_data()
    {
        QTest::addColumn<TReadingRow>("row");
        const auto row = [](const char *name, const char *line, const char *reading) {
            QTest::newRow(name) << TReadingRow{line, QString::fromLatin1(reading)};
        };
        row("plain", "[103045],3,20.125", "3 10:30:45 20.125");
        row("outer stamp characters not examined, blanks around numbers", "T070000Z, 12 , 19.5 ",
            "12 7:0:0 19.5");
        row("negative sensor number", "[235959],-2,21", "-2 23:59:59 21");
        row("letters in the stamp read as zero", "[ab30cd],1,20", "1 0:30:0 20");
        row("stamp of 7 characters", "[10304],3,20.1", "");
        row("stamp of 9 characters", "[1030450],3,20.1", "");
        row("sensor 0", "[103045],0,20.1", "");
        row("sensor not a whole number", "[103045],1.5,20.1", "");
        row("temperature 0", "[103045],3,0.0", "");
        row("infinite temperature", "[103045],3,inf", "");
        row("two fields", "[103045],3", "");
        row("four fields", "[103045],3,20.1,", "");
    }

    void Reading_Lines()
    {
        QFETCH(TReadingRow, row);
        // A good reading of sensor 99 keeps the load successful either way; alone, a dropped line leaves
        // nothing to load.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + row.line + "\n[000000],99,20\n"));
        QCOMPARE(record.Sensor_Data().size(), size_t(row.reading.isEmpty() ? 1 : 2));
        const TMeasureTemperature::TSensorData &first = record.Sensor_Data().front();
        if (!row.reading.isEmpty())
            QCOMPARE(QString::asprintf("%d %d:%d:%d %g", first.sensor, first.hour, first.minute, first.second,
                                       first.temperature),
                     row.reading);
        QCOMPARE(Loaded(TMeasureData::CONTENTS_TEMPERATURE, LOG_ID + row.line)->last_error,
                 row.reading.isEmpty() ? DATA_MISSING : QString());
    }

    void Sensor_Order_And_Graph()
    {
        // One curve per sensor in ascending number, readings in file order, x in hours.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + "[103045],7,21.5\n"
                                          "[080000],2,20.0\n"
                                          "[233000],7,21.0\n"
                                          "[001500],7,20.5\n" // past midnight: x falls back
                                          "[090000],2,22.0\n"));
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>({2, 3}));
        Compare_Values(Flat(record.Graph_Data()),
                       {8.0, 20.0, 9.0, 22.0, 10.5125, 21.5, 23.5, 21.0, 0.25, 20.5});
    }

    void Report()
    {
        // Sensors in ascending number, not in text order; values right-aligned in six characters; the
        // sample deviation (n - 1), zero for a single reading.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + "[000000],12,123.456\n"
                                          "[000000],3,20.0\n"
                                          "[000100],3,22.0\n"
                                          "[000000],5,5\n"));
        QCOMPARE(record.Text_Report(),
                 (QStringList{QStringLiteral("Temperature Log"), QString(64, QLatin1Char('=')), QString()} +
                  Sensor(3, {" 20.00", " 22.00", " 21.00", "  1.41"}) +
                  Sensor(5, {"  5.00", "  5.00", "  5.00", "  0.00"}) +
                  Sensor(12, {"123.46", "123.46", "123.46", "  0.00"})));

        // Finite readings whose sum overflows: the mean and deviation print as Qt prints infinity.
        TMeasureTemperature huge;
        QVERIFY(huge.Load_Data(LOG_ID + "[000000],1,1e308\n[000100],1,1e308\n"));
        const QString big = QString::number(1e308, 'f', 2);
        QCOMPARE(huge.Text_Report().mid(3), Sensor(1, QStringList({big, big, "   inf", "   inf"})));
    }

    void Ballbar_data()
    {
        QTest::addColumn<TBallbarRow>("row");
        const auto row = [](const char *name, const TBallbarRow &ballbar) { QTest::newRow(name) << ballbar; };
        // Point 1 is fields 2 to 4, point 2 fields 5 to 7; empty fields count, words read as zero.
        const double mean = 110.0 / 3;
        row("twelve and fourteen fields ignored",
            {"P1,x,0,0,0,300,400,0,1,2,3,4\nP2,x,0,0,0,300,400,0,1,2,3,4,5,6\n" + Line("P3", 100) +
                 "P4,,1,1,1,4,5,1,,,,,\nP5,x,a,b,c,3,4,nan,,,,,\n",
             {"          P3      100.0000      63.3333", "          P4        5.0000     -31.6667",
              "          P5        5.0000     -31.6667", ""},
             {100, 100 - mean, 5, 5 - mean, 5, 5 - mean}});
        // A long name is not cut, nor is "%2" replaced. The statistics are the golden report's.
        row("names", {Line("A", 20) + Line("B", 10) + Line("Very_Long_Position_Name", 40) + Line(" %2 ", 30),
                      {"           A       20.0000      -5.0000", "           B       10.0000     -15.0000",
                       "Very_Long_Position_Name       40.0000      15.0000",
                       "         %2        30.0000       5.0000", ""},
                      {20, -5, 10, -15, 40, 15, 30, 5}});
        row("no entries", {"only,a,few,fields\n",
                           {"", "  Minimum Length: 0.0000 mm", "  Maximum Length: 0.0000 mm",
                            "  Mean Length:    0.0000 mm", "  Length Range:   0.0000 mm"},
                           {}});
        // Finite coordinates whose squared distance overflows: the length is infinite and the deviation
        // from an infinite mean is not a number; the report prints them as such, the graph leaves them out.
        row("huge coordinates",
            {"BIG,x,-1e308,0,0,1e308,0,0,0,0,0,0,0\n" + Line("P1", 500),
             {"         BIG           inf          nan", "          P1      500.0000         -inf", "",
              "  Minimum Length: 500.0000 mm", "  Maximum Length: inf mm", "  Mean Length:    inf mm",
              "  Length Range:   inf mm"},
             {}});
    }

    void Ballbar()
    {
        QFETCH(TBallbarRow, row);
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(BALLBAR_ID + row.lines));
        // After the title and heading; the graph is one curve, also when empty.
        QCOMPARE(record.Text_Report().mid(8, row.report.size()), row.report);
        QCOMPARE(record.Graph_Data().size(), size_t(1));
        Compare_Values(Flat(record.Graph_Data()), row.graph);
    }

    // The values: eight of each result, also those kept on a failure.
    void Validation_Load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &text, const QString &message,
                            const TValues &results) {
            QTest::newRow(name) << TLoadRow{kind, Identification(kind) + text, message, results};
        };
        const int line = TMeasureData::CONTENTS_VALIDATION_LINE;
        const int circle = TMeasureData::CONTENTS_VALIDATION_CIRCLE;
        const int sphere = TMeasureData::CONTENTS_VALIDATION_SPHERE;

        row("runs of blanks and tabs, keyword in capitals", PLANE,
            "  PLANE \t1   8\t\t1  2 3   0 0 1\t0.0025   \n", QString(), PLANE_123);
        row("point data, comments and empty lines", PLANE,
            "\n  # Plane 9 9 9 9 9 9 9 9 9 9\nPlane 1 3 1 2 3 0 0 1 0.0025\nPoint 1 0.5 1.5 3.0001\n"
            "  Pt 3 1 2 3 4 5\n\n",
            QString(), PLANE_123);
        row("circle among other keywords", circle,
            "Sphere 1 9 1 2 3 4 5\nPlane 1 8 1 2 3 0 0 1 0.0025\nCircle 1 12 10 20 30 0 0 1 25.0004 0.0012\n",
            QString(), {10, 20, 30, 0, 0, 1, 25.0004, 0.0012});
        row("plane with 8 values", PLANE, "Plane 1 2 3 0 0 1 0.0025 7\n", PLANE_ENTRY, {});
        row("plane keyword alone", PLANE, "Plane\n", PLANE_ENTRY, {});
        row("entries before a plane of 10 values stay", PLANE,
            "Plane 1 8 1 2 3 0 0 1 0.0025\nPlane 2 8 1 2 3 0 0 1 0.0025 7\nPlane 3 8 1 2 3 0 0 1 0.0025\n",
            PLANE_ENTRY, PLANE_123);
        row("line with circle values", line, "Line 1 6 1 2 3 0 0 1 25 0.001\n",
            QStringLiteral("Line entry format not recognized."), {});
        row("circle without diameter", circle, "Circle 1 12 10 20 30 0 0 1 0.0012\n",
            QStringLiteral("Circle entry format not recognized."), {});
        row("sphere with a direction", sphere, "Sphere 1 9 1 2 3 0 0 1 20 0.001\n",
            QStringLiteral("Sphere entry format not recognized."), {});

        // The message each kind gives for one malformed record, put in place of the first line beginning
        // with line_start.
        const auto raw =
            [](const char *example, const char *line_start, const char *text, const QString &message)
        {
            const QByteArray file = Replaced(Example(QLatin1String(example)), line_start, text);
            QTest::addRow("%s %s", example, text)
                << TLoadRow{TMeasureData::Determine_File_Contents(file), file, message, {}};
        };
        raw("stepgauge_10360_x_front", "Probe_Offset:", "Probe_Offset:1 2 3", PROBE_OFFSET);
        raw("stepgauge_b89_x_axis", "Translation:", "Translation:1;2;3", TRANSLATION);
        raw("laser_pmove_x_axis", "Start_Point:", "Start_Point:1,2", "Start point data not recognized.");
        raw("laser_10360_x_axis", "Measurement_Axis:", "Measurement_Axis:1,0,0,0",
            "Measurement Axis data not recognized.");
        raw("ringgauge_25mm", "Z_Axis:", "Z_Axis:0,0,1,0", Z_ALIGNMENT);
        raw("sphere_rpt_table_centre", "X_Axis:", "X_Axis:1,0", X_ALIGNMENT);
        // Probe records are read before the section's lines.
        raw("sphere_rpt_table_centre", "1,", "Probe_Offset:1,2,3,4", PROBE_OFFSET);
        raw("probe_tip_calibration", "Y_Axis:", "Y_Axis:0 1 0", Y_ALIGNMENT);
    }

    void Validation_Load()
    {
        QFETCH(TLoadRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.kind, row.file);
        QCOMPARE(record->last_error, row.message);
        const auto *validation = dynamic_cast<const TValidationCommon *>(record.get());
        TValues values;
        for (const TValidationCommon::TResultData &result : validation ? validation->Results() : NO_RESULTS)
            values.insert(values.end(), {result.xyz.x, result.xyz.y, result.xyz.z, result.ijk.x, result.ijk.y,
                                         result.ijk.z, result.diameter, result.form});
        Compare_Values(values, row.values);
    }

    void Tip_Calibration_data()
    {
        QTest::addColumn<TRow>("row"); // the value: the diameter; the lines: the results
        const auto row = [](const char *name, const QByteArray &file, const QString &message, double diameter,
                            const QStringList &results) {
            QTest::newRow(name) << TRow{{TMeasureData::CONTENTS_PROBE, file, message, {diameter}}, results};
        };
        const QByteArray head = TIP_ID + ALIGNMENT;
        row("results after the diameter, empty lines kept",
            head + "Nominal_Sphere_Diameter:24.9991\nTip T1  3.9962\n\n   Form  0.0007   \n", QString(),
            24.9991, {"Tip T1  3.9962", "", "Form  0.0007"});
        row("lines before the diameter dropped",
            TIP_ID + "early result\n" + ALIGNMENT + "also early\nNominal_Sphere_Diameter: 25\nlate\n",
            QString(), 25, {"late"});
        row("records of other kinds are result text",
            head + "nominal_sphere_diameter:25\nProbe_Offset:1,2\nPoint_Data_Begin:\nX_Axis:1,2\n", QString(),
            25, {"Probe_Offset:1,2", "Point_Data_Begin:", "X_Axis:1,2"});
        row("second diameter overwrites and is no result",
            head + "Nominal_Sphere_Diameter:25\nfirst\nNOMINAL_SPHERE_DIAMETER:19.05\nsecond\n", QString(),
            19.05, {"first", "second"});
        row("diameter inside the alignment section",
            TIP_ID + "Alignment_Begin:\nNominal_Sphere_Diameter:12.7\nnot an alignment "
                     "record\nAlignment_End:\nresult\n",
            QString(), 12.7, {"result"});
        row("alignment lines between results are no results",
            TIP_ID + "Nominal_Sphere_Diameter:25\nbefore\n" + ALIGNMENT + "after\n", QString(), 25,
            {"before", "after"});
        row("comment lines never reach the results",
            head + "Nominal_Sphere_Diameter:25\n# note\n  # indented note\nkept # not a comment\n", QString(),
            25, {"kept # not a comment"});
        row("alignment marker with a word after it is result text",
            TIP_ID + "Nominal_Sphere_Diameter:25\nAlignment_Begin: now\n", DATA_MISSING, 25,
            {"Alignment_Begin: now"});
    }

    void Tip_Calibration()
    {
        QFETCH(TRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.load.kind, row.load.file);
        QCOMPARE(record->last_error, row.load.message);
        const auto &probe = dynamic_cast<const TMeasureProbe &>(*record);
        Compare_Values({probe.Nominal_Sphere_Diameter()}, row.load.values);
        QCOMPARE(probe.Results(), row.lines);
    }
};

QTEST_GUILESS_MAIN(TTestFeature)
#include "tst_feature.moc"
