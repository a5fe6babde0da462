#include "model/kinds/measuredata_machinelaser10360.h"

#include "model/kinds/measuredata_runs.h"
#include "model/measuredata_report.h"

#include <algorithm>

namespace
{
const size_t POINT_COUNT = 30;
const size_t LENGTH_COUNT = POINT_COUNT / 2;
const size_t REPEAT_COUNT = 3;
} // namespace

TMeasureMachineLaser10360::TMeasureMachineLaser10360()
{
    file_contents = CONTENTS_LASER_10360;
}

bool TMeasureMachineLaser10360::Load_Data(const QByteArray &file_data)
{
    static const TLayout LAYOUT = {
        {"Scale", "Straightness_X", "Straightness_Y", "Straightness_Z", "Angular"}};
    d_measured_data.clear();

    size_t entries_before_type = 0;
    if (!Read_File(file_data, LAYOUT, &entries_before_type))
    {
        return false;
    }
    if (d_measured_data.size() != POINT_COUNT)
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    Update_Length_Data();
    return true;
}

void TMeasureMachineLaser10360::Update_Length_Data()
{
    d_lengths.clear();
    if (d_measured_data.size() != POINT_COUNT)
    {
        return;
    }
    // Points with the same number keep their file order.
    std::stable_sort(d_measured_data.begin(), d_measured_data.end(), Sort_Functor_Index());
    d_lengths = MeasureRuns::Pair_Lengths<TLengthData>(d_measured_data);
}

QStringList TMeasureMachineLaser10360::Text_Report() const
{
    QStringList lines;
    Report_Head(&lines, QStringLiteral("ASME B89.4.10360 Laser Measurement"));
    MeasureReport::Deviation_Block(&lines, QStringLiteral("Measurement Lengths mm"), d_lengths);
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureMachineLaser10360::Graph_Data() const
{
    if (d_lengths.size() != LENGTH_COUNT)
    {
        return {};
    }
    return MeasureRuns::Repeat_Curves(d_lengths, REPEAT_COUNT);
}
