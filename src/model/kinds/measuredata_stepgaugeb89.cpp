#include "model/kinds/measuredata_stepgaugeb89.h"

#include "model/measuredata_report.h"

TMeasureStepgaugeB89::TMeasureStepgaugeB89()
{
    file_contents = CONTENTS_STEPGAUGE_B89;
}

bool TMeasureStepgaugeB89::Load_Data(const QByteArray &file_data)
{
    // Point: number, position, and two values this kind does not use.
    static const TLayout LAYOUT = {MeasureMessage::STEPGAUGE_IDENTIFICATION, "Reference_Step_Position:", true,
                                   4, 1};
    d_points.clear();

    std::vector<double> positions;
    if (!Read_File(file_data, LAYOUT, &positions))
    {
        return false;
    }
    d_points = Points_From_Positions(positions);
    return true;
}

bool TMeasureStepgaugeB89::Set_Nominal_Data(const std::vector<double> &nominal_values)
{
    return Match_Nominals(&d_points, nominal_values);
}

QStringList TMeasureStepgaugeB89::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("ASME B89.4.1 Stepgauge Measurement"));
    Description_Block(&lines, true);
    MeasureReport::Alignment_Block(&lines, alignment);
    MeasureReport::Probe_Block(&lines, probe_offset, probe_vector);
    Thermal_Blocks(&lines);
    MeasureReport::Deviation_Block(&lines, QStringLiteral("Measurement Points mm"), d_points);
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureStepgaugeB89::Graph_Data() const
{
    // A run ends where the measured position steps back; each run is one curve.
    std::vector<std::vector<TVector2>> curves;
    std::vector<TVector2> run;
    double previous = d_points.empty() ? 0.0 : d_points.front().actual;
    for (const TPointData &point : d_points)
    {
        if (previous > point.actual)
        {
            curves.push_back(run);
            run.clear();
        }
        run.push_back(TVector2(point.actual, point.actual - point.nominal));
        previous = point.actual;
    }
    if (!run.empty())
    {
        curves.push_back(run);
    }
    return curves;
}
