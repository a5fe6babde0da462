// The shared line grammar: line splitting and skipping, markers, keyed records, numbers and lists.

#include "measuredata_grammar.h"

#include <QtTest>

#include <limits>

class TestGrammar : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Lines_data();
    void Lines();
    void Section_Markers();
    void Keyed_Records();
    void Vector_Record();
    void To_Number_data();
    void To_Number();
    void To_Vector_data();
    void To_Vector();
    void Split_List_Keeps_Empty_Parts();
    void Huge_Inputs_data();
    void Huge_Inputs();
};

namespace
{
QStringList All_Lines(const QByteArray &data, const TRecordReader::TOptions &options)
{
    TRecordReader reader(data, options);
    QStringList lines;
    while (reader.Next_Line())
    {
        lines.append(reader.Line());
    }
    return lines;
}

TRecordReader::TOptions Options(bool keep_empty, bool simplify)
{
    TRecordReader::TOptions options;
    options.keep_empty_lines = keep_empty;
    options.simplify = simplify;
    return options;
}
} // namespace

void TestGrammar::Lines_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("keep_empty");
    QTest::addColumn<bool>("simplify");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("lf") << QByteArray("a\nb\n") << false << false << QStringList{"a", "b"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << false << false << QStringList{"a", "b"};
    QTest::newRow("no final newline") << QByteArray("a\nb") << false << false << QStringList{"a", "b"};
    // A lone CR does not end a line; trimming removes it at the ends only.
    QTest::newRow("cr only") << QByteArray("a\rb\r") << false << false << QStringList{"a\rb"};
    QTest::newRow("trimmed") << QByteArray("  a b \t\n") << false << false << QStringList{"a b"};
    QTest::newRow("comments and blanks skipped")
        << QByteArray("# c\n\n   \n  # indented comment\nx\n") << false << false << QStringList{"x"};
    QTest::newRow("empty kept") << QByteArray("a\n\n  \n# c\nb\n") << true << false
                                << QStringList{"a", "", "", "b"};
    QTest::newRow("final newline adds no empty line")
        << QByteArray("a\n") << true << false << QStringList{"a"};
    QTest::newRow("simplified") << QByteArray("  1   2\t\t3  \n") << false << true << QStringList{"1 2 3"};
    QTest::newRow("empty data") << QByteArray() << true << false << QStringList();
}

void TestGrammar::Lines()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, keep_empty);
    QFETCH(bool, simplify);
    QFETCH(QStringList, expected);
    QCOMPARE(All_Lines(data, Options(keep_empty, simplify)), expected);
}

void TestGrammar::Section_Markers()
{
    TRecordReader reader(QByteArray("ID\nscales_begin:\nX:1\nScales_Begin: now\nAlignment_Begin:\nX:2\n"
                                    "Alignment_End:\nX:3\nScales_End:\nX:4\n"));
    const int scales = reader.Add_Section(QStringLiteral("Scales_Begin:"), QStringLiteral("Scales_End:"));
    const int alignment =
        reader.Add_Section(QStringLiteral("Alignment_Begin:"), QStringLiteral("Alignment_End:"));
    QVERIFY(reader.Read_Identification(QStringLiteral("ID")));

    QStringList in_scales;
    QStringList in_alignment;
    while (reader.Next_Line())
    {
        QString value;
        if (reader.Read_Section_Marker())
        {
            continue;
        }
        if (reader.Key_In(scales, QStringLiteral("X:"), &value))
        {
            in_scales.append(value);
        }
        if (reader.Key_In(alignment, QStringLiteral("X:"), &value))
        {
            in_alignment.append(value);
        }
    }
    // "X:2" stands while both sections are open and belongs to neither; a marker with a word after
    // it is not a marker.
    QCOMPARE(in_scales, QStringList({"1", "3"}));
    QCOMPARE(in_alignment, QStringList());
    QVERIFY(reader.Seen(QStringLiteral("Scales_Begin:")));
    QVERIFY(reader.Seen(QStringLiteral("Alignment_Begin:")));
    QVERIFY(!reader.Seen(QStringLiteral("Scales_End:")));
}

void TestGrammar::Keyed_Records()
{
    TRecordReader reader(QByteArray("ID trailing words\nequipment_identification: SG 10\n"));
    QVERIFY(reader.Read_Identification(QStringLiteral("ID")));
    QVERIFY(reader.Next_Line());
    QString value;
    QVERIFY(!reader.Key(QStringLiteral("Description:"), &value));
    QVERIFY(reader.Key(QStringLiteral("Equipment_Identification:"), &value));
    // The blank after the colon belongs to the value.
    QCOMPARE(value, QStringLiteral(" SG 10"));
    QVERIFY(reader.Seen_All({"Equipment_Identification:"}));
    QVERIFY(!reader.Seen_All({"Equipment_Identification:", "Description:"}));
    QVERIFY(!reader.Next_Line());

    TRecordReader identification(QByteArray("# comment\nid\n"));
    QVERIFY(!identification.Read_Identification(QStringLiteral("ID")));
}

void TestGrammar::Vector_Record()
{
    TRecordReader reader(QByteArray("Probe_Offset:1.5,-2,3\nProbe_Offset:1.5 -2 3\n"));
    TVector3 offset;
    QVERIFY(reader.Next_Line());
    QVERIFY(reader.Vector(QStringLiteral("Probe_Offset:"), &offset, QStringLiteral("bad")));
    QVERIFY(!reader.Failed());
    QCOMPARE(offset.x, 1.5);
    QCOMPARE(offset.y, -2.0);
    QCOMPARE(offset.z, 3.0);

    QVERIFY(reader.Next_Line());
    QVERIFY(reader.Vector(QStringLiteral("Probe_Offset:"), &offset, QStringLiteral("bad")));
    QVERIFY(reader.Failed());
    QCOMPARE(reader.Error(), QStringLiteral("bad"));
    QCOMPARE(offset.x, 1.5); // a malformed record leaves the vector as it was
}

void TestGrammar::To_Number_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("plain") << "12.5" << 12.5;
    QTest::newRow("blanks") << "  -3.25 \t" << -3.25;
    QTest::newRow("exponent") << "1.5e2" << 150.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("word") << "abc" << 0.0;
    QTest::newRow("trailing text") << "12mm" << 0.0;
    QTest::newRow("decimal comma") << "1,5" << 0.0;
    QTest::newRow("nan") << "nan" << 0.0;
    QTest::newRow("NaN") << "NaN" << 0.0;
    QTest::newRow("inf") << "inf" << 0.0;
    QTest::newRow("-inf") << "-inf" << 0.0;
    QTest::newRow("infinity") << "infinity" << 0.0;
    QTest::newRow("overflow") << "1e999" << 0.0;
    QTest::newRow("negative overflow") << "-1e999" << 0.0;
    QTest::newRow("largest finite") << "1.7976931348623157e308" << std::numeric_limits<double>::max();
}

void TestGrammar::To_Number()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double value = MeasureGrammar::To_Number(text);
    QVERIFY(std::isfinite(value));
    QCOMPARE(value, expected);
}

void TestGrammar::To_Vector_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("z");

    QTest::newRow("three") << "1.5,-2,3" << true << 1.5 << -2.0 << 3.0;
    QTest::newRow("blanks") << " 1.5 , -2 , 3 " << true << 1.5 << -2.0 << 3.0;
    QTest::newRow("empty part") << "1,,3" << true << 1.0 << 0.0 << 3.0;
    QTest::newRow("words") << "a,b,c" << true << 0.0 << 0.0 << 0.0;
    QTest::newRow("blank separated") << "1.5 -2 3" << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("two") << "1,2" << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("four") << "1,2,3,4" << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("empty") << "" << false << 0.0 << 0.0 << 0.0;
    // Non-finite text reads as 0.0 in whichever place it stands.
    const char *const bad[] = {"nan", "inf", "-inf", "1e999"};
    for (const char *word : bad)
    {
        QTest::addRow("%s first", word)
            << QStringLiteral("%1,2,3").arg(QLatin1String(word)) << true << 0.0 << 2.0 << 3.0;
        QTest::addRow("%s second", word)
            << QStringLiteral("1,%1,3").arg(QLatin1String(word)) << true << 1.0 << 0.0 << 3.0;
        QTest::addRow("%s third", word)
            << QStringLiteral("1,2,%1").arg(QLatin1String(word)) << true << 1.0 << 2.0 << 0.0;
    }
}

void TestGrammar::To_Vector()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, z);
    TVector3 vector;
    QCOMPARE(MeasureGrammar::To_Vector(text, &vector), ok);
    QCOMPARE(vector.x, x);
    QCOMPARE(vector.y, y);
    QCOMPARE(vector.z, z);
}

void TestGrammar::Split_List_Keeps_Empty_Parts()
{
    QCOMPARE(MeasureGrammar::Split_List(QStringLiteral(",a,,b,")), QStringList({"", "a", "", "b", ""}));
    QCOMPARE(MeasureGrammar::To_Numbers(QStringList({"1", "", "nan", "2.5"})),
             std::vector<double>({1.0, 0.0, 0.0, 2.5}));
}

void TestGrammar::Huge_Inputs_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("lines");

    QTest::newRow("256 KiB on one line") << QByteArray(262144, 'x') << 1;
    QTest::newRow("200k empty lines") << QByteArray(200000, '\n') << 0;
    QTest::newRow("200k CR only") << QByteArray(200000, '\r') << 0;
    QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << 1;
}

void TestGrammar::Huge_Inputs()
{
    QFETCH(QByteArray, data);
    QFETCH(int, lines);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(All_Lines(data, Options(false, false)).size(), lines);
    QVERIFY2(timer.elapsed() < 5000, "reading must be linear in the size");
}

QTEST_APPLESS_MAIN(TestGrammar)
#include "tst_grammar.moc"
