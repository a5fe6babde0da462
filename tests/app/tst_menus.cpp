// The window as a desktop program: the path line and the empty list's text, opening folders and files,
// recent folders, keys and menus, the help menu, what is kept between runs and how drops are taken.

#include "tests/app/apptest.h"

#include "app/quillon.h"
#include "app/signoffactions.h"
#include "quillon_version.h"
#include "widgets/graphwidget.h"
#include "widgets/messagebox.h"

#include <memory>

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");
const QString LASER = QStringLiteral("laser_10360_x_axis.dat");

QString Settings_Path()
{
    return QDir::homePath() + "/.corvane/quillon_settings.ini";
}

std::unique_ptr<TQuillon> Window(const QByteArray &settings = QByteArray())
{
    QFile::remove(Settings_Path());
    if (!settings.isNull())
        Write_File(Settings_Path(), settings);
    return std::make_unique<TQuillon>();
}

// The window started again on what the last one wrote at close.
std::unique_ptr<TQuillon> Restarted(std::unique_ptr<TQuillon> window)
{
    window->close();
    window.reset();
    return std::make_unique<TQuillon>();
}

QString Empty_Text(const TQuillon &window)
{
    return window.findChild<TMeasuredWidget *>()->Empty_Text();
}

struct TEmptyRow
{
    const char *name;
    const char *folder; // "" first start; "missing", "empty" or "files" below a temporary folder
    QString text;       // %1: the folder
};
} // namespace

Q_DECLARE_METATYPE(TEmptyRow)

class TTestMenus : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup()
    {
        TQuillon::Set_Open_Name_Function({});
        TSignoffActions::Set_Save_Name_Function({});
        TMessageBox::Set_Answer_Function({});
    }

    void Empty_List_data()
    {
        const TEmptyRow rows[] = {
            {"first start", "", "No measurement folder chosen yet."},
            {"missing folder", "missing", "%1 does not exist"},
            {"no files", "empty", "No measurement files in %1"},
            {"files", "files", ""},
        };
        Add_Rows(rows);
    }

    // The empty list says why it is empty and how to choose another folder; the dock names the folder.
    void Empty_List()
    {
        QFETCH(TEmptyRow, row);
        QTemporaryDir base;
        const QString folder = base.filePath(row.folder);
        if (QString(row.folder) != "missing")
            QVERIFY(QDir().mkpath(folder));
        if (QString(row.folder) == "files")
            QVERIFY(Write_File(folder + "/a.dat", "x"));
        const QByteArray settings =
            QByteArray(row.folder).isEmpty()
                ? QByteArray()
                : "[General]\nInput_Absolute_Path=" + folder.toUtf8() + "\nInput_Use_Relative_Path=false\n";
        std::unique_ptr<TQuillon> window = Window(settings);
        const QString text = Empty_Text(*window);
        const QLabel *label = Child<QLabel>(*window, "empty_list_label");
        QCOMPARE(label->text(), text);
        // The text shows on the list's background.
        const QImage shown = Child<QListWidget>(*window, "file_list")->viewport()->grab().toImage();
        int inked = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                inked += shown.pixel(x, y) != shown.pixel(0, 0) ? 1 : 0;
        QCOMPARE(inked > 100, !text.isEmpty());
        QCOMPARE(label->isHidden(), text.isEmpty());
        if (QString(row.name) == "files")
        {
            QVERIFY(text.isEmpty());
            return;
        }
        const QString expected =
            row.text.contains("%1") ? row.text.arg(QDir::toNativeSeparators(folder)) : row.text;
        QVERIFY2(text.startsWith(expected + "\n\n"), qPrintable(text));
        QVERIFY2(text.contains(QString::fromUtf8("File \u2192 Open Folder...")), qPrintable(text));
        if (!QByteArray(row.folder).isEmpty())
            QCOMPARE(window->findChild<QDockWidget *>("measured_dock")->toolTip(),
                     QDir::toNativeSeparators(folder));
    }

    // The path line names the file on show with its time, and says when it lies in the old folder.
    void Path_Line()
    {
        QTemporaryDir folder;
        QVERIFY(QDir().mkpath(folder.filePath("old")));
        for (const QString &name : {folder.filePath(LASER), folder.filePath("old/" + LASER)})
        {
            QVERIFY(QFile::copy(EXAMPLES + LASER, name));
            std::unique_ptr<TQuillon> window = Window();
            QVERIFY(window->Open_Path(name));
            const QString stamp = QFileInfo(name).lastModified().toString("yyyy-MM-dd HH:mm:ss");
            const QString in_old = name.contains("/old/") ? "   (in old)" : "";
            QCOMPARE(window->File_Path_Text(),
                     QDir::toNativeSeparators(name) + "   modified " + stamp + in_old);
            QCOMPARE(Child<QLabel>(*window, "file_path_label")->text(), window->File_Path_Text());
        }
    }

    // Open Folder and Open File start in the measurement folder, list like the command line, are kept
    // as the measurement folder and remembered, newest first, eight at most, until cleared.
    void Open_And_Recent()
    {
        QTemporaryDir base;
        QStringList folders;
        for (int i = 0; i < 10; ++i)
        {
            folders << QDir::cleanPath(base.filePath(QString::number(i)));
            QVERIFY(QDir().mkpath(folders.last()));
            QVERIFY(QFile::copy(EXAMPLES + LASER, folders.last() + "/" + LASER));
        }
        std::unique_ptr<TQuillon> window = Window();
        QStringList starts;
        QString answer;
        TQuillon::Set_Open_Name_Function(
            [&](bool folder, const QString &start)
            {
                starts << (folder ? "folder " : "file ") + start;
                return answer;
            });
        for (const QString &folder : folders)
        {
            answer = folder;
            Child<QAction>(*window, "open_folder_action")->trigger();
            QCOMPARE(Listed(*window), QStringList(LASER));
        }
        QCOMPARE(starts.at(1), "folder " + folders.at(0));
        QStringList newest(folders.mid(2));
        std::reverse(newest.begin(), newest.end());
        QCOMPARE(window->Recent_Folders(), newest);
        // The recent menu opens its folder; it moves to the top.
        QMenu *recent = Child<QMenu>(*window, "recent_menu");
        recent->actions().at(3)->trigger();
        QCOMPARE(window->Watched_Folder(), newest.at(3));
        QCOMPARE(window->Recent_Folders().first(), newest.at(3));

        answer = folders.at(1) + "/" + LASER;
        Child<QAction>(*window, "open_file_action")->trigger();
        QCOMPARE(starts.last(), "file " + newest.at(3));
        QCOMPARE(window->Current_File_Path(), answer);
        QCOMPARE(window->Recent_Folders().first(), folders.at(1));
        // A cancelled picker changes nothing; a file that is no measurement file is refused with a message.
        answer.clear();
        Child<QAction>(*window, "open_folder_action")->trigger();
        QCOMPARE(window->Watched_Folder(), folders.at(1));
        answer = base.filePath("notes.txt");
        QVERIFY(Write_File(answer, "x"));
        QString warned;
        TMessageBox::Set_Answer_Function(
            [&](TMessageBox *box)
            {
                warned = box->text();
                return int(QMessageBox::Ok);
            });
        Child<QAction>(*window, "open_file_action")->trigger();
        QVERIFY2(warned.contains(QDir::toNativeSeparators(answer) + " is not a measurement file."),
                 qPrintable(warned));
        QCOMPARE(window->Current_File_Path(), folders.at(1) + "/" + LASER);

        // Kept at close, with the folder opened last as the measurement folder.
        const QStringList kept = window->Recent_Folders();
        window = Restarted(std::move(window));
        QCOMPARE(window->Recent_Folders(), kept);
        QCOMPARE(window->Watched_Folder(), folders.at(1));
        Child<QAction>(*window, "clear_recent_action")->trigger();
        QVERIFY(window->Recent_Folders().isEmpty());
        QVERIFY(!Child<QAction>(*window, "clear_recent_action")->isEnabled());
        window = Restarted(std::move(window));
        QVERIFY(window->Recent_Folders().isEmpty());
    }

    // Every key is its action's, is listed in the shortcuts window and serves no other action.
    void Keys()
    {
        std::unique_ptr<TQuillon> window = Window();
        const QList<QAction *> actions = window->findChildren<QAction *>();
        for (const auto &row : {std::pair<const char *, const char *>{"open_folder_action", "Ctrl+O"},
                                {"open_file_action", "Ctrl+Shift+O"},
                                {"save_graph_action", "Ctrl+Shift+S"},
                                {"copy_graph_action", "Ctrl+Shift+C"},
                                {"copy_graph_data_action", "Ctrl+Alt+C"},
                                {"shortcuts_action", "F1"}})
        {
            const QKeySequence key(QLatin1String(row.second));
            QVERIFY2(Child<QAction>(*window, row.first)->shortcut() == key, row.first);
            QVERIFY(window->Shortcuts_Text().contains(key.toString(QKeySequence::NativeText) + "\t"));
            QCOMPARE(std::count_if(actions.begin(), actions.end(),
                                   [&key](const QAction *other) { return other->shortcuts().contains(key); }),
                     1);
        }
    }

    // Menus with mnemonics in the usual order; F1 shows the shortcuts, About names versions and folders.
    void Menus_And_Help()
    {
        std::unique_ptr<TQuillon> window = Window();
        QStringList titles;
        for (const QAction *menu : window->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));

        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F1);
        QDialog *shortcuts = window->findChild<QDialog *>("shortcuts_dialog");
        QVERIFY(shortcuts && shortcuts->isVisible());
        QTest::keyClick(window.get(), Qt::Key_F1);
        QCOMPARE(window->findChildren<QDialog *>("shortcuts_dialog").size(), 1);

        Child<QAction>(*window, "about_action")->trigger();
        QMessageBox *about = window->findChild<QMessageBox *>("about_box");
        QVERIFY(about && about->isVisible());
        for (const QString &part : {QStringLiteral("Quillon " QUILLON_VERSION), QString(qVersion()),
                                    QDir::toNativeSeparators(window->Settings_Folder()),
                                    QDir::toNativeSeparators(QCoreApplication::applicationDirPath())})
            QVERIFY2(about->text().contains(part), qPrintable(part));
        about->close();
    }

    // Delete in the file list asks the removal question for the selected files; elsewhere it does not.
    void Delete_Key()
    {
        QTemporaryDir folder;
        QVERIFY(Write_File(folder.filePath("a.dat"), "x"));
        std::unique_ptr<TQuillon> window = Window();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QVERIFY(window->Open_Path(folder.filePath("a.dat")));
        int asked = 0;
        TMessageBox::Set_Answer_Function(
            [&](TMessageBox *box)
            {
                asked += (box->text() + box->informativeText()).contains("remove selected measurement files");
                return int(QMessageBox::No);
            });
        QPlainTextEdit *pane = Child<QPlainTextEdit>(*window, "report_pane");
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_Delete);
        QCOMPARE(asked, 0);
        QListWidget *list = Child<QListWidget>(*window, "file_list");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(asked, 1);
        QVERIFY(QFile::exists(folder.filePath("a.dat")));
    }

    // The graph style and the docks' open state are kept at close.
    void View_Kept()
    {
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->findChild<QToolButton *>("point_graph_button")->isChecked());
        QVERIFY(Show_And_Wait(window.get()));
        window->findChild<QToolButton *>("line_graph_button")->setChecked(true);
        window->findChild<QDockWidget *>("nominal_dock")->close();
        window = Restarted(std::move(window));
        QVERIFY(Show_And_Wait(window.get()));
        QVERIFY(window->findChild<QToolButton *>("line_graph_button")->isChecked());
        QVERIFY(!window->findChild<QToolButton *>("point_graph_button")->isChecked());
        QVERIFY(!window->findChild<QDockWidget *>("nominal_dock")->isVisible());
        QVERIFY(window->findChild<QDockWidget *>("measured_dock")->isVisible());
        // Never shown: the docks keep what was read.
        window = Restarted(std::move(window));
        window = Restarted(std::move(window));
        QVERIFY(Show_And_Wait(window.get()));
        QVERIFY(!window->findChild<QDockWidget *>("nominal_dock")->isVisible());
    }

    // Save dialogs start where the file on show lies, then where the last output went, also after a restart.
    void Save_Start_Folder()
    {
        QTemporaryDir measured;
        QTemporaryDir outputs;
        QVERIFY(QFile::copy(EXAMPLES + LASER, measured.filePath(LASER)));
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->Open_Path(measured.filePath(LASER)));
        QStringList proposals;
        TSignoffActions::Set_Save_Name_Function(
            [&](const QString &, const QString &proposal)
            {
                proposals << QFileInfo(proposal).absolutePath();
                return outputs.filePath("graph.png");
            });
        Child<QAction>(*window, "save_graph_action")->trigger();
        Child<QAction>(*window, "save_graph_action")->trigger();
        window = Restarted(std::move(window));
        QVERIFY(window->Open_Path(measured.filePath(LASER)));
        Child<QAction>(*window, "save_graph_action")->trigger();
        QCOMPARE(proposals,
                 (QStringList{QDir(measured.path()).absolutePath(), QDir(outputs.path()).absolutePath(),
                              QDir(outputs.path()).absolutePath()}));
    }

    // A drop is taken as a copy, so that the source never deletes what it dragged.
    void Drop_Copies()
    {
        QTemporaryDir folder;
        QVERIFY(QFile::copy(EXAMPLES + LASER, folder.filePath(LASER)));
        std::unique_ptr<TQuillon> window = Window();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder.filePath(LASER))});
        for (const Qt::DropActions actions :
             {Qt::DropActions(Qt::CopyAction | Qt::MoveAction), Qt::DropActions(Qt::MoveAction)})
        {
            const bool copy = actions & Qt::CopyAction;
            QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setDropAction(Qt::MoveAction);
            QApplication::sendEvent(window.get(), &enter);
            QCOMPARE(enter.isAccepted(), copy);
            QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
            drop.setDropAction(Qt::MoveAction);
            QApplication::sendEvent(window.get(), &drop);
            QCOMPARE(drop.isAccepted(), copy);
            if (copy)
                QCOMPARE(drop.dropAction(), Qt::CopyAction);
            QCOMPARE(window->Current_File_Path(), copy ? folder.filePath(LASER) : QString());
            window = Window();
        }
    }
};

QUILLON_APP_TEST_MAIN(TTestMenus)
#include "tst_menus.moc"
