// The five-gauge step gauge record: loading, completeness, nominal matching, report and graph.

#include "measuredata_stepgauge10360.h"

#include <QtTest>

namespace
{
const QString EXAMPLE = QStringLiteral(QUILLON_SOURCE_DIR "/examples/stepgauge_10360_x_front.dat");
const QString GOLDEN = QStringLiteral(QUILLON_SOURCE_DIR "/tests/data/golden/stepgauge_10360_x_front.txt");
const QString NOT_FOUND = QStringLiteral("Nominal data not found.  Possible wrong reference step position or "
                                         "measurement error exceeds maximum allowed.");
const QString MISSING = QStringLiteral("Data missing from measurement file.");

QByteArray Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        qFatal("cannot read %s", qPrintable(path));
    }
    return file.readAll();
}

QList<QByteArray> Example_Lines()
{
    return Read(EXAMPLE).split('\n');
}

QByteArray Join(const QList<QByteArray> &lines)
{
    return lines.join('\n');
}

// The example without its first line that begins with the prefix.
QByteArray Without(const QByteArray &prefix)
{
    QList<QByteArray> lines = Example_Lines();
    for (int i = 0; i < lines.size(); ++i)
    {
        if (lines[i].startsWith(prefix))
        {
            lines.removeAt(i);
            break;
        }
    }
    return Join(lines);
}

// The example with the first line that begins with the prefix replaced.
QByteArray Replaced(const QByteArray &prefix, const QByteArray &line)
{
    QList<QByteArray> lines = Example_Lines();
    for (QByteArray &text : lines)
    {
        if (text.startsWith(prefix))
        {
            text = line;
            break;
        }
    }
    return Join(lines);
}

// The example with lines inserted before its first line that begins with the prefix.
QByteArray Inserted(const QByteArray &before, const QByteArray &text)
{
    QList<QByteArray> lines = Example_Lines();
    for (int i = 0; i < lines.size(); ++i)
    {
        if (lines[i].startsWith(before))
        {
            lines.insert(i, text);
            break;
        }
    }
    return Join(lines);
}

// Certified absolute step positions of the example gauge.
std::vector<double> Certified()
{
    return {10.0, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};
}
} // namespace

class TestStepgauge10360 : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Golden_Report();
    void Load_Failures_data();
    void Load_Failures();
    void Loads_Variants_data();
    void Loads_Variants();
    void Get_Nominal_data();
    void Get_Nominal();
    void Nominal_Matching();
    void Nominal_Matching_Stops_At_First_Miss();
    void Graph();
    void Report_Of_Empty_Record();
};

void TestStepgauge10360::Golden_Report()
{
    TMeasureStepgauge10360 record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_STEPGAUGE_10360));
    QVERIFY2(record.Load_Data(Read(EXAMPLE)), qPrintable(record.last_error));
    QCOMPARE(record.Equipment_Identification(), QStringLiteral("1020-4471"));

    QStringList golden = QString::fromUtf8(Read(GOLDEN)).split(QLatin1Char('\n'));
    golden.removeLast(); // the file ends with a newline
    const QStringList report = record.Text_Report();
    QCOMPARE(report.size(), golden.size());
    for (int i = 0; i < report.size(); ++i)
    {
        QCOMPARE(report[i], golden[i]);
    }
}

void TestStepgauge10360::Load_Failures_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("message");

    QTest::newRow("gauge block identification")
        << Replaced("B89.4.10360", "B89.4.10360_Raw_Measurement:Version=1:Type=Single_Gauge")
        << "Stepgauge identification line not recognized";
    QTest::newRow("identification in lower case")
        << Replaced("B89.4.10360", "b89.4.10360_raw_measurement:version=2:type=five_gauge")
        << "Stepgauge identification line not recognized";
    QTest::newRow("empty data") << QByteArray() << "Stepgauge identification line not recognized";

    const char *const required[] = {
        "Equipment_Identification:", "Alignment_Begin:", "Description:",  "Scales_Begin:",
        "Temperature_Begin:",        "Probe_Offset:",    "Probe_Vector:", "Reference_Step_Position:",
        "Measurement_Begin:"};
    for (const char *key : required)
    {
        QTest::addRow("without %s", key) << Without(key) << MISSING;
    }
    QTest::newRow("marker with a word after it")
        << Replaced("Scales_Begin:", "Scales_Begin: X Y Z") << MISSING;
    QTest::newRow("35 points") << Without("Point:36,") << MISSING;
    QTest::newRow("37 points") << Inserted("Measurement_End::", "Point:37,1,1.0,0,0") << MISSING;
    QTest::newRow("point of four parts") << Replaced("Point:36,", "Point:36,3,999.9") << MISSING;
    QTest::newRow("point of six parts") << Replaced("Point:36,", "Point:36,3,999.9,0,0,0") << MISSING;
    // A single colon does not close the Measurement section, so the point after it still counts.
    QTest::newRow("one-colon closing marker")
        << Inserted("Measurement_End::", "Measurement_End:\nPoint:37,1,1.0,0,0") << MISSING;

    QTest::newRow("offset separated by blanks")
        << Replaced("Probe_Offset:", "Probe_Offset:1.5 -2 3") << "Probe offset data not recognized.";
    QTest::newRow("vector of two values")
        << Replaced("Probe_Vector:", "Probe_Vector:0,1") << "Probe vector data not recognized.";
    QTest::newRow("x axis of four values")
        << Replaced("X_Axis:", "X_Axis:1,0,0,0") << "X Alignment data not recognized.";
    QTest::newRow("y axis empty") << Replaced("Y_Axis:", "Y_Axis:") << "Y Alignment data not recognized.";
    QTest::newRow("z axis of one value")
        << Replaced("Z_Axis:", "Z_Axis:1") << "Z Alignment data not recognized.";
    QTest::newRow("translation by semicolons")
        << Replaced("Translation:", "Translation:1;2;3") << "Alignment translation data not recognized.";
}

void TestStepgauge10360::Load_Failures()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, message);
    TMeasureStepgauge10360 record;
    QVERIFY(!record.Load_Data(data));
    QCOMPARE(record.last_error, message);
}

void TestStepgauge10360::Loads_Variants_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("line"); // a report line that must be present
    QTest::addColumn<QString>("equipment");

    const QString alignment_x = QStringLiteral("  X Axis:  0.999999812,  0.000612443,  0.000000000");
    QTest::newRow("example") << Read(EXAMPLE) << alignment_x << "1020-4471";
    QTest::newRow("comments and empty lines before the identification")
        << "\n  \n# exported by the measuring software\n" + Read(EXAMPLE) << alignment_x << "1020-4471";
    QTest::newRow("crlf line ends") << Read(EXAMPLE).replace("\n", "\r\n") << alignment_x << "1020-4471";
    QTest::newRow("markers in other letter case") << Read(EXAMPLE)
                                                         .replace("Scales_Begin:", "SCALES_BEGIN:")
                                                         .replace("Measurement_End::", "measurement_end::")
                                                  << alignment_x << "1020-4471";
    QTest::newRow("keys in lower case")
        << Replaced("Equipment_Identification:", "equipment_identification:1020-4471") << alignment_x
        << "1020-4471";
    QTest::newRow("blank after the colon stays in the value")
        << Replaced("Equipment_Identification:", "Equipment_Identification: 1020-4471") << alignment_x
        << " 1020-4471";
    QTest::newRow("no X scale temperature")
        << Without("X_Scale:") << QStringLiteral("  X Axis: 0.00 %1C").arg(QChar(0x02DA)) << "1020-4471";
    QTest::newRow("extra point of six parts ignored")
        << Inserted("Measurement_End::", "Point:37,1,1.0,0,0,0") << alignment_x << "1020-4471";
    QTest::newRow("point after the closing marker ignored") << Read(EXAMPLE) + "Point:37,1,1.0,0,0\n"
                                                            << alignment_x << "1020-4471";
    QTest::newRow("x axis outside the alignment is ignored")
        << Inserted("Measurement_Begin:", "X_Axis:5,5,5") << alignment_x << "1020-4471";
    // Inside Alignment while Temperature is open too, the record belongs to no section.
    QTest::newRow("x axis with two sections open")
        << Replaced("Alignment_End:", "Temperature_Begin:\nX_Axis:5,5,5\nTemperature_End:\nAlignment_End:")
        << alignment_x << "1020-4471";
    QTest::newRow("numbers that are not numbers read as zero")
        << Replaced("Probe_Offset:", "Probe_Offset:nan,inf,1e999")
        << QStringLiteral("  Offset:       0.0000,       0.0000,       0.0000") << "1020-4471";
}

void TestStepgauge10360::Loads_Variants()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, line);
    QFETCH(QString, equipment);
    TMeasureStepgauge10360 record;
    QVERIFY2(record.Load_Data(data), qPrintable(record.last_error));
    QVERIFY2(record.Text_Report().contains(line), qPrintable(record.Text_Report().join(QLatin1Char('\n'))));
    QCOMPARE(record.Equipment_Identification(), equipment);
    QCOMPARE(record.Points().size(), size_t(36));
    QCOMPARE(record.Lengths().size(), size_t(18));
}

void TestStepgauge10360::Get_Nominal_data()
{
    QTest::addColumn<double>("position");
    QTest::addColumn<std::vector<double>>("nominals");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("nominal");

    QTest::newRow("2.1 away is no match") << 260.5 << std::vector<double>{258.4, 260.0} << true << 260.0;
    QTest::newRow("first within 2.0 wins") << 260.5 << std::vector<double>{258.6, 260.0} << true << 258.6;
    QTest::newRow("exactly 2.0 matches") << 260.5 << std::vector<double>{262.5} << true << 262.5;
    QTest::newRow("exactly 2.0 below matches") << 260.5 << std::vector<double>{258.5} << true << 258.5;
    QTest::newRow("none") << 260.5 << std::vector<double>{100.0, 300.0} << false << 0.0;
    QTest::newRow("empty list") << 0.0 << std::vector<double>{} << false << 0.0;
}

void TestStepgauge10360::Get_Nominal()
{
    QFETCH(double, position);
    QFETCH(std::vector<double>, nominals);
    QFETCH(bool, valid);
    QFETCH(double, nominal);
    bool found = !valid;
    QCOMPARE(TMeasureStepgauge10360::Get_Nominal(position, nominals, &found), nominal);
    QCOMPARE(found, valid);
}

void TestStepgauge10360::Nominal_Matching()
{
    TMeasureStepgauge10360 record;
    QVERIFY(record.Load_Data(Read(EXAMPLE)));
    const std::vector<TMeasureStepgauge10360::TLengthData> as_loaded = record.Lengths();

    for (int repeat = 0; repeat < 2; ++repeat) // matching again gives the same result
    {
        QVERIFY2(record.Set_Nominal_Data(Certified()), qPrintable(record.last_error));
        const std::vector<double> certified = Certified();
        const double steps[] = {100.0, 200.0, 400.0, 600.0, 800.0, 1000.0};
        const double certified_lengths[] = {100.00031, 200.00012, 399.99978, 600.00044, 800.00019, 999.99962};
        for (int i = 0; i < 18; ++i)
        {
            const auto &length = record.Lengths()[size_t(i)];
            QCOMPARE(length.actual, as_loaded[size_t(i)].actual);
            QVERIFY2(qAbs(length.nominal - certified_lengths[i / 3]) < 1e-9,
                     qPrintable(QString::number(steps[i / 3])));
        }
    }
    // The report now shows deviations from the certified lengths.
    const QStringList report = record.Text_Report();
    const auto &first = record.Lengths().front();
    QCOMPARE(report[report.size() - 18], QStringLiteral("%1  %2  %3")
                                             .arg(first.nominal, 12, 'f', 4)
                                             .arg(first.actual, 12, 'f', 4)
                                             .arg(first.actual - first.nominal, 12, 'f', 4));
    QVERIFY(report[report.size() - 18].startsWith(QStringLiteral("    100.0003")));
}

void TestStepgauge10360::Nominal_Matching_Stops_At_First_Miss()
{
    TMeasureStepgauge10360 record;
    QVERIFY(record.Load_Data(Read(EXAMPLE)));
    const std::vector<TMeasureStepgauge10360::TLengthData> as_loaded = record.Lengths();

    // Only steps 0 and 100 are certified: the first seven points match, the eighth (near 200) does not.
    QVERIFY(!record.Set_Nominal_Data({10.0, 110.00031}));
    QCOMPARE(record.last_error, NOT_FOUND);
    for (size_t i = 0; i < 7; ++i)
    {
        const double expected = (i % 2 == 0) ? 0.0 : 100.00031;
        QVERIFY(qAbs(record.Points()[i].nominal - expected) < 1e-9);
    }
    QCOMPARE(record.Points()[7].nominal, record.Points()[7].actual);
    // The lengths are not rebuilt after a miss.
    for (size_t i = 0; i < 18; ++i)
    {
        QCOMPARE(record.Lengths()[i].nominal, as_loaded[i].nominal);
    }
}

void TestStepgauge10360::Graph()
{
    TMeasureStepgauge10360 record;
    QVERIFY(record.Graph_Data().empty());
    QVERIFY(record.Load_Data(Read(EXAMPLE)));
    QVERIFY(record.Set_Nominal_Data(Certified()));

    const auto curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(3));
    for (size_t repeat = 0; repeat < 3; ++repeat)
    {
        QCOMPARE(curves[repeat].size(), size_t(6));
        for (size_t group = 0; group < 6; ++group)
        {
            const auto &length = record.Lengths()[3 * group + repeat];
            QCOMPARE(curves[repeat][group].x, record.Lengths()[3 * group].actual);
            QCOMPARE(curves[repeat][group].y, length.actual - length.nominal);
        }
    }
    // Deviations of the example are a few micrometres, positive and growing with length.
    QVERIFY(curves[0][0].y > 0.0 && curves[0][0].y < 0.005);
}

void TestStepgauge10360::Report_Of_Empty_Record()
{
    const QStringList report = TMeasureStepgauge10360().Text_Report();
    QCOMPARE(report.last(), QString());
    QCOMPARE(report[report.size() - 2], QStringLiteral("     Nominal        Actual      Deviation"));
    QVERIFY(report.contains(QStringLiteral("  Ref. Step: 0.000 mm")));
}

QTEST_APPLESS_MAIN(TestStepgauge10360)
#include "tst_stepgauge10360.moc"
