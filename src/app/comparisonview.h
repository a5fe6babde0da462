#pragma once

#include "geometry/vector2.h"
#include "graph/graphview.h"
#include "model/measuredata.h"
#include "model/presentation.h"
#include "model/tolerance.h"

#include <QColor>
#include <QString>
#include <vector>

// The graph of two runs shown together: the older one as it is always drawn, the newer one over it in
// dashed, lighter lines, and a legend naming both files.
struct TComparisonGraph
{
    TPresentation presentation;
    std::vector<TGraphTypes::TLegendEntry> legend;
};

namespace ComparisonView
{
// Whether the file at first was written before the one at second; the list's order decides a tie.
bool Written_Before(const QString &first, const QString &second);

// Halfway to white.
QColor Lighter(const QColor &color);

TComparisonGraph Present(TMeasureData::TFileContents kind, const std::vector<std::vector<TVector2>> &older,
                         const std::vector<std::vector<TVector2>> &newer, const TTolerance &tolerance,
                         bool point_graph, const QString &older_name, const QString &newer_name);
} // namespace ComparisonView
