// The records of statistics over entries. Temperature log: reading lines, sensors in ascending order with
// readings in file order, the graph's hours and the report. Ballbar: data lines of thirteen fields,
// lengths, names in the report and the graph of deviations from the mean. Both: overflowing sums.

#include "measure_checks.h"
#include "measuredata_ballbar.h"
#include "measuredata_temperature.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QByteArray LOG_ID = "Temperature_Log:Version=1:Type=Machine_Sensors\n";

// A sensor's block of the report: min, max, mean and standard deviation as printed.
QStringList Sensor(int sensor, const QStringList &values)
{
    QStringList lines = {QStringLiteral("Sensor: %1").arg(sensor), QString(44, QLatin1Char('-'))};
    const char *const labels[] = {"  Min:   %1 C", "  Max:   %1 C", "  Mean:  %1 C", "  Stdev: %1 C"};
    for (int i = 0; i < 4; ++i)
        lines += QString::fromLatin1(labels[i]).arg(values[i]);
    return lines << QString();
}
const QByteArray BALLBAR_ID = "B89.4.1_Data:Version=1:Type=BallBar\n";

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

class TTestTemperature : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Reading_Lines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("reading"); // sensor, time and temperature; empty when the line is dropped

        QTest::newRow("plain") << QByteArray("[103045],3,20.125") << "3 10:30:45 20.125";
        QTest::newRow("outer stamp characters not examined, blanks around numbers")
            << QByteArray("T070000Z, 12 , 19.5 ") << "12 7:0:0 19.5";
        QTest::newRow("negative sensor number") << QByteArray("[235959],-2,21") << "-2 23:59:59 21";
        QTest::newRow("letters in the stamp read as zero") << QByteArray("[ab30cd],1,20") << "1 0:30:0 20";
        QTest::newRow("stamp of 7 characters") << QByteArray("[10304],3,20.1") << QString();
        QTest::newRow("stamp of 9 characters") << QByteArray("[1030450],3,20.1") << QString();
        QTest::newRow("sensor 0") << QByteArray("[103045],0,20.1") << QString();
        QTest::newRow("sensor not a whole number") << QByteArray("[103045],1.5,20.1") << QString();
        QTest::newRow("temperature 0") << QByteArray("[103045],3,0.0") << QString();
        QTest::newRow("infinite temperature") << QByteArray("[103045],3,inf") << QString();
        QTest::newRow("two fields") << QByteArray("[103045],3") << QString();
        QTest::newRow("four fields") << QByteArray("[103045],3,20.1,") << QString();
    }

    void Reading_Lines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, reading);
        // A good reading of sensor 99 keeps the load successful either way.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + line + "\n[000000],99,20\n"));
        QCOMPARE(record.Sensor_Data().size(), size_t(reading.isEmpty() ? 1 : 2));
        const TMeasureTemperature::TSensorData &first = record.Sensor_Data().front();
        if (!reading.isEmpty())
            QCOMPARE(QString::asprintf("%d %d:%d:%d %g", first.sensor, first.hour, first.minute, first.second,
                                       first.temperature),
                     reading);
    }

    void Only_Dropped_Readings()
    {
        TMeasureTemperature record;
        QVERIFY(!record.Load_Data(LOG_ID + "[000000],0,20\n[00000],1,20\n"));
        QCOMPARE(record.last_error, DATA_MISSING);
    }

    void Sensor_Order_And_Graph()
    {
        // One curve per sensor in ascending number, readings in file order, x in hours.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + "[103045],7,21.5\n"
                                          "[080000],2,20.0\n"
                                          "[233000],7,21.0\n"
                                          "[001500],7,20.5\n" // past midnight: x falls back
                                          "[090000],2,22.0\n"));
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>({2, 3}));
        Compare_Values(Flat(record.Graph_Data()),
                       {8.0, 20.0, 9.0, 22.0, 10.5125, 21.5, 23.5, 21.0, 0.25, 20.5});
    }

    void Report()
    {
        // Sensors in ascending number, not in text order; values right-aligned in six characters; the
        // sample deviation (n - 1), zero for a single reading.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + "[000000],12,123.456\n"
                                          "[000000],3,20.0\n"
                                          "[000100],3,22.0\n"
                                          "[000000],5,5\n"));
        QCOMPARE(record.Text_Report(),
                 (QStringList{QStringLiteral("Temperature Log"), QString(64, QLatin1Char('=')), QString()} +
                  Sensor(3, {" 20.00", " 22.00", " 21.00", "  1.41"}) +
                  Sensor(5, {"  5.00", "  5.00", "  5.00", "  0.00"}) +
                  Sensor(12, {"123.46", "123.46", "123.46", "  0.00"})));

        // Finite readings whose sum overflows: the mean and deviation print as Qt prints infinity.
        TMeasureTemperature huge;
        QVERIFY(huge.Load_Data(LOG_ID + "[000000],1,1e308\n[000100],1,1e308\n"));
        const QString big = QString::number(1e308, 'f', 2);
        QCOMPARE(huge.Text_Report().mid(3), Sensor(1, QStringList({big, big, "   inf", "   inf"})));
    }
    void Data_Lines()
    {
        // Twelve and fourteen fields are ignored; point 1 is fields 2 to 4, point 2 fields 5 to 7, empty
        // fields count and words read as zero.
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(BALLBAR_ID +
                                 "P1,x,0,0,0,300,400,0,1,2,3,4\nP2,x,0,0,0,300,400,0,1,2,3,4,5,6\n" +
                                 Line("P3", 100) + "P4,,1,1,1,4,5,1,,,,,\nP5,x,a,b,c,3,4,nan,,,,,\n"));
        TValues lengths;
        for (const TMeasureBallbar::TBallbarData &entry : record.Entries())
            lengths.push_back(entry.length);
        Compare_Values(lengths, {100, 5, 5});
    }

    void Report_And_Graph()
    {
        // A long name is not cut, nor is "%2" replaced. The statistics are the golden report's.
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(BALLBAR_ID + Line("A", 20) + Line("B", 10) +
                                 Line("Very_Long_Position_Name", 40) + Line(" %2 ", 30)));
        QCOMPARE(Rows(record).mid(0, 4), QStringList({"           A       20.0000      -5.0000",
                                                      "           B       10.0000     -15.0000",
                                                      "Very_Long_Position_Name       40.0000      15.0000",
                                                      "         %2        30.0000       5.0000"}));
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>{4});
        Compare_Values(Flat(record.Graph_Data()), {20, -5, 10, -15, 40, 15, 30, 5});
        // Without entries: statistics of zero, still one data set, empty.
        TMeasureBallbar empty;
        QVERIFY(empty.Load_Data(BALLBAR_ID + "only,a,few,fields\n"));
        QCOMPARE(Rows(empty), QStringList({"", "  Minimum Length: 0.0000 mm", "  Maximum Length: 0.0000 mm",
                                           "  Mean Length:    0.0000 mm", "  Length Range:   0.0000 mm"}));
        QCOMPARE(Sizes(empty.Graph_Data()), std::vector<int>{0});
    }

    void Huge_Coordinates()
    {
        // Finite coordinates whose squared distance overflows: the length is infinite and the deviation
        // from an infinite mean is not a number; the report prints them as such, the graph leaves them out.
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(BALLBAR_ID + "BIG,x,-1e308,0,0,1e308,0,0,0,0,0,0,0\n" + Line("P1", 500)));
        QCOMPARE(Rows(record), QStringList({"         BIG           inf          nan",
                                            "          P1      500.0000         -inf", "",
                                            "  Minimum Length: 500.0000 mm", "  Maximum Length: inf mm",
                                            "  Mean Length:    inf mm", "  Length Range:   inf mm"}));
        QCOMPARE(Sizes(record.Graph_Data()), std::vector<int>{0});
    }
};

QTEST_GUILESS_MAIN(TTestTemperature)
#include "tst_temperature.moc"
