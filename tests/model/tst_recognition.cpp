// Recognition of a file's kind from its first line, and the plain-text test before it.

#include "measuredata.h"

#include <QtTest>

class TTestRecognition : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Identification_Lines()
    {
        using K = TMeasureData;
        const struct
        {
            const char *line;
            K::TFileContents contents;
        } rows[] = {{"B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge", K::CONTENTS_STEPGAUGE_10360},
                    {"B89.4.1_Raw_Measurement:Version=1:Type=Step_Gauge", K::CONTENTS_STEPGAUGE_B89},
                    {"Stepgauge_Raw_Measurement:Version=1:Type=Squareness", K::CONTENTS_STEPGAUGE_SQUARE},
                    {"B89.4.10360_Raw_Measurement:Version=1:Type=Single_Gauge", K::CONTENTS_GAUGEBLOCK},
                    {"Artifact_Measurement:Version=1:Type=Point_Repeat", K::CONTENTS_POINT_REPEAT},
                    {"B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat", K::CONTENTS_SPHERE_RPT},
                    {"B89.4.10360_Raw_Measurement:Version=1:Type=Sphere_Pftu", K::CONTENTS_SPHERE_PFTU},
                    {"B89.4.1_Data:Version=1:Type=BallBar", K::CONTENTS_BALLBAR},
                    {"Artifact_Measurement:Version=1:Type=Ring_Gauge", K::CONTENTS_RING_GAUGE},
                    {"Artifact_Measurement:Version=1:Type=Pin_Gauge", K::CONTENTS_PIN_GAUGE},
                    {"Artifact_Measurement:Version=1:Type=Tip_Calibration", K::CONTENTS_PROBE},
                    {"Temperature_Log:Version=1:Type=Machine_Sensors", K::CONTENTS_TEMPERATURE},
                    {"B89.4.10360_Raw_Measurement:Version=1:Type=Machine_And_Laser", K::CONTENTS_LASER_10360},
                    {"PMove_Raw_Measurement:Version=1:Type=Machine_And_Laser", K::CONTENTS_LASER_PMOVE},
                    {"Best_Fit_Validation:Version=1:Type=Plane", K::CONTENTS_VALIDATION_PLANE},
                    {"Best_Fit_Validation:Version=1:Type=Sphere", K::CONTENTS_VALIDATION_SPHERE},
                    {"Best_Fit_Validation:Version=1:Type=Circle", K::CONTENTS_VALIDATION_CIRCLE},
                    {"Best_Fit_Validation:Version=1:Type=Line", K::CONTENTS_VALIDATION_LINE}};
        QCOMPARE(K::Identification_Text(K::CONTENTS_UNKNOWN), QString());
        for (const auto &row : rows)
        {
            const QByteArray line = row.line;
            QCOMPARE(K::Identification_Text(row.contents), QString::fromLatin1(line));
            for (const QByteArray &data : {line, line + "\nmore lines\n", line + "\r\nmore lines\r\n",
                                           "  \t" + line + "  \n", line + " Rev B, exported\n"})
                QCOMPARE(K::Determine_File_Contents(data), row.contents);
        }
    }

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

    void Encoding_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ascii");
        const QByteArray valid("Temperature_Log:Version=1:Type=Machine_Sensors\n# comment\n");
        QTest::newRow("plain") << valid << true;
        QTest::newRow("tab cr lf") << valid + "a\tb\r\n" << true;
        QTest::newRow("delete 127") << valid + "\x7f" << true;
        QTest::newRow("byte 128 in a comment") << valid + "# \x80\n" << false;
        QTest::newRow("degree sign latin-1") << valid + "20\xb0" << false;
        QTest::newRow("utf-8 degree") << valid + "20\xc2\xb0" << false;
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + valid << false;
        QTest::newRow("NUL") << valid + QByteArray(1, '\0') << false;
        QTest::newRow("form feed") << valid + "\f" << false;
        QTest::newRow("escape") << valid + "\x1b" << false;
        QTest::newRow("byte 255") << valid + "\xff" << false;
        // Every byte value at every place of an eight-byte word and in the bytes after the last word.
        for (int byte = 0; byte < 256; ++byte)
        {
            for (int place = 0; place < 16; ++place)
            {
                QByteArray data = valid + QByteArray(16, 'a');
                data[valid.size() + place] = static_cast<char>(byte);
                const bool text = byte == 9 || byte == 10 || byte == 13 || (byte >= 32 && byte <= 127);
                QTest::addRow("byte %d at %d", byte, place) << data << text;
            }
        }
    }

    void Encoding()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, ascii);
        QCOMPARE(TMeasureData::Determine_File_Encoding(data),
                 ascii ? TMeasureData::ENCODING_ASCII : TMeasureData::ENCODING_UNKNOWN);
        QCOMPARE(TMeasureData::Determine_File_Contents(data),
                 ascii ? TMeasureData::CONTENTS_TEMPERATURE : TMeasureData::CONTENTS_UNKNOWN);
    }
};

QTEST_APPLESS_MAIN(TTestRecognition)
#include "tst_recognition.moc"
