// The probe tip calibration record: the diameter, which lines become result text, the alignment and
// files of the largest size.

#include "measure_checks.h"
#include "measuredata_probe.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QByteArray ID = "Artifact_Measurement:Version=1:Type=Tip_Calibration\n";
const QByteArray ALIGNMENT =
    "Alignment_Begin:\nX_Axis:1,0,0\nY_Axis:0,1,0\nZ_Axis:0,0,1\nTranslation:10,20,30\n"
    "Alignment_End:\n";
} // namespace

class TestProbe : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data();
    void Load();
    void Large_File();
};

void TestProbe::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<QStringList>("results");

    const QByteArray head = ID + ALIGNMENT;
    QTest::newRow("results after the diameter, empty lines kept")
        << head + "Nominal_Sphere_Diameter:24.9991\nTip T1  3.9962\n\n   Form  0.0007   \n"
        << QString() << 24.9991
        << QStringList{QStringLiteral("Tip T1  3.9962"), QString(), QStringLiteral("Form  0.0007")};
    QTest::newRow("lines before the diameter dropped")
        << ID + "early result\n" + ALIGNMENT + "also early\nNominal_Sphere_Diameter: 25\nlate\n"
        << QString() << 25.0 << QStringList{QStringLiteral("late")};
    QTest::newRow("records of other kinds are result text")
        << head + "nominal_sphere_diameter:25\nProbe_Offset:1,2\nPoint_Data_Begin:\nX_Axis:1,2\n"
        << QString() << 25.0
        << QStringList{QStringLiteral("Probe_Offset:1,2"), QStringLiteral("Point_Data_Begin:"),
                       QStringLiteral("X_Axis:1,2")};
    QTest::newRow("second diameter overwrites and is no result")
        << head + "Nominal_Sphere_Diameter:25\nfirst\nNOMINAL_SPHERE_DIAMETER:19.05\nsecond\n"
        << QString() << 19.05 << QStringList{QStringLiteral("first"), QStringLiteral("second")};
    QTest::newRow("diameter inside the alignment section")
        << ID + "Alignment_Begin:\nNominal_Sphere_Diameter:12.7\nnot an alignment "
                "record\nAlignment_End:\nresult\n"
        << QString() << 12.7 << QStringList{QStringLiteral("result")};
    QTest::newRow("alignment lines between results are no results")
        << ID + "Nominal_Sphere_Diameter:25\nbefore\n" + ALIGNMENT + "after\n"
        << QString() << 25.0 << QStringList{QStringLiteral("before"), QStringLiteral("after")};
    QTest::newRow("comment lines never reach the results")
        << head + "Nominal_Sphere_Diameter:25\n# note\n  # indented note\nkept # not a comment\n"
        << QString() << 25.0 << QStringList{QStringLiteral("kept # not a comment")};
    // Empty lines are kept, so one before the identification line stands in its place.
    QTest::newRow("empty line before identification") << "\n" + head + "Nominal_Sphere_Diameter:25\n"
                                                      << ARTIFACT_IDENTIFICATION << 0.0 << QStringList();
    QTest::newRow("no diameter") << head + "results\n" << DATA_MISSING << 0.0 << QStringList();
    QTest::newRow("alignment marker with a word after it is result text")
        << ID + "Nominal_Sphere_Diameter:25\nAlignment_Begin: now\n"
        << DATA_MISSING << 25.0 << QStringList{QStringLiteral("Alignment_Begin: now")};
    QTest::newRow("malformed Y axis")
        << ID + "Nominal_Sphere_Diameter:25\nAlignment_Begin:\nY_Axis:0 1 0\nAlignment_End:\n"
        << Y_ALIGNMENT << 25.0 << QStringList();
}

void TestProbe::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    TMeasureProbe record;
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    QTEST(record.Nominal_Sphere_Diameter(), "diameter");
    QTEST(record.Results(), "results");
}

void TestProbe::Large_File()
{
    // Every line after the diameter is a result line of the report, which has 18 lines before them.
    Check_Large_File(
        ID + ALIGNMENT + "Nominal_Sphere_Diameter:25\n",
        [](int i) { return "T1A90B" + QByteArray::number(i) + "   3.9962   0.0007\n"; }, QByteArray(), 18);
}

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe.moc"
