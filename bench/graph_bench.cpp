// Times a full render of the graph into a 1200 x 800 pixmap for growing point counts and each drawing
// type. Prints the best of several runs per case.
//
//   graph_bench [POINTS]

#include "widgets/graphwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// A noisy sine over the whole width with values of both signs, so lines, bars and markers spread over
// the plot area the way measurement curves do.
std::vector<TVector2> Make_Points(int count)
{
    std::vector<TVector2> points;
    points.reserve(static_cast<std::size_t>(count));
    unsigned int state = 12345u;
    for (int i = 0; i < count; ++i)
    {
        state = state * 1103515245u + 12345u;
        const double noise = ((state >> 8) & 0xffff) / 65535.0 - 0.5;
        const double x = 1000.0 * i / count;
        points.emplace_back(x, std::sin(x / 80.0) * 0.004 + noise * 0.0005);
    }
    return points;
}

double Render_Milliseconds(TGraphWidget &graph, QPixmap &pixmap, int repeats)
{
    double best = 1e300;
    for (int run = 0; run < repeats; ++run)
    {
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        QElapsedTimer timer;
        timer.start();
        graph.PaintToDevice(&painter, pixmap.rect(), true);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const struct
    {
        TGraphWidget::TGraphType type;
        const char *name;
    } types[] = {{TGraphWidget::GRAPH_DEFAULT, "default"},
                 {TGraphWidget::GRAPH_LINE, "line"},
                 {TGraphWidget::GRAPH_BAR, "bar"},
                 {TGraphWidget::GRAPH_CROSS, "cross"},
                 {TGraphWidget::GRAPH_BOX, "box"}};
    // graph_bench [POINTS]: one point count only, for a profiler.
    std::vector<int> counts = {1000, 10000, 100000, 1000000};
    if (argc > 1)
        counts = {std::max(1, QString::fromLocal8Bit(argv[1]).toInt())};

    QTextStream out(stdout);
    out << "render time in ms, 1200 x 800 pixmap, best of 5\n";
    out << QStringLiteral("%1").arg("points", 8);
    for (const auto &type : types)
        out << QStringLiteral("%1").arg(type.name, 10);
    out << '\n';

    QPixmap pixmap(1200, 800);
    for (const int count : counts)
    {
        const std::vector<TVector2> points = Make_Points(count);
        out << QStringLiteral("%1").arg(count, 8);
        for (const auto &type : types)
        {
            TGraphWidget graph;
            graph.SetPoints(graph.CreateDataSet(QColor(0, 0, 255), type.type), points);
            out << QStringLiteral("%1").arg(Render_Milliseconds(graph, pixmap, 5), 10, 'f', 2);
        }
        out << '\n';
        out.flush();
    }
    return 0;
}
