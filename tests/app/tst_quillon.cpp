// The main window: settings file, loading through the window, style buttons, opening a folder or file
// from the command line or by a drop, and the folder watcher.

#include "apptest.h"

#include "commandline.h"
#include "graphwidget.h"
#include "quillon.h"

#include <QDockWidget>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QToolButton>

#include <memory>

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples");

QString Example(const QString &name)
{
    return EXAMPLES + QLatin1Char('/') + name;
}

QString Settings_Folder()
{
    return QDir::homePath() + QStringLiteral("/.corvane");
}

// A window started on the given settings file contents; a null text starts without a file.
std::unique_ptr<TQuillon> Window(const QByteArray &settings = QByteArray())
{
    QFile::remove(Settings_Folder() + QStringLiteral("/quillon_settings.ini"));
    if (!settings.isNull())
        Write_File(Settings_Folder() + QStringLiteral("/quillon_settings.ini"), settings);
    return std::make_unique<TQuillon>();
}

QString Pane(const TQuillon &window)
{
    return window.findChild<QPlainTextEdit *>(QStringLiteral("report_pane"))->toPlainText();
}

QString Expected_Pane(const QString &path)
{
    TNominalStore store;
    store.Initialize(Settings_Folder());
    return MeasurementLoad::Load_File(path, &store).report_lines.join(QLatin1Char('\n'));
}

QToolButton *Button(const TQuillon &window, const char *name)
{
    return window.findChild<QToolButton *>(QLatin1String(name));
}

TGraphWidget *Graph(const TQuillon &window)
{
    return window.findChild<TGraphWidget *>(QStringLiteral("graph"));
}

QStringList Listed(const TQuillon &window)
{
    QStringList names;
    const QListWidget *list = window.findChild<QListWidget *>(QStringLiteral("file_list"));
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

struct TSettingsRow
{
    QByteArray ini;
    QRect geometry;
    TMeasuredWidget::TInputSettings input;
};

struct TLoadRow
{
    QString file;
    bool graph;
    bool styles;
};

struct TErrorRow
{
    QByteArray contents;
    QString message; // empty: the pipeline's line
    bool new_path;   // the current path names the failed file
    bool graph;
    bool styles;
};

struct TOpenRow
{
    QStringList arguments;
    TCommandLine::TAction action;
    QString message;
    QString selected; // the file shown after opening, empty for none
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
        const QString source = Example(QStringLiteral("Nominal_Data"));
        for (const QString &name : Files_In(source))
            QVERIFY(Write_File(Settings_Folder() + "/Nominal_Data/" + name, Read_File(source + '/' + name)));
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 800, 600));
    }

    void settings_data()
    {
        const QString folder = Settings_Folder() + QStringLiteral("/Measurement_Data");
        const TMeasuredWidget::TInputSettings defaults{QStringLiteral("Measurement_Data"), folder, false};
        QTest::addColumn<TSettingsRow>("row");
        QTest::newRow("first start") << TSettingsRow{QByteArray(), QRect(30, 30, 770, 570), defaults};
        QTest::newRow("inside the screen") << TSettingsRow{
            "[General]\nMainwindow_Position=@Point(100 50)\nMainwindow_Size=@Size(300 200)\n"
            "Input_Relative_Path=data\nInput_Absolute_Path=/tmp/x\nInput_Use_Relative_Path=true\n",
            QRect(100, 50, 300, 200),
            {"data", "/tmp/x", true}};
        QTest::newRow("far off the screen")
            << TSettingsRow{"Mainwindow_Position=@Point(5000 5000)\n", QRect(30, 30, 801, 601), defaults};
        QTest::newRow("101 pixels visible")
            << TSettingsRow{"Mainwindow_Position=@Point(699 499)\nMainwindow_Size=@Size(300 300)\n",
                            QRect(699, 499, 101, 101), defaults};
        QTest::newRow("100 pixels visible")
            << TSettingsRow{"Mainwindow_Position=@Point(700 400)\nMainwindow_Size=@Size(300 300)\n",
                            QRect(30, 30, 801, 601), defaults};
        QTest::newRow("nonsense") << TSettingsRow{
            "Mainwindow_Position=abc\nMainwindow_Size=@Size(-5 -5)\nInput_Relative_Path=a, b\n"
            "Input_Use_Relative_Path=maybe\n",
            QRect(30, 30, 770, 570), defaults};
        QTest::newRow("binary junk") << TSettingsRow{QByteArray("\0\xff[\n=\x01", 6), QRect(30, 30, 770, 570),
                                                     defaults};
    }

    void settings()
    {
        QFETCH(TSettingsRow, row);
        std::unique_ptr<TQuillon> window = Window(row.ini);
        QCOMPARE(QRect(window->pos(), window->size()), row.geometry);
        const TMeasuredWidget::TInputSettings input =
            window->findChild<TMeasuredWidget *>()->Input_Settings();
        QCOMPARE(input.relative_path, row.input.relative_path);
        QCOMPARE(input.absolute_path, row.input.absolute_path);
        QCOMPARE(input.use_relative_path, row.input.use_relative_path);
    }

    void close_writes_settings_data()
    {
        QTest::addColumn<int>("opened");
        QTest::newRow("own folder") << 0;
        QTest::newRow("folder opened for this run") << 1;
        QTest::newRow("opened, then chosen in the dialog") << 2;
    }

    void close_writes_settings()
    {
        QFETCH(int, opened);
        std::unique_ptr<TQuillon> window = Window("Input_Absolute_Path=/stored\n");
        window->resize(420, 310);
        window->move(120, 80);
        if (opened > 0)
            QVERIFY(window->Open_Path(EXAMPLES));
        if (opened > 1)
            window->Measure_File_Path_Changed();
        QVERIFY(window->close());
        window.reset();

        const QSettings file(Settings_Folder() + QStringLiteral("/quillon_settings.ini"),
                             QSettings::IniFormat);
        for (const char *key : {"Mainwindow_Position", "Mainwindow_Size", "Input_Relative_Path",
                                "Input_Absolute_Path", "Input_Use_Relative_Path"})
            QVERIFY2(file.contains(QLatin1String(key)), key);
        const QString folder = opened > 1 ? EXAMPLES : "/stored";
        QCOMPARE(file.value("Input_Absolute_Path").toString(), folder);
        window = std::make_unique<TQuillon>();
        QCOMPARE(QRect(window->pos(), window->size()), QRect(120, 80, 420, 310));
        QCOMPARE(window->findChild<TMeasuredWidget *>()->Input_Settings().absolute_path, folder);
    }

    void construction()
    {
        std::unique_ptr<TQuillon> window = Window();
        QCOMPARE(window->windowTitle(), QStringLiteral("Quillon - Version 5.0"));
        QVERIFY(Button(*window, "point_graph_button")->isChecked());
        QVERIFY(!Button(*window, "line_graph_button")->isChecked());
        QVERIFY(!Button(*window, "point_graph_button")->isEnabled());
        QCOMPARE(window->focusWidget(), window->findChild<QListWidget *>());
        const QList<QDockWidget *> docks = window->findChildren<QDockWidget *>();
        QCOMPARE(docks.size(), 2);
        QCOMPARE(docks.at(0)->windowTitle(), QStringLiteral("Stepgauge Nominal"));
        QCOMPARE(docks.at(1)->windowTitle(), QStringLiteral("Measurement Files"));
    }

    void load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const TLoadRow rows[] = {
            {"stepgauge_10360_x_front.dat", true, true},
            {"stepgauge_b89_x_axis.dat", true, true},
            {"stepgauge_squareness_xy.dat", true, true},
            {"gaugeblock_500mm_x_axis.dat", false, false},
            {"point_repeat_table_centre_x.dat", false, false},
            {"sphere_rpt_table_centre.dat", false, false},
            {"sphere_pftu_25mm.dat", false, false},
            {"ballbar_500mm.dat", true, false},
            {"ringgauge_25mm.dat", true, false},
            {"pingauge_10mm.dat", true, false},
            {"probe_tip_calibration.dat", false, false},
            {"temperature_machine_day.dat", true, false},
            {"laser_10360_x_axis.dat", true, true},
            {"laser_pmove_x_axis.dat", true, true},
            {"laser_pmove_y_straightness_z.dat", true, true},
            {"validation_plane_four_planes.dat", false, false},
            {"validation_sphere_three_spheres.dat", false, false},
            {"validation_circle_three_rings.dat", false, false},
            {"validation_line_four_lines.dat", false, false},
        };
        for (const TLoadRow &row : rows)
            QTest::newRow(qPrintable(row.file)) << row;
    }

    void load()
    {
        QFETCH(TLoadRow, row);
        std::unique_ptr<TQuillon> window = Window();
        const QString path = Example(row.file);
        window->Load_Data(path);
        QVERIFY(!Pane(*window).startsWith(QLatin1String("ERR")));
        QCOMPARE(Pane(*window), Expected_Pane(path));
        QCOMPARE(window->findChild<QPlainTextEdit *>()->textCursor().position(), 0);
        QCOMPARE(window->Current_File_Path(), path);
        QCOMPARE(!Graph(*window)->isHidden(), row.graph);
        QCOMPARE(Graph(*window)->d_data_sets.empty(), !row.graph);
        QCOMPARE(Button(*window, "point_graph_button")->isEnabled(), row.styles);
        QCOMPARE(Button(*window, "line_graph_button")->isEnabled(), row.styles);
    }

    void load_errors_data()
    {
        const QByteArray step_gauge = Read_File(Example("stepgauge_10360_x_front.dat"));
        QByteArray unknown_gauge = step_gauge;
        unknown_gauge.replace("1020-4471", "9999-0000");
        const QByteArray header = step_gauge.left(step_gauge.indexOf('\n') + 1);
        QTest::addColumn<TErrorRow>("row");
        QTest::newRow("63 bytes") << TErrorRow{QByteArray(63, 'x'),
                                               "ERR  Input file too small to be a measurement data file.",
                                               false, true, true};
        QTest::newRow("one byte too many")
            << TErrorRow{QByteArray(262145, 'x'), "ERR  Input file too large to be a measurement data file.",
                         false, true, true};
        QTest::newRow("missing file") << TErrorRow{
            QByteArray(), "ERR  Input file too small to be a measurement data file.", false, true, true};
        QTest::newRow("unknown kind")
            << TErrorRow{QByteArray(64, 'x'), "ERR  File contents not recognized.", false, false, false};
        QTest::newRow("parse failure") << TErrorRow{
            header + QByteArray(80, '#') + "\nMeasurement_Begin:\nbad\n", QString(), false, false, true};
        QTest::newRow("no nominal set") << TErrorRow{unknown_gauge, QString(), true, false, true};
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

        const QString message = row.message.isEmpty() ? Expected_Pane(path) : row.message;
        QVERIFY(message.startsWith(QLatin1String("ERR  ")));
        QCOMPARE(Pane(*window), message);
        QCOMPARE(window->Current_File_Path(), row.new_path ? path : laser);
        QCOMPARE(!Graph(*window)->isHidden(), row.graph);
        QCOMPARE(Button(*window, "point_graph_button")->isEnabled(), row.styles);
        if (row.styles && !row.new_path)
        {
            // A style button reloads the file parsed last.
            Button(*window, "line_graph_button")->click();
            QCOMPARE(Pane(*window), Expected_Pane(laser));
        }
    }

    void style_buttons()
    {
        std::unique_ptr<TQuillon> window = Window();
        window->Load_Data(Example("stepgauge_b89_x_axis.dat"));
        QToolButton *point = Button(*window, "point_graph_button");
        QToolButton *line = Button(*window, "line_graph_button");
        const QString report = Pane(*window);
        for (int click = 0; click < 3; ++click)
        {
            (click == 1 ? line : point)->click();
            QCOMPARE(line->isChecked(), !point->isChecked());
            QCOMPARE(Pane(*window), report);
            const TGraphWidget::TGraphType type =
                point->isChecked() ? TGraphWidget::GRAPH_CROSS : TGraphWidget::GRAPH_LINE;
            QCOMPARE(Graph(*window)->d_data_sets.front().dataset_type, type);
        }
        window->Load_Data(Example("probe_tip_calibration.dat"));
        QVERIFY(!point->isEnabled() && !line->isEnabled());
    }

    void open_data()
    {
        const QString stepgauge = Example("stepgauge_b89_x_axis.dat");
        QTest::addColumn<TOpenRow>("row");
        QTest::newRow("folder") << TOpenRow{{EXAMPLES}, TCommandLine::ACTION_RUN, QString(), QString()};
        QTest::newRow("file") << TOpenRow{{"--", stepgauge}, TCommandLine::ACTION_RUN, QString(), stepgauge};
        QTest::newRow("missing") << TOpenRow{
            {"/no/such/folder"}, TCommandLine::ACTION_RUN, "does not exist", QString()};
        QTest::newRow("not a .dat file") << TOpenRow{
            {Example("Nominal_Data/SG_1020-4471")}, TCommandLine::ACTION_RUN, "neither", QString()};
        QTest::newRow("help") << TOpenRow{{"-x", "--help"}, TCommandLine::ACTION_HELP, QString(), QString()};
        QTest::newRow("version") << TOpenRow{
            {"--version"}, TCommandLine::ACTION_VERSION, QString(), QString()};
        QTest::newRow("unknown option")
            << TOpenRow{{"-x"}, TCommandLine::ACTION_USAGE_ERROR, "unknown option '-x'", QString()};
        QTest::newRow("two paths") << TOpenRow{
            {"a", "b"}, TCommandLine::ACTION_USAGE_ERROR, "only one", QString()};
    }

    // The command line and a drop open the same paths the same way.
    void open()
    {
        QFETCH(TOpenRow, row);
        const TCommandLine command_line = TCommandLine::Parse(row.arguments);
        QCOMPARE(command_line.action, row.action);
        QVERIFY2(command_line.message.contains(row.message), qPrintable(command_line.message));
        if (row.action != TCommandLine::ACTION_RUN)
            return;
        QCOMPARE(command_line.path.isEmpty(), !row.message.isEmpty());

        for (const bool drop : {false, true})
        {
            std::unique_ptr<TQuillon> window = Window();
            const QString path = row.arguments.last();
            if (drop)
            {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(path)});
                QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &enter);
                QCOMPARE(enter.isAccepted(), row.message.isEmpty());
                QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &event);
            }
            else if (!command_line.path.isEmpty())
                QVERIFY(window->Open_Path(command_line.path));
            const bool opened = row.message.isEmpty();
            QCOMPARE(Listed(*window).contains("ballbar_500mm.dat"), opened);
            QCOMPARE(window->Watched_Folder(), opened ? EXAMPLES : Settings_Folder() + "/Measurement_Data");
            QCOMPARE(window->Current_File_Path(), row.selected);
            if (!row.selected.isEmpty())
                QCOMPARE(Pane(*window), Expected_Pane(row.selected));
        }
    }

    // A burst of new files refreshes the list a few times; a folder made again is watched again.
    void watcher()
    {
        QTemporaryDir folder;
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->Open_Path(folder.path()));
        QSignalSpy refreshes(window->findChild<TMeasuredWidget *>(), &TMeasuredWidget::File_List_Refreshed);
        for (int i = 0; i < 500; ++i)
        {
            Write_File(folder.filePath(QStringLiteral("run%1.dat").arg(i, 3, 10, QLatin1Char('0'))), "x");
            if (i % 25 == 0)
                QTest::qWait(20);
        }
        QTRY_COMPARE(Listed(*window).size(), 500);
        QTest::qWait(400);
        QVERIFY2(refreshes.size() <= 10, qPrintable(QString::number(refreshes.size())));

        QVERIFY(QDir(folder.path()).removeRecursively());
        QTRY_COMPARE(Listed(*window).size(), 0);
        QVERIFY(QDir().mkpath(folder.path()));
        window->findChild<QToolButton *>(QStringLiteral("refresh_button"))->click();
        Write_File(folder.filePath("late.dat"), "x");
        QTRY_COMPARE(Listed(*window), QStringList("late.dat"));
    }
};

QUILLON_APP_TEST_MAIN(TTestQuillon)
#include "tst_quillon.moc"
