// Times a full render of the graph into a 1200 x 800 pixmap for growing point counts and each drawing
// type. Prints the best of several runs per case (processor time of the thread), whether the image equals the
// one drawn without merging the segments of a pixel column, and the goal of 30 ms at a million points.
//
//   graph_bench [POINTS]

#include "graph/graphreduction.h"
#include "widgets/graphwidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <ctime>
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

// Processor time of this thread: offscreen painting runs on it alone, and on a machine shared with builds
// the wall clock also counts the time others held the processor.
double Thread_Milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

QImage Render_Image(TGraphWidget &graph, QPixmap &pixmap)
{
    pixmap.fill(Qt::white);
    {
        QPainter painter(&pixmap);
        graph.PaintToDevice(&painter, pixmap.rect(), true);
    }
    return pixmap.toImage();
}

double Render_Milliseconds(TGraphWidget &graph, QPixmap &pixmap, int repeats)
{
    double best = 1e300;
    for (int run = 0; run < repeats; ++run)
    {
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        const double start = Thread_Milliseconds();
        graph.PaintToDevice(&painter, pixmap.rect(), true);
        best = std::min(best, Thread_Milliseconds() - start);
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
    out << "render time in ms of thread processor time, 1200 x 800 pixmap, best of 5; '=' the image equals "
           "the unmerged drawing\n";
    out << QStringLiteral("%1").arg("points", 8);
    for (const auto &type : types)
        out << QStringLiteral("%1").arg(type.name, 11);
    out << '\n';

    QPixmap pixmap(1200, 800);
    bool all_same = true;
    double slowest_million = 0.0;
    for (const int count : counts)
    {
        const std::vector<TVector2> points = Make_Points(count);
        out << QStringLiteral("%1").arg(count, 8);
        for (const auto &type : types)
        {
            TGraphWidget graph;
            graph.SetPoints(graph.CreateDataSet(QColor(0, 0, 255), type.type), points);
            const double ms = Render_Milliseconds(graph, pixmap, 5);
            const QImage merged = Render_Image(graph, pixmap);
            TColumnMerger::Set_Enabled(false);
            const QImage unmerged = Render_Image(graph, pixmap);
            TColumnMerger::Set_Enabled(true);
            const bool same = merged == unmerged;
            all_same = all_same && same;
            if (count >= 1000000)
                slowest_million = std::max(slowest_million, ms);
            out << QStringLiteral("%1%2").arg(ms, 10, 'f', 2).arg(same ? '=' : '!');
        }
        out << '\n';
        out.flush();
    }
    if (slowest_million > 0.0)
        out << QStringLiteral("1M points, slowest style %1 ms: goal <= 30 ms %2\n")
                   .arg(slowest_million, 0, 'f', 2)
                   .arg(slowest_million <= 30.0 ? "met" : "MISSED");
    out << (all_same ? "images equal the unmerged drawing: met\n"
                     : "images differ from the unmerged drawing: MISSED\n");
    return 0;
}
