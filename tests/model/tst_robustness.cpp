// Every example file: its kind, its report line for line against the golden one, the shape of its
// graph, damaged copies of it and its records repeated up to the size limit. A damaged file must load
// or fail with one of its kind's messages: never a crash, a hang, an assertion or a number in a graph
// that is not finite. Run under the sanitizers in CI.

#include "measure_checks.h"
#include "nominalstore.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

using namespace MeasureChecks;

namespace
{
// Every line removed, doubled, cut after its key or given values that are not finite numbers (or
// whose squares are not); the file cut after every line; then random bytes changed, inserted or
// removed and lines cut or doubled.
std::vector<QByteArray> Damaged_Copies(const QByteArray &data)
{
    std::vector<QByteArray> copies;
    const QList<QByteArray> lines = data.split('\n');
    for (int i = 0; i < lines.size(); ++i)
    {
        QList<QByteArray> changed = lines;
        changed.removeAt(i);
        copies.push_back(changed.join('\n'));
        changed.insert(i, lines[i]);
        changed.insert(i, lines[i]);
        copies.push_back(changed.join('\n'));
        copies.push_back(lines.mid(0, i + 1).join('\n'));
        const int colon = lines[i].indexOf(':');
        const int comma = lines[i].indexOf(',');
        const int cut = colon > 0 ? colon : comma;
        if (i > 0 && cut > 0)
        {
            QList<QByteArray> values = lines;
            values[i] = lines[i].left(cut + 1);
            copies.push_back(values.join('\n'));
            // As many values as before, so that the record is still read.
            static const char *const BAD[] = {"nan", "1e308", "-inf", "-1e308", "1e999", "x"};
            const int count = static_cast<int>(lines[i].mid(cut + 1).count(',')) + 1;
            for (int shift = 0; shift < 2; ++shift)
            {
                QList<QByteArray> parts;
                for (int part = 0; part < count; ++part)
                {
                    parts += BAD[(part + 3 * shift) % 6];
                }
                values[i] = lines[i].left(cut + 1) + parts.join(',');
                copies.push_back(values.join('\n'));
            }
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
            {
                const int end = damaged.indexOf('\n', at);
                damaged.insert(at, damaged.mid(at, end < 0 ? -1 : end - at + 1));
            }
            }
        }
        copies.push_back(damaged);
    }
    return copies;
}

struct TExample
{
    const char *name;
    TMeasureData::TFileContents kind;
    bool nominals; // matched with the examples' nominal files
    std::vector<int> curves;
    QStringList messages; // those a damaged copy may fail with
};

std::vector<TExample> Example_Table()
{
    const QStringList alignment = {DATA_MISSING, X_ALIGNMENT, Y_ALIGNMENT, Z_ALIGNMENT, TRANSLATION};
    const QStringList common = alignment + QStringList{PROBE_OFFSET, PROBE_VECTOR};
    const QStringList stepgauge = common + QStringList{STEPGAUGE_IDENTIFICATION};
    const QStringList artifact = common + QStringList{ARTIFACT_IDENTIFICATION};
    const QStringList feature = artifact + QStringList{QStringLiteral("Feature form error not found."),
                                                       QStringLiteral("Feature diameter not found."),
                                                       QStringLiteral("Feature position not found."),
                                                       QStringLiteral("Feature position not recognized.")};
    const QStringList laser = {DATA_MISSING,
                               PROBE_OFFSET,
                               QStringLiteral("Machine_Laser identification line not recognized"),
                               QStringLiteral("Start point data not recognized."),
                               QStringLiteral("Measurement Axis data not recognized."),
                               QStringLiteral("Measurement Type not recognized.")};
    const QStringList validation = {QStringLiteral("Validation identification line not recognized"),
                                    QStringLiteral("Plane entry format not recognized."),
                                    QStringLiteral("Line entry format not recognized."),
                                    QStringLiteral("Circle entry format not recognized."),
                                    QStringLiteral("Sphere entry format not recognized.")};
    return {
        {"stepgauge_10360_x_front", TMeasureData::CONTENTS_STEPGAUGE_10360, false, {6, 6, 6}, stepgauge},
        {"stepgauge_b89_x_axis", TMeasureData::CONTENTS_STEPGAUGE_B89, true, {21, 21}, stepgauge},
        {"stepgauge_squareness_xy", TMeasureData::CONTENTS_STEPGAUGE_SQUARE, true, {12}, stepgauge},
        {"gaugeblock_500mm_x_axis",
         TMeasureData::CONTENTS_GAUGEBLOCK,
         false,
         {},
         common + QStringList{QStringLiteral("Gauge block identification line not recognized")}},
        {"laser_10360_x_axis", TMeasureData::CONTENTS_LASER_10360, false, {5, 5, 5}, laser},
        {"laser_pmove_x_axis", TMeasureData::CONTENTS_LASER_PMOVE, false, {11}, laser},
        {"laser_pmove_y_straightness_z", TMeasureData::CONTENTS_LASER_PMOVE, false, {17}, laser},
        {"ballbar_500mm", TMeasureData::CONTENTS_BALLBAR, false, {14}, {ARTIFACT_IDENTIFICATION}},
        {"temperature_machine_day",
         TMeasureData::CONTENTS_TEMPERATURE,
         false,
         std::vector<int>(6, 61),
         {DATA_MISSING, QStringLiteral("File identification line not recognized")}},
        {"probe_tip_calibration",
         TMeasureData::CONTENTS_PROBE,
         false,
         {},
         alignment + QStringList{ARTIFACT_IDENTIFICATION}},
        {"pingauge_10mm", TMeasureData::CONTENTS_PIN_GAUGE, false, {25, 25, 25}, feature},
        {"ringgauge_25mm", TMeasureData::CONTENTS_RING_GAUGE, false, {37, 37, 37}, feature},
        {"sphere_pftu_25mm", TMeasureData::CONTENTS_SPHERE_PFTU, false, {}, feature},
        {"sphere_rpt_table_centre", TMeasureData::CONTENTS_SPHERE_RPT, false, {}, artifact},
        {"point_repeat_table_centre_x", TMeasureData::CONTENTS_POINT_REPEAT, false, {}, artifact},
        {"validation_plane_four_planes", TMeasureData::CONTENTS_VALIDATION_PLANE, false, {}, validation},
        {"validation_line_four_lines", TMeasureData::CONTENTS_VALIDATION_LINE, false, {}, validation},
        {"validation_circle_three_rings", TMeasureData::CONTENTS_VALIDATION_CIRCLE, false, {}, validation},
        {"validation_sphere_three_spheres", TMeasureData::CONTENTS_VALIDATION_SPHERE, false, {}, validation}};
}
} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Examples_data();
    void Examples();
    void Every_Example_Has_A_Row();
    void Damaged_Input_data() { Examples_data(); }
    void Damaged_Input();
    void Repeated_Up_To_The_Size_Limit_data() { Examples_data(); }
    void Repeated_Up_To_The_Size_Limit();
};

void TestRobustness::Examples_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("nominals");
    QTest::addColumn<std::vector<int>>("curves");
    QTest::addColumn<QStringList>("messages");
    for (const TExample &example : Example_Table())
    {
        QTest::newRow(example.name) << static_cast<int>(example.kind) << example.nominals << example.curves
                                    << example.messages;
    }
}

void TestRobustness::Examples()
{
    QFETCH(int, kind);
    QFETCH(bool, nominals);
    QFETCH(std::vector<int>, curves);

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    TNominalStore store;
    store.Initialize(Source_Path(QStringLiteral("examples")));
    const TMeasurementLoad load = MeasurementLoad::Load_File(
        Source_Path(QStringLiteral("examples/%1.dat").arg(name)), nominals ? &store : nullptr);
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QCOMPARE(static_cast<int>(load.contents), kind);
    QStringList golden = QString::fromUtf8(Read_Source(QStringLiteral("tests/data/golden/%1.txt").arg(name)))
                             .split(QLatin1Char('\n'));
    golden.removeLast(); // the file ends with a line end
    Compare_Lines(load.report_lines, golden);

    std::vector<int> sizes;
    for (const std::vector<TVector2> &curve : load.graph_data)
    {
        sizes.push_back(static_cast<int>(curve.size()));
    }
    QCOMPARE(sizes, curves);
}

void TestRobustness::Every_Example_Has_A_Row()
{
    QStringList names;
    for (const TExample &example : Example_Table())
    {
        names.append(QLatin1String(example.name) + QStringLiteral(".dat"));
    }
    names.sort();
    QCOMPARE(QDir(Source_Path(QStringLiteral("examples")))
                 .entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name),
             names);
}

void TestRobustness::Damaged_Input()
{
    QFETCH(int, kind);
    QFETCH(QStringList, messages);

    const QSet<QString> allowed(messages.begin(), messages.end());
    for (const QByteArray &damaged : Damaged_Copies(Example(QString::fromLatin1(QTest::currentDataTag()))))
    {
        const QString text = QString::fromLatin1(damaged);
        // Damage never turns a file into another kind.
        const int contents = TMeasureData::Determine_File_Contents(damaged);
        QVERIFY2(contents == kind || contents == TMeasureData::CONTENTS_UNKNOWN, qPrintable(text));

        const std::unique_ptr<TMeasureData> record =
            Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
        if (!record->Load_Data(damaged))
        {
            QVERIFY2(allowed.contains(record->last_error),
                     qPrintable(record->last_error + QStringLiteral(" for:\n") + text));
        }
        // Also what a failed load left behind must report and graph safely.
        QVERIFY(!record->Text_Report().isEmpty());
        for (const std::vector<TVector2> &curve : record->Graph_Data())
        {
            for (const TVector2 &point : curve)
            {
                QVERIFY2(std::isfinite(point.x) && std::isfinite(point.y), qPrintable(text));
            }
        }
    }
}

void TestRobustness::Repeated_Up_To_The_Size_Limit()
{
    // A line from the middle of the example repeated until the file reaches the size limit: loading
    // stays fast and ends in a report or one "ERR  ..." line.
    const QList<QByteArray> lines = Example(QString::fromLatin1(QTest::currentDataTag())).split('\n');
    const QByteArray head = lines.mid(0, lines.size() / 2).join('\n') + '\n';
    const QByteArray tail = lines.mid(lines.size() / 2).join('\n');
    const QByteArray body = tail.left(tail.indexOf('\n') + 1);
    QByteArray big = head;
    while (big.size() + body.size() + tail.size() < MeasurementLoad::LARGEST_FILE_SIZE)
    {
        big.append(body);
    }
    big.append(tail);

    QElapsedTimer timer;
    timer.start();
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(big, nullptr);
    QVERIFY(!load.report_lines.isEmpty());
    QVERIFY(load.Succeeded() ||
            (load.report_lines.size() == 1 && load.report_lines.first().startsWith(QStringLiteral("ERR  "))));
    if (load.record)
    {
        load.record->Text_Report();
    }
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestRobustness)
#include "tst_robustness.moc"
