// The command-line report tool run as a user runs it: reports, exit statuses, usage errors, verdicts,
// graph pictures, PDF and CSV output.

#include "measurementload.h"
#include "test_support.h"

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
const QByteArray TOO_SMALL = "ERR  Input file too small to be a measurement data file.\n";

struct TRun
{
    int exit_code = -1;
    QByteArray out, err;
};

// Runs the report tool unless told otherwise. Output must be UTF-8 whatever the locale says, and the tool
// must draw without a display.
TRun Run(const QStringList &arguments, const QString &program = QStringLiteral(QUILLON_REPORT_PATH))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    for (const char *display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(display));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    TRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    return run;
}

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
} // namespace
Q_DECLARE_METATYPE(TRunRow)

class TTestQuillonReport : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
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
        Row("no graph", {"--graph", "@/g.png", EXAMPLES + "gaugeblock_500mm_x_axis.dat"}, 0, "Gauge Block",
            "no graph written");
        Row("graph of a file not loaded", {"--graph", "@/g.png", "@/missing.dat"}, 1, TOO_SMALL,
            "did not load");
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

    // Reports as the golden files have them, one after another under a heading for several files.
    void Reports()
    {
        const QByteArray golden =
            Read_File(Source_Path(QStringLiteral("tests/data/golden/stepgauge_10360_x_front.txt")));
        QCOMPARE(Run({STEPGAUGE}).out, golden);
        QVERIFY(golden.contains("20.14 \xcb\x9a"
                                "C")); // U+02DA in UTF-8
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
};

QTEST_GUILESS_MAIN(TTestQuillonReport)
#include "tst_quillonreport.moc"
