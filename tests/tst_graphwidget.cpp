#include "graphwidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <limits>

namespace
{
const double Nan = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();
const QRgb Light_Gray = QColor(Qt::lightGray).rgb();
const QRgb Bar_Color = qRgb(0, 0, 255);

struct TVisible
{
    double xl, xr, yb, yt;
};

// Data values at the plot area's edges.
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
void Move(QWidget *widget, const QPoint &position, Qt::MouseButtons buttons)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(position), QPointF(widget->mapToGlobal(position)),
                      Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Runs one broken precondition in this process; used through a child process by the assertion test.
int Run_Fault(const QByteArray &fault)
{
    TGraphWidget graph;
    graph.AddPoint(graph.CreateDataSet(Qt::red, TGraphWidget::GRAPH_LINE), TVector2(1, 1));
    if (fault == "AddPoint")
        graph.AddPoint(1, TVector2());
    else if (fault == "ModifyPoint")
        graph.ModifyPoint(0, 1, TVector2());
    else if (fault == "GetPoint")
        graph.GetPoint(0, -1);
    else if (fault == "DeleteDataSet")
        graph.DeleteDataSet(1);
    else if (fault == "Draw_Legend")
        graph.Draw_Legend(nullptr);
    else if (fault == "PaintToDevice")
        graph.PaintToDevice(nullptr, QRect(0, 0, 100, 100), true);
    return 0;
}

// Coloured runs of one image row: (first column, length).
QVector<QPair<int, int>> Runs(const QImage &image, int row, QRgb color)
{
    QVector<QPair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x)
    {
        if (image.pixel(x, row) != color)
            continue;
        if (!runs.isEmpty() && runs.last().first + runs.last().second == x)
            ++runs.last().second;
        else
            runs.append({x, 1});
    }
    return runs;
}
} // namespace

class TestGraphWidget : public QObject
{
    Q_OBJECT

  private slots:
    void generateRgbColor();
    void dataSetOperations();
    void preconditions_data();
    void preconditions();
    void fitToData_data();
    void fitToData();
    void lockAspectRatio();
    void extremeData_data();
    void extremeData();
    void nonFiniteNotDrawn();
    void millionPoints();
    void labelFormat_data();
    void labelFormat();
    void tickPositions();
    void ticksOnPixmap();
    void barsAndZeroLine();
    void zeroLineOnEdge();
    void borderAndRestoredState();
    void clickOrZoomBox_data();
    void clickOrZoomBox();
    void panAndZoomOut();
    void coordinateReadOut();
    void paintOverlays();

  private:
    void Show(TGraphWidget &graph, const std::vector<TVector2> &points);
};

void TestGraphWidget::Show(TGraphWidget &graph, const std::vector<TVector2> &points)
{
    graph.SetPoints(graph.CreateDataSet(Qt::blue, TGraphWidget::GRAPH_LINE), points);
    graph.resize(640, 480);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    graph.UpdateGraph();
}

void TestGraphWidget::generateRgbColor()
{
    const int expected[8][3] = {{255, 0, 0},   {0, 127, 0},   {0, 0, 255}, {255, 127, 0},
                                {0, 127, 255}, {255, 0, 255}, {128, 0, 0}, {0, 64, 0}};
    int r = -1, g = -1, b = -1;
    for (int i = 0; i < 8; ++i)
    {
        QVERIFY(TGraphWidget::GenerateRGBColor(i, &r, &g, &b));
        QCOMPARE(QColor(r, g, b), QColor(expected[i][0], expected[i][1], expected[i][2]));
    }
    // Every colour of the range is distinct and uses only the channels of its hue; green is halved.
    QSet<QRgb> seen;
    for (int i = 0; i < 96; ++i)
    {
        QVERIFY(TGraphWidget::GenerateRGBColor(i, &r, &g, &b));
        const bool on[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
        QCOMPARE(r > 0, on[i % 6][0]);
        QCOMPARE(g > 0, on[i % 6][1]);
        QCOMPARE(b > 0, on[i % 6][2]);
        QVERIFY(r <= 255 && g <= 127 && b <= 255);
        seen.insert(qRgb(r, g, b));
    }
    QCOMPARE(seen.size(), 96);
    QVERIFY(TGraphWidget::GenerateRGBColor(96, &r, &g, &b));
    QCOMPARE(QColor(r, g, b), QColor(0, 0, 0));
    for (const int bad : {97, 1000, -1})
    {
        r = g = b = 7;
        QVERIFY(!TGraphWidget::GenerateRGBColor(bad, &r, &g, &b));
        QCOMPARE(QColor(r, g, b), QColor(0, 0, 0));
    }
}

void TestGraphWidget::dataSetOperations()
{
    TGraphWidget graph;
    QCOMPARE(graph.CreateDataSet(Qt::red, TGraphWidget::GRAPH_LINE), 0);
    QCOMPARE(graph.CreateDataSet(Qt::green, TGraphWidget::GRAPH_BAR), 1);
    QCOMPARE(graph.CreateDataSet(Qt::blue, TGraphWidget::GRAPH_BOX), 2);

    QVERIFY(graph.AddPoint(1, TVector2(1, 10)));
    QVERIFY(graph.AddPoints(1, {TVector2(2, 20), TVector2(3, 30), TVector2(4, 40)}));
    QVERIFY(graph.AddPoints(2, {TVector2(5, 50)}));
    QCOMPARE(graph.DataSetSize(0), 0);
    QCOMPARE(graph.DataSetSize(1), 4);

    QVERIFY(graph.ModifyPoint(1, 2, TVector2(-3, -30)));
    QCOMPARE(graph.GetPoint(1, 2).y, -30.0);
    QVERIFY(graph.DeletePoint(1, 0));
    QCOMPARE(graph.DataSetSize(1), 3);
    QCOMPARE(graph.GetPoint(1, 0).x, 2.0); // later points move down
    QCOMPARE(graph.GetPoint(1, 1).x, -3.0);

    QVERIFY(graph.DeleteDataSet(0));
    QCOMPARE(int(graph.d_data_sets.size()), 2);
    QCOMPARE(graph.d_data_sets[0].dataset_color, QColor(Qt::green)); // former set 1
    QCOMPARE(graph.d_data_sets[1].dataset_type, TGraphWidget::GRAPH_BOX);
    QCOMPARE(graph.GetPoint(1, 0).x, 5.0);

    QVERIFY(graph.SetPoints(0, {TVector2(9, 9)}));
    QCOMPARE(graph.DataSetSize(0), 1);
    QVERIFY(graph.DeletePoints(0));
    QCOMPARE(graph.DataSetSize(0), 0);
    QCOMPARE(int(graph.d_data_sets.size()), 2); // the set itself stays
    graph.DeleteDataSets();
    QVERIFY(graph.d_data_sets.empty());
}

void TestGraphWidget::preconditions_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("set") << QByteArray("AddPoint") << "set < static_cast<int>(d_data_sets.size())";
    QTest::newRow("index") << QByteArray("ModifyPoint")
                           << "index < static_cast<int>(d_data_sets[set].dataset_points.size())";
    QTest::newRow("negative index") << QByteArray("GetPoint") << "index >= 0";
    QTest::newRow("data set") << QByteArray("DeleteDataSet")
                              << "index < static_cast<int>(d_data_sets.size())";
    QTest::newRow("legend painter") << QByteArray("Draw_Legend") << "painter";
    QTest::newRow("device painter") << QByteArray("PaintToDevice") << "painter";
}

void TestGraphWidget::preconditions()
{
    QFETCH(QByteArray, fault);
    QFETCH(QString, message);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TST_GRAPHWIDGET_FAULT"), QString::fromLatin1(fault));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY2(child.readAllStandardError().contains(QStringLiteral("ASSERT: \"%1\"").arg(message).toLatin1()),
             fault.constData());
}

void TestGraphWidget::fitToData_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<bool>("create_set");
    QTest::addColumn<bool>("includes_zero");
    QTest::addColumn<bool>("symmetric");
    QTest::addColumn<double>("minimum"); // NaN: SetScaleMinimumY not called
    QTest::addColumn<int>("mode");       // both axes
    QTest::addColumn<QRectF>("range");   // x, y, width, height of the data range before margins

    const QVector<QPointF> none;
    QTest::newRow("no sets") << none << false << true << true << Nan << 1 << QRectF(-5e-6, -5e-6, 1e-5, 1e-5);
    QTest::newRow("empty set") << none << true << true << true << Nan << 1
                               << QRectF(-5e-6, -5e-6, 1e-5, 1e-5);
    QTest::newRow("one small point") << QVector<QPointF>{{3, 2e-6}} << true << true << true << Nan << 1
                                     << QRectF(3 - 5e-6, -5e-6, 1e-5, 1e-5);
    QTest::newRow("one point") << QVector<QPointF>{{3, 7}} << true << true << true << Nan << 1
                               << QRectF(3 - 5e-6, -5e-6, 1e-5, 7 + 5e-6);
    QTest::newRow("above zero, symmetric") << QVector<QPointF>{{1, 10}, {2, 20}} << true << true << true
                                           << Nan << 1 << QRectF(1, -5e-6, 1, 20 + 5e-6);
    QTest::newRow("above zero, not symmetric")
        << QVector<QPointF>{{1, 10}, {2, 20}} << true << true << false << Nan << 1 << QRectF(1, 10, 1, 10);
    QTest::newRow("below zero, not symmetric") << QVector<QPointF>{{1, -20}, {2, -10}} << true << true
                                               << false << Nan << 1 << QRectF(1, -20, 1, 20 + 5e-6);
    QTest::newRow("zero not included")
        << QVector<QPointF>{{1, 10}, {2, 20}} << true << false << true << Nan << 1 << QRectF(1, 10, 1, 10);
    QTest::newRow("minimum zero") << none << true << true << true << 0.0 << 1
                                  << QRectF(-5e-6, -5e-5, 1e-5, 1e-4);
    QTest::newRow("minimum negative")
        << none << true << true << true << -3.0 << 1 << QRectF(-5e-6, -5e-5, 1e-5, 1e-4);
    QTest::newRow("minimum 2, not symmetric")
        << none << true << true << false << 2.0 << 1 << QRectF(-5e-6, -5e-6, 1e-5, 2 + 5e-6);
    QTest::newRow("flat y") << QVector<QPointF>{{0, 1}, {1, 1}} << true << false << true << Nan << 1
                            << QRectF(0, 1 - 5e-6, 1, 1e-5);
    QTest::newRow("not finite skipped")
        << QVector<QPointF>{{Nan, 1}, {1, Inf}, {2, 3}, {-Inf, 5}, {4, -1}, {5, Nan}} << true << true << true
        << Nan << 1 << QRectF(2, -1, 2, 4);
    QTest::newRow("integer axes") << QVector<QPointF>{{0, 0}, {10, 5}} << true << true << true << Nan << 2
                                  << QRectF(0, -5e-6, 10, 5 + 5e-6);
}

void TestGraphWidget::fitToData()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(bool, create_set);
    QFETCH(bool, includes_zero);
    QFETCH(bool, symmetric);
    QFETCH(double, minimum);
    QFETCH(int, mode);
    QFETCH(QRectF, range);

    TGraphWidget graph;
    graph.resize(640, 480);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    if (create_set)
    {
        const int set = graph.CreateDataSet(Qt::blue, TGraphWidget::GRAPH_CROSS);
        for (const QPointF &point : points)
            graph.AddPoint(set, TVector2(point.x(), point.y()));
    }
    graph.EnableYIncludesZero(includes_zero);
    graph.SetScaleMinimumY(std::isnan(minimum) ? 5e-6 : minimum, symmetric);
    graph.d_scale_mode_x = graph.d_scale_mode_y = mode;
    graph.UpdateGraph();

    QVERIFY(Near(graph.Full_X_Range(), range.width(), range.width()));
    QVERIFY(Near(graph.Full_Y_Range(), range.height(), range.height()));
    const double mx = mode == 1 ? range.width() / 50 : 0.0;
    const double my = mode == 1 ? range.height() / 50 : 0.0;
    const TVisible v = Visible(graph);
    QVERIFY2(Near(v.xl, range.left() - mx, range.width()), qPrintable(QString::number(v.xl, 'g', 17)));
    QVERIFY(Near(v.xr, range.right() + mx, range.width()));
    QVERIFY2(Near(v.yb, range.top() - my, range.height()), qPrintable(QString::number(v.yb, 'g', 17)));
    QVERIFY(Near(v.yt, range.bottom() + my, range.height()));
    // The mapping truncates: the data at a plot edge lands on that edge's pixel.
    QCOMPARE(graph.View().x.Pixel(range.left() - mx + 1e-3 * range.width() / 640),
             graph.Layout().plot.left());
}

void TestGraphWidget::lockAspectRatio()
{
    TGraphWidget graph;
    graph.d_lock_aspect_ratio = true;
    Show(graph, {TVector2(0, -2), TVector2(10, 5)});
    // One data unit is equally long on both axes.
    QVERIFY(Near(graph.View().x.scale, -graph.View().y.scale, graph.View().x.scale));
    const QRect &plot = graph.Layout().plot;
    const double ratio = double(plot.right() - plot.left()) / (plot.bottom() - plot.top());
    QVERIFY(Near(graph.Full_X_Range(), 7 * ratio, 7 * ratio));

    // A flat curve gives no y span to derive x from; the view must still be usable.
    graph.EnableYIncludesZero(false);
    graph.SetPoints(0, {TVector2(1, 1), TVector2(2, 1)});
    graph.UpdateGraph();
    QVERIFY(std::isfinite(graph.View().x.scale) && graph.View().x.scale > 0);
    QVERIFY(graph.Full_X_Range() > 0);
}

void TestGraphWidget::extremeData_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<int>("mode");
    const double big = std::numeric_limits<double>::max();
    QTest::newRow("1e300") << QVector<QPointF>{{-1e300, -1e300}, {1e300, 1e300}} << 1;
    QTest::newRow("1e300 integer") << QVector<QPointF>{{-1e300, -1e300}, {1e300, 1e300}} << 2;
    QTest::newRow("1e300 equal") << QVector<QPointF>{{1e300, 1e300}, {1e300, 1e300}} << 1;
    QTest::newRow("max double") << QVector<QPointF>{{-big, big}, {big, -big}} << 1;
    QTest::newRow("1e-300") << QVector<QPointF>{{1e-300, 1e-300}, {2e-300, -1e-300}} << 1;
    QTest::newRow("span 1e-12") << QVector<QPointF>{{1, 1}, {1 + 1e-12, 1 + 1e-12}} << 1;
    QTest::newRow("1e10 span 1e-12") << QVector<QPointF>{{1e10, 1e10}, {1e10 + 1e-12, 1e10}} << 2;
    QTest::newRow("only not finite") << QVector<QPointF>{{Nan, Nan}, {Inf, -Inf}} << 1;
}

void TestGraphWidget::extremeData()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(int, mode);
    TGraphWidget graph;
    graph.EnableYIncludesZero(false);
    graph.d_scale_mode_x = graph.d_scale_mode_y = mode;
    std::vector<TVector2> data;
    for (const QPointF &point : points)
        data.emplace_back(point.x(), point.y());
    for (int type = 0; type <= 4; ++type)
        graph.SetPoints(graph.CreateDataSet(Qt::blue, TGraphWidget::TGraphType(type)), data);
    Show(graph, {});

    for (int step = 0; step < 4; ++step)
    {
        const TGraphView &view = graph.View();
        QVERIFY(std::isfinite(view.x.scale) && view.x.scale > 0 && std::isfinite(view.x.offset));
        QVERIFY(std::isfinite(view.y.scale) && view.y.scale < 0 && std::isfinite(view.y.offset));
        QVERIFY(graph.Full_X_Range() > 0 && std::isfinite(graph.Full_X_Range()));
        QVERIFY(graph.Full_Y_Range() > 0 && std::isfinite(graph.Full_Y_Range()));
        QVERIFY(graph.Horizontal_Label_Format().field_width <= 24);
        QVERIFY(graph.Vertical_Label_Format().field_width <= 24);
        const TVisible v = Visible(graph);
        QVERIFY(v.xl < v.xr && v.yb < v.yt);
        // Zoom out, zoom into a small box and pan; each must leave a valid view.
        const QRect &plot = graph.Layout().plot;
        if (step == 0)
            graph.ZoomOut();
        else if (step == 1)
            graph.Update_Viewport_To_Rect(QRect(plot.center(), QSize(3, 3)));
        else
            graph.Update_Viewport_To_Rect(plot.translated(-300, 200));
        graph.repaint();
        Move(&graph, plot.center(), Qt::NoButton);
        QVERIFY(graph.Coordinate_Text().size() < 40);
        // The current view through the public render steps, and the whole data on another device.
        QImage image(640, 480, QImage::Format_RGB32);
        QPainter painter(&image);
        graph.Calculate_Legend_Display_Precision(&painter);
        graph.Draw_Legend(&painter);
        graph.Draw_Graph(&painter);
        QVERIFY(graph.PaintToDevice(&painter, QRect(0, 0, 300, 200), true));
    }
}

void TestGraphWidget::nonFiniteNotDrawn()
{
    const auto render = [](TGraphWidget::TGraphType type, const std::vector<TVector2> &points)
    {
        TGraphWidget graph;
        graph.SetPoints(graph.CreateDataSet(QColor(Bar_Color), type), points);
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        graph.PaintToDevice(&painter, image.rect(), true);
        return image;
    };
    const std::vector<TVector2> finite = {TVector2(2, 2), TVector2(8, 8)};
    const std::vector<TVector2> mixed = {TVector2(2, 2), TVector2(Nan, 5), TVector2(5, Inf), TVector2(8, 8),
                                         TVector2(-Inf, 1)};
    for (const auto type : {TGraphWidget::GRAPH_BAR, TGraphWidget::GRAPH_CROSS, TGraphWidget::GRAPH_BOX})
        QVERIFY(render(type, mixed) == render(type, finite));
    // A point that is not finite breaks the line: no segment touches it.
    const QImage line = render(TGraphWidget::GRAPH_LINE, mixed);
    for (int y = 0; y < line.height(); ++y)
        QVERIFY(Runs(line, y, Bar_Color).isEmpty());
}

void TestGraphWidget::millionPoints()
{
    // Every drawing type with a million points, some of them not finite, renders and shows the set.
    std::vector<TVector2> points;
    points.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        points.emplace_back(i % 1000 == 7 ? Nan : i * 1e-3, std::sin(i * 1e-4) + (i % 777 == 0 ? Inf : 0.0));
    for (int type = 0; type <= 4; ++type)
    {
        TGraphWidget graph;
        graph.SetPoints(graph.CreateDataSet(QColor(Bar_Color), TGraphWidget::TGraphType(type)), points);
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QVERIFY(graph.PaintToDevice(&painter, image.rect(), true));
        painter.end();
        int colored = 0;
        for (int y = 0; y < image.height(); ++y)
            colored += int(Runs(image, y, Bar_Color).size());
        QVERIFY2(colored > 100, qPrintable(QString::number(type)));
    }
}

void TestGraphWidget::labelFormat_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("sample"); // -0.5 in the format
    QTest::newRow("span 0.5 near 250") << 249.5 << 250.0 << 1 << 8 << 4 << " -0.5000";
    QTest::newRow("span 1234 magnitude 5000") << 3766.0 << 5000.0 << 1 << 6 << 1 << "  -0.5";
    QTest::newRow("span 99") << -50.0 << 49.0 << 1 << 6 << 3 << "-0.500";
    QTest::newRow("span 20000") << 0.0 << 20000.0 << 1 << 6 << 0 << "    -1";
    QTest::newRow("within one") << -0.25 << 0.75 << 1 << 8 << 4 << " -0.5000";
    QTest::newRow("integer axis") << 0.0 << 1e6 << 2 << 5 << 0 << "   -1";
    QTest::newRow("no scaling") << 0.0 << 10.0 << 0 << 5 << 0 << "   -1";
}

void TestGraphWidget::labelFormat()
{
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(int, mode);
    QFETCH(int, width);
    QFETCH(int, precision);
    QFETCH(QString, sample);
    const TLabelFormat format = TLabelFormat::For_Range(lo, hi, mode);
    QCOMPARE(format.field_width, width);
    QCOMPARE(format.precision, precision);
    QCOMPARE(format.Text(-0.5), sample);

    // Huge values switch to an exponent instead of hundreds of digits.
    const TLabelFormat huge = TLabelFormat::For_Range(-1e300, 1e300, 1);
    QVERIFY(huge.Text(-7.5e299).size() <= 24);
    QVERIFY(huge.Text(-7.5e299).contains(QLatin1String("e+299")));
    QVERIFY(TLabelFormat::Integer_Text(-1e300).size() <= 24);
    QCOMPARE(TLabelFormat::Integer_Text(-42.0), QStringLiteral("-42"));
}

void TestGraphWidget::tickPositions()
{
    QCOMPARE(Graph_Linear_Ticks(10, 500, 100), (std::vector<int>{10, 135, 260, 385, 510}));
    QCOMPARE(Graph_Linear_Ticks(7, 150, 100), std::vector<int>{7}); // one label: at the first edge
    QVERIFY(Graph_Linear_Ticks(7, 99, 100).empty());
    QVERIFY(Graph_Linear_Ticks(7, -20, 100).empty());

    // Integer axes: the first integer always, then the next one more than a label away.
    const TGraphAxis x{10.0, 0.0};
    QCOMPARE(x.Integer_Ticks(0, 10, 25), (std::vector<double>{0, 3, 6, 9}));
    const TGraphAxis y{-10.0, 500.0}; // pixels grow downwards
    QCOMPARE(y.Integer_Ticks(-2, 5, 25), (std::vector<double>{-2, 1, 4}));
    QCOMPARE(x.Integer_Ticks(4, 4, 25), std::vector<double>{4});

    // A span of 1e300 integers over 1000 pixels is walked without visiting every integer.
    TGraphAxis wide;
    wide.Fit(-1e300, 1e300, 0, 1000);
    const std::vector<double> ticks = wide.Integer_Ticks(-1e300, 1e300, 50);
    QVERIFY(ticks.size() >= 15 && ticks.size() <= 21);
    for (std::size_t i = 1; i < ticks.size(); ++i)
        QVERIFY(wide.Pixel(ticks[i]) - wide.Pixel(ticks[i - 1]) > 50);

    QCOMPARE(Graph_Bar_Half_Width(400, 10), 19);
    QCOMPARE(Graph_Bar_Half_Width(400, 1000), 1);
}

void TestGraphWidget::ticksOnPixmap()
{
    TGraphWidget graph;
    Show(graph, {TVector2(0, 0), TVector2(100, 3)});
    const QImage image = graph.Background_Pixmap().toImage();
    const QRect &plot = graph.Layout().plot;
    const TLabelFormat &h = graph.Horizontal_Label_Format();
    const TLabelFormat &v = graph.Vertical_Label_Format();
    QVERIFY(h.label_height / 3 >= 3 && v.label_height / 2 >= 2);

    // Below the frame's bottom line only the horizontal ticks are light grey.
    std::vector<int> columns;
    for (const auto &run : Runs(image, plot.bottom() + 3, Light_Gray))
        columns.push_back(run.first);
    std::vector<int> expected = Graph_Linear_Ticks(plot.left(), plot.width(), h.label_width);
    expected.erase(
        std::remove_if(expected.begin(), expected.end(), [&](int x) { return x >= image.width(); }),
        expected.end());
    QVERIFY(expected.size() >= 3);
    QCOMPARE(columns, expected);

    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(plot.left() - 2, y) == Light_Gray)
            rows.push_back(y);
    QCOMPARE(rows, Graph_Linear_Ticks(plot.top(), plot.height(), v.label_height));
}

void TestGraphWidget::barsAndZeroLine()
{
    // Ten bars, alternately +1 and -1, in a device plot area exactly 400 pixels wide. The integer x axis
    // has no margin: the outer two bars are cut by the plot edges, the inner eight are whole.
    TGraphWidget graph;
    graph.d_scale_mode_x = TGraphWidget::SCALE_INTEGER;
    const int set = graph.CreateDataSet(QColor(Bar_Color), TGraphWidget::GRAPH_BAR);
    for (int i = 0; i < 10; ++i)
        graph.AddPoint(set, TVector2(i, i % 2 == 0 ? 1.0 : -1.0));
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter probe(&image);
    const int fh = probe.fontMetrics().height();
    probe.end();
    image = QImage(399 + 8 * fh, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QVERIFY(graph.PaintToDevice(&painter, image.rect(), false));
    painter.end();
    const QRect plot = TGraphLayout::Device(image.rect(), fh).plot;
    QCOMPARE(plot.width(), 400);

    const auto inner = [&](QVector<QPair<int, int>> runs)
    {
        runs.erase(std::remove_if(runs.begin(), runs.end(),
                                  [&](const QPair<int, int> &run) {
                                      return run.first <= plot.left() ||
                                             run.first + run.second > plot.right();
                                  }),
                   runs.end());
        return runs;
    };
    const auto positive = inner(Runs(image, plot.top() + plot.height() / 4, Bar_Color));
    const auto negative = inner(Runs(image, plot.bottom() - plot.height() / 4, Bar_Color));
    QCOMPARE(positive.size(), 4);
    QCOMPARE(negative.size(), 4);
    for (const auto &run : positive + negative)
        QCOMPARE(run.second, 38);

    // A positive bar ends one row above the zero line, which stays visible below it.
    const int column = positive.first().first + 19;
    int zero = plot.top() + plot.height() / 4;
    while (image.pixel(column, zero) == Bar_Color)
        ++zero;
    QCOMPARE(image.pixel(column, zero), Light_Gray);
    QCOMPARE(image.pixel(column, zero - 1), Bar_Color);
    // A negative bar covers the zero line and the row above it, not the row above that.
    const int down = negative.first().first + 19;
    QCOMPARE(image.pixel(down, zero), Bar_Color);
    QCOMPARE(image.pixel(down, zero - 1), Bar_Color);
    QVERIFY(image.pixel(down, zero - 2) != Bar_Color);
    // The zero line runs across the gaps between bars.
    QCOMPARE(image.pixel(positive.first().first - 1, zero), Light_Gray);
}

void TestGraphWidget::zeroLineOnEdge()
{
    // On an integer y axis from 0 the zero row is the plot's bottom edge: no zero line. From -1 there is.
    for (const double low : {0.0, -1.0})
    {
        TGraphWidget graph;
        graph.d_scale_mode_y = TGraphWidget::SCALE_INTEGER;
        graph.EnableYIncludesZero(false);
        graph.SetPoints(graph.CreateDataSet(QColor(Bar_Color), TGraphWidget::GRAPH_BOX),
                        {TVector2(1, low), TVector2(5, 10)});
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        graph.PaintToDevice(&painter, image.rect(), true);
        const QRect plot = TGraphLayout::Device(image.rect(), painter.fontMetrics().height()).plot;
        painter.end();
        int gray_rows = 0;
        for (int y = plot.top() + 1; y <= plot.bottom(); ++y)
            gray_rows += image.pixel(plot.center().x(), y) == Light_Gray;
        QCOMPARE(gray_rows, low < 0 ? 1 : 0);
        // Zero lies left of the x data: no vertical zero line either.
        for (int x = plot.left() + 1; x <= plot.right(); ++x)
            QVERIFY(image.pixel(x, plot.center().y()) != Light_Gray);
    }
}

void TestGraphWidget::borderAndRestoredState()
{
    TGraphWidget graph;
    Show(graph, {TVector2(-5, -1), TVector2(5, 2)});
    graph.Update_Viewport_To_Rect(graph.Layout().plot.adjusted(50, 50, -50, -50));
    const TGraphView view = graph.View();
    const QRect plot = graph.Layout().plot;

    for (const bool border : {true, false})
    {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QVERIFY(graph.PaintToDevice_GraphOnly(&painter, image.rect(), border));
        QVERIFY(graph.PaintToDevice(&painter, image.rect(), border));
        const QRect device_plot = TGraphLayout::Device(image.rect(), painter.fontMetrics().height()).plot;
        painter.end();
        for (const QPoint &corner : {QPoint(0, 0), QPoint(299, 0), QPoint(0, 199), QPoint(299, 199)})
            QCOMPARE(image.pixel(corner) == qRgb(0, 0, 0), border);
        // The zero lines cross inside the device's plot area.
        QVERIFY(!Runs(image, device_plot.top() + 3, Light_Gray).isEmpty());
    }
    // The widget's own view, areas and titles are untouched by rendering elsewhere.
    QCOMPARE(graph.View().x.scale, view.x.scale);
    QCOMPARE(graph.View().y.offset, view.y.offset);
    QCOMPARE(graph.Layout().plot, plot);
    QCOMPARE(graph.d_graph_title, QStringLiteral("Sample Graph"));
    QCOMPARE(graph.d_vertical_title, QStringLiteral("V Title"));
}

void TestGraphWidget::clickOrZoomBox_data()
{
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<bool>("zooms");
    QTest::newRow("no move") << QPoint(0, 0) << false;
    QTest::newRow("19 pixels") << QPoint(10, 9) << false;
    QTest::newRow("19 pixels up left") << QPoint(-4, -15) << false;
    QTest::newRow("20 pixels") << QPoint(10, 10) << true;
    QTest::newRow("20 pixels up left") << QPoint(-12, -8) << true;
}

void TestGraphWidget::clickOrZoomBox()
{
    QFETCH(QPoint, drag);
    QFETCH(bool, zooms);
    TGraphWidget graph;
    Show(graph, {TVector2(0, 0), TVector2(10, 10)});
    QSignalSpy clicks(&graph, &TGraphWidget::Mouse_Click);
    const TGraphView before = graph.View();
    const QPoint start = graph.Layout().plot.center();
    const QPoint end = start + drag;

    QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, start);
    if (!drag.isNull())
    {
        Move(&graph, start + drag / 2, Qt::LeftButton);
        Move(&graph, end, Qt::LeftButton);
        QVERIFY(graph.Box_Visible());
    }
    QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, end);
    QVERIFY(!graph.Box_Visible());

    if (zooms)
    {
        QCOMPARE(clicks.count(), 0);
        // The box becomes the view: its corners are the new plot edges.
        const TVisible v = Visible(graph);
        const double left = before.x.Value(std::min(start.x(), end.x()));
        const double top = before.y.Value(std::min(start.y(), end.y()));
        QVERIFY(Near(v.xl, left, 10));
        QVERIFY(Near(v.yt, top, 10));
        return;
    }
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks[0][0].toDouble(), before.x.Value(end.x()));
    QCOMPARE(clicks[0][1].toDouble(), before.y.Value(end.y()));
    QCOMPARE(graph.View().x.scale, before.x.scale);
}

void TestGraphWidget::panAndZoomOut()
{
    TGraphWidget graph;
    Show(graph, {TVector2(-10, -10), TVector2(10, 10)});
    const QRect plot = graph.Layout().plot;
    const QPoint start = plot.center();
    const TGraphView before = graph.View();

    // A right drag moves the view with the mouse and does not zoom out on release.
    QTest::mousePress(&graph, Qt::RightButton, Qt::NoModifier, start);
    Move(&graph, start + QPoint(10, 0), Qt::RightButton);
    Move(&graph, start + QPoint(30, -20), Qt::RightButton);
    QTest::mouseRelease(&graph, Qt::RightButton, Qt::NoModifier, start + QPoint(30, -20));
    graph.repaint();
    QCOMPARE(graph.View().x.scale, before.x.scale);
    QVERIFY(Near(graph.View().x.Value(plot.left() + 30), before.x.Value(plot.left()), 20));
    QVERIFY(Near(graph.View().y.Value(plot.top() - 20), before.y.Value(plot.top()), 20));

    // A right click zooms out by two about the centre of the view.
    graph.UpdateGraph();
    const TVisible fitted = Visible(graph);
    QTest::mouseClick(&graph, Qt::RightButton, Qt::NoModifier, start);
    graph.repaint();
    const TVisible wider = Visible(graph);
    const double ratio = (wider.xr - wider.xl) / (fitted.xr - fitted.xl);
    QVERIFY2(ratio > 1.99 && ratio < 2.02, qPrintable(QString::number(ratio)));
    // About the centre, within the pixel that integer halving may move it.
    QVERIFY(std::fabs((wider.xl + wider.xr) / 2 - (fitted.xl + fitted.xr) / 2) <= 1 / before.x.scale);
    QVERIFY(std::fabs((wider.yb + wider.yt) / 2 - (fitted.yb + fitted.yt) / 2) <= 1 / -before.y.scale);

    // Zooming out stops at 50 times the data range.
    for (int i = 0; i < 8; ++i)
    {
        graph.ZoomOut();
        graph.repaint();
    }
    const TVisible widest = Visible(graph);
    QVERIFY(Near(widest.xr - widest.xl, 50 * graph.Full_X_Range(), 1e3));
    QVERIFY(Near(widest.yt - widest.yb, 50 * graph.Full_Y_Range(), 1e3));

    // Scale to fit returns to the data.
    graph.ScaleToFit();
    graph.repaint();
    QVERIFY(Near(Visible(graph).xl, fitted.xl, 20));
}

void TestGraphWidget::coordinateReadOut()
{
    TGraphWidget graph;
    Show(graph, {TVector2(0, 0), TVector2(1, 1)});
    QCOMPARE(graph.Coordinate_Text(), QStringLiteral("0.00000,   0.00000"));
    const QRect &plot = graph.Layout().plot;
    const QPoint inside = plot.topLeft() + QPoint(40, 30);
    Move(&graph, inside, Qt::NoButton);
    const QString expected = QStringLiteral("%1,   %2")
                                 .arg(graph.View().x.Value(inside.x()), 0, 'f', 5)
                                 .arg(graph.View().y.Value(inside.y()), 0, 'f', 5);
    QCOMPARE(graph.Coordinate_Text(), expected);
    Move(&graph, QPoint(2, 2), Qt::NoButton); // outside the plot: the text stays
    QCOMPARE(graph.Coordinate_Text(), expected);
}

void TestGraphWidget::paintOverlays()
{
    TGraphWidget graph;
    Show(graph, {TVector2(0, 0), TVector2(1, 1)});
    const QRect plot = graph.Layout().plot;
    const QImage background = graph.Background_Pixmap().toImage();
    // The read-out sits right-aligned at the plot's top edge, drawn over the copied pixmap.
    const QRect read_out(plot.right() - 120, plot.top() + 1, 120, 25);
    const auto gray_pixels = [&](const QImage &image)
    {
        int count = 0;
        for (int y = read_out.top(); y <= read_out.bottom(); ++y)
            for (int x = read_out.left(); x <= read_out.right(); ++x)
                count += image.pixel(x, y) == Light_Gray;
        return count;
    };
    QImage screen = graph.grab().toImage();
    QCOMPARE(gray_pixels(background), 0);
    QVERIFY(gray_pixels(screen) > 20);
    QCOMPARE(screen.copy(0, plot.center().y(), 640, 200), background.copy(0, plot.center().y(), 640, 200));

    // While dragging, the rubber band is a black outline over the graph.
    const QPoint start = plot.center();
    QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, start);
    Move(&graph, start + QPoint(60, 40), Qt::LeftButton);
    screen = graph.grab().toImage();
    QCOMPARE(screen.pixel(start + QPoint(30, 0)), qRgb(0, 0, 0));
    QCOMPARE(screen.pixel(start + QPoint(0, 20)), qRgb(0, 0, 0));
    QCOMPARE(screen.pixel(start + QPoint(61, 20)), qRgb(0, 0, 0)); // a pen outline ends one pixel out
    QCOMPARE(screen.pixel(start + QPoint(30, 41)), qRgb(0, 0, 0));
    QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, start + QPoint(60, 40));
    screen = graph.grab().toImage();
    QVERIFY(screen.pixel(start + QPoint(30, 0)) != qRgb(0, 0, 0));
}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QByteArray fault = qgetenv("TST_GRAPHWIDGET_FAULT");
    if (!fault.isEmpty())
        return Run_Fault(fault);
    TestGraphWidget test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_graphwidget.moc"
