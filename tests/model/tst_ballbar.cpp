// The ballbar record: data lines of thirteen fields, lengths, statistics, names in the report, the
// graph of deviations from the mean, overflowing coordinates and files of the largest size.

#include "measure_checks.h"
#include "measuredata_ballbar.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QByteArray ID = "B89.4.1_Data:Version=1:Type=BallBar\n";

// One data line: end points (0,0,0) and (x,y,z), the other fields filled.
QByteArray Line(const QByteArray &name, double x, double y, double z)
{
    return name + ",Horizontal,0,0,0," + QByteArray::number(x, 'g', 17) + ',' +
           QByteArray::number(y, 'g', 17) + ',' + QByteArray::number(z, 'g', 17) + ",20.1,19.9992,1,0,0\n";
}
} // namespace

class TestBallbar : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Load_data();
    void Load();
    void Report_And_Graph();
    void Without_Entries();
    void Huge_Coordinates();
    void Large_File();
};

void TestBallbar::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<std::vector<double>>("lengths");

    QTest::newRow("data line before identification")
        << Line("P1", 300, 400, 0) + ID << false << std::vector<double>{};
    QTest::newRow("twelve and fourteen fields ignored")
        << ID + "P1,x,0,0,0,300,400,0,1,2,3,4\nP2,x,0,0,0,300,400,0,1,2,3,4,5,6\n" + Line("P3", 0, 0, 100)
        << true << std::vector<double>{100};
    // Point 1 is fields 2 to 4, point 2 fields 5 to 7.
    QTest::newRow("empty fields count, words read as zero")
        << ID + "P1,,1,1,1,4,5,1,,,,,\nP2,x,a,b,c,3,4,nan,,,,,\n"
        << true << std::vector<double>{5, 5};
}

void TestBallbar::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loaded);
    QFETCH(std::vector<double>, lengths);

    TMeasureBallbar record;
    QCOMPARE(record.Load_Data(file), loaded);
    QCOMPARE(record.last_error, loaded ? QString() : ARTIFACT_IDENTIFICATION);
    std::vector<double> values;
    for (const TMeasureBallbar::TBallbarData &entry : record.Entries())
    {
        values.push_back(entry.length);
    }
    Compare_Values(values, lengths);
}

void TestBallbar::Report_And_Graph()
{
    // The extremes are not the first or last entry; a long name is not cut, nor is "%2" replaced.
    TMeasureBallbar record;
    QVERIFY(record.Load_Data(ID + Line("A", 0, 0, 20) + Line("B", 0, 0, 10) +
                             Line("Very_Long_Position_Name", 0, 0, 40) + Line(" %2 ", 0, 0, 30)));
    Compare_Lines(
        record.Text_Report().mid(8),
        {QStringLiteral("           A       20.0000      -5.0000"),
         QStringLiteral("           B       10.0000     -15.0000"),
         QStringLiteral("Very_Long_Position_Name       40.0000      15.0000"),
         QStringLiteral("         %2        30.0000       5.0000"), QString(),
         QStringLiteral("  Minimum Length: 10.0000 mm"), QStringLiteral("  Maximum Length: 40.0000 mm"),
         QStringLiteral("  Mean Length:    25.0000 mm"), QStringLiteral("  Length Range:   30.0000 mm")});

    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(graph.size(), size_t(1));
    std::vector<double> values;
    for (const TVector2 &point : graph[0])
    {
        values.insert(values.end(), {point.x, point.y});
    }
    Compare_Values(values, {20, -5, 10, -15, 40, 15, 30, 5});
}

void TestBallbar::Without_Entries()
{
    TMeasureBallbar record;
    QVERIFY(record.Load_Data(ID + "only,a,few,fields\n"));
    Compare_Lines(record.Text_Report().mid(8), {QString(), QStringLiteral("  Minimum Length: 0.0000 mm"),
                                                QStringLiteral("  Maximum Length: 0.0000 mm"),
                                                QStringLiteral("  Mean Length:    0.0000 mm"),
                                                QStringLiteral("  Length Range:   0.0000 mm")});
    // Still one data set, empty.
    QCOMPARE(record.Graph_Data().size(), size_t(1));
    QVERIFY(record.Graph_Data()[0].empty());
}

void TestBallbar::Huge_Coordinates()
{
    // Finite coordinates whose squared distance overflows: the length is infinite and the deviation
    // from an infinite mean is not a number; the report prints them as such, the graph leaves them out.
    TMeasureBallbar record;
    QVERIFY(record.Load_Data(ID + "BIG,x,-1e308,0,0,1e308,0,0,0,0,0,0,0\n" + Line("P1", 300, 400, 0)));
    const QStringList report = record.Text_Report();
    QCOMPARE(report.at(8), QStringLiteral("         BIG           inf          nan"));
    QCOMPARE(report.at(9), QStringLiteral("          P1      500.0000         -inf"));
    QCOMPARE(report.at(12), QStringLiteral("  Maximum Length: inf mm"));
    QCOMPARE(report.at(14), QStringLiteral("  Length Range:   inf mm"));
    QCOMPARE(record.Graph_Data().size(), size_t(1));
    QVERIFY(record.Graph_Data()[0].empty());
}

void TestBallbar::Large_File()
{
    // One report row per placement after 8 lines of title and heading, then 5 lines of statistics.
    Check_Large_File(
        ID, [](int i) { return Line("P" + QByteArray::number(i), 0, 300 + i % 7, 400); }, QByteArray(), 13);
}

QTEST_GUILESS_MAIN(TestBallbar)
#include "tst_ballbar.moc"
