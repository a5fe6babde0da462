// The tolerance dialog's fields and settings, and the window drawing and reporting with it.

#include "graphwidget.h"
#include "quillon.h"
#include "tolerancedialog.h"

#include <QtTest>
#include <QtWidgets>

namespace
{
const QString RED = QStringLiteral("background-color: rgb(255, 151, 160);");

QLineEdit *Edit(const QObject *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(QLatin1String(name));
}

// "expression upper lower": 1 for a field shown red.
QString Red_Fields(const TToleranceDialog &dialog)
{
    QStringList flags;
    for (const char *name : {"expression_edit", "upper_temperature_edit", "lower_temperature_edit"})
        flags << (Edit(&dialog, name)->styleSheet() == RED ? "1" : "0");
    return flags.join(QLatin1Char(' '));
}

QString Values(const TTolerance &t)
{
    QStringList texts{QString::number(t.d_tolerance_type)};
    for (const double value : {t.d_tolerance_a, t.d_tolerance_b, t.d_tolerance_c, t.d_tolerance_d,
                               t.d_upper_temperature_limit, t.d_lower_temperature_limit})
        texts << QString::number(value);
    return texts.join(QLatin1Char(' '));
}

struct TFieldCase
{
    QString expression, upper, lower, red, values;
};

struct TRestoreCase
{
    QString stored; // "key=value ..." after "Tolerance_"
    QString text, red, values;
};
} // namespace
Q_DECLARE_METATYPE(TFieldCase)
Q_DECLARE_METATYPE(TRestoreCase)

class TestToleranceDialog : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(d_home.isValid());
        qputenv("HOME", QFile::encodeName(d_home.path()));
    }

    void Fields_data()
    {
        QTest::addColumn<TFieldCase>("row");
        const QString start = QStringLiteral("1 0.012 0.006 1000 0 ");
        QTest::newRow("as built") << TFieldCase{"0.012 + 0.006L/1000", "22.00", "18.00", "0 0 0",
                                                start + "22 18"};
        QTest::newRow("A above 1") << TFieldCase{"1.5", "30", "10", "1 0 0", "0 1.5 0 0 0 30 10"};
        QTest::newRow("no form keeps")
            << TFieldCase{"0.01 + 0.006K/1000", "30.01", "9.99", "1 1 1", start + "30.01 9.99"};
        QTest::newRow("equal limits") << TFieldCase{"", "20", "20", "1 1 1", start + "20 20"};
        QTest::newRow("not numbers") << TFieldCase{"0.0095+0.003L/1000|0.0018", "warm", "inf", "0 1 1",
                                                   "2 0.0095 0.003 1000 0.0018 0 0"};
    }

    // Typing re-parses every field; invalid input turns red and is stored all the same.
    void Fields()
    {
        QFETCH(TFieldCase, row);
        TToleranceDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tolerance Editor Dialog"));
        Edit(&dialog, "expression_edit")->setText(row.expression);
        Edit(&dialog, "upper_temperature_edit")->setText(row.upper);
        Edit(&dialog, "lower_temperature_edit")->setText(row.lower);
        QCOMPARE(Red_Fields(dialog), row.red);
        QCOMPARE(Values(dialog.Tolerance()), row.values);
    }

    void Restore_data()
    {
        QTest::addColumn<TRestoreCase>("row");
        const QString first = QStringLiteral("0.0120+0.0060L/1000 | 0.0150");
        QTest::newRow("first start") << TRestoreCase{"", first, "0 0 0", "2 0.012 0.006 1000 0.015 22 18"};
        QTest::newRow("type follows C and D")
            << TRestoreCase{"Type=2 C=500 D=0", "0.0120+0.0060L/500", "0 0 0", "1 0.012 0.006 500 0 22 18"};
        QTest::newRow("not finite") << TRestoreCase{
            "Type=x A=nan B=inf C=text D=-inf Upper_Temperature_Limit=nan "
            "Lower_Temperature_Limit=1e999",
            first, "0 0 0", "2 0.012 0.006 1000 0.015 22 18"};
        QTest::newRow("out of range")
            << TRestoreCase{"A=1.5 C=-5 D=0 Upper_Temperature_Limit=5 Lower_Temperature_Limit=40", "1.5000",
                            "1 1 1", "0 1.5 0 0 0 5 40"};
        QTest::newRow("too long to reread")
            << TRestoreCase{"A=1000 D=0", "1000.0000+0.0060L/1000", "1 0 0", "1 1000 0.006 1000 0 22 18"};
    }

    // Restored values pass through Update(); saving and restoring again gives the same dialog.
    void Restore()
    {
        QFETCH(TRestoreCase, row);
        QSettings settings(d_home.filePath(QStringLiteral("restore.ini")), QSettings::IniFormat);
        settings.clear();
        for (const QString &entry : row.stored.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            settings.setValue(QStringLiteral("Tolerance_") + entry.section(QLatin1Char('='), 0, 0),
                              entry.section(QLatin1Char('='), 1));
        TToleranceDialog dialog;
        dialog.Restore_Settings(settings);
        QCOMPARE(Edit(&dialog, "expression_edit")->text(), row.text);
        QCOMPARE(Red_Fields(dialog), row.red);
        QCOMPARE(Values(dialog.Tolerance()), row.values);

        dialog.Save_Settings(&settings);
        TToleranceDialog again;
        again.Restore_Settings(settings);
        QCOMPARE(Values(again.Tolerance()), row.values);
    }

    // The window restores the keys, draws and reports with them, reloads on Accept and saves at close.
    void Window()
    {
        const QString ini = d_home.filePath(QStringLiteral(".corvane/quillon_settings.ini"));
        QDir(d_home.path()).mkpath(QStringLiteral(".corvane"));
        {
            QSettings settings(ini, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Tolerance_A"), 0.01);
            settings.setValue(QStringLiteral("Tolerance_C"), 0); // no length term: constant 0.0100
            settings.setValue(QStringLiteral("Tolerance_D"), 0);
        }
        auto window = std::make_unique<TQuillon>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *pane = window->findChild<QPlainTextEdit *>();
        auto *graph = window->findChild<TGraphWidget *>();
        window->Load_Data(QStringLiteral(QUILLON_SOURCE_DIR "/examples/ballbar_500mm.dat"));
        QVERIFY(pane->toPlainText().endsWith(QStringLiteral("\n\n  BallBar Tolerance: 0.0100")));

        window->Load_Data(QStringLiteral(QUILLON_SOURCE_DIR "/examples/laser_10360_x_axis.dat"));
        QCOMPARE(graph->d_data_sets.back().dataset_points.front().y, -0.01);
        QCOMPARE(graph->d_data_sets.front().dataset_type, TGraphWidget::GRAPH_CROSS);
        window->findChild<QToolButton *>(QStringLiteral("line_graph_button"))->click();
        QVERIFY(!window->findChild<QToolButton *>(QStringLiteral("point_graph_button"))->isChecked());
        QCOMPARE(graph->d_data_sets.front().dataset_type, TGraphWidget::GRAPH_LINE);

        // C = 0 in a length form: limit points that are not finite are left out, nothing hangs.
        QTimer::singleShot(0, window.get(),
                           [&window]
                           {
                               auto *dialog = window->findChild<TToleranceDialog *>();
                               Edit(dialog, "expression_edit")->setText(QStringLiteral("0.012+0.006L/0"));
                               dialog->findChild<QPushButton *>(QStringLiteral("accept_button"))->click();
                           });
        window->findChild<QToolButton *>(QStringLiteral("tolerance_button"))->click();
        for (const TGraphWidget::TDataSet &set : graph->d_data_sets)
            for (const TVector2 &point : set.dataset_points)
                QVERIFY(std::isfinite(point.x) && std::isfinite(point.y));
        QCOMPARE(graph->d_data_sets.back().dataset_points.size(), std::size_t(0));
        QVERIFY(!graph->Background_Pixmap().isNull());

        window->close();
        window.reset();
        QSettings saved(ini, QSettings::IniFormat);
        QCOMPARE(saved.value(QStringLiteral("Tolerance_Type")).toInt(), 1);
        QCOMPARE(saved.value(QStringLiteral("Tolerance_C")).toDouble(), 0.0);
        QCOMPARE(saved.value(QStringLiteral("Tolerance_Lower_Temperature_Limit")).toDouble(), 18.0);
    }

  private:
    QTemporaryDir d_home;
};

QTEST_MAIN(TestToleranceDialog)
#include "tst_tolerancedialog.moc"
