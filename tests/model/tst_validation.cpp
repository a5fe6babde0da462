// The best-fit validation records (plane, line, circle, sphere) with their entry lines and part counts,
// the probe tip calibration record with its diameter and the lines that become result text, and the
// message each kind gives for one malformed record.

#include "model/kinds/measuredata_probe.h"
#include "model/kinds/measuredata_validation.h"
#include "tests/common/measure_checks.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const int PLANE = TMeasureData::CONTENTS_VALIDATION_PLANE;
const QString PLANE_ENTRY = QStringLiteral("Plane entry format not recognized.");
// x, y, z, i, j, k, diameter and form of the plane entry "1 2 3 0 0 1 0.0025".
const TValues PLANE_123 = {1, 2, 3, 0, 0, 1, 0, 0.0025};
const std::vector<TValidationCommon::TResultData> NO_RESULTS;

const QByteArray TIP_ID = "Artifact_Measurement:Version=1:Type=Tip_Calibration\n";
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

class TTestValidation : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // The values: eight of each result, also those kept on a failure.
    void Load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &text, const QString &message,
                            const TValues &results)
        {
            const QByteArray id =
                TMeasureData::Identification_Text(TMeasureData::TFileContents(kind)).toLatin1();
            QTest::newRow(name) << TLoadRow{kind, id + '\n' + text, message, results};
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

    void Load()
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
        QTest::addColumn<TProbeRow>("row");
        const auto row = [](const char *name, const QByteArray &file, const QString &message, double diameter,
                            const QStringList &results) {
            QTest::newRow(name) << TProbeRow{{TMeasureData::CONTENTS_PROBE, file, message, {diameter}},
                                             results};
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
        QFETCH(TProbeRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.load.kind, row.load.file);
        QCOMPARE(record->last_error, row.load.message);
        const auto &probe = dynamic_cast<const TMeasureProbe &>(*record);
        Compare_Values({probe.Nominal_Sphere_Diameter()}, row.load.values);
        QCOMPARE(probe.Results(), row.results);
    }
};

QTEST_GUILESS_MAIN(TTestValidation)
#include "tst_validation.moc"
