// The sphere repeatability (RPT) and point repeatability records: the reader they share, the lines
// each reads as positions, positions relative to the first, ranges and files of the largest size.

#include "measure_checks.h"
#include "measuredata_pointrepeat.h"
#include "measuredata_rpt.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<TVector3>)

using namespace MeasureChecks;

namespace
{
const int RPT = TMeasureData::CONTENTS_SPHERE_RPT;
const int POINT = TMeasureData::CONTENTS_POINT_REPEAT;
const QByteArray RPT_HEAD = "B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat\n"
                            "Probe_Offset:0.5,-1.25,-120\nProbe_Vector:0,0,1\n"
                            "Alignment_Begin:\nX_Axis:1,0,0\nTranslation:10,20,30\nAlignment_End:\n";
const QByteArray POINT_HEAD = "Artifact_Measurement:Version=1:Type=Point_Repeat\n"
                              "Probe_Offset:0,0,-183.217\nProbe_Vector:-1,0,0\n"
                              "Alignment_Begin:\nTranslation:1,2,3\nAlignment_End:\n";

// A complete file around the Measurement section's lines.
QByteArray File(int kind, const QByteArray &measurement)
{
    return (kind == RPT ? RPT_HEAD : POINT_HEAD) + "Measurement_Begin:\n" + measurement +
           "Measurement_End::\n";
}

std::vector<double> Flat(const std::vector<TVector3> &positions)
{
    std::vector<double> values;
    for (const TVector3 &position : positions)
    {
        values.insert(values.end(), {position.x, position.y, position.z});
    }
    return values;
}
} // namespace

class TestRepeat : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data();
    void Load();
    void Range_data();
    void Range();
    void Figures_data();
    void Figures();
    void Accuracy_Of_Huge_Ranges();
    void Large_File();
};

void TestRepeat::Load_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<double>>("positions"); // x, y and z of each
    QTest::addColumn<QStringList>("lines");             // report lines that must be present
    const auto fails = [](const QString &name, const QByteArray &file, const QString &message)
    { QTest::newRow(qPrintable(name)) << RPT << file << message << std::vector<double>() << QStringList(); };
    const auto loads = [](const char *name, int kind, const QByteArray &file,
                          const std::vector<double> &positions, const QStringList &lines)
    { QTest::newRow(name) << kind << file << QString() << positions << lines; };

    const QByteArray rpt = File(RPT, "1,1,1,1\n");
    for (const char *line_start :
         {"Alignment_Begin:", "Probe_Offset:", "Probe_Vector:", "Measurement_Begin:"})
    {
        fails(QStringLiteral("without ") + QLatin1String(line_start), Without(rpt, line_start), DATA_MISSING);
    }
    fails("other kind's identification",
          POINT_HEAD.left(POINT_HEAD.indexOf('\n')) + rpt.mid(rpt.indexOf('\n')), ARTIFACT_IDENTIFICATION);
    fails("x axis of two values", Replaced(rpt, "X_Axis:", "X_Axis:1,0"), X_ALIGNMENT);
    // Probe records are read before the section's lines.
    fails("probe record inside the section is not a centre", File(RPT, "1,1,1,1\nProbe_Offset:1,2,3,4\n"),
          PROBE_OFFSET);

    // The probe values are this kind's own; the report shows them.
    loads("rpt: relative to the first, 3 or 5 values skipped, first value unused", RPT,
          File(RPT, "1,10,20,30\n1,2,3\n1,2,3,4,5\n99,10.5,19,31\n"), {0, 0, 0, 0.5, -1, 1},
          {QStringLiteral("  Offset:       0.5000,      -1.2500,    -120.0000"),
           QStringLiteral("  Vector:  0.000000000,  0.000000000,  1.000000000")});
    loads("rpt: one-colon end does not close, lines after the section ignored", RPT,
          File(RPT, "1,1,1,1\nMeasurement_End:\n2,2,2,2\n") + "3,3,3,3\n", {0, 0, 0, 1, 1, 1}, {});
    loads("rpt: lines while two sections are open ignored, alignment records only in their section", RPT,
          File(RPT,
               "1,1,1,1\nAlignment_Begin:\n2,2,2,2\nX_Axis:5,5,5\nAlignment_End:\n3,3,3,3\nX_Axis:6,6,6\n"),
          {0, 0, 0, 2, 2, 2}, {QStringLiteral("  X Axis:  1.000000000,  0.000000000,  0.000000000")});
    loads("rpt: no centre", RPT, File(RPT, ""), {},
          {QStringLiteral("      0.0000        0.0000        0.0000 mm")});

    loads("point: the first value shares the key's part, 3 or 5 values ignored", POINT,
          File(POINT, "Point:7,100,50,20\nPoint:1,2,3\nPoint:1,2,3,4,5\nPoint:8,100.5,49,21\n"),
          {0, 0, 0, 0.5, -1, 1}, {QStringLiteral("  Vector: -1.000000000,  0.000000000,  0.000000000")});
    loads(
        "point: keys in any letter case, bare lists and underscore key ignored", POINT,
        File(
            POINT,
            "DESCRIPTION: Front left, 8 mm/s \nmove distance:150\nMove_Distance:9\n1,2,3,4\npoint:1,1,1,1\n"),
        {0, 0, 0},
        {QStringLiteral("Description:    Front left, 8 mm/s"), QStringLiteral("Move Distance: 150.000")});
    loads("point: records outside the section ignored", POINT,
          POINT_HEAD + "Description:outside\nMove Distance:5\nPoint:1,1,1,1\nMeasurement_Begin:\n", {},
          {QStringLiteral("Description:   "), QStringLiteral("Move Distance: 0.000")});
}

void TestRepeat::Load()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(std::vector<double>, positions);
    QFETCH(QStringList, lines);

    const std::unique_ptr<TMeasureData> record =
        Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
    QCOMPARE(record->Load_Data(file), message.isEmpty());
    QCOMPARE(record->last_error, message);
    if (!message.isEmpty())
    {
        return;
    }
    Compare_Values(Flat(kind == RPT ? dynamic_cast<const TMeasureRPT &>(*record).Centres()
                                    : dynamic_cast<const TMeasurePointRepeat &>(*record).Points()),
                   positions);
    const QStringList report = record->Text_Report();
    for (const QString &line : lines)
    {
        QVERIFY2(report.contains(line),
                 qPrintable(line + QStringLiteral(" in:\n") + report.join(QLatin1Char('\n'))));
    }
}

void TestRepeat::Range_data()
{
    QTest::addColumn<std::vector<TVector3>>("positions");
    QTest::addColumn<std::vector<double>>("range");

    QTest::newRow("none") << std::vector<TVector3>() << std::vector<double>{0, 0, 0};
    QTest::newRow("one away from zero")
        << std::vector<TVector3>{TVector3(5, -5, 7)} << std::vector<double>{0, 0, 0};
    QTest::newRow("all negative, extremes at different entries")
        << std::vector<TVector3>{TVector3(-3, -1, -2), TVector3(-1, -4, -2), TVector3(-2, -2, -9)}
        << std::vector<double>{2, 3, 7};
}

void TestRepeat::Range()
{
    QFETCH(std::vector<TVector3>, positions);
    QFETCH(std::vector<double>, range);
    Compare_Values(Flat({TMeasureRPT::Range(positions)}), range);
}

void TestRepeat::Figures_data()
{
    QTest::addColumn<QByteArray>("points");
    QTest::addColumn<QString>("repeatability");
    QTest::addColumn<QString>("accuracy");

    // Repeatability is the X range, accuracy the length of the Y and Z ranges.
    QTest::newRow("three points") << QByteArray("Point:1,100,50,20\nPoint:2,100.002,50.001,20\n"
                                                "Point:3,99.999,49.999,20.002\n")
                                  << QStringLiteral("Point Repeatability:  0.0030 mm")
                                  << QStringLiteral("Positioning Accuracy: 0.0028 mm");
    QTest::newRow("three-four-five") << QByteArray("Point:1,0,0,0\nPoint:2,-0.5,0.003,-0.004\n")
                                     << QStringLiteral("Point Repeatability:  0.5000 mm")
                                     << QStringLiteral("Positioning Accuracy: 0.0050 mm");
}

void TestRepeat::Figures()
{
    QFETCH(QByteArray, points);

    TMeasurePointRepeat record;
    QVERIFY(record.Load_Data(File(POINT, points)));
    const QStringList report = record.Text_Report();
    QTEST(report[report.size() - 2], "repeatability");
    QTEST(report.last(), "accuracy");
}

void TestRepeat::Accuracy_Of_Huge_Ranges()
{
    // Squaring such ranges would overflow; their length is finite.
    QCOMPARE(TMeasurePointRepeat::Positioning_Accuracy(TVector3(1, 3e200, 4e200)), 5e200);
}

void TestRepeat::Large_File()
{
    // Title 3, Alignment 8, Probe 6, centre heading 5, Range 3.
    Check_Large_File(
        RPT_HEAD + "Measurement_Begin:\n",
        [](int i) { return QStringLiteral("%1,452.11861,-210.44681,-381.99325\n").arg(i + 1).toLatin1(); },
        "Measurement_End::\n", 25);
}

QTEST_GUILESS_MAIN(TestRepeat)
#include "tst_repeat.moc"
