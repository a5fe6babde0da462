#include "measure_checks.h"
#include "measure_files.h"
#include "measuredata_stepgaugesquare.h"
#include "nominalstore.h"

namespace
{
const char IDENTIFICATION[] = "Stepgauge_Raw_Measurement:Version=1:Type=Squareness";
const char DATA_MISSING[] = "Data missing from measurement file.";

QStringList File_Lines(const QStringList &measurement)
{
    QStringList lines = {
        QLatin1String(IDENTIFICATION),           QStringLiteral("Equipment_Identification:SQ-TEST"),
        QStringLiteral("Probe_Offset:0,0,-100"), QStringLiteral("Probe_Vector:0,0,1"),
        QStringLiteral("Alignment_Begin:"),      QStringLiteral("X_Axis:0.707106781,0.707106781,0"),
        QStringLiteral("Alignment_End:"),        QStringLiteral("Measurement_Begin:"),
        QStringLiteral("Description:diagonal"),  QStringLiteral("Reference_Step_Position:10")};
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
        MeasureFiles::Without(File_Lines({QStringLiteral("Point:1,1,0,0,0")}), line_start));
}

QStringList Point_Lines(const std::vector<double> &positions)
{
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        lines += QStringLiteral("Point:%1,1,%2,0.001,-0.001").arg(i + 1).arg(positions[i], 0, 'f', 5);
    }
    return lines;
}

std::vector<double> Actuals(const TMeasureStepgaugeSquare &record)
{
    std::vector<double> values;
    for (const auto &point : record.Points())
    {
        values.push_back(point.actual);
    }
    return values;
}

bool Near(const std::vector<double> &a, const std::vector<double> &b)
{
    if (a.size() != b.size())
    {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (qAbs(a[i] - b[i]) > 1e-9)
        {
            return false;
        }
    }
    return true;
}

QString Text(const std::vector<double> &values)
{
    QStringList texts;
    for (const double value : values)
    {
        texts += QString::number(value, 'f', 6);
    }
    return texts.join(QLatin1String(", "));
}

const char EXAMPLE[] = "examples/stepgauge_squareness_xy.dat";
} // namespace

class TStepgaugeSquareTest : public QObject
{
    Q_OBJECT

  private slots:
    void Load_data();
    void Load();
    void Fitted_Line();
    void Nominal_Not_Found();
    void Graph_Data();
    void Example_Report();
    void Damaged_Files();
    void Large_File();
};

void TStepgaugeSquareTest::Load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<std::vector<double>>("points");

    QTest::newRow("readings merge per step")
        << File_With(Point_Lines({0.0, 0.4, 99.8, 100.3, 100.1})) << QString()
        << std::vector<double>{0.2, (99.8 + 100.1 + 100.3) / 3.0};
    QTest::newRow("a chain of close readings is one step")
        << File_With(Point_Lines({1.8, 0.0, 0.9})) << QString() << std::vector<double>{0.9};
    QTest::newRow("gap of exactly 1.0 joins")
        << File_With(Point_Lines({0.0, 1.0})) << QString() << std::vector<double>{0.5};
    QTest::newRow("gap above 1.0 splits")
        << File_With(Point_Lines({1.0001, 0.0})) << QString() << std::vector<double>{0.0, 1.0001};
    QTest::newRow("sorted ascending")
        << File_With(Point_Lines({200, 0, 100, 300})) << QString() << std::vector<double>{0, 100, 200, 300};
    QTest::newRow("equal readings") << File_With(Point_Lines({5, 5, 5, 5, 5})) << QString()
                                    << std::vector<double>{5};
    QTest::newRow("no points") << File_With({}) << QString() << std::vector<double>{};
    QTest::newRow("third part is the position")
        << File_With({QStringLiteral("Point:3,2, 42.5 ,x,y")}) << QString() << std::vector<double>{42.5};
    QTest::newRow("wrong part counts ignored")
        << File_With({QStringLiteral("Point:1,60.0,0,0"), QStringLiteral("Point:1,1,70.0,0,0,0"),
                      QStringLiteral("Point:1,1,80.0,0,0")})
        << QString() << std::vector<double>{80.0};
    QTest::newRow("non-finite readings are zero")
        << File_With({QStringLiteral("Point:1,1,nan,0,0"), QStringLiteral("Point:2,1,-inf,0,0"),
                      QStringLiteral("Point:3,1,50,0,0")})
        << QString() << std::vector<double>{0, 50};

    // This kind has no scale or temperature sections: their markers are ordinary ignored lines and
    // do not close off the measurement section.
    QTest::newRow("scale and temperature markers ignored")
        << File_With({QStringLiteral("Scales_Begin:"), QStringLiteral("Temperature_Begin:"),
                      QStringLiteral("Point:1,1,7,0,0")})
        << QString() << std::vector<double>{7};

    QStringList outside = File_Lines(Point_Lines({5}));
    outside.insert(5, QStringLiteral("Point:9,1,99,0,0"));
    outside.append(QStringLiteral("Point:10,1,100,0,0"));
    QTest::newRow("points outside the measurement section ignored")
        << MeasureFiles::File(outside) << QString() << std::vector<double>{5};

    QStringList reopened = File_Lines(Point_Lines({5}));
    reopened.append(QStringLiteral("measurement_begin:"));
    reopened.append(QStringLiteral("Point:2,1,50,0,0"));
    QTest::newRow("repeated marker reopens")
        << MeasureFiles::File(reopened) << QString() << std::vector<double>{5, 50};

    QStringList b89 = File_Lines({});
    b89[0] = QStringLiteral("B89.4.1_Raw_Measurement:Version=1:Type=Step_Gauge");
    QTest::newRow("other step gauge identification")
        << MeasureFiles::File(b89) << "Stepgauge identification line not recognized" << std::vector<double>{};
    QTest::newRow("probe vector with four values")
        << File_With({QStringLiteral("Probe_Vector:0,0,1,0")}) << "Probe vector data not recognized."
        << std::vector<double>{};
    QStringList translation = File_Lines({});
    translation.insert(5, QStringLiteral("Translation:1;2;3"));
    QTest::newRow("translation not comma separated")
        << MeasureFiles::File(translation) << "Alignment translation data not recognized."
        << std::vector<double>{};

    const char *const required[] = {
        "Equipment_Identification:", "Probe_Offset:", "Probe_Vector:",           "Alignment_Begin:",
        "Measurement_Begin:",        "Description:",  "Reference_Step_Position:"};
    for (const char *line_start : required)
    {
        QTest::newRow(qPrintable(QStringLiteral("without %1").arg(QLatin1String(line_start))))
            << File_Without(QLatin1String(line_start)) << DATA_MISSING << std::vector<double>{};
    }
}

void TStepgaugeSquareTest::Load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(std::vector<double>, points);

    TMeasureStepgaugeSquare record;
    QCOMPARE(record.file_contents, static_cast<int>(TMeasureData::CONTENTS_STEPGAUGE_SQUARE));
    QCOMPARE(record.Load_Data(file), message.isEmpty());
    QCOMPARE(record.last_error, message);
    if (!message.isEmpty())
    {
        return;
    }
    QVERIFY2(Near(Actuals(record), points), qPrintable(Text(Actuals(record))));

    // Lengths run from the first step to every later one; before nominal data nominal = actual.
    QCOMPARE(record.Lengths().size(), points.empty() ? size_t(0) : points.size() - 1);
    for (size_t i = 0; i < record.Lengths().size(); ++i)
    {
        QVERIFY(qAbs(record.Lengths()[i].actual - (points[i + 1] - points[0])) < 1e-9);
        QCOMPARE(record.Lengths()[i].nominal, record.Lengths()[i].actual);
    }
    QCOMPARE(record.Slope(), 0.0);
    QCOMPARE(record.Intercept(), 0.0);
}

void TStepgaugeSquareTest::Fitted_Line()
{
    // Deviations of +1 µm at 100 mm and +3 µm at 200 mm.
    TMeasureStepgaugeSquare record;
    QVERIFY(record.Load_Data(File_With(Point_Lines({0.0, 100.001, 200.003}))));
    QVERIFY(record.Set_Nominal_Data({210.0, 110.0, 10.0}));

    const double slope = 0.002 / 100.002;
    QVERIFY2(qAbs(record.Slope() - slope) < 1e-12, qPrintable(QString::number(record.Slope(), 'g', 12)));
    QVERIFY(qAbs(record.Intercept() - (0.001 - slope * 100.001)) < 1e-12);

    const QStringList report = record.Text_Report();
    const int interpretation = report.indexOf(QStringLiteral("Interpretation"));
    QVERIFY(interpretation > 0);
    QCOMPARE(report.mid(interpretation, 6),
             QStringList({QStringLiteral("Interpretation"), QString(44, QLatin1Char('-')), QString(),
                          QStringLiteral("  Slope:     0.0200 mm/m"),
                          QStringLiteral("  Intercept: -0.0010 mm"), QString()}));
    QCOMPARE(report.mid(report.size() - 2),
             QStringList({QStringLiteral("    100.0000      100.0010        0.0010"),
                          QStringLiteral("    200.0000      200.0030        0.0030")}));

    // One length is too few for a line: the slope goes back to 0.
    TMeasureStepgaugeSquare single;
    QVERIFY(single.Load_Data(File_With(Point_Lines({0.0, 0.4, 99.8, 100.3, 100.1}))));
    QVERIFY(single.Set_Nominal_Data({10.0, 110.0}));
    QCOMPARE(single.Lengths().size(), size_t(1));
    QCOMPARE(single.Slope(), 0.0);
    QCOMPARE(single.Intercept(), 0.0);
    QVERIFY(qAbs(single.Lengths()[0].actual - (100.0666666666667 - 0.2)) < 1e-9);
}

void TStepgaugeSquareTest::Nominal_Not_Found()
{
    TMeasureStepgaugeSquare record;
    QVERIFY(record.Load_Data(File_With(Point_Lines({0.0, 100.0, 200.0}))));
    QVERIFY(!record.Set_Nominal_Data({10.0005, 110.0005}));
    QCOMPARE(record.last_error,
             QStringLiteral("Nominal data not found.  Possible wrong reference step position or "
                            "measurement error exceeds maximum allowed."));
    // The steps before the unmatched one keep their new nominals; the lengths are not rebuilt.
    QVERIFY(qAbs(record.Points()[1].nominal - 100.0005) < 1e-9);
    QCOMPARE(record.Points()[2].nominal, 200.0);
    QCOMPARE(record.Lengths()[0].nominal, 100.0);
}

void TStepgaugeSquareTest::Graph_Data()
{
    TMeasureStepgaugeSquare record;
    QVERIFY(record.Load_Data(File_With(Point_Lines({0.0, 100.001, 200.003}))));
    QVERIFY(record.Set_Nominal_Data({10.0, 110.0, 210.0}));
    const std::vector<std::vector<TVector2>> curves = record.Graph_Data();
    QCOMPARE(curves.size(), size_t(1));
    QCOMPARE(curves[0].size(), size_t(2));
    QVERIFY(qAbs(curves[0][0].x - 100.001) < 1e-9 && qAbs(curves[0][0].y - 0.001) < 1e-9);
    QVERIFY(qAbs(curves[0][1].x - 200.003) < 1e-9 && qAbs(curves[0][1].y - 0.003) < 1e-9);

    // One step gives no length: still one curve, empty.
    TMeasureStepgaugeSquare one;
    QVERIFY(one.Load_Data(File_With(Point_Lines({3.0, 3.5}))));
    QCOMPARE(one.Graph_Data().size(), size_t(1));
    QVERIFY(one.Graph_Data()[0].empty());
}

void TStepgaugeSquareTest::Example_Report()
{
    // The example gauge's certified positions are shipped with the examples.
    const QString path = MeasureChecks::Source_Path(QLatin1String(EXAMPLE));
    TNominalStore nominals;
    nominals.Initialize(MeasureChecks::Source_Path(QStringLiteral("examples")));
    const TMeasurementLoad load = MeasurementLoad::Load_File(path, &nominals);
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QCOMPARE(load.contents, TMeasureData::CONTENTS_STEPGAUGE_SQUARE);
    MeasureChecks::Compare_Lines(load.report_lines, MeasureChecks::Read_Lines(QStringLiteral(
                                                        "tests/data/golden/stepgauge_squareness_xy.txt")));

    // 26 readings of 13 steps: 12 lengths from the first step.
    QCOMPARE(load.graph_data.size(), size_t(1));
    QCOMPARE(load.graph_data[0].size(), size_t(12));

    // Without nominal data the deviations, and so the fitted line, are zero.
    const TMeasurementLoad plain = MeasurementLoad::Load_File(path, nullptr);
    QVERIFY(plain.Succeeded());
    QVERIFY(plain.report_lines.contains(QStringLiteral("  Slope:     0.0000 mm/m")));
    QVERIFY(plain.report_lines.contains(QStringLiteral("  Intercept: 0.0000 mm")));
}

void TStepgaugeSquareTest::Damaged_Files()
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

void TStepgaugeSquareTest::Large_File()
{
    // Steps 2.5 mm apart in descending order: all are sorted, none merge, and every step after the
    // first is one length line.
    const QStringList head = File_Lines({});
    const int fixed_lines = [&head]
    {
        TMeasureStepgaugeSquare empty;
        empty.Load_Data(MeasureFiles::File(head));
        return static_cast<int>(empty.Text_Report().size());
    }();
    MeasureChecks::Check_Large_File(
        MeasureFiles::File(head.mid(0, head.size() - 1)),
        [](int i) { return QStringLiteral("Point:%1,1,%2,0,0\n").arg(i).arg(100000.0 - 2.5 * i).toLatin1(); },
        "Measurement_End::\n", fixed_lines - 1);
}

QTEST_GUILESS_MAIN(TStepgaugeSquareTest)

#include "tst_stepgaugesquare.moc"
