// The nominal store: saving and reading back, the file format, listing, loading odd files, looking a
// gauge up by its whole serial, removal, names that lead out of the folder, and a save that fails part
// way (it goes through the checked writer, whose own tests cover the rest).

#include "model/nominalstore.h"
#include "tests/common/test_support.h"

#include <QtTest>

using TValues = std::vector<double>;

namespace
{
const TValues EXAMPLE_VALUES = {10.00000, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};
const QString EXAMPLE_SERIAL = QStringLiteral("1020-4471");

QByteArray Nominal_File(const QByteArray &body, const QByteArray &version = "1")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Step_Gauge_Nominal File_Version=\"" + version +
           "\">\n" + body + "</Step_Gauge_Nominal>\n";
}

// A nominal file and the values it loads ({-1}: it fails to load).
struct TFileRow
{
    QByteArray contents;
    TValues values;
};

// Nominal files, one value each (1, 2, ...), and the file a serial finds (empty: none).
struct TLookupRow
{
    QStringList files;
    QString serial;
    QString found;
};
} // namespace

Q_DECLARE_METATYPE(TFileRow)
Q_DECLARE_METATYPE(TLookupRow)

class TTestNominalStore : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void init()
    {
        d_base.reset(new QTemporaryDir);
        QVERIFY(d_base->isValid());
        d_store = TNominalStore();
        d_store.Initialize(d_base->path());
        d_folder = d_store.Nominal_Folder() + QLatin1Char('/');
    }

    // Values rounded to five decimals, markup in the serial, an empty set; the shipped example set
    // (five decimals, indented) is exactly what the program writes.
    void Writes_And_Reads_Back()
    {
        d_store.Set_Nominal(QStringLiteral("<a&b>"), {1.234567, -0.000004, 2000.123456});
        QVERIFY(d_store.Save_Data(QStringLiteral("SG_X")));
        d_store.Set_Nominal(QStringLiteral("E"), {});
        QVERIFY(d_store.Save_Data(QStringLiteral("SG_E")));
        QCOMPARE(Read_File(d_folder + "SG_E"),
                 Nominal_File("    <Serial_Number>E</Serial_Number>\n    <Actual/>\n"));
        const QString name = TNominalStore::File_Name_For_Serial(EXAMPLE_SERIAL);
        d_store.Set_Nominal(EXAMPLE_SERIAL, EXAMPLE_VALUES);
        QVERIFY(d_store.Save_Data(name));
        QCOMPARE(Read_File(d_folder + name), Read_File(Source_Path("examples/Nominal_Data/" + name)));

        TNominalStore reader;
        reader.Initialize(d_base->path());
        QVERIFY(reader.Load_Data(QStringLiteral("SG_X")));
        QCOMPARE(reader.Serial_Number(), QStringLiteral("<a&b>"));
        QCOMPARE(reader.Nominal_Values(), TValues({1.23457, -0.0, 2000.12346}));
        QVERIFY(reader.Load_Data(QStringLiteral("SG_E")));
        QCOMPARE(reader.Nominal_Values(), TValues());
    }

    void Lists_Nominal_Files()
    {
        for (const char *name : {"SG_b", "sg_a", "SG_C", "notes.txt", "XSG_1"})
            QVERIFY(Write_File(d_folder + name, "x"));
        QVERIFY(QDir(d_folder).mkdir(QStringLiteral("SG_folder")));
        QCOMPARE(d_store.File_Names(), QStringList());
        d_store.Update_Display();
        QCOMPARE(d_store.File_Names(), QStringList({"sg_a", "SG_b", "SG_C"}));
    }

    void Loads_Edge_Cases_data()
    {
        QTest::addColumn<TFileRow>("row");
        const auto file = [](const QByteArray &indices)
        { return Nominal_File("<Serial_Number>S</Serial_Number><Actual>" + indices + "</Actual>"); };
        const TValues fails = {-1};
        QTest::newRow("gap ends the values")
            << TFileRow{file("<Index_0>1</Index_0><Index_1>2</Index_1><Index_3>4</Index_3>"), {1.0, 2.0}};
        QTest::newRow("non-numeric skipped")
            << TFileRow{file("<Index_0>1</Index_0><Index_1>one</Index_1><Index_2> 3.5 </Index_2>"
                             "<Index_3>nan</Index_3><Index_4>1e999</Index_4><Index_5>6</Index_5>"),
                        {1.0, 3.5, 6.0}};
        QTest::newRow("indices searched forward") << TFileRow{
            file("<Index_0>1</Index_0><Other/><Index_2>3</Index_2><Index_1>2</Index_1>"), {1.0, 2.0}};
        QTest::newRow("version 2") << TFileRow{Nominal_File("<Serial_Number>S</Serial_Number><Actual/>", "2"),
                                               fails};
        QTest::newRow("serial missing")
            << TFileRow{Nominal_File("<Actual><Index_0>1</Index_0></Actual>"), fails};
        QTest::newRow("actual missing") << TFileRow{Nominal_File("<Serial_Number>S</Serial_Number>"), fails};
        QTest::newRow("empty index") << TFileRow{file("<Index_0>1</Index_0><Index_1/>"), fails};
        QTest::newRow("other root") << TFileRow{"<step_gauge_nominal File_Version=\"1\"/>", fails};
        QByteArray indices;
        for (int i = 0; i < TNominalStore::LARGEST_FACE_COUNT; ++i)
            indices += "<Index_" + QByteArray::number(i) + ">1</Index_" + QByteArray::number(i) + ">";
        QTest::newRow("largest set") << TFileRow{file(indices),
                                                 TValues(TNominalStore::LARGEST_FACE_COUNT, 1.0)};
        QTest::newRow("one face too many") << TFileRow{file(indices + "<Index_10000>1</Index_10000>"), fails};
        QTest::newRow("too large to parse") << TFileRow{file(QByteArray(5 * 1024 * 1024, ' ')), fails};
    }

    void Loads_Edge_Cases()
    {
        QFETCH(TFileRow, row);
        const bool loads = row.values != TValues{-1};
        QVERIFY(Write_File(d_folder + "sg_s", row.contents));
        d_store.Update_Display();
        d_store.Set_Nominal(QStringLiteral("before"), {9.0});
        QCOMPARE(d_store.Load_Data(QStringLiteral("sg_s")), loads);
        QCOMPARE(d_store.Serial_Number(), loads ? QStringLiteral("S") : QStringLiteral("before"));
        QCOMPARE(d_store.Nominal_Values(), loads ? row.values : TValues{9.0});
        bool valid = !loads;
        QCOMPARE(d_store.Nominal_Data(QStringLiteral("s"), &valid), loads ? row.values : TValues());
        QCOMPARE(valid, loads);
    }

    // The whole name after "SG_" must be the serial: a suffix match would hand gauge 10 the values of 110.
    void Looks_Up_The_Whole_Serial_data()
    {
        QTest::addColumn<TLookupRow>("row");
        QTest::newRow("lower-case prefix") << TLookupRow{{"sg_7"}, "7", "sg_7"};
        QTest::newRow("exact name first") << TLookupRow{{"SG_10", "SG_110"}, "10", "SG_10"};
        QTest::newRow("no suffix match") << TLookupRow{{"SG_110", "SG_210"}, "10", ""};
        QTest::newRow("blanks around serial") << TLookupRow{{"SG_1020-4471"}, "  1020-4471 ", "SG_1020-4471"};
        QTest::newRow("blank serial") << TLookupRow{{"SG_"}, "  ", ""};
        QTest::newRow("prefix only") << TLookupRow{{"SG_7"}, "SG_7", ""};
        QTest::newRow("exact name over case variants") << TLookupRow{{"sg_X", "SG_x", "SG_X"}, "X", "SG_X"};
        QTest::newRow("case variant without exact name") << TLookupRow{{"sg_x", "SG_Y"}, "X", "sg_x"};
    }

    void Looks_Up_The_Whole_Serial()
    {
        QFETCH(TLookupRow, row);
        for (int i = 0; i < row.files.size(); ++i)
        {
            d_store.Set_Nominal(row.files[i], {double(i + 1)});
            QVERIFY(d_store.Save_Data(row.files[i]));
        }
        d_store.Update_Display();
        d_store.Set_Nominal(QStringLiteral("current"), {-1.0});
        bool valid = false;
        const TValues values = d_store.Nominal_Data(row.serial, &valid);
        QCOMPARE(valid, !row.found.isEmpty());
        QCOMPARE(values, valid ? TValues{double(row.files.indexOf(row.found) + 1)} : TValues());
        TValues source_values{42.0};
        QCOMPARE(d_store.Find_Nominal_Values(row.serial, &source_values), valid);
        QCOMPARE(source_values, values);
        QCOMPARE(d_store.Serial_Number(), QStringLiteral("current")); // a lookup leaves the current set alone
    }

    // A set that exists but cannot be read is reported as damaged, with its file; a missing one as not found.
    void Lookup_Failure()
    {
        QVERIFY(Write_File(d_folder + "SG_D", Nominal_File("<Actual/>")));
        d_store.Update_Display();
        QCOMPARE(d_store.Lookup_Failure("E"),
                 QStringLiteral("Stepgauge nominal data for gauge 'E' not found."));
        QCOMPARE(d_store.Lookup_Failure("d"), "Stepgauge nominal data for gauge 'd' is damaged: file '" +
                                                  d_folder +
                                                  "SG_D': ERR:  Node 'Serial_Number' is missing from node "
                                                  "'Step_Gauge_Nominal' and not optional.");
    }

    void Vanished_File_And_Foreign_Names()
    {
        d_store.Set_Nominal(QStringLiteral("5"), {1.0});
        QVERIFY(d_store.Save_Data(QStringLiteral("SG_5")));
        d_store.Update_Display();
        QVERIFY(d_store.Remove_Data(QStringLiteral("SG_5")));
        QVERIFY(!QFile::exists(d_folder + "SG_5"));
        bool valid = true;
        QVERIFY(d_store.Nominal_Data(QStringLiteral("5"), &valid).empty());
        QVERIFY(!valid);
        QVERIFY(!d_store.Remove_Data(QStringLiteral("SG_5")));

        // Names that lead out of the nominal folder are refused.
        QVERIFY(QDir(d_folder).mkdir(QStringLiteral("SG_a")));
        QVERIFY(!d_store.Save_Data(TNominalStore::File_Name_For_Serial(QStringLiteral("a/b"))));
        QVERIFY(!QFile::exists(d_folder + "SG_a/b"));
        QVERIFY(Write_File(d_base->filePath(QStringLiteral("keep")), "k"));
        QVERIFY(!d_store.Remove_Data(QStringLiteral("../keep")));
        QVERIFY(QFile::exists(d_base->filePath(QStringLiteral("keep"))));

        QCOMPARE(Child_Outcome([] { TNominalStore().Nominal_Data(QStringLiteral("1"), nullptr); }),
                 "assertion");
        QCOMPARE(Child_Outcome([] { TNominalStore().Load_Data_V1(nullptr); }), "assertion");
    }

    // The file size limit makes the write fail part way, as a full disk would.
    void Failed_Save_Keeps_The_Old_File()
    {
        d_store.Set_Nominal(QStringLiteral("G"), EXAMPLE_VALUES);
        QVERIFY(d_store.Save_Data(QStringLiteral("SG_G")));
        const QByteArray old_contents = Read_File(d_folder + "SG_G");
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
        QCOMPARE(Read_File(d_folder + "SG_G"), old_contents);
        QCOMPARE(QDir(d_folder).entryList(QDir::Files), QStringList(QStringLiteral("SG_G")));
    }

  private:
    std::unique_ptr<QTemporaryDir> d_base;
    TNominalStore d_store;
    QString d_folder; // the nominal folder with a trailing slash
};

QTEST_GUILESS_MAIN(TTestNominalStore)
#include "tst_nominalstore.moc"
