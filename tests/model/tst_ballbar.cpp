// The ballbar record: data lines of thirteen fields, lengths, statistics, names in the report, the
// graph of deviations from the mean and overflowing coordinates.

#include "measure_checks.h"
#include "measuredata_ballbar.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QByteArray ID = "B89.4.1_Data:Version=1:Type=BallBar\n";

// One data line: end points (0,0,0) and (0,0,z), the other fields filled.
QByteArray Line(const QByteArray &name, double z)
{
    return name + ",Horizontal,0,0,0,0,0," + QByteArray::number(z, 'g', 17) + ",20.1,19.9992,1,0,0\n";
}

// The report after its eight lines of title and heading.
QStringList Rows(const TMeasureBallbar &record)
{
    return record.Text_Report().mid(8);
}
} // namespace

class TTestBallbar : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Data_Lines()
    {
        // Twelve and fourteen fields are ignored; point 1 is fields 2 to 4, point 2 fields 5 to 7, empty
        // fields count and words read as zero.
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(ID + "P1,x,0,0,0,300,400,0,1,2,3,4\nP2,x,0,0,0,300,400,0,1,2,3,4,5,6\n" +
                                 Line("P3", 100) + "P4,,1,1,1,4,5,1,,,,,\nP5,x,a,b,c,3,4,nan,,,,,\n"));
        TValues lengths;
        for (const TMeasureBallbar::TBallbarData &entry : record.Entries())
            lengths.push_back(entry.length);
        Compare_Values(lengths, {100, 5, 5});
    }

    void Report_And_Graph()
    {
        // The extremes are not the first or last entry; a long name is not cut, nor is "%2" replaced.
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(ID + Line("A", 20) + Line("B", 10) + Line("Very_Long_Position_Name", 40) +
                                 Line(" %2 ", 30)));
        Compare_Lines(Rows(record),
                      {"           A       20.0000      -5.0000", "           B       10.0000     -15.0000",
                       "Very_Long_Position_Name       40.0000      15.0000",
                       "         %2        30.0000       5.0000", "", "  Minimum Length: 10.0000 mm",
                       "  Maximum Length: 40.0000 mm", "  Mean Length:    25.0000 mm",
                       "  Length Range:   30.0000 mm"});
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>{4});
        Compare_Values(Flat(record.Graph_Data()), {20, -5, 10, -15, 40, 15, 30, 5});

        // Without entries: statistics of zero, still one data set, empty.
        TMeasureBallbar empty;
        QVERIFY(empty.Load_Data(ID + "only,a,few,fields\n"));
        Compare_Lines(Rows(empty), {"", "  Minimum Length: 0.0000 mm", "  Maximum Length: 0.0000 mm",
                                    "  Mean Length:    0.0000 mm", "  Length Range:   0.0000 mm"});
        QCOMPARE(Sizes(empty.Graph_Data()), std::vector<int>{0});
    }

    void Huge_Coordinates()
    {
        // Finite coordinates whose squared distance overflows: the length is infinite and the deviation
        // from an infinite mean is not a number; the report prints them as such, the graph leaves them out.
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(ID + "BIG,x,-1e308,0,0,1e308,0,0,0,0,0,0,0\n" + Line("P1", 500)));
        Compare_Lines(Rows(record),
                      {"         BIG           inf          nan", "          P1      500.0000         -inf",
                       "", "  Minimum Length: 500.0000 mm", "  Maximum Length: inf mm",
                       "  Mean Length:    inf mm", "  Length Range:   inf mm"});
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>{0});
    }
};

QTEST_GUILESS_MAIN(TTestBallbar)
#include "tst_ballbar.moc"
