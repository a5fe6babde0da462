#pragma once

#include "geometry/vector2.h"
#include "graph/graphview.h"
#include "model/measuredata.h"
#include "model/tolerance.h"

#include <QString>
#include <QStringList>
#include <vector>

// How the graph is set up for a kind of measurement: shown or hidden, titles and axis options.
struct TGraphSetup
{
    bool shown = false;
    bool style_buttons = false; // the point and line graph buttons apply to the kind
    QString graph_title;
    QString vertical_title;
    QString horizontal_title;
    bool lock_aspect_ratio = false;
    int scale_mode_y = TGraphTypes::SCALE_LINEAR;
    bool y_includes_zero = true;
};

// Everything the window shows of a loaded measurement besides its report: the graph's set-up and data
// sets in drawing order, and the lines that follow the report.
struct TPresentation
{
    TGraphSetup setup;
    std::vector<TGraphTypes::TDataSet> data_sets;
    QStringList extra_lines;
};

namespace Presentation
{
TGraphSetup Graph_Setup(TMeasureData::TFileContents kind);

// point_graph chooses crosses over lines for the step gauge and laser curves.
TPresentation Present(TMeasureData::TFileContents kind, const std::vector<std::vector<TVector2>> &curves,
                      const TTolerance &tolerance, bool point_graph);

// The ballbar histogram's bin counts: 11 bins of step width centred on low + j·step; a length on a
// border between two bins falls in the upper one, the last border closes the last bin.
std::vector<int> Ballbar_Bins(const std::vector<std::vector<TVector2>> &curves, double low, double step);
} // namespace Presentation
