#include "measure_checks.h"
#include "measure_files.h"
#include "measuredata_gaugeblock.h"

namespace
{
const char IDENTIFICATION[] = "B89.4.10360_Raw_Measurement:Version=1:Type=Single_Gauge";
const char IDENTIFICATION_MESSAGE[] = "Gauge block identification line not recognized";
const char DATA_MISSING[] = "Data missing from measurement file.";
const char EXAMPLE[] = "examples/gaugeblock_500mm_x_axis.dat";

QStringList Six_Points()
{
    return {QStringLiteral("Point:1,1,10.000,0,0"), QStringLiteral("Point:2,1,35.002,0,0"),
            QStringLiteral("Point:3,2,10.001,0,0"), QStringLiteral("Point:4,2,35.001,0,0"),
            QStringLiteral("Point:5,3,9.999,0,0"),  QStringLiteral("Point:6,3,35.003,0,0")};
}

QStringList File_Lines(const QStringList &measurement)
{
    QStringList lines = {
        QLatin1String(IDENTIFICATION),           QStringLiteral("Equipment_Identification: GB-25"),
        QStringLiteral("Probe_Offset:0,0,-100"), QStringLiteral("Probe_Vector:0,0,1"),
        QStringLiteral("Scales_Begin:"),         QStringLiteral("Scales_End:"),
        QStringLiteral("Alignment_Begin:"),      QStringLiteral("Alignment_End:"),
        QStringLiteral("Temperature_Begin:"),    QStringLiteral("Temperature_End:"),
        QStringLiteral("Measurement_Begin:"),    QStringLiteral("Description:25 mm block"),
        QStringLiteral("Datum_Flatness:0.00031")};
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
    return MeasureFiles::File(MeasureFiles::Without(File_Lines(Six_Points()), line_start));
}
} // namespace

class TGaugeblockTest : public QObject
{
    Q_OBJECT

  private slots:
    void Load_data();
    void Load();
    void Report_Lengths();
    void Report_Of_Empty_Record();
    void No_Nominals_Or_Graph();
    void Example_Report();
    void Damaged_Files();
};

void TGaugeblockTest::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<double>>("lengths");
    QTest::addColumn<double>("flatness");

    QTest::newRow("three lengths") << File_With(Six_Points()) << QString()
                                   << std::vector<double>{25.002, 25.000, 25.004} << 0.00031;

    QStringList five = Six_Points();
    five.removeLast();
    QTest::newRow("five points") << File_With(five) << DATA_MISSING << std::vector<double>{} << 0.00031;
    QTest::newRow("seven points") << File_With(Six_Points() + QStringList(QStringLiteral("Point:7,3,1,0,0")))
                                  << DATA_MISSING << std::vector<double>{} << 0.00031;
    QTest::newRow("wrong part counts ignored")
        << File_With(Six_Points() +
                     QStringList({QStringLiteral("Point:7,50,0,0"), QStringLiteral("Point:8,1,50,0,0,0")}))
        << QString() << std::vector<double>{25.002, 25.000, 25.004} << 0.00031;

    QTest::newRow("reference step does not replace the flatness")
        << File_With(Six_Points() + QStringList(QStringLiteral("Reference_Step_Position:10"))) << QString()
        << std::vector<double>{25.002, 25.000, 25.004} << 0.00031;
    QTest::newRow("reference step is no flatness")
        << MeasureFiles::File(File_Lines(Six_Points())
                                  .replaceInStrings(QStringLiteral("Datum_Flatness:"),
                                                    QStringLiteral("Reference_Step_Position:")))
        << DATA_MISSING << std::vector<double>{} << 0.0;

    QStringList flatness_outside = File_Lines(Six_Points());
    flatness_outside.removeAt(12);
    flatness_outside.append(QStringLiteral("Datum_Flatness:0.0002"));
    QTest::newRow("flatness outside the measurement section")
        << MeasureFiles::File(flatness_outside) << DATA_MISSING << std::vector<double>{} << 0.0;

    QStringList nested = File_Lines(Six_Points());
    nested.insert(13, QStringLiteral("Temperature_Begin:"));
    nested.insert(17, QStringLiteral("Temperature_End:"));
    QTest::newRow("points while two sections are open are ignored")
        << MeasureFiles::File(nested) << DATA_MISSING << std::vector<double>{} << 0.00031;

    QStringList five_gauge = File_Lines(Six_Points());
    five_gauge[0] = QStringLiteral("B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge");
    QTest::newRow("step gauge identification")
        << MeasureFiles::File(five_gauge) << IDENTIFICATION_MESSAGE << std::vector<double>{} << 0.0;
    QStringList late = File_Lines(Six_Points());
    late.prepend(QStringLiteral("Gauge block measurement"));
    QTest::newRow("text before identification")
        << MeasureFiles::File(late) << IDENTIFICATION_MESSAGE << std::vector<double>{} << 0.0;
    QTest::newRow("probe offset with two values")
        << File_With({QStringLiteral("Probe_Offset:0,0")}) << "Probe offset data not recognized."
        << std::vector<double>{} << 0.00031;

    const char *const required[] = {"Equipment_Identification:",
                                    "Probe_Offset:",
                                    "Probe_Vector:",
                                    "Scales_Begin:",
                                    "Alignment_Begin:",
                                    "Temperature_Begin:",
                                    "Measurement_Begin:",
                                    "Description:",
                                    "Datum_Flatness:"};
    for (const char *line_start : required)
    {
        QTest::newRow(qPrintable(QStringLiteral("without %1").arg(QLatin1String(line_start))))
            << File_Without(QLatin1String(line_start)) << DATA_MISSING << std::vector<double>{} << 0.0;
    }
}

void TGaugeblockTest::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(std::vector<double>, lengths);
    QFETCH(double, flatness);

    TMeasureGaugeblock record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_GAUGEBLOCK));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    if (message.isEmpty())
    {
        QCOMPARE(record.Datum_Flatness(), flatness);
    }
    QCOMPARE(record.Lengths().size(), lengths.size());
    for (size_t i = 0; i < lengths.size(); ++i)
    {
        QVERIFY(qAbs(record.Lengths()[i] - lengths[i]) < 1e-9);
    }
}

void TGaugeblockTest::Report_Lengths()
{
    TMeasureGaugeblock record;
    QVERIFY(record.Load_Data(File_With(Six_Points())));
    const QStringList report = record.Text_Report();
    QCOMPARE(report.mid(report.size() - 10),
             QStringList({QString(44, QLatin1Char('-')), QString(), QStringLiteral("     Actual"), QString(),
                          QStringLiteral("     25.0020"), QStringLiteral("     25.0000"),
                          QStringLiteral("     25.0040"), QString(), QStringLiteral("Mean:"),
                          QStringLiteral("     25.0020 mm")}));
    QVERIFY(report.contains(QStringLiteral("  Datum Flatness: 0.0003 mm")));
    // The equipment text keeps the blank written after the colon.
    QVERIFY(report.contains(QStringLiteral("  Equipment:  GB-25")));
}

void TGaugeblockTest::Report_Of_Empty_Record()
{
    const TMeasureGaugeblock record;
    const QStringList report = record.Text_Report();
    QCOMPARE(report.first(), QStringLiteral("ASME B89.4.10360 Gauge Block Measurement"));
    QCOMPARE(report.mid(report.size() - 5),
             QStringList({QStringLiteral("Measurement Lengths"), QString(44, QLatin1Char('-')), QString(),
                          QStringLiteral("     Actual"), QString()}));
}

void TGaugeblockTest::No_Nominals_Or_Graph()
{
    TMeasureGaugeblock record;
    QVERIFY(record.Load_Data(File_With(Six_Points())));
    QVERIFY(record.Equipment_Identification().isEmpty());
    QVERIFY(!record.Set_Nominal_Data({10.0, 35.0}));
    QVERIFY(record.Graph_Data().empty());
    QCOMPARE(record.Lengths().size(), size_t(3));
}

void TGaugeblockTest::Example_Report()
{
    MeasureChecks::Check_Golden_Report(QLatin1String(EXAMPLE),
                                       QStringLiteral("tests/data/golden/gaugeblock_500mm_x_axis.txt"),
                                       TMeasureData::CONTENTS_GAUGEBLOCK);
}

void TGaugeblockTest::Damaged_Files()
{
    MeasureChecks::Check_Damaged_Input(MeasureChecks::Read_Bytes(QLatin1String(EXAMPLE)),
                                       {QLatin1String(DATA_MISSING), QLatin1String(IDENTIFICATION_MESSAGE),
                                        QStringLiteral("Probe offset data not recognized."),
                                        QStringLiteral("Probe vector data not recognized."),
                                        QStringLiteral("X Alignment data not recognized."),
                                        QStringLiteral("Y Alignment data not recognized."),
                                        QStringLiteral("Z Alignment data not recognized."),
                                        QStringLiteral("Alignment translation data not recognized.")});
}

QTEST_GUILESS_MAIN(TGaugeblockTest)

#include "tst_gaugeblock.moc"
