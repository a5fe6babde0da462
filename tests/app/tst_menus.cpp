// The window as a desktop program: the path line and the empty list's text, opening folders and files,
// recent folders, keys and menus, the help menu and what is kept between runs.

#include "tests/app/apptest.h"

#include "app/signoffactions.h"
#include "quillon_version.h"
#include "widgets/graphwidget.h"

namespace
{
const QString LASER = QStringLiteral("laser_10360_x_axis.dat");

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
        const QLabel *label = Child<QLabel>(*window, "empty_list_label");
        const QString text = label->text();
        // The text shows on the list's background.
        const QImage shown = Child<QListWidget>(*window, "file_list")->viewport()->grab().toImage();
        int inked = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                inked += shown.pixel(x, y) != shown.pixel(0, 0) ? 1 : 0;
        QCOMPARE(inked > 100, !text.isEmpty());
        QCOMPARE(label->isHidden(), text.isEmpty());
        QCOMPARE(text.isEmpty(), row.text.isEmpty());
        if (text.isEmpty())
            return;
        const QString expected =
            row.text.contains("%1") ? row.text.arg(QDir::toNativeSeparators(folder)) : row.text;
        QVERIFY2(text.startsWith(expected + "\n\n"), qPrintable(text));
        QVERIFY2(text.contains(QString::fromUtf8("File \u2192 Open Folder...")), qPrintable(text));
        if (!QByteArray(row.folder).isEmpty())
            QCOMPARE(window->findChild<QDockWidget *>("measured_dock")->toolTip(),
                     QDir::toNativeSeparators(folder));
    }

    // The path line says when the file on show lies in the old folder.
    void Path_Line_In_Old()
    {
        QTemporaryDir folder;
        const QString name = folder.filePath("old/" + LASER);
        QVERIFY(Write_File(name, Read_File(EXAMPLES + LASER)));
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->Open_Path(name));
        const QString stamp = QFileInfo(name).lastModified().toString("yyyy-MM-dd HH:mm:ss");
        QCOMPARE(Child<QLabel>(*window, "file_path_label")->text(),
                 QDir::toNativeSeparators(name) + "   modified " + stamp + "   (in old)");
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
        const QStringList *warned = Answer_Boxes(QMessageBox::Ok);
        Child<QAction>(*window, "open_file_action")->trigger();
        QVERIFY2(
            warned->value(0).startsWith(QDir::toNativeSeparators(answer) + " is not a measurement file."),
            qPrintable(warned->value(0)));
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

    // Menus with mnemonics in the usual order. Every key is its action's, is listed in the shortcuts window
    // and serves no other action; F1 shows that window once, About names versions and folders.
    void Menus_Keys_And_Help()
    {
        std::unique_ptr<TQuillon> window = Window();
        QStringList titles;
        for (const QAction *menu : window->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));
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
        // Quit, the File menu's last entry, closes the window.
        QAction *quit = Child<QMenu>(*window, "file_menu")->actions().last();
        QCOMPARE(quit->text(), QStringLiteral("Quit"));
        quit->trigger();
        QVERIFY(!window->isVisible());
    }

    // The graph style, the docks' open state and the last output folder are kept at close. Save dialogs
    // start where the file on show lies, then where the last output went.
    void Kept_At_Close()
    {
        QTemporaryDir measured;
        QTemporaryDir outputs;
        QVERIFY(QFile::copy(EXAMPLES + LASER, measured.filePath(LASER)));
        QStringList proposals;
        TSignoffActions::Set_Save_Name_Function(
            [&](const QString &, const QString &proposal)
            {
                proposals << QFileInfo(proposal).absolutePath();
                return outputs.filePath("graph.png");
            });
        std::unique_ptr<TQuillon> window = Window();
        QVERIFY(window->findChild<QToolButton *>("point_graph_button")->isChecked());
        QVERIFY(Show_And_Wait(window.get()) && window->Open_Path(measured.filePath(LASER)));
        Child<QAction>(*window, "save_graph_action")->trigger();
        Child<QAction>(*window, "save_graph_action")->trigger();
        window->findChild<QToolButton *>("line_graph_button")->setChecked(true);
        window->findChild<QDockWidget *>("nominal_dock")->close();
        window = Restarted(std::move(window));
        QVERIFY(Show_And_Wait(window.get()) && window->Open_Path(measured.filePath(LASER)));
        Child<QAction>(*window, "save_graph_action")->trigger();
        QCOMPARE(proposals,
                 (QStringList{QDir(measured.path()).absolutePath(), QDir(outputs.path()).absolutePath(),
                              QDir(outputs.path()).absolutePath()}));
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
};

QUILLON_APP_TEST_MAIN(TTestMenus)
#include "tst_menus.moc"
