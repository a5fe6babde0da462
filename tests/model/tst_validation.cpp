// The best-fit validation records (plane, line, circle, sphere): one reader set up per kind, its entry
// lines and their part counts.

#include "measure_checks.h"
#include "measuredata_validation.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const int PLANE = TMeasureData::CONTENTS_VALIDATION_PLANE;
const int LINE = TMeasureData::CONTENTS_VALIDATION_LINE;
const int CIRCLE = TMeasureData::CONTENTS_VALIDATION_CIRCLE;
const int SPHERE = TMeasureData::CONTENTS_VALIDATION_SPHERE;
const QByteArray PLANE_ID = "Best_Fit_Validation:Version=1:Type=Plane\n";
const QByteArray LINE_ID = "Best_Fit_Validation:Version=1:Type=Line\n";
const QByteArray CIRCLE_ID = "Best_Fit_Validation:Version=1:Type=Circle\n";
const QByteArray SPHERE_ID = "Best_Fit_Validation:Version=1:Type=Sphere\n";
const QString PLANE_ENTRY = QStringLiteral("Plane entry format not recognized.");
// x, y, z, i, j, k, diameter and form of the plane entry "1 2 3 0 0 1 0.0025".
const TValues PLANE_123 = {1, 2, 3, 0, 0, 1, 0, 0.0025};
} // namespace

class TTestValidation : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // The values: eight of each result, also those kept on a failure.
    void Load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const auto row = [](const char *name, int kind, const QByteArray &file, const QString &message,
                            const TValues &results) {
            QTest::newRow(name) << TLoadRow{kind, file, message, results};
        };

        row("plane", PLANE, PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025\n", QString(), PLANE_123);
        row("runs of blanks and tabs", PLANE, PLANE_ID + "  Plane \t1   8\t\t1  2 3   0 0 1\t0.0025   \n",
            QString(), PLANE_123);
        row("keyword in capitals", PLANE, PLANE_ID + "PLANE 1 8 1 2 3 0 0 1 0.0025\n", QString(), PLANE_123);
        row("point data, comments and empty lines", PLANE,
            "# written by the fit checker\n" + PLANE_ID + "\n  # Plane 9 9 9 9 9 9 9 9 9 9\n" +
                "Plane 1 3 1 2 3 0 0 1 0.0025\nPoint 1 0.5 1.5 3.0001\n  Pt 3 1 2 3 4 5\n\n",
            QString(), PLANE_123);
        row("line", LINE, LINE_ID + "Line 1 6 -100 0.5 7 0.6 0 -0.8 0.0015\nline 2 6 1 1 1 0 1 0 0.001\n",
            QString(), {-100, 0.5, 7, 0.6, 0, -0.8, 0, 0.0015, 1, 1, 1, 0, 1, 0, 0, 0.001});
        row("circle", CIRCLE, CIRCLE_ID + "Circle 1 12 10 20 30 0 0 1 25.0004 0.0012\n", QString(),
            {10, 20, 30, 0, 0, 1, 25.0004, 0.0012});
        row("other keywords in a circle file", CIRCLE,
            CIRCLE_ID + "Sphere 1 9 1 2 3 4 5\nPlane 1 8 1 2 3 0 0 1 0.0025\n", QString(), {});
        row("sphere", SPHERE, SPHERE_ID + "Sphere 1 9 -5.5 0 12.25 19.9996 0.0004\n", QString(),
            {-5.5, 0, 12.25, 0, 0, 0, 19.9996, 0.0004});

        // Empty lines are kept, so one before the identification line stands in its place.
        row("empty line first", PLANE, "\n" + PLANE_ID,
            QStringLiteral("Validation identification line not recognized"), {});
        row("plane with 8 values", PLANE, PLANE_ID + "Plane 1 2 3 0 0 1 0.0025 7\n", PLANE_ENTRY, {});
        row("plane with 10 values", PLANE, PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025 7\n", PLANE_ENTRY, {});
        row("plane keyword alone", PLANE, PLANE_ID + "Plane\n", PLANE_ENTRY, {});
        row("entries before the bad one stay", PLANE,
            PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025\nPlane 2 8 1 2 3\nPlane 3 8 1 2 3 0 0 1 0.0025\n",
            PLANE_ENTRY, PLANE_123);
        row("line with circle values", LINE, LINE_ID + "Line 1 6 1 2 3 0 0 1 25 0.001\n",
            QStringLiteral("Line entry format not recognized."), {});
        row("circle without diameter", CIRCLE, CIRCLE_ID + "Circle 1 12 10 20 30 0 0 1 0.0012\n",
            QStringLiteral("Circle entry format not recognized."), {});
        row("sphere with a direction", SPHERE, SPHERE_ID + "Sphere 1 9 1 2 3 0 0 1 20 0.001\n",
            QStringLiteral("Sphere entry format not recognized."), {});
    }

    void Load()
    {
        QFETCH(TLoadRow, row);
        const std::unique_ptr<TMeasureData> record = Loaded(row.kind, row.file);
        QCOMPARE(record->last_error, row.message);
        TValues values;
        for (const TValidationCommon::TResultData &result :
             dynamic_cast<const TValidationCommon &>(*record).Results())
            values.insert(values.end(), {result.xyz.x, result.xyz.y, result.xyz.z, result.ijk.x, result.ijk.y,
                                         result.ijk.z, result.diameter, result.form});
        Compare_Values(values, row.values);
    }
};

QTEST_GUILESS_MAIN(TTestValidation)
#include "tst_validation.moc"
