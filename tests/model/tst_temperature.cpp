// The temperature log record: reading lines, sensors in ascending order with readings in file order,
// the graph's hours, the statistics report and overflowing sums.

#include "measure_checks.h"
#include "measuredata_temperature.h"

#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QByteArray ID = "Temperature_Log:Version=1:Type=Machine_Sensors\n";

// A sensor's block of the report: min, max, mean and standard deviation as printed.
QStringList Sensor(int sensor, const QStringList &values)
{
    QStringList lines = {QStringLiteral("Sensor: %1").arg(sensor), QString(44, QLatin1Char('-'))};
    const char *const labels[] = {"  Min:   %1 C", "  Max:   %1 C", "  Mean:  %1 C", "  Stdev: %1 C"};
    for (int i = 0; i < 4; ++i)
        lines += QString::fromLatin1(labels[i]).arg(values[i]);
    return lines << QString();
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
        QVERIFY(record.Load_Data(ID + line + "\n[000000],99,20\n"));
        QCOMPARE(record.Sensor_Data().size(), size_t(reading.isEmpty() ? 1 : 2));
        const TMeasureTemperature::TSensorData &first = record.Sensor_Data().front();
        if (!reading.isEmpty())
            QCOMPARE(QStringLiteral("%1 %2:%3:%4 %5")
                         .arg(first.sensor)
                         .arg(first.hour)
                         .arg(first.minute)
                         .arg(first.second)
                         .arg(first.temperature),
                     reading);
    }

    void Only_Dropped_Readings()
    {
        TMeasureTemperature record;
        QVERIFY(!record.Load_Data(ID + "[000000],0,20\n[00000],1,20\n"));
        QCOMPARE(record.last_error, DATA_MISSING);
    }

    void Sensor_Order_And_Graph()
    {
        // One curve per sensor in ascending number, readings in file order, x in hours.
        TMeasureTemperature record;
        QVERIFY(record.Load_Data(ID + "[103045],7,21.5\n"
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
        QVERIFY(record.Load_Data(ID + "[000000],12,123.456\n"
                                      "[000000],3,20.0\n"
                                      "[000100],3,22.0\n"
                                      "[000000],5,5\n"));
        Compare_Lines(record.Text_Report(), QStringList{QStringLiteral("Temperature Log"),
                                                        QString(64, QLatin1Char('=')), QString()} +
                                                Sensor(3, {" 20.00", " 22.00", " 21.00", "  1.41"}) +
                                                Sensor(5, {"  5.00", "  5.00", "  5.00", "  0.00"}) +
                                                Sensor(12, {"123.46", "123.46", "123.46", "  0.00"}));

        // Finite readings whose sum overflows: the mean and deviation print as Qt prints infinity.
        TMeasureTemperature huge;
        QVERIFY(huge.Load_Data(ID + "[000000],1,1e308\n[000100],1,1e308\n"));
        const QString big = QString::number(1e308, 'f', 2);
        QCOMPARE(huge.Text_Report().mid(3), Sensor(1, {big, big, "   inf", "   inf"}));
    }
};

QTEST_GUILESS_MAIN(TTestTemperature)
#include "tst_temperature.moc"
