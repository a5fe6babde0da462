#include "measure_checks.h"
#include "measuredata_temperature.h"

#include <QElapsedTimer>
#include <QtTest>

#include <cmath>

namespace
{
const char ID[] = "Temperature_Log:Version=1:Type=Machine_Sensors\n";
const char ID_MESSAGE[] = "File identification line not recognized";
const char MISSING_MESSAGE[] = "Data missing from measurement file.";

QStringList Statistics_Lines(const QString &min, const QString &max, const QString &mean,
                             const QString &stdev)
{
    return {QStringLiteral("  Min:   %1 C").arg(min), QStringLiteral("  Max:   %1 C").arg(max),
            QStringLiteral("  Mean:  %1 C").arg(mean), QStringLiteral("  Stdev: %1 C").arg(stdev)};
}
} // namespace

class TestTemperature : public QObject
{
    Q_OBJECT

  private slots:
    void reading_lines_data();
    void reading_lines();
    void identification_and_missing_data_data();
    void identification_and_missing_data();
    void sensor_order_and_graph();
    void statistics_data();
    void statistics();
    void report_format();
    void huge_temperatures();
    void many_sensors_load_quickly();
    void example_report();
    void damaged_files();
};

void TestTemperature::reading_lines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("sensor");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("second");
    QTest::addColumn<double>("temperature");

    QTest::newRow("plain") << QByteArray("[103045],3,20.125") << true << 3 << 10 << 30 << 45 << 20.125;
    QTest::newRow("outer stamp characters not examined")
        << QByteArray("x103045y,3,20.125") << true << 3 << 10 << 30 << 45 << 20.125;
    QTest::newRow("blanks around numbers")
        << QByteArray("T070000Z, 12 , 19.5 ") << true << 12 << 7 << 0 << 0 << 19.5;
    QTest::newRow("negative sensor number")
        << QByteArray("[235959],-2,21") << true << -2 << 23 << 59 << 59 << 21.0;
    QTest::newRow("letters in the stamp read as zero")
        << QByteArray("[ab30cd],1,20") << true << 1 << 0 << 30 << 0 << 20.0;
    QTest::newRow("stamp of 7 characters")
        << QByteArray("[10304],3,20.1") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("stamp of 9 characters")
        << QByteArray("[1030450],3,20.1") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("sensor 0") << QByteArray("[103045],0,20.1") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("sensor not a number")
        << QByteArray("[103045],X1,20.1") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("sensor not an integer")
        << QByteArray("[103045],1.5,20.1") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("temperature 0") << QByteArray("[103045],3,0.0") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("negative temperature")
        << QByteArray("[103045],3,-1.5") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("temperature not a number")
        << QByteArray("[103045],3,warm") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("infinite temperature") << QByteArray("[103045],3,inf") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("two fields") << QByteArray("[103045],3") << false << 0 << 0 << 0 << 0 << 0.0;
    QTest::newRow("four fields") << QByteArray("[103045],3,20.1,") << false << 0 << 0 << 0 << 0 << 0.0;
}

void TestTemperature::reading_lines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, accepted);

    // A good reading of sensor 99 keeps the load successful either way.
    TMeasureTemperature record;
    QVERIFY(record.Load_Data(QByteArray(ID) + line + "\n[000000],99,20\n"));
    QCOMPARE(int(record.Sensor_Data().size()), accepted ? 2 : 1);
    if (accepted)
    {
        QFETCH(int, sensor);
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(double, temperature);
        const TMeasureTemperature::TSensorData &reading = record.Sensor_Data().front();
        QCOMPARE(reading.sensor, sensor);
        QCOMPARE(reading.hour, hour);
        QCOMPARE(reading.minute, minute);
        QCOMPARE(reading.second, second);
        QCOMPARE(reading.temperature, temperature);
    }
}

void TestTemperature::identification_and_missing_data_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    QTest::newRow("comment and blank line first") << QByteArray("# log\n\n") + ID + "[000000],1,20\n"
                                                  << QString();
    QTest::newRow("other identification") << QByteArray("Temperature_Log:Version=2:Type=Machine_Sensors\n"
                                                        "[000000],1,20\n")
                                          << QString::fromLatin1(ID_MESSAGE);
    QTest::newRow("reading before identification")
        << QByteArray("[000000],1,20\n") + ID << QString::fromLatin1(ID_MESSAGE);
    QTest::newRow("identification only") << QByteArray(ID) << QString::fromLatin1(MISSING_MESSAGE);
    QTest::newRow("only rejected readings") << QByteArray(ID) + "[000000],0,20\n[00000],1,20\n"
                                            << QString::fromLatin1(MISSING_MESSAGE);
}

void TestTemperature::identification_and_missing_data()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    TMeasureTemperature record;
    QCOMPARE(record.file_contents, int(TMeasureData::CONTENTS_TEMPERATURE));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
}

void TestTemperature::sensor_order_and_graph()
{
    TMeasureTemperature record;
    QVERIFY(record.Load_Data(QByteArray(ID) + "[103045],7,21.5\n"
                                              "[080000],2,20.0\n"
                                              "[233000],7,21.0\n"
                                              "[001500],7,20.5\n" // past midnight: x falls back
                                              "[090000],2,22.0\n"));
    QCOMPARE(record.Sensor_Ids(), (std::set<int>{2, 7}));
    QCOMPARE(record.Get_Sensor_Temperatures(7), (std::vector<double>{21.5, 21.0, 20.5}));
    QCOMPARE(record.Get_Sensor_Temperatures(2), (std::vector<double>{20.0, 22.0}));
    QVERIFY(record.Get_Sensor_Temperatures(3).empty());
    const std::vector<TMeasureTemperature::TSensorData> readings = record.Get_Sensor_Data(7);
    QCOMPARE(int(readings.size()), 3);
    QCOMPARE(readings[1].hour, 23);
    QCOMPARE(readings[1].minute, 30);

    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    QCOMPARE(int(graph.size()), 2);
    QCOMPARE(int(graph[0].size()), 2); // sensor 2 first
    QCOMPARE(graph[0][1].x, 9.0);
    QCOMPARE(graph[0][1].y, 22.0);
    QCOMPARE(int(graph[1].size()), 3);
    QCOMPARE(graph[1][0].x, (30 / 60.0 + 10) + 45 / 3600.0);
    QVERIFY(std::abs(graph[1][0].x - 10.5125) < 1e-12);
    QCOMPARE(graph[1][2].x, 0.25);
}

void TestTemperature::statistics_data()
{
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("stdev");

    QTest::newRow("none") << std::vector<double>{} << false << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("one") << std::vector<double>{20.5} << true << 20.5 << 20.5 << 20.5 << 0.0;
    QTest::newRow("two, sample deviation")
        << std::vector<double>{20.0, 22.0} << true << 20.0 << 22.0 << 21.0 << std::sqrt(2.0);
    // Sum of squared deviations 32 over 7: the sample (not population) formula.
    QTest::newRow("eight") << std::vector<double>{2, 4, 4, 4, 5, 5, 7, 9} << true << 2.0 << 9.0 << 5.0
                           << std::sqrt(32.0 / 7.0);
    // Mean 65/3; squared deviations (25/3)^2 + (10/3)^2 + (35/3)^2 = 1950/9, over 2.
    QTest::newRow("maximum first, minimum last") << std::vector<double>{30.0, 25.0, 10.0} << true << 10.0
                                                 << 30.0 << 65.0 / 3.0 << std::sqrt(1950.0 / 18.0);
}

void TestTemperature::statistics()
{
    QFETCH(std::vector<double>, values);
    QFETCH(bool, computed);
    QFETCH(double, stdev);

    TMeasureTemperature record;
    double min_result = -1.0;
    double max_result = -1.0;
    double mean_result = -1.0;
    double stdev_result = -1.0;
    QCOMPARE(record.Get_Statistics(values, &min_result, &max_result, &mean_result, &stdev_result), computed);
    QTEST(min_result, "min");
    QTEST(max_result, "max");
    QTEST(mean_result, "mean");
    QVERIFY2(std::abs(stdev_result - stdev) < 1e-12, qPrintable(QString::number(stdev_result, 'g', 17)));
}

void TestTemperature::report_format()
{
    TMeasureTemperature record;
    QVERIFY(record.Load_Data(QByteArray(ID) + "[000000],12,123.456\n"
                                              "[000000],3,20.0\n"
                                              "[000100],3,22.0\n"
                                              "[000000],5,5\n"));
    const QStringList expected =
        QStringList{QStringLiteral("Temperature Log"), QString(64, QLatin1Char('=')), QString(),
                    QStringLiteral("Sensor: 3"), QString(44, QLatin1Char('-'))} +
        Statistics_Lines(QStringLiteral(" 20.00"), QStringLiteral(" 22.00"), QStringLiteral(" 21.00"),
                         QStringLiteral("  1.41")) +
        QStringList{QString(), QStringLiteral("Sensor: 5"), QString(44, QLatin1Char('-'))} +
        Statistics_Lines(QStringLiteral("  5.00"), QStringLiteral("  5.00"), QStringLiteral("  5.00"),
                         QStringLiteral("  0.00")) +
        QStringList{QString(), QStringLiteral("Sensor: 12"), QString(44, QLatin1Char('-'))} +
        Statistics_Lines(QStringLiteral("123.46"), QStringLiteral("123.46"), QStringLiteral("123.46"),
                         QStringLiteral("  0.00")) +
        QStringList{QString()};
    MeasureChecks::Compare_Lines(record.Text_Report(), expected);
}

void TestTemperature::huge_temperatures()
{
    // Finite readings whose sum overflows: the mean and deviation print as Qt prints infinity.
    TMeasureTemperature record;
    QVERIFY(record.Load_Data(QByteArray(ID) + "[000000],1,1e308\n[000100],1,1e308\n"));
    const QString huge = QString::number(1e308, 'f', 2);
    QVERIFY(huge.size() > 300);
    QCOMPARE(record.Text_Report().mid(5, 4),
             Statistics_Lines(huge, huge, QStringLiteral("   inf"), QStringLiteral("   inf")));
}

void TestTemperature::many_sensors_load_quickly()
{
    // Close to the largest file the viewer reads: thousands of readings, every one a sensor of
    // its own, the worst case for a per-sensor walk over all readings.
    QByteArray file(ID);
    int count = 0;
    while (file.size() < 262000)
    {
        ++count;
        file += "[" + QByteArray::number(100000 + count % 140000).right(6) + "]," +
                QByteArray::number(count) + ",2" + QByteArray::number(count % 10) + ".5\n";
    }
    QElapsedTimer timer;
    timer.start();
    TMeasureTemperature record;
    QVERIFY(record.Load_Data(file));
    const QStringList report = record.Text_Report();
    const std::vector<std::vector<TVector2>> graph = record.Graph_Data();
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(int(record.Sensor_Ids().size()), count);
    QCOMPARE(report.size(), 3 + 7 * count);
    QCOMPARE(int(graph.size()), count);
    QVERIFY2(elapsed < 5000, qPrintable(QStringLiteral("%1 ms for %2 readings").arg(elapsed).arg(count)));
}

void TestTemperature::example_report()
{
    const TMeasurementLoad load = MeasurementLoad::Load_File(
        MeasureChecks::Source_Path(QStringLiteral("examples/temperature_machine_day.dat")), nullptr);
    QVERIFY(load.Succeeded());
    QCOMPARE(load.contents, TMeasureData::CONTENTS_TEMPERATURE);
    MeasureChecks::Compare_Lines(load.report_lines, MeasureChecks::Read_Lines(QStringLiteral(
                                                        "tests/data/golden/temperature_machine_day.txt")));
    // Six sensors, a reading every ten minutes from seven to five.
    QCOMPARE(int(load.graph_data.size()), 6);
    for (const std::vector<TVector2> &curve : load.graph_data)
    {
        QCOMPARE(int(curve.size()), 61);
        QVERIFY(curve.front().x >= 7.0 && curve.front().x < 7.01);
        QVERIFY(curve.back().x >= 17.0 && curve.back().x < 17.01);
    }
}

void TestTemperature::damaged_files()
{
    MeasureChecks::Check_Damaged_Input(
        MeasureChecks::Read_Bytes(QStringLiteral("examples/temperature_machine_day.dat")),
        {QString::fromLatin1(ID_MESSAGE), QString::fromLatin1(MISSING_MESSAGE)});
}

QTEST_GUILESS_MAIN(TestTemperature)
#include "tst_temperature.moc"
