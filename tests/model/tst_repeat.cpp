// The sphere repeatability (RPT) and point repeatability records: the reader they share, the lines
// each reads as positions, positions relative to the first, ranges and the point repeat's figures.

#include "measure_checks.h"
#include "measuredata_pointrepeat.h"
#include "measuredata_rpt.h"

#include <QtTest>

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

TValues Flat(const std::vector<TVector3> &positions)
{
    TValues values;
    for (const TVector3 &position : positions)
        values.insert(values.end(), {position.x, position.y, position.z});
    return values;
}

// A load row with report lines that must be present.
struct TRepeatRow
{
    TLoadRow load;
    QStringList lines;
};
} // namespace

Q_DECLARE_METATYPE(TRepeatRow)

class TTestRepeat : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data()
    {
        QTest::addColumn<TRepeatRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &file, const QString &message,
                            const TValues &positions, const QStringList &lines = {}) {
            QTest::newRow(name) << TRepeatRow{{kind, file, message, positions}, lines};
        };

        // The probe values are this kind's own; the report shows them.
        row("rpt: relative to the first, 3 or 5 values skipped, first value unused", RPT,
            File(RPT, "1,10,20,30\n1,2,3\n1,2,3,4,5\n99,10.5,19,31\n"), QString(), {0, 0, 0, 0.5, -1, 1});
        row("rpt: one-colon end does not close, lines after the section ignored", RPT,
            File(RPT, "1,1,1,1\nMeasurement_End:\n2,2,2,2\n") + "3,3,3,3\n", QString(), {0, 0, 0, 1, 1, 1});
        row("rpt: lines while two sections are open ignored, alignment records only in their section", RPT,
            File(RPT,
                 "1,1,1,1\nAlignment_Begin:\n2,2,2,2\nX_Axis:5,5,5\nAlignment_End:\n3,3,3,3\nX_Axis:6,6,6\n"),
            QString(), {0, 0, 0, 2, 2, 2}, {"  X Axis:  1.000000000,  0.000000000,  0.000000000"});
        row("rpt: no centre", RPT, File(RPT, ""), QString(), {},
            {"      0.0000        0.0000        0.0000 mm"});

        row("point: the first value shares the key's part, 3 or 5 values ignored", POINT,
            File(POINT, "Point:7,100,50,20\nPoint:1,2,3\nPoint:1,2,3,4,5\nPoint:8,100.5,49,21\n"), QString(),
            {0, 0, 0, 0.5, -1, 1});
        row("point: keys in any letter case, bare lists and underscore key ignored", POINT,
            File(POINT, "DESCRIPTION: Front left, 8 mm/s \nmove "
                        "distance:150\nMove_Distance:9\n1,2,3,4\npoint:1,1,1,1\n"),
            QString(), {0, 0, 0}, {"Description:    Front left, 8 mm/s", "Move Distance: 150.000"});
        row("point: records outside the section ignored", POINT,
            POINT_HEAD + "Description:outside\nMove Distance:5\nPoint:1,1,1,1\nMeasurement_Begin:\n",
            QString(), {}, {"Description:   ", "Move Distance: 0.000"});
    }

    void Load()
    {
        QFETCH(TRepeatRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.load.kind, row.load.file);
        QCOMPARE(record->last_error, row.load.message);
        if (!row.load.message.isEmpty())
            return;
        Compare_Values(Flat(row.load.kind == RPT
                                ? dynamic_cast<const TMeasureRPT &>(*record).Centres()
                                : dynamic_cast<const TMeasurePointRepeat &>(*record).Points()),
                       row.load.values);
        const QStringList report = record->Text_Report();
        for (const QString &line : row.lines)
            QVERIFY2(report.contains(line),
                     qPrintable(line + QStringLiteral(" in:\n") + report.join(QLatin1Char('\n'))));
    }

    void Range()
    {
        Compare_Values(Flat({TMeasureRPT::Range({})}), {0, 0, 0});
        Compare_Values(Flat({TMeasureRPT::Range({TVector3(5, -5, 7)})}), {0, 0, 0});
        // All negative, extremes at different entries.
        Compare_Values(
            Flat({TMeasureRPT::Range({TVector3(-3, -1, -2), TVector3(-1, -4, -2), TVector3(-2, -2, -9)})}),
            {2, 3, 7});
    }

    void Figures()
    {
        // Repeatability is the X range, accuracy the length of the Y and Z ranges.
        const struct
        {
            const char *points, *repeatability, *accuracy;
        } rows[] = {
            {"Point:1,100,50,20\nPoint:2,100.002,50.001,20\nPoint:3,99.999,49.999,20.002\n",
             "Point Repeatability:  0.0030 mm", "Positioning Accuracy: 0.0028 mm"},
            {"Point:1,0,0,0\nPoint:2,-0.5,0.003,-0.004\n", "Point Repeatability:  0.5000 mm",
             "Positioning Accuracy: 0.0050 mm"},
        };
        for (const auto &row : rows)
        {
            TMeasurePointRepeat record;
            QVERIFY(record.Load_Data(File(POINT, row.points)));
            const QStringList report = record.Text_Report();
            QCOMPARE(report.mid(report.size() - 2), QStringList({row.repeatability, row.accuracy}));
        }
        // Squaring such ranges would overflow; their length is finite.
        QCOMPARE(TMeasurePointRepeat::Positioning_Accuracy(TVector3(1, 3e200, 4e200)), 5e200);
    }
};

QTEST_GUILESS_MAIN(TTestRepeat)
#include "tst_repeat.moc"
