// The nominal dock and editor dialog: pitch fields, entries in both modes, adding, editing and removing
// sets, creating a missing set from the report, and a saved set reaching the report on show.

#include "tests/app/apptest.h"

#include "app/nominaleditordialog.h"
#include "app/nominalwidget.h"
#include "model/nominalstore.h"
#include "tableeditor/tableeditor.h"

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

// Files are "name=serial:faces ...", faces at 0, 10, 20, ...; "name=!" is damaged.
struct TDockCase
{
    QString files, action, selected, serial;
    int answer; // to the message box asked, if any
    QString expected, asked;
};
Q_DECLARE_METATYPE(TDockCase)

// A stored set with a face missing, opened from the dock; the fields are typed (empty: only left).
struct TUnevenCase
{
    QString increment, end;
    QString saved; // the saved Index texts, "" when the file must stay byte for byte
};
Q_DECLARE_METATYPE(TUnevenCase)

struct TNotShownCase
{
    QString serial;
    TValues nominals; // when empty: 'generated' faces 1 mm apart
    int generated;
    QString faces; // as the notice names them
};
Q_DECLARE_METATYPE(TNotShownCase)

struct TEscapeCase
{
    bool new_set; // the add flow: no serial, no values
    QString serial;
    QString pasted; // into the second row, when not empty
    QString key;    // Escape, Return in the serial field, or the Cancel button
    int answer;
    QString asked;
    bool closed;
};
Q_DECLARE_METATYPE(TEscapeCase)

// A step gauge file shown with the sets stored as in TDockCase.
struct TCreateCase
{
    const char *name;
    QString file, serial; // serial: replaces the file's gauge serial when not empty
    QString stored;
    QString button; // the create button's text; empty when none is offered
    QString start;  // the editor's Start when it is pressed
};
Q_DECLARE_METATYPE(TCreateCase)

namespace
{
void Paste(TEditTable *table, int row, const QString &text)
{
    table->setRangeSelected(QTableWidgetSelectionRange(row, 0, row, 0), true);
    QApplication::clipboard()->setText(text);
    table->Edit_Paste();
}

// Files as in TDockCase.
void Store_Sets(const QString &files)
{
    TNominalStore store;
    store.Initialize(Settings(""));
    for (const QString &file : files.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    {
        const QStringList parts = file.split(QRegularExpression(QStringLiteral("[=:]")));
        TValues faces;
        for (int face = 0; face < parts.value(2).toInt(); ++face)
            faces.push_back(10.0 * face);
        store.Set_Nominal(parts[1], faces);
        QVERIFY(parts[1] == "!" ? Write_File(Settings("Nominal_Data/" + parts[0]), "<Step_Gauge_Nominal>")
                                : store.Save_Data(parts[0]));
    }
}

// The dialog is answered by typing a serial (none: the one shown stays), optionally changing it, and
// pressing Save.
void Answer_Editor(const QString &serial, const std::function<void(TNominalEditorDialog *)> &edit = nullptr)
{
    TNominalEditorDialog::Set_Run_Function(
        [serial, edit](TNominalEditorDialog *dialog)
        {
            if (!serial.isEmpty())
                Child<QLineEdit>(*dialog, "serial_edit")->setText(serial);
            if (edit)
                edit(dialog);
            dialog->accept();
            return dialog->result();
        });
}
QString Index_Texts(const QByteArray &file)
{
    QStringList texts;
    QRegularExpressionMatchIterator match =
        QRegularExpression(QStringLiteral("<Index_\\d+>([^<]*)<")).globalMatch(QString::fromUtf8(file));
    while (match.hasNext())
        texts << match.next().captured(1);
    return texts.join(QLatin1Char(' '));
}
} // namespace

class TTestNominal : public QObject
{
    Q_OBJECT

  private slots:
    void init() { QDir(Settings("Nominal_Data")).removeRecursively(); }

    void cleanup()
    {
        TMessageBox::Set_Answer_Function(nullptr);
        TNominalEditorDialog::Set_Run_Function(nullptr);
    }

    void Editor_data()
    {
        QTest::addColumn<TEditorCase>("editor");
        const auto row = [](const char *tag, const TEditorCase &editor) { QTest::newRow(tag) << editor; };
        row("add flow", {{}, "", "", false, "10.000 1010.000", {"0.0", "0.0"}, 102});
        row("calibrated set, fields left unchanged",
            {{0, 20.00012, 40.0003}, "", "", false, "20.000 40.000", {"0.0", "0.1", "0.3"}, 0});
        row("actual mode from the first face",
            {{10, 110.00031, 210.00012}, "", "", true, "100.000 200.000", {"0.0000", "100.0003"}, 0});
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

    // Entries go back into the set through the table's signal, taken from the first face. A face moved off
    // its place in Actual mode withdraws Deviation mode until it is back.
    void Entries()
    {
        TNominalEditorDialog dialog;
        TEditTable *table = Child<TEditTable>(dialog, "table");
        Child<QRadioButton>(dialog, "actual_radio")->setChecked(true);
        dialog.Reset(QStringLiteral("7"), {10, 110.00031, 210.00012});
        QRadioButton *deviation = Child<QRadioButton>(dialog, "deviation_radio");
        Paste(table, 2, QStringLiteral("250"));
        QVERIFY(!deviation->isEnabled() && deviation->toolTip().contains("250.000 mm is not at 200.000 mm"));
        Paste(table, 2, QStringLiteral("200.0005"));
        QCOMPARE(dialog.d_nominals[1], 110.00031);
        QCOMPARE(dialog.d_nominals[2], 210.0005);
        deviation->setChecked(true);
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("0.5"));
    }

    void Dock_data()
    {
        QTest::addColumn<TDockCase>("dock");
        const auto row = [](const char *tag, const TDockCase &dock) { QTest::newRow(tag) << dock; };
        const QString replace = QStringLiteral("Replace Nominal File");
        const QString remove = QStringLiteral("Remove Nominal Files");
        const int yes = QMessageBox::Yes, no = QMessageBox::No, ok = QMessageBox::Ok;
        row("add", {"", "add", "", "5", ok, "SG_5=5:102", ""});
        row("add over a set, no", {"SG_5=5:3", "add", "", "5", no, "SG_5=5:3", replace});
        row("bad serial", {"", "add", "", "a/b", ok, "", "Invalid Serial Number"});
        row("other letter case saves back", {"sg_a=a:3", "edit", "sg_a", "A", ok, "sg_a=A:3", ""});
        row("new serial leaves the old file", {"SG_1=1:3", "edit", "SG_1", "2", ok, "SG_1=1:3 SG_2=2:3", ""});
        row("onto another set, yes",
            {"SG_1=1:3 SG_2=2:4", "edit", "SG_1", "2", yes, "SG_1=1:3 SG_2=2:3", replace});
        row("damaged file", {"SG_9=!", "edit", "SG_9", "9", ok, "SG_9=!", "Load Nominal File"});
        row("one face is not replaced",
            {"SG_4=4:1", "edit", "SG_4", "4", ok, "SG_4=4:1", "Edit Nominal File"});
        row("remove, yes",
            {"SG_1=1:3 SG_2=2:3 SG_3=3:3", "remove", "SG_1 SG_3", "", yes, "SG_2=2:3", remove});
        row("remove, no", {"SG_1=1:3", "remove", "SG_1", "", no, "SG_1=1:3", remove});
    }

    void Dock()
    {
        QFETCH(TDockCase, dock);
        TQuillon window;
        TNominalWidget *widget = window.findChild<TNominalWidget *>();
        Store_Sets(dock.files);
        widget->Update_Display();
        QListWidget *list = Child<QListWidget>(*widget, "nominal_list");
        for (const QString &name : dock.selected.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            list->findItems(name, Qt::MatchExactly).front()->setSelected(true);

        const QStringList *asked = Answer_Boxes(dock.answer);
        Answer_Editor(dock.serial);
        Child<QToolButton>(*widget, qPrintable(dock.action + "_button"))->click();

        QCOMPARE(asked->join(',').section(": ", 0, 0), dock.asked);
        if (dock.asked == "Replace Nominal File")
            QVERIFY2(asked->front().endsWith("exists. Do you want to replace it?"),
                     qPrintable(asked->front()));
        TNominalStore store;
        store.Initialize(Settings(""));
        QStringList found;
        for (const QString &name : store.File_Names())
            found << name + '=' +
                         (store.Load_Data(name)
                              ? store.Serial_Number() + ':' + QString::number(store.Nominal_Values().size())
                              : QStringLiteral("!"));
        QCOMPARE(found.join(QLatin1Char(' ')), dock.expected);
        QCOMPARE(Listed(*widget, "nominal_list"), store.File_Names());
    }

    void Uneven_Set_data()
    {
        QTest::addColumn<TUnevenCase>("uneven");
        QTest::newRow("fields left") << TUnevenCase{"", "", ""};
        QTest::newRow("same numbers typed") << TUnevenCase{"100", "1000.0", ""};
        QTest::newRow("new increment")
            << TUnevenCase{"250", "", "10.00000 260.00000 510.00000 760.00000 1010.00000"};
    }

    // Faces at 0, 100, 200, 400 mm ... from the first open in Actual mode named by their stored positions,
    // and are saved as they were stored unless a new pitch is entered.
    void Uneven_Set()
    {
        QFETCH(TUnevenCase, uneven);
        const QString path = Settings("Nominal_Data/SG_1020-4471");
        const QByteArray stored = Read_File(EXAMPLES + "Nominal_Data/SG_1020-4471");
        QVERIFY(Write_File(path, stored));
        TQuillon window;
        TNominalWidget *widget = window.findChild<TNominalWidget *>();
        widget->Update_Display();
        Child<QListWidget>(*widget, "nominal_list")->item(0)->setSelected(true);

        Answer_Editor(
            QStringLiteral("1020-4471"),
            [&uneven](TNominalEditorDialog *dialog)
            {
                const QRadioButton *deviation = Child<QRadioButton>(*dialog, "deviation_radio");
                const TEditTable *table = Child<TEditTable>(*dialog, "table");
                QVERIFY(Child<QRadioButton>(*dialog, "actual_radio")->isChecked() && !deviation->isEnabled());
                QVERIFY2(deviation->toolTip().contains("The face at 400.000 mm is not at 300.000 mm") &&
                             deviation->toolTip().contains("increment of 100.000 mm"),
                         qPrintable(deviation->toolTip()));
                QStringList labels;
                for (int row = 0; row < table->rowCount(); ++row)
                    labels << table->verticalHeaderItem(row)->text();
                QCOMPARE(labels.join(' '), "0.000 100.000 200.000 400.000 600.000 800.000 1000.000");
                QCOMPARE(table->item(3, 0)->text(), QStringLiteral("399.9998"));
                for (const char *name : {"increment_edit", "end_edit"})
                {
                    QLineEdit *field = Child<QLineEdit>(*dialog, name);
                    QCOMPARE(field->text(), name[0] == 'i' ? "100.000" : "1000.000");
                    const QString typed = name[0] == 'i' ? uneven.increment : uneven.end;
                    if (!typed.isEmpty())
                        field->setText(typed);
                    emit field->editingFinished();
                }
            });
        Child<QToolButton>(*widget, "edit_button")->click();
        if (uneven.saved.isEmpty())
            QCOMPARE(Read_File(path), stored);
        else
            QCOMPARE(Index_Texts(Read_File(path)), uneven.saved);

        // An evenly spaced set next gets the Deviation mode back that the uneven one put aside.
        TNominalEditorDialog *dialog = widget->Editor_Dialog();
        dialog->Reset(QStringLiteral("7"), {0, 20.00012, 40.0003});
        QVERIFY(Child<QRadioButton>(*dialog, "deviation_radio")->isChecked());
        QVERIFY(Child<QRadioButton>(*dialog, "deviation_radio")->toolTip().isEmpty());
        QCOMPARE(Child<TEditTable>(*dialog, "table")->item(2, 0)->text(), QStringLiteral("0.3"));
    }

    void Not_Shown_data()
    {
        QTest::addColumn<TNotShownCase>("set");
        QTest::newRow("stored empty") << TNotShownCase{"4", {}, 0, "0 face(s)"};
        QTest::newRow("no serial, one face") << TNotShownCase{"", {3}, 0, "1 face(s)"};
        QTest::newRow("past the limit") << TNotShownCase{"4", {}, 10001, "10001 face(s)"};
        QTest::newRow("nan") << TNotShownCase{"4", {0, std::nan(""), 20}, 0, "3 face(s)"};
    }

    // A set the editor cannot show is not replaced by generated faces, whoever gives it to the editor.
    void Not_Shown()
    {
        QFETCH(TNotShownCase, set);
        TValues nominals = set.nominals;
        for (int face = 0; face < set.generated; ++face)
            nominals.push_back(face);
        TNominalEditorDialog dialog;
        dialog.Reset(set.serial, nominals);
        const QLabel *notice = Child<QLabel>(dialog, "notice");
        QVERIFY2(!notice->isHidden() && notice->text().contains(" has " + set.faces + " and cannot be shown"),
                 qPrintable(notice->text()));
        QCOMPARE(Child<TEditTable>(dialog, "table")->rowCount(), 0);
        Child<QLineEdit>(dialog, "serial_edit")->setText(QStringLiteral("5"));
        QVERIFY(!Child<QWidget>(dialog, "save_button")->isEnabled());
        QVERIFY(!Child<QWidget>(dialog, "increment_edit")->isEnabled());

        // Neither a pitch nor a mode change regenerates it, and Save refuses.
        emit Child<QLineEdit>(dialog, "increment_edit")->editingFinished();
        Child<QRadioButton>(dialog, "actual_radio")->setChecked(true);
        QStringList *asked = Answer_Boxes(QMessageBox::Ok);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.accept();
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(asked->size(), 1);
        QVERIFY2(asked->front().startsWith("Save Nominal File: ") && asked->front().contains("left as it is"),
                 qPrintable(asked->front()));
        QCOMPARE(dialog.d_nominals.size(), nominals.size());
        QVERIFY(std::equal(nominals.begin(), nominals.end(), dialog.d_nominals.begin(),
                           [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }));

        // The next set is shown again.
        dialog.Reset(QStringLiteral("5"), {0, 10, 20});
        QVERIFY(notice->isHidden() && Child<QWidget>(dialog, "save_button")->isEnabled());
        QCOMPARE(Child<TEditTable>(dialog, "table")->rowCount(), 3);
    }

    void Escape_data()
    {
        QTest::addColumn<TEscapeCase>("escape");
        const QString question = QStringLiteral(
            "Discard Changes: The entries of this nominal set have changed. Do you want to discard them?");
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        QTest::newRow("unchanged") << TEscapeCase{false, "7", "", "Escape", yes, "", true};
        QTest::newRow("entry, keep") << TEscapeCase{false, "7", "2.5", "Escape", no, question, false};
        QTest::newRow("entry, discard") << TEscapeCase{false, "7", "2.5", "Escape", yes, question, true};
        QTest::newRow("serial, keep") << TEscapeCase{false, "8", "", "Escape", no, question, false};
        QTest::newRow("same value again") << TEscapeCase{false, "7", "0.1", "Escape", no, "", true};
        QTest::newRow("new set untouched") << TEscapeCase{true, "", "", "Escape", no, "", true};
        QTest::newRow("new set, entry") << TEscapeCase{true, "", "2.5", "Escape", no, question, false};
        QTest::newRow("Return keeps editing") << TEscapeCase{false, "7", "2.5", "Return", yes, "", false};
        QTest::newRow("Cancel discards") << TEscapeCase{false, "7", "2.5", "Cancel", no, "", true};
    }

    void Escape()
    {
        QFETCH(TEscapeCase, escape);
        TNominalEditorDialog dialog;
        if (escape.new_set)
            dialog.Reset(QString(), {});
        else
            dialog.Reset(QStringLiteral("7"), {0, 20.0001, 40.0003});
        Child<QLineEdit>(dialog, "serial_edit")->setText(escape.serial);
        if (!escape.pasted.isEmpty())
            Paste(Child<TEditTable>(dialog, "table"), 1, escape.pasted);
        // Shown, as the button box then picks its default button; Cancel stands left of Save.
        dialog.show();
        QVERIFY(Child<QPushButton>(dialog, "cancel_button")->x() <
                Child<QPushButton>(dialog, "save_button")->x());
        QStringList *asked = Answer_Boxes(escape.answer);
        QSignalSpy finished(&dialog, &QDialog::finished);
        if (escape.key == "Cancel")
            Child<QPushButton>(dialog, "cancel_button")->click();
        else
            QTest::keyClick(Child<QLineEdit>(dialog, "serial_edit"),
                            escape.key == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        QCOMPARE(asked->join(QLatin1Char('|')), escape.asked);
        QCOMPARE(finished.count(), escape.closed ? 1 : 0);
    }

    void Create_Button_data()
    {
        const QString button = QStringLiteral("Create nominal set for gauge ");
        const QString gauge = QStringLiteral("SG_1020-4471=1020-4471:");
        const TCreateCase rows[] = {
            {"10360, set missing", "stepgauge_10360_x_front.dat", "", "", button + "1020-4471", "10.000"},
            {"squareness, set missing", "stepgauge_squareness_xy.dat", "", "SG_1=1:3",
             button + "SG-0620-0877", "20.000"},
            {"mnemonic sign kept", "stepgauge_b89_x_axis.dat", "A&B", "", button + "A&&B", "10.000"},
            {"set present", "stepgauge_10360_x_front.dat", "", gauge + "102", "", ""},
            {"set damaged", "stepgauge_10360_x_front.dat", "", "SG_1020-4471=!", "", ""},
            {"set does not match", "stepgauge_10360_x_front.dat", "", gauge + "2", "", ""},
            {"serial cannot name a file", "stepgauge_10360_x_front.dat", "a/b", "", "", ""},
            {"not a step gauge", "gaugeblock_500mm_x_axis.dat", "", "", "", ""},
        };
        Add_Rows(rows);
    }

    // The button is offered only for a missing set and opens the editor on the file's gauge, its first
    // face at the reference step. The saved set shows the file again; so does any later save.
    void Create_Button()
    {
        QFETCH(TCreateCase, row);
        QString text = QString::fromLatin1(Read_File(EXAMPLES + row.file));
        const QRegularExpression serial_line(QStringLiteral("Equipment_Identification:([^\\r\\n]*)"));
        if (!row.serial.isEmpty())
            text.replace(serial_line, "Equipment_Identification:" + row.serial);
        const QString serial = serial_line.match(text).captured(1);
        const QTemporaryDir folder;
        QVERIFY(Write_File(folder.filePath(row.file), text.toLatin1()));
        Store_Sets(row.stored);

        TQuillon window;
        window.Load_Data(folder.filePath(row.file));
        const QPlainTextEdit *report = window.findChild<QPlainTextEdit *>();
        QPushButton *button = Child<QPushButton>(window, "create_nominal_button");
        QCOMPARE(button->isHidden() ? QString() : button->text(), row.button);
        if (row.button.isEmpty())
            return;
        QVERIFY(report->toPlainText().startsWith("ERR  Stepgauge nominal data") && button->y() > 0);
        // Row 10 is the face 100 mm from the first.
        QStringList seen;
        const auto enter = [&seen](const QString &deviation)
        {
            Answer_Editor(QString(),
                          [&seen, deviation](TNominalEditorDialog *dialog)
                          {
                              seen << dialog->Serial_Number()
                                   << Child<QLineEdit>(*dialog, "start_edit")->text();
                              Paste(Child<TEditTable>(*dialog, "table"), 10, deviation);
                          });
        };
        enter(QStringLiteral("2.5"));
        button->click();
        QCOMPARE(seen, QStringList({serial, row.start}));
        QVERIFY2(report->toPlainText().contains("    100.0025  "), qPrintable(report->toPlainText()));
        QVERIFY(button->isHidden());

        TNominalWidget *widget = window.findChild<TNominalWidget *>();
        Child<QListWidget>(*widget, "nominal_list")
            ->findItems("SG_" + serial, Qt::MatchExactly)[0]
            ->setSelected(true);
        enter(QStringLiteral("-1.5"));
        Child<QToolButton>(*widget, "edit_button")->click();
        QVERIFY2(report->toPlainText().contains("     99.9985  "), qPrintable(report->toPlainText()));
    }
};

QUILLON_APP_TEST_MAIN(TTestNominal)
#include "tst_nominal.moc"
