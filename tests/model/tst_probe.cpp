// The probe tip calibration record: the diameter, which lines become result text, and the alignment.

#include "measure_checks.h"
#include "measuredata_probe.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QByteArray ID = "Artifact_Measurement:Version=1:Type=Tip_Calibration\n";
const QByteArray ALIGNMENT =
    "Alignment_Begin:\nX_Axis:1,0,0\nY_Axis:0,1,0\nZ_Axis:0,0,1\nTranslation:10,20,30\nAlignment_End:\n";

// A load row (the value: the diameter) with the result lines.
struct TProbeRow
{
    TLoadRow load;
    QStringList results;
};
} // namespace

Q_DECLARE_METATYPE(TProbeRow)

class TTestProbe : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data()
    {
        QTest::addColumn<TProbeRow>("row");
        const auto row = [](const char *name, const QByteArray &file, const QString &message, double diameter,
                            const QStringList &results) {
            QTest::newRow(name) << TProbeRow{{TMeasureData::CONTENTS_PROBE, file, message, {diameter}},
                                             results};
        };
        const QByteArray head = ID + ALIGNMENT;
        row("results after the diameter, empty lines kept",
            head + "Nominal_Sphere_Diameter:24.9991\nTip T1  3.9962\n\n   Form  0.0007   \n", QString(),
            24.9991, {"Tip T1  3.9962", "", "Form  0.0007"});
        row("lines before the diameter dropped",
            ID + "early result\n" + ALIGNMENT + "also early\nNominal_Sphere_Diameter: 25\nlate\n", QString(),
            25, {"late"});
        row("records of other kinds are result text",
            head + "nominal_sphere_diameter:25\nProbe_Offset:1,2\nPoint_Data_Begin:\nX_Axis:1,2\n", QString(),
            25, {"Probe_Offset:1,2", "Point_Data_Begin:", "X_Axis:1,2"});
        row("second diameter overwrites and is no result",
            head + "Nominal_Sphere_Diameter:25\nfirst\nNOMINAL_SPHERE_DIAMETER:19.05\nsecond\n", QString(),
            19.05, {"first", "second"});
        row("diameter inside the alignment section",
            ID + "Alignment_Begin:\nNominal_Sphere_Diameter:12.7\nnot an alignment "
                 "record\nAlignment_End:\nresult\n",
            QString(), 12.7, {"result"});
        row("alignment lines between results are no results",
            ID + "Nominal_Sphere_Diameter:25\nbefore\n" + ALIGNMENT + "after\n", QString(), 25,
            {"before", "after"});
        row("comment lines never reach the results",
            head + "Nominal_Sphere_Diameter:25\n# note\n  # indented note\nkept # not a comment\n", QString(),
            25, {"kept # not a comment"});
        row("alignment marker with a word after it is result text",
            ID + "Nominal_Sphere_Diameter:25\nAlignment_Begin: now\n", DATA_MISSING, 25,
            {"Alignment_Begin: now"});
    }

    void Load()
    {
        QFETCH(TProbeRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.load.kind, row.load.file);
        QCOMPARE(record->last_error, row.load.message);
        const auto &probe = dynamic_cast<const TMeasureProbe &>(*record);
        Compare_Values({probe.Nominal_Sphere_Diameter()}, row.load.values);
        QCOMPARE(probe.Results(), row.results);
    }
};

QTEST_GUILESS_MAIN(TTestProbe)
#include "tst_probe.moc"
