#include "model/kinds/measuredata_gaugeblock.h"

#include "model/kinds/measuredata_runs.h"
#include "model/measuredata_report.h"

namespace
{
// Three measurements of the block, each the positions of its two faces.
const size_t POSITION_COUNT = 6;
} // namespace

TMeasureGaugeblock::TMeasureGaugeblock()
{
    file_contents = CONTENTS_GAUGEBLOCK;
}

bool TMeasureGaugeblock::Load_Data(const QByteArray &file_data)
{
    static const TLayout LAYOUT = {"Gauge block identification line not recognized", "Datum_Flatness:", true,
                                   5, 2};
    d_positions.clear();
    d_lengths.clear();

    if (!Read_File(file_data, LAYOUT, &d_positions))
    {
        return false;
    }
    if (d_positions.size() != POSITION_COUNT)
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    for (size_t i = 0; i < POSITION_COUNT; i += 2)
    {
        d_lengths.push_back(d_positions[i + 1] - d_positions[i]);
    }
    return true;
}

QStringList TMeasureGaugeblock::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("ASME B89.4.10360 Gauge Block Measurement"));
    Description_Block(&lines, false);

    MeasureReport::Heading(&lines, QStringLiteral("Alignment"));
    MeasureReport::Alignment_Lines(&lines, alignment);
    lines.append(QString());
    lines.append(
        QStringLiteral("  Datum Flatness: %1 mm").arg(MeasureReport::Number(d_reference_value, 0, 4)));
    lines.append(QString());

    MeasureReport::Probe_Block(&lines, probe_offset, probe_vector);
    Thermal_Blocks(&lines);

    MeasureReport::Heading(&lines, QStringLiteral("Measurement Lengths"));
    lines.append(QStringLiteral("     Actual"));
    lines.append(QString());
    for (const double length : d_lengths)
    {
        lines.append(MeasureReport::Columns({length}));
    }
    if (!d_lengths.empty())
    {
        const double mean =
            MeasureRuns::Mean(d_lengths.begin(), d_lengths.end(), [](double length) { return length; });
        lines.append(QString());
        lines.append(QStringLiteral("Mean:"));
        lines.append(QStringLiteral("%1 mm").arg(MeasureReport::Number(mean, 12, 4)));
    }
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureGaugeblock::Graph_Data() const
{
    return {};
}
