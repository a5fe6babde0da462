// What a metrologist reads off the graph of a measurement, in pixels: the points outside E MPL in red, the
// verdict's worst point ringed, a legend for several curves, the temperature limits and the magnification.

#include "model/presentation.h"
#include "model/verdict.h"
#include "widgets/graphwidget.h"

#include <QImage>
#include <QRegion>
#include <QtTest>
#include <algorithm>

using TCurves = std::vector<std::vector<TVector2>>;

namespace
{
const QRgb Red = Verdict::Colour(TVerdict::VERDICT_FAIL).rgb();
const QRgb Green = Verdict::Colour(TVerdict::VERDICT_PASS).rgb();
const QRgb Limit = qRgb(164, 164, 255);

struct TMarkRow
{
    TMeasureData::TFileContents kind;
    TCurves curves;
    bool point_graph;
    TGraphNotes notes;
    // Pixels of the colour expected within 4 pixels of each point, on a ring 8 pixels about the point,
    // and at the data value's row across the plot (the limit lines); a point that is not in the list is
    // checked to have none.
    std::vector<TVector2> red_points;
    TVector2 ring;
    QRgb ring_color;
    std::vector<double> limit_rows;
    QStringList legend;
    bool note;                 // text in the plot's lower left corner
    bool legend_moved = false; // data fills the upper left corner
};

// Pixels of the area, inside the image, that pass the test.
template <class TTest> int Count(const QImage &image, const QRect &area, TTest test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.rect().contains(x, y) && test(image.pixel(x, y));
    return count;
}
int Count(const QImage &image, const QRect &area, QRgb color)
{
    return Count(image, area, [color](QRgb pixel) { return pixel == color; });
}
// Text and the legend's frame: dark pixels without a hue, whether the text is antialiased (Qt 6) or not;
// the curves' and marks' colours all have one.
bool Dark_Grey(QRgb c)
{
    const int hue = std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)});
    return qGray(c) < 160 && hue < 40;
}
} // namespace

Q_DECLARE_METATYPE(TMarkRow)

class TTestGraphPresentation : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Marks_data()
    {
        QTest::addColumn<TMarkRow>("row");
        const TMeasureData::TFileContents gauge = TMeasureData::CONTENTS_STEPGAUGE_10360;
        const TCurves failing = {{{100, 0.001}, {300, 0.030}, {500, -0.004}}, {{100, -0.002}, {300, -0.020}}};
        const auto row = [](const char *name, TMeasureData::TFileContents kind, const TCurves &curves,
                            bool point_graph, const TGraphNotes &notes, const std::vector<TVector2> &red,
                            const TVector2 &ring, QRgb ring_color, const std::vector<double> &limits,
                            const QStringList &legend, bool note, bool moved = false)
        {
            QTest::newRow(name) << TMarkRow{kind,       curves, point_graph, notes, red,  ring,
                                            ring_color, limits, legend,      note,  moved};
        };
        const QStringList runs = {"Run 1", "Run 2"};
        row("crosses", gauge, failing, true, {}, {{300, 0.030}, {300, -0.020}}, {300, 0.030}, Red, {}, runs,
            false);
        row("line vertices", gauge, failing, false, {}, {{300, 0.030}, {300, -0.020}}, {300, 0.030}, Red, {},
            runs, false);
        row("pass, one run", TMeasureData::CONTENTS_LASER_10360, {{{0, 0.001}, {400, -0.009}}}, true, {}, {},
            {400, -0.009}, Green, {}, {}, false);
        row("legend off the data", gauge, {{{100, 0.014}, {500, 0.001}}, {{100, 0.0}, {500, -0.001}}}, true,
            {}, {{100, 0.014}}, {100, 0.014}, Red, {}, runs, false, true);
        TGraphNotes sensors;
        sensors.curve_numbers = {3, 12};
        row("temperature", TMeasureData::CONTENTS_TEMPERATURE,
            {{{8, 19.0}, {9, 20.5}}, {{8, 20.0}, {9, 21.0}}}, false, sensors, {}, {}, 0, {18.0, 22.0},
            {"Sensor 3", "Sensor 12"}, false);
        TGraphNotes scale;
        scale.magnification = 250;
        const std::vector<TVector2> circle = {{0, 5}, {5, 0}, {0, -5}, {-5, 0}, {0, 5}};
        row("pin gauge", TMeasureData::CONTENTS_PIN_GAUGE, {circle, circle, circle}, false, scale, {}, {}, 0,
            {}, {}, true);
    }

    void Marks()
    {
        QFETCH(TMarkRow, row);
        const TPresentation shown =
            Presentation::Present(row.kind, row.curves, TTolerance::Default(), row.point_graph, row.notes);
        QStringList names;
        for (const TGraphTypes::TLegendEntry &entry : shown.legend)
            names << entry.name;
        QCOMPARE(names, row.legend);

        TGraphWidget graph;
        graph.resize(800, 500);
        graph.Show(shown.setup, shown.data_sets, shown.legend);
        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        graph.UpdateGraph();
        const QImage image = graph.Background_Pixmap().toImage();
        const TGraphView &view = graph.View();
        const QRect &plot = graph.Layout().plot;
        const auto pixel = [&](const TVector2 &point)
        { return QPoint(view.x.Pixel(point.x), view.y.Pixel(point.y)); };

        // Red at each point outside E MPL, a ring about the worst point, and neither anywhere else.
        QRegion marked;
        for (const TVector2 &point : row.red_points)
        {
            const QRect near(pixel(point) - QPoint(3, 3), QSize(7, 7));
            QVERIFY(Count(image, near, Red) >= 7);
            marked += near;
        }
        const QRect ring(pixel(row.ring) - QPoint(10, 10), QSize(21, 21));
        QVERIFY(!row.ring_color || Count(image, ring, row.ring_color) >= 40);
        marked += row.ring_color ? ring : QRect();
        int stray = 0;
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            for (int x = plot.left(); x <= plot.right(); ++x)
                stray += image.pixel(x, y) == Red && !marked.contains(QPoint(x, y));
        QCOMPARE(stray, 0);
        QVERIFY(row.ring_color == Red || Count(image, plot, Red) == 0);

        // Limit lines run across the plot at the limits.
        for (const double value : row.limit_rows)
            QVERIFY(Count(image, QRect(plot.left(), view.y.Pixel(value), plot.width(), 1), Limit) >
                    plot.width() / 2);

        // A legend box in the upper left corner unless data is there, the note in the lower left one; both
        // black text.
        const QRect upper_left(plot.left() + 1, plot.top() + 1, plot.width() / 4, plot.height() / 4);
        const QRect lower_left(plot.left() + 1, plot.bottom() - plot.height() / 8, plot.width() / 4,
                               plot.height() / 8);
        QCOMPARE(Count(image, upper_left, Dark_Grey) > 20, !row.legend.isEmpty() && !row.legend_moved);
        QVERIFY(!row.legend_moved || Count(image, plot, Dark_Grey) > 20); // in a corner with fewer points
        // The note's small text is mostly grey edges; the moved legend went down here.
        QCOMPARE(Count(image, lower_left, [](QRgb c) { return qGray(c) < 128; }) > 10,
                 row.note || row.legend_moved);
    }

    // Six sensors' legend would hide most of a small plot, so it is left out there and shown in a larger one.
    void Legend_Fits()
    {
        TGraphNotes sensors;
        sensors.curve_numbers = {1, 2, 3, 4, 5, 11};
        const TPresentation shown =
            Presentation::Present(TMeasureData::CONTENTS_TEMPERATURE, TCurves(6, {{8, 19.0}, {9, 21.0}}),
                                  TTolerance::Default(), false, sensors);
        for (const QSize &size : {QSize(400, 160), QSize(800, 500)})
        {
            TGraphWidget graph;
            graph.resize(size);
            graph.Show(shown.setup, shown.data_sets, shown.legend);
            graph.show();
            QVERIFY(QTest::qWaitForWindowExposed(&graph));
            graph.UpdateGraph();
            const QRect plot = graph.Layout().plot.adjusted(1, 1, -1, -1);
            QCOMPARE(Count(graph.Background_Pixmap().toImage(), plot, Dark_Grey) > 20, size.height() > 300);
        }
    }

    void Magnification_Text()
    {
        const std::pair<double, const char *> rows[] = {{250, "250"},     {2487.3, "2500"}, {253.7, "250"},
                                                        {10000, "10000"}, {1, "1"},         {1.37, "1.4"},
                                                        {9.96, "10"}};
        for (const auto &row : rows)
            QCOMPARE(Presentation::Magnification_Text(row.first), QString::fromUtf8("\u00d7") + row.second);
    }
};

QTEST_MAIN(TTestGraphPresentation)
#include "tst_graphpresentation.moc"
