// The shared line grammar: recognition of a file's kind from its first line, line splitting and skipping,
// unreadable lines, vectors, and numbers read and formatted against Qt's own, value by value. Sections,
// markers and keyed records are seen through the kinds' records.

#include "model/kindtable.h"
#include "model/measuredata.h"
#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <random>

namespace
{
// Every magnitude (any bit pattern now and then, or one of 2^-60 to 2^40), exact ties at the rounding
// digit, negatives that round to zero, the edge of 64-bit results, values near 1e15 and 1e308.
double Value(std::mt19937_64 &random, int decimals)
{
    const std::uint64_t bits = random();
    const double sign = (bits & 1) ? -1.0 : 1.0;
    const double fraction = static_cast<double>(bits >> 11) / 9007199254740992.0;
    const double unit = std::pow(10.0, -decimals);
    std::uint64_t pattern = bits;
    if (bits % 64 > 4)
        pattern = (bits & ~(std::uint64_t(0x7ff) << 52)) | (std::uint64_t(963 + bits % 101) << 52);
    double any = 0.0;
    std::memcpy(&any, &pattern, sizeof any);
    const double values[] = {
        any,
        sign * fraction * std::pow(10.0, static_cast<int>(bits % 41) - 20),
        sign * std::ldexp(static_cast<double>(bits % 100000 * 2 + 1), -(decimals + 1)),
        -fraction * unit,
        sign * std::nextafter(1.8446744073709552e19 * unit, static_cast<double>(bits % 3) * 1e20),
        sign * (1e15 + static_cast<double>(bits % 2001) - 1000.0) * (bits % 16 ? 1.0 : 1e293),
        sign * std::round(fraction * 1e6) / 1e6 + (bits % 5 ? 0.0 : 2.5e-5)};
    return values[bits % 7];
}

struct TLinesRow
{
    QByteArray data;
    bool keep_empty;
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
        const auto row = [](const char *name, const QByteArray &data, bool keep_empty,
                            const QStringList &expected) {
            QTest::newRow(name) << TLinesRow{data, keep_empty, expected};
        };
        row("crlf", "a\r\nb\r\n", false, {"a", "b"});
        row("no final newline", "a\nb", false, {"a", "b"});
        // Old Mac files end lines with a CR alone; in a file with LF ends a lone CR ends no line.
        row("cr only", "a\rb\r", false, {"a", "b"});
        row("cr only, empty kept", "a\r\rb", true, {"a", "", "b"});
        row("lone cr among lf", "a\rb\nc\n", false, {"a\rb", "c"});
        row("trimmed", "  a b \t\n", false, {"a b"});
        row("comments and blanks skipped", "# c\n\n   \n  # indented comment\nx\n", false, {"x"});
        row("empty kept", "a\n\n  \n# c\nb\n", true, {"a", "", "", "b"});
        row("empty data", QByteArray(), true, {});
    }

    void Lines()
    {
        QFETCH(TLinesRow, row);
        TRecordReader::TOptions options;
        options.keep_empty_lines = row.keep_empty;
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

    // Each kind once: its line recognised as itself (no line begins with another kind's), its key
    // found again, its record of its own kind.
    void Kind_Table()
    {
        QSet<int> kinds;
        for (const TKindRow *row = KindTable::Begin(); row != KindTable::End(); ++row)
        {
            const QByteArray line(row->identification);
            QVERIFY2(!kinds.contains(row->contents), row->key);
            kinds.insert(row->contents);
            // Whatever line end, blanks or words follow it.
            for (const QByteArray &data : {line + "\rrest\r", "  \t" + line + " Rev B, x\r\nrest", line})
                QCOMPARE(TMeasureData::Determine_File_Contents(data), row->contents);
            QCOMPARE(KindTable::Find_Key(QLatin1String(row->key)), row);
            QCOMPARE(row->create()->file_contents, static_cast<int>(row->contents));
        }
        QCOMPARE(kinds.size(), 18);
        QVERIFY(!KindTable::Find(TMeasureData::CONTENTS_UNKNOWN) && !KindTable::Find_Key(QString()));
    }

    // The lines of the kinds are seen with the examples; here what is close to one but is none.
    void Near_Misses()
    {
        const QByteArray ballbar("B89.4.1_Data:Version=1:Type=BallBar");
        for (const QByteArray &data :
             {ballbar.toLower(), "# exported\n" + ballbar + "\n", "\n" + ballbar + "\n",
              "   \n" + ballbar + "\n", ballbar.left(ballbar.size() - 1),
              QByteArray("B89.4.1_Data:Version=2:Type=BallBar\n"), "ID " + ballbar + "\n",
              "Measurement\n" + ballbar, QByteArray("B89.4.1_Data: Version=1:Type=BallBar\n"),
              QByteArray("   \n\n \t \n"), QByteArray(), QByteArray("Best_Fit_Validation:Version=1:Type=\n")})
            QVERIFY2(TMeasureData::Determine_File_Contents(data) == TMeasureData::CONTENTS_UNKNOWN,
                     data.constData());
    }

    // Every byte value at every place of an eight-byte word and in the bytes after the last word.
    void Encoding()
    {
        const QByteArray valid("Temperature_Log:Version=1:Type=Machine_Sensors\n# comment\n");
        for (int byte = 0; byte < 256; ++byte)
            for (int place = 0; place < 16; ++place)
            {
                QByteArray data = valid + QByteArray(16, 'a');
                data[valid.size() + place] = static_cast<char>(byte);
                const bool ascii = byte == 9 || byte == 10 || byte == 13 || (byte >= 32 && byte <= 127);
                QVERIFY2(
                    TMeasureData::Determine_File_Encoding(data) ==
                            (ascii ? TMeasureData::ENCODING_ASCII : TMeasureData::ENCODING_UNKNOWN) &&
                        TMeasureData::Determine_File_Contents(data) ==
                            (ascii ? TMeasureData::CONTENTS_TEMPERATURE : TMeasureData::CONTENTS_UNKNOWN),
                    qPrintable(QStringLiteral("byte %1 at %2").arg(byte).arg(place)));
            }
    }

    void Format_As_Qt()
    {
        std::mt19937_64 random(20261207);
        for (int i = 0; i < 1200000; ++i)
        {
            const int decimals = static_cast<int>(random() % 14);
            const int width = static_cast<int>(random() % 3) * 12;
            const double value = i < 2 ? (i ? 0.125 : 2.5) : Value(random, decimals);
            const QString expected = QStringLiteral("%1").arg(value, width, 'f', decimals);
            const QString actual = MeasureReport::Number(value, width, decimals);
            if (actual != expected)
                QFAIL(qPrintable(QStringLiteral("%1 (%2, %3): '%4' instead of '%5'")
                                     .arg(QString::number(value, 'g', 17), QString::number(width),
                                          QString::number(decimals), actual, expected)));
        }
    }

    // Runs of numbers appended to a line at once, with the values Qt formats itself among them and
    // runs long enough to fill the gathering buffer more than once.
    void Append_Runs_As_Qt()
    {
        std::mt19937_64 random(26);
        for (int i = 0; i < 20000; ++i)
        {
            const int decimals = static_cast<int>(random() % 14);
            const int width = i % 50 ? static_cast<int>(random() % 3) * 12 : 500;
            const QLatin1String separator = i % 7 == 0 ? QLatin1String(" | between | ")
                                            : i % 3    ? QLatin1String(", ")
                                                       : QLatin1String();
            double values[12];
            for (double &value : values)
                value = random() % 6 ? Value(random, decimals) : 1e300 * static_cast<double>(random() % 3);
            QString expected = QStringLiteral("head");
            for (int v = 0; v < 12; ++v)
                expected += (v ? QString(separator) : QString()) +
                            QStringLiteral("%1").arg(values[v], width, 'f', decimals);
            QString actual = QStringLiteral("head");
            MeasureReport::Append_Numbers(&actual,
                                          {values[0], values[1], values[2], values[3], values[4], values[5],
                                           values[6], values[7], values[8], values[9], values[10],
                                           values[11]},
                                          width, decimals, separator);
            QCOMPARE(actual, expected);
        }
    }

    // Short texts of the characters numbers are made of, and printed doubles of every magnitude, read as
    // numbers and as whole numbers.
    void Read_As_Qt()
    {
        const char alphabet[] = " \t+-.eE0123456789iInNaf,x";
        std::mt19937_64 random(7);
        for (int i = 0; i < 600000; ++i)
        {
            QString text;
            if (i % 2)
                text = QString::number(Value(random, 4), "egf"[i % 3], static_cast<int>(random() % 20));
            for (int length = i % 2 ? 0 : static_cast<int>(random() % 12); length > 0; --length)
                text += QLatin1Char(alphabet[random() % (sizeof alphabet - 1)]);
            bool ok = false;
            const double qt = text.toDouble(&ok);
            const double expected = ok && std::isfinite(qt) ? qt : 0.0;
            const double actual = MeasureGrammar::To_Number(text);
            if (MeasureGrammar::To_Integer(text) != text.toInt())
                QFAIL(qPrintable(QStringLiteral("'%1' read as the whole number %2 instead of %3")
                                     .arg(text)
                                     .arg(MeasureGrammar::To_Integer(text))
                                     .arg(text.toInt())));
            if (std::memcmp(&actual, &expected, sizeof actual) != 0)
                QFAIL(qPrintable(
                    QStringLiteral("'%1' read as %2 instead of %3")
                        .arg(text, QString::number(actual, 'g', 17), QString::number(expected, 'g', 17))));
        }
    }
};

QTEST_APPLESS_MAIN(TTestGrammar)
#include "tst_grammar.moc"
