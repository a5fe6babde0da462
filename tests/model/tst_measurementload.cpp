// The widget-free load pipeline: size limits, reading, recognition, parsing, report; what is not a file.
// The nominal step is seen with the examples, the report tool and the step gauge records.

#include "model/measurementload.h"
#include "tests/common/measure_checks.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace MeasureChecks;

namespace
{
const QString EXAMPLE = Source_Path(QStringLiteral("examples/stepgauge_10360_x_front.dat"));
const QString TITLE = QStringLiteral("ASME B89.4.10360 Stepgauge Measurement");
const QString TOO_SMALL = QStringLiteral("ERR  Input file too small to be a measurement data file.");
const QString UNKNOWN = QStringLiteral("ERR  File contents not recognized.");
const QString MISSING = QStringLiteral("ERR  Data missing from measurement file.");

// A file, the stage its load ends in and its first report line (a failure's only line).
struct TFileRow
{
    QByteArray data;
    TMeasurementLoad::TStage stage;
    QString line;
};

} // namespace

Q_DECLARE_METATYPE(TFileRow)

class TTestMeasurementLoad : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // The size decides for the smallest and largest, padded with a comment line so that the rest
    // would load.
    void Files_data()
    {
        QTest::addColumn<TFileRow>("row");
        const QByteArray ident("B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge\n");
        const QByteArray example = Read_File(EXAMPLE);
        const QByteArray largest = example + '#' + QByteArray(262143 - example.size(), '-');
        const auto row = [](const char *name, const QByteArray &data, TMeasurementLoad::TStage stage,
                            const QString &line) {
            QTest::newRow(name) << TFileRow{data, stage, line};
        };
        const auto read = TMeasurementLoad::STAGE_READ;
        const auto not_read = TMeasurementLoad::STAGE_NOT_READ;
        row("256 KiB on one line", QByteArray(262144, 'x'), read, UNKNOWN);
        row("identification then 200k empty lines", ident + QByteArray(200000, '\n'), read, MISSING);
        row("identification then 200k CRs", ident + QByteArray(200000, '\r'), read, MISSING);
        row("identification, then 256 KiB of one line", ident + QByteArray(262144 - ident.size(), 'P'), read,
            MISSING);
        row("63 bytes", QByteArray(63, 'u'), not_read, TOO_SMALL);
        row("64 bytes", QByteArray(64, 'u'), read, UNKNOWN);
        row("262144 bytes", largest, TMeasurementLoad::STAGE_COMPLETE, TITLE);
        row("262145 bytes", largest + '-', not_read,
            "ERR  Input file too large to be a measurement data file.");
    }

    void Files()
    {
        QFETCH(TFileRow, row);
        const QString path = d_dir.filePath(QLatin1String(QTest::currentDataTag()));
        QVERIFY(Write_File(path, row.data));
        const TMeasurementLoad load = MeasurementLoad::Load_File(path, nullptr);
        QCOMPARE(load.stage, row.stage);
        QCOMPARE(load.report_lines.mid(0, load.Succeeded() ? 1 : -1), QStringList(row.line));
        QCOMPARE(load.graph_data.empty(), !load.Succeeded());
        // A file that fails in parsing keeps its record.
        QCOMPARE(bool(load.record), load.stage != TMeasurementLoad::STAGE_NOT_READ && row.line != UNKNOWN);
    }

    // What is not a regular file is named for what it is, and never opened (a FIFO would hang the load).
    void Not_A_File_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("line");
        const QString open = QStringLiteral("ERR  Cannot open measurement data file. ");
        const auto native = [this](const char *name) { return QFile::encodeName(d_dir.filePath(name)); };
        QVERIFY(QDir(d_dir.path()).mkdir(QStringLiteral("folder.dat")));
        QVERIFY(QFile::link(d_dir.filePath("loop_b.dat"), d_dir.filePath("loop_a.dat")) &&
                QFile::link(d_dir.filePath("loop_a.dat"), d_dir.filePath("loop_b.dat")) &&
                QFile::link(d_dir.filePath("nowhere.dat"), d_dir.filePath("dangling.dat")));
        QVERIFY(::mkfifo(native("fifo.dat").constData(), 0600) == 0);
        QVERIFY(Write_File(d_dir.filePath("locked.dat"), Read_File(EXAMPLE)) &&
                QFile::setPermissions(d_dir.filePath("locked.dat"), QFileDevice::WriteOwner));
        QTest::newRow("empty path") << QString() << TOO_SMALL;
        QTest::newRow("missing") << d_dir.filePath("none.dat") << TOO_SMALL + " The file does not exist.";
        QTest::newRow("inside a file") << EXAMPLE + "/x.dat" << TOO_SMALL + " The file does not exist.";
        QTest::newRow("dangling link") << d_dir.filePath("dangling.dat")
                                       << TOO_SMALL + " It is a symbolic link to a file that does not exist.";
        QTest::newRow("folder") << d_dir.filePath("folder.dat") << open + "It is a folder.";
        QTest::newRow("link loop") << d_dir.filePath("loop_a.dat")
                                   << open + "Its symbolic links form a loop.";
        QTest::newRow("fifo") << d_dir.filePath("fifo.dat")
                              << open + "It is a FIFO (named pipe), not a file.";
        QTest::newRow("device") << "/dev/zero" << open + "It is a device, not a file.";
        if (geteuid() != 0)
            QTest::newRow("unreadable")
                << d_dir.filePath("locked.dat") << open + "It cannot be read: Permission denied.";
    }

    void Not_A_File()
    {
        QFETCH(QString, path);
        QFETCH(QString, line);
        const TMeasurementLoad load = MeasurementLoad::Load_File(path, nullptr);
        QCOMPARE(load.report_lines, QStringList(line));
        QCOMPARE(load.stage, TMeasurementLoad::STAGE_NOT_READ);
    }

  private:
    QTemporaryDir d_dir;
};

QTEST_GUILESS_MAIN(TTestMeasurementLoad)
#include "tst_measurementload.moc"
