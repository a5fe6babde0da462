// The records of statistics over entries. Temperature log: reading lines, sensors in ascending order with
// readings in file order, the graph's hours and the report. Ballbar: data lines of thirteen fields,
// lengths, names in the report and the graph of deviations from the mean. Both: overflowing sums.

#include "model/kinds/measuredata_ballbar.h"
#include "model/kinds/measuredata_temperature.h"
#include "tests/common/measure_checks.h"

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

// A reading line and the reading it gives: sensor, time and temperature; empty when it is dropped.
struct TReadingRow
{
    QByteArray line;
    QString reading;
};

// Data lines, the first lines of the report after its title and heading, and the graph's points.
struct TBallbarRow
{
    QByteArray lines;
    QStringList report;
    TValues graph;
};
} // namespace

Q_DECLARE_METATYPE(TReadingRow)
Q_DECLARE_METATYPE(TBallbarRow)

class TTestTemperature : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Reading_Lines_data()
    {
        QTest::addColumn<TReadingRow>("row");
        const auto row = [](const char *name, const char *line, const char *reading) {
            QTest::newRow(name) << TReadingRow{line, QString::fromLatin1(reading)};
        };
        row("plain", "[103045],3,20.125", "3 10:30:45 20.125");
        row("outer stamp characters not examined, blanks around numbers", "T070000Z, 12 , 19.5 ",
            "12 7:0:0 19.5");
        row("negative sensor number", "[235959],-2,21", "-2 23:59:59 21");
        row("letters in the stamp read as zero", "[ab30cd],1,20", "1 0:30:0 20");
        row("stamp of 7 characters", "[10304],3,20.1", "");
        row("stamp of 9 characters", "[1030450],3,20.1", "");
        row("sensor 0", "[103045],0,20.1", "");
        row("sensor not a whole number", "[103045],1.5,20.1", "");
        row("temperature 0", "[103045],3,0.0", "");
        row("infinite temperature", "[103045],3,inf", "");
        row("two fields", "[103045],3", "");
        row("four fields", "[103045],3,20.1,", "");
    }

    void Reading_Lines()
    {
        QFETCH(TReadingRow, row);
        // A good reading of sensor 99 keeps the load successful either way; alone, a dropped line leaves
        // nothing to load.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(LOG_ID + row.line + "\n[000000],99,20\n"));
        QCOMPARE(record.Sensor_Data().size(), size_t(row.reading.isEmpty() ? 1 : 2));
        const TMeasureTemperature::TSensorData &first = record.Sensor_Data().front();
        if (!row.reading.isEmpty())
            QCOMPARE(QString::asprintf("%d %d:%d:%d %g", first.sensor, first.hour, first.minute, first.second,
                                       first.temperature),
                     row.reading);
        QCOMPARE(Loaded(TMeasureData::CONTENTS_TEMPERATURE, LOG_ID + row.line)->last_error,
                 row.reading.isEmpty() ? DATA_MISSING : QString());
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

    void Ballbar_data()
    {
        QTest::addColumn<TBallbarRow>("row");
        const auto row = [](const char *name, const TBallbarRow &ballbar) { QTest::newRow(name) << ballbar; };
        // Point 1 is fields 2 to 4, point 2 fields 5 to 7; empty fields count, words read as zero.
        const double mean = 110.0 / 3;
        row("twelve and fourteen fields ignored",
            {"P1,x,0,0,0,300,400,0,1,2,3,4\nP2,x,0,0,0,300,400,0,1,2,3,4,5,6\n" + Line("P3", 100) +
                 "P4,,1,1,1,4,5,1,,,,,\nP5,x,a,b,c,3,4,nan,,,,,\n",
             {"          P3      100.0000      63.3333", "          P4        5.0000     -31.6667",
              "          P5        5.0000     -31.6667", ""},
             {100, 100 - mean, 5, 5 - mean, 5, 5 - mean}});
        // A long name is not cut, nor is "%2" replaced. The statistics are the golden report's.
        row("names", {Line("A", 20) + Line("B", 10) + Line("Very_Long_Position_Name", 40) + Line(" %2 ", 30),
                      {"           A       20.0000      -5.0000", "           B       10.0000     -15.0000",
                       "Very_Long_Position_Name       40.0000      15.0000",
                       "         %2        30.0000       5.0000", ""},
                      {20, -5, 10, -15, 40, 15, 30, 5}});
        row("no entries", {"only,a,few,fields\n",
                           {"", "  Minimum Length: 0.0000 mm", "  Maximum Length: 0.0000 mm",
                            "  Mean Length:    0.0000 mm", "  Length Range:   0.0000 mm"},
                           {}});
        // Finite coordinates whose squared distance overflows: the length is infinite and the deviation
        // from an infinite mean is not a number; the report prints them as such, the graph leaves them out.
        row("huge coordinates",
            {"BIG,x,-1e308,0,0,1e308,0,0,0,0,0,0,0\n" + Line("P1", 500),
             {"         BIG           inf          nan", "          P1      500.0000         -inf", "",
              "  Minimum Length: 500.0000 mm", "  Maximum Length: inf mm", "  Mean Length:    inf mm",
              "  Length Range:   inf mm"},
             {}});
    }

    void Ballbar()
    {
        QFETCH(TBallbarRow, row);
        TMeasureBallbar record;
        QVERIFY(record.Load_Data(BALLBAR_ID + row.lines));
        // After the title and heading; the graph is one curve, also when empty.
        QCOMPARE(record.Text_Report().mid(8, row.report.size()), row.report);
        QCOMPARE(record.Graph_Data().size(), size_t(1));
        Compare_Values(Flat(record.Graph_Data()), row.graph);
    }
};

QTEST_GUILESS_MAIN(TTestTemperature)
#include "tst_temperature.moc"
