#include "measure_checks.h"
#include "measuredata_ballbar.h"

#include <QtTest>

#include <cmath>

namespace
{
const char ID[] = "B89.4.1_Data:Version=1:Type=BallBar\n";

// One data line: end points (0,0,0) and (x,y,z), the other fields filled.
QByteArray Line(const char *name, double x, double y, double z)
{
    return QByteArray(name) + ",Horizontal,0,0,0," + QByteArray::number(x, 'g', 17) + ',' +
           QByteArray::number(y, 'g', 17) + ',' + QByteArray::number(z, 'g', 17) + ",20.1,19.9992,1,0,0\n";
}
} // namespace

class TestBallbar : public QObject
{
    Q_OBJECT

  private slots:
    void loading_data();
    void loading();
    void entry_fields();
    void report_rows_data();
    void report_rows();
    void report_without_entries();
    void huge_coordinates();
    void example_report();
    void damaged_files();
    void largest_file();
};

void TestBallbar::loading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("entries");
    QTest::addColumn<double>("mean");

    const QByteArray p1 = Line("P1", 300, 400, 0);
    QTest::newRow("comments and blanks before identification")
        << QByteArray("# ballbar\n\n   \n") + ID + p1 << true << 1 << 500.0;
    QTest::newRow("identification with blanks around it")
        << QByteArray("   ") + QByteArray(ID).trimmed() + "  trailing words\n" + p1 << true << 1 << 500.0;
    QTest::newRow("lower-case identification") << QByteArray(ID).toLower() + p1 << false << 0 << 0.0;
    QTest::newRow("data line before identification") << p1 + ID << false << 0 << 0.0;
    QTest::newRow("twelve fields ignored") << QByteArray(ID) + "P1,x,0,0,0,300,400,0,1,2,3,4\n"
                                           << true << 0 << 0.0;
    QTest::newRow("fourteen fields ignored")
        << QByteArray(ID) + "P1,x,0,0,0,300,400,0,1,2,3,4,5,6\n" + Line("P2", 0, 0, 100) << true << 1
        << 100.0;
    QTest::newRow("empty fields count") << QByteArray(ID) + "P1,,0,0,0,300,400,,,,,,\n" << true << 1 << 500.0;
    QTest::newRow("words read as zero") << QByteArray(ID) + "P1,x,a,b,c,3,4,nan,,,,,\n" << true << 1 << 5.0;
    QTest::newRow("comment between data lines")
        << QByteArray(ID) + Line("A", 0, 0, 10) + "# A,B,0,0,0,0,0,999,0,0,0,0,0\n" + Line("B", 0, 0, 20)
        << true << 2 << 15.0;
    QTest::newRow("CR LF line ends") << QByteArray(ID).replace("\n", "\r\n") +
                                            Line("P1", 3, 4, 0).replace("\n", "\r\n")
                                     << true << 1 << 5.0;
}

void TestBallbar::loading()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loaded);
    QFETCH(int, entries);
    QFETCH(double, mean);

    TMeasureBallbar record;
    QCOMPARE(record.file_contents, int(TMeasureData::CONTENTS_BALLBAR));
    QCOMPARE(record.Load_Data(file), loaded);
    QCOMPARE(record.last_error,
             loaded ? QString() : QStringLiteral("Artifact identification line not recognized"));
    QCOMPARE(int(record.Entries().size()), entries);
    QCOMPARE(record.Mean_Length(), mean);
}

void TestBallbar::entry_fields()
{
    TMeasureBallbar record;
    QVERIFY(record.Load_Data(QByteArray(ID) + "XY 45 ,ignored, 1.5,2,3 ,4.5,6,7,20.25,19.9992,0.6,0.8,0\n"));
    QCOMPARE(int(record.Entries().size()), 1);
    const TMeasureBallbar::TBallbarData &entry = record.Entries().front();
    QCOMPARE(entry.name, QStringLiteral("XY 45 ")); // not trimmed
    QCOMPARE(entry.point1.x, 1.5);
    QCOMPARE(entry.point1.z, 3.0);
    QCOMPARE(entry.point2.x, 4.5);
    QCOMPARE(entry.point2.z, 7.0);
    QCOMPARE(entry.value1, 20.25);
    QCOMPARE(entry.value2, 19.9992);
    QCOMPARE(entry.vector3.x, 0.6);
    QCOMPARE(entry.vector3.y, 0.8);
    QCOMPARE(entry.length, std::sqrt(9.0 + 16.0 + 16.0));
}

void TestBallbar::report_rows_data()
{
    QTest::addColumn<QByteArray>("data_lines");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("statistics");

    QTest::newRow("single 500 mm bar")
        << Line("P1", 300, 400, 0) << QStringList{QStringLiteral("          P1      500.0000       0.0000")}
        << QStringList{QStringLiteral("  Minimum Length: 500.0000 mm"),
                       QStringLiteral("  Maximum Length: 500.0000 mm"),
                       QStringLiteral("  Mean Length:    500.0000 mm"),
                       QStringLiteral("  Length Range:   0.0000 mm")};
    QTest::newRow("two bars around 500")
        << Line("A", 0, 0, 500.001) + Line("B", 0, 0, 499.999)
        << QStringList{QStringLiteral("           A      500.0010       0.0010"),
                       QStringLiteral("           B      499.9990      -0.0010")}
        << QStringList{QStringLiteral("  Minimum Length: 499.9990 mm"),
                       QStringLiteral("  Maximum Length: 500.0010 mm"),
                       QStringLiteral("  Mean Length:    500.0000 mm"),
                       QStringLiteral("  Length Range:   0.0020 mm")};
    // The minimum and maximum are not the first or last entry.
    QTest::newRow("extremes in the middle, long name not cut")
        << Line("A", 0, 0, 20) + Line("B", 0, 0, 10) + Line("Very_Long_Position_Name", 0, 0, 40) +
               Line("%2", 0, 0, 30)
        << QStringList{QStringLiteral("           A       20.0000      -5.0000"),
                       QStringLiteral("           B       10.0000     -15.0000"),
                       QStringLiteral("Very_Long_Position_Name       40.0000      15.0000"),
                       QStringLiteral("          %2       30.0000       5.0000")}
        << QStringList{QStringLiteral("  Minimum Length: 10.0000 mm"),
                       QStringLiteral("  Maximum Length: 40.0000 mm"),
                       QStringLiteral("  Mean Length:    25.0000 mm"),
                       QStringLiteral("  Length Range:   30.0000 mm")};
}

void TestBallbar::report_rows()
{
    QFETCH(QByteArray, data_lines);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, statistics);

    TMeasureBallbar record;
    QVERIFY(record.Load_Data(QByteArray(ID) + data_lines));
    const QStringList expected = QStringList{QStringLiteral("ASME B89.4.1 Ballbar Measurement"),
                                             QString(64, QLatin1Char('=')),
                                             QString(),
                                             QStringLiteral("Ballbar Measurements"),
                                             QString(44, QLatin1Char('-')),
                                             QString(),
                                             QStringLiteral("    Position        Actual    Deviation"),
                                             QString()} +
                                 rows + QStringList{QString()} + statistics;
    MeasureChecks::Compare_Lines(record.Text_Report(), expected);

    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(int(graph.size()), 1);
    QCOMPARE(int(graph[0].size()), int(record.Entries().size()));
    for (size_t i = 0; i < graph[0].size(); ++i)
    {
        QCOMPARE(graph[0][i].x, record.Entries()[i].length);
        QCOMPARE(graph[0][i].y, record.Entries()[i].length - record.Mean_Length());
    }
}

void TestBallbar::report_without_entries()
{
    TMeasureBallbar record;
    QVERIFY(record.Load_Data(QByteArray(ID) + "only,a,few,fields\n"));
    const QStringList report = record.Text_Report();
    QCOMPARE(report.size(), 13);
    QCOMPARE(report.mid(7), (QStringList{QString(), QString(), QStringLiteral("  Minimum Length: 0.0000 mm"),
                                         QStringLiteral("  Maximum Length: 0.0000 mm"),
                                         QStringLiteral("  Mean Length:    0.0000 mm"),
                                         QStringLiteral("  Length Range:   0.0000 mm")}));
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(int(graph.size()), 1);
    QVERIFY(graph[0].empty());
}

void TestBallbar::huge_coordinates()
{
    // Finite coordinates whose squared distance overflows: the length is infinite and the
    // deviation from an infinite mean is not a number; the report prints them as such.
    TMeasureBallbar record;
    QVERIFY(record.Load_Data(QByteArray(ID) + "BIG,x,-1e308,0,0,1e308,0,0,0,0,0,0,0\n" +
                             Line("P1", 300, 400, 0)));
    QVERIFY(std::isinf(record.Entries()[0].length));
    const QStringList report = record.Text_Report();
    QCOMPARE(report.at(8), QStringLiteral("         BIG           inf          nan"));
    QCOMPARE(report.at(9), QStringLiteral("          P1      500.0000         -inf"));
    QCOMPARE(report.at(12), QStringLiteral("  Maximum Length: inf mm"));
    QCOMPARE(report.at(14), QStringLiteral("  Length Range:   inf mm"));
    // The infinite mean makes every deviation infinite too: nothing can be graphed.
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(int(graph.size()), 1);
    QVERIFY(graph[0].empty());
}

void TestBallbar::example_report()
{
    const TMeasurementLoad load = MeasurementLoad::Load_File(
        MeasureChecks::Source_Path(QStringLiteral("examples/ballbar_500mm.dat")), nullptr);
    QVERIFY(load.Succeeded());
    QCOMPARE(load.contents, TMeasureData::CONTENTS_BALLBAR);
    MeasureChecks::Compare_Lines(
        load.report_lines, MeasureChecks::Read_Lines(QStringLiteral("tests/data/golden/ballbar_500mm.txt")));
    QCOMPARE(int(load.graph_data.size()), 1);
    QCOMPARE(int(load.graph_data[0].size()), 14);
    // First placement: XY_000, a bar along X from 349.6041 to 849.6022.
    QCOMPARE(load.graph_data[0][0].x, 849.6022 - 349.6041);
}

void TestBallbar::damaged_files()
{
    MeasureChecks::Check_Damaged_Input(
        MeasureChecks::Read_Bytes(QStringLiteral("examples/ballbar_500mm.dat")),
        {QStringLiteral("Artifact identification line not recognized")});
}

void TestBallbar::largest_file()
{
    // One report row per placement after 8 lines of title and heading, then 5 lines of statistics.
    MeasureChecks::Check_Large_File(
        ID, [](int i) { return Line(qPrintable(QStringLiteral("P%1").arg(i)), 0, 300 + i % 7, 400); },
        QByteArray(), 13);
}

QTEST_GUILESS_MAIN(TestBallbar)
#include "tst_ballbar.moc"
