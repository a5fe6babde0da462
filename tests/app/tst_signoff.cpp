// The tolerance dialog and the window's sign-off: fields and settings, the verdict following the
// tolerance, clipboard contents, exports with their save dialog and messages.

#include "apptest.h"

#include "graphwidget.h"
#include "messagebox.h"
#include "quillon.h"
#include "signoffactions.h"
#include "tolerancedialog.h"

#include <QPrinter>

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");

// "type A B C D upper lower"
QString Values(const TTolerance &t)
{
    QStringList texts{QString::number(t.d_tolerance_type)};
    for (const double value : {t.d_tolerance_a, t.d_tolerance_b, t.d_tolerance_c, t.d_tolerance_d,
                               t.d_upper_temperature_limit, t.d_lower_temperature_limit})
        texts << QString::number(value);
    return texts.join(QLatin1Char(' '));
}

// The fields "expression;upper;lower", a field shown red marked with a leading '!': typed into a new
// dialog when stored is "-", else shown after restoring the stored settings ("key=value ..." after
// "Tolerance_"); and the values held then.
struct TToleranceRow
{
    QString stored, fields, values;
};

} // namespace
Q_DECLARE_METATYPE(TToleranceRow)

class TTestSignoff : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Tolerance_Dialog_data()
    {
        QTest::addColumn<TToleranceRow>("row");
        const auto row = [](const char *tag, const char *stored, const char *fields, const QString &values) {
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
        row("out of range", "A=1.5 C=-5 D=0 Upper_Temperature_Limit=5 Lower_Temperature_Limit=40",
            "!1.5000;!5.00;!40.00", "0 1.5 0 0 0 5 40");
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
        const char *names[] = {"expression_edit", "upper_temperature_edit", "lower_temperature_edit"};
        if (row.stored != QLatin1String("-"))
            dialog.Restore_Settings(settings);
        for (int i = 0; i < 3 && row.stored == QLatin1String("-"); ++i)
            Child<QLineEdit>(dialog, names[i])->setText(QString(fields[i]).remove(QLatin1Char('!')));
        for (int i = 0; i < 3; ++i)
        {
            const QLineEdit *field = Child<QLineEdit>(dialog, names[i]);
            const bool red = field->styleSheet() == QLatin1String("background-color: rgb(255, 151, 160);");
            QCOMPARE((red ? "!" : "") + field->text(), fields[i]);
        }
        QCOMPARE(Values(dialog.Tolerance()), row.values);
        dialog.Save_Settings(&settings);
        TToleranceDialog again;
        again.Restore_Settings(settings);
        QCOMPARE(Values(again.Tolerance()), row.values);
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
        QString proposed, message, answer = dir.filePath(QStringLiteral("folder.pdf"));
        QVERIFY(QDir().mkdir(answer));
        TSignoffActions::Set_Save_Name_Function([&](const QString &, const QString &proposal)
                                                { return (proposed = proposal, answer); });
        TMessageBox::Set_Answer_Function([&](TMessageBox *box)
                                         { return (message = box->text() + box->informativeText(), 0); });
        actions.Export_Pdf_Action()->trigger();
        QVERIFY(proposed.endsWith(QStringLiteral("/temperature_machine_day.pdf")));
        QVERIFY2(message.contains(QStringLiteral("Cannot write '%1'").arg(answer)), qPrintable(message));

        message.clear();
        answer = dir.filePath(QStringLiteral("report.pdf"));
        actions.Export_Pdf_Action()->trigger();
        answer = dir.filePath(QStringLiteral("graph")); // the ending follows the chosen type
        actions.Save_Graph_Action()->trigger();
        TSignoffActions::Set_Print_Function(
            [&](QPrinter *printer)
            { return (printer->setOutputFileName(dir.filePath(QStringLiteral("printed.pdf"))), true); });
        actions.Print_Action()->trigger();
        QCOMPARE(message, QString());
        QCOMPARE(Sorted_Files(dir.path()), (QStringList{"graph.png", "printed.pdf", "report.pdf"}));
        QVERIFY(QImage(dir.filePath(QStringLiteral("graph.png"))).width() > 0);
        TSignoffActions::Set_Print_Function({});
        TSignoffActions::Set_Save_Name_Function({});
        TMessageBox::Set_Answer_Function({});
    }

    // The window restores the tolerance, draws with it, keeps what a cancelled dialog holds and saves at
    // close. Last, since it leaves settings behind.
    void Window()
    {
        // No length term: a constant 0.0100.
        const QString ini = QDir::home().filePath(QStringLiteral(".corvane/quillon_settings.ini"));
        QVERIFY(Write_File(ini, "[General]\nTolerance_A=0.01\nTolerance_C=0\nTolerance_D=0\n"));
        auto window = std::make_unique<TQuillon>();
        const TGraphWidget &graph = *window->findChild<TGraphWidget *>();
        window->Load_Data(EXAMPLES + QStringLiteral("laser_10360_x_axis.dat"));
        QCOMPARE(graph.d_data_sets.back().dataset_points.front().y, -0.01);

        // Values typed into a cancelled dialog stay in force, so the verdict follows them at once.
        window->Load_Data(EXAMPLES + QStringLiteral("temperature_machine_day.dat"));
        auto *dialog = window->findChild<TToleranceDialog *>();
        QTimer::singleShot(0, dialog,
                           [dialog]
                           {
                               Child<QLineEdit>(*dialog, "expression_edit")->setText("0.012+0.006L/0");
                               Child<QLineEdit>(*dialog, "lower_temperature_edit")->setText("20.50");
                               dialog->reject();
                           });
        Child<QToolButton>(*window, "tolerance_button")->click();
        const QLabel *verdict = Child<QLabel>(*window, "verdict_label");
        QVERIFY(verdict->text().startsWith("Verdict: FAIL  readings 19.80 to 21.21") &&
                verdict->styleSheet().contains(QStringLiteral("rgb(200, 0, 0)")));

        window->close();
        window.reset();
        QSettings saved(ini, QSettings::IniFormat);
        QCOMPARE(saved.value(QStringLiteral("Tolerance_Type")).toInt(), 1);
        QCOMPARE(saved.value(QStringLiteral("Tolerance_C")).toDouble(), 0.0);
        QCOMPARE(saved.value(QStringLiteral("Tolerance_Lower_Temperature_Limit")).toDouble(), 20.5);
    }
};

QUILLON_APP_TEST_MAIN(TTestSignoff)
#include "tst_signoff.moc"
