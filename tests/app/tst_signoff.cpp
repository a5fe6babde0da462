// The window's sign-off: verdict in the status bar, actions enabled by what is shown, clipboard contents,
// PDF export with its save dialog and failure message.

#include "apptest.h"

#include "messagebox.h"
#include "quillon.h"
#include "signoffactions.h"
#include "tolerancedialog.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");

struct TShownRow
{
    QString file;
    QString verdict;
    QString enabled; // export, print, copy report, save graph, copy graph, copy graph data
};

QString Enabled(const TSignoffActions &actions)
{
    QString states;
    for (const QAction *action :
         {actions.Export_Pdf_Action(), actions.Print_Action(), actions.Copy_Report_Action(),
          actions.Save_Graph_Action(), actions.Copy_Graph_Action(), actions.Copy_Graph_Data_Action()})
        states += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

const QLabel *Verdict_Label(const TQuillon &window)
{
    return window.findChild<QLabel *>(QStringLiteral("verdict_label"));
}
} // namespace
Q_DECLARE_METATYPE(TShownRow)

class TestSignoff : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Verdict_And_Actions_data();
    void Verdict_And_Actions();
    void Clipboard_And_Export();
    void Tolerance_Cancelled();
};

void TestSignoff::Verdict_And_Actions_data()
{
    QTest::addColumn<TShownRow>("row");
    QTest::newRow("laser") << TShownRow{
        "laser_10360_x_axis.dat",
        "Verdict: PASS  worst deviation -0.0038 mm at 999.9962 mm is 25.6% of E MPL 0.0150 mm", "111111"};
    QTest::newRow("ring gauge, no verdict") << TShownRow{"ringgauge_25mm.dat", "", "111111"};
    QTest::newRow("probe, no graph") << TShownRow{"probe_tip_calibration.dat", "", "111000"};
    QTest::newRow("failed load") << TShownRow{"missing.dat", "", "000000"};
}

void TestSignoff::Verdict_And_Actions()
{
    QFETCH(TShownRow, row);
    TQuillon window;
    const TSignoffActions &actions = *window.findChild<TSignoffActions *>();
    QCOMPARE(Enabled(actions), QStringLiteral("000000"));
    window.Load_Data(EXAMPLES + QStringLiteral("laser_10360_x_axis.dat"));
    window.Load_Data(EXAMPLES + row.file);
    QCOMPARE(Verdict_Label(window)->text(), row.verdict);
    QCOMPARE(Verdict_Label(window)->styleSheet().contains(QStringLiteral("rgb(0, 128, 0)")),
             !row.verdict.isEmpty());
    QCOMPARE(Enabled(actions), row.enabled);
}

void TestSignoff::Clipboard_And_Export()
{
    TQuillon window;
    const QString path = EXAMPLES + QStringLiteral("temperature_machine_day.dat");
    window.Load_Data(path);
    const TSignoffActions &actions = *window.findChild<TSignoffActions *>();

    // The copy key copies the pane's selection when there is one, else the whole report.
    QPlainTextEdit *pane = window.findChild<QPlainTextEdit *>(QStringLiteral("report_pane"));
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

    // One row a point after the header; the values themselves are checked with the tool's CSV rows.
    actions.Copy_Graph_Data_Action()->trigger();
    const QStringList rows = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.value(0), QStringLiteral("Curve\tHour\tCelsius"));
    std::size_t points = 0;
    for (const std::vector<TVector2> &curve : MeasurementLoad::Load_File(path, nullptr).graph_data)
        points += curve.size();
    QCOMPARE(static_cast<std::size_t>(rows.size()), points + 1);

    // The save dialog proposes the measurement's name; a folder in its place is refused with a message.
    QTemporaryDir dir;
    QString proposed;
    QString answer = dir.filePath(QStringLiteral("folder.pdf"));
    QVERIFY(QDir().mkdir(answer));
    TSignoffActions::Set_Save_Name_Function(
        [&](const QString &, const QString &proposal)
        {
            proposed = proposal;
            return answer;
        });
    QString message;
    TMessageBox::Set_Answer_Function(
        [&](TMessageBox *box)
        {
            message = box->text() + box->informativeText();
            return int(QMessageBox::Ok);
        });
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
        {
            printer->setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
            return true;
        });
    actions.Print_Action()->trigger();
    QCOMPARE(message, QString());
    QCOMPARE(Sorted_Files(dir.path()), (QStringList{"graph.png", "printed.pdf", "report.pdf"}));
    QVERIFY(QImage(dir.filePath(QStringLiteral("graph.png"))).width() > 0);
    TSignoffActions::Set_Print_Function({});
    TSignoffActions::Set_Save_Name_Function({});
    TMessageBox::Set_Answer_Function({});
}

void TestSignoff::Tolerance_Cancelled()
{
    // Values typed into a cancelled dialog stay in force, so the verdict follows them at once.
    TQuillon window;
    window.Load_Data(EXAMPLES + QStringLiteral("temperature_machine_day.dat"));
    TToleranceDialog *dialog = window.findChild<TToleranceDialog *>();
    QLineEdit *lower = nullptr;
    for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
        lower = edit->text() == QStringLiteral("18.00") ? edit : lower;
    QVERIFY(lower);
    QTimer::singleShot(0, dialog,
                       [&]
                       {
                           lower->setText(QStringLiteral("20.50"));
                           dialog->reject();
                       });
    window.Edit_Tolerance();
    QVERIFY(
        Verdict_Label(window)->text().startsWith(QStringLiteral("Verdict: FAIL  readings 19.80 to 21.21")));
    QVERIFY(Verdict_Label(window)->styleSheet().contains(QStringLiteral("rgb(200, 0, 0)")));
}

QUILLON_APP_TEST_MAIN(TestSignoff)
#include "tst_signoff.moc"
