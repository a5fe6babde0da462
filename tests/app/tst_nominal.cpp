// The nominal dock and editor dialog: pitch fields, entries in both modes, adding, editing and removing
// sets, and a set saved through the dock reaching the window's next report.

#include "apptest.h"

#include "messagebox.h"
#include "nominaleditordialog.h"
#include "nominalstore.h"
#include "nominalwidget.h"
#include "quillon.h"
#include "tableeditor.h"

using TValues = std::vector<double>;

struct TEditorCase
{
    TValues nominals;
    QString increment, end; // typed into the fields; empty: the field is only left
    bool actual;
    QString shown;     // both fields then, one shown invalid marked with a leading '!'
    QStringList cells; // the first cells' texts
    int faces;         // rows of the table; d_nominals keeps the given set when 0
};
Q_DECLARE_METATYPE(TEditorCase)

// Files are "name=serial:faces ...", faces at 0, 10, 20, ...; "name=!" is damaged. The message box
// asked, if any, is answered "Yes", "No" or "OK".
struct TDockCase
{
    QString files, action, selected, serial, answer, expected, asked;
};
Q_DECLARE_METATYPE(TDockCase)

namespace
{
void Paste(TEditTable *table, int row, const QString &text)
{
    table->setRangeSelected(QTableWidgetSelectionRange(row, 0, row, 0), true);
    QApplication::clipboard()->setText(text);
    table->Edit_Paste();
}

QString Nominal_Folder()
{
    return QDir::homePath() + QStringLiteral("/.corvane/Nominal_Data");
}

// The dialog is answered by typing a serial, optionally changing it, and pressing Save.
void Answer_Editor(const QString &serial, const std::function<void(TNominalEditorDialog *)> &edit = nullptr)
{
    TNominalEditorDialog::Set_Run_Function(
        [serial, edit](TNominalEditorDialog *dialog)
        {
            Child<QLineEdit>(*dialog, "serial_edit")->setText(serial);
            if (edit)
                edit(dialog);
            dialog->accept();
            return dialog->result();
        });
}
} // namespace

class TTestNominal : public QObject
{
    Q_OBJECT

  private slots:
    void init() { QDir(Nominal_Folder()).removeRecursively(); }

    void Editor_data()
    {
        QTest::addColumn<TEditorCase>("editor");
        const auto row = [](const char *tag, const TEditorCase &editor) { QTest::newRow(tag) << editor; };
        row("add flow", {{}, "", "", false, "10.000 1010.000", {"0.0", "0.0"}, 102});
        row("calibrated set, fields left unchanged",
            {{0, 20.00012, 40.0003}, "", "", false, "20.000 40.000", {"0.0", "0.1", "0.3"}, 0});
        row("actual mode from the first face",
            {{10, 110.00031, 210.00012}, "", "", true, "100.000 200.000", {"0.0000", "100.0003"}, 0});
        row("end 95", {{}, "10", "95", true, "10 95", {"0.0000", "10.0000"}, 11});
        row("10,000-face cap", {{0, 20, 40}, "", "1e9", false, "20.000 !1e9", {}, 0});
    }

    void Editor()
    {
        QFETCH(TEditorCase, editor);
        TNominalEditorDialog dialog;
        Child<QRadioButton>(dialog, editor.actual ? "actual_radio" : "deviation_radio")->setChecked(true);
        dialog.Reset(QString(), editor.nominals);
        QCOMPARE(Child<QWidget>(dialog, "save_button")->isEnabled(), false);
        QStringList shown;
        for (const char *name : {"increment_edit", "end_edit"})
        {
            QLineEdit *field = Child<QLineEdit>(dialog, name);
            const QString typed = name[0] == 'i' ? editor.increment : editor.end;
            if (!typed.isEmpty())
                field->setText(typed);
            emit field->editingFinished();
        }
        for (const char *name : {"increment_edit", "end_edit"})
            shown << (Child<QLineEdit>(dialog, name)->styleSheet().isEmpty() ? "" : "!") +
                         Child<QLineEdit>(dialog, name)->text();
        QCOMPARE(shown.join(' '), editor.shown);
        const TEditTable *table = Child<TEditTable>(dialog, "table");
        QCOMPARE(table->rowCount(),
                 editor.shown.contains('!') ? 0 : std::max<int>(editor.faces, editor.nominals.size()));
        for (int row = 0; row < editor.cells.size(); ++row)
            QCOMPARE(table->item(row, 0)->text(), editor.cells[row]);
        if (editor.faces == 0)
            QCOMPARE(dialog.d_nominals, editor.nominals);
        else
            QCOMPARE(dialog.d_nominals.back(), 10.0 * (editor.faces - 1));
    }

    // Entries go back into the set through the table's signal, in both modes.
    void Entries()
    {
        TNominalEditorDialog dialog;
        dialog.Reset(QStringLiteral("7"), {0, 20.00012, 40.0003});
        TEditTable *table = Child<TEditTable>(dialog, "table");
        Paste(table, 1, QStringLiteral("2.5"));
        QCOMPARE(dialog.d_nominals[1], 20.0025);
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("2.5"));
        Child<QRadioButton>(dialog, "actual_radio")->setChecked(true);
        dialog.Reset(QStringLiteral("7"), {10, 110.00031, 210.00012});
        Paste(table, 2, QStringLiteral("200.0005"));
        QCOMPARE(dialog.d_nominals[1], 110.00031);
        QCOMPARE(dialog.d_nominals[2], 210.0005);
        Child<QRadioButton>(dialog, "deviation_radio")->setChecked(true);
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("0.5"));
    }

    void Dock_data()
    {
        QTest::addColumn<TDockCase>("dock");
        const auto row = [](const char *tag, const TDockCase &dock) { QTest::newRow(tag) << dock; };
        const QString replace = QStringLiteral("Replace Nominal File");
        const QString remove = QStringLiteral("Remove Nominal Files");
        row("add", {"", "add", "", "5", "", "SG_5=5:102", ""});
        row("add over a set, no", {"SG_5=5:3", "add", "", "5", "No", "SG_5=5:3", replace});
        row("bad serial", {"", "add", "", "a/b", "OK", "", "Invalid Serial Number"});
        row("other letter case saves back", {"sg_a=a:3", "edit", "sg_a", "A", "", "sg_a=A:3", ""});
        row("new serial leaves the old file", {"SG_1=1:3", "edit", "SG_1", "2", "", "SG_1=1:3 SG_2=2:3", ""});
        row("onto another set, yes",
            {"SG_1=1:3 SG_2=2:4", "edit", "SG_1", "2", "Yes", "SG_1=1:3 SG_2=2:3", replace});
        row("damaged file", {"SG_9=!", "edit", "SG_9", "9", "OK", "SG_9=!", "Load Nominal File"});
        row("one face is not replaced",
            {"SG_4=4:1", "edit", "SG_4", "4", "OK", "SG_4=4:1", "Edit Nominal File"});
        row("no faces are not replaced",
            {"SG_4=4:0", "edit", "SG_4", "4", "OK", "SG_4=4:0", "Edit Nominal File"});
        row("remove, yes",
            {"SG_1=1:3 SG_2=2:3 SG_3=3:3", "remove", "SG_1 SG_3", "", "Yes", "SG_2=2:3", remove});
        row("remove, no", {"SG_1=1:3", "remove", "SG_1", "", "No", "SG_1=1:3", remove});
    }

    void Dock()
    {
        QFETCH(TDockCase, dock);
        TQuillon window;
        TNominalWidget *widget = window.findChild<TNominalWidget *>();
        TNominalStore store;
        store.Initialize(QFileInfo(Nominal_Folder()).path());
        for (const QString &file : dock.files.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        {
            const QStringList parts = file.split(QRegularExpression(QStringLiteral("[=:]")));
            TValues faces;
            for (int face = 0; face < parts.value(2).toInt(); ++face)
                faces.push_back(10.0 * face);
            store.Set_Nominal(parts[1], faces);
            QVERIFY(parts[1] == "!" ? Write_File(Nominal_Folder() + '/' + parts[0], "<Step_Gauge_Nominal>")
                                    : store.Save_Data(parts[0]));
        }
        widget->Update_Display();
        QListWidget *list = Child<QListWidget>(*widget, "nominal_list");
        for (const QString &name : dock.selected.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            list->findItems(name, Qt::MatchExactly).front()->setSelected(true);

        QStringList asked;
        TMessageBox::Set_Answer_Function(
            [&](TMessageBox *box)
            {
                asked << box->text().remove(QRegularExpression(QStringLiteral("<[^>]*>")));
                const QMap<QString, int> buttons = {
                    {"Yes", QMessageBox::Yes}, {"No", QMessageBox::No}, {"OK", QMessageBox::Ok}};
                return buttons.value(asked.size() == 1 ? dock.answer : QString(), QMessageBox::NoButton);
            });
        Answer_Editor(dock.serial);
        Child<QToolButton>(*widget, qPrintable(dock.action + "_button"))->click();
        TMessageBox::Set_Answer_Function(nullptr);
        TNominalEditorDialog::Set_Run_Function(nullptr);

        QCOMPARE(asked.join(QLatin1Char(',')), dock.asked);
        QStringList found;
        store.Update_Display();
        for (const QString &name : store.File_Names())
            found << name + '=' +
                         (store.Load_Data(name)
                              ? store.Serial_Number() + ':' + QString::number(store.Nominal_Values().size())
                              : QStringLiteral("!"));
        QCOMPARE(found.join(QLatin1Char(' ')), dock.expected);
        QCOMPARE(Listed(*widget, "nominal_list"), store.File_Names());
    }

    // A set saved through the dock is used by the window's next load.
    void Saved_Set_Reaches_The_Reports()
    {
        TQuillon window;
        Answer_Editor(QStringLiteral("1020-4471"), [](TNominalEditorDialog *dialog)
                      { Paste(Child<TEditTable>(*dialog, "table"), 11, "2.5"); });
        Child<QToolButton>(*window.findChild<TNominalWidget *>(), "add_button")->click();
        TNominalEditorDialog::Set_Run_Function(nullptr);
        window.Load_Data(QStringLiteral(QUILLON_SOURCE_DIR "/examples/stepgauge_10360_x_front.dat"));
        QVERIFY(window.findChild<QPlainTextEdit *>()->toPlainText().contains(
            QStringLiteral("\n    100.0025      100.0008       -0.0017\n")));
    }
};

QUILLON_APP_TEST_MAIN(TTestNominal)
#include "tst_nominal.moc"
