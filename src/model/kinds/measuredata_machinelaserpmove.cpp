#include "model/kinds/measuredata_machinelaserpmove.h"

#include "model/kinds/measuredata_runs.h"
#include "model/measuredata_report.h"

#include <algorithm>
#include <cmath>

namespace
{
// Readings closer than this to their neighbour are taken at the same position, mm.
const double SAME_POSITION_GAP = 1.0;
} // namespace

TMeasureMachineLaserPMove::TMeasureMachineLaserPMove()
{
    file_contents = CONTENTS_LASER_PMOVE;
}

bool TMeasureMachineLaserPMove::Load_Data(const QByteArray &file_data)
{
    static const TLayout LAYOUT = {
        {"Scale", "Straightness_In_X", "Straightness_In_Y", "Straightness_In_Z", "Angular"}};
    d_measured_data.clear();
    d_points.clear();

    size_t entries_before_type = 0;
    if (!Read_File(file_data, LAYOUT, &entries_before_type))
    {
        return false;
    }
    // Readings only count once the file has said what they measure.
    for (size_t i = entries_before_type; i < d_measured_data.size(); ++i)
    {
        d_points.push_back(TVector2(d_measured_data[i].position, d_measured_data[i].deviation));
    }
    Combine_Points();
    return true;
}

void TMeasureMachineLaserPMove::Combine_Points()
{
    std::stable_sort(d_points.begin(), d_points.end(), Sort_Functor_Position());

    auto joins = [](const TVector2 &previous, const TVector2 &next)
    { return std::abs(previous.x - next.x) < SAME_POSITION_GAP; };
    auto merge = [](std::vector<TVector2>::const_iterator first, std::vector<TVector2>::const_iterator last)
    {
        return TVector2(MeasureRuns::Mean(first, last, [](const TVector2 &point) { return point.x; }),
                        MeasureRuns::Mean(first, last, [](const TVector2 &point) { return point.y; }));
    };
    d_points = MeasureRuns::Merge_Runs(d_points, joins, merge);
}

QStringList TMeasureMachineLaserPMove::Text_Report() const
{
    QStringList lines;
    Report_Head(&lines, QStringLiteral("PMove Laser Measurement"));
    MeasureReport::Heading(&lines, QStringLiteral("Measurement Points mm"));
    if (d_measurement_type == MEASUREMENT_SCALE)
    {
        // A scale run reads as nominal position, reached position and deviation.
        lines.append(QStringLiteral("     Nominal        Actual      Deviation"));
        lines.append(QString());
        for (const TVector2 &point : d_points)
        {
            lines.append(MeasureReport::Columns({point.x, point.x + point.y, point.y}));
        }
    }
    else
    {
        lines.append(QStringLiteral("     Position     Deviation"));
        lines.append(QString());
        for (const TVector2 &point : d_points)
        {
            lines.append(MeasureReport::Columns({point.x, point.y}));
        }
    }
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureMachineLaserPMove::Graph_Data() const
{
    return {d_points};
}
