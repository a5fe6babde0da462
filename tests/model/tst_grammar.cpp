// The shared line grammar: line splitting and skipping, unreadable lines, vectors. The conversion of a
// number is tst_numberformat's; sections, markers and keyed records are seen through the kinds' records.

#include "model/measuredata_grammar.h"

#include <QtTest>

namespace
{
struct TLinesRow
{
    QByteArray data;
    bool keep_empty;
    bool simplify;
    QStringList expected;
};

struct TVectorRow
{
    QString text;
    bool ok;
    TVector3 expected;
};
} // namespace

Q_DECLARE_METATYPE(TLinesRow)
Q_DECLARE_METATYPE(TVectorRow)

class TTestGrammar : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Lines_data()
    {
        QTest::addColumn<TLinesRow>("row");
        const auto row = [](const char *name, const QByteArray &data, bool keep_empty, bool simplify,
                            const QStringList &expected) {
            QTest::newRow(name) << TLinesRow{data, keep_empty, simplify, expected};
        };
        row("lf", "a\nb\n", false, false, {"a", "b"});
        row("crlf", "a\r\nb\r\n", false, false, {"a", "b"});
        row("no final newline", "a\nb", false, false, {"a", "b"});
        // Old Mac files end lines with a CR alone; in a file with LF ends a lone CR ends no line.
        row("cr only", "a\rb\r", false, false, {"a", "b"});
        row("cr only, empty kept", "a\r\rb", true, false, {"a", "", "b"});
        row("lone cr among lf", "a\rb\nc\n", false, false, {"a\rb", "c"});
        row("trimmed", "  a b \t\n", false, false, {"a b"});
        row("comments and blanks skipped", "# c\n\n   \n  # indented comment\nx\n", false, false, {"x"});
        row("empty kept", "a\n\n  \n# c\nb\n", true, false, {"a", "", "", "b"});
        row("final newline adds no empty line", "a\n", true, false, {"a"});
        row("simplified", "  1   2\t\t3  \n", false, true, {"1 2 3"});
        row("empty data", QByteArray(), true, false, {});
    }

    void Lines()
    {
        QFETCH(TLinesRow, row);
        TRecordReader::TOptions options;
        options.keep_empty_lines = row.keep_empty;
        options.simplify = row.simplify;
        TRecordReader reader(row.data, options);
        QStringList lines;
        while (reader.Next_Line())
            lines.append(reader.Line());
        QCOMPARE(lines, row.expected);
    }

    // Each line counts once however many of its fields fail; "!" stands for a line the kind drops, "i "
    // for a whole number.
    void Unreadable_Lines_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count");
        QTest::newRow("all numbers") << QByteArray("1,2.5\n-3, 4e2 \ni 12\n") << 0;
        QTest::newRow("one word") << QByteArray("1,x\n3,4\n") << 1;
        QTest::newRow("two fields, one line") << QByteArray("x,y\n") << 1;
        QTest::newRow("not finite") << QByteArray("nan\ninf\n1e999\n") << 3;
        QTest::newRow("empty field") << QByteArray("1,,3\n") << 1;
        QTest::newRow("dropped") << QByteArray("!\n1\n!\n") << 2;
        QTest::newRow("dropped with a word") << QByteArray("x,!\n") << 1;
        QTest::newRow("last line") << QByteArray("1\nx") << 1;
        QTest::newRow("whole number") << QByteArray("i 1.0\ni 7\ni 99999999999\n") << 2;
        QTest::newRow("comments and blanks") << QByteArray("# x\n\n  \n1\n") << 0;
        QTest::newRow("cr only") << QByteArray("1\rx\r2,y\r") << 2;
    }

    void Unreadable_Lines()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, count);
        int kept = -1;
        {
            TRecordReader reader(data, &kept);
            QCOMPARE(kept, 0);
            while (reader.Next_Line())
            {
                const QString line = reader.Line();
                if (line.startsWith(QLatin1String("i ")))
                    MeasureGrammar::To_Integer(QStringView(line).mid(2));
                for (const QStringView field : MeasureGrammar::Split_List(line))
                {
                    if (field == QLatin1String("!"))
                        MeasureGrammar::Drop_Line();
                    else if (!line.startsWith(QLatin1String("i ")))
                        MeasureGrammar::To_Number(field);
                }
            }
            QCOMPARE(reader.Unreadable_Lines(), count);
        }
        QCOMPARE(kept, count);
    }

    void Vector_data()
    {
        QTest::addColumn<TVectorRow>("row");
        const auto row = [](const char *name, const QString &text, bool ok, const TVector3 &expected) {
            QTest::newRow(name) << TVectorRow{text, ok, expected};
        };
        row("three", "1.5,-2,3", true, TVector3(1.5, -2, 3));
        row("blanks", " 1.5 , -2 , 3 ", true, TVector3(1.5, -2, 3));
        row("empty part", "1,,3", true, TVector3(1, 0, 3));
        row("words", "a,b,c", true, TVector3());
        row("blank separated", "1.5 -2 3", false, TVector3());
        row("two", "1,2", false, TVector3());
        row("four", "1,2,3,4", false, TVector3());
        row("empty", "", false, TVector3());
        // Non-finite text reads as 0.0 in whichever place it stands.
        row("nan first", "nan,2,3", true, TVector3(0, 2, 3));
        row("inf second", "1,-inf,3", true, TVector3(1, 0, 3));
        row("1e999 third", "1,2,1e999", true, TVector3(1, 2, 0));
    }

    // Read as a keyed record: a malformed one sets the record's message and leaves the vector as it was.
    void Vector()
    {
        QFETCH(TVectorRow, row);
        TRecordReader reader("Probe_Offset:" + row.text.toLatin1());
        TVector3 vector(7, 7, 7);
        QVERIFY(reader.Next_Line());
        QVERIFY(reader.Vector(QStringLiteral("Probe_Offset:"), &vector, QStringLiteral("bad")));
        QCOMPARE(reader.Error(), row.ok ? QString() : QStringLiteral("bad"));
        const TVector3 expected = row.ok ? row.expected : TVector3(7, 7, 7);
        QCOMPARE(QVector<double>({vector.x, vector.y, vector.z}),
                 QVector<double>({expected.x, expected.y, expected.z}));
    }
};

QTEST_APPLESS_MAIN(TTestGrammar)
#include "tst_grammar.moc"
