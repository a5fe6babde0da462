// The command-line report tool, run as a user would run it.

#include <QImage>
#include <QtTest>

#include <set>

namespace
{
const QString TOOL = QStringLiteral(QUILLON_REPORT_PATH);
const QString EXAMPLE = QStringLiteral(QUILLON_SOURCE_DIR "/examples/stepgauge_10360_x_front.dat");
const QString GOLDEN = QStringLiteral(QUILLON_SOURCE_DIR "/tests/data/golden/stepgauge_10360_x_front.txt");

struct TRun
{
    int exit_code = -1;
    QByteArray out;
    QByteArray err;
};

TRun Run(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Output must be UTF-8 whatever the locale says.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(TOOL, arguments);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
    {
        return run;
    }
    run.exit_code = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestQuillonReport : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Example_Report();
    void Failing_Files_data();
    void Failing_Files();
    void Several_Files();
    void Usage_data();
    void Usage();
    void Ballbar_Tolerance();
    void Graph_data();
    void Graph();

  private:
    QTemporaryDir d_dir;
};

void TestQuillonReport::Example_Report()
{
    const TRun run = Run({EXAMPLE});
    QCOMPARE(run.exit_code, 0);
    QCOMPARE(run.out, Read(GOLDEN));
    QVERIFY(run.out.contains("20.14 \xcb\x9a"
                             "C")); // U+02DA in UTF-8
}

void TestQuillonReport::Failing_Files_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("tiny") << QByteArray("B89.4.1_Data")
                          << QByteArray("ERR  Input file too small to be a measurement data file.\n");
    QTest::newRow("huge") << QByteArray(300000, '#')
                          << QByteArray("ERR  Input file too large to be a measurement data file.\n");
    QTest::newRow("binary") << QByteArray(1024, '\xfe') << QByteArray("ERR  File contents not recognized.\n");
    QTest::newRow("unknown") << QByteArray("Measurement_Log:Version=9\n").repeated(4)
                             << QByteArray("ERR  File contents not recognized.\n");
}

void TestQuillonReport::Failing_Files()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, output);
    const QString path = d_dir.filePath(QStringLiteral("file.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();

    const TRun run = Run({path});
    QCOMPARE(run.exit_code, 1);
    QCOMPARE(run.out, output);

    const TRun missing = Run({d_dir.filePath(QStringLiteral("missing.dat"))});
    QCOMPARE(missing.exit_code, 1);
    QCOMPARE(missing.out, QByteArray("ERR  Input file too small to be a measurement data file.\n"));
}

void TestQuillonReport::Several_Files()
{
    const QString missing = d_dir.filePath(QStringLiteral("missing.dat"));
    const TRun run = Run({EXAMPLE, missing});
    QCOMPARE(run.exit_code, 1);
    const QByteArray expected = "==> " + EXAMPLE.toUtf8() + " <==\n" + Read(GOLDEN) + "\n" + "==> " +
                                missing.toUtf8() + " <==\n" +
                                "ERR  Input file too small to be a measurement data file.\n\n";
    QCOMPARE(run.out, expected);

    const TRun twice = Run({EXAMPLE, EXAMPLE});
    QCOMPARE(twice.exit_code, 0);
}

struct TUsageCase
{
    QStringList arguments;
    int exit_code;
    QByteArray text; // part of standard output, or of standard error for a usage error
};
Q_DECLARE_METATYPE(TUsageCase)

void TestQuillonReport::Usage_data()
{
    QTest::addColumn<TUsageCase>("row");
    QTest::newRow("help") << TUsageCase{{"--help"}, 0, "[options] FILE...\n"};
    QTest::newRow("version") << TUsageCase{{"--version", EXAMPLE}, 0, "quillon-report "};
    QTest::newRow("no file") << TUsageCase{{}, 2, {}};
    QTest::newRow("unknown option") << TUsageCase{{"--frobnicate", EXAMPLE}, 2, {}};
    QTest::newRow("nominals without folder") << TUsageCase{{EXAMPLE, "--nominals"}, 2, {}};
    QTest::newRow("tolerance above 1")
        << TUsageCase{{"--tolerance", "1.5", EXAMPLE}, 2, "\"1.5\": A must not"};
    QTest::newRow("tolerance of no form") << TUsageCase{
        {"--tolerance", "0.01+0.006X/1000", EXAMPLE}, 2, "\"0.01+0.006X/1000\": the expression is none"};
    QTest::newRow("graph of two files")
        << TUsageCase{{"--graph", "a.png", EXAMPLE, EXAMPLE}, 2, "exactly one"};
    QTest::newRow("graph as gif") << TUsageCase{{"--graph", "a.gif", EXAMPLE}, 2, ".png or .pdf"};
    QTest::newRow("graph size") << TUsageCase{
        {"--graph", "a.png", "--graph-size", "0x5", EXAMPLE}, 2, "'0x5'"};
    QTest::newRow("line without graph") << TUsageCase{{"--line", EXAMPLE}, 2, "need --graph"};
}

// Usage errors say what is wrong on one line of standard error; --help and --version go to standard
// output.
void TestQuillonReport::Usage()
{
    QFETCH(TUsageCase, row);
    const TRun run = Run(row.arguments);
    QCOMPARE(run.exit_code, row.exit_code);
    if (row.exit_code == 0)
    {
        QVERIFY2(run.out.contains(row.text), run.out.constData());
        QVERIFY(run.err.isEmpty());
        return;
    }
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(row.text), run.err.constData());
    QVERIFY2(run.err.startsWith("quillon-report: ") && run.err.count('\n') == 1 && run.err.endsWith('\n'),
             run.err.constData());
}

// The ballbar report ends with the tolerance line the viewer's pane prints.
void TestQuillonReport::Ballbar_Tolerance()
{
    const QString ballbar = QStringLiteral(QUILLON_SOURCE_DIR "/examples/ballbar_500mm.dat");
    const QByteArray golden = Read(QStringLiteral(QUILLON_SOURCE_DIR "/tests/data/golden/ballbar_500mm.txt"));
    QCOMPARE(Run({ballbar}).out, golden + "\n  BallBar Tolerance: 0.0150\n");
    QCOMPARE(Run({"--tolerance", " 0.01 + 0.001l/1000", ballbar}).out,
             golden + "\n  BallBar Tolerance: 0.0105\n");
}

struct TGraphCase
{
    QString example;
    QStringList options;
    int exit_code;
    QString colors; // drawn somewhere in the picture; after a '-', drawn nowhere
    QByteArray err;
};
Q_DECLARE_METATYPE(TGraphCase)

void TestQuillonReport::Graph_data()
{
    QTest::addColumn<TGraphCase>("row");
    const QStringList line{"--line"};
    QTest::newRow("ballbar") << TGraphCase{"ballbar_500mm", {}, 0, "#0000ff #ff0000", {}};
    QTest::newRow("laser lines") << TGraphCase{
        "laser_10360_x_axis", line, 0, "#800000 #008000 #000080 #a4a4ff -#400000", {}};
    QTest::newRow("laser points") << TGraphCase{"laser_pmove_x_axis", {}, 0, "#400000 #a4a4ff -#800000", {}};
    QTest::newRow("C 0") << TGraphCase{
        "stepgauge_b89_x_axis", {"--tolerance", "0.01+0.006L/0"}, 0, "#400000 -#a4a4ff", {}};
    QTest::newRow("B 0, A = D") << TGraphCase{
        "stepgauge_squareness_xy", {"--tolerance", "0.01+0L/1000|0.01"}, 0, "#400000 #a4a4ff", {}};
    QTest::newRow("ring") << TGraphCase{"ringgauge_25mm", {}, 0, "#a00000", {}};
    QTest::newRow("pin") << TGraphCase{"pingauge_10mm", {}, 0, "#a00000", {}};
    QTest::newRow("temperature") << TGraphCase{
        "temperature_machine_day", {}, 0, "#ff0000 #007f00 #0000ff", {}};
    QTest::newRow("pdf") << TGraphCase{"ballbar_500mm", {"--graph-size", "300x200"}, 0, {}, {}};
    QTest::newRow("no graph") << TGraphCase{"gaugeblock_500mm_x_axis", {}, 0, {}, "no graph written"};
    QTest::newRow("not loaded") << TGraphCase{"missing", {}, 1, {}, "did not load"};
}

// One picture per graphed kind, drawn without a display, in the data sets' colours.
void TestQuillonReport::Graph()
{
    QFETCH(TGraphCase, row);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString path = d_dir.filePath(tag + (tag == QLatin1String("pdf") ? ".PDF" : ".png"));
    for (const char *display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        qunsetenv(display);
    const TRun run = Run(QStringList{"--graph-size", "600x400", "--graph", path} + row.options +
                         QStringList{QUILLON_SOURCE_DIR "/examples/" + row.example + ".dat"});
    QCOMPARE(run.exit_code, row.exit_code);
    QVERIFY2(run.err.contains(row.err) && (row.err.isEmpty() == run.err.isEmpty()), run.err.constData());
    if (!row.err.isEmpty())
    {
        QVERIFY(!QFile::exists(path));
        return;
    }
    if (path.endsWith(".PDF"))
    {
        QVERIFY(Read(path).startsWith("%PDF"));
        QVERIFY(Read(path).contains("/MediaBox [0 0 300"));
        return;
    }
    const QImage image(path);
    QCOMPARE(image.size(), QSize(600, 400));
    std::set<QString> drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn.insert(QColor(image.pixel(x, y)).name());
    for (const QString &color : row.colors.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    {
        const bool absent = color.startsWith(QLatin1Char('-'));
        QVERIFY2(drawn.count(color.mid(absent ? 1 : 0)) != absent, qPrintable(color));
    }
}

QTEST_GUILESS_MAIN(TestQuillonReport)
#include "tst_quillonreport.moc"
