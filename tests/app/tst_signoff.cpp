// The window's sign-off: verdict in the status bar, actions enabled by what is shown, clipboard contents,
// PDF export with its save dialog and failure message.

#include "apptest.h"

#include "graphwidget.h"
#include "messagebox.h"
#include "quillon.h"
#include "signoffactions.h"
#include "tolerancedialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");
const char *const ACTIONS[] = {"export_pdf_action", "print_action",      "copy_report_action",
                               "save_graph_action", "copy_graph_action", "copy_graph_data_action"};

QString Enabled(const QObject &window)
{
    QString states;
    for (const char *name : ACTIONS)
        states += window.findChild<QAction *>(QLatin1String(name))->isEnabled() ? QLatin1Char('1')
                                                                                : QLatin1Char('0');
    return states;
}
} // namespace

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
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("enabled");
    QTest::newRow("laser")
        << "laser_10360_x_axis.dat"
        << "Verdict: PASS  worst deviation -0.0038 mm at 999.9962 mm is 25.6% of E MPL 0.0150 mm"
        << "rgb(0, 128, 0)"
        << "111111";
    QTest::newRow("ring gauge, no verdict") << "ringgauge_25mm.dat"
                                            << ""
                                            << ""
                                            << "111111";
    QTest::newRow("probe, no graph") << "probe_tip_calibration.dat"
                                     << ""
                                     << ""
                                     << "111000";
    QTest::newRow("failed load") << "missing.dat"
                                 << ""
                                 << ""
                                 << "000000";
}

void TestSignoff::Verdict_And_Actions()
{
    QFETCH(QString, file);
    QFETCH(QString, verdict);
    QFETCH(QString, colour);
    QFETCH(QString, enabled);
    TQuillon window;
    QCOMPARE(Enabled(window), QStringLiteral("000000"));
    window.Load_Data(EXAMPLES + QStringLiteral("laser_10360_x_axis.dat"));
    window.Load_Data(EXAMPLES + file);
    const QLabel *label = window.findChild<QLabel *>(QStringLiteral("verdict_label"));
    QCOMPARE(label->text(), verdict);
    QVERIFY(label->styleSheet().contains(colour));
    QCOMPARE(Enabled(window), enabled);
}

void TestSignoff::Clipboard_And_Export()
{
    TQuillon window;
    const QString path = EXAMPLES + QStringLiteral("temperature_machine_day.dat");
    window.Load_Data(path);
    const TSignoffActions *actions = window.findChild<TSignoffActions *>();

    actions->Copy_Report_Action()->trigger();
    QCOMPARE(QApplication::clipboard()->text(),
             window.findChild<QPlainTextEdit *>(QStringLiteral("report_pane"))->toPlainText() +
                 QLatin1Char('\n'));

    actions->Copy_Graph_Data_Action()->trigger();
    const QStringList rows = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.first(), QStringLiteral("Curve\tHour\tCelsius"));
    const TMeasurementLoad load = MeasurementLoad::Load_File(path, nullptr);
    int row = 1;
    for (std::size_t curve = 0; curve < load.graph_data.size(); ++curve)
    {
        for (const TVector2 &point : load.graph_data[curve])
        {
            const QStringList fields = rows.value(row++).split(QLatin1Char('\t'));
            QCOMPARE(fields.value(0).toInt(), static_cast<int>(curve + 1));
            QCOMPARE(fields.value(1).toDouble(), point.x);
            QCOMPARE(fields.value(2).toDouble(), point.y);
        }
    }
    QCOMPARE(rows.size(), row);

    actions->Copy_Graph_Action()->trigger();
    QVERIFY(!QApplication::clipboard()->image().isNull());

    // The save dialog proposes the measurement's name; a folder in its place is refused with a message.
    QTemporaryDir dir;
    QString proposed;
    QString answer = dir.path();
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
    actions->Export_Pdf_Action()->trigger();
    QVERIFY(proposed.endsWith(QStringLiteral("/temperature_machine_day.pdf")));
    QVERIFY2(message.contains(QStringLiteral("Cannot write '%1'").arg(dir.path())), qPrintable(message));

    message.clear();
    answer = dir.filePath(QStringLiteral("report.pdf"));
    actions->Export_Pdf_Action()->trigger();
    actions->Save_Graph_Action()->trigger();
    QCOMPARE(message, QString());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.pdf")});
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
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("verdict_label"))->text().startsWith("Verdict: FAIL"));
}

QUILLON_APP_TEST_MAIN(TestSignoff)
#include "tst_signoff.moc"
