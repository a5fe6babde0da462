// The widget-free load pipeline: size limits, reading, recognition, parsing, nominal step, report.

#include "measurementload.h"

#include <QtTest>

#include <map>

namespace
{
const QString EXAMPLE = QStringLiteral(QUILLON_SOURCE_DIR "/examples/stepgauge_10360_x_front.dat");

QByteArray Example()
{
    QFile file(EXAMPLE);
    if (!file.open(QIODevice::ReadOnly))
    {
        qFatal("cannot read the example");
    }
    return file.readAll();
}

class TFixedNominals : public TNominalSource
{
  public:
    bool Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const override
    {
        d_asked.append(serial);
        const auto found = d_sets.find(serial);
        if (found == d_sets.end())
        {
            return false;
        }
        *nominal_values = found->second;
        return true;
    }

    std::map<QString, std::vector<double>> d_sets;
    mutable QStringList d_asked;
};
} // namespace

class TestMeasurementLoad : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Bad_Files_data();
    void Bad_Files();
    void Size_Limits_data();
    void Size_Limits();
    void Missing_And_Unreadable();
    void Parse_Failure_Keeps_Record();
    void Step_Gauge_Without_Nominal_Step();
    void Nominal_Step_data();
    void Nominal_Step();

  private:
    QTemporaryDir d_dir;
    QString Write(const QString &name, const QByteArray &data);
};

QString TestMeasurementLoad::Write(const QString &name, const QByteArray &data)
{
    const QString path = d_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
    {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void TestMeasurementLoad::Bad_Files_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("line");

    const QByteArray ident("B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge\n");
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
    {
        binary.append(static_cast<char>((i * 37 + 11) % 256));
    }
    QTest::newRow("binary") << binary << "ERR  File contents not recognized.";
    QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << "ERR  File contents not recognized.";
    QTest::newRow("text of no kind") << QByteArray(200, 'a') << "ERR  File contents not recognized.";
    QTest::newRow("256 KiB on one line") << QByteArray(262144, 'x') << "ERR  File contents not recognized.";
    QTest::newRow("200k empty lines") << QByteArray(200000, '\n') << "ERR  File contents not recognized.";
    QTest::newRow("identification after 200k empty lines")
        << QByteArray(200000, '\n') + ident << "ERR  File contents not recognized.";
    QTest::newRow("identification then 200k empty lines")
        << ident + QByteArray(200000, '\n') << "ERR  Data missing from measurement file.";
    QTest::newRow("CR-only line ends")
        << Example().replace('\n', '\r') << "ERR  Data missing from measurement file.";
    QTest::newRow("identification, then 256 KiB of one line")
        << ident + QByteArray(262144 - ident.size(), 'P') << "ERR  Data missing from measurement file.";
    QTest::newRow("identification then binary") << ident + binary << "ERR  File contents not recognized.";
}

void TestMeasurementLoad::Bad_Files()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, line);
    QElapsedTimer timer;
    timer.start();
    const TMeasurementLoad load = MeasurementLoad::Load_File(Write(QStringLiteral("bad.dat"), data), nullptr);
    QCOMPARE(load.report_lines, QStringList(line));
    QVERIFY(!load.Succeeded());
    QVERIFY(load.graph_data.empty());
    QVERIFY(timer.elapsed() < 10000);
}

void TestMeasurementLoad::Size_Limits_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("line");

    // Padding with comment lines keeps the file loadable, so only the size decides.
    QTest::newRow("empty") << 0 << "ERR  Input file too small to be a measurement data file.";
    QTest::newRow("63 bytes") << 63 << "ERR  Input file too small to be a measurement data file.";
    QTest::newRow("64 bytes") << 64 << "ERR  File contents not recognized.";
    QTest::newRow("262144 bytes") << 262144 << "";
    QTest::newRow("262145 bytes") << 262145 << "ERR  Input file too large to be a measurement data file.";
}

void TestMeasurementLoad::Size_Limits()
{
    QFETCH(int, size);
    QFETCH(QString, line);

    QByteArray data;
    if (size < Example().size())
    {
        data = QByteArray(size, 'u'); // small, but not a measurement
    }
    else if (size > 0)
    {
        data = Example();
        data.append("#");
        data.append(QByteArray(size - data.size(), '-'));
    }
    QCOMPARE(data.size(), size);
    const TMeasurementLoad load =
        MeasurementLoad::Load_File(Write(QStringLiteral("size.dat"), data), nullptr);
    if (line.isEmpty())
    {
        QVERIFY(load.Succeeded());
        QCOMPARE(load.report_lines.first(), QStringLiteral("ASME B89.4.10360 Stepgauge Measurement"));
    }
    else
    {
        QCOMPARE(load.report_lines, QStringList(line));
    }
}

void TestMeasurementLoad::Missing_And_Unreadable()
{
    QCOMPARE(MeasurementLoad::Load_File(d_dir.filePath(QStringLiteral("missing.dat")), nullptr).report_lines,
             QStringList("ERR  Input file too small to be a measurement data file."));
    QCOMPARE(MeasurementLoad::Load_File(QString(), nullptr).report_lines,
             QStringList("ERR  Input file too small to be a measurement data file."));

    // A folder passes the size test (its size is a block) but cannot be read as a file.
    const QString path = d_dir.filePath(QStringLiteral("folder.dat"));
    QVERIFY(QDir(d_dir.path()).mkdir(QStringLiteral("folder.dat")));
    QVERIFY(QFileInfo(path).size() >= 64);
    const TMeasurementLoad load = MeasurementLoad::Load_File(path, nullptr);
    QCOMPARE(load.report_lines, QStringList("ERR  Cannot open measurement data file."));
    QCOMPARE(load.stage, TMeasurementLoad::STAGE_NOT_READ);
}

void TestMeasurementLoad::Parse_Failure_Keeps_Record()
{
    QByteArray data = Example();
    data.replace("Probe_Vector:", "# Probe_Vector:");
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(data, nullptr);
    QCOMPARE(load.report_lines, QStringList("ERR  Data missing from measurement file."));
    QCOMPARE(load.stage, TMeasurementLoad::STAGE_READ);
    QCOMPARE(load.contents, TMeasureData::CONTENTS_STEPGAUGE_10360);
    QVERIFY(load.record);
}

void TestMeasurementLoad::Step_Gauge_Without_Nominal_Step()
{
    const TMeasurementLoad load = MeasurementLoad::Load_File(EXAMPLE, nullptr);
    QVERIFY(load.Succeeded());
    QCOMPARE(load.report_lines, load.record->Text_Report());
    QCOMPARE(load.graph_data.size(), size_t(3));
}

void TestMeasurementLoad::Nominal_Step_data()
{
    QTest::addColumn<std::vector<double>>("nominals");
    QTest::addColumn<QString>("stored_serial");
    QTest::addColumn<QString>("first_line");

    const std::vector<double> certified = {10.0,      110.00031, 210.00012, 409.99978,
                                           610.00044, 810.00019, 1009.99962};
    QTest::newRow("found") << certified << "1020-4471"
                           << "ASME B89.4.10360 Stepgauge Measurement";
    QTest::newRow("no set for the gauge") << certified << "1020-4472"
                                          << "ERR  Stepgauge nominal data for gauge '1020-4471' not found.";
    QTest::newRow("set that does not fit") << std::vector<double>{10.0, 110.0} << "1020-4471"
                                           << "ERR  Nominal data not found.  Possible wrong reference step "
                                              "position or measurement error exceeds "
                                              "maximum allowed.";
}

void TestMeasurementLoad::Nominal_Step()
{
    QFETCH(std::vector<double>, nominals);
    QFETCH(QString, stored_serial);
    QFETCH(QString, first_line);

    TFixedNominals source;
    source.d_sets[stored_serial] = nominals;
    const TMeasurementLoad load = MeasurementLoad::Load_File(EXAMPLE, &source);
    QCOMPARE(source.d_asked, QStringList(QStringLiteral("1020-4471")));
    QCOMPARE(load.report_lines.first(), first_line);
    if (load.Succeeded())
    {
        // The last length is the third repeat of the 1000 mm step, now against its certified length.
        QVERIFY2(load.report_lines.last().startsWith(QStringLiteral("    999.9996     1000.00")),
                 qPrintable(load.report_lines.last()));
        QCOMPARE(load.stage, TMeasurementLoad::STAGE_COMPLETE);
    }
    else
    {
        QCOMPARE(load.report_lines.size(), 1);
        QCOMPARE(load.stage, TMeasurementLoad::STAGE_PARSED);
        QVERIFY(load.graph_data.empty());
    }
}

QTEST_GUILESS_MAIN(TestMeasurementLoad)
#include "tst_measurementload.moc"
