// Best-fit validation records (plane, line, circle, sphere): loading, failures, reports and robustness.

#include "measure_checks.h"
#include "measuredata_factory.h"
#include "measuredata_validation.h"

#include <QtTest>

using TResults = std::vector<TValidationCommon::TResultData>;
Q_DECLARE_METATYPE(TResults)

namespace
{
const int PLANE = TMeasureData::CONTENTS_VALIDATION_PLANE;
const int LINE = TMeasureData::CONTENTS_VALIDATION_LINE;
const int CIRCLE = TMeasureData::CONTENTS_VALIDATION_CIRCLE;
const int SPHERE = TMeasureData::CONTENTS_VALIDATION_SPHERE;

const QByteArray PLANE_ID = "Best_Fit_Validation:Version=1:Type=Plane\n";
const QByteArray LINE_ID = "Best_Fit_Validation:Version=1:Type=Line\n";
const QByteArray CIRCLE_ID = "Best_Fit_Validation:Version=1:Type=Circle\n";
const QByteArray SPHERE_ID = "Best_Fit_Validation:Version=1:Type=Sphere\n";

TValidationCommon::TResultData Result(const TVector3 &xyz, const TVector3 &ijk, double diameter, double form)
{
    TValidationCommon::TResultData result;
    result.xyz = xyz;
    result.ijk = ijk;
    result.diameter = diameter;
    result.form = form;
    return result;
}

std::unique_ptr<TValidationCommon> Create(int kind)
{
    std::unique_ptr<TMeasureData> record =
        Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
    auto *validation = dynamic_cast<TValidationCommon *>(record.get());
    if (!validation)
    {
        return nullptr;
    }
    record.release();
    return std::unique_ptr<TValidationCommon>(validation);
}

const QString POINT_DATA = QStringLiteral("Point data for each result included in measurement file.");
} // namespace

class TTestValidation : public QObject
{
    Q_OBJECT

  private slots:
    void Load_Data_data();
    void Load_Data();
    void Failures_data();
    void Failures();
    void Report_data();
    void Report();
    void Golden_Report_data();
    void Golden_Report();
    void Damaged_Input_data();
    void Damaged_Input();
    void Large_File_data();
    void Large_File();
};

void TTestValidation::Load_Data_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<TResults>("results");

    const TResults plane_123 = {Result(TVector3(1, 2, 3), TVector3(0, 0, 1), 0, 0.0025)};

    QTest::newRow("plane") << PLANE << PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025\n" << plane_123;
    QTest::newRow("runs of blanks and tabs")
        << PLANE << PLANE_ID + "  Plane \t1   8\t\t1  2 3   0 0 1\t0.0025   \n"
        << plane_123;
    QTest::newRow("keyword in capitals") << PLANE << PLANE_ID + "PLANE 1 8 1 2 3 0 0 1 0.0025\n" << plane_123;
    QTest::newRow("point data, comments and empty lines")
        << PLANE
        << "# written by the fit checker\n" + PLANE_ID + "\n  # Plane 9 9 9 9 9 9 9 9 9 9\n" +
               "Plane 1 3 1 2 3 0 0 1 0.0025\nPoint 1 0.5 1.5 3.0001\nPoint 2 1.5 2.5 2.9999\n  Pt 3 1 2 3 4 "
               "5\n\n"
        << plane_123;
    QTest::newRow("identification with more text, CR LF")
        << PLANE
        << QByteArray("Best_Fit_Validation:Version=1:Type=Plane results\r\nPlane 1 8 1 2 3 0 0 1 0.0025\r\n")
        << plane_123;
    QTest::newRow("identification only") << PLANE << PLANE_ID << TResults();
    QTest::newRow("words and overflow read as zero")
        << PLANE << PLANE_ID + "Plane a b x 1e999 nan 0 0 1 -inf\n"
        << TResults{Result(TVector3(0, 0, 0), TVector3(0, 0, 1), 0, 0)};
    QTest::newRow("line") << LINE
                          << LINE_ID + "Line 1 6 -100 0.5 7 0.6 0 -0.8 0.0015\nline 2 6 1 1 1 0 1 0 0.001\n"
                          << TResults{Result(TVector3(-100, 0.5, 7), TVector3(0.6, 0, -0.8), 0, 0.0015),
                                      Result(TVector3(1, 1, 1), TVector3(0, 1, 0), 0, 0.001)};
    QTest::newRow("circle") << CIRCLE << CIRCLE_ID + "Circle 1 12 10 20 30 0 0 1 25.0004 0.0012\n"
                            << TResults{Result(TVector3(10, 20, 30), TVector3(0, 0, 1), 25.0004, 0.0012)};
    QTest::newRow("other keywords in a circle file")
        << CIRCLE << CIRCLE_ID + "Sphere 1 9 1 2 3 4 5\nPlane 1 8 1 2 3 0 0 1 0.0025\n"
        << TResults();
    QTest::newRow("sphere") << SPHERE << SPHERE_ID + "Sphere 1 9 -5.5 0 12.25 19.9996 0.0004\n"
                            << TResults{Result(TVector3(-5.5, 0, 12.25), TVector3(), 19.9996, 0.0004)};
}

void TTestValidation::Load_Data()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(TResults, results);

    const std::unique_ptr<TValidationCommon> record = Create(kind);
    QVERIFY(record);
    QCOMPARE(record->file_contents, kind);
    QVERIFY2(record->Load_Data(file), qPrintable(record->last_error));
    QCOMPARE(record->Results().size(), results.size());
    for (size_t i = 0; i < results.size(); ++i)
    {
        const TValidationCommon::TResultData &actual = record->Results()[i];
        for (int axis = 0; axis < 3; ++axis)
        {
            QCOMPARE(actual.xyz(axis), results[i].xyz(axis));
            QCOMPARE(actual.ijk(axis), results[i].ijk(axis));
        }
        QCOMPARE(actual.diameter, results[i].diameter);
        QCOMPARE(actual.form, results[i].form);
    }
    QVERIFY(record->Graph_Data().empty());
}

void TTestValidation::Failures_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("results_kept");

    const QString identification = QStringLiteral("Validation identification line not recognized");
    const QString plane = QStringLiteral("Plane entry format not recognized.");

    QTest::newRow("empty line first") << PLANE << "\n" + PLANE_ID << identification << 0;
    QTest::newRow("blank line first") << SPHERE << " \t \n" + SPHERE_ID << identification << 0;
    QTest::newRow("identification in lower case")
        << PLANE << QByteArray("best_fit_validation:version=1:type=plane\n") << identification << 0;
    QTest::newRow("plane file for the circle record") << CIRCLE << PLANE_ID << identification << 0;
    QTest::newRow("no data") << LINE << QByteArray() << identification << 0;
    QTest::newRow("plane with 8 values") << PLANE << PLANE_ID + "Plane 1 2 3 0 0 1 0.0025 7\n" << plane << 0;
    QTest::newRow("plane with 10 values") << PLANE << PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025 7\n"
                                          << plane << 0;
    QTest::newRow("plane keyword alone") << PLANE << PLANE_ID + "Plane\n" << plane << 0;
    QTest::newRow("entries before the bad one stay")
        << PLANE << PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025\nPlane 2 8 1 2 3\nPlane 3 8 1 2 3 0 0 1 0.0025\n"
        << plane << 1;
    QTest::newRow("line with circle values") << LINE << LINE_ID + "Line 1 6 1 2 3 0 0 1 25 0.001\n"
                                             << QStringLiteral("Line entry format not recognized.") << 0;
    QTest::newRow("circle without diameter") << CIRCLE << CIRCLE_ID + "Circle 1 12 10 20 30 0 0 1 0.0012\n"
                                             << QStringLiteral("Circle entry format not recognized.") << 0;
    QTest::newRow("sphere with a direction") << SPHERE << SPHERE_ID + "Sphere 1 9 1 2 3 0 0 1 20 0.001\n"
                                             << QStringLiteral("Sphere entry format not recognized.") << 0;
}

void TTestValidation::Failures()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, results_kept);

    const std::unique_ptr<TValidationCommon> record = Create(kind);
    QVERIFY(record);
    QVERIFY(!record->Load_Data(file));
    QCOMPARE(record->last_error, message);
    QCOMPARE(static_cast<int>(record->Results().size()), results_kept);
}

void TTestValidation::Report_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("report");

    const auto head = [](const char *title, const char *header, int rule)
    {
        return QStringList{QLatin1String(title),  QString(64, QLatin1Char('=')),   QString(),
                           QLatin1String(header), QString(rule, QLatin1Char('-')), QString()};
    };
    const QStringList plane_head = head(
        "Validation Plane Results",
        "            X            Y            Z         I            J            K               Form", 98);
    const QStringList line_head = head(
        "Validation Line Results",
        "           X            Y            Z         I            J            K               Form", 97);
    const QStringList circle_head = head(
        "Validation Circle Results",
        "             X            Y            Z         I       J       K          Diameter     Form", 94);
    const QStringList sphere_head =
        head("Validation Sphere Results",
             "             X            Y            Z           Diameter      Form", 73);
    const QString plane_note =
        QStringLiteral("Note:  Verification should be result of 3D distance to surface of calculated plane.");
    const QString line_note =
        QStringLiteral("Note:  Verification should be result of 3D distance to axis of calculated line.");

    QTest::newRow("plane") << PLANE << PLANE_ID + "Plane 1 8 1 2 3 0 0 1 0.0025\n"
                           << plane_head +
                                  QStringList{
                                      QStringLiteral("  Plane     1.000000     2.000000     3.000000  "
                                                     "0.000000000  0.000000000  1.000000000     0.002500"),
                                      QString(), POINT_DATA, plane_note};
    QTest::newRow("plane without entries")
        << PLANE << PLANE_ID << plane_head + QStringList{QString(), POINT_DATA, plane_note};
    QTest::newRow("line") << LINE << LINE_ID + "Line 1 6 -100 0.5 7 0.6 0 -0.8 0.0015\n"
                          << line_head +
                                 QStringList{
                                     QStringLiteral("  Line  -100.000000     0.500000     7.000000  "
                                                    "0.600000000  0.000000000 -0.800000000     0.001500"),
                                     QString(), POINT_DATA, line_note};
    QTest::newRow("line without entries")
        << LINE << LINE_ID << line_head + QStringList{QString(), POINT_DATA, line_note};
    QTest::newRow("circle")
        << CIRCLE << CIRCLE_ID + "Circle 1 12 10 20 30 0 0.70710678 -0.70710678 25.0004 0.0012\n"
        << circle_head + QStringList{QStringLiteral("  Circle    10.000000    20.000000    30.000000  "
                                                    "0.0000  0.7071 -0.7071    25.000400     0.001200"),
                                     QString(), POINT_DATA};
    QTest::newRow("circle without entries")
        << CIRCLE << CIRCLE_ID << circle_head + QStringList{QString(), POINT_DATA};
    QTest::newRow("sphere") << SPHERE << SPHERE_ID + "Sphere 1 9 -5.5 0 12.25 19.9996 0.0004\n"
                            << sphere_head +
                                   QStringList{
                                       QStringLiteral("  Sphere    -5.500000     0.000000    12.250000  "
                                                      "  19.999600     0.000400"),
                                       QString(), POINT_DATA};
    QTest::newRow("sphere without entries")
        << SPHERE << SPHERE_ID << sphere_head + QStringList{QString(), POINT_DATA};
}

void TTestValidation::Report()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, report);

    const std::unique_ptr<TValidationCommon> record = Create(kind);
    QVERIFY(record);
    QVERIFY2(record->Load_Data(file), qPrintable(record->last_error));
    MeasureChecks::Compare_Lines(record->Text_Report(), report);
}

void TTestValidation::Golden_Report_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");

    QTest::newRow("plane") << PLANE << QStringLiteral("validation_plane_four_planes");
    QTest::newRow("line") << LINE << QStringLiteral("validation_line_four_lines");
    QTest::newRow("circle") << CIRCLE << QStringLiteral("validation_circle_three_rings");
    QTest::newRow("sphere") << SPHERE << QStringLiteral("validation_sphere_three_spheres");
}

void TTestValidation::Golden_Report()
{
    QFETCH(int, kind);
    QFETCH(QString, name);

    MeasureChecks::Check_Golden_Report(QStringLiteral("examples/%1.dat").arg(name),
                                       QStringLiteral("tests/data/golden/%1.txt").arg(name),
                                       static_cast<TMeasureData::TFileContents>(kind));
}

void TTestValidation::Damaged_Input_data()
{
    Golden_Report_data();
}

void TTestValidation::Damaged_Input()
{
    QFETCH(QString, name);

    const QByteArray example = MeasureChecks::Read_Bytes(QStringLiteral("examples/%1.dat").arg(name));
    QVERIFY(!example.isEmpty());
    MeasureChecks::Check_Damaged_Input(example,
                                       {QStringLiteral("Validation identification line not recognized"),
                                        QStringLiteral("Plane entry format not recognized."),
                                        QStringLiteral("Line entry format not recognized."),
                                        QStringLiteral("Circle entry format not recognized."),
                                        QStringLiteral("Sphere entry format not recognized.")});
}

void TTestValidation::Large_File_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("fixed_lines");

    // Title 3, header 3, closing 2 or 3; each entry carries two point lines.
    QTest::newRow("plane")
        << PLANE_ID
        << QStringLiteral("Plane  %1  2  247.478154  123.065149  -0.000221  0.000000000  0.000000000  "
                          "1.000000000  0.001363\n  Point 1 1 2 3\n  Point 2 4 5 6\n")
        << 9;
    QTest::newRow("line") << LINE_ID
                          << QStringLiteral(
                                 "Line  %1  2  50.000000  0.000111  0.000005  1.000000000  0.000000000  "
                                 "0.000000000  0.001253\n  Point 1 1 2 3\n  Point 2 4 5 6\n")
                          << 9;
    QTest::newRow("circle") << CIRCLE_ID
                            << QStringLiteral(
                                   "Circle  %1  2  150.000000  150.000000  -20.000000  0.000000000  "
                                   "0.000000000  1.000000000  50.001200  0.000811\n  Point 1 1 2 3\n")
                            << 8;
    QTest::newRow("sphere") << SPHERE_ID
                            << QStringLiteral(
                                   "Sphere  %1  2  452.118000  -210.447000  -381.993000  25.001100  "
                                   "0.000681\n  Point 1 1 2 3\n")
                            << 8;
}

void TTestValidation::Large_File()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, entry);
    QFETCH(int, fixed_lines);

    MeasureChecks::Check_Large_File(
        head, [&entry](int i) { return entry.arg(i + 1).toLatin1(); }, QByteArray(), fixed_lines);
}

QTEST_GUILESS_MAIN(TTestValidation)
#include "tst_validation.moc"
