// Sphere repeatability records: loading, failures, report and robustness.

#include "measure_checks.h"
#include "measuredata_rpt.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<TVector3>)

namespace
{
const char IDENTIFICATION[] = "B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat\n";
const char PROBE[] = "Probe_Offset:0.5,-1.25,-120\nProbe_Vector:0,0,1\n";
const char ALIGNMENT[] = "Alignment_Begin:\nX_Axis:1,0,0\nY_Axis:0,1,0\nZ_Axis:0,0,1\nTranslation:10,20,30\n"
                         "Alignment_End:\n";

// A complete file around the given Measurement section lines.
QByteArray Rpt_File(const QByteArray &measurement_lines)
{
    return QByteArray(IDENTIFICATION) + PROBE + ALIGNMENT + "Measurement_Begin:\n" + measurement_lines +
           "Measurement_End::\n";
}

const QString HEADER = QStringLiteral("        X             Y             Z");
} // namespace

class TTestRpt : public QObject
{
    Q_OBJECT

  private slots:
    void Load_Data_data();
    void Load_Data();
    void Failures_data();
    void Failures();
    void Probe_Values_Are_Own();
    void Report_Of_Centres();
    void Report_Without_Centres();
    void Range_data();
    void Range();
    void Golden_Report();
    void Damaged_Input();
    void Large_File();
};

void TTestRpt::Load_Data_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<std::vector<TVector3>>("centres");

    QTest::newRow("relative to the first centre")
        << Rpt_File("1,10,20,30\n2,10.5,19,31\n")
        << std::vector<TVector3>{TVector3(0, 0, 0), TVector3(0.5, -1, 1)};
    QTest::newRow("three or five values skipped, first value unused")
        << Rpt_File("1,2,3\n1,2,3,4,5\n99,1,2,3\n-7,2,2,2\n")
        << std::vector<TVector3>{TVector3(0, 0, 0), TVector3(1, 0, -1)};
    QTest::newRow("empty part and words read as zero")
        << Rpt_File("1,5,5,5\n1,,abc,nan\n2,1e999,-inf,7\n")
        << std::vector<TVector3>{TVector3(0, 0, 0), TVector3(-5, -5, -5), TVector3(-5, -5, 2)};
    QTest::newRow("one-colon end marker does not close")
        << Rpt_File("1,1,1,1\nMeasurement_End:\n2,2,2,2\n")
        << std::vector<TVector3>{TVector3(0, 0, 0), TVector3(1, 1, 1)};
    QTest::newRow("lines after the section are not centres") << Rpt_File("1,1,1,1\n") + "2,2,2,2\n"
                                                             << std::vector<TVector3>{TVector3(0, 0, 0)};
    QTest::newRow("no centre line") << Rpt_File("") << std::vector<TVector3>();
    QTest::newRow("lines while both sections are open are ignored")
        << Rpt_File("1,1,1,1\nAlignment_Begin:\n2,2,2,2\nX_Axis:5,5,5\nAlignment_End:\n3,3,3,3\n")
        << std::vector<TVector3>{TVector3(0, 0, 0), TVector3(2, 2, 2)};
    QTest::newRow("markers in any letter case, comments, blanks, CR LF")
        << QByteArray(
               "# header comment\n\n   B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat extra\r\n"
               "PROBE_OFFSET:0,0,0\r\nprobe_vector:0,0,1\r\nALIGNMENT_BEGIN:\r\nalignment_end:\r\n"
               "  measurement_begin:  \r\n# 9,9,9,9\r\n  1 , 4 , 5 , 6 \r\n\r\nMEASUREMENT_END::\r\n")
        << std::vector<TVector3>{TVector3(0, 0, 0)};
}

void TTestRpt::Load_Data()
{
    QFETCH(QByteArray, file);
    QFETCH(std::vector<TVector3>, centres);

    TMeasureRPT record;
    QVERIFY2(record.Load_Data(file), qPrintable(record.last_error));
    QVERIFY(record.last_error.isEmpty());
    QCOMPARE(record.Centres().size(), centres.size());
    for (size_t i = 0; i < centres.size(); ++i)
    {
        QCOMPARE(record.Centres()[i].x, centres[i].x);
        QCOMPARE(record.Centres()[i].y, centres[i].y);
        QCOMPARE(record.Centres()[i].z, centres[i].z);
    }
    QVERIFY(record.Graph_Data().empty());
}

void TTestRpt::Failures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    const QString identification = QStringLiteral("Artifact identification line not recognized");
    const QString missing = QStringLiteral("Data missing from measurement file.");
    const QByteArray measurement = "Measurement_Begin:\n1,1,1,1\nMeasurement_End::\n";

    QTest::newRow("empty data") << QByteArray() << identification;
    QTest::newRow("other kind") << QByteArray("Artifact_Measurement:Version=1:Type=Point_Repeat\n") + PROBE +
                                       ALIGNMENT + measurement
                                << identification;
    QTest::newRow("identification in lower case")
        << QByteArray("b89.4.10360_raw_measurement:version=2:type=sphere_repeat\n") + PROBE + ALIGNMENT +
               measurement
        << identification;
    QTest::newRow("no alignment") << QByteArray(IDENTIFICATION) + PROBE + measurement << missing;
    QTest::newRow("alignment marker with a word")
        << QByteArray(IDENTIFICATION) + PROBE + "Alignment_Begin: now\nAlignment_End:\n" + measurement
        << missing;
    QTest::newRow("no probe offset") << QByteArray(IDENTIFICATION) + "Probe_Vector:0,0,1\n" + ALIGNMENT +
                                            measurement
                                     << missing;
    QTest::newRow("no probe vector") << QByteArray(IDENTIFICATION) + "Probe_Offset:0,0,1\n" + ALIGNMENT +
                                            measurement
                                     << missing;
    QTest::newRow("no measurement") << QByteArray(IDENTIFICATION) + PROBE + ALIGNMENT << missing;
    QTest::newRow("probe offset with blanks")
        << QByteArray(IDENTIFICATION) + "Probe_Offset:1.5 -2 3\n" + PROBE + ALIGNMENT + measurement
        << QStringLiteral("Probe offset data not recognized.");
    QTest::newRow("probe record inside the section is not a centre")
        << Rpt_File("1,1,1,1\nProbe_Offset:1,2,3,4\n") << QStringLiteral("Probe offset data not recognized.");
    QTest::newRow("probe vector with four values")
        << QByteArray(IDENTIFICATION) + PROBE + "Probe_Vector:0,0,1,0\n" + ALIGNMENT + measurement
        << QStringLiteral("Probe vector data not recognized.");
    QTest::newRow("x axis with two values")
        << QByteArray(IDENTIFICATION) + PROBE + "Alignment_Begin:\nX_Axis:1,0\n" + measurement
        << QStringLiteral("X Alignment data not recognized.");
    QTest::newRow("translation without values")
        << QByteArray(IDENTIFICATION) + PROBE + "Alignment_Begin:\nTranslation:\n" + measurement
        << QStringLiteral("Alignment translation data not recognized.");
}

void TTestRpt::Failures()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    TMeasureRPT record;
    QVERIFY(!record.Load_Data(file));
    QCOMPARE(record.last_error, message);
}

void TTestRpt::Probe_Values_Are_Own()
{
    TMeasureRPT record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_SPHERE_RPT));
    QVERIFY(record.Load_Data(Rpt_File("1,1,1,1\n")));
    QCOMPARE(record.Probe_Offset().y, -1.25);
    QCOMPARE(record.Probe_Vector().z, 1.0);
    QCOMPARE(record.probe_offset.y, 0.0);
    QCOMPARE(record.probe_vector.z, 0.0);
}

void TTestRpt::Report_Of_Centres()
{
    TMeasureRPT record;
    QVERIFY(record.Load_Data(Rpt_File("1,10,20,30\n2,10.001,19.999,30.002\n3,9.999,20.001,30\n")));
    const QStringList expected = {
        QStringLiteral("ASME B89.4.10360 Rpt"),
        QString(64, QLatin1Char('=')),
        QString(),
        QStringLiteral("Alignment"),
        QString(44, QLatin1Char('-')),
        QString(),
        QStringLiteral("  X Axis:  1.000000000,  0.000000000,  0.000000000"),
        QStringLiteral("  Y Axis:  0.000000000,  1.000000000,  0.000000000"),
        QStringLiteral("  Z Axis:  0.000000000,  0.000000000,  1.000000000"),
        QStringLiteral("  Origin:      10.0000,      20.0000,      30.0000"),
        QString(),
        QStringLiteral("Probe"),
        QString(44, QLatin1Char('-')),
        QString(),
        QStringLiteral("  Offset:       0.5000,      -1.2500,    -120.0000"),
        QStringLiteral("  Vector:  0.000000000,  0.000000000,  1.000000000"),
        QString(),
        QStringLiteral("Sphere Center"),
        QString(44, QLatin1Char('-')),
        QString(),
        HEADER,
        QString(),
        QStringLiteral("      0.0000        0.0000        0.0000"),
        QStringLiteral("      0.0010       -0.0010        0.0020"),
        QStringLiteral("     -0.0010        0.0010        0.0000"),
        QString(),
        QStringLiteral("Range:"),
        QStringLiteral("      0.0020        0.0020        0.0020 mm"),
    };
    MeasureChecks::Compare_Lines(record.Text_Report(), expected);
}

void TTestRpt::Report_Without_Centres()
{
    TMeasureRPT record;
    QVERIFY(record.Load_Data(Rpt_File("")));
    const QStringList report = record.Text_Report();
    const QStringList tail = {HEADER, QString(), QString(), QStringLiteral("Range:"),
                              QStringLiteral("      0.0000        0.0000        0.0000 mm")};
    QCOMPARE(report.mid(report.size() - tail.size()), tail);
}

void TTestRpt::Range_data()
{
    QTest::addColumn<std::vector<TVector3>>("positions");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("z");

    QTest::newRow("none") << std::vector<TVector3>() << 0.0 << 0.0 << 0.0;
    QTest::newRow("one away from zero") << std::vector<TVector3>{TVector3(5, -5, 7)} << 0.0 << 0.0 << 0.0;
    QTest::newRow("all negative, extremes at different entries")
        << std::vector<TVector3>{TVector3(-3, -1, -2), TVector3(-1, -4, -2), TVector3(-2, -2, -9)} << 2.0
        << 3.0 << 7.0;
}

void TTestRpt::Range()
{
    QFETCH(std::vector<TVector3>, positions);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, z);

    const TVector3 range = TMeasureRPT::Range(positions);
    QCOMPARE(range.x, x);
    QCOMPARE(range.y, y);
    QCOMPARE(range.z, z);
}

void TTestRpt::Golden_Report()
{
    MeasureChecks::Check_Golden_Report(QStringLiteral("examples/sphere_rpt_table_centre.dat"),
                                       QStringLiteral("tests/data/golden/sphere_rpt_table_centre.txt"),
                                       TMeasureData::CONTENTS_SPHERE_RPT);
}

void TTestRpt::Damaged_Input()
{
    const QByteArray example =
        MeasureChecks::Read_Bytes(QStringLiteral("examples/sphere_rpt_table_centre.dat"));
    QVERIFY(!example.isEmpty());
    MeasureChecks::Check_Damaged_Input(example,
                                       {QStringLiteral("Artifact identification line not recognized"),
                                        QStringLiteral("Data missing from measurement file."),
                                        QStringLiteral("Probe offset data not recognized."),
                                        QStringLiteral("Probe vector data not recognized."),
                                        QStringLiteral("X Alignment data not recognized."),
                                        QStringLiteral("Y Alignment data not recognized."),
                                        QStringLiteral("Z Alignment data not recognized."),
                                        QStringLiteral("Alignment translation data not recognized.")});
}

void TTestRpt::Large_File()
{
    // Title 3, Alignment 8, Probe 6, centre heading 5, Range 3.
    MeasureChecks::Check_Large_File(
        QByteArray(IDENTIFICATION) + PROBE + ALIGNMENT + "Measurement_Begin:\n",
        [](int i) { return QStringLiteral("%1,452.11861,-210.44681,-381.99325\n").arg(i + 1).toLatin1(); },
        "Measurement_End::\n", 25);
}

QTEST_GUILESS_MAIN(TTestRpt)
#include "tst_rpt.moc"
