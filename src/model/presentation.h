#pragma once

#include "geometry/vector2.h"
#include "graph/graphview.h"
#include "model/measuredata.h"
#include "model/tolerance.h"

#include <QString>
#include <QStringList>
#include <vector>

// Everything the window shows of a loaded measurement besides its report: the graph's set-up and data
// sets in drawing order, and the lines that follow the report.
struct TPresentation
{
    TGraphSetup setup;
    std::vector<TGraphTypes::TDataSet> data_sets;
    std::vector<TGraphTypes::TLegendEntry> legend; // empty: no legend
    QStringList extra_lines;
};

namespace Presentation
{
TGraphSetup Graph_Setup(TMeasureData::TFileContents kind);

// point_graph chooses crosses over lines for the step gauge and laser curves. verdict_marks adds
// Verdict_Marks.
TPresentation Present(TMeasureData::TFileContents kind, const std::vector<std::vector<TVector2>> &curves,
                      const TTolerance &tolerance, bool point_graph, const TGraphNotes &notes = {},
                      bool verdict_marks = true);

// What shows a step gauge or laser verdict on the graph: the points outside E MPL in red (crosses, or
// boxes on the vertices of a line graph), then a ring in the verdict's colour around its worst point.
// Nothing for other kinds; no ring when the file had lines that could not be read.
std::vector<TGraphTypes::TDataSet> Verdict_Marks(TMeasureData::TFileContents kind,
                                                 const std::vector<std::vector<TVector2>> &curves,
                                                 const TTolerance &tolerance, bool point_graph,
                                                 int unreadable_lines = 0);

// A magnification as it is read off a drawing: two significant digits, "×250".
QString Magnification_Text(double magnification);

// The ballbar histogram's bin counts: 11 bins of step width centred on low + j·step; a length on a
// border between two bins falls in the upper one, the last border closes the last bin.
std::vector<int> Ballbar_Bins(const std::vector<std::vector<TVector2>> &curves, double low, double step);
} // namespace Presentation
