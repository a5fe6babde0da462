#include "model/kinds/measuredata_stepgaugesquare.h"

#include "geometry/interpolation.h"
#include "model/kinds/measuredata_runs.h"
#include "model/measuredata_report.h"

#include <algorithm>
#include <cmath>

namespace
{
// Readings of one step lie closer than this to their neighbour, mm.
const double SAME_STEP_GAP = 1.0;
} // namespace

TMeasureStepgaugeSquare::TMeasureStepgaugeSquare()
{
    file_contents = CONTENTS_STEPGAUGE_SQUARE;
}

bool TMeasureStepgaugeSquare::Load_Data(const QByteArray &file_data)
{
    static const TLayout LAYOUT = {MeasureMessage::STEPGAUGE_IDENTIFICATION,
                                   "Reference_Step_Position:", false, 5, 2};
    d_points.clear();
    d_lengths.clear();

    std::vector<double> positions;
    if (!Read_File(file_data, LAYOUT, &positions))
    {
        return false;
    }
    d_points = Points_From_Positions(positions);
    Consolidate_Points();
    Update_Length_Data();
    return true;
}

bool TMeasureStepgaugeSquare::Set_Nominal_Data(const std::vector<double> &nominal_values)
{
    if (!Match_Nominals(&d_points, nominal_values))
    {
        return false;
    }
    Update_Length_Data();
    return true;
}

void TMeasureStepgaugeSquare::Consolidate_Points()
{
    std::stable_sort(d_points.begin(), d_points.end(), TPointData_Sort());

    // Neighbours, not the run's first reading, decide: a chain of close readings is one step.
    auto joins = [](const TPointData &previous, const TPointData &next)
    { return std::abs(previous.actual - next.actual) <= SAME_STEP_GAP; };
    auto merge =
        [](std::vector<TPointData>::const_iterator first, std::vector<TPointData>::const_iterator last)
    {
        TPointData point;
        point.actual = MeasureRuns::Mean(first, last, [](const TPointData &item) { return item.actual; });
        point.nominal = point.actual;
        return point;
    };
    d_points = MeasureRuns::Merge_Runs(d_points, joins, merge);
}

void TMeasureStepgaugeSquare::Update_Length_Data()
{
    d_slope = 0.0;
    d_lengths.clear();

    std::vector<TVector2> deviations;
    for (size_t i = 1; i < d_points.size(); ++i)
    {
        TLengthData length;
        length.nominal = d_points[i].nominal - d_points[0].nominal;
        length.actual = d_points[i].actual - d_points[0].actual;
        d_lengths.push_back(length);
        deviations.push_back(TVector2(length.actual, length.actual - length.nominal));
    }
    // With fewer than two lengths there is no line: the slope stays 0, the intercept as it was.
    Regression::Fit_Line(deviations, &d_slope, &d_intercept);
}

QStringList TMeasureStepgaugeSquare::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("Stepgauge Squareness Measurement"));
    Description_Block(&lines, true);
    MeasureReport::Alignment_Block(&lines, alignment);
    MeasureReport::Probe_Block(&lines, probe_offset, probe_vector);

    MeasureReport::Heading(&lines, QStringLiteral("Interpretation"));
    lines.append(QStringLiteral("  Slope:     %1 mm/m").arg(MeasureReport::Number(1000.0 * d_slope, 0, 4)));
    lines.append(QStringLiteral("  Intercept: %1 mm").arg(MeasureReport::Number(d_intercept, 0, 4)));
    lines.append(QString());

    MeasureReport::Deviation_Block(&lines, QStringLiteral("Measurement Lengths"), d_lengths);
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureStepgaugeSquare::Graph_Data() const
{
    std::vector<TVector2> curve;
    for (const TLengthData &length : d_lengths)
    {
        curve.push_back(TVector2(length.actual, length.actual - length.nominal));
    }
    return {curve};
}
