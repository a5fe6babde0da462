#include "app/comparisonview.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

bool ComparisonView::Written_Before(const QString &first, const QString &second)
{
    return QFileInfo(first).lastModified() <= QFileInfo(second).lastModified();
}

QColor ComparisonView::Lighter(const QColor &color)
{
    return QColor((color.red() + 255) / 2, (color.green() + 255) / 2, (color.blue() + 255) / 2,
                  color.alpha());
}

TComparisonGraph ComparisonView::Present(TMeasureData::TFileContents kind,
                                         const std::vector<std::vector<TVector2>> &older,
                                         const std::vector<std::vector<TVector2>> &newer,
                                         const TTolerance &tolerance, bool point_graph,
                                         const QString &older_name, const QString &newer_name)
{
    TComparisonGraph graph;
    // The verdict shown is the newer run's, so its marks are the ones drawn.
    graph.presentation = Presentation::Present(kind, older, tolerance, point_graph, {}, false);
    // The newer curves follow the older ones, each in its older twin's hue, and before the limit lines.
    std::vector<TGraphTypes::TDataSet> &sets = graph.presentation.data_sets;
    const std::size_t curves = std::min(older.size(), sets.size());
    std::vector<TGraphTypes::TDataSet> newer_sets;
    for (std::size_t i = 0; i < newer.size(); ++i)
    {
        TGraphTypes::TDataSet set;
        set.dataset_points = newer[i];
        set.dataset_color = Lighter(i < curves ? sets[i].dataset_color : QColor(Qt::black));
        // A dashed pen only shows along lines, so the newer run is a line also where the older is crosses.
        set.dataset_type = TGraphTypes::GRAPH_LINE;
        set.dataset_dashed = true;
        newer_sets.push_back(set);
    }
    sets.insert(sets.begin() + static_cast<std::ptrdiff_t>(curves), newer_sets.begin(), newer_sets.end());
    const std::vector<TGraphTypes::TDataSet> marks =
        Presentation::Verdict_Marks(kind, newer, tolerance, point_graph);
    sets.insert(sets.end(), marks.begin(), marks.end());

    const QColor older_color = curves > 0 ? sets.front().dataset_color : QColor(Qt::black);
    graph.legend.push_back({older_name, older_color, false});
    graph.legend.push_back(
        {newer_name, newer_sets.empty() ? Lighter(older_color) : newer_sets.front().dataset_color, true});
    graph.presentation.legend = graph.legend;
    return graph;
}
