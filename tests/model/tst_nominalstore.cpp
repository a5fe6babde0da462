// The nominal store: saving and reading back, the file format, listing, loading odd files, looking a
// gauge up by its whole serial, removal, names that lead out of the folder, and a save that fails part
// way (it goes through the checked writer, whose own tests cover the rest). The arithmetic of a set's
// faces: pitch fields, deviations shown and entered, serial numbers.

#include "model/nominalfaces.h"
#include "model/nominalstore.h"
#include "tests/common/test_support.h"

#include <QtTest>

#include <cmath>

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

struct TPitchCase
{
    QString increment, end;
    NominalFaces::TPitchState state;
    int faces;
    double last;
};
Q_DECLARE_METATYPE(TPitchCase)

struct TDeriveCase
{
    TValues nominals;
    bool valid;
    double increment, end;
    TValues deviations; // micrometres, one per face
};
Q_DECLARE_METATYPE(TDeriveCase)

struct TLayoutCase
{
    TValues nominals; // when empty: 'generated' faces 1 mm apart
    int generated;
    NominalFaces::TSpacing spacing;
    double increment, end;
    int uneven_face;
    double even_increment;
    TValues labels; // the first rows' labels
};
Q_DECLARE_METATYPE(TLayoutCase)

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

    void Generate_data()
    {
        using namespace NominalFaces;
        QTest::addColumn<TPitchCase>("pitch");
        QTest::newRow("default gauge") << TPitchCase{"10.000", "1010.000", PITCH_VALID, 102, 1010.0};
        QTest::newRow("end 95 rounds up") << TPitchCase{"10", "95", PITCH_VALID, 11, 100.0};
        QTest::newRow("end 94 rounds down") << TPitchCase{"10", " 94 ", PITCH_VALID, 10, 90.0};
        QTest::newRow("the cap itself") << TPitchCase{"1", "9999", PITCH_VALID, 10000, 9999.0};
        QTest::newRow("one face past the cap") << TPitchCase{"1", "10000", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end 1e300") << TPitchCase{"10", "1e300", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("end below 2 mm") << TPitchCase{"1", "1.9", PITCH_END_INVALID, 0, 0.0};
        QTest::newRow("increment below 1 mm") << TPitchCase{"0.999", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment text") << TPitchCase{"ten", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
        QTest::newRow("increment nan") << TPitchCase{"nan", "100", PITCH_INCREMENT_INVALID, 0, 0.0};
    }

    void Generate()
    {
        QFETCH(TPitchCase, pitch);
        TValues positions = {1.0};
        QCOMPARE(NominalFaces::Generate_Faces(0.0, NominalFaces::Read_Number(pitch.increment),
                                              NominalFaces::Read_Number(pitch.end), &positions),
                 pitch.state);
        QCOMPARE(static_cast<int>(positions.size()), pitch.faces);
        if (pitch.faces > 0)
            QVERIFY(positions.front() == 0.0 && std::fabs(positions.back() - pitch.last) < 1e-9);
    }

    void Derive_data()
    {
        QTest::addColumn<TDeriveCase>("derive");
        QTest::newRow("calibrated set") << TDeriveCase{{0, 20.00012, 40.0003}, true, 20, 40, {0, 0.12, 0.3}};
        QTest::newRow("offset first face")
            << TDeriveCase{{10, 110.00031, 210.00012, 309.99978}, true, 100, 300, {0, 0.31, 0.12, -0.22}};
        QTest::newRow("pitch rounded to 0.1 mm")
            << TDeriveCase{{5, 15.06, 25.1}, true, 10.1, 20.2, {0, -40, -100}};
        QTest::newRow("one value") << TDeriveCase{{5}, false, 0, 0, {}};
        QTest::newRow("pitch below 1 mm") << TDeriveCase{{0, 0.94, 1.9, 2.9}, false, 0, 0, {}};
        QTest::newRow("end below 2 mm") << TDeriveCase{{0, 1.0}, false, 0, 0, {}};
        QTest::newRow("overflowing difference") << TDeriveCase{{-1e308, 1e308, 1.5e308}, false, 0, 0, {}};
    }

    // The deviations shown for a set, and entering the shown deviation gives each face back.
    void Derive()
    {
        QFETCH(TDeriveCase, derive);
        double increment = 0.0, end = 0.0;
        QCOMPARE(NominalFaces::Derive_Pitch(derive.nominals, &increment, &end), derive.valid);
        if (!derive.valid)
            return;
        QVERIFY(std::fabs(increment - derive.increment) < 1e-9 && std::fabs(end - derive.end) < 1e-9);
        const TValues positions =
            NominalFaces::Face_Positions(increment, static_cast<int>(derive.nominals.size()));
        for (int face = 0; face < static_cast<int>(derive.nominals.size()); ++face)
        {
            const double value = derive.nominals[face];
            const double deviation =
                NominalFaces::Deviation_Micrometres(value, derive.nominals[0], positions[face]);
            QVERIFY2(std::fabs(deviation - derive.deviations[face]) < 1e-6,
                     qPrintable(QString::number(deviation)));
            QVERIFY(
                std::fabs(NominalFaces::Value_From_Deviation(derive.nominals, positions, face, deviation) -
                          value) < 1e-9);
        }
    }

    // The ideal position, not the value rounded to 0.1 mm, takes the deviation: a face 60 µm off.
    void Deviation_Of_A_Far_Face()
    {
        const TValues positions = NominalFaces::Face_Positions(20.0, 3);
        QCOMPARE(NominalFaces::Value_From_Deviation({0, 20.06, 40}, positions, 1, 2.5), 20.0025);
        QCOMPARE(NominalFaces::Value_From_Deviation({10.00004, 30.06, 50}, positions, 0, 1.0), 10.001);
    }

    void Lay_Out_data()
    {
        using namespace NominalFaces;
        QTest::addColumn<TLayoutCase>("layout");
        const auto row = [](const char *tag, const TLayoutCase &layout) { QTest::newRow(tag) << layout; };
        const TValues gap = {10, 110.00031, 210.00012, 409.99978, 610.00044, 810.00019, 1009.99962};
        row("a face missing",
            {gap, 0, SPACING_UNEVEN, 100, 1000, 3, 100, {0, 100.00031, 200.00012, 399.99978}});
        row("calibrated set", {{0, 20.00012, 40.0003}, 0, SPACING_EVEN, 20, 40, -1, 0, {0, 20, 40}});
        row("offset first face",
            {{10, 110.00031, 210.00012}, 0, SPACING_EVEN, 100, 200, -1, 0, {0, 100, 200}});
        row("49 um off", {{0, 10, 20.049, 30}, 0, SPACING_EVEN, 10, 30, -1, 0, {0, 10, 20, 30}});
        row("51 um off", {{0, 10, 19.949, 30}, 0, SPACING_UNEVEN, 10, 30, 2, 10, {0, 10, 19.949, 30}});
        // The pitch is rounded to 10.0 mm, and 40 um a face add up.
        row("pitch 10.04", {{0, 10.04, 20.08, 30.12}, 0, SPACING_UNEVEN, 10, 30.1, 2, 10, {0, 10.04, 20.08}});
        row("first faces 0.5 mm apart", {{3, 3.5, 103}, 0, SPACING_UNEVEN, 0.5, 100, 1, 0, {0, 0.5, 100}});
        row("two faces 1.5 mm apart", {{0, 1.5}, 0, SPACING_UNEVEN, 1.5, 1.5, 1, 0, {0, 1.5}});
        row("descending", {{200, 100, 0}, 0, SPACING_UNEVEN, -100, -200, 1, 0, {0, -100, -200}});
        row("the face limit", {{}, 10000, SPACING_EVEN, 1, 9999, -1, 0, {0, 1}});
        row("one face past the limit", {{}, 10001, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("one face", {{5}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("no faces", {{}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("nan", {{0, 10, std::nan("")}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
        row("overflowing difference", {{-1e308, 1e308}, 0, SPACING_NOT_SHOWN, 0, 0, -1, 0, {}});
    }

    // Whether deviations can be shown for a set, the pitch fields and the row labels it opens with.
    void Lay_Out()
    {
        QFETCH(TLayoutCase, layout);
        TValues nominals = layout.nominals;
        for (int face = 0; face < layout.generated; ++face)
            nominals.push_back(face);
        const NominalFaces::TLayout found = NominalFaces::Lay_Out(nominals);
        QCOMPARE(found.spacing, layout.spacing);
        QCOMPARE(found.uneven_face, layout.uneven_face);
        QVERIFY(std::fabs(found.even_increment - layout.even_increment) < 1e-9);
        if (layout.spacing == NominalFaces::SPACING_NOT_SHOWN)
        {
            QVERIFY(found.labels.empty());
            return;
        }
        QVERIFY2(std::fabs(found.increment - layout.increment) < 1e-9 &&
                     std::fabs(found.end - layout.end) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2").arg(found.increment).arg(found.end)));
        QCOMPARE(found.labels.size(), nominals.size());
        for (size_t face = 0; face < layout.labels.size(); ++face)
            QVERIFY2(std::fabs(found.labels[face] - layout.labels[face]) < 1e-9,
                     qPrintable(QString::number(face)));
    }

    void Serial()
    {
        for (const char *good : {"90210", "1020-4471", "SG-0620 0877", "a.b"})
            QVERIFY2(NominalSerial::Problem(good).isEmpty(), good);
        for (const QString &bad : QStringList{"", "a/b", "a\\b", "..", "x..y", " 7", "7 ", "a:b", "a*b",
                                              "a\nb", "a\tb", QString(253, QLatin1Char('x'))})
            QVERIFY2(!NominalSerial::Problem(bad).isEmpty(), qPrintable(bad));
        const QStringList names = {"SG_10", "sg_7", "SG_70"};
        QCOMPARE(NominalSerial::Listed_File(names, "7"), QStringLiteral("sg_7"));
        QCOMPARE(NominalSerial::Listed_File(names, "sg_7"), QString());
    }

  private:
    std::unique_ptr<QTemporaryDir> d_base;
    TNominalStore d_store;
    QString d_folder; // the nominal folder with a trailing slash
};

QTEST_GUILESS_MAIN(TTestNominalStore)
#include "tst_nominalstore.moc"
