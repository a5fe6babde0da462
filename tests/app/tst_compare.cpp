// Two runs shown together: the overlay's pixels, and the window's list selection turning into the
// comparison table, the legend and the newer run's verdict, or a one-line reason. Following the
// measuring machine: a file written in pieces is shown once it is complete, never half written, and only
// marked while the user has just selected a file by hand.

#include "tests/app/apptest.h"

#include "app/comparisonview.h"
#include "widgets/graphwidget.h"

namespace
{
bool Copy(const QString &example, const QString &path, const QDateTime &modified, const QByteArray &from = {},
          const QByteArray &to = {})
{
    const QByteArray data = Read_File(EXAMPLES + example);
    return (from.isEmpty() || data.contains(from)) &&
           Write_File(path, QByteArray(data).replace(from, to), modified);
}

// The pixels of the colour in the image, and the runs of neighbouring ones in the row that has most.
QPair<int, int> Pixels_And_Runs(const QImage &image, QRgb color)
{
    int total = 0, most = 0, runs = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        int count = 0, row_runs = 0;
        for (int x = 0; x < image.width(); ++x)
        {
            count += image.pixel(x, y) == color;
            row_runs += image.pixel(x, y) == color && (x == 0 || image.pixel(x - 1, y) != color);
        }
        total += count;
        runs = count > most ? row_runs : runs;
        most = std::max(most, count);
    }
    return {total, runs};
}

QStringList Legend(const TQuillon &window)
{
    QStringList names;
    for (const TGraphTypes::TLegendEntry &entry : Child<TGraphWidget>(window, "graph")->Legend_Entries())
        names << entry.name + (entry.dashed ? " dashed" : "");
    return names;
}

// Selects the named files as a user does: a click, then Ctrl+clicks.
void Select(const TQuillon &window, const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i)
        QVERIFY2(Click_Item(Child<QListWidget>(window, "file_list"), names[i],
                            i == 0 ? Qt::NoModifier : Qt::ControlModifier),
                 qPrintable(names[i]));
}

// Writes the example in three pieces 200 ms apart, as a measuring program does. The window must not have
// shown the file before the last piece: false when it did.
bool Write_In_Pieces(const TQuillon &window, const QString &path)
{
    const QByteArray data = Read_File(EXAMPLES + "laser_pmove_x_axis.dat");
    const int piece = static_cast<int>(data.size()) / 3;
    for (int i = 0; i < 3; ++i)
    {
        QFile file(path);
        if (!file.open(QIODevice::Append) || file.write(data.mid(i * piece, i == 2 ? -1 : piece)) < 0)
            return false;
        file.close();
        if (window.Current_File_Path() == path)
            return false;
        if (i < 2)
            QTest::qWait(200);
    }
    return true;
}
} // namespace

class TTestCompare : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Overlay_Pixels_data()
    {
        QTest::addColumn<bool>("point_graph");
        QTest::newRow("lines") << false;
        QTest::newRow("crosses") << true;
    }

    void Overlay_Pixels()
    {
        QFETCH(bool, point_graph);
        std::vector<TVector2> older;
        std::vector<TVector2> newer;
        for (int i = 0; i <= 10; ++i)
        {
            older.emplace_back(100.0 * i, -0.004);
            newer.emplace_back(100.0 * i, 0.004);
        }
        const TComparisonGraph graph = ComparisonView::Present(
            TMeasureData::CONTENTS_LASER_PMOVE, {older}, {newer}, TTolerance::Default(), point_graph,
            QStringLiteral("old.dat"), QStringLiteral("new.dat"));
        TGraphWidget widget;
        widget.Show(graph.presentation.setup, graph.presentation.data_sets);
        const auto render = [&widget]()
        {
            QImage image(800, 500, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            widget.PaintToDevice(&painter, image.rect(), false);
            return image;
        };
        const QImage image = render();
        const QRgb older_color = graph.presentation.data_sets.at(0).dataset_color.rgb();
        const QRgb newer_color = graph.presentation.data_sets.at(1).dataset_color.rgb();
        QVERIFY(QColor(newer_color).lightness() > QColor(older_color).lightness());
        // The older run as always: one solid line, or the arms of eleven crosses.
        const int older_runs = Pixels_And_Runs(image, older_color).second;
        QVERIFY2(point_graph ? older_runs >= 11 : older_runs == 1, qPrintable(QString::number(older_runs)));
        // The newer one dashed: many short runs along its row.
        const int dashes = Pixels_And_Runs(image, newer_color).second;
        QVERIFY2(dashes > 20, qPrintable(QString::number(dashes)));

        // The legend adds a sample of each pen.
        widget.Set_Legend_Entries(graph.legend);
        const QImage with_legend = render();
        for (const QRgb color : {older_color, newer_color})
            QVERIFY(Pixels_And_Runs(with_legend, color).first > Pixels_And_Runs(image, color).first);
    }

    void Window()
    {
        QTemporaryDir dir;
        const QDateTime day(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
        // Listed first but written last, so the list's order is not the age order.
        QVERIFY(Copy("laser_pmove_x_axis.dat", dir.filePath("a_after.dat"), day.addDays(1),
                     "-500.0000,0.00049\n", "-500.0000,0.00249\n"));
        QVERIFY(Copy("laser_pmove_x_axis.dat", dir.filePath("b_before.dat"), day));
        QVERIFY(Copy("laser_10360_x_axis.dat", dir.filePath("c_laser.dat"), day));
        QVERIFY(Copy("ballbar_500mm.dat", dir.filePath("d_ballbar.dat"), day));
        QVERIFY(Copy("ballbar_500mm.dat", dir.filePath("e_ballbar.dat"), day));
        TQuillon window;
        QVERIFY(window.Open_Path(dir.path()) && Show_And_Wait(&window));
        const auto report = [&window] { return Child<QPlainTextEdit>(window, "report_pane")->toPlainText(); };
        const QLabel *verdict = Child<QLabel>(window, "verdict_label");
        const TGraphWidget *graph = Child<TGraphWidget>(window, "graph");

        Select(window, {"a_after.dat"});
        const QString newer_verdict = verdict->text();
        QVERIFY(newer_verdict.startsWith(QLatin1String("Verdict: ")));
        QVERIFY(Legend(window).isEmpty());

        Select(window, {"a_after.dat", "b_before.dat"});
        QStringList lines = report().split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(0, 3),
                 (QStringList{"Comparison of deviations in mm", "  A: b_before.dat", "  B: a_after.dat"}));
        QCOMPARE(lines.constLast(), QStringLiteral("Largest change: 0.0005 mm at 100.0000 mm (curve 1)"));
        QCOMPARE(Legend(window), (QStringList{"b_before.dat", "a_after.dat dashed"}));
        QVERIFY(graph->isVisible());
        QCOMPARE(verdict->text(), newer_verdict);
        QCOMPARE(window.Current_File_Path(), dir.filePath("a_after.dat"));

        // Shift+Down moves the second end of the selection on, to a run of another kind.
        QListWidget *list = Child<QListWidget>(window, "file_list");
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(list->selectedItems().size(), 3);
        Select(window, {"b_before.dat"});
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(report(), QStringLiteral("Cannot compare b_before.dat and c_laser.dat: the files hold "
                                          "different kinds of measurement: laser_pmove and laser_10360"));
        QVERIFY(!graph->isVisible());
        QVERIFY(verdict->text().isEmpty());

        Select(window, {"d_ballbar.dat", "e_ballbar.dat"});
        QCOMPARE(report(), QStringLiteral("Cannot compare d_ballbar.dat and e_ballbar.dat: ballbar "
                                          "measurements have no deviations along positions to compare"));

        // One file again: its own report and graph, no legend.
        Select(window, {"b_before.dat"});
        QVERIFY2(!report().startsWith(QLatin1String("Comparison")), qPrintable(report()));
        QVERIFY(Legend(window).isEmpty());
        QVERIFY(graph->isVisible());
    }

    // A new file is shown once complete, unless the user just chose one by hand: then it is marked until
    // looked at. Following is kept at close.
    void Follow()
    {
        QTemporaryDir dir;
        QVERIFY(Write_File(dir.filePath("earlier.dat"), Read_File(EXAMPLES + "laser_10360_x_axis.dat")));
        TQuillon window;
        QVERIFY(window.Open_Path(dir.path()) && Show_And_Wait(&window));
        QAction *follow = Child<QAction>(window, "follow_action");
        QVERIFY(follow && follow->isCheckable() && !follow->isChecked());
        follow->trigger();
        const TMeasuredWidget *files = window.findChild<TMeasuredWidget *>();
        QSignalSpy loads(files, &TMeasuredWidget::Load_Data);

        const QString path = dir.filePath("new_run.dat");
        QVERIFY(Write_In_Pieces(window, path));
        QCOMPARE(loads.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(window.Current_File_Path(), path, 3000);
        QCOMPARE(loads.count(), 1);
        QVERIFY(
            !Child<QPlainTextEdit>(window, "report_pane")->toPlainText().startsWith(QLatin1String("ERR")));
        QCOMPARE(window.findChild<QStatusBar *>()->currentMessage(),
                 QStringLiteral("Showing new file new_run.dat"));
        QVERIFY(!files->Marked("new_run.dat"));

        QListWidget *list = Child<QListWidget>(window, "file_list");
        QVERIFY(Click_Item(list, "earlier.dat"));
        QCOMPARE(window.Current_File_Path(), dir.filePath("earlier.dat"));
        const QString second = dir.filePath("second_run.dat");
        QVERIFY(Write_In_Pieces(window, second));
        QTRY_VERIFY_WITH_TIMEOUT(files->Marked("second_run.dat"), 3000);
        QCOMPARE(window.Current_File_Path(), dir.filePath("earlier.dat"));
        QVERIFY(list->findItems("second_run.dat", Qt::MatchExactly).value(0)->font().bold());
        QVERIFY(Click_Item(list, "second_run.dat"));
        QCOMPARE(window.Current_File_Path(), second);
        QVERIFY(!files->Marked("second_run.dat"));
        QVERIFY(!list->findItems("second_run.dat", Qt::MatchExactly).value(0)->font().bold());
        window.close();
        QVERIFY(Read_File(Settings()).contains("Follow_New_Files=true"));
    }
};

QUILLON_APP_TEST_MAIN(TTestCompare)
#include "tst_compare.moc"
