#include "measure_checks.h"
#include "measure_files.h"
#include "measuredata_stepgaugeb89.h"
#include "nominalstore.h"

namespace
{
const char IDENTIFICATION[] = "B89.4.1_Raw_Measurement:Version=1:Type=Step_Gauge";
const char DATA_MISSING[] = "Data missing from measurement file.";
const char NOMINAL_NOT_FOUND[] =
    "Nominal data not found.  Possible wrong reference step position or measurement "
    "error exceeds maximum allowed.";

// A complete file around the given measurement lines (placed after the reference step).
QStringList File_Lines(const QStringList &measurement)
{
    QStringList lines = {
        QLatin1String(IDENTIFICATION),           QStringLiteral("Equipment_Identification:SG-TEST"),
        QStringLiteral("Probe_Offset:0,0,-100"), QStringLiteral("Probe_Vector:0,0,1"),
        QStringLiteral("Scales_Begin:"),         QStringLiteral("X_Expansion_Coefficient:11.5"),
        QStringLiteral("Scales_End:"),           QStringLiteral("Alignment_Begin:"),
        QStringLiteral("X_Axis:1,0,0"),          QStringLiteral("Alignment_End:"),
        QStringLiteral("Temperature_Begin:"),    QStringLiteral("Gauge:20.1"),
        QStringLiteral("Temperature_End:"),      QStringLiteral("Measurement_Begin:"),
        QStringLiteral("Description:test"),      QStringLiteral("Reference_Step_Position:10")};
    lines += measurement;
    lines += QStringLiteral("Measurement_End::");
    return lines;
}

QByteArray File_With(const QStringList &measurement)
{
    return MeasureFiles::File(File_Lines(measurement));
}

QByteArray File_Without(const QString &line_start)
{
    return MeasureFiles::File(
        MeasureFiles::Without(File_Lines({QStringLiteral("Point:1,0,0,0")}), line_start));
}

QStringList Point_Lines(const std::vector<double> &positions)
{
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        lines += QStringLiteral("Point:%1,%2,0.001,-0.001").arg(i + 1).arg(positions[i], 0, 'f', 5);
    }
    return lines;
}

std::vector<double> Actuals(const TMeasureStepgaugeB89 &record)
{
    std::vector<double> values;
    for (const auto &point : record.Points())
    {
        values.push_back(point.actual);
    }
    return values;
}

std::vector<double> Nominals(const TMeasureStepgaugeB89 &record)
{
    std::vector<double> values;
    for (const auto &point : record.Points())
    {
        values.push_back(point.nominal);
    }
    return values;
}

const char EXAMPLE[] = "examples/stepgauge_b89_x_axis.dat";
} // namespace

class TStepgaugeB89Test : public QObject
{
    Q_OBJECT

  private slots:
    void Load_data();
    void Load();
    void Set_Nominal_Data_data();
    void Set_Nominal_Data();
    void Graph_Data_data();
    void Graph_Data();
    void Example_Report();
    void Damaged_Files();
    void Large_File();
};

void TStepgaugeB89Test::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<double>>("positions");

    QTest::newRow("three points") << File_With(Point_Lines({0, 100, 200})) << QString()
                                  << std::vector<double>{0, 100, 200};
    QTest::newRow("no points") << File_With({}) << QString() << std::vector<double>{};
    QTest::newRow("second part is the position")
        << File_With({QStringLiteral("Point:7, 250.125 ,x,y")}) << QString() << std::vector<double>{250.125};
    QTest::newRow("wrong part counts ignored")
        << File_With({QStringLiteral("Point:1,1,50.0,0,0"), QStringLiteral("Point:1,60.0,0"),
                      QStringLiteral("Point:1,70.0,0,0,"), QStringLiteral("Point:2,80.0,0,0")})
        << QString() << std::vector<double>{80.0};
    QTest::newRow("empty parts kept")
        << File_With({QStringLiteral("Point:,,,")}) << QString() << std::vector<double>{0.0};
    QTest::newRow("non-finite positions read as zero")
        << File_With({QStringLiteral("Point:1,nan,0,0"), QStringLiteral("Point:2,inf,0,0"),
                      QStringLiteral("Point:3,1e999,0,0"), QStringLiteral("Point:4,abc,0,0")})
        << QString() << std::vector<double>{0, 0, 0, 0};

    QStringList outside = File_Lines(Point_Lines({5}));
    outside.insert(outside.size() - 1, QStringLiteral("Alignment_Begin:"));
    outside.insert(outside.size() - 1, QStringLiteral("Point:9,99,0,0"));
    outside.insert(outside.size() - 1, QStringLiteral("Alignment_End:"));
    outside.append(QStringLiteral("Point:10,100,0,0"));
    QTest::newRow("points outside the measurement section ignored")
        << MeasureFiles::File(outside) << QString() << std::vector<double>{5};

    QStringList reopened = File_Lines(Point_Lines({5}));
    reopened.append(QStringLiteral("MEASUREMENT_BEGIN:"));
    reopened.append(QStringLiteral("Measurement_Begin:"));
    reopened.append(QStringLiteral("Point:2,6,0,0"));
    reopened.append(QStringLiteral("Measurement_End:"));
    reopened.append(QStringLiteral("Point:3,7,0,0"));
    QTest::newRow("repeated marker reopens, one-colon end does not close")
        << MeasureFiles::File(reopened) << QString() << std::vector<double>{5, 6, 7};

    QStringList commented = File_Lines(Point_Lines({1}));
    commented.prepend(QStringLiteral("   "));
    commented.prepend(QStringLiteral("# written by the measuring software"));
    QTest::newRow("comments and blank lines before identification")
        << MeasureFiles::File(commented) << QString() << std::vector<double>{1};

    QStringList five_gauge = File_Lines({});
    five_gauge[0] = QStringLiteral("B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge");
    QTest::newRow("other step gauge identification")
        << MeasureFiles::File(five_gauge) << "Stepgauge identification line not recognized"
        << std::vector<double>{};
    QTest::newRow("empty file") << QByteArray() << "Stepgauge identification line not recognized"
                                << std::vector<double>{};

    QTest::newRow("probe offset separated by blanks")
        << File_With({QStringLiteral("Probe_Offset:1 2 3")}) << "Probe offset data not recognized."
        << std::vector<double>{};
    QStringList axis = File_Lines({});
    axis.insert(8, QStringLiteral("Y_Axis:0,1"));
    QTest::newRow("alignment axis with two values")
        << MeasureFiles::File(axis) << "Y Alignment data not recognized." << std::vector<double>{};

    const char *const required[] = {
        "Equipment_Identification:", "Probe_Offset:",      "Probe_Vector:",      "Scales_Begin:",
        "Alignment_Begin:",          "Temperature_Begin:", "Measurement_Begin:", "Description:",
        "Reference_Step_Position:"};
    for (const char *line_start : required)
    {
        QTest::newRow(qPrintable(QStringLiteral("without %1").arg(QLatin1String(line_start))))
            << File_Without(QLatin1String(line_start)) << DATA_MISSING << std::vector<double>{};
    }
    QTest::newRow("thermal records are not required")
        << File_Without(QStringLiteral("X_Expansion")) << QString() << std::vector<double>{0};
}

void TStepgaugeB89Test::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(std::vector<double>, positions);

    TMeasureStepgaugeB89 record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_STEPGAUGE_B89));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    if (message.isEmpty())
    {
        QCOMPARE(Actuals(record), positions);
        // Before nominal data every nominal equals its measured position.
        QCOMPARE(Nominals(record), positions);
    }
}

void TStepgaugeB89Test::Set_Nominal_Data_data()
{
    QTest::addColumn<std::vector<double>>("positions");
    QTest::addColumn<std::vector<double>>("nominal_values");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<std::vector<double>>("nominals");

    // The reference step is 10: a position p is looked up at p + 10.
    QTest::newRow("matched in any order")
        << std::vector<double>{0.0004, 100.0011, 199.9990} << std::vector<double>{210.0002, 10.0, 110.0003}
        << true << std::vector<double>{0, 100.0003, 200.0002};
    QTest::newRow("first within 2.0 wins, not the nearest")
        << std::vector<double>{250.5} << std::vector<double>{258.6, 260.0} << true
        << std::vector<double>{248.6};
    QTest::newRow("2.1 away is no match") << std::vector<double>{250.5} << std::vector<double>{258.4, 260.0}
                                          << true << std::vector<double>{250.0};
    QTest::newRow("exactly 2.0 matches")
        << std::vector<double>{100.0} << std::vector<double>{112.0} << true << std::vector<double>{102.0};
    QTest::newRow("third point unmatched")
        << std::vector<double>{0.0, 50.0, 75.0, 100.0} << std::vector<double>{10.001, 60.002, 110.0} << false
        << std::vector<double>{0.001, 50.002, 75.0, 100.0};
    QTest::newRow("empty nominal list")
        << std::vector<double>{0.0} << std::vector<double>{} << false << std::vector<double>{0.0};
    QTest::newRow("no points") << std::vector<double>{} << std::vector<double>{} << true
                               << std::vector<double>{};
}

void TStepgaugeB89Test::Set_Nominal_Data()
{
    QFETCH(std::vector<double>, positions);
    QFETCH(std::vector<double>, nominal_values);
    QFETCH(bool, ok);
    QFETCH(std::vector<double>, nominals);

    TMeasureStepgaugeB89 record;
    QVERIFY(record.Load_Data(File_With(Point_Lines(positions))));
    QCOMPARE(record.Set_Nominal_Data(nominal_values), ok);
    QCOMPARE(record.last_error, ok ? QString() : QLatin1String(NOMINAL_NOT_FOUND));
    const std::vector<double> result = Nominals(record);
    QCOMPARE(result.size(), nominals.size());
    for (size_t i = 0; i < result.size(); ++i)
    {
        QVERIFY2(qAbs(result[i] - nominals[i]) < 1e-9, qPrintable(QString::number(result[i], 'f', 6)));
    }
    QCOMPARE(Actuals(record), positions);
}

void TStepgaugeB89Test::Graph_Data_data()
{
    QTest::addColumn<std::vector<double>>("positions");
    QTest::addColumn<std::vector<int>>("curve_sizes");

    QTest::newRow("two runs") << std::vector<double>{0, 100, 200, 0, 100, 200} << std::vector<int>{3, 3};
    QTest::newRow("equal positions continue")
        << std::vector<double>{0, 100, 100, 50} << std::vector<int>{3, 1};
    QTest::newRow("every step back") << std::vector<double>{30, 20, 10} << std::vector<int>{1, 1, 1};
    QTest::newRow("no points") << std::vector<double>{} << std::vector<int>{};
}

void TStepgaugeB89Test::Graph_Data()
{
    QFETCH(std::vector<double>, positions);
    QFETCH(std::vector<int>, curve_sizes);

    TMeasureStepgaugeB89 record;
    QVERIFY(record.Load_Data(File_With(Point_Lines(positions))));
    // Nominals 1 µm above every step: each graph point is (actual, -0.001).
    std::vector<double> nominal_values;
    for (const double position : positions)
    {
        nominal_values.push_back(position + 10.001);
    }
    QVERIFY(record.Set_Nominal_Data(nominal_values));

    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(static_cast<int>(curves.size()), static_cast<int>(curve_sizes.size()));
    size_t next = 0;
    for (size_t c = 0; c < curves.size(); ++c)
    {
        QCOMPARE(static_cast<int>(curves[c].size()), curve_sizes[c]);
        for (const TVector2 &point : curves[c])
        {
            QCOMPARE(point.x, positions[next++]);
            QVERIFY(qAbs(point.y + 0.001) < 1e-9);
        }
    }
}

void TStepgaugeB89Test::Example_Report()
{
    // The example gauge's certified positions are shipped with the examples.
    TNominalStore nominals;
    nominals.Initialize(MeasureChecks::Source_Path(QStringLiteral("examples")));
    const TMeasurementLoad load =
        MeasurementLoad::Load_File(MeasureChecks::Source_Path(QLatin1String(EXAMPLE)), &nominals);
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QCOMPARE(load.contents, TMeasureData::CONTENTS_STEPGAUGE_B89);
    MeasureChecks::Compare_Lines(load.report_lines, MeasureChecks::Read_Lines(QStringLiteral(
                                                        "tests/data/golden/stepgauge_b89_x_axis.txt")));

    // Two runs along the gauge, 21 steps each.
    QCOMPARE(load.graph_data.size(), size_t(2));
    QCOMPARE(load.graph_data[0].size(), size_t(21));
    QCOMPARE(load.graph_data[1].size(), size_t(21));
}

void TStepgaugeB89Test::Damaged_Files()
{
    MeasureChecks::Check_Damaged_Input(MeasureChecks::Read_Bytes(QLatin1String(EXAMPLE)),
                                       {QLatin1String(DATA_MISSING),
                                        QStringLiteral("Stepgauge identification line not recognized"),
                                        QStringLiteral("Probe offset data not recognized."),
                                        QStringLiteral("Probe vector data not recognized."),
                                        QStringLiteral("X Alignment data not recognized."),
                                        QStringLiteral("Y Alignment data not recognized."),
                                        QStringLiteral("Z Alignment data not recognized."),
                                        QStringLiteral("Alignment translation data not recognized.")});
}

void TStepgaugeB89Test::Large_File()
{
    // Runs of 27 steps: every point is one report line.
    const QStringList head = File_Lines({});
    const int fixed_lines = [&head]
    {
        TMeasureStepgaugeB89 empty;
        empty.Load_Data(MeasureFiles::File(head));
        return static_cast<int>(empty.Text_Report().size());
    }();
    MeasureChecks::Check_Large_File(
        MeasureFiles::File(head.mid(0, head.size() - 1)),
        [](int i)
        { return QStringLiteral("Point:%1,%2,0.001,-0.001\n").arg(i).arg((i * 37) % 1000).toLatin1(); },
        "Measurement_End::\n", fixed_lines);
}

QTEST_GUILESS_MAIN(TStepgaugeB89Test)

#include "tst_stepgaugeb89.moc"
