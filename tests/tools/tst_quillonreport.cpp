// The command-line report tool run as a user runs it: reports, exit statuses, usage errors, verdicts,
// graph pictures, PDF and CSV output; --summary (the folder search, the CSV rows with their UTC times, exit
// statuses) and --compare (the table of two runs, the reason two runs cannot be compared), and the options
// each mode refuses.

#include "model/measurementload.h"
#include "tests/common/test_support.h"
#include "tests/common/tool_run.h"

#include <QImage>
#include <QtTest>

#include <set>

namespace
{
const QString EXAMPLES = Source_Path(QStringLiteral("examples/"));
const QString STEPGAUGE = EXAMPLES + QStringLiteral("stepgauge_10360_x_front.dat");
const QString LASER = EXAMPLES + QStringLiteral("laser_10360_x_axis.dat");
const QString BALLBAR = EXAMPLES + QStringLiteral("ballbar_500mm.dat");
const QString UNREADABLE = Source_Path(QStringLiteral("tests/data/laser/laser_10360_short_point.dat"));
const QByteArray TOO_SMALL =
    "ERR  Input file too small to be a measurement data file. The file does not exist.\n";

// "@" in an argument stands for a fresh folder, which the run must leave empty.
struct TRunRow
{
    QStringList arguments;
    int exit_code;
    QByteArray out; // part of standard output
    QByteArray err; // part of the one line on standard error; empty: nothing there
};

void Row(const char *tag, const QStringList &arguments, int exit_code, const QByteArray &out,
         const QByteArray &err = {})
{
    QTest::newRow(tag) << TRunRow{arguments, exit_code, out, err};
}

bool Copy(const QString &example, const QString &path, const char *modified)
{
    return Write_File(path, Read_File(EXAMPLES + example), Utc(modified));
}
} // namespace
Q_DECLARE_METATYPE(TRunRow)

class TTestQuillonReport : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(d_dir.isValid());
        // The second run of the laser reads 0.002 mm more once at 100 mm, where four readings are
        // averaged.
        QByteArray data = Read_File(EXAMPLES + "laser_pmove_x_axis.dat");
        QVERIFY(data.contains("-500.0000,0.00049\n"));
        data.replace("-500.0000,0.00049\n", "-500.0000,0.00249\n");
        QVERIFY(Write_File(d_dir.filePath("after.dat"), data));
        QVERIFY(QDir().mkpath(d_dir.filePath("empty/Nominal_Data")));
    }

    void Runs_data()
    {
        QTest::addColumn<TRunRow>("row");
        Row("help", {"--help"}, 0, "[options] FILE...\n");
        Row("version", {"--version", STEPGAUGE}, 0, "quillon-report ");
        Row("no file", {}, 2, {}, "no measurement file");
        Row("unknown option", {"--frobnicate", STEPGAUGE}, 2, {}, "frobnicate");
        Row("tolerance above 1", {"--tolerance", "1.5", STEPGAUGE}, 2, {}, "\"1.5\": A must not");
        Row("graph of two files", {"--graph", "@/a.png", LASER, LASER}, 2, {}, "exactly one");
        Row("graph as gif", {"--graph", "@/a.gif", LASER}, 2, {}, ".png or .pdf");
        Row("graph size", {"--graph", "@/a.png", "--graph-size", "0x5", LASER}, 2, {}, "'0x5'");
        Row("line without graph", {"--line", LASER}, 2, {}, "need --graph");
        Row("limits reversed", {"--ts-limits", "22,18", LASER}, 2, {}, "22,18");
        Row("limits beyond 1000", {"--ts-limits", "0,1000.5", LASER}, 2, {}, "between -1000 and 1000");
        Row("tolerance group no number", {"--tolerance", "1.2.3", LASER}, 2, {}, "\"1.2.3\": each of A");
        Row("tolerance divisor 0", {"--tolerance", "0.01+0.006L/0", LASER}, 2, {}, "C must be greater");
        Row("pdf of two files", {"--pdf", "@/x.pdf", LASER, LASER}, 2, {}, "exactly one");
        Row("unknown paper", {"--pdf", "@/x.pdf", "--page-size", "B5", LASER}, 2, {}, "'B5'");

        Row("nominals", {"--nominals", EXAMPLES, STEPGAUGE}, 0,
            "\n    999.9996     1000.0009        0.0012\n");
        Row("no nominal folder", {"--nominals", "@/none", STEPGAUGE}, 2, {}, "no nominal folder");
        Row("pass", {"--verdict", LASER}, 0,
            "\nVerdict: PASS  worst deviation -0.0038 mm at 999.9962 mm is 25.6% of E MPL 0.0150 mm\n");
        Row("fail", {"--verdict", "--tolerance", "0.003", LASER}, 3, "\nVerdict: FAIL  worst deviation");
        Row("load failure wins", {"--verdict", "--tolerance", "0.003", LASER, "@/missing.dat"}, 1,
            "Verdict: FAIL");
        Row("temperature limits",
            {"--verdict", "--ts-limits", "20,22.5", EXAMPLES + "temperature_machine_day.dat"}, 3,
            "Verdict: FAIL  readings 19.80 to 21.21 \xc2\xb0"
            "C outside");
        Row("unreadable line", {"--verdict", UNREADABLE}, 3,
            "\nVerdict: INCOMPLETE  1 data line could not be read\n");
        Row("unreadable line, load failure wins", {"--verdict", UNREADABLE, "@/missing.dat"}, 1,
            "INCOMPLETE");
        Row("pdf into a folder", {"--pdf", "@", LASER}, 1, "Laser Measurement", "Cannot write");
        Row("csv into a missing folder", {"--csv", "@/no/x.csv", LASER}, 1, "Laser Measurement",
            "Cannot write");
        Row("pdf on a full disk", {"--pdf", "/dev/full", LASER}, 1, "Laser Measurement",
            "Cannot write '/dev/full': No space left on device");
        const QString gaugeblock = EXAMPLES + "gaugeblock_500mm_x_axis.dat";
        Row("no graph", {"--graph", "@/g.png", gaugeblock}, 0, "Gauge Block", "no graph written");
        Row("no graph, no rows, no file", {"--csv", "@/g.csv", gaugeblock}, 1, "Gauge Block",
            "have no graph, so there are no CSV rows");
        Row("graph of a file not loaded", {"--graph", "@/g.png", "@/missing.dat"}, 1, TOO_SMALL,
            "did not load");
        Row("pdf of a file not loaded", {"--pdf", "@/r.pdf", "@/missing.dat"}, 1, TOO_SMALL,
            "nothing written: '");
    }

    void Runs()
    {
        QFETCH(TRunRow, row);
        QTemporaryDir dir;
        row.arguments.replaceInStrings(QStringLiteral("@"), dir.path());
        const TRun run = Run(row.arguments);
        QCOMPARE(run.exit_code, row.exit_code);
        QVERIFY2(run.out.contains(row.out), run.out.right(400).constData());
        QCOMPARE(run.out.isEmpty(), row.exit_code == 2);
        QVERIFY2(row.err.isEmpty() ? run.err.isEmpty()
                                   : run.err.contains(row.err) && run.err.startsWith("quillon-report: ") &&
                                         run.err.count('\n') == 1 && run.err.endsWith('\n'),
                 run.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    // Outputs that would replace a measurement file or each other, repeated options and long values are
    // usage errors; nothing is written and the measurement file is as it was.
    void Refused_Outputs_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("err");
        const QByteArray never = "measurement file";
        QTest::newRow("pdf swallowed the first file")
            << QStringList{"--verdict", "--pdf", "@/run1.dat", "@/run2.dat"} << never;
        QTest::newRow("pdf over a measurement without .dat")
            << QStringList{"--pdf", "@/renamed", "@/run2.dat"}
            << QByteArray("/renamed' is a measurement file");
        QTest::newRow("csv on the input") << QStringList{"--csv", "@/run1.dat", "@/run1.dat"} << never;
        QTest::newRow("two outputs, one path")
            << QStringList{"--pdf", "@/x.pdf", "--graph", "@/./x.pdf", "@/run1.dat"}
            << QByteArray("name the same file");
        QTest::newRow("repeated option") << QStringList{"--pdf", "@/a.pdf", "--pdf", "@/b.pdf", "@/run1.dat"}
                                         << QByteArray("option --pdf given more than once");
        QTest::newRow("repeated flag") << QStringList{"--line", "--line", "--graph", "@/g.png", "@/run1.dat"}
                                       << QByteArray("option --line given more than once");
        const QString long_value = QString(300, QLatin1Char('7'));
        QTest::newRow("long value") << QStringList{"--tolerance", long_value, "@/run1.dat"}
                                    << "\"" + QByteArray(80, '7') + "...\"";
        QTest::newRow("long value after =")
            << QStringList{"--graph", "@/g.png", "--graph-size=" + long_value, "@/run1.dat"}
            << "'" + QByteArray(80, '7') + "...'";
    }

    void Refused_Outputs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, err);
        QTemporaryDir dir;
        const QByteArray laser = Read_File(LASER);
        QVERIFY(Write_File(dir.filePath("run1.dat"), laser) && Write_File(dir.filePath("run2.dat"), laser) &&
                Write_File(dir.filePath("renamed"), laser));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const TRun run = Run(arguments.replaceInStrings(QStringLiteral("@"), dir.path()));
        QCOMPARE(run.exit_code, 2);
        QVERIFY2(run.err.contains(err) && run.err.count('\n') == 1 && run.err.size() < 300,
                 run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        for (const char *name : {"run1.dat", "run2.dat", "renamed"})
            QCOMPARE(Read_File(dir.filePath(name)), laser);
    }

    // Where the output goes, and what each failure to write says.
    void Destinations()
    {
        // CSV rows on standard output, and nothing else there.
        TRun run = Run({"--verdict", "--csv", "-", LASER});
        QCOMPARE(run.exit_code, 0);
        QVERIFY2(run.out.startsWith("Curve,Length,Deviation\n") && !run.out.contains("Verdict") &&
                     !run.out.contains("Laser"),
                 run.out.constData());
        // A device is written, not replaced.
        QCOMPARE(Run({"--csv", "/dev/zero", "--pdf", "/dev/null", LASER}).exit_code, 0);
        QVERIFY(!QFileInfo("/dev/null").isFile() && !QFileInfo("/dev/zero").isFile());
        // The report itself cannot be written.
        run = Run({LASER}, QUILLON_REPORT_PATH, "/dev/full");
        QCOMPARE(run.exit_code, 1);
        QVERIFY2(run.err.startsWith("quillon-report: cannot write to standard output: ") &&
                     run.err.count('\n') == 1,
                 run.err.constData());
        // A reader that leaves before the pipe's buffer is read: the report tool meets a closed pipe.
        QStringList pipeline{"-c", "\"$0\" \"$@\" | true; exit ${PIPESTATUS[0]}", QUILLON_REPORT_PATH};
        for (int i = 0; i < 100; ++i)
            pipeline << LASER;
        run = Run(pipeline, QStringLiteral("bash"));
        QCOMPARE(run.exit_code, 1);
        QVERIFY2(run.err.contains("cannot write to standard output: Broken pipe"), run.err.constData());
        run = Run({"--csv", "-", LASER}, QUILLON_REPORT_PATH, "/dev/full");
        QCOMPARE(run.exit_code, 1);
        QVERIFY2(run.err.contains("cannot write to standard output: No space left on device"),
                 run.err.constData());
    }

    // Reports as the golden files have them, one after another under a heading for several files.
    void Reports()
    {
        const QByteArray golden =
            Read_File(Source_Path(QStringLiteral("tests/data/golden/stepgauge_10360_x_front.txt")));
        QCOMPARE(Run({STEPGAUGE}).out, golden);
        const QString missing = QStringLiteral("/nonexistent/missing.dat");
        const TRun run = Run({STEPGAUGE, missing});
        QCOMPARE(run.exit_code, 1);
        QCOMPARE(run.out, "==> " + STEPGAUGE.toUtf8() + " <==\n" + golden + "\n==> " + missing.toUtf8() +
                              " <==\n" + TOO_SMALL + "\n");
        QCOMPARE(Run({STEPGAUGE, STEPGAUGE}).exit_code, 0);

        // The ballbar report ends with the tolerance line the viewer's pane prints.
        const QByteArray ballbar =
            Read_File(Source_Path(QStringLiteral("tests/data/golden/ballbar_500mm.txt")));
        QCOMPARE(Run({"--tolerance", " 0.01 + 0.001l/1000", BALLBAR}).out,
                 ballbar + "\n  BallBar Tolerance: 0.0105\n");
    }

    // One run writes every output: a picture in the data sets' colours (after a '-': drawn nowhere),
    // every graph point at full precision in curve order, and a PDF that holds the verdict.
    void Outputs()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("graph.png"));
        const QString pdf = dir.filePath(QStringLiteral("laser.pdf"));
        const QString csv = dir.filePath(QStringLiteral("laser.csv"));
        const TRun run = Run({"--verdict", "--graph-size", "600x400", "--graph", png, "--line", "--pdf", pdf,
                              "--page-size", "letter", "--csv", csv, LASER});
        QCOMPARE(run.exit_code, 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(600, 400));
        QVERIFY(Read_File(png).startsWith("\x89PNG"));
        std::set<QRgb> drawn;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn.insert(image.pixel(x, y) & RGB_MASK);
        for (const char *color : {"#800000", "#008000", "#000080", "#a4a4ff", "-#400000"})
        {
            const bool absent = color[0] == '-';
            QVERIFY2(drawn.count(QColor(color + absent).rgb() & RGB_MASK) != absent, color);
        }

        const QStringList rows =
            QString::fromUtf8(Read_File(csv)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(rows.value(0), QStringLiteral("Curve,Length,Deviation"));
        std::vector<double> read, expected;
        for (const QString &row : rows.mid(1))
            for (const QString &field : row.split(QLatin1Char(',')))
                read.push_back(field.toDouble());
        const TMeasurementLoad load = MeasurementLoad::Load_File(LASER, nullptr);
        for (std::size_t curve = 0; curve < load.graph_data.size(); ++curve)
            for (const TVector2 &point : load.graph_data[curve])
                expected.insert(expected.end(), {static_cast<double>(curve + 1), point.x, point.y});
        QCOMPARE(read.size(), std::size_t(45));
        QVERIFY(read == expected);

        const QString graph_pdf = dir.filePath(QStringLiteral("graph.PDF"));
        QCOMPARE(Run({"--graph-size", "300x200", "--graph", graph_pdf, BALLBAR}).exit_code, 0);
        QVERIFY(Read_File(graph_pdf).startsWith("%PDF") &&
                Read_File(graph_pdf).contains("/MediaBox [0 0 300"));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QByteArray text = Run({"-layout", pdf, "-"}, QStringLiteral("pdftotext")).out.simplified();
        QVERIFY2(text.contains(run.out.trimmed().split('\n').last().simplified()), text.constData());
        QVERIFY(Run({pdf}, QStringLiteral("pdfinfo")).out.contains("612 x 792 pts (letter)"));
    }

    void Summary()
    {
        const QString root = d_dir.filePath(QStringLiteral("runs"));
        const QString laser = QStringLiteral("laser_10360_x_axis.dat");
        QVERIFY(Copy(laser, root + "/b.dat", "2026-03-01T10:00:00"));
        QVERIFY(Copy(laser, root + "/old/a.DAT", "2026-01-15T08:30:00"));
        QVERIFY(Copy(QStringLiteral("stepgauge_10360_x_front.dat"), root + "/c.dat", "2026-02-01T23:59:59"));
        QVERIFY(Copy(QStringLiteral("ballbar_500mm.dat"), root + "/q,\"x\".dat", "2026-02-02T00:00:00"));
        QVERIFY(Copy(QStringLiteral("pingauge_10mm.dat"), root + "/pin.dat", "2026-02-03T00:00:00"));
        // Not searched: hidden entries, other suffixes, a linked folder.
        QVERIFY(Copy(laser, root + "/.hidden.dat", "2026-02-01T00:00:00"));
        QVERIFY(Copy(laser, root + "/.hidden/x.dat", "2026-02-01T00:00:00"));
        QVERIFY(Copy(laser, root + "/notes.txt", "2026-02-01T00:00:00"));
        QVERIFY(Copy(laser, d_dir.filePath("elsewhere/y.dat"), "2026-02-01T00:00:00"));
        QVERIFY(QFile::link(d_dir.filePath("elsewhere"), root + "/link"));

        // "@" stands for the folder searched.
        const QByteArray at = root.toUtf8();
        QByteArray rows =
            "Modified,Kind,Identity,Verdict,Percent,File\n"
            "2026-02-02T00:00:00Z,ballbar,,PASS,39.6,\"@/q,\"\"x\"\".dat\"\n"
            "2026-01-15T08:30:00Z,laser_10360,\"X axis, Y=-400 Z=-500\",PASS,25.6,@/old/a.DAT\n"
            "2026-03-01T10:00:00Z,laser_10360,\"X axis, Y=-400 Z=-500\",PASS,25.6,@/b.dat\n"
            "2026-02-03T00:00:00Z,pin_gauge,,,,@/pin.dat\n"
            "2026-02-01T23:59:59Z,stepgauge_10360,\"1020-4471; X axis front, Y=-350 Z=-600\",PASS,"
            "12.7,@/c.dat\n";
        TRun run = Run({"--summary", "--nominals", EXAMPLES, root + "/"});
        QCOMPARE(run.out, rows.replace('@', at));
        QCOMPARE(run.exit_code, 0);
        QCOMPARE(run.err, QByteArray());

        // A file given by name is taken whatever its name; one given twice is one row.
        run = Run({"--summary", "--verdict", root + "/notes.txt", root + "/notes.txt"});
        QCOMPARE(run.out.count('\n'), 2);
        QVERIFY(run.out.endsWith(",laser_10360,\"X axis, Y=-400 Z=-500\",PASS,25.6," + at + "/notes.txt\n"));
        QCOMPARE(run.exit_code, 0);

        // Without its nominal set the step gauge file does not load; every other row is still printed.
        run = Run({"--summary", "--verdict", "--nominals", d_dir.filePath("elsewhere"), root});
        QCOMPARE(run.exit_code, 2); // no Nominal_Data folder there
        QVERIFY(QDir().mkpath(d_dir.filePath("elsewhere/Nominal_Data")));
        run = Run({"--summary", "--verdict", "--nominals", d_dir.filePath("elsewhere"), root});
        QCOMPARE(run.exit_code, 1);
        QVERIFY(run.out.contains("\n2026-02-01T23:59:59Z,stepgauge_10360,,ERR,," + at + "/c.dat\n"));
        QCOMPARE(run.out.count('\n'), 6);

        // A FAIL gives 3 with --verdict, unless a file did not load.
        QStringList tight = {"--summary", "--nominals", EXAMPLES, "--tolerance", "0.001", root};
        run = Run(tight);
        QCOMPARE(run.exit_code, 0);
        QVERIFY(run.out.contains(",FAIL,384.0," + at + "/b.dat\n"));
        QCOMPARE(Run(tight << "--verdict").exit_code, 3);
        QVERIFY(Write_File(root + "/tiny.dat", "x"));
        run = Run(tight);
        QCOMPARE(run.exit_code, 1);
        QVERIFY(run.out.endsWith(",unknown,,ERR,," + at + "/tiny.dat\n"));
    }

    // The table's head and last line, or the one line that says why two runs cannot be compared.
    void Compare_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QByteArray>("last_line"); // of standard output
        QTest::addColumn<QByteArray>("err");
        const QString pmove = EXAMPLES + "laser_pmove_x_axis.dat";
        const QString step = EXAMPLES + "stepgauge_10360_x_front.dat";
        QTest::newRow("changed run") << QStringList{"--compare", pmove, d_dir.filePath("after.dat")} << 0
                                     << QByteArray("Largest change: 0.0005 mm at 100.0000 mm (curve 1)")
                                     << QByteArray();
        QTest::newRow("nominals and tolerance apply")
            << QStringList{"--nominals", EXAMPLES, "--tolerance", "0.003", "--compare", step, step} << 0
            << QByteArray("Largest change: 0.0000 mm at 100.0008 mm (curve 1)") << QByteArray();
        QTest::newRow("nominal set missing")
            << QStringList{"--nominals", d_dir.filePath("empty"), "--compare", step, step} << 1
            << QByteArray()
            << QByteArray("quillon-report: cannot compare: '" + step.toUtf8() +
                          "' did not load: Stepgauge nominal data for gauge '1020-4471' not found.\n");
        QTest::newRow("different kinds")
            << QStringList{"--compare", EXAMPLES + "laser_10360_x_axis.dat", pmove} << 1 << QByteArray()
            << QByteArray("quillon-report: cannot compare: the files hold different kinds of measurement: "
                          "laser_10360 and laser_pmove\n");
        const QByteArray two = "quillon-report: --compare takes exactly two measurement files (see --help)\n";
        QTest::newRow("one file") << QStringList{"--compare", pmove} << 2 << QByteArray() << two;
        QTest::newRow("three files") << QStringList{"--compare", pmove, pmove, pmove} << 2 << QByteArray()
                                     << two;
    }

    void Compare()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit_code);
        QFETCH(QByteArray, last_line);
        QFETCH(QByteArray, err);
        const TRun run = Run(arguments);
        QCOMPARE(run.err, err);
        QCOMPARE(run.exit_code, exit_code);
        QCOMPARE(run.out.isEmpty(), exit_code != 0);
        if (exit_code != 0)
            return;
        const QList<QByteArray> lines = run.out.split('\n');
        const int files = static_cast<int>(arguments.size()) - 2;
        QCOMPARE(lines.value(0), QByteArray("Comparison of deviations in mm"));
        QCOMPARE(lines.value(1), "  A: " + arguments.at(files).toUtf8());
        QCOMPARE(lines.value(2), "  B: " + arguments.at(files + 1).toUtf8());
        QCOMPARE(lines.value(lines.size() - 2), last_line);
        QCOMPARE(lines.constLast(), QByteArray());
    }

    // Options of another mode are usage errors, named in one line; nothing goes to standard output.
    void Refused_Options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        const QString pmove = EXAMPLES + "laser_pmove_x_axis.dat";
        const QString cannot = QStringLiteral("quillon-report: %1 cannot be used with %2 (see --help)\n");
        for (const QString option : {"--graph x.png", "--graph-size 10x10", "--line", "--pdf x.pdf",
                                     "--page-size A4", "--csv x.csv"})
            QTest::newRow(qPrintable("summary " + option))
                << QStringList{"--summary"} + option.split(' ') + QStringList{EXAMPLES}
                << cannot.arg(option.section(' ', 0, 0), "--summary").toUtf8();
        for (const QString option : {"--csv -", "--verdict", "--summary"})
            QTest::newRow(qPrintable("compare " + option))
                << QStringList{"--compare"} + option.split(' ') + QStringList{pmove, pmove}
                << cannot.arg(option.section(' ', 0, 0), "--compare").toUtf8();
        QTest::newRow("summary without path")
            << QStringList{"--summary"} << QByteArray("no measurement file");
        QTest::newRow("summary, bad limits")
            << QStringList{"--summary", "--ts-limits", "5", EXAMPLES} << QByteArray("'5'");
    }

    void Refused_Options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const TRun run = Run(arguments);
        QCOMPARE(run.exit_code, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains(message) && run.err.count('\n') == 1, run.err.constData());
    }

  private:
    QTemporaryDir d_dir;
};

QTEST_GUILESS_MAIN(TTestQuillonReport)
#include "tst_quillonreport.moc"
