// Merging the segments of a pixel column: the merged list paints exactly the pixels of the list it came
// from, for raw segment lists and for whole graphs in every drawing type.

#include "graph/graphreduction.h"
#include "widgets/graphwidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <random>

using TLines = std::vector<QLine>;
Q_DECLARE_METATYPE(TLines)

namespace
{
QImage Paint(const TLines &lines)
{
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0, 0, 255)));
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

std::vector<TVector2> Curve(int count)
{
    std::vector<TVector2> points;
    std::mt19937 random(static_cast<unsigned>(count));
    for (int i = 0; i < count; ++i)
    {
        const double x = 1000.0 * i / count;
        points.emplace_back(x, std::sin(x / 80.0) + (random() % 1000) / 4000.0);
    }
    return points;
}

QImage Render_Graph(const std::vector<TVector2> &points, int type, const QColor &color)
{
    TGraphWidget graph;
    graph.SetPoints(graph.CreateDataSet(color, TGraphWidget::TGraphType(type)), points);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    graph.PaintToDevice(&painter, image.rect(), true);
    return image;
}
} // namespace

class TTestGraphReduction : public QObject
{
    Q_OBJECT

  private slots:
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
                for (const QColor &color : {QColor(0, 0, 255), QColor(200, 0, 0, 120)})
                    QTest::addRow("%d points, type %d, alpha %d", points, type, color.alpha())
                        << points << type << color;
    }

    void Graph_Unchanged()
    {
        QFETCH(int, points);
        QFETCH(int, type);
        QFETCH(QColor, color);
        const std::vector<TVector2> curve = Curve(points);
        const QImage merged = Render_Graph(curve, type, color);
        TColumnMerger::Set_Enabled(false);
        const QImage unmerged = Render_Graph(curve, type, color);
        TColumnMerger::Set_Enabled(true);
        QCOMPARE(merged, unmerged);
    }
};

QTEST_MAIN(TTestGraphReduction)
#include "tst_graphreduction.moc"
