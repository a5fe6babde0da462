#include "model/kinds/measuredata_stepgauge10360.h"

#include "model/kinds/measuredata_runs.h"
#include "model/measuredata_report.h"

namespace
{
const size_t POINT_COUNT = 36;
const size_t LENGTH_COUNT = POINT_COUNT / 2;
const size_t REPEAT_COUNT = 3;
} // namespace

TMeasureStepgauge10360::TMeasureStepgauge10360()
{
    file_contents = CONTENTS_STEPGAUGE_10360;
}

bool TMeasureStepgauge10360::Load_Data(const QByteArray &file_data)
{
    static const TLayout LAYOUT = {MeasureMessage::STEPGAUGE_IDENTIFICATION, "Reference_Step_Position:", true,
                                   5, 2};
    d_points.clear();
    d_lengths.clear();

    std::vector<double> positions;
    if (!Read_File(file_data, LAYOUT, &positions))
    {
        return false;
    }
    if (positions.size() != POINT_COUNT)
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    d_points = Points_From_Positions(positions);
    Update_Length_Data();
    return true;
}

bool TMeasureStepgauge10360::Set_Nominal_Data(const std::vector<double> &nominal_values)
{
    if (!Match_Nominals(&d_points, nominal_values))
    {
        return false;
    }
    Update_Length_Data();
    return true;
}

void TMeasureStepgauge10360::Update_Length_Data()
{
    d_lengths.clear();
    if (d_points.size() != POINT_COUNT)
    {
        return;
    }
    d_lengths = MeasureRuns::Pair_Lengths<TLengthData>(d_points);
}

QStringList TMeasureStepgauge10360::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("ASME B89.4.10360 Stepgauge Measurement"));
    Description_Block(&lines, true);
    MeasureReport::Alignment_Block(&lines, alignment);
    MeasureReport::Probe_Block(&lines, probe_offset, probe_vector);
    Thermal_Blocks(&lines);
    MeasureReport::Deviation_Block(&lines, QStringLiteral("Measurement Lengths mm"), d_lengths);
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureStepgauge10360::Graph_Data() const
{
    if (d_lengths.size() != LENGTH_COUNT)
    {
        return {};
    }
    return MeasureRuns::Repeat_Curves(d_lengths, REPEAT_COUNT);
}
