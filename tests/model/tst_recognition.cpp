// Recognition of a file's kind from its first line, and the plain-text test before it.

#include "model/kindtable.h"
#include "model/measuredata.h"

#include <QtTest>

class TTestRecognition : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
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
};

QTEST_APPLESS_MAIN(TTestRecognition)
#include "tst_recognition.moc"
