// Every example file, one row each: its kind, its report line for line against the golden one, the
// shape of its graph, the records it cannot do without, the identification of every other kind and
// damaged copies of it. A damaged file must load or fail with one of the records' messages: never a
// crash, a hang, an assertion or a number in a graph that is not finite. The time a file of the largest
// size takes is load_bench's. Then the load pipeline's size limits, and what is not a file.

#include "model/measurementload.h"
#include "model/nominalstore.h"
#include "tests/common/measure_checks.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace MeasureChecks;

namespace
{
struct TExample
{
    const char *name;
    TMeasureData::TFileContents kind;
    bool nominals; // matched with the examples' nominal files
    std::vector<int> curves;
    QString identification; // the message for another kind's identification line
    QList<QByteArray> required;
};

// Every message a load fails with, but for the identification messages.
// clang-format off
const QStringList LOAD_MESSAGES = {DATA_MISSING, PROBE_OFFSET, PROBE_VECTOR, X_ALIGNMENT, Y_ALIGNMENT,
    Z_ALIGNMENT, TRANSLATION, "Feature form error not found.", "Feature diameter not found.",
    "Feature position not found.", "Feature position not recognized.", "Start point data not recognized.",
    "Measurement Axis data not recognized.", "Measurement Type not recognized.",
    "Plane entry format not recognized.", "Line entry format not recognized.",
    "Circle entry format not recognized.", "Sphere entry format not recognized."};
// clang-format on

std::vector<TExample> Example_Table()
{
    const QString laser_id = QStringLiteral("Machine_Laser identification line not recognized");
    const QString fit_id = QStringLiteral("Validation identification line not recognized");
    const QString block_id = QStringLiteral("Gauge block identification line not recognized");
    const QString log_id = QStringLiteral("File identification line not recognized");
    const QString step_id = STEPGAUGE_IDENTIFICATION;
    const QString artifact_id = ARTIFACT_IDENTIFICATION;
    const QList<QByteArray> gauge = {"Equipment_Identification:", "Probe_Offset:",      "Probe_Vector:",
                                     "Alignment_Begin:",          "Measurement_Begin:", "Description:"};
    const QList<QByteArray> stepgauge = gauge + QList<QByteArray>{"Reference_Step_Position:"};
    const QList<QByteArray> sections = {"Scales_Begin:", "Temperature_Begin:"};
    const QList<QByteArray> laser = {
        "Probe_Offsets_Valid:", "Probe_Offset:", "Start_Point:",      "Measurement_Axis:",
        "Measurement_Type:",    "Description:",  "Measurement_Begin:"};
    const QList<QByteArray> probe = {"Alignment_Begin:", "Probe_Offset:", "Probe_Vector:"};
    const QList<QByteArray> circle = probe + QList<QByteArray>{"Point_Data_Begin:", "Circle"};
    const QList<QByteArray> repeat = probe + QList<QByteArray>{"Measurement_Begin:"};
    using K = TMeasureData;
    // clang-format off
    return {
        {"stepgauge_10360_x_front", K::CONTENTS_STEPGAUGE_10360, false, {6, 6, 6}, step_id,
            stepgauge + sections},
        {"stepgauge_b89_x_axis", K::CONTENTS_STEPGAUGE_B89, true, {21, 21}, step_id, stepgauge + sections},
        {"stepgauge_squareness_xy", K::CONTENTS_STEPGAUGE_SQUARE, true, {12}, step_id, stepgauge},
        {"gaugeblock_500mm_x_axis", K::CONTENTS_GAUGEBLOCK, false, {}, block_id,
            gauge + sections + QList<QByteArray>{"Datum_Flatness:"}},
        {"laser_10360_x_axis", K::CONTENTS_LASER_10360, false, {5, 5, 5}, laser_id, laser},
        {"laser_pmove_x_axis", K::CONTENTS_LASER_PMOVE, false, {11}, laser_id, laser},
        {"laser_pmove_y_straightness_z", K::CONTENTS_LASER_PMOVE, false, {17}, laser_id, laser},
        {"ballbar_500mm", K::CONTENTS_BALLBAR, false, {14}, artifact_id, {}},
        {"temperature_machine_day", K::CONTENTS_TEMPERATURE, false, std::vector<int>(6, 61), log_id, {}},
        {"probe_tip_calibration", K::CONTENTS_PROBE, false, {}, artifact_id, {"Nominal_Sphere_Diameter:"}},
        {"pingauge_10mm", K::CONTENTS_PIN_GAUGE, false, {25, 25, 25}, artifact_id, circle},
        {"ringgauge_25mm", K::CONTENTS_RING_GAUGE, false, {37, 37, 37}, artifact_id, circle},
        {"sphere_pftu_25mm", K::CONTENTS_SPHERE_PFTU, false, {}, artifact_id, probe},
        {"sphere_rpt_table_centre", K::CONTENTS_SPHERE_RPT, false, {}, artifact_id, repeat},
        {"point_repeat_table_centre_x", K::CONTENTS_POINT_REPEAT, false, {}, artifact_id, repeat},
        {"validation_plane_four_planes", K::CONTENTS_VALIDATION_PLANE, false, {}, fit_id, {}},
        {"validation_line_four_lines", K::CONTENTS_VALIDATION_LINE, false, {}, fit_id, {}},
        {"validation_circle_three_rings", K::CONTENTS_VALIDATION_CIRCLE, false, {}, fit_id, {}},
        {"validation_sphere_three_spheres", K::CONTENTS_VALIDATION_SPHERE, false, {}, fit_id, {}}};
    // clang-format on
}

// Every line removed, doubled, cut after its key or given values that are not finite numbers (or
// whose squares are not); the file cut after every line; then random bytes changed, inserted or
// removed and lines cut or doubled.
std::vector<QByteArray> Damaged_Copies(const QByteArray &data)
{
    std::vector<QByteArray> copies;
    const QList<QByteArray> lines = data.split('\n');
    const auto with = [&lines](int i, const QList<QByteArray> &instead)
    { return (lines.mid(0, i) + instead + lines.mid(i + 1)).join('\n'); };
    for (int i = 0; i < lines.size(); ++i)
    {
        copies.insert(copies.end(),
                      {with(i, {}), with(i, {lines[i], lines[i]}), lines.mid(0, i + 1).join('\n')});
        const int colon = lines[i].indexOf(':');
        const int cut = colon > 0 ? colon : lines[i].indexOf(',');
        if (i == 0 || cut <= 0)
            continue;
        const QByteArray key = lines[i].left(cut + 1);
        copies.push_back(with(i, {key}));
        // As many values as before, so that the record is still read.
        static const char *const BAD[] = {"nan", "1e308", "-inf", "-1e308", "1e999", "x"};
        const int count = static_cast<int>(lines[i].mid(cut + 1).count(',')) + 1;
        for (int shift = 0; shift < 2; ++shift)
        {
            QList<QByteArray> parts;
            for (int part = 0; part < count; ++part)
                parts += BAD[(part + 3 * shift) % 6];
            copies.push_back(with(i, {key + parts.join(',')}));
        }
    }

    static const char INTERESTING[] = ",\n\r\t #:-.0123456789eE_";
    QRandomGenerator random(20261207);
    for (int round = 0; round < 1500; ++round)
    {
        QByteArray damaged = data;
        const int changes = 1 + static_cast<int>(random.bounded(8));
        for (int change = 0; change < changes && !damaged.isEmpty(); ++change)
        {
            const int at = static_cast<int>(random.bounded(static_cast<quint32>(damaged.size())));
            const char byte =
                random.bounded(8) == 0
                    ? static_cast<char>(random.bounded(256))
                    : INTERESTING[random.bounded(static_cast<quint32>(sizeof(INTERESTING) - 1))];
            const int end = damaged.indexOf('\n', at);
            switch (random.bounded(5))
            {
            case 0:
                damaged[at] = byte;
                break;
            case 1:
                damaged.insert(at, byte);
                break;
            case 2:
                damaged.remove(at, 1 + static_cast<int>(random.bounded(40)));
                break;
            case 3:
                damaged.truncate(at);
                break;
            default:
                damaged.insert(at, damaged.mid(at, end < 0 ? -1 : end - at + 1));
            }
        }
        copies.push_back(damaged);
    }
    return copies;
}

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

Q_DECLARE_METATYPE(TExample)
Q_DECLARE_METATYPE(TFileRow)

class TTestExamples : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Every_Example_Has_A_Row()
    {
        QStringList names;
        for (const TExample &example : Example_Table())
            names.append(QLatin1String(example.name) + QStringLiteral(".dat"));
        names.sort();
        QCOMPARE(QDir(Source_Path(QStringLiteral("examples"))).entryList({"*.dat"}, QDir::Files, QDir::Name),
                 names);
    }

    void Examples_data()
    {
        QTest::addColumn<TExample>("example");
        for (const TExample &example : Example_Table())
            QTest::newRow(example.name) << example;
    }

    // The kind, golden report and graph; each required record removed; every other kind's identification.
    void Examples()
    {
        QFETCH(TExample, example);
        const QString name = QLatin1String(example.name);
        TNominalStore store;
        store.Initialize(Source_Path(QStringLiteral("examples")));
        const TMeasurementLoad load = MeasurementLoad::Load_File(Source_Path("examples/" + name + ".dat"),
                                                                 example.nominals ? &store : nullptr);
        QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
        QCOMPARE(load.contents, example.kind);
        // Byte for byte, named by the first line that differs.
        const QString report = load.report_lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        const QByteArray golden = Read_File(Source_Path("tests/data/golden/" + name + ".txt"));
        QCOMPARE(report.split(QLatin1Char('\n')), QString::fromUtf8(golden).split(QLatin1Char('\n')));
        QCOMPARE(Sizes(load.graph_data), example.curves);
        QCOMPARE(load.record->unreadable_lines, 0);
        // Only the step gauge kinds take certified positions.
        if (!TMeasureData::Is_Stepgauge(example.kind))
            QVERIFY(!load.record->Set_Nominal_Data({10.0}));

        // The first line is the kind's; how it is recognised is tst_grammar's.
        const QByteArray data = Example(name);
        QCOMPARE(TMeasureData::Identification_Text(example.kind),
                 QString::fromLatin1(data.left(data.indexOf('\n'))));

        for (const QByteArray &line_start : example.required)
            QCOMPARE(Loaded(example.kind, Without(data, line_start))->last_error + ' ' + line_start,
                     DATA_MISSING + ' ' + line_start);
        for (int other = TMeasureData::CONTENTS_STEPGAUGE_10360;
             other <= TMeasureData::CONTENTS_VALIDATION_LINE; ++other)
        {
            if (other == example.kind)
                continue;
            const QByteArray line =
                TMeasureData::Identification_Text(TMeasureData::TFileContents(other)).toLatin1();
            QCOMPARE(Loaded(example.kind, line + data.mid(data.indexOf('\n')))->last_error + ' ' + line,
                     example.identification + ' ' + line);
        }
    }

    // Lines inserted after the first line that begins with a marker: dropped ones leave the report as it
    // was; each is counted once, whether dropped or holding a field that is no number.
    void Unreadable_Lines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("same_report");
        const auto row = [](const char *name, const char *after, const char *lines, int count, bool same)
        {
            QTest::newRow(name) << QString::fromLatin1(name).section(QLatin1Char(' '), 0, 0)
                                << QByteArray(after) << QByteArray(lines) << count << same;
        };
        row("laser_10360_x_axis short", "Point:1,", "Point:99,1,2,3\n", 1, true);
        row("laser_pmove_x_axis short", "Point:1,", "Point:99,1,2\nPoint:\n", 2, true);
        row("laser_pmove_x_axis word", "Point:1,", "Point:99,50,0,0,0,0,0,abc\n", 1, false);
        row("stepgauge_10360_x_front short", "Point:1,", "Point:2,1\n", 1, true);
        row("ballbar_500mm short", "B89.4.1_Data", "XY_999,0,1,2\n", 1, true);
        row("temperature_machine_day readings", "Temperature_Log",
            "1234,1,20.0\n10:00:00,x,20.0\n10:00:00,1,abc\n10:00:00,0,20.0\n", 4, true);
        row("ringgauge_25mm short", "Point_Data_Begin:", "1,2,3,4,5,6\n", 1, true);
        row("sphere_rpt_table_centre short", "Measurement_Begin:", "1,2,3\n", 1, true);
        row("sphere_rpt_table_centre word", "Measurement_Begin:", "1,2,x,3\n", 1, false);
    }

    void Unreadable_Lines()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, lines);
        QFETCH(int, count);
        QFETCH(bool, same_report);
        TNominalStore store;
        store.Initialize(Source_Path(QStringLiteral("examples")));
        const QByteArray data = Example(name);
        const int at = data.indexOf('\n', data.indexOf(after)) + 1;
        QVERIFY(at > 0);
        const TMeasurementLoad plain = MeasurementLoad::Load_Contents(data, &store);
        const TMeasurementLoad damaged =
            MeasurementLoad::Load_Contents(QByteArray(data).insert(at, lines), &store);
        QVERIFY(damaged.Succeeded());
        QCOMPARE(damaged.record->unreadable_lines, count);
        QCOMPARE(damaged.report_lines == plain.report_lines, same_report);
    }

    void Damaged_Input_data() { Examples_data(); }
    void Damaged_Input()
    {
        QFETCH(TExample, example);
        const QStringList allowed = LOAD_MESSAGES + QStringList(example.identification);
        for (const QByteArray &damaged : Damaged_Copies(Example(QLatin1String(example.name))))
        {
            const QString text = QString::fromLatin1(damaged);
            // Damage never turns a file into another kind.
            const int contents = TMeasureData::Determine_File_Contents(damaged);
            QVERIFY2(contents == example.kind || contents == TMeasureData::CONTENTS_UNKNOWN,
                     qPrintable(text));
            const std::unique_ptr<TMeasureData> record = Loaded(example.kind, damaged);
            QVERIFY2(record->last_error.isEmpty() || allowed.contains(record->last_error),
                     qPrintable(record->last_error + QStringLiteral(" for:\n") + text));
            // Also what a failed load left behind must report and graph safely.
            QVERIFY(!record->Text_Report().isEmpty());
            for (const std::vector<TVector2> &curve : record->Graph_Data())
                for (const TVector2 &point : curve)
                    QVERIFY2(std::isfinite(point.x) && std::isfinite(point.y), qPrintable(text));
        }
    }

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

QTEST_GUILESS_MAIN(TTestExamples)
#include "tst_examples.moc"
