// The tolerance dialog and the window's sign-off: fields and settings, the verdict following the
// tolerance, clipboard contents, exports with their save dialog and messages.

#include "tests/app/apptest.h"

#include "app/signoffactions.h"
#include "app/tolerancedialog.h"
#include "widgets/graphwidget.h"

#include <QPrinter>
#include <algorithm>

namespace
{
// "type A B C D upper lower"
QString Values(const TTolerance &t)
{
    QStringList texts{QString::number(t.d_tolerance_type)};
    for (const double value : {t.d_tolerance_a, t.d_tolerance_b, t.d_tolerance_c, t.d_tolerance_d,
                               t.d_upper_temperature_limit, t.d_lower_temperature_limit})
        texts << QString::number(value);
    return texts.join(QLatin1Char(' '));
}

// The fields "expression;upper;lower", a field shown red marked with a leading '!' (as Field_Texts does):
// typed into a new dialog when stored is "-", else shown after restoring the stored settings ("key=value ..."
// after "Tolerance_"); and the values held then.
struct TToleranceRow
{
    QString stored, fields, values;
};

// Fields typed into an open dialog, and the temperature rule it then states (empty: none).
struct TEditRow
{
    const char *name;
    QString expression, upper, lower;
    QString temperature_rule;
};

const char *const FIELD_NAMES[] = {"expression_edit", "upper_temperature_edit", "lower_temperature_edit"};

QStringList Field_Texts(const QDialog &dialog)
{
    QStringList texts;
    for (const char *name : FIELD_NAMES)
    {
        const QLineEdit *field = Child<QLineEdit>(dialog, name);
        const bool red = field->styleSheet() == QLatin1String("background-color: rgb(255, 151, 160);");
        texts << (red ? "!" : field->styleSheet().isEmpty() ? "" : "?") + field->text();
    }
    return texts;
}

} // namespace
Q_DECLARE_METATYPE(TToleranceRow)
Q_DECLARE_METATYPE(TEditRow)

class TTestSignoff : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    // Every test starts from an empty home folder and the real dialogs, whatever ran before it.
    void init()
    {
        QVERIFY(QDir(Settings("")).removeRecursively());
        QFile::remove(QDir::home().filePath(QStringLiteral("restore.ini")));
    }

    void cleanup()
    {
        TSignoffActions::Set_Print_Function({});
        TSignoffActions::Set_Save_Name_Function({});
        TMessageBox::Set_Answer_Function({});
    }

    void Tolerance_Dialog_data()
    {
        QTest::addColumn<TToleranceRow>("row");
        const auto row = [](const char *tag, const char *stored, const QString &fields, const QString &values)
        {
            QTest::newRow(tag) << TToleranceRow{stored, fields, values};
        };
        const QString start = QStringLiteral("1 0.012 0.006 1000 0 ");
        row("as built", "-", "0.012 + 0.006L/1000;22.00;18.00", start + "22 18");
        row("no form keeps", "-", "!0.01 + 0.006K/1000;!30.01;!9.99", start + "30.01 9.99");
        row("equal limits", "-", "!;!20;!20", start + "20 20");
        row("not numbers", "-", "0.0095+0.003L/1000|0.0018;!warm;!inf", "2 0.0095 0.003 1000 0.0018 0 0");
        row("not finite",
            "Type=x A=nan B=inf C=text D=-inf Upper_Temperature_Limit=nan Lower_Temperature_Limit=1e999",
            "0.0120+0.0060L/1000 | 0.0150;22.00;18.00", "2 0.012 0.006 1000 0.015 22 18");
        row("out of range", "A=1.5 C=-5 D=0 Upper_Temperature_Limit=45 Lower_Temperature_Limit=5",
            "!1.5000;!45.00;!5.00", "0 1.5 0 0 0 45 5");
        // Damaged limits restore as the defaults; limits kept as stored are shown red all the same.
        const QString limits = QStringLiteral("0.0120+0.0060L/1000 | 0.0150;%1;%2");
        const QString defaults = QStringLiteral("2 0.012 0.006 1000 0.015 ");
        row("limits reversed", "Upper_Temperature_Limit=18 Lower_Temperature_Limit=18.01",
            limits.arg("22.00", "18.00"), defaults + "22 18");
        row("limits at 1000", "Upper_Temperature_Limit=1000 Lower_Temperature_Limit=-1000",
            limits.arg("!1000.00", "!-1000.00"), defaults + "1000 -1000");
    }

    // Typing re-parses every field and invalid input turns red but is held all the same; restored values
    // pass through the type's update. Saving and restoring again gives the same values.
    void Tolerance_Dialog()
    {
        QFETCH(TToleranceRow, row);
        QSettings settings(QDir::home().filePath(QStringLiteral("restore.ini")), QSettings::IniFormat);
        settings.clear();
        for (const QString &entry : row.stored.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            settings.setValue(QStringLiteral("Tolerance_") + entry.section(QLatin1Char('='), 0, 0),
                              entry.section(QLatin1Char('='), 1));
        TToleranceDialog dialog;
        const QStringList fields = row.fields.split(QLatin1Char(';'));
        if (row.stored != QLatin1String("-"))
            dialog.Restore_Settings(settings);
        for (int i = 0; i < 3 && row.stored == QLatin1String("-"); ++i)
            Child<QLineEdit>(dialog, FIELD_NAMES[i])->setText(QString(fields[i]).remove(QLatin1Char('!')));
        QCOMPARE(Field_Texts(dialog), fields);
        QCOMPARE(Values(dialog.Tolerance()), row.values);
        dialog.Save_Settings(&settings);
        TToleranceDialog again;
        again.Restore_Settings(settings);
        QCOMPARE(Values(again.Tolerance()), row.values);
    }

    void Edit_data()
    {
        const TEditRow rows[] = {
            {"valid", "0.01 + 0.005L/1000 | 0.02", "23", "17", ""},
            {"empty", "", "22", "18", ""},
            {"cap half typed", "0.012+0.006L/1000 |", "22", "18", ""},
            {"Ts_Max above 30", "0.01", "30.01", "18", "Ts_Max must be a number not above 30.0"},
            {"Ts_Min not a number", "0.01", "22", "cold", "Ts_Min must be a number not below 10.0"},
            {"limits reversed", "0.01", "15", "16", "Ts_Max must be above Ts_Min"},
        };
        Add_Rows(rows);
    }

    // A red field cannot be accepted, by the button, Return or a call, and says which rule it breaks, in
    // the words of the report tool. Escape puts back what the dialog opened with.
    void Edit()
    {
        QFETCH(TEditRow, row);
        TToleranceDialog dialog;
        QVERIFY(Show_And_Wait(&dialog));
        const QString opened_values = Values(dialog.Tolerance());
        const QStringList opened_texts = Field_Texts(dialog);
        const QStringList typed{row.expression, row.upper, row.lower};
        for (int i = 0; i < 3; ++i)
            Child<QLineEdit>(dialog, FIELD_NAMES[i])->setText(typed[i]);
        const TTolerance::TExpression parsed = TTolerance::Parse_Expression(row.expression);
        const bool acceptable = parsed.Valid() && row.temperature_rule.isEmpty();
        QCOMPARE(Child<QPushButton>(dialog, "accept_button")->isEnabled(), acceptable);
        QCOMPARE(Child<QLabel>(dialog, "expression_rule_label")->text(), TTolerance::Rule_Text(parsed.rule));
        QCOMPARE(Child<QLabel>(dialog, "temperature_rule_label")->text(), row.temperature_rule);

        const QString typed_values = Values(dialog.Tolerance());
        dialog.accept();
        QTest::keyClick(Child<QLineEdit>(dialog, "lower_temperature_edit"), Qt::Key_Return);
        QCOMPARE(dialog.isVisible(), !acceptable);
        if (acceptable)
        {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(Values(dialog.Tolerance()), typed_values);
            QCOMPARE(Field_Texts(dialog), typed);
            return;
        }
        QTest::keyClick(Child<QLineEdit>(dialog, "expression_edit"), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(Values(dialog.Tolerance()), opened_values);
        // Opened again, it shows what it held before, nothing red.
        dialog.show();
        QCOMPARE(Field_Texts(dialog), opened_texts);
        QVERIFY(Child<QPushButton>(dialog, "accept_button")->isEnabled());
        QCOMPARE(Child<QLabel>(dialog, "temperature_rule_label")->text(), QString());
    }

    void Clipboard_And_Export()
    {
        TQuillon window;
        const TSignoffActions &actions = *window.findChild<TSignoffActions *>();
        QVERIFY(!actions.Export_Pdf_Action()->isEnabled() && !actions.Copy_Graph_Data_Action()->isEnabled());
        window.Load_Data(EXAMPLES + QStringLiteral("temperature_machine_day.dat"));

        // The copy key copies the pane's selection when there is one, else the whole report.
        QPlainTextEdit *pane = Child<QPlainTextEdit>(window, "report_pane");
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        pane->setFocus();
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(11, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), pane->toPlainText().left(11));
        pane->moveCursor(QTextCursor::Start);
        QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), pane->toPlainText() + QLatin1Char('\n'));

        // Tab-separated rows under the axis names; their values are checked with the tool's CSV output.
        actions.Copy_Graph_Data_Action()->trigger();
        QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("Curve\tHour\tCelsius\n1\t")));

        // The save dialog proposes the measurement's name; a folder in its place is refused with a message.
        QTemporaryDir dir;
        QString proposed, answer = dir.filePath(QStringLiteral("folder.pdf"));
        QVERIFY(QDir().mkdir(answer));
        TSignoffActions::Set_Save_Name_Function([&](const QString &, const QString &proposal)
                                                { return (proposed = proposal, answer); });
        const QStringList *asked = Answer_Boxes(QMessageBox::Ok);
        actions.Export_Pdf_Action()->trigger();
        QVERIFY(proposed.endsWith(QStringLiteral("/temperature_machine_day.pdf")));
        QVERIFY2(asked->value(0).contains(QStringLiteral("Cannot write '%1'").arg(answer)),
                 qPrintable(asked->value(0)));

        answer = dir.filePath(QStringLiteral("report.pdf"));
        actions.Export_Pdf_Action()->trigger();
        answer = dir.filePath(QStringLiteral("graph")); // the ending follows the chosen type
        actions.Save_Graph_Action()->trigger();
        TSignoffActions::Set_Print_Function(
            [&](QPrinter *printer)
            { return (printer->setOutputFileName(dir.filePath(QStringLiteral("printed.pdf"))), true); });
        actions.Print_Action()->trigger();
        QCOMPARE(asked->size(), 1);
        QCOMPARE(Sorted_Files(dir.path()), (QStringList{"graph.png", "printed.pdf", "report.pdf"}));
        QVERIFY(QImage(dir.filePath(QStringLiteral("graph.png"))).width() > 0);
    }

    // The window restores the tolerance, draws with it, follows the dialog and saves at close.
    void Window()
    {
        // No length term: a constant 0.0100.
        QVERIFY(Write_File(Settings(), "[General]\nTolerance_A=0.01\nTolerance_C=0\nTolerance_D=0\n"));
        auto window = std::make_unique<TQuillon>();
        const TGraphWidget &graph = *window->findChild<TGraphWidget *>();
        window->Load_Data(EXAMPLES + QStringLiteral("laser_10360_x_axis.dat"));
        // The lower limit line is the last set in the limit colour.
        const auto lower_line = std::find_if(graph.Data_Sets().rbegin(), graph.Data_Sets().rend(),
                                             [](const TGraphTypes::TDataSet &set)
                                             { return set.dataset_color == QColor(164, 164, 255); });
        QCOMPARE(lower_line->dataset_points.front().y, -0.01);

        // An accepted dialog is in force at once (a cancelled one puts its values back, see Edit).
        window->Load_Data(EXAMPLES + QStringLiteral("temperature_machine_day.dat"));
        auto *dialog = window->findChild<TToleranceDialog *>();
        const QLabel *verdict = Child<QLabel>(*window, "verdict_label");
        QVERIFY(verdict->text().startsWith("Verdict: PASS"));
        QTimer::singleShot(0, dialog,
                           [dialog]
                           {
                               QLineEdit *lower = Child<QLineEdit>(*dialog, "lower_temperature_edit");
                               lower->setText("20.50");
                               QTest::keyClick(lower, Qt::Key_Return);
                           });
        Child<QToolButton>(*window, "tolerance_button")->click();
        QVERIFY(verdict->text().startsWith("Verdict: FAIL  readings 19.80 to 21.21") &&
                verdict->styleSheet().contains(QStringLiteral("rgb(200, 0, 0)")));

        window = Restarted(std::move(window));
        QCOMPARE(Values(window->findChild<TToleranceDialog *>()->Tolerance()), "0 0.01 0 0 0 22 20.5");
    }
};

QUILLON_APP_TEST_MAIN(TTestSignoff)
#include "tst_signoff.moc"
