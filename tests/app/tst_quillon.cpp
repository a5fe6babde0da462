// The main window: settings file, loading through the window with its verdict and actions, style
// buttons, opening a folder or file from the command line or by a drop, and the folder watcher.

#include "tests/app/apptest.h"

#include "app/commandline.h"
#include "app/elidedlabel.h"
#include "app/tolerancedialog.h"
#include "model/presentation.h"
#include "model/verdict.h"
#include "tests/common/small_disk.h"
#include "widgets/graphwidget.h"

#include <sys/stat.h>

namespace
{
QToolButton *Style(const TQuillon &window, const char *style)
{
    return Child<QToolButton>(window, qPrintable(QString(style) + "_graph_button"));
}

// What a load leaves on show: the graph, data drawn in it, and the enabled point and line style buttons.
const QString NO_VIEW = "- - - -", GRAPH = "graph - - -", DRAWN = "graph data - -",
              STYLED = "graph data point line";

QString Digest(const QString &state, const QString &pane, const std::vector<TGraphTypes::TDataSet> &sets,
               const QString &verdict)
{
    QStringList lines{state, pane, verdict};
    for (const TGraphTypes::TDataSet &set : sets)
        lines.append(QStringLiteral("set %1 of %2").arg(set.dataset_type).arg(set.dataset_points.size()));
    return lines.join('\n');
}

// The view, the actions enabled, the pane, the verdict with its colour and the graph's data sets.
QString Shown(const TQuillon &window)
{
    const TGraphWidget *graph = window.findChild<TGraphWidget *>();
    QString state = QStringList{graph->isHidden() ? "-" : "graph", graph->Data_Sets().empty() ? "-" : "data",
                                Style(window, "point")->isEnabled() ? "point" : "-",
                                Style(window, "line")->isEnabled() ? "line" : "-"}
                        .join(' ') +
                    ' ';
    for (const char *action : {"export_pdf_action", "print_action", "copy_report_action", "save_graph_action",
                               "copy_graph_action", "copy_graph_data_action"})
        state += Child<QAction>(window, action)->isEnabled() ? '1' : '0';
    const QLabel *verdict = Child<QLabel>(window, "verdict_label");
    const QString colour = verdict->styleSheet().contains("rgb(0, 128, 0)")     ? " green"
                           : verdict->styleSheet().contains("rgb(200, 0, 0)")   ? " red"
                           : verdict->styleSheet().contains("rgb(224, 112, 0)") ? " orange"
                                                                                : "";
    return Digest(state, Child<QPlainTextEdit>(window, "report_pane")->toPlainText(), graph->Data_Sets(),
                  verdict->text() + colour);
}

// The same from the pipeline, in the point style when point is 1, the line style when 0, else in the
// style the point button chooses.
QString Expected(const TQuillon &window, const QString &path, const QString &view, int point = -1)
{
    TNominalStore store;
    store.Initialize(Settings(""));
    const TMeasurementLoad load = MeasurementLoad::Load_File(path, &store);
    const TTolerance tolerance = window.findChild<TToleranceDialog *>()->Tolerance();
    TPresentation shown;
    TVerdict verdict;
    if (load.Succeeded())
    {
        shown = Presentation::Present(load.contents, load.graph_data, tolerance,
                                      point < 0 ? Style(window, "point")->isChecked() : point == 1);
        verdict = Verdict::Evaluate(load.contents, load.graph_data, tolerance,
                                    load.record ? load.record->unreadable_lines : 0);
    }
    // Export, print and copy report follow a load; save, copy graph and copy graph data a graph shown.
    const QString actions = load.Succeeded() ? (shown.setup.shown ? " 111111" : " 111000") : " 000000";
    const char *colours[] = {"", " green", " red", " orange"};
    return Digest(view + actions, (load.report_lines + shown.extra_lines).join('\n'),
                  shown.setup.shown ? shown.data_sets : std::vector<TGraphTypes::TDataSet>(),
                  verdict.line + colours[verdict.verdict]);
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
    QString name;
    QByteArray contents; // null: no file
    QString result;      // "loaded", else the status bar's reason for no verdict
    QString view;
};

// A change on disk around the file on show, a.dat, and what the window shows after it.
struct TFollowRow
{
    const char *name;
    const char *change;
    QString state;   // the path line after the file's path; "modified" for the file's time
    bool selected;   // a.dat stays selected
    bool read_again; // the report and graph follow the new contents; else the view is untouched
};

struct TOpenRow
{
    const char *name;
    QStringList arguments;
    QString message;
    QString shown; // the file shown after opening
};
} // namespace

Q_DECLARE_METATYPE(TSettingsRow)
Q_DECLARE_METATYPE(TLoadRow)
Q_DECLARE_METATYPE(TOpenRow)
Q_DECLARE_METATYPE(TFollowRow)

class TTestQuillon : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(Install_Nominal_Sets()); }

    void cleanup() { TMessageBox::Set_Answer_Function({}); }

    void Window_Settings_data()
    {
        // Both edges of the 101 pixel rule at the screen's far corner; sizes as the settings store them.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry(),
                    fallback(30, 30, 801, 601);
        const QPoint corner = screen.bottomRight() - QPoint(100, 100);
        const QString at = "Mainwindow_Position=@Point(%1 %2)\nMainwindow_Size=@Size(300 300)\n";
        // clang-format off
        const TSettingsRow rows[] = {
            {"first start", QByteArray(), fallback & screen, {}},
            {"inside the screen", "[General]\nMainwindow_Position=@Point(100 50)\nMainwindow_Size=@Size(300 200)\n"
             "Input_Relative_Path=data\nInput_Absolute_Path=/x\nInput_Use_Relative_Path=true\n", QRect(100, 50, 300, 200), {"data", "/x", "true"}},
            {"far off the screen", at.arg(5000).arg(5000).toLatin1(), fallback, {}},
            {"101 pixels visible", at.arg(corner.x()).arg(corner.y()).toLatin1(), QRect(corner, QSize(101, 101)), {}},
            {"100 pixels visible", at.arg(corner.x() + 1).arg(corner.y()).toLatin1(), fallback, {}},
            {"nonsense", "Mainwindow_Position=abc\nMainwindow_Size=@Size(-5 -5)\nInput_Relative_Path=a, b\nInput_Use_Relative_Path=maybe\n", fallback & screen, {}},
            {"beyond int", "Mainwindow_Position=@Point(2147483000 -2147483000)\nMainwindow_Size=@Size(2147483000 9)\n", fallback & screen, {}},
            {"binary junk", QByteArray("\0\xff[\n=\x01", 6), fallback & screen, {}},
        };
        // clang-format on
        Add_Rows(rows);
    }

    // Read at start; written at close, where a folder opened for the run is stored only once chosen.
    void Window_Settings()
    {
        QFETCH(TSettingsRow, row);
        std::unique_ptr<TQuillon> window = Window(row.ini);
        auto input = [&]
        {
            const TMeasuredWidget::TInputSettings in =
                window->findChild<TMeasuredWidget *>()->Input_Settings();
            return QStringList(
                {in.relative_path, in.absolute_path, QVariant(in.use_relative_path).toString()});
        };
        QStringList expected = row.input.isEmpty()
                                   ? QStringList{"Measurement_Data", Settings("Measurement_Data"), "false"}
                                   : row.input;
        QCOMPARE(QRect(window->pos(), window->size()), row.geometry);
        QCOMPARE(input(), expected);
        QCOMPARE(window->focusWidget(), Child<QWidget>(*window, "file_list"));

        window->resize(420, 310);
        window->move(120, 80);
        QVERIFY(window->Open_Path(EXAMPLES));
        // Chosen as through the dialog in the row with input settings only.
        if (!row.input.isEmpty())
            window->Measure_File_Path_Changed();
        window = Restarted(std::move(window));
        QCOMPARE(QRect(window->pos(), window->size()), QRect(120, 80, 420, 310));
        if (!row.input.isEmpty())
            expected = QStringList{expected[0], QDir::cleanPath(EXAMPLES), "false"};
        QCOMPARE(input(), expected);
    }

    // Each load follows a good one of another kind, so that the current path, graph and style buttons
    // tell which state the load sets. The pipeline's own tests check its messages.
    void Load_data()
    {
        QTest::addColumn<TLoadRow>("row");
        const QByteArray step_gauge = Read_File(EXAMPLES + "stepgauge_10360_x_front.dat");
        const QByteArray header = step_gauge.left(step_gauge.indexOf('\n') + 1);
        // clang-format off
        QList<TLoadRow> rows = {
            {"too small", QByteArray(63, 'x'), "Input file too small", GRAPH},
            {"missing file", QByteArray(), "Input file too small", GRAPH},
            {"unknown kind", QByteArray(64, 'x'), "File contents not recognized.", NO_VIEW},
            {"parse failure", header + QByteArray(80, '#') + "\nMeasurement_Begin:\nbad\n", "", NO_VIEW},
            // A serial wider than the pane: its message still opens at its start.
            {"no nominal set", QByteArray(step_gauge).replace("1020-4471", QByteArray(300, '9')), "Stepgauge nominal", NO_VIEW},
        };
        // clang-format on
        // Every example: step gauges and lasers have the style buttons; these kinds a graph without them.
        const QStringList styles{"stepgauge", "laser"},
            graph{"ballbar", "ringgauge", "pingauge", "temperature"};
        for (const QString &file : QDir(EXAMPLES).entryList({"*.dat"}, QDir::Files))
        {
            const QString kind = file.section('_', 0, 0);
            rows.append({file, Read_File(EXAMPLES + file), "loaded",
                         styles.contains(kind)  ? STYLED
                         : graph.contains(kind) ? DRAWN
                                                : NO_VIEW});
        }
        QCOMPARE(rows.size(), 5 + 19);
        for (const TLoadRow &row : rows)
            QTest::newRow(qPrintable(row.name)) << row;
    }

    void Load()
    {
        QFETCH(TLoadRow, row);
        QTemporaryDir folder;
        const QString path = folder.filePath(row.name);
        const QString before =
            EXAMPLES + (row.view == STYLED ? "ballbar_500mm.dat" : "laser_10360_x_axis.dat");
        QVERIFY(row.contents.isNull() || Write_File(path, row.contents));
        std::unique_ptr<TQuillon> window = Window();
        window->Load_Data(before);
        window->Load_Data(path);
        // A failure shows itself, never the file before it, and the status bar says why it has no verdict.
        QCOMPARE(Shown(*window), Expected(*window, path, row.view));
        QCOMPARE(window->Current_File_Path(), path);
        const QPlainTextEdit *pane = Child<QPlainTextEdit>(*window, "report_pane");
        QCOMPARE(pane->textCursor().position(), 0);
        QCOMPARE(pane->horizontalScrollBar()->value(), 0);
        const QString state = window->File_State_Text();
        if (row.result == "loaded")
            QCOMPARE(state, row.name);
        else
            QVERIFY2(state.startsWith("No verdict for " + row.name + ": " + row.result), qPrintable(state));
        if (row.view != STYLED)
            return;
        // Either style button switches both and shows the load kept in the other style: the file, here
        // spoilt on disk meanwhile, is not read again.
        const QString expected = Expected(*window, path, row.view, 0);
        QVERIFY(Write_File(path, "x"));
        Style(*window, "point")->click();
        QVERIFY(Style(*window, "line")->isChecked() && !Style(*window, "point")->isChecked());
        QCOMPARE(Shown(*window), expected);
    }

    void Open_data()
    {
        const QString step_gauge = EXAMPLES + "stepgauge_b89_x_axis.dat";
        const TOpenRow rows[] = {
            {"folder", {EXAMPLES}, "", ""},
            {"file", {"--", step_gauge}, "", step_gauge},
            {"missing", {"/no/such/folder"}, "does not exist", ""},
            {"not a .dat file", {EXAMPLES + "Nominal_Data/SG_1020-4471"}, "neither", ""},
        };
        Add_Rows(rows);
    }

    // The command line and a drop open the same paths the same way. A drop is taken only as a copy, so
    // that the source never deletes what it dragged.
    void Open()
    {
        QFETCH(TOpenRow, row);
        const TCommandLine command_line = TCommandLine::Parse(row.arguments);
        QCOMPARE(command_line.action, TCommandLine::ACTION_RUN);
        QVERIFY2(command_line.message.contains(row.message), qPrintable(command_line.message));
        const bool opens = row.message.isEmpty();
        QCOMPARE(command_line.path.isEmpty(), !opens);
        // No drop actions stand for the command line.
        for (const Qt::DropActions actions :
             {Qt::DropActions(), Qt::DropActions(Qt::MoveAction), Qt::CopyAction | Qt::MoveAction})
        {
            std::unique_ptr<TQuillon> window = Window();
            const bool taken = opens && (!actions || actions.testFlag(Qt::CopyAction));
            if (!actions && opens)
                QVERIFY(window->Open_Path(command_line.path));
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(row.arguments.last())});
            QDragEnterEvent enter(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent event(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
            for (QDropEvent *sent : {static_cast<QDropEvent *>(&enter), &event})
            {
                sent->setDropAction(Qt::MoveAction);
                if (actions)
                    QApplication::sendEvent(window.get(), sent);
                QVERIFY(!actions || sent->isAccepted() == taken);
            }
            QVERIFY(!taken || !actions || event.dropAction() == Qt::CopyAction);
            QCOMPARE(Listed(*window).contains("ballbar_500mm.dat"), taken);
            QCOMPARE(window->Watched_Folder(),
                     taken ? QDir::cleanPath(EXAMPLES) : Settings("Measurement_Data"));
            QCOMPARE(window->Current_File_Path(), taken ? row.shown : QString());
            if (taken && !row.shown.isEmpty())
                QCOMPARE(Shown(*window), Expected(*window, row.shown, STYLED));
        }
    }

    void Viewer_Answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display"); // empty: not set
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("output"); // all that is printed when the code is 1, else a part
        const auto row = [](const char *name, const QStringList &arguments, const char *platform,
                            const char *display, int code, const char *output) {
            QTest::newRow(name) << arguments << QString(platform) << QString(display) << code
                                << QString(output);
        };
        // Help and version need no display: a platform that cannot start would stop the program.
        row("help", {"-x", "--help"}, "no-such-platform", "", 0, "Usage: quillon");
        row("version", {"--version"}, "no-such-platform", "", 0, "Quillon - Version 5.0\n");
        row("unknown option", {"-x"}, "offscreen", "", 2, "unknown option '-x'");
        row("two paths", {"a", "b"}, "offscreen", "", 2, "only one");
        // Without a display the viewer says so in one line and ends with status 1 instead of aborting.
        row("no display", {}, "xcb", "", 1, "quillon: no display to open: DISPLAY is not set\n");
        row("display not there", {}, "xcb", ":987", 1, "quillon: cannot open the display ':987'\n");
    }

    void Viewer_Answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(int, code);
        QFETCH(QString, output);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", platform);
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("DISPLAY");
        if (!display.isEmpty())
            environment.insert("DISPLAY", display);
        QProcess viewer;
        viewer.setProcessEnvironment(environment);
        viewer.start(QStringLiteral(QUILLON_VIEWER_PATH), arguments);
        QVERIFY(viewer.waitForFinished());
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), code);
        const QString printed = viewer.readAllStandardOutput() + viewer.readAllStandardError();
        QVERIFY2(code == 1 ? printed == output : printed.contains(output), qPrintable(printed));
    }

    // A settings path that is no regular file is neither read (a FIFO would hang the start) nor
    // replaced; a full disk keeps the old file.
    void Settings_Not_Written()
    {
        const QString path = Settings();
        QFile::remove(path);
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        {
            TQuillon window;
            QCOMPARE(QRect(window.pos(), window.size()),
                     QRect(30, 30, 801, 601) & QGuiApplication::primaryScreen()->availableGeometry());
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable("Cannot write '" + path + "': it is not a regular file"));
            QVERIFY(window.close());
        }
        QVERIFY(!QFileInfo(path).isFile() && QFileInfo::exists(path));
        QFile::remove(path);

        TSmallDisk disk;
        QUILLON_NEED_SMALL_DISK(disk);
        const QByteArray old = "Mainwindow_Position=@Point(40 50)\n";
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(disk.Path(".")));
        QVERIFY(Write_File(Settings(), old) && disk.Fill());
        {
            TQuillon window;
            window.move(60, 70);
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("Cannot write .*: No space left on device"));
            QVERIFY(window.close());
        }
        QCOMPARE(Read_File(Settings()), old);
        qputenv("HOME", home);
    }

    void Follow_File_data()
    {
        // clang-format off
        const TFollowRow rows[] = {
            {"touched", "touch", "modified", true, false},
            {"new file beside", "new file", "modified", true, false},
            {"edited", "edit", "modified", true, true},
            {"edited, seen by the watcher", "edit unrefreshed", "modified", true, true},
            {"removed", "remove", ": moved to old/a.dat", false, false},
            {"removed by the Delete key", "remove by key", ": moved to old/a.dat", false, false},
            {"removed beside an older one", "remove again", ": moved to old/a - 1.dat", false, false},
            {"deleted", "delete", ": deleted", false, false},
        };
        // clang-format on
        Add_Rows(rows);
    }

    // Folder refreshes keep the selection and the view; the file on show is read again only when it
    // changed, and named as gone when it went.
    void Follow_File()
    {
        QFETCH(TFollowRow, row);
        QTemporaryDir folder;
        const QString shown = folder.filePath("a.dat");
        QVERIFY(Write_File(shown, Read_File(EXAMPLES + "laser_10360_x_axis.dat")));
        QVERIFY(Write_File(folder.filePath("b.dat"), Read_File(EXAMPLES + "ballbar_500mm.dat")));
        std::unique_ptr<TQuillon> window = Window();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()) && window->Open_Path(shown));
        // The file list's own button: the nominal dock has one of that name too.
        QToolButton *remove = Child<QToolButton>(*window->findChild<TMeasuredWidget *>(), "remove_button");

        // A reading position in the report and a graph read-out, which showing the file again would reset.
        QPlainTextEdit *pane = Child<QPlainTextEdit>(*window, "report_pane");
        pane->moveCursor(QTextCursor::End);
        const int end = pane->textCursor().position();
        const QString before = Shown(*window);
        TGraphWidget *graph = window->findChild<TGraphWidget *>();
        const QString no_read_out = graph->Coordinate_Text();
        QTest::mouseMove(graph, graph->Layout().plot.center() - QPoint(9, 9));
        QTest::mouseMove(graph, graph->Layout().plot.center());
        QVERIFY(graph->Coordinate_Text() != no_read_out);

        const QString change = row.change;
        if (change == "touch")
            QVERIFY(Write_File(shown, Read_File(shown), QDateTime::currentDateTime().addSecs(60)));
        else if (change == "new file")
            QVERIFY(Write_File(folder.filePath("c.dat"), "x"));
        else if (change.startsWith("edit"))
            QVERIFY(Write_File(shown, Read_File(EXAMPLES + "stepgauge_10360_x_front.dat")));
        else if (change == "delete")
            QVERIFY(QFile::remove(shown));
        else if (change.startsWith("remove"))
        {
            if (change == "remove again")
                QVERIFY(Write_File(folder.filePath("old/a.dat"), "older"));
            const QStringList *asked = Answer_Boxes(QMessageBox::Yes);
            // The Delete key asks in the file list only.
            QListWidget *list = Child<QListWidget>(*window, "file_list");
            for (QWidget *focus : {static_cast<QWidget *>(pane), static_cast<QWidget *>(list)})
            {
                focus->setFocus();
                QCOMPARE(asked->size(), 0);
                if (change == "remove by key")
                    QTest::keyClick(focus, Qt::Key_Delete);
            }
            if (change != "remove by key")
                remove->click();
            QCOMPARE(asked->size(), 1);
        }
        if (change == "edit unrefreshed")
            QTRY_VERIFY(Shown(*window) != before);
        else
            Child<QToolButton>(*window, "refresh_button")->click();

        // The status bar names the file; the line above the report says where it is, and of when.
        QCOMPARE(Child<QLabel>(*window, "file_state_label")->text(), QString("a.dat"));
        const QString stamp =
            "   modified " + QFileInfo(shown).lastModified().toString("yyyy-MM-dd HH:mm:ss");
        QCOMPARE(Child<QLabel>(*window, "file_path_label")->text(),
                 QDir::toNativeSeparators(shown) + (row.state == "modified" ? stamp : row.state));
        QStringList selected;
        for (const QListWidgetItem *item : Child<QListWidget>(*window, "file_list")->selectedItems())
            selected << item->text();
        QCOMPARE(selected, row.selected ? QStringList("a.dat") : QStringList());
        QCOMPARE(remove->isEnabled(), row.selected);
        if (row.read_again)
        {
            QCOMPARE(Shown(*window), Expected(*window, shown, STYLED));
            QCOMPARE(pane->textCursor().position(), 0);
            QCOMPARE(graph->Coordinate_Text(), no_read_out);
        }
        else
        {
            QCOMPARE(Shown(*window), before);
            QCOMPARE(pane->textCursor().position(), end);
        }
    }

    // However long, the status bar's texts are elided and never widen the window; the full text is the
    // tool tip.
    void Long_Status_Texts()
    {
        QTemporaryDir folder;
        const QString name = QString(200, 'n') + ".dat";
        QVERIFY(Write_File(folder.filePath(name), QByteArray(100, 'x')));
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(Show_And_Wait(window.get()));
        const QSize size = window->size();
        QVERIFY(window->Open_Path(folder.filePath(name)));
        QLabel *verdict = Child<QLabel>(*window, "verdict_label");
        verdict->setText("Verdict: FAIL  " + QString(2000, 'w'));
        for (QLabel *label : {Child<QLabel>(*window, "file_state_label"), verdict})
        {
            QCoreApplication::processEvents();
            QCOMPARE(window->size(), size);
            QVERIFY(window->minimumSizeHint().width() < size.width());
            const QString shown = static_cast<TElidedLabel *>(label)->Shown_Text();
            // Neither takes all the room from the other.
            QVERIFY2(label->width() > 100, qPrintable(QString::number(label->width())));
            QVERIFY2(shown.size() < label->text().size() && shown.endsWith(QChar(0x2026)), qPrintable(shown));
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(label, &help);
            QCOMPARE(QToolTip::text(), label->text());
        }
        QVERIFY(window->File_State_Text().startsWith("No verdict for " + name));
    }

    // Changes are gathered for a moment, also within a long burst; a folder made again is watched again.
    void Watcher()
    {
        QTemporaryDir folder;
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->Open_Path(folder.path()));
        // A file every 20 ms: a wait that restarted on each change would never end.
        int writes = 0;
        for (; Listed(*window).isEmpty() && writes < 500; ++writes)
        {
            QVERIFY(Write_File(folder.filePath(QString::number(writes) + ".dat"), "x"));
            QTest::qWait(20);
        }
        QVERIFY2(writes > 1 && writes < 500, qPrintable(QString::number(writes)));
        QVERIFY(QDir(folder.path()).removeRecursively());
        QTRY_COMPARE(Listed(*window).size(), 0);
        QVERIFY(QDir().mkpath(folder.path()));
        Child<QToolButton>(*window, "refresh_button")->click();
        QVERIFY(Write_File(folder.filePath("late.dat"), "x"));
        QTRY_COMPARE(Listed(*window), QStringList("late.dat"));
    }
};

QUILLON_APP_TEST_MAIN(TTestQuillon)
#include "tst_quillon.moc"
