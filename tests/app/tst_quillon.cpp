// The main window: settings file, loading through the window, style buttons, opening a folder or file
// from the command line or by a drop, and the folder watcher.

#include "apptest.h"

#include "commandline.h"
#include "graphwidget.h"
#include "presentation.h"
#include "quillon.h"
#include "tolerancedialog.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QToolButton>

#include <memory>

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples");
// Functions, since the home folder is set when the test starts.
QString Settings_Folder()
{
    return QDir::homePath() + QStringLiteral("/.corvane");
}

QString Settings_File()
{
    return Settings_Folder() + QStringLiteral("/quillon_settings.ini");
}

QString Example(const QString &name)
{
    return EXAMPLES + QLatin1Char('/') + name;
}

// A window started on the given settings file contents; a null text starts without a file.
std::unique_ptr<TQuillon> Window(const QByteArray &settings = QByteArray())
{
    QFile::remove(Settings_File());
    if (!settings.isNull())
        Write_File(Settings_File(), settings);
    return std::make_unique<TQuillon>();
}

QString Pane(const TQuillon &window)
{
    return Child<QPlainTextEdit>(window, "report_pane")->toPlainText();
}

// The pipeline's lines and, for a complete load, the presentation's lines after them.
QString Expected_Pane(const TQuillon &window, const QString &path)
{
    TNominalStore store;
    store.Initialize(Settings_Folder());
    const TMeasurementLoad load = MeasurementLoad::Load_File(path, &store);
    const TTolerance &tolerance = window.findChild<TToleranceDialog *>()->Tolerance();
    const QStringList extra =
        load.Succeeded() ? Presentation::Present(load.contents, load.graph_data, tolerance, true).extra_lines
                         : QStringList();
    return (load.report_lines + extra).join(QLatin1Char('\n'));
}

struct TSettingsRow
{
    const char *name;
    QByteArray ini;
    QRect geometry;
    QStringList input; // relative, absolute, use relative; empty for the defaults
};

struct TLoadRow
{
    const char *name;
    bool graph;
    bool styles;
};

struct TErrorRow
{
    const char *name;
    QByteArray contents;
    QString message; // empty: the pipeline's line
    bool new_path;   // the current path names the failed file
    bool graph;
    bool styles;
};

struct TOpenRow
{
    const char *name;
    QStringList arguments;
    TCommandLine::TAction action;
    QString message;
    QString shown; // the file shown after opening
};
} // namespace

Q_DECLARE_METATYPE(TSettingsRow)
Q_DECLARE_METATYPE(TLoadRow)
Q_DECLARE_METATYPE(TErrorRow)
Q_DECLARE_METATYPE(TOpenRow)

class TTestQuillon : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase()
    {
        // The nominal sets of the examples, where the window looks them up.
        for (const QString &name : Sorted_Files(Example("Nominal_Data")))
            QVERIFY(Write_File(Settings_Folder() + "/Nominal_Data/" + name,
                               Read_File(Example("Nominal_Data/" + name))));
    }

    void settings_data()
    {
        // Both edges of the 101 pixel rule at the screen's far corner; sizes as the settings store them.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect fallback(30, 30, 801, 601);
        const QPoint corner = screen.bottomRight() - QPoint(100, 100);
        auto geometry = [](const QPoint &at, int size)
        {
            return QStringLiteral("Mainwindow_Position=@Point(%1 %2)\nMainwindow_Size=@Size(%3 %3)\n")
                .arg(at.x())
                .arg(at.y())
                .arg(size)
                .toLatin1();
        };
        // clang-format off
        const TSettingsRow rows[] = {
            {"first start", QByteArray(), fallback & screen, {}},
            {"inside the screen", "[General]\nMainwindow_Position=@Point(100 50)\nMainwindow_Size=@Size(300 200)\n"
             "Input_Relative_Path=data\nInput_Absolute_Path=/x\nInput_Use_Relative_Path=true\n",
             QRect(100, 50, 300, 200), {"data", "/x", "true"}},
            {"far off the screen", geometry(QPoint(5000, 5000), 300), fallback, {}},
            {"101 pixels visible", geometry(corner, 300), QRect(corner, QSize(101, 101)), {}},
            {"100 pixels visible", geometry(corner + QPoint(1, 0), 300), fallback, {}},
            {"nonsense", "Mainwindow_Position=abc\nMainwindow_Size=@Size(-5 -5)\nInput_Relative_Path=a, b\n"
             "Input_Use_Relative_Path=maybe\n", fallback & screen, {}},
            {"beyond int", "Mainwindow_Position=@Point(2147483000 -2147483000)\nMainwindow_Size=@Size(2147483000 9)\n", fallback & screen, {}},
            {"binary junk", QByteArray("\0\xff[\n=\x01", 6), fallback & screen, {}},
        };
        // clang-format on
        Add_Rows(rows);
    }

    void settings()
    {
        QFETCH(TSettingsRow, row);
        std::unique_ptr<TQuillon> window = Window(row.ini);
        QCOMPARE(QRect(window->pos(), window->size()), row.geometry);
        const TMeasuredWidget::TInputSettings input =
            window->findChild<TMeasuredWidget *>()->Input_Settings();
        const QStringList expected =
            row.input.isEmpty()
                ? QStringList{"Measurement_Data", Settings_Folder() + "/Measurement_Data", "false"}
                : row.input;
        QCOMPARE(QStringList({input.relative_path, input.absolute_path,
                              QVariant(input.use_relative_path).toString()}),
                 expected);
        QCOMPARE(window->focusWidget(), window->findChild<QListWidget *>(QStringLiteral("file_list")));
    }

    // Close writes every key; a folder opened for this run is not stored unless chosen in the dialog.
    void close_writes_settings()
    {
        for (const bool chosen : {false, true})
        {
            std::unique_ptr<TQuillon> window = Window("Input_Absolute_Path=/stored\n");
            window->resize(420, 310);
            window->move(120, 80);
            QVERIFY(window->Open_Path(EXAMPLES));
            if (chosen)
                window->Measure_File_Path_Changed();
            QVERIFY(window->close());
            window.reset();

            const QSettings file(Settings_File(), QSettings::IniFormat);
            for (const char *key : {"Mainwindow_Position", "Mainwindow_Size", "Input_Relative_Path",
                                    "Input_Absolute_Path", "Input_Use_Relative_Path"})
                QVERIFY2(file.contains(QLatin1String(key)), key);
            window = std::make_unique<TQuillon>();
            QCOMPARE(QRect(window->pos(), window->size()), QRect(120, 80, 420, 310));
            QCOMPARE(window->findChild<TMeasuredWidget *>()->Input_Settings().absolute_path,
                     chosen ? EXAMPLES : "/stored");
        }
    }

    void load_data()
    {
        // clang-format off
        const TLoadRow rows[] = {
            {"stepgauge_10360_x_front.dat", true, true}, {"stepgauge_b89_x_axis.dat", true, true},
            {"stepgauge_squareness_xy.dat", true, true}, {"gaugeblock_500mm_x_axis.dat", false, false},
            {"point_repeat_table_centre_x.dat", false, false}, {"sphere_rpt_table_centre.dat", false, false},
            {"sphere_pftu_25mm.dat", false, false}, {"ballbar_500mm.dat", true, false},
            {"ringgauge_25mm.dat", true, false}, {"pingauge_10mm.dat", true, false},
            {"probe_tip_calibration.dat", false, false}, {"temperature_machine_day.dat", true, false},
            {"laser_10360_x_axis.dat", true, true}, {"laser_pmove_x_axis.dat", true, true},
            {"laser_pmove_y_straightness_z.dat", true, true}, {"validation_plane_four_planes.dat", false, false},
            {"validation_sphere_three_spheres.dat", false, false}, {"validation_circle_three_rings.dat", false, false},
            {"validation_line_four_lines.dat", false, false},
        };
        // clang-format on
        Add_Rows(rows);
    }

    void load()
    {
        QFETCH(TLoadRow, row);
        std::unique_ptr<TQuillon> window = Window();
        // Loaded after a file of another kind, so that every state is set by this load.
        window->Load_Data(Example(row.styles ? "ballbar_500mm.dat" : "laser_10360_x_axis.dat"));
        const QString path = Example(row.name);
        window->Load_Data(path);
        QVERIFY(!Pane(*window).startsWith(QLatin1String("ERR")));
        QCOMPARE(Pane(*window), Expected_Pane(*window, path));
        QCOMPARE(Child<QPlainTextEdit>(*window, "report_pane")->textCursor().position(), 0);
        QCOMPARE(window->Current_File_Path(), path);
        const TGraphWidget *graph = window->findChild<TGraphWidget *>();
        QCOMPARE(!graph->isHidden(), row.graph);
        QCOMPARE(graph->d_data_sets.empty(), !row.graph);
        QCOMPARE(Child<QToolButton>(*window, "point_graph_button")->isEnabled(), row.styles);
        QCOMPARE(Child<QToolButton>(*window, "line_graph_button")->isEnabled(), row.styles);
        if (!row.styles)
            return;
        // Either style button switches both and reloads the file.
        Child<QToolButton>(*window, "point_graph_button")->click();
        QVERIFY(Child<QToolButton>(*window, "line_graph_button")->isChecked());
        QVERIFY(!Child<QToolButton>(*window, "point_graph_button")->isChecked());
        QCOMPARE(Pane(*window), Expected_Pane(*window, path));
    }

    void load_errors_data()
    {
        const QByteArray step_gauge = Read_File(Example("stepgauge_10360_x_front.dat"));
        const QByteArray header = step_gauge.left(step_gauge.indexOf('\n') + 1);
        const QString small = "ERR  Input file too small to be a measurement data file.";
        // clang-format off
        const TErrorRow rows[] = {
            {"63 bytes", QByteArray(63, 'x'), small, false, true, true},
            {"one byte too many", QByteArray(262145, 'x'), "ERR  Input file too large to be a measurement data file.", false, true, true},
            {"missing file", QByteArray(), small, false, true, true},
            {"unknown kind", QByteArray(64, 'x'), "ERR  File contents not recognized.", false, false, false},
            {"parse failure", header + QByteArray(80, '#') + "\nMeasurement_Begin:\nbad\n", QString(), false, false, true},
            {"no nominal set", QByteArray(step_gauge).replace("1020-4471", "9999-0000"), QString(), true, false, true},
        };
        // clang-format on
        Add_Rows(rows);
    }

    // Each failure follows a good laser file: the current path, graph and style buttons tell which
    // state the failure may change.
    void load_errors()
    {
        QFETCH(TErrorRow, row);
        QTemporaryDir folder;
        const QString path = folder.filePath("failing.dat");
        if (!row.contents.isNull())
            QVERIFY(Write_File(path, row.contents));
        std::unique_ptr<TQuillon> window = Window();
        const QString laser = Example("laser_10360_x_axis.dat");
        window->Load_Data(laser);
        window->Load_Data(path);

        const QString message = row.message.isEmpty() ? Expected_Pane(*window, path) : row.message;
        QVERIFY(message.startsWith(QLatin1String("ERR  ")));
        QCOMPARE(Pane(*window), message);
        QCOMPARE(window->Current_File_Path(), row.new_path ? path : laser);
        QCOMPARE(!window->findChild<TGraphWidget *>()->isHidden(), row.graph);
        QCOMPARE(Child<QToolButton>(*window, "point_graph_button")->isEnabled(), row.styles);
        if (row.styles && !row.new_path)
        {
            // A style button reloads the file parsed last.
            Child<QToolButton>(*window, "line_graph_button")->click();
            QCOMPARE(Pane(*window), Expected_Pane(*window, laser));
        }
    }

    void open_data()
    {
        const QString step_gauge = Example("stepgauge_b89_x_axis.dat");
        // clang-format off
        const TOpenRow rows[] = {
            {"folder", {EXAMPLES}, TCommandLine::ACTION_RUN, QString(), QString()},
            {"file", {"--", step_gauge}, TCommandLine::ACTION_RUN, QString(), step_gauge},
            {"missing", {"/no/such/folder"}, TCommandLine::ACTION_RUN, "does not exist", QString()},
            {"not a .dat file", {Example("Nominal_Data/SG_1020-4471")}, TCommandLine::ACTION_RUN, "neither", QString()},
            {"help", {"-x", "--help"}, TCommandLine::ACTION_HELP, "Usage: quillon", QString()},
            {"version", {"--version"}, TCommandLine::ACTION_VERSION, "Quillon - Version 5.0\n", QString()},
            {"unknown option", {"-x"}, TCommandLine::ACTION_USAGE_ERROR, "unknown option '-x'", QString()},
            {"two paths", {"a", "b"}, TCommandLine::ACTION_USAGE_ERROR, "only one", QString()},
        };
        // clang-format on
        Add_Rows(rows);
    }

    // The command line and a drop open the same paths the same way.
    void open()
    {
        QFETCH(TOpenRow, row);
        const TCommandLine command_line = TCommandLine::Parse(row.arguments);
        QCOMPARE(command_line.action, row.action);
        if (row.action != TCommandLine::ACTION_RUN)
        {
            // Help and version need no display: a platform that cannot start would stop the program.
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            if (row.action != TCommandLine::ACTION_USAGE_ERROR)
                environment.insert("QT_QPA_PLATFORM", "no-such-platform");
            QProcess viewer;
            viewer.setProcessEnvironment(environment);
            viewer.start(QStringLiteral(QUILLON_VIEWER_PATH), row.arguments);
            QVERIFY(viewer.waitForFinished());
            QCOMPARE(viewer.exitCode(), row.action == TCommandLine::ACTION_USAGE_ERROR ? 2 : 0);
            QVERIFY(QString(viewer.readAllStandardOutput() + viewer.readAllStandardError())
                        .contains(row.message));
            return;
        }
        QVERIFY2(command_line.message.contains(row.message), qPrintable(command_line.message));
        const bool opens = row.message.isEmpty();
        QCOMPARE(command_line.path.isEmpty(), !opens);
        for (const bool drop : {false, true})
        {
            std::unique_ptr<TQuillon> window = Window();
            if (drop)
            {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(row.arguments.last())});
                QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &enter);
                QCOMPARE(enter.isAccepted(), opens);
                QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &event);
            }
            else if (opens)
                QVERIFY(window->Open_Path(command_line.path));
            QCOMPARE(Listed(*window).contains("ballbar_500mm.dat"), opens);
            QCOMPARE(window->Watched_Folder(), opens ? EXAMPLES : Settings_Folder() + "/Measurement_Data");
            QCOMPARE(window->Current_File_Path(), row.shown);
            if (!row.shown.isEmpty())
                QCOMPARE(Pane(*window), Expected_Pane(*window, row.shown));
        }
    }

    // A burst of new files refreshes the list a few times; a folder made again is watched again.
    void watcher()
    {
        QTemporaryDir folder;
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->Open_Path(folder.path()));
        QSignalSpy refreshes(window->findChild<TMeasuredWidget *>(), &TMeasuredWidget::File_List_Refreshed);
        QElapsedTimer burst;
        burst.start();
        // Twenty pauses let the watcher report twenty times; a fifth of a second per refresh is plenty.
        for (int i = 0; i < 500; ++i)
        {
            Write_File(folder.filePath(QStringLiteral("run%1.dat").arg(i, 3, 10, QLatin1Char('0'))), "x");
            if (i % 25 == 0)
                QTest::qWait(20);
        }
        const qint64 burst_ms = burst.elapsed();
        QTRY_COMPARE(Listed(*window).size(), 500);
        QTest::qWait(400);
        QVERIFY2(refreshes.size() <= 2 + burst_ms / 200, qPrintable(QString::number(refreshes.size())));

        QVERIFY(QDir(folder.path()).removeRecursively());
        QTRY_COMPARE(Listed(*window).size(), 0);
        QVERIFY(QDir().mkpath(folder.path()));
        Child<QToolButton>(*window, "refresh_button")->click();
        Write_File(folder.filePath("late.dat"), "x");
        QTRY_COMPARE(Listed(*window), QStringList("late.dat"));
    }
};

QUILLON_APP_TEST_MAIN(TTestQuillon)
#include "tst_quillon.moc"
