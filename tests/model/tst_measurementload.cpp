// The widget-free load pipeline: size limits, reading, recognition, parsing, nominal step, report.

#include "measure_checks.h"
#include "measurementload.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace MeasureChecks;

namespace
{
const QString EXAMPLE = Source_Path(QStringLiteral("examples/stepgauge_10360_x_front.dat"));
const QString TOO_SMALL = QStringLiteral("ERR  Input file too small to be a measurement data file.");
const QString UNKNOWN = QStringLiteral("ERR  File contents not recognized.");
const QString MISSING = QStringLiteral("ERR  Data missing from measurement file.");

// One set of nominal values, for one serial number; remembers what it was asked for.
class TFixedNominals : public TNominalSource
{
  public:
    bool Find_Nominal_Values(const QString &serial, TValues *nominal_values) const override
    {
        d_asked.append(serial);
        if (serial != d_serial)
            return false;
        *nominal_values = d_values;
        return true;
    }

    QString d_serial;
    TValues d_values;
    mutable QStringList d_asked;
};
} // namespace

class TTestMeasurementLoad : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // Each file fails with one line; the size decides for the smallest and largest, padded with a
    // comment line so that the rest would load.
    void Bad_Files_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("line");
        const QByteArray ident("B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge\n");
        const QByteArray example = Read_File(EXAMPLE);
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(static_cast<char>((i * 37 + 11) % 256));
        QTest::newRow("binary") << binary << UNKNOWN;
        QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << UNKNOWN;
        QTest::newRow("256 KiB on one line") << QByteArray(262144, 'x') << UNKNOWN;
        QTest::newRow("identification after 200k empty lines") << QByteArray(200000, '\n') + ident << UNKNOWN;
        QTest::newRow("identification then 200k empty lines") << ident + QByteArray(200000, '\n') << MISSING;
        QTest::newRow("CR-only line ends") << QByteArray(example).replace('\n', '\r') << MISSING;
        QTest::newRow("identification, then 256 KiB of one line")
            << ident + QByteArray(262144 - ident.size(), 'P') << MISSING;
        QTest::newRow("identification then binary") << ident + binary << UNKNOWN;
        QTest::newRow("empty") << QByteArray() << TOO_SMALL;
        QTest::newRow("63 bytes") << QByteArray(63, 'u') << TOO_SMALL;
        QTest::newRow("64 bytes") << QByteArray(64, 'u') << UNKNOWN;
        QTest::newRow("262145 bytes")
            << example + '#' + QByteArray(262144 - example.size(), '-')
            << QStringLiteral("ERR  Input file too large to be a measurement data file.");
    }

    void Bad_Files()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, line);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(Write_File(d_dir.filePath(QStringLiteral("bad.dat")), data));
        const TMeasurementLoad load =
            MeasurementLoad::Load_File(d_dir.filePath(QStringLiteral("bad.dat")), nullptr);
        QCOMPARE(load.report_lines, QStringList(line));
        QVERIFY(!load.Succeeded() && load.graph_data.empty());
        QVERIFY(timer.elapsed() < 10000);
    }

    void Largest_Size_Loads()
    {
        QByteArray data = Read_File(EXAMPLE) + '#';
        data.append(QByteArray(262144 - data.size(), '-'));
        QVERIFY(Write_File(d_dir.filePath(QStringLiteral("size.dat")), data));
        const TMeasurementLoad load =
            MeasurementLoad::Load_File(d_dir.filePath(QStringLiteral("size.dat")), nullptr);
        QVERIFY(load.Succeeded());
        QCOMPARE(load.report_lines.first(), QStringLiteral("ASME B89.4.10360 Stepgauge Measurement"));
    }

    void Missing_And_Unreadable()
    {
        QCOMPARE(
            MeasurementLoad::Load_File(d_dir.filePath(QStringLiteral("missing.dat")), nullptr).report_lines,
            QStringList(TOO_SMALL));
        QCOMPARE(MeasurementLoad::Load_File(QString(), nullptr).report_lines, QStringList(TOO_SMALL));
        // A folder passes the size test (its size is a block) but cannot be read as a file.
        const QString path = d_dir.filePath(QStringLiteral("folder.dat"));
        QVERIFY(QDir(d_dir.path()).mkdir(QStringLiteral("folder.dat")));
        QVERIFY(QFileInfo(path).size() >= 64);
        const TMeasurementLoad load = MeasurementLoad::Load_File(path, nullptr);
        QCOMPARE(load.report_lines, QStringList("ERR  Cannot open measurement data file."));
        QCOMPARE(load.stage, TMeasurementLoad::STAGE_NOT_READ);
    }

    void Parse_Failure_Keeps_Record()
    {
        const TMeasurementLoad load = MeasurementLoad::Load_Contents(
            Read_File(EXAMPLE).replace("Probe_Vector:", "# Probe_Vector:"), nullptr);
        QCOMPARE(load.report_lines, QStringList(MISSING));
        QCOMPARE(load.stage, TMeasurementLoad::STAGE_READ);
        QCOMPARE(load.contents, TMeasureData::CONTENTS_STEPGAUGE_10360);
        QVERIFY(load.record);
    }

    void Nominal_Step_data()
    {
        QTest::addColumn<TValues>("nominals"); // empty: no nominal step
        QTest::addColumn<QString>("stored_serial");
        QTest::addColumn<QString>("first_line");
        const TValues certified = {10.0, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};
        const QString title = QStringLiteral("ASME B89.4.10360 Stepgauge Measurement");
        QTest::newRow("no nominal step") << TValues() << "" << title;
        QTest::newRow("found") << certified << "1020-4471" << title;
        QTest::newRow("no set for the gauge")
            << certified << "1020-4472"
            << "ERR  Stepgauge nominal data for gauge '1020-4471' not found.";
        QTest::newRow("set that does not fit")
            << TValues{10.0, 110.0} << "1020-4471"
            << "ERR  Nominal data not found.  Possible wrong reference step "
               "position or measurement error exceeds maximum allowed.";
    }

    void Nominal_Step()
    {
        QFETCH(TValues, nominals);
        QFETCH(QString, stored_serial);
        QFETCH(QString, first_line);
        TFixedNominals source;
        source.d_serial = stored_serial;
        source.d_values = nominals;
        const TMeasurementLoad load =
            MeasurementLoad::Load_File(EXAMPLE, nominals.empty() ? nullptr : &source);
        QCOMPARE(source.d_asked, nominals.empty() ? QStringList() : QStringList("1020-4471"));
        QCOMPARE(load.report_lines.first(), first_line);
        if (!load.Succeeded())
        {
            QCOMPARE(load.report_lines.size(), 1);
            QCOMPARE(load.stage, TMeasurementLoad::STAGE_PARSED);
            QVERIFY(load.graph_data.empty());
            return;
        }
        QCOMPARE(load.report_lines, load.record->Text_Report());
        QCOMPARE(Sizes(load.graph_data), std::vector<int>({6, 6, 6}));
        // The last length is the third repeat of the 1000 mm step: its own nominal, or the certified one.
        QVERIFY2(load.report_lines.last().startsWith(
                     nominals.empty() ? QStringLiteral("   1000.0009     1000.0009        0.0000")
                                      : QStringLiteral("    999.9996     1000.00")),
                 qPrintable(load.report_lines.last()));
    }

  private:
    QTemporaryDir d_dir;
};

QTEST_GUILESS_MAIN(TTestMeasurementLoad)
#include "tst_measurementload.moc"
