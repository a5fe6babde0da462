#include "measure_checks.h"
#include "measuredata_probe.h"

#include <QtTest>

namespace
{
const char ID[] = "Artifact_Measurement:Version=1:Type=Tip_Calibration\n";
const char ALIGNMENT[] = "Alignment_Begin:\n"
                         "X_Axis:1,0,0\n"
                         "Y_Axis:0,1,0\n"
                         "Z_Axis:0,0,1\n"
                         "Translation:10,20,30\n"
                         "Alignment_End:\n";
const char ID_MESSAGE[] = "Artifact identification line not recognized";
const char MISSING_MESSAGE[] = "Data missing from measurement file.";
} // namespace

class TestProbe : public QObject
{
    Q_OBJECT

  private slots:
    void loading_data();
    void loading();
    void example_report();
    void damaged_files();
    void largest_file();
};

void TestProbe::loading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<QStringList>("results");

    const QByteArray head = QByteArray(ID) + ALIGNMENT;
    QTest::newRow("results after the diameter, empty lines kept")
        << head + "Nominal_Sphere_Diameter:24.9991\nTip T1  3.9962\n\n   Form  0.0007   \nend\n"
        << QString() << 24.9991
        << QStringList{QStringLiteral("Tip T1  3.9962"), QString(), QStringLiteral("Form  0.0007"),
                       QStringLiteral("end")};
    QTest::newRow("lines before the diameter dropped")
        << QByteArray(ID) + "early result\n" + ALIGNMENT + "also early\nNominal_Sphere_Diameter: 25\nlate\n"
        << QString() << 25.0 << QStringList{QStringLiteral("late")};
    QTest::newRow("records of other kinds are result text")
        << head + "nominal_sphere_diameter:25\nProbe_Offset:1,2\nPoint_Data_Begin:\nX_Axis:1,2\n"
        << QString() << 25.0
        << QStringList{QStringLiteral("Probe_Offset:1,2"), QStringLiteral("Point_Data_Begin:"),
                       QStringLiteral("X_Axis:1,2")};
    QTest::newRow("second diameter overwrites and is not a result")
        << head + "Nominal_Sphere_Diameter:25\nfirst\nNOMINAL_SPHERE_DIAMETER:19.05\nsecond\n"
        << QString() << 19.05 << QStringList{QStringLiteral("first"), QStringLiteral("second")};
    QTest::newRow("diameter inside the alignment section")
        << QByteArray(ID) + "Alignment_Begin:\nNominal_Sphere_Diameter:12.7\nnot an alignment "
                            "record\nAlignment_End:\nresult\n"
        << QString() << 12.7 << QStringList{QStringLiteral("result")};
    QTest::newRow("alignment lines between results are not results")
        << QByteArray(ID) + "Nominal_Sphere_Diameter:25\nbefore\n" + ALIGNMENT + "after\n"
        << QString() << 25.0 << QStringList{QStringLiteral("before"), QStringLiteral("after")};
    QTest::newRow("comment lines never reach the results")
        << head + "Nominal_Sphere_Diameter:25\n# note\n  # indented note\nkept # not a comment\n"
        << QString() << 25.0 << QStringList{QStringLiteral("kept # not a comment")};
    QTest::newRow("no result lines") << head + "Nominal_Sphere_Diameter:25" << QString() << 25.0
                                     << QStringList();
    QTest::newRow("comment before identification")
        << QByteArray("# tips\n") + head + "Nominal_Sphere_Diameter:25\n"
        << QString() << 25.0 << QStringList();
    QTest::newRow("empty line before identification")
        << QByteArray("\n") + head + "Nominal_Sphere_Diameter:25\n"
        << QString::fromLatin1(ID_MESSAGE) << 0.0 << QStringList();
    QTest::newRow("other kind's identification")
        << QByteArray("Artifact_Measurement:Version=1:Type=Pin_Gauge\n") + ALIGNMENT +
               "Nominal_Sphere_Diameter:25\n"
        << QString::fromLatin1(ID_MESSAGE) << 0.0 << QStringList();
    QTest::newRow("no diameter") << head + "results\n"
                                 << QString::fromLatin1(MISSING_MESSAGE) << 0.0 << QStringList();
    QTest::newRow("no alignment section")
        << QByteArray(ID) + "Nominal_Sphere_Diameter:25\nX_Axis:1,0,0\n"
        << QString::fromLatin1(MISSING_MESSAGE) << 25.0 << QStringList{QStringLiteral("X_Axis:1,0,0")};
    QTest::newRow("alignment marker with a word after it is result text")
        << QByteArray(ID) + "Nominal_Sphere_Diameter:25\nAlignment_Begin: now\n"
        << QString::fromLatin1(MISSING_MESSAGE) << 25.0
        << QStringList{QStringLiteral("Alignment_Begin: now")};
    QTest::newRow("malformed Y axis")
        << QByteArray(ID) + "Nominal_Sphere_Diameter:25\nAlignment_Begin:\nY_Axis:0 1 0\nAlignment_End:\n"
        << QStringLiteral("Y Alignment data not recognized.") << 25.0 << QStringList();
    QTest::newRow("malformed translation")
        << QByteArray(ID) + "Alignment_Begin:\nTranslation:1,2,3,4\n"
        << QStringLiteral("Alignment translation data not recognized.") << 0.0 << QStringList();
}

void TestProbe::loading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(double, diameter);
    QFETCH(QStringList, results);

    TMeasureProbe record;
    QCOMPARE(record.file_contents, int(TMeasureData::CONTENTS_PROBE));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    QCOMPARE(record.Nominal_Sphere_Diameter(), diameter);
    QCOMPARE(record.Results(), results);
    QVERIFY(record.Graph_Data().empty());
}

void TestProbe::example_report()
{
    MeasureChecks::Check_Golden_Report(QStringLiteral("examples/probe_tip_calibration.dat"),
                                       QStringLiteral("tests/data/golden/probe_tip_calibration.txt"),
                                       TMeasureData::CONTENTS_PROBE);
}

void TestProbe::damaged_files()
{
    MeasureChecks::Check_Damaged_Input(
        MeasureChecks::Read_Bytes(QStringLiteral("examples/probe_tip_calibration.dat")),
        {QString::fromLatin1(ID_MESSAGE), QString::fromLatin1(MISSING_MESSAGE),
         QStringLiteral("X Alignment data not recognized."),
         QStringLiteral("Y Alignment data not recognized."),
         QStringLiteral("Z Alignment data not recognized."),
         QStringLiteral("Alignment translation data not recognized.")});
}

void TestProbe::largest_file()
{
    // Every line after the diameter is a result line of the report, which has 18 lines before them.
    MeasureChecks::Check_Large_File(
        QByteArray(ID) + ALIGNMENT + "Nominal_Sphere_Diameter:25\n",
        [](int i) { return QByteArray("T1A90B") + QByteArray::number(i) + "   3.9962   0.0007\n"; },
        QByteArray(), 18);
}

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe.moc"
