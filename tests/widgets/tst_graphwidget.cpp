// The graph widget: data sets, fitting the view to the data, labels and ticks, what it paints, and
// the mouse: zoom box, pan, zoom out and the coordinate read-out. Merging the segments of a pixel column
// paints exactly the pixels of the list it came from, for raw segment lists and for whole graphs.

#include "graph/graphreduction.h"
#include "tests/common/test_support.h"
#include "widgets/graphwidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <limits>
#include <random>

using TPoints = std::vector<TVector2>;
using TLines = std::vector<QLine>;
Q_DECLARE_METATYPE(TLines)

namespace
{
const double Nan = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();
const QRgb Light_Gray = QColor(Qt::lightGray).rgb();
const QRgb Black = qRgb(0, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

struct TFitRow
{
    TPoints points;
    bool includes_zero, symmetric;
    double minimum; // of y
    QRectF range;   // x, y, width, height of the data range before margins; null: any valid range
    int mode;       // of both axes
    bool lock;      // the aspect ratio
};

struct TDragRow
{
    QPoint drag;
    bool zooms;
};

// The graph the assertion children break.
TGraphWidget *g_graph = nullptr;

// Data values at the plot area's edges.
struct TVisible
{
    double xl, xr, yb, yt;
};
TVisible Visible(const TGraphWidget &graph)
{
    const QRect &plot = graph.Layout().plot;
    return {graph.View().x.Value(plot.left()), graph.View().x.Value(plot.right()),
            graph.View().y.Value(plot.bottom()), graph.View().y.Value(plot.top())};
}

bool Near(double a, double b, double scale)
{
    return std::fabs(a - b) <= 1e-9 * std::fabs(scale);
}

// Mouse moves go straight to the widget: Qt 5's QTest::mouseMove moves the cursor instead, which the
// offscreen platform does not turn into events.
void Move(QWidget *widget, const QPoint &position, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(position), QPointF(widget->mapToGlobal(position)),
                      Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Coloured runs of one image row: (first column, length).
QVector<QPair<int, int>> Runs(const QImage &image, int row, QRgb color)
{
    QVector<QPair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, row) == color && !runs.isEmpty() && runs.last().first + runs.last().second == x)
            ++runs.last().second;
        else if (image.pixel(x, row) == color)
            runs.append({x, 1});
    return runs;
}

int Count(const QImage &image, const QRect &area, QRgb color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == color;
    return count;
}

// The graph rendered onto a white image through the device interface, with the device's plot area.
struct TDevice
{
    QImage image;
    QRect plot;
    int font_height;
};
TDevice Render(TGraphWidget &graph, const QSize &size, bool border = true)
{
    TDevice device{QImage(size, QImage::Format_RGB32), QRect(), 0};
    device.image.fill(Qt::white);
    QPainter painter(&device.image);
    // Before painting: the titles leave their font on the painter.
    device.font_height = painter.fontMetrics().height();
    device.plot = TGraphLayout::Device(device.image.rect(), device.font_height).plot;
    graph.PaintToDevice(&painter, device.image.rect(), border);
    return device;
}
TDevice Render(int type, const TPoints &points, const QSize &size, const QColor &color = QColor(Blue))
{
    TGraphWidget graph;
    graph.SetPoints(graph.CreateDataSet(color, TGraphWidget::TGraphType(type)), points);
    return Render(graph, size);
}

// A 640 x 480 graph on the screen with one line set.
bool Show(TGraphWidget &graph, const TPoints &points)
{
    graph.SetPoints(graph.CreateDataSet(Qt::blue, TGraphWidget::GRAPH_LINE), points);
    graph.resize(640, 480);
    graph.show();
    const bool exposed = QTest::qWaitForWindowExposed(&graph);
    graph.UpdateGraph();
    return exposed;
}

QImage Paint(const TLines &lines)
{
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(Blue)));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    return image;
}

TLines Merged(const TLines &lines)
{
    TLines out;
    TColumnMerger merger(&out);
    for (const QLine &line : lines)
        merger.Add(line);
    merger.Finish();
    return out;
}

// A random walk that moves to the next column now and then, as dense measurement curves do.
TLines Walk(int count, int column_step_every, unsigned seed)
{
    std::mt19937 random(seed);
    TLines lines;
    QPoint at(5, 45);
    for (int i = 0; i < count; ++i)
    {
        QPoint next(at.x() + (static_cast<int>(random() % column_step_every) == 0 ? 1 : 0),
                    std::clamp(at.y() + static_cast<int>(random() % 9) - 4, -10, 100));
        lines.emplace_back(at, next);
        at = next;
    }
    return lines;
}
} // namespace

Q_DECLARE_METATYPE(TFitRow)
Q_DECLARE_METATYPE(TDragRow)

class TTestGraphWidget : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Colors()
    {
        QStringList colors; // valid, red, green, blue
        for (int i = 0; i <= 97; ++i)
        {
            int r = 7, g = 7, b = 7;
            const bool valid = TGraphWidget::GenerateRGBColor(i, &r, &g, &b);
            colors << QStringLiteral("%1 %2 %3 %4").arg(valid).arg(r).arg(g).arg(b);
        }
        QCOMPARE(colors.mid(0, 8).join(", "), "1 255 0 0, 1 0 127 0, 1 0 0 255, 1 255 127 0, 1 0 127 255, "
                                              "1 255 0 255, 1 128 0 0, 1 0 64 0");
        QCOMPARE(colors.mid(96).join(QLatin1String(", ")), QStringLiteral("1 0 0 0, 0 0 0 0"));
        QCOMPARE(QSet<QString>(colors.begin(), colors.end()).size(), 98); // all distinct
    }

    void Data_Sets()
    {
        TGraphWidget graph;
        QCOMPARE(graph.CreateDataSet(Qt::red, TGraphWidget::GRAPH_LINE), 0);
        QCOMPARE(graph.CreateDataSet(Qt::green, TGraphWidget::GRAPH_BAR), 1);
        graph.CreateDataSet(Qt::blue, TGraphWidget::GRAPH_BOX);
        graph.AddPoint(1, TVector2(1, 10));
        graph.AddPoints(1, {TVector2(2, 20), TVector2(3, 30), TVector2(4, 40)});
        graph.SetPoints(2, {TVector2(5, 50)});
        graph.ModifyPoint(1, 2, TVector2(-3, -30));
        graph.DeletePoint(1, 1); // later points move down
        QCOMPARE(QPointF(graph.GetPoint(1, 0).x, graph.GetPoint(1, 1).y), QPointF(1, -30));
        graph.DeleteDataSet(0); // later sets move down
        QCOMPARE(graph.GetPoint(1, 0).x, 5.0);
        graph.DeletePoints(0); // the set itself stays
        QCOMPARE(graph.DataSetSize(0), 0);
    }

    void Preconditions()
    {
        g_graph = &d_broken;
        d_broken.AddPoint(d_broken.CreateDataSet(Qt::red, TGraphWidget::GRAPH_LINE), TVector2(1, 1));
        const TChildRun runs[] = {{[] { g_graph->AddPoint(1, TVector2()); }, true},
                                  {[] { g_graph->ModifyPoint(0, 1, TVector2()); }, true},
                                  {[] { g_graph->ModifyPoint(0, 0, TVector2()); }, false},
                                  {[] { g_graph->PaintToDevice(nullptr, QRect(0, 0, 9, 9), true); }, true}};
        for (const TChildRun &run : runs)
            QCOMPARE(Child_Outcome(run.action), Expected_Outcome(run));
    }

    void Fit_To_Data_data()
    {
        QTest::addColumn<TFitRow>("row");
        const TPoints rising = {{1, 10}, {2, 20}};
        const auto row = [](const char *name, const TPoints &points, bool includes_zero, bool symmetric,
                            double minimum, const QRectF &range, int mode = TGraphWidget::SCALE_LINEAR)
        { QTest::newRow(name) << TFitRow{points, includes_zero, symmetric, minimum, range, mode, false}; };
        row("empty set", {}, true, true, 5e-6, QRectF(-5e-6, -5e-6, 1e-5, 1e-5));
        row("one point", {{3, 7}}, true, true, 5e-6, QRectF(3 - 5e-6, -5e-6, 1e-5, 7 + 5e-6));
        row("above zero, symmetric", rising, true, true, 5e-6, QRectF(1, -5e-6, 1, 20 + 5e-6));
        row("below zero, not symmetric", {{1, -20}, {2, -10}}, true, false, 5e-6,
            QRectF(1, -20, 1, 20 + 5e-6));
        row("zero not included", rising, false, true, 5e-6, QRectF(1, 10, 1, 10));
        row("minimum zero", {}, true, true, 0.0, QRectF(-5e-6, -5e-5, 1e-5, 1e-4));
        row("minimum 2, not symmetric", {}, true, false, 2.0, QRectF(-5e-6, -5e-6, 1e-5, 2 + 5e-6));
        row("spans below 1e-5", {{0, 0}, {4e-6, 4e-6}}, false, true, 5e-6,
            QRectF(-5e-6, -5e-6, 1.4e-5, 1.4e-5));
        row("not finite skipped", {{Nan, 1}, {1, Inf}, {2, 3}, {-Inf, 5}, {4, -1}, {5, Nan}}, true, true,
            5e-6, QRectF(2, -1, 2, 4));
        row("integer axes: no margins", {{0, 0}, {10, 5}}, true, true, 5e-6, QRectF(0, -5e-6, 10, 5 + 5e-6),
            TGraphWidget::SCALE_INTEGER);
        // Data that once broke the view, on both kinds of axes.
        const auto extreme = [](const char *name, const TPoints &points, bool lock = false)
        {
            for (const int mode : {TGraphWidget::SCALE_LINEAR, TGraphWidget::SCALE_INTEGER})
                QTest::addRow("%s, mode %d", name, mode)
                    << TFitRow{points, false, true, 5e-6, QRectF(), mode, lock};
        };
        const double big = std::numeric_limits<double>::max();
        extreme("1e300", {{-1e300, -1e300}, {1e300, 1e300}});
        extreme("1e300 equal", {{1e300, 1e300}, {1e300, 1e300}});
        extreme("max double", {{-big, big}, {big, -big}});
        extreme("1e10 span 1e-12", {{1e10, 1e10}, {1e10 + 1e-12, 1e10}});
        extreme("only not finite", {{Nan, Nan}, {Inf, -Inf}});
        extreme("flat, aspect locked", {{1, 1}, {2, 1}}, true); // no y span to derive x from
        extreme("aspect locked", {{0, -2}, {10, 5}}, true);
    }

    void Fit_To_Data()
    {
        // The fitted view, then zoomed out, into a tiny box and panned: it stays valid, its labels short.
        QFETCH(TFitRow, row);
        const QRectF &range = row.range;
        TGraphWidget graph;
        graph.EnableYIncludesZero(row.includes_zero);
        graph.SetScaleMinimumY(row.minimum, row.symmetric);
        graph.Set_Scale_Modes(row.mode, row.mode);
        graph.Set_Lock_Aspect_Ratio(row.lock);
        for (int type = TGraphWidget::GRAPH_DEFAULT; type <= TGraphWidget::GRAPH_BOX; ++type)
            graph.SetPoints(graph.CreateDataSet(Qt::blue, TGraphWidget::TGraphType(type)), row.points);
        QVERIFY(Show(graph, {}));
        const double share = row.mode == TGraphWidget::SCALE_LINEAR ? 1.0 / 50 : 0.0;
        const double mx = range.width() * share, my = range.height() * share;
        const TVisible fitted = Visible(graph);
        QVERIFY(range.isNull() || (Near(graph.Full_X_Range(), range.width(), range.width()) &&
                                   Near(graph.Full_Y_Range(), range.height(), range.height())));
        QVERIFY(range.isNull() || (Near(fitted.xl, range.left() - mx, range.width()) &&
                                   Near(fitted.xr, range.right() + mx, range.width())));
        QVERIFY(range.isNull() || (Near(fitted.yb, range.top() - my, range.height()) &&
                                   Near(fitted.yt, range.bottom() + my, range.height())));
        const QRect plot = graph.Layout().plot;
        const TGraphView &view = graph.View();
        // Locked: one data unit is equally long on both axes (a flat line has no y span to take x from).
        QVERIFY(!row.lock || row.points[0].y == row.points[1].y || Near(view.x.scale, -view.y.scale, 1));
        for (const QRect &box : {QRect(), QRect(plot.center(), QSize(3, 3)), plot.translated(-300, 200)})
        {
            const TVisible v = Visible(graph);
            Move(&graph, plot.center());
            QVERIFY(std::isfinite(view.x.scale + view.x.offset + view.y.scale + view.y.offset +
                                  graph.Full_X_Range() + graph.Full_Y_Range()));
            QVERIFY(view.x.scale > 0 && view.y.scale < 0 && v.xl < v.xr && v.yb < v.yt &&
                    graph.Full_X_Range() > 0 && graph.Full_Y_Range() > 0);
            QVERIFY(graph.Coordinate_Text().size() < 40 &&
                    graph.Horizontal_Label_Format().field_width <= 24 &&
                    graph.Vertical_Label_Format().field_width <= 24);
            box.isNull() ? graph.ZoomOut() : graph.Update_Viewport_To_Rect(box);
            graph.repaint();
        }
    }

    void Drawn_Pixels()
    {
        // Points that are not finite leave markers and bars as without them (bars keep their width), while
        // a line has no segment to draw. Opaque sets skip repeated pixels and merge bars: the pixels drawn
        // must be those of drawing every point, as a translucent colour does.
        QRect single[TGraphWidget::GRAPH_BOX + 1]; // the pixels of one point
        TPoints finite, mixed, dense;
        const TVector2 bad[3] = {TVector2(Nan, 5), TVector2(5, Inf), TVector2(-Inf, 1)};
        for (int i = 0; i < 20; ++i)
        {
            finite.emplace_back(i, std::sin(i * 0.3));
            mixed.insert(mixed.end(), {finite.back(), bad[i % 3]});
        }
        for (int i = 0; i < 4000; ++i)
            dense.emplace_back(i, std::sin(i * 2e-3) + 0.3 * std::sin(i / 2 * 0.7)); // pairs share a pixel
        for (int type = TGraphWidget::GRAPH_LINE; type <= TGraphWidget::GRAPH_BOX; ++type)
        {
            const TDevice reference = Render(type, finite, QSize(400, 300));
            const QImage image = Render(type, mixed, QSize(400, 300)).image;
            QVERIFY(Count(reference.image, reference.plot, Blue) > 100);
            QVERIFY(type == TGraphWidget::GRAPH_LINE ? Count(image, image.rect(), Blue) == 0
                                                     : image == reference.image);
            const auto mask = [&](const QColor &color)
            { return Render(type, dense, QSize(500, 300), color).image.createMaskFromColor(0xffffffff); };
            QVERIFY2(mask(QColor(Blue)) == mask(QColor(0, 0, 255, 254)), qPrintable(QString::number(type)));
            const QImage one = Render(type, {TVector2(0, 0)}, QSize(400, 300)).image;
            for (int y = 0; y < one.height(); ++y)
                for (int x = 0; x < one.width(); ++x)
                    single[type] |= one.pixel(x, y) == Blue ? QRect(x, y, 1, 1) : QRect();
        }
        // A cross reaches three pixels to each side of the point; a box is six pixels square from the
        // cross's top left corner.
        QCOMPARE(single[TGraphWidget::GRAPH_CROSS].size(), QSize(7, 7));
        QCOMPARE(single[TGraphWidget::GRAPH_BOX],
                 QRect(single[TGraphWidget::GRAPH_CROSS].topLeft(), QSize(6, 6)));
    }

    void Labels_And_Ticks()
    {
        // Range, scale mode (0: neither) and -0.5 in the format.
        const int linear = TGraphWidget::SCALE_LINEAR;
        const std::tuple<double, double, int, const char *> rows[] = {
            {249.5, 250.0, linear, " -0.5000"},
            {3766.0, 5000.0, linear, "  -0.5"},
            {0.0, 2e5, linear, "     -1"},
            {-1e300, 1e300, linear, " -5.0e-01"},
            {0.0, 1e6, TGraphWidget::SCALE_INTEGER, "   -1"},
            {0.0, 10.0, 0, "   -1"}};
        for (const auto &[lo, hi, mode, sample] : rows)
            QCOMPARE(TLabelFormat::For_Range(lo, hi, mode).Text(-0.5), QString::fromLatin1(sample));
        QCOMPARE(Graph_Linear_Ticks(10, 500, 100), (std::vector<int>{10, 135, 260, 385, 510}));
        QCOMPARE(Graph_Linear_Ticks(7, 150, 100), std::vector<int>{7}); // one label: at the first edge
        QVERIFY(Graph_Linear_Ticks(7, 99, 100).empty());
        // Integer axes: the first integer always, then the next one more than a label away.
        const TGraphAxis x{10.0, 0.0}, y{-10.0, 500.0};                 // y pixels grow downwards
        QCOMPARE(QPoint(x.Pixel(0.16), x.Pixel(-0.16)), QPoint(1, -1)); // truncated toward zero
        QCOMPARE(x.Integer_Ticks(0, 10, 25), (std::vector<double>{0, 3, 6, 9}));
        QCOMPARE(y.Integer_Ticks(-2, 5, 25), (std::vector<double>{-2, 1, 4}));
        QCOMPARE(x.Integer_Ticks(4, 4, 25), std::vector<double>{4});
        // A span of 1e300 integers over 1000 pixels is walked without visiting every integer.
        TGraphAxis wide;
        wide.Fit(-1e300, 1e300, 0, 1000);
        const std::vector<double> ticks = wide.Integer_Ticks(-1e300, 1e300, 50);
        QVERIFY(ticks.size() >= 15 && ticks.size() <= 21 && TLabelFormat::Integer_Text(-1e300).size() <= 24);
        for (std::size_t i = 1; i < ticks.size(); ++i)
            QVERIFY(wide.Pixel(ticks[i]) - wide.Pixel(ticks[i - 1]) > 50);
    }

    void Ticks_And_Read_Out()
    {
        TGraphWidget graph;
        QVERIFY(Show(graph, {TVector2(0, 0), TVector2(100, 3)}));
        const QImage background = graph.Background_Pixmap().toImage();
        const QRect plot = graph.Layout().plot;
        const TLabelFormat &h = graph.Horizontal_Label_Format();
        // Below the frame's bottom line only the horizontal ticks are light grey.
        std::vector<int> columns;
        for (const auto &run : Runs(background, plot.bottom() + 3, Light_Gray))
            columns.push_back(run.first);
        std::vector<int> expected = Graph_Linear_Ticks(plot.left(), plot.width(), h.label_width);
        while (!expected.empty() && expected.back() >= background.width())
            expected.pop_back();
        QVERIFY(expected.size() >= 3 && h.label_height / 3 >= 3);
        QCOMPARE(columns, expected);
        std::vector<int> rows;
        for (int y = 0; y < background.height(); ++y)
            if (background.pixel(plot.left() - 2, y) == Light_Gray)
                rows.push_back(y);
        QCOMPARE(rows,
                 Graph_Linear_Ticks(plot.top(), plot.height(), graph.Vertical_Label_Format().label_height));

        // The coordinate read-out follows the mouse inside the plot area only. Drawn over the copied pixmap,
        // it sits right of the title in the title row, or, with no room there, in the plot's corner
        // farthest from the pointer; the rest of the plot is as rendered.
        QCOMPARE(graph.Coordinate_Text(), QStringLiteral("0.00000,   0.00000"));
        const QPoint inside = plot.topLeft() + QPoint(40, 30);
        Move(&graph, inside);
        const QString text = QStringLiteral("%1,   %2")
                                 .arg(graph.View().x.Value(inside.x()), 0, 'f', 5)
                                 .arg(graph.View().y.Value(inside.y()), 0, 'f', 5);
        Move(&graph, QPoint(2, 2));
        QCOMPARE(graph.Coordinate_Text(), text);
        for (const bool long_title : {false, true})
        {
            graph.Set_Titles(long_title ? QString(60, QLatin1Char('W')) : QStringLiteral("Sample Graph"), {},
                             {});
            Move(&graph, plot.bottomLeft() + QPoint(5, -5));
            const QImage screen = graph.grab().toImage();
            const QRect read_out =
                long_title ? QRect(plot.center().x(), plot.top(), plot.width() / 2, plot.height() / 2)
                           : QRect(0, 0, graph.width(), plot.top() - 1);
            QVERIFY(Count(screen, read_out, Light_Gray) > Count(background, read_out, Light_Gray) + 20);
            const QRect rest = long_title ? plot.adjusted(0, plot.height() / 2 + 1, 0, 0) : plot;
            QCOMPARE(screen.copy(rest), background.copy(rest));
        }
    }

    // A count axis zoomed out below 0 has ticks, and so labels, from 0 upwards only.
    void Count_Axis_Ticks()
    {
        TGraphWidget graph;
        graph.Set_Scale_Modes(TGraphWidget::SCALE_LINEAR, TGraphWidget::SCALE_INTEGER);
        QVERIFY(Show(graph, {TVector2(0, 0), TVector2(10, 12)}));
        graph.ZoomOut();
        graph.repaint();
        const QRect &plot = graph.Layout().plot;
        QVERIFY(Visible(graph).yb < -5);
        const QImage background = graph.Background_Pixmap().toImage();
        std::vector<int> rows;
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            if (background.pixel(plot.left() - 2, y) == Light_Gray)
                rows.push_back(y);
        QVERIFY(rows.size() >= 3);
        QCOMPARE(rows.back(), graph.View().y.Pixel(0.0));
    }

    void Bars_And_Zero_Line()
    {
        // Ten bars, alternately +1 and -1, in a device plot area exactly 400 pixels wide. The integer x
        // axis has no margin: the outer two bars are cut by the plot edges, the inner eight are whole.
        TGraphWidget graph;
        graph.Set_Scale_Modes(TGraphWidget::SCALE_INTEGER, TGraphWidget::SCALE_LINEAR);
        const int set = graph.CreateDataSet(QColor(Blue), TGraphWidget::GRAPH_BAR);
        for (int i = 0; i < 10; ++i)
            graph.AddPoint(set, TVector2(i, i % 2 == 0 ? 1.0 : -1.0));
        const TDevice device = Render(graph, QSize(399 + 8 * Render(graph, QSize(9, 9)).font_height, 500));
        const QImage &image = device.image;
        const QRect &plot = device.plot;
        QCOMPARE(plot.width(), 400);
        // Whole bars above and below zero, each 38 pixels wide.
        const auto inner = [&](int row)
        {
            QVector<int> starts;
            for (const auto &run : Runs(image, row, Blue))
                if (run.first > plot.left() && run.first + run.second <= plot.right())
                    starts.append(run.second == 38 ? run.first : -1);
            return starts;
        };
        const QVector<int> positive = inner(plot.top() + plot.height() / 4);
        const QVector<int> negative = inner(plot.bottom() - plot.height() / 4);
        QCOMPARE(positive.size() * 10 + negative.size(), 44);
        QVERIFY(!positive.contains(-1) && !negative.contains(-1));
        // A positive bar ends one row above the zero line, which stays visible below it and in the gaps.
        const int up = positive.first() + 19;
        int zero = plot.top() + plot.height() / 4;
        while (image.pixel(up, zero) == Blue)
            ++zero;
        QCOMPARE(image.pixel(up, zero), Light_Gray);
        QCOMPARE(image.pixel(positive.first() - 1, zero), Light_Gray);
        // A negative bar covers the zero line and the row above it, not the row above that.
        const int down = negative.first() + 19;
        QVERIFY(image.pixel(down, zero) == Blue && image.pixel(down, zero - 1) == Blue &&
                image.pixel(down, zero - 2) != Blue);
        // On an integer y axis from 0 the zero row is the plot's bottom edge: no zero line; from -1 there
        // is. Zero lies left of the x data: no vertical zero line either.
        for (const double low : {0.0, -1.0})
        {
            TGraphWidget edge;
            edge.Set_Scale_Modes(TGraphWidget::SCALE_LINEAR, TGraphWidget::SCALE_INTEGER);
            edge.EnableYIncludesZero(false);
            edge.SetPoints(edge.CreateDataSet(QColor(Blue), TGraphWidget::GRAPH_BOX), {{1, low}, {5, 10}});
            const TDevice d = Render(edge, QSize(600, 400));
            const QRect &p = d.plot;
            QCOMPARE(Count(d.image, QRect(p.left() + 2, p.top() + 1, 1, p.height() - 1), Light_Gray),
                     int(low < 0));
            QCOMPARE(Count(d.image, QRect(p.left() + 1, p.center().y(), p.width() - 1, 1), Light_Gray), 0);
        }
    }

    void Border_And_Restored_State()
    {
        TGraphWidget graph;
        QVERIFY(Show(graph, {TVector2(-5, -1), TVector2(5, 2)}));
        graph.Update_Viewport_To_Rect(graph.Layout().plot.adjusted(50, 50, -50, -50));
        const TGraphView view = graph.View();
        for (const bool border : {true, false})
        {
            QImage image(300, 200, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            QVERIFY(graph.PaintToDevice_GraphOnly(&painter, image.rect(), border));
            const TDevice device = Render(graph, image.size(), border);
            for (const QPoint &corner : {QPoint(0, 0), QPoint(299, 199)})
                QCOMPARE(image.pixel(corner) == Black && device.image.pixel(corner) == Black, border);
            // The device shows the whole data, whatever the zoom: the zero lines cross inside its plot area.
            QVERIFY(!Runs(device.image, device.plot.top() + 3, Light_Gray).isEmpty());
        }
        // The widget's own view and titles are untouched by rendering elsewhere.
        QCOMPARE(QPointF(graph.View().x.scale, graph.View().y.offset), QPointF(view.x.scale, view.y.offset));
        QCOMPARE(graph.Graph_Title(), QStringLiteral("Sample Graph"));
    }

    void Click_Or_Zoom_Box_data()
    {
        QTest::addColumn<TDragRow>("row");
        QTest::newRow("19 pixels") << TDragRow{QPoint(10, 9), false};
        QTest::newRow("20 pixels") << TDragRow{QPoint(10, 10), true};
        QTest::newRow("20 pixels up left") << TDragRow{QPoint(-12, -8), true};
    }

    void Click_Or_Zoom_Box()
    {
        QFETCH(TDragRow, row);
        TGraphWidget graph;
        QVERIFY(Show(graph, {TVector2(0, 0), TVector2(10, 10)}));
        QSignalSpy clicks(&graph, &TGraphWidget::Mouse_Click);
        const TGraphView before = graph.View();
        const QPoint start = graph.Layout().plot.center(), end = start + row.drag;
        QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, start);
        Move(&graph, start + row.drag / 2, Qt::LeftButton);
        Move(&graph, end, Qt::LeftButton);
        // The rubber band is a black outline; a pen outline ends one pixel out.
        const QRect band = QRect(start, QSize(1, 1)).united(QRect(end, QSize(1, 1)));
        const QImage screen = graph.grab().toImage();
        for (const QPoint &edge :
             {QPoint(band.center().x(), band.top()), QPoint(band.left(), band.center().y()),
              QPoint(band.right() + 1, band.center().y()), QPoint(band.center().x(), band.bottom() + 1)})
            QCOMPARE(screen.pixel(edge), Black);
        QVERIFY(graph.Box_Visible());
        QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, end);
        QVERIFY(!graph.Box_Visible());
        QCOMPARE(clicks.count(), row.zooms ? 0 : 1);
        if (!row.zooms)
        {
            QCOMPARE(QPointF(clicks[0][0].toDouble(), clicks[0][1].toDouble()),
                     QPointF(before.x.Value(end.x()), before.y.Value(end.y())));
            QCOMPARE(graph.View().x.scale, before.x.scale);
            return;
        }
        // The box becomes the view: its corners are the new plot edges. The line beyond them is cut.
        const QImage image = graph.Background_Pixmap().toImage();
        QCOMPARE(Count(image, image.rect(), Blue), Count(image, graph.Layout().plot, Blue));
        QVERIFY(Near(Visible(graph).xl, before.x.Value(std::min(start.x(), end.x())), 10) &&
                Near(Visible(graph).yt, before.y.Value(std::min(start.y(), end.y())), 10));
    }

    void Pan_And_Zoom_Out()
    {
        TGraphWidget graph;
        QVERIFY(Show(graph, {TVector2(-10, -10), TVector2(10, 10)}));
        const QRect plot = graph.Layout().plot;
        const QPoint start = plot.center();
        const TGraphView before = graph.View();
        // A right drag moves the view with the mouse and does not zoom out on release.
        QTest::mousePress(&graph, Qt::RightButton, Qt::NoModifier, start);
        Move(&graph, start + QPoint(10, 0), Qt::RightButton);
        Move(&graph, start + QPoint(30, -20), Qt::RightButton);
        QTest::mouseRelease(&graph, Qt::RightButton, Qt::NoModifier, start + QPoint(30, -20));
        graph.repaint();
        QVERIFY(Near(graph.View().x.Value(plot.left() + 30), before.x.Value(plot.left()), 20) &&
                Near(graph.View().y.Value(plot.top() - 20), before.y.Value(plot.top()), 20));
        // A right click zooms out by two about the centre of the view, within the pixel that integer
        // halving may move it.
        graph.UpdateGraph();
        const TVisible fitted = Visible(graph);
        QTest::mouseClick(&graph, Qt::RightButton, Qt::NoModifier, start);
        graph.repaint();
        const TVisible wider = Visible(graph);
        const double ratio = (wider.xr - wider.xl) / (fitted.xr - fitted.xl);
        QVERIFY2(ratio > 1.99 && ratio < 2.02, qPrintable(QString::number(ratio)));
        QVERIFY(std::fabs(wider.xl + wider.xr - fitted.xl - fitted.xr) <= 2 / before.x.scale &&
                std::fabs(wider.yb + wider.yt - fitted.yb - fitted.yt) <= 2 / -before.y.scale);
        // Zooming out stops at 50 times the data range, after many zoom outs and after a box 53 times the
        // plot (about 55 times the data); scale to fit returns to the data.
        const auto capped = [&]
        {
            const TVisible widest = Visible(graph);
            return Near(widest.xr - widest.xl, 50 * graph.Full_X_Range(), 1e3) &&
                   Near(widest.yt - widest.yb, 50 * graph.Full_Y_Range(), 1e3);
        };
        for (int i = 0; i < 8; ++i, graph.repaint())
            graph.ZoomOut();
        QVERIFY(capped());
        graph.UpdateGraph();
        graph.Update_Viewport_To_Rect(
            QRect(plot.center() - QPoint(plot.width(), plot.height()) * 26, plot.size() * 53));
        QVERIFY(capped());
        graph.ScaleToFit();
        graph.repaint();
        QVERIFY(Near(Visible(graph).xl, fitted.xl, 20));

        // Data far from 0 stays in view however often the view is zoomed out.
        TGraphWidget far;
        QVERIFY(Show(far, {TVector2(1000, 5), TVector2(1010, 6)}));
        for (int i = 0; i < 6; ++i)
        {
            QTest::mouseClick(&far, Qt::RightButton, Qt::NoModifier, far.Layout().plot.center());
            far.repaint();
        }
        const TVisible seen = Visible(far);
        QVERIFY2(seen.xl < 1000 && seen.xr > 1010 && seen.yb < 5 && seen.yt > 6,
                 qPrintable(QStringLiteral("%1 to %2").arg(seen.xl).arg(seen.xr)));
        QVERIFY(Near(seen.xr - seen.xl, 50 * far.Full_X_Range(), 1e3));
    }

    // + and - halve and double the view about its centre, arrows move it by a tenth, 0 and Home return
    // to the data; the wheel zooms about the pointer, which keeps its data point.
    void Keys_And_Wheel()
    {
        TGraphWidget graph;
        QVERIFY(Show(graph, {TVector2(-10, -10), TVector2(10, 10)}));
        const TVisible fitted = Visible(graph);
        const double width = fitted.xr - fitted.xl;
        // Pixel rounding moves ends by a pixel or two.
        const auto close = [](double a, double b)
        { return std::fabs(a - b) <= 0.02 * std::max(1.0, std::fabs(b)); };
        const auto key = [&](Qt::Key k)
        {
            QTest::keyClick(&graph, k);
            graph.repaint();
            return Visible(graph);
        };
        TVisible seen = key(Qt::Key_Plus);
        QVERIFY2(close((seen.xr - seen.xl) / width, 0.5), qPrintable(QString::number(seen.xr - seen.xl)));
        QVERIFY(std::fabs(seen.xl + seen.xr - fitted.xl - fitted.xr) < 0.1);
        const TVisible zoomed = seen;
        seen = key(Qt::Key_Right);
        QVERIFY(close(seen.xl - zoomed.xl, 0.1 * (zoomed.xr - zoomed.xl)));
        seen = key(Qt::Key_Up);
        QVERIFY(close(seen.yb - zoomed.yb, 0.1 * (zoomed.yt - zoomed.yb)));
        seen = key(Qt::Key_Minus);
        QVERIFY(close((seen.xr - seen.xl) / width, 1.0));
        for (const Qt::Key reset : {Qt::Key_0, Qt::Key_Home})
        {
            key(Qt::Key_Plus);
            seen = key(reset);
            QVERIFY(seen.xl == fitted.xl && seen.xr == fitted.xr);
        }

        const QPoint at = graph.Layout().plot.topLeft() + QPoint(graph.Layout().plot.width() / 4, 20);
        const TVector2 under(graph.View().x.Value(at.x()), graph.View().y.Value(at.y()));
        for (const int delta : {120, -240})
        {
            QWheelEvent wheel(at, graph.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&graph, &wheel);
            graph.repaint();
            QVERIFY(wheel.isAccepted());
        }
        seen = Visible(graph);
        // In by 0.8, out by 1.25 twice: 1.25 times as wide, the point under the pointer kept.
        QVERIFY2(close((seen.xr - seen.xl) / width, 1.25),
                 qPrintable(QString::number((seen.xr - seen.xl) / width)));
        QVERIFY(std::fabs(graph.View().x.Value(at.x()) - under.x) < 3 / graph.View().x.scale);
        QVERIFY(std::fabs(graph.View().y.Value(at.y()) - under.y) < 3 / -graph.View().y.scale);
    }

    void Same_Pixels_data()
    {
        QTest::addColumn<TLines>("lines");
        QTest::addColumn<bool>("shorter");
        QTest::newRow("dense walk") << Walk(5000, 40, 1) << true;
        QTest::newRow("a column each step") << Walk(300, 1, 2) << false;
        // Runs of one column that only touch, that leave a gap, and that come back to a column.
        QTest::newRow("touching") << TLines{{7, 3, 7, 9}, {7, 10, 7, 12}, {7, 13, 7, 13}} << true;
        QTest::newRow("gap") << TLines{{7, 3, 7, 9}, {7, 11, 7, 12}, {8, 3, 8, 3}} << false;
        QTest::newRow("back to a column")
            << TLines{{7, 3, 7, 9}, {7, 9, 8, 9}, {8, 9, 7, 9}, {7, 9, 7, 2}} << true;
        QTest::newRow("single pixels") << TLines{{4, 4, 4, 4}, {4, 5, 4, 5}, {4, 4, 4, 4}} << true;
        QTest::newRow("off the image")
            << TLines{{-5, -9, -5, 40}, {-5, 40, -5, 200}, {130, 2, 130, 8}} << true;
        QTest::newRow("slanted repeats") << TLines{{3, 3, 9, 6}, {3, 3, 9, 6}, {3, 3, 9, 6}} << true;
    }

    void Same_Pixels()
    {
        QFETCH(TLines, lines);
        QFETCH(bool, shorter);
        const TLines merged = Merged(lines);
        QCOMPARE(Paint(merged), Paint(lines));
        QCOMPARE(merged.size() < lines.size(), shorter);
    }

    // Every drawing type, opaque and translucent, with merging and with every segment drawn.
    void Graph_Unchanged_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("type");
        QTest::addColumn<QColor>("color");
        for (const int points : {1000, 10000})
            for (int type = TGraphWidget::GRAPH_DEFAULT; type <= TGraphWidget::GRAPH_BOX; ++type)
                for (const QColor &color : {QColor(Blue), QColor(200, 0, 0, 120)})
                    QTest::addRow("%d points, type %d, alpha %d", points, type, color.alpha())
                        << points << type << color;
    }

    void Graph_Unchanged()
    {
        QFETCH(int, points);
        QFETCH(int, type);
        QFETCH(QColor, color);
        TPoints curve;
        std::mt19937 random(static_cast<unsigned>(points));
        for (int i = 0; i < points; ++i)
        {
            const double x = 1000.0 * i / points;
            curve.emplace_back(x, std::sin(x / 80.0) + (random() % 1000) / 4000.0);
        }
        const QImage merged = Render(type, curve, QSize(400, 300), color).image;
        TColumnMerger::Set_Enabled(false);
        const QImage unmerged = Render(type, curve, QSize(400, 300), color).image;
        TColumnMerger::Set_Enabled(true);
        QCOMPARE(merged, unmerged);
    }

  private:
    TGraphWidget d_broken;
};

QTEST_MAIN(TTestGraphWidget)
#include "tst_graphwidget.moc"
