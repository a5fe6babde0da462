// The measurement file list, its input dialog, the removal of files into "old" (questions and errors
// answered through the message box's answer function, which also sees the box's fixed width).

#include "tests/app/apptest.h"

#include "app/measuredinputdialog.h"
#include "tests/common/small_disk.h"

namespace
{
struct TListRow
{
    const char *name;
    TMeasuredWidget::TInputSettings settings;
    QStringList listed;
    QString folder;
};

struct TRemovalRow
{
    const char *name;
    QStringList files; // in the folder and, under "old/", in the old folder
    QString old;       // what "old" is: nothing, a "folder", a "file" or a "read-only" folder
    QStringList names; // the selection
    int answer;
    QStringList after;
    int errors;
};

// The files of a folder and, under "old/", of its old folder, sorted.
QStringList Files(const QString &folder)
{
    QStringList files = Sorted_Files(folder) +
                        Sorted_Files(folder + "/old").replaceInStrings(QRegularExpression("^"), "old/");
    files.sort();
    return files;
}
} // namespace

Q_DECLARE_METATYPE(TListRow)
Q_DECLARE_METATYPE(TRemovalRow)

class TTestFileList : public QObject
{
    Q_OBJECT

    QTemporaryDir d_folder;
    const QString d_app = QCoreApplication::applicationDirPath();

  private slots:
    void List_data()
    {
        for (const char *name : {"B.dat", "a.DAT", "c.txt", ".hidden.dat", "sub.dat/x.dat", "-lead %1.dat"})
            QVERIFY(Write_File(d_folder.filePath(name), "x"));
        const QString temp = d_folder.path();
        const QStringList listed{"-lead %1.dat", "a.DAT", "B.dat"};
        // clang-format off
        const TListRow rows[] = {
            {"absolute", {"", temp, false}, listed, temp},
            {"relative", {QDir(d_app).relativeFilePath(temp), "", true}, listed, temp},
            {"relative missing", {"no/such", temp, true}, {}, ""},
            {"relative with a leading /", {temp, "", true}, {}, ""},
            {"absolute missing", {"", temp + "/no", false}, {}, temp + "/no"},
            {"empty absolute", {"", "", false}, {}, ""},
            {"relative text as absolute", {"", ".", false}, {}, ""},
        };
        // clang-format on
        Add_Rows(rows);
    }

    void List()
    {
        QFETCH(TListRow, row);
        // The working folder holds files too: an unusable setting must not list them.
        QDir::setCurrent(d_folder.path());
        TMeasuredWidget widget;
        widget.Set_Input_Settings(row.settings);
        QDir::setCurrent(d_app);
        QCOMPARE(Listed(widget), row.listed);
        QCOMPARE(widget.Measurement_Folder(), row.folder);
    }

    // One selected file loads, several do not; the remove button offers the selection, which a refresh
    // keeps. Ten thousand files are all listed.
    void Selection()
    {
        QTemporaryDir temp;
        for (int i = 0; i < 10000; ++i)
            QVERIFY(Write_File(temp.filePath(QString::number(i) + ".dat"), "x"));
        TMeasuredWidget widget;
        widget.Set_Input_Settings({"", temp.path(), false});
        QCOMPARE(Listed(widget).size(), 10000);
        QSignalSpy loads(&widget, &TMeasuredWidget::Load_Data);
        QSignalSpy removals(&widget, &TMeasuredWidget::Remove_Data);
        QListWidget *list = Child<QListWidget>(widget, "file_list");
        QToolButton *remove = Child<QToolButton>(widget, "remove_button");
        QVERIFY(!remove->isEnabled());
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);
        list->setCurrentRow(2, QItemSelectionModel::Select);
        remove->click();
        QCOMPARE(QList<QVariantList>(loads),
                 (QList<QVariantList>{{temp.filePath("0.dat")}, {temp.filePath("1.dat")}}));
        QStringList names = removals.value(0).value(1).toStringList();
        names.sort();
        QCOMPARE(QStringList(removals.value(0).value(0).toString()) + names,
                 QStringList({temp.path(), "1.dat", "10.dat"}));
        // A refresh keeps what is still listed selected; only a selection that changed by it loads.
        QVERIFY(QFile::remove(temp.filePath("1.dat")));
        widget.Refresh_File_List();
        QCOMPARE(loads.size(), 3);
        QCOMPARE(loads.last().value(0).toString(), temp.filePath("10.dat"));
        widget.Refresh_File_List();
        QCOMPARE(loads.size(), 3);
        QCOMPARE(list->selectedItems().size(), 1);
        QVERIFY(remove->isEnabled());
        list->clearSelection();
        QVERIFY(!remove->isEnabled());
    }

    // Applying the dialog, even unchanged, refreshes the list and announces the folder; the radio
    // buttons enable their own edit and browse button; a picked folder is made relative.
    void Input_Dialog()
    {
        QTemporaryDir temp;
        TMeasuredWidget widget;
        widget.Set_Input_Settings({"", temp.path(), false});
        QVERIFY(Write_File(temp.filePath("b.dat"), "x"));
        QSignalSpy changes(&widget, &TMeasuredWidget::File_Path_Changed);
        QTimer::singleShot(0, &widget, [&] { Child<QPushButton>(widget, "apply_button")->click(); });
        Child<QToolButton>(widget, "edit_button")->click();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(Listed(widget), QStringList("b.dat"));

        TMeasuredInputDialog &dialog = *widget.findChild<TMeasuredInputDialog *>();
        auto state = [&]
        {
            const TMeasuredWidget::TInputSettings settings = dialog.Settings();
            QString text = settings.relative_path + ' ' + settings.absolute_path + ' ';
            for (const char *name :
                 {"relative_edit", "relative_browse_button", "absolute_edit", "absolute_browse_button"})
                text += Child<QWidget>(dialog, name)->isEnabled() ? '1' : '0';
            return text + (settings.use_relative_path ? " relative" : "");
        };
        dialog.Reset("/app", {"data/in", "/abs/in", false});
        QCOMPARE(state(), "data/in /abs/in 0011");
        Child<QRadioButton>(dialog, "relative_radio")->click();
        QCOMPARE(state(), "data/in /abs/in 1100 relative");
        QString answer, seen;
        TMeasuredInputDialog::Set_Folder_Picker([&](QWidget *, const QString &title, const QString &start)
                                                { return (seen = title + ": " + start, answer); });
        for (const char *picked : {"/app/../picked", ""})
        {
            answer = picked;
            Child<QLineEdit>(dialog, "relative_edit")->setText("/data");
            Child<QToolButton>(dialog, "relative_browse_button")->click();
            QCOMPARE(state(), *picked ? "../picked /abs/in 1100 relative" : "/data /abs/in 1100 relative");
            QCOMPARE(seen, QStringLiteral("Select measurement input folder: /app/data"));
        }
        TMeasuredInputDialog::Set_Folder_Picker(nullptr);
    }

    void Remove_data()
    {
        const QString long_name = QString(250, QLatin1Char('x')) + QStringLiteral(".dat");
        const QStringList odd{"%1 run.dat", "-lead.dat", "with blank.dat", "\u00fcn\u00ef.dat", "README"};
        QStringList taken{"old/run.dat"};
        for (int n = 1; n < 1000; ++n)
            taken.append(QStringLiteral("old/run - %1.dat").arg(n));
        const QStringList odd_after = QStringList(odd).replaceInStrings(QRegularExpression("^"), "old/");
        const int yes = QMessageBox::Yes;
        // clang-format off
        const TRemovalRow rows[] = {
            {"answered no", {"a.dat"}, "", {"a.dat"}, QMessageBox::No, {"a.dat"}, 0},
            {"escape", {"a.dat"}, "", {"a.dat"}, QMessageBox::Cancel, {"a.dat"}, 0},
            {"old made", {"a.dat", "b.dat"}, "", {"a.dat"}, yes, {"b.dat", "old/a.dat"}, 0},
            {"collisions", {"run.dat", "old/run.dat", "old/run - 1.dat"}, "folder", {"run.dat"}, yes, {"old/run - 1.dat", "old/run - 2.dat", "old/run.dat"}, 0},
            {"1,000 collisions", QStringList("run.dat") + taken, "folder", {"run.dat"}, yes, taken + QStringList("old/run - 1000.dat"), 0},
            {"vanished meanwhile", {"a.dat"}, "folder", {"gone.dat", "a.dat"}, yes, {"old/a.dat"}, 0},
            {"odd names", odd + QStringList{"old/%1 run.dat", "old/README"}, "folder", odd, yes, odd_after + QStringList{"old/%1 run - 1.dat", "old/README - 1"}, 0},
            {"old is a file", {"a.dat", "b.dat"}, "file", {"a.dat", "b.dat"}, yes, {"a.dat", "b.dat", "old"}, 1},
            {"old is read-only", {"a.dat", "b.dat"}, "read-only", {"a.dat", "b.dat"}, yes, {"a.dat", "b.dat"}, 1},
            {"numbered name too long", {long_name, "b.dat", "old/" + long_name}, "folder", {long_name, "b.dat"}, yes, {long_name, "b.dat", "old/" + long_name}, 1},
            {"old is full", {"big.dat", "b.dat", "old/kept.dat"}, "full", {"b.dat", "big.dat"}, yes, {"big.dat", "old/.filler", "old/b.dat", "old/kept.dat"}, 1},
        };
        // clang-format on
        Add_Rows(rows);
    }

    void Remove()
    {
        QFETCH(TRemovalRow, row);
        if (row.old == "read-only" && geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QTemporaryDir temporary;
        // A dot in the folder's name must not take the collision number of a name without one.
        const QString folder = temporary.filePath(QStringLiteral("data.v2")), old = folder + "/old";
        for (const QString &name : row.files)
            QVERIFY(Write_File(folder + '/' + name, name.startsWith("old/") ? "old" : "new"));
        std::unique_ptr<TSmallDisk> disk;
        if (row.old == "full")
        {
            QVERIFY(QDir().mkpath(old));
            disk = std::make_unique<TSmallDisk>(old);
            QUILLON_NEED_SMALL_DISK(*disk);
            QVERIFY(Write_File(old + "/kept.dat", "old") && disk->Fill(8 * 1024) &&
                    Write_File(folder + "/big.dat", QByteArray(40 * 1024, 'm')));
        }
        if (row.old == "file")
            QVERIFY(Write_File(old, "not a folder"));
        else if (!row.old.isEmpty())
            QVERIFY(QDir().mkpath(old) &&
                    (row.old == "folder" || QFile::setPermissions(old, QFile::ReadOwner | QFile::ExeOwner)));
        QStringList boxes, expected("500Remove Measured Files");
        while (expected.size() <= row.errors)
            expected.append("500Remove Error");
        TMessageBox::Set_Answer_Function(
            [&](TMessageBox *box)
            {
                box->show(); // at its fixed width
                boxes.append(QString::number(box->width()) +
                             box->text().remove(QRegularExpression("<[^>]*>")));
                box->hide();
                return boxes.size() == 1 ? row.answer : int(QMessageBox::Ok);
            });
        TQuillon().Remove_Data(folder, row.names);
        TMessageBox::Set_Answer_Function(nullptr);
        QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(boxes, expected);
        row.after.sort();
        QCOMPARE(Files(folder), row.after);
        // The files that were there already are untouched.
        for (const QString &name : row.files.filter(QRegularExpression("^old/")))
            QCOMPARE(Read_File(folder + '/' + name), QByteArray("old"));
    }

    // Markup and a "%1" in the text stay as written.
    void Message_Box()
    {
        TMessageBox box(nullptr);
        box.setText(QStringLiteral("a <b>bold</b> %1 word"));
        QVERIFY(box.text().endsWith(QLatin1String(">a <b>bold</b> %1 word</span>")));
    }
};

QUILLON_APP_TEST_MAIN(TTestFileList)
#include "tst_filelist.moc"
