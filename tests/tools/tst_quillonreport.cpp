// The command-line report tool, run as a user would run it.

#include <QtTest>

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
    QByteArray out; // part of standard output; a usage error prints nothing there
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
        QVERIFY2(run.out.contains(row.out), run.out.constData());
        QVERIFY(run.err.isEmpty());
        return;
    }
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.startsWith("quillon-report: ") && run.err.count('\n') == 1 && run.err.endsWith('\n'),
             run.err.constData());
}

QTEST_GUILESS_MAIN(TestQuillonReport)
#include "tst_quillonreport.moc"
