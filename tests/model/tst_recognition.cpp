// Recognition of a file's kind from its first line, and the plain-text test before it.

#include "measuredata.h"

#include <QtTest>

class TestRecognition : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Identification_Lines_data();
    void Identification_Lines();
    void Near_Misses_data();
    void Near_Misses();
    void Encoding_data();
    void Encoding();
};

Q_DECLARE_METATYPE(TMeasureData::TFileContents)

void TestRecognition::Identification_Lines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<TMeasureData::TFileContents>("contents");
    QTest::addColumn<int>("value");

    const struct
    {
        const char *line;
        TMeasureData::TFileContents contents;
        int value;
    } rows[] = {
        {"B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge", TMeasureData::CONTENTS_STEPGAUGE_10360, 1},
        {"B89.4.1_Raw_Measurement:Version=1:Type=Step_Gauge", TMeasureData::CONTENTS_STEPGAUGE_B89, 2},
        {"Stepgauge_Raw_Measurement:Version=1:Type=Squareness", TMeasureData::CONTENTS_STEPGAUGE_SQUARE, 3},
        {"B89.4.10360_Raw_Measurement:Version=1:Type=Single_Gauge", TMeasureData::CONTENTS_GAUGEBLOCK, 4},
        {"B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat", TMeasureData::CONTENTS_SPHERE_RPT, 6},
        {"B89.4.10360_Raw_Measurement:Version=1:Type=Sphere_Pftu", TMeasureData::CONTENTS_SPHERE_PFTU, 7},
        {"B89.4.1_Data:Version=1:Type=BallBar", TMeasureData::CONTENTS_BALLBAR, 8},
        {"Artifact_Measurement:Version=1:Type=Point_Repeat", TMeasureData::CONTENTS_POINT_REPEAT, 5},
        {"Artifact_Measurement:Version=1:Type=Ring_Gauge", TMeasureData::CONTENTS_RING_GAUGE, 9},
        {"Artifact_Measurement:Version=1:Type=Pin_Gauge", TMeasureData::CONTENTS_PIN_GAUGE, 10},
        {"Artifact_Measurement:Version=1:Type=Tip_Calibration", TMeasureData::CONTENTS_PROBE, 11},
        {"Temperature_Log:Version=1:Type=Machine_Sensors", TMeasureData::CONTENTS_TEMPERATURE, 12},
        {"B89.4.10360_Raw_Measurement:Version=1:Type=Machine_And_Laser", TMeasureData::CONTENTS_LASER_10360,
         13},
        {"PMove_Raw_Measurement:Version=1:Type=Machine_And_Laser", TMeasureData::CONTENTS_LASER_PMOVE, 14},
        {"Best_Fit_Validation:Version=1:Type=Sphere", TMeasureData::CONTENTS_VALIDATION_SPHERE, 16},
        {"Best_Fit_Validation:Version=1:Type=Plane", TMeasureData::CONTENTS_VALIDATION_PLANE, 15},
        {"Best_Fit_Validation:Version=1:Type=Circle", TMeasureData::CONTENTS_VALIDATION_CIRCLE, 17},
        {"Best_Fit_Validation:Version=1:Type=Line", TMeasureData::CONTENTS_VALIDATION_LINE, 18},
    };
    for (const auto &row : rows)
    {
        QTest::newRow(row.line) << QByteArray(row.line) << row.contents << row.value;
    }
}

void TestRecognition::Identification_Lines()
{
    QFETCH(QByteArray, line);
    QFETCH(TMeasureData::TFileContents, contents);
    QFETCH(int, value);

    QCOMPARE(static_cast<int>(contents), value);
    QCOMPARE(TMeasureData::Determine_File_Contents(line), contents);
    QCOMPARE(TMeasureData::Determine_File_Contents(line + "\nmore lines\n"), contents);
    QCOMPARE(TMeasureData::Determine_File_Contents(line + "\r\nmore lines\r\n"), contents);
    QCOMPARE(TMeasureData::Determine_File_Contents("  \t" + line + "  \n"), contents);
    QCOMPARE(TMeasureData::Determine_File_Contents(line + " Rev B, exported\n"), contents);
    QCOMPARE(TMeasureData::Identification_Text(contents), QString::fromLatin1(line));
}

void TestRecognition::Near_Misses_data()
{
    QTest::addColumn<QByteArray>("data");

    const QByteArray ballbar("B89.4.1_Data:Version=1:Type=BallBar");
    QTest::newRow("lower case") << ballbar.toLower();
    QTest::newRow("comment first") << "# exported\n" + ballbar + "\n";
    QTest::newRow("empty line first") << "\n" + ballbar + "\n";
    QTest::newRow("blank line first") << "   \n" + ballbar + "\n";
    QTest::newRow("truncated") << ballbar.left(ballbar.size() - 1);
    QTest::newRow("wrong version") << QByteArray("B89.4.1_Data:Version=2:Type=BallBar\n");
    QTest::newRow("text before") << QByteArray("ID B89.4.1_Data:Version=1:Type=BallBar\n");
    QTest::newRow("identification on second line")
        << QByteArray("Measurement\nB89.4.1_Data:Version=1:Type=BallBar");
    QTest::newRow("blank inside") << QByteArray("B89.4.1_Data: Version=1:Type=BallBar\n");
    QTest::newRow("only blanks and newlines") << QByteArray("   \n\n \t \n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("kind name only") << QByteArray("Best_Fit_Validation:Version=1:Type=\n");
}

void TestRecognition::Near_Misses()
{
    QFETCH(QByteArray, data);
    QCOMPARE(TMeasureData::Determine_File_Contents(data), TMeasureData::CONTENTS_UNKNOWN);
}

void TestRecognition::Encoding_data()
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
}

void TestRecognition::Encoding()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, ascii);
    QCOMPARE(TMeasureData::Determine_File_Encoding(data),
             ascii ? TMeasureData::ENCODING_ASCII : TMeasureData::ENCODING_UNKNOWN);
    QCOMPARE(TMeasureData::Determine_File_Contents(data),
             ascii ? TMeasureData::CONTENTS_TEMPERATURE : TMeasureData::CONTENTS_UNKNOWN);
}

QTEST_APPLESS_MAIN(TestRecognition)
#include "tst_recognition.moc"
