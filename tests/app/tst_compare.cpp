// Two runs shown together: the overlay's pixels, and the window's list selection turning into the
// comparison table, the legend and the newer run's verdict, or a one-line reason.

#include "tests/app/apptest.h"

#include "app/comparisonview.h"
#include "app/quillon.h"
#include "widgets/graphwidget.h"

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");

bool Copy(const QString &example, const QString &path, const QDateTime &modified, const QByteArray &from = {},
          const QByteArray &to = {})
{
    const QByteArray data = Read_File(EXAMPLES + example);
    return (from.isEmpty() || data.contains(from)) &&
           Write_File(path, QByteArray(data).replace(from, to), modified);
}

int Count(const QImage &image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color;
    return count;
}

// The runs of neighbouring pixels of the colour in the image row where it is most frequent.
int Runs_In_Fullest_Row(const QImage &image, QRgb color)
{
    int best_row = -1;
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color;
        if (count > most)
        {
            most = count;
            best_row = y;
        }
    }
    int runs = 0;
    for (int x = 0; best_row >= 0 && x < image.width(); ++x)
        runs += image.pixel(x, best_row) == color && (x == 0 || image.pixel(x - 1, best_row) != color);
    return runs;
}

QString Report(const TQuillon &window)
{
    return Child<QPlainTextEdit>(window, "report_pane")->toPlainText();
}

QString Verdict_Text(const TQuillon &window)
{
    return Child<QLabel>(window, "verdict_label")->text();
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
} // namespace

class TTestCompare : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(d_dir.isValid());
        const QDateTime day(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
        // Listed first but written last, so the list's order is not the age order.
        QVERIFY(Copy("laser_pmove_x_axis.dat", d_dir.filePath("a_after.dat"), day.addDays(1),
                     "-500.0000,0.00049\n", "-500.0000,0.00249\n"));
        QVERIFY(Copy("laser_pmove_x_axis.dat", d_dir.filePath("b_before.dat"), day));
        QVERIFY(Copy("laser_10360_x_axis.dat", d_dir.filePath("c_laser.dat"), day));
        QVERIFY(Copy("ballbar_500mm.dat", d_dir.filePath("d_ballbar.dat"), day));
        QVERIFY(Copy("ballbar_500mm.dat", d_dir.filePath("e_ballbar.dat"), day));
    }

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
        QVERIFY(older_color != newer_color);
        QCOMPARE(QColor(newer_color), ComparisonView::Lighter(QColor(older_color)));
        // The older run as always: one solid line, or the arms of eleven crosses.
        if (point_graph)
            QVERIFY(Runs_In_Fullest_Row(image, older_color) >= 11);
        else
            QCOMPARE(Runs_In_Fullest_Row(image, older_color), 1);
        // The newer one dashed: many short runs along its row.
        const int dashes = Runs_In_Fullest_Row(image, newer_color);
        QVERIFY2(dashes > 20, qPrintable(QString::number(dashes)));

        // The legend adds a sample of each pen.
        widget.Set_Legend_Entries(graph.legend);
        const QImage with_legend = render();
        for (const QRgb color : {older_color, newer_color})
            QVERIFY(Count(with_legend, color) > Count(image, color));
        QCOMPARE(graph.legend.size(), std::size_t(2));
        QCOMPARE(graph.legend[0].name, QStringLiteral("old.dat"));
        QVERIFY(!graph.legend[0].dashed && graph.legend[1].dashed);
        QCOMPARE(graph.legend[1].color.rgb(), newer_color);
    }

    void Window()
    {
        TQuillon window;
        QVERIFY(window.Open_Path(d_dir.path()) && Show_And_Wait(&window));

        Select(window, {"a_after.dat"});
        const QString newer_verdict = Verdict_Text(window);
        QVERIFY(newer_verdict.startsWith(QLatin1String("Verdict: ")));
        QVERIFY(Legend(window).isEmpty());

        Select(window, {"a_after.dat", "b_before.dat"});
        QStringList lines = Report(window).split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(0, 3),
                 (QStringList{"Comparison of deviations in mm", "  A: b_before.dat", "  B: a_after.dat"}));
        QCOMPARE(lines.constLast(), QStringLiteral("Largest change: 0.0005 mm at 100.0000 mm (curve 1)"));
        QCOMPARE(Legend(window), (QStringList{"b_before.dat", "a_after.dat dashed"}));
        QVERIFY(Child<TGraphWidget>(window, "graph")->isVisible());
        QCOMPARE(Verdict_Text(window), newer_verdict);
        QCOMPARE(window.Current_File_Path(), d_dir.filePath("a_after.dat"));

        // Shift+Down moves the second end of the selection on, to a run of another kind.
        QListWidget *list = Child<QListWidget>(window, "file_list");
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(list->selectedItems().size(), 3);
        Select(window, {"b_before.dat"});
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(Report(window),
                 QStringLiteral("Cannot compare b_before.dat and c_laser.dat: the files hold "
                                "different kinds of measurement: laser_pmove and laser_10360"));
        QVERIFY(!Child<TGraphWidget>(window, "graph")->isVisible());
        QVERIFY(Verdict_Text(window).isEmpty());

        Select(window, {"d_ballbar.dat", "e_ballbar.dat"});
        QCOMPARE(Report(window),
                 QStringLiteral("Cannot compare d_ballbar.dat and e_ballbar.dat: ballbar "
                                "measurements have no deviations along positions to compare"));

        // One file again: its own report and graph, no legend.
        Select(window, {"b_before.dat"});
        lines = Report(window).split(QLatin1Char('\n'));
        QVERIFY2(!lines.constFirst().startsWith(QLatin1String("Comparison")), qPrintable(lines.constFirst()));
        QVERIFY(Legend(window).isEmpty());
        QVERIFY(Child<TGraphWidget>(window, "graph")->isVisible());
    }

  private:
    QTemporaryDir d_dir;
};

QUILLON_APP_TEST_MAIN(TTestCompare)
#include "tst_compare.moc"
