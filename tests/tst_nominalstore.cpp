#include "childprocess.h"
#include "nominalstore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

using TValues = std::vector<double>;
Q_DECLARE_METATYPE(TValues)

namespace
{
const TValues EXAMPLE_VALUES = {10.00000, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};
const char EXAMPLE_SERIAL[] = "1020-4471";

QByteArray Read_Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool Write_Bytes(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray Nominal_File(const QByteArray &version, const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Step_Gauge_Nominal File_Version=\"" + version +
           "\">\n" + body + "</Step_Gauge_Nominal>\n";
}

bool Save_Set(TNominalStore *store, const QString &file_name, const QString &serial, const TValues &values)
{
    store->Set_Nominal(serial, values);
    return store->Save_Data(file_name);
}
} // namespace

class TTestNominalStore : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        d_base.reset(new QTemporaryDir);
        QVERIFY(d_base->isValid());
        d_store = TNominalStore();
        d_store.Initialize(d_base->path());
    }

    void round_trip_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<TValues>("values");
        QTest::addColumn<TValues>("expected");
        QTest::newRow("example") << EXAMPLE_SERIAL << EXAMPLE_VALUES << EXAMPLE_VALUES;
        QTest::newRow("rounded to 5 decimals")
            << "A 7" << TValues{1.234567, -0.000004, 2000.123456} << TValues{1.23457, -0.0, 2000.12346};
        QTest::newRow("empty set") << "E" << TValues() << TValues();
        QTest::newRow("markup in serial") << "<a&b>" << TValues{5.0} << TValues{5.0};
    }

    void round_trip()
    {
        QFETCH(QString, serial);
        QFETCH(TValues, values);
        QFETCH(TValues, expected);
        QVERIFY(Save_Set(&d_store, TNominalStore::File_Name_For_Serial(QStringLiteral("X")), serial, values));

        TNominalStore reader;
        reader.Initialize(d_base->path());
        QVERIFY(reader.Load_Data(QStringLiteral("SG_X")));
        QCOMPARE(reader.Serial_Number(), serial);
        QCOMPARE(reader.Nominal_Values().size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
        {
            QVERIFY2(std::abs(reader.Nominal_Values()[i] - expected[i]) < 1e-9,
                     qPrintable(QString::number(i)));
        }
    }

    void writes_the_file_format()
    {
        QVERIFY(Save_Set(&d_store, QStringLiteral("SG_E"), QStringLiteral("E"), {}));
        QCOMPARE(Read_Bytes(d_store.Nominal_Folder() + QStringLiteral("/SG_E")),
                 Nominal_File("1", "    <Serial_Number>E</Serial_Number>\n    <Actual/>\n"));

        QVERIFY(Save_Set(&d_store, QStringLiteral("SG_2"), QStringLiteral("2"), {100.0, -0.5}));
        QCOMPARE(Read_Bytes(d_store.Nominal_Folder() + QStringLiteral("/SG_2")),
                 Nominal_File("1", "    <Serial_Number>2</Serial_Number>\n"
                                   "    <Actual>\n"
                                   "        <Index_0>100.00000</Index_0>\n"
                                   "        <Index_1>-0.50000</Index_1>\n"
                                   "    </Actual>\n"));

        // The shipped example set is exactly what the program writes.
        const QString file_name = TNominalStore::File_Name_For_Serial(QLatin1String(EXAMPLE_SERIAL));
        QVERIFY(Save_Set(&d_store, file_name, QLatin1String(EXAMPLE_SERIAL), EXAMPLE_VALUES));
        QCOMPARE(Read_Bytes(d_store.Nominal_Folder() + QLatin1Char('/') + file_name),
                 Read_Bytes(QStringLiteral(QUILLON_SOURCE_DIR "/examples/Nominal_Data/") + file_name));
    }

    void lists_nominal_files()
    {
        QVERIFY(QFileInfo(d_store.Nominal_Folder()).isDir());
        const QDir folder(d_store.Nominal_Folder());
        for (const char *name : {"SG_b", "sg_a", "SG_C", "notes.txt", "XSG_1"})
        {
            QVERIFY(Write_Bytes(folder.filePath(QLatin1String(name)), "x"));
        }
        QVERIFY(folder.mkdir(QStringLiteral("SG_folder")));
        QCOMPARE(d_store.File_Names(), QStringList());
        d_store.Update_Display();
        QCOMPARE(d_store.File_Names(), QStringList({"sg_a", "SG_b", "SG_C"}));
    }

    void loads_edge_cases_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<TValues>("values");
        const QByteArray serial = "  <Serial_Number>S</Serial_Number>\n";
        QTest::newRow("gap ends the values")
            << Nominal_File(
                   "1",
                   serial + "<Actual><Index_0>1</Index_0><Index_1>2</Index_1><Index_3>4</Index_3></Actual>")
            << true << TValues{1.0, 2.0};
        QTest::newRow("non-numeric skipped")
            << Nominal_File("1",
                            serial +
                                "<Actual><Index_0>1</Index_0><Index_1>one</Index_1><Index_2> 3.5 </Index_2>"
                                "<Index_3>nan</Index_3><Index_4>1e999</Index_4><Index_5>6</Index_5></Actual>")
            << true << TValues{1.0, 3.5, 6.0};
        QTest::newRow("indices searched forward")
            << Nominal_File("1",
                            serial +
                                "<Actual><Index_0>1</Index_0><Other/><Index_2>3</Index_2><Index_1>2</Index_1>"
                                "</Actual>")
            << true << TValues{1.0, 2.0};
        QTest::newRow("empty actual") << Nominal_File("1", serial + "<Actual/>") << true << TValues();
        QTest::newRow("version 2") << Nominal_File("2", serial + "<Actual/>") << false << TValues();
        QTest::newRow("version missing")
            << QByteArray("<Step_Gauge_Nominal>" + serial + "<Actual/></Step_Gauge_Nominal>") << false
            << TValues();
        QTest::newRow("serial missing")
            << Nominal_File("1", "<Actual><Index_0>1</Index_0></Actual>") << false << TValues();
        QTest::newRow("serial empty") << Nominal_File("1", "<Serial_Number/><Actual/>") << false << TValues();
        QTest::newRow("actual missing") << Nominal_File("1", serial) << false << TValues();
        QTest::newRow("empty index") << Nominal_File(
                                            "1", serial + "<Actual><Index_0>1</Index_0><Index_1/></Actual>")
                                     << false << TValues();
        QTest::newRow("other root") << QByteArray("<step_gauge_nominal File_Version=\"1\"/>") << false
                                    << TValues();
        QTest::newRow("not xml") << QByteArray("SG 1: 10.0, 20.0\n") << false << TValues();
    }

    void loads_edge_cases()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, loaded);
        QFETCH(TValues, values);
        QVERIFY(Write_Bytes(d_store.Nominal_Folder() + QStringLiteral("/sg_s"), contents));
        d_store.Update_Display();
        QCOMPARE(d_store.File_Names(), QStringList(QStringLiteral("sg_s")));

        d_store.Set_Nominal(QStringLiteral("before"), {9.0});
        QCOMPARE(d_store.Load_Data(QStringLiteral("sg_s")), loaded);
        if (loaded)
        {
            QCOMPARE(d_store.Serial_Number(), QStringLiteral("S"));
            QCOMPARE(d_store.Nominal_Values(), values);
        }
        bool valid = !loaded;
        QCOMPARE(d_store.Nominal_Data(QStringLiteral("s"), &valid), values);
        QCOMPARE(valid, loaded);
    }

    void looks_up_the_whole_serial_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("found");
        QTest::newRow("lower-case prefix") << QStringList{"sg_7"} << "7"
                                           << "sg_7";
        QTest::newRow("exact name first") << QStringList{"SG_10", "SG_110"} << "10"
                                          << "SG_10";
        QTest::newRow("no suffix match") << QStringList{"SG_110", "SG_210"} << "10" << QString();
        QTest::newRow("letter case ignored") << QStringList{"SG_ab-1"} << "AB-1"
                                             << "SG_ab-1";
        QTest::newRow("blanks around serial") << QStringList{"SG_1020-4471"} << "  1020-4471 "
                                              << "SG_1020-4471";
        QTest::newRow("empty serial") << QStringList{"SG_"} << "" << QString();
        QTest::newRow("blank serial") << QStringList{"SG_"} << "  " << QString();
        QTest::newRow("prefix only") << QStringList{"SG_7"} << "SG_7" << QString();
    }

    void looks_up_the_whole_serial()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, serial);
        QFETCH(QString, found);
        // Each file's single value tells which file was read.
        for (int i = 0; i < files.size(); ++i)
        {
            QVERIFY(Save_Set(&d_store, files[i], files[i], {double(i + 1)}));
        }
        d_store.Update_Display();
        d_store.Set_Nominal(QStringLiteral("current"), {-1.0});

        bool valid = false;
        const TValues values = d_store.Nominal_Data(serial, &valid);
        QCOMPARE(valid, !found.isEmpty());
        QCOMPARE(values, found.isEmpty() ? TValues() : TValues{double(files.indexOf(found) + 1)});
        TValues source_values{42.0};
        QCOMPARE(d_store.Find_Nominal_Values(serial, &source_values), valid);
        QCOMPARE(source_values, values);
        // A lookup leaves the current set alone.
        QCOMPARE(d_store.Serial_Number(), QStringLiteral("current"));
    }

    void null_pointer_preconditions()
    {
        TChildResult result =
            Run_In_Child(+[] { TNominalStore().Nominal_Data(QStringLiteral("1"), nullptr); });
        QVERIFY(result.aborted && result.error_output.contains("\"valid\""));
        result = Run_In_Child(+[] { TNominalStore().Load_Data_V1(nullptr); });
        QVERIFY(result.aborted && result.error_output.contains("\"xml_file\""));
    }

    void lookup_of_a_vanished_file_is_invalid()
    {
        QVERIFY(Save_Set(&d_store, QStringLiteral("SG_5"), QStringLiteral("5"), {1.0}));
        d_store.Update_Display();
        QVERIFY(d_store.Remove_Data(QStringLiteral("SG_5")));
        QVERIFY(!QFile::exists(d_store.Nominal_Folder() + QStringLiteral("/SG_5")));
        bool valid = true;
        QVERIFY(d_store.Nominal_Data(QStringLiteral("5"), &valid).empty());
        QVERIFY(!valid);
        QVERIFY(!d_store.Remove_Data(QStringLiteral("SG_5")));
    }

    void refuses_names_outside_the_folder()
    {
        QVERIFY(QDir(d_store.Nominal_Folder()).mkdir(QStringLiteral("SG_a")));
        d_store.Set_Nominal(QStringLiteral("a/b"), {1.0});
        QVERIFY(!d_store.Save_Data(TNominalStore::File_Name_For_Serial(QStringLiteral("a/b"))));
        QVERIFY(!QFile::exists(d_store.Nominal_Folder() + QStringLiteral("/SG_a/b")));
        QVERIFY(Write_Bytes(d_base->filePath(QStringLiteral("keep")), "k"));
        QVERIFY(!d_store.Remove_Data(QStringLiteral("../keep")));
        QVERIFY(QFile::exists(d_base->filePath(QStringLiteral("keep"))));
    }

    // The file size limit makes the write fail part way, as a full disk would.
    void failed_save_keeps_the_old_file()
    {
        QVERIFY(Save_Set(&d_store, QStringLiteral("SG_G"), QStringLiteral("G"), EXAMPLE_VALUES));
        const QString path = d_store.Nominal_Folder() + QStringLiteral("/SG_G");
        const QByteArray old_contents = Read_Bytes(path);
        d_store.Set_Nominal(QStringLiteral("G"), TValues(5000, 123.456));

        rlimit old_limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
        rlimit small_limit = old_limit;
        small_limit.rlim_cur = 4096;
        const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small_limit), 0);
        const bool saved = d_store.Save_Data(QStringLiteral("SG_G"));
        setrlimit(RLIMIT_FSIZE, &old_limit);
        std::signal(SIGXFSZ, old_handler);

        QVERIFY(!saved);
        QCOMPARE(Read_Bytes(path), old_contents);
        QCOMPARE(QDir(d_store.Nominal_Folder()).entryList(QDir::Files), QStringList(QStringLiteral("SG_G")));
    }

    void report_tool_data()
    {
        QTest::addColumn<QString>("equipment");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("use_nominals");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QStringList>("expected");

        const QStringList deviations = {"    100.0003      100.0008        0.0005",
                                        "    999.9996     1000.0009        0.0012"};
        QTest::newRow("found") << EXAMPLE_SERIAL << QStringList{"SG_1020-4471"} << true << 0 << deviations;
        QTest::newRow("found for blanks and case")
            << "  1020-4471" << QStringList{"sg_1020-4471"} << true << 0 << deviations;
        QTest::newRow("no suffix match")
            << EXAMPLE_SERIAL << QStringList{"SG_11020-4471"} << true << 1
            << QStringList{"ERR  Stepgauge nominal data for gauge '1020-4471' not found."};
        QTest::newRow("not found shows the serial as stored")
            << " 1020-4471" << QStringList() << true << 1
            << QStringList{"ERR  Stepgauge nominal data for gauge ' 1020-4471' not found."};
        QTest::newRow("refused by the record")
            << EXAMPLE_SERIAL << QStringList{"SG_1020-4471 short"} << true << 1
            << QStringList{
                   "ERR  Nominal data not found.  Possible wrong reference step position or measurement "
                   "error exceeds maximum allowed."};
        QTest::newRow("without nominals") << EXAMPLE_SERIAL << QStringList() << false << 0
                                          << QStringList{"    100.0008      100.0008        0.0000"};
    }

    void report_tool()
    {
        QFETCH(QString, equipment);
        QFETCH(QStringList, files);
        QFETCH(bool, use_nominals);
        QFETCH(int, exit_code);
        QFETCH(QStringList, expected);

        // "short" saves a set that does not cover the gauge's steps.
        for (const QString &file : files)
        {
            const QString name = file.section(QLatin1Char(' '), 0, 0);
            const TValues values = file.endsWith(QLatin1String(" short")) ? TValues{10.0} : EXAMPLE_VALUES;
            QVERIFY(Save_Set(&d_store, name, QLatin1String(EXAMPLE_SERIAL), values));
        }
        QByteArray measurement =
            Read_Bytes(QStringLiteral(QUILLON_SOURCE_DIR "/examples/stepgauge_10360_x_front.dat"));
        measurement.replace("Equipment_Identification:1020-4471",
                            "Equipment_Identification:" + equipment.toUtf8());
        const QString measurement_path = d_base->filePath(QStringLiteral("measurement.dat"));
        QVERIFY(Write_Bytes(measurement_path, measurement));

        QProcess process;
        QStringList arguments;
        if (use_nominals)
        {
            arguments << QStringLiteral("--nominals") << d_base->path();
        }
        process.start(QStringLiteral(QUILLON_REPORT_PATH), arguments << measurement_path);
        QVERIFY(process.waitForFinished(60000));
        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
        QCOMPARE(process.exitCode(), exit_code);
        if (exit_code != 0)
        {
            QCOMPARE(lines, expected + QStringList(QString()));
            return;
        }
        QCOMPARE(lines.first(), QStringLiteral("ASME B89.4.10360 Stepgauge Measurement"));
        for (const QString &line : expected)
        {
            QVERIFY2(lines.contains(line), qPrintable(line));
        }
    }

    void report_tool_needs_the_nominal_folder()
    {
        QProcess process;
        process.start(QStringLiteral(QUILLON_REPORT_PATH),
                      {QStringLiteral("--nominals"), d_base->filePath(QStringLiteral("none")),
                       QStringLiteral(QUILLON_SOURCE_DIR "/examples/stepgauge_10360_x_front.dat")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(!QFileInfo::exists(d_base->filePath(QStringLiteral("none"))));
    }

  private:
    std::unique_ptr<QTemporaryDir> d_base;
    TNominalStore d_store;
};

QTEST_GUILESS_MAIN(TTestNominalStore)
#include "tst_nominalstore.moc"
