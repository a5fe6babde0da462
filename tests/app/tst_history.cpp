// The History dock: the runs of the test on show from the measurement folder and its old folder, their
// order, verdicts and "near" marks, the trend graph's pixels, showing a run, and following the
// tolerance, the warning level and the folder.

#include "tests/app/apptest.h"

#include "app/historydock.h"
#include "app/historygraph.h"
#include "app/tolerancedialog.h"
#include "model/verdict.h"

namespace
{
QString Folder(const QString &name = QString())
{
    return Settings("Measurement_Data/" + name);
}

// The step gauge example with every deviation from the nearest 100 mm multiplied, which raises its
// share of the tolerance about in proportion.
QByteArray Step_Gauge(double factor)
{
    QString text = QString::fromLatin1(Read_File(EXAMPLES + "stepgauge_10360_x_front.dat"));
    static const QRegularExpression point(QStringLiteral("^Point:(\\d+),(\\d+),(-?[0-9.]+),"),
                                          QRegularExpression::MultilineOption);
    QString scaled;
    int from = 0;
    for (QRegularExpressionMatchIterator it = point.globalMatch(text); it.hasNext();)
    {
        const QRegularExpressionMatch match = it.next();
        const double x = match.captured(3).toDouble();
        const double nominal = std::round(x / 100.0) * 100.0;
        scaled += text.mid(from, match.capturedStart() - from) +
                  QStringLiteral("Point:%1,%2,%3,")
                      .arg(match.captured(1), match.captured(2))
                      .arg(nominal + factor * (x - nominal), 0, 'f', 5);
        from = match.capturedEnd();
    }
    return (scaled + text.mid(from)).toLatin1();
}

bool Write_Run(const QString &path, const QByteArray &data, const QDate &date)
{
    return Write_File(path, data, QDateTime(date, QTime(12, 0), Qt::UTC));
}

QString Cell(const QTableWidget &table, int row, int column)
{
    return table.item(row, column) ? table.item(row, column)->text() : QStringLiteral("<none>");
}

// "verdict note file" per row, for the rows in order.
QStringList Table_Digest(const QTableWidget &table)
{
    QStringList rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows << QStringList{Cell(table, row, 1), Cell(table, row, 3), Cell(table, row, 4)}.join(' ');
    return rows;
}

// Whether the colour is at the pixel or one of its neighbours: lines two pixels wide fall either side.
bool Colour_Near(const QImage &image, const QPointF &at, const QColor &colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
            const QPoint pixel = at.toPoint() + QPoint(dx, dy);
            if (image.rect().contains(pixel) && image.pixelColor(pixel) == colour)
                return true;
        }
    return false;
}

QImage Render(const THistoryGraph &graph, const QRect &rect)
{
    QImage image(rect.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    graph.Render(&painter, rect);
    return image;
}
} // namespace

class TTestHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<TQuillon> d_window;
    THistoryDock *d_history = nullptr;

    QTableWidget &Table() { return *Child<QTableWidget>(*d_history, "history_table"); }

  private slots:
    void initTestCase()
    {
        QVERIFY(Install_Nominal_Sets());
        // Runs of one test in the folder and in old, a run with a lost line, and runs of other tests.
        QVERIFY(Write_Run(Folder("old/c_fail.dat"), Step_Gauge(7.0), QDate(2024, 1, 10)));
        QVERIFY(Write_Run(Folder("old/a_low.dat"), Step_Gauge(2.0), QDate(2024, 2, 10)));
        QVERIFY(Write_Run(Folder("b_mid.dat"), Step_Gauge(3.7), QDate(2024, 3, 10)));
        QVERIFY(
            Write_Run(Folder("e_lost_line.DAT"),
                      Step_Gauge(3.0).replace("Measurement_End::", "Point:37,1,0.001,0.0\nMeasurement_End::"),
                      QDate(2024, 4, 10)));
        QVERIFY(Write_Run(Folder("d_near.dat"), Step_Gauge(5.6), QDate(2024, 5, 10)));
        QVERIFY(Write_Run(Folder("other_axis.dat"), Step_Gauge(3.0).replace("X axis front", "Y axis front"),
                          QDate(2024, 6, 10)));
        QVERIFY(
            Write_Run(Folder("ballbar.dat"), Read_File(EXAMPLES + "ballbar_500mm.dat"), QDate(2024, 6, 10)));

        d_window = std::make_unique<TQuillon>();
        QVERIFY(Show_And_Wait(d_window.get()));
        QVERIFY(d_window->findChild<TMeasuredWidget *>()->Select_File("d_near.dat"));
        d_history = d_window->findChild<THistoryDock *>();
        QVERIFY(d_history && !d_history->isVisible());
    }

    // View -> History (Ctrl+H) opens the dock on the runs of the file on show, oldest first.
    void Opens_On_The_Runs()
    {
        QAction *show = Child<QDockWidget>(*d_window, "history_dock")->toggleViewAction();
        QCOMPARE(show->text(), QStringLiteral("History"));
        QCOMPARE(show->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
        bool in_view_menu = false;
        for (QAction *menu : d_window->menuBar()->actions())
            in_view_menu |=
                menu->text().remove(QLatin1Char('&')) == "View" && menu->menu()->actions().contains(show);
        QVERIFY(in_view_menu);
        show->trigger();
        QTRY_COMPARE(Table().rowCount(), 5);
        QTRY_VERIFY(!d_history->Scanning());

        QCOMPARE(Table_Digest(Table()),
                 QStringList({"FAIL  old/c_fail.dat", "PASS  old/a_low.dat", "PASS  b_mid.dat",
                              "INCOMPLETE  e_lost_line.DAT", "PASS near d_near.dat"}));
        const QStringList dates = {"2024-01-10", "2024-02-10", "2024-03-10", "2024-04-10", "2024-05-10"};
        for (int row = 0; row < 5; ++row)
        {
            QVERIFY2(Cell(Table(), row, 0).startsWith(dates[row]), qPrintable(Cell(Table(), row, 0)));
            const QString verdict = Cell(Table(), row, 1);
            const QColor colour = Table().item(row, 1)->foreground().color();
            QCOMPARE(colour, Verdict::Colour(verdict == "FAIL"         ? TVerdict::VERDICT_FAIL
                                             : verdict == "INCOMPLETE" ? TVerdict::VERDICT_INCOMPLETE
                                                                       : TVerdict::VERDICT_PASS));
            // A percentage for every pass or fail, none for a run that cannot be judged.
            QCOMPARE(Cell(Table(), row, 2).isEmpty(), verdict == "INCOMPLETE");
        }
        QVERIFY(Cell(Table(), 0, 2).toDouble() > 100.0);
        const double near = Cell(Table(), 4, 2).toDouble();
        QVERIFY2(near >= 80.0 && near <= 100.0, qPrintable(Cell(Table(), 4, 2)));
        QCOMPARE(d_history->Drift_Text(), QStringLiteral("The trend is falling."));
    }

    // Levels as lines across the plot, a pass as a hollow green circle and a fail as a red cross.
    void Trend_Graph_Pixels()
    {
        const THistoryGraph &graph = *d_history->Graph();
        QCOMPARE(graph.Points().size(), std::size_t(4));
        const QRect rect(0, 0, 640, 320);
        QImage image = Render(graph, rect);
        const QRectF plot = graph.Plot_Area(rect);
        for (const double x : {plot.left() + 3, plot.center().x() + 7, plot.right() - 3})
        {
            QVERIFY(Colour_Near(image, QPointF(x, graph.Y_Of(100.0, rect)), THistoryGraph::LIMIT_COLOUR));
            QVERIFY(Colour_Near(image, QPointF(x, graph.Y_Of(80.0, rect)), THistoryGraph::WARNING_COLOUR));
            QVERIFY(!Colour_Near(image, QPointF(x, graph.Y_Of(90.0, rect)), THistoryGraph::WARNING_COLOUR));
        }
        int fails = 0;
        for (const THistoryGraph::TPoint &point : graph.Points())
        {
            const QPointF centre = graph.Position(point, rect);
            const QColor colour = Verdict::Colour(point.verdict);
            const bool fail = point.verdict == TVerdict::VERDICT_FAIL;
            fails += fail;
            QVERIFY(fail || point.verdict == TVerdict::VERDICT_PASS);
            QCOMPARE(image.pixelColor(centre.toPoint()) == colour, fail);
            QVERIFY(Colour_Near(image, centre + (fail ? QPointF(4, 4) : QPointF(5, 0)), colour));
        }
        QCOMPARE(fails, 1);
    }

    // A run double-clicked in the table or on the graph is shown; the measurement folder stays.
    void Shows_A_Run()
    {
        const QString folder = d_window->findChild<TMeasuredWidget *>()->Measurement_Folder();
        emit Table().cellDoubleClicked(0, 4);
        QTRY_COMPARE(QFileInfo(d_window->Current_File_Path()).fileName(), QStringLiteral("c_fail.dat"));
        QVERIFY(Child<QLabel>(*d_window, "verdict_label")->text().contains("FAIL"));
        QTRY_VERIFY(Child<QLabel>(*d_history, "history_shown")->text().contains("old folder"));
        QCOMPARE(d_window->findChild<TMeasuredWidget *>()->Measurement_Folder(), folder);
        QCOMPARE(Table().rowCount(), 5);

        THistoryGraph *graph = d_history->Graph();
        const THistoryGraph::TPoint last = graph->Points().back();
        QTest::mouseDClick(graph, Qt::LeftButton, Qt::NoModifier,
                           graph->Position(last, graph->rect()).toPoint());
        QTRY_COMPARE(QFileInfo(d_window->Current_File_Path()).fileName(), QStringLiteral("d_near.dat"));
        QTRY_COMPARE(Child<QLabel>(*d_history, "history_shown")->text(),
                     QStringLiteral("On show: d_near.dat"));
        QCOMPARE(d_window->findChild<TMeasuredWidget *>()->Measurement_Folder(), folder);
    }

    // The warning level moves the line and the "near" marks, and is kept in the settings.
    void Warning_Level()
    {
        Child<QDoubleSpinBox>(*d_history, "history_warning")->setValue(90.0);
        QCOMPARE(Cell(Table(), 4, 3), QString());
        const QRect rect(0, 0, 640, 320);
        const QImage image = Render(*d_history->Graph(), rect);
        const double x = d_history->Graph()->Plot_Area(rect).left() + 3;
        QVERIFY(Colour_Near(image, QPointF(x, d_history->Graph()->Y_Of(90.0, rect)),
                            THistoryGraph::WARNING_COLOUR));
        QVERIFY(!Colour_Near(image, QPointF(x, d_history->Graph()->Y_Of(80.0, rect)),
                             THistoryGraph::WARNING_COLOUR));
        Child<QDoubleSpinBox>(*d_history, "history_warning")->setValue(80.0);
        QCOMPARE(Cell(Table(), 4, 3), QStringLiteral("near"));
    }

    // A wider tolerance lowers every percentage at once; the failed run passes.
    void Follows_The_Tolerance()
    {
        QStringList before;
        for (int row = 0; row < Table().rowCount(); ++row)
            before << Cell(Table(), row, 2);
        TToleranceDialog *dialog = d_window->findChild<TToleranceDialog *>();
        QTimer::singleShot(0, dialog,
                           [dialog]
                           {
                               Child<QLineEdit>(*dialog, "expression_edit")->setText("0.024 + 0.012L/1000");
                               dialog->accept();
                           });
        Child<QToolButton>(*d_window, "tolerance_button")->click();
        QCOMPARE(Cell(Table(), 0, 1), QStringLiteral("PASS"));
        for (int row = 0; row < Table().rowCount(); ++row)
            QVERIFY(before[row].isEmpty() ? Cell(Table(), row, 2).isEmpty()
                                          : Cell(Table(), row, 2).toDouble() < before[row].toDouble() * 0.7);
        QCOMPARE(Cell(Table(), 4, 3), QString());
    }

    // A new run in the folder joins the history; the export writes the summary's columns.
    void Follows_The_Folder_And_Exports()
    {
        QVERIFY(Write_Run(Folder("f_new.dat"), Step_Gauge(1.0), QDate(2024, 6, 1)));
        QTRY_COMPARE(Table().rowCount(), 6);
        QCOMPARE(Cell(Table(), 5, 4), QStringLiteral("f_new.dat"));

        QTemporaryDir out;
        THistoryDock::Set_Save_Name_Function(
            [&](const QString &, const QString &filter)
            { return out.filePath(filter.contains("csv") ? "t.csv" : "g"); });
        d_history->Export_Table();
        const QStringList lines = QString::fromUtf8(Read_File(out.filePath("t.csv"))).split('\n');
        QCOMPARE(lines.value(0), QStringLiteral("Modified,Kind,Identity,Verdict,Percent,File"));
        QCOMPARE(lines.size(), 8); // header, six runs, the empty rest after the last line end
        QVERIFY(lines.value(1).endsWith(",PASS," + Cell(Table(), 0, 2) + "," + Folder("old/c_fail.dat")));
        d_history->Export_Graph();
        QVERIFY(Read_File(out.filePath("g.png")).startsWith("\x89PNG"));
        THistoryDock::Set_Save_Name_Function(nullptr);
    }

    void cleanupTestCase()
    {
        d_window->close();
        QVERIFY(Read_File(Settings()).contains("History_Warning_Percent=80"));
        d_window.reset();
    }
};

QUILLON_APP_TEST_MAIN(TTestHistory)
#include "tst_history.moc"
