// The measurement file list, its input dialog, the removal of files into "old" (questions and errors
// answered through the message box's answer function) and the message box's fixed width.

#include "apptest.h"

#include "measuredinputdialog.h"
#include "messagebox.h"
#include "quillon.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

#include <unistd.h>

namespace
{
struct TListRow
{
    const char *name;
    QStringList settings; // relative, absolute ("TEMP": the folder of the files), "relative" when in force
    QStringList listed;
    QString folder; // "TEMP" as above, "APP" for the application folder
};

QString Expand(QString text, const QString &temp)
{
    const QString relative = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(temp);
    return text.replace("RELATIVE", relative)
        .replace("TEMP", temp)
        .replace("APP", QCoreApplication::applicationDirPath());
}

enum TOld
{
    OLD_NONE,
    OLD_FOLDER,
    OLD_FILE,
    OLD_READ_ONLY
};

struct TRemovalRow
{
    const char *name;
    QStringList files;
    TOld old;
    QStringList old_files;
    QStringList names;
    int answer;
    QStringList files_after;
    QStringList old_files_after;
    int errors;
};

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}
} // namespace

Q_DECLARE_METATYPE(TListRow)
Q_DECLARE_METATYPE(TRemovalRow)

class TTestFileList : public QObject
{
    Q_OBJECT

  private slots:
    void list_data()
    {
        const QStringList listed{"-lead %1.dat", "a.DAT", "B.dat"};
        // clang-format off
        const TListRow rows[] = {
            {"absolute", {"", "TEMP", ""}, listed, "TEMP"},
            {"relative", {"RELATIVE", "", "relative"}, listed, "TEMP"},
            {"relative missing", {"no/such", "TEMP", "relative"}, {}, "APP"},
            {"absolute missing", {"", "TEMP/no", ""}, {}, "TEMP/no"},
            {"empty absolute", {"", "", ""}, {}, ""},
            {"relative text as absolute", {"", ".", ""}, {}, ""},
        };
        // clang-format on
        Add_Rows(rows);
    }

    void list()
    {
        QFETCH(TListRow, row);
        QTemporaryDir temp;
        for (const char *name : {"B.dat", "a.DAT", "c.txt", ".hidden.dat", "sub.dat/x.dat", "-lead %1.dat"})
            QVERIFY(Write_File(temp.filePath(name), "x"));
        TMeasuredWidget widget;
        // The working folder holds files too: an unusable setting must not list them.
        QDir::setCurrent(temp.path());
        widget.Set_Input_Settings({Expand(row.settings.at(0), temp.path()),
                                   Expand(row.settings.at(1), temp.path()),
                                   row.settings.at(2) == "relative"});
        QCOMPARE(Listed(widget), row.listed);
        QCOMPARE(widget.Measurement_Folder(), Expand(row.folder, temp.path()));
        QDir::setCurrent(QCoreApplication::applicationDirPath());
    }

    void selection()
    {
        QTemporaryDir temp;
        for (const char *name : {"a.dat", "b.dat", "c.dat"})
            QVERIFY(Write_File(temp.filePath(name), "x"));
        TMeasuredWidget widget;
        widget.Set_Input_Settings({"", temp.path(), false});
        QSignalSpy loads(&widget, &TMeasuredWidget::Load_Data);
        QSignalSpy removals(&widget, &TMeasuredWidget::Remove_Data);
        QListWidget *list = widget.findChild<QListWidget *>();
        QToolButton *remove = Child<QToolButton>(widget, "remove_button");
        QVERIFY(!remove->isEnabled());

        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(loads.size(), 2);
        QCOMPARE(loads.at(1).at(0).toString(), temp.filePath("b.dat"));
        list->setCurrentRow(2, QItemSelectionModel::Select);
        QCOMPARE(loads.size(), 2);
        remove->click();
        QCOMPARE(removals.size(), 1);
        QCOMPARE(removals.at(0).at(0).toString(), temp.path());
        QCOMPARE(Sorted(removals.at(0).at(1).toStringList()), QStringList({"b.dat", "c.dat"}));
        list->clearSelection();
        QVERIFY(!remove->isEnabled());
    }

    void ten_thousand_files()
    {
        QTemporaryDir temp;
        for (int i = 0; i < 10000; ++i)
            QVERIFY(
                Write_File(temp.filePath(QStringLiteral("m%1.dat").arg(i, 5, 10, QLatin1Char('0'))), "x"));
        TMeasuredWidget widget;
        QElapsedTimer timer;
        timer.start();
        widget.Set_Input_Settings({"", temp.path(), false});
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(Listed(widget).size(), 10000);
    }

    // Applying the dialog, even unchanged, refreshes the list and announces the folder.
    void input_dialog()
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
        QLineEdit *relative = Child<QLineEdit>(dialog, "relative_edit");
        dialog.Reset("/app", {"data/in", "/abs/in", false});
        QVERIFY(!relative->isEnabled() && !Child<QToolButton>(dialog, "relative_browse_button")->isEnabled());
        QVERIFY(Child<QToolButton>(dialog, "absolute_browse_button")->isEnabled());
        Child<QRadioButton>(dialog, "relative_radio")->click();
        QVERIFY(relative->isEnabled() && !Child<QLineEdit>(dialog, "absolute_edit")->isEnabled());
        const TMeasuredWidget::TInputSettings settings = dialog.Settings();
        QCOMPARE(settings.relative_path + settings.absolute_path +
                     QString::number(settings.use_relative_path),
                 "data/in/abs/in1");

        QString answer;
        QString seen;
        TMeasuredInputDialog::Set_Folder_Picker(
            [&](QWidget *, const QString &title, const QString &start)
            {
                seen = title + ": " + start;
                return answer;
            });
        for (const char *picked : {"/app/../picked", ""})
        {
            answer = picked;
            relative->setText("/data");
            dialog.Browse_Relative_Path();
            QCOMPARE(relative->text(), *picked ? "../picked" : "/data");
            QCOMPARE(seen, QStringLiteral("Select measurement input folder: /app/data"));
        }
        TMeasuredInputDialog::Set_Folder_Picker(nullptr);
    }

    void remove_data()
    {
        const QString long_name = QString(250, QLatin1Char('x')) + QStringLiteral(".dat");
        const QStringList odd{"%1 run.dat", "-lead.dat", "with blank.dat", "\u00fcn\u00ef.dat", "README"};
        QStringList taken{"run.dat"};
        for (int n = 1; n < 1000; ++n)
            taken.append(QStringLiteral("run - %1.dat").arg(n));
        const int yes = QMessageBox::Yes;
        // clang-format off
        const TRemovalRow rows[] = {
            {"answered no", {"a.dat"}, OLD_NONE, {}, {"a.dat"}, QMessageBox::No, {"a.dat"}, {}, 0},
            {"escape", {"a.dat"}, OLD_NONE, {}, {"a.dat"}, QMessageBox::Cancel, {"a.dat"}, {}, 0},
            {"old made", {"a.dat", "b.dat"}, OLD_NONE, {}, {"a.dat"}, yes, {"b.dat"}, {"a.dat"}, 0},
            {"collisions", {"run.dat"}, OLD_FOLDER, {"run.dat", "run - 1.dat"}, {"run.dat"}, yes, {}, {"run.dat", "run - 1.dat", "run - 2.dat"}, 0},
            {"1,000 collisions", {"run.dat"}, OLD_FOLDER, taken, {"run.dat"}, yes, {}, taken + QStringList("run - 1000.dat"), 0},
            {"vanished meanwhile", {"a.dat"}, OLD_FOLDER, {}, {"gone.dat", "a.dat"}, yes, {}, {"a.dat"}, 0},
            {"odd names", odd, OLD_FOLDER, {"%1 run.dat", "README"}, odd, yes, {}, odd + QStringList{"%1 run - 1.dat", "README - 1"}, 0},
            {"old is a file", {"a.dat", "b.dat"}, OLD_FILE, {}, {"a.dat", "b.dat"}, yes, {"a.dat", "b.dat", "old"}, {}, 1},
            {"old is read-only", {"a.dat", "b.dat"}, OLD_READ_ONLY, {}, {"a.dat", "b.dat"}, yes, {"a.dat", "b.dat"}, {}, 1},
            {"numbered name too long", {long_name, "b.dat"}, OLD_FOLDER, {long_name}, {long_name, "b.dat"}, yes, {long_name}, {long_name, "b.dat"}, 1},
        };
        // clang-format on
        Add_Rows(rows);
    }

    void remove()
    {
        QFETCH(TRemovalRow, row);
        if (row.old == OLD_READ_ONLY && geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QTemporaryDir temporary;
        // A dot in the folder's name must not take the collision number of a name without one.
        const QString folder = temporary.filePath(QStringLiteral("data.v2"));
        for (const QString &name : row.files)
            QVERIFY(Write_File(folder + '/' + name, name.toUtf8()));
        for (const QString &name : row.old_files)
            QVERIFY(Write_File(folder + "/old/" + name, "old"));
        if (row.old == OLD_FILE)
            QVERIFY(Write_File(folder + "/old", "not a folder"));
        QVERIFY(row.old == OLD_FILE || row.old == OLD_NONE || QDir().mkpath(folder + "/old"));
        if (row.old == OLD_READ_ONLY)
            QFile::setPermissions(folder + "/old", QFile::ReadOwner | QFile::ExeOwner);

        QStringList boxes;
        TMessageBox::Set_Answer_Function(
            [&](TMessageBox *box)
            {
                boxes.append(box->text().remove(QRegularExpression(QStringLiteral("<[^>]*>"))));
                return boxes.size() == 1 ? row.answer : int(QMessageBox::Ok);
            });
        TQuillon window;
        window.Remove_Data(folder, row.names);
        TMessageBox::Set_Answer_Function(nullptr);
        QFile::setPermissions(folder + "/old", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(boxes.value(0), QStringLiteral("Remove Measured Files"));
        QCOMPARE(boxes.size(), 1 + row.errors);
        QCOMPARE(boxes.filter(QStringLiteral("Remove Error")).size(), row.errors);
        QCOMPARE(Sorted_Files(folder), Sorted(row.files_after));
        if (row.old != OLD_FILE)
            QCOMPARE(Sorted(Sorted_Files(folder + "/old")), Sorted(row.old_files_after));
        // The files that were there already are untouched.
        for (const QString &name : row.old_files)
            QCOMPARE(Read_File(folder + "/old/" + name), QByteArray("old"));
    }

    void message_box_width()
    {
        TMessageBox box(nullptr);
        box.setText(QStringLiteral("a <b>bold</b> %1 word"));
        box.setInformativeText(
            QString(60, QLatin1Char(' ')).replace(QLatin1String(" "), QLatin1String("wrap ")));
        QVERIFY(box.text().contains(QLatin1String("a <b>bold</b> %1 word</span>")));
        box.show();
        QCOMPARE(box.width(), 500);
        box.resize(900, 400);
        QCOMPARE(box.width(), 500);
        box.Send_Key(Qt::Key_Escape);
        QTRY_VERIFY(!box.isVisible());
    }
};

QUILLON_APP_TEST_MAIN(TTestFileList)
#include "tst_filelist.moc"
