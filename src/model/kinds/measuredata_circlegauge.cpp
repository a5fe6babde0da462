#include "model/kinds/measuredata_circlegauge.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <cmath>

namespace
{
const int POINT_PART_COUNT = 7;
const double SMALLEST_FORM = 0.0001;
const double LARGEST_MAGNIFICATION = 10000.0;
} // namespace

TMeasureCircleGauge::TMeasureCircleGauge(TFileContents contents, const char *title) : d_title(title)
{
    file_contents = contents;
}

TMeasurePin::TMeasurePin() : TMeasureCircleGauge(CONTENTS_PIN_GAUGE, "Pin Gauge Measurement") {}

TMeasureRing::TMeasureRing() : TMeasureCircleGauge(CONTENTS_RING_GAUGE, "Ring Gauge Measurement") {}

bool TMeasureCircleGauge::Load_Data(const QByteArray &file_data)
{
    d_points.clear();
    return Read_Feature_File(file_data, TFeatureLayout{"Circle"});
}

void TMeasureCircleGauge::Read_Point(const TFields &parts)
{
    if (parts.size() != POINT_PART_COUNT)
    {
        MeasureGrammar::Drop_Line();
        return;
    }
    const std::vector<double> values = MeasureGrammar::To_Numbers(parts);
    TPointData point;
    point.xyz = TVector3(values[0], values[1], values[2]);
    point.ijk = TVector3(values[3], values[4], values[5]);
    point.deviation = values[6];
    d_points.push_back(point);
}

QStringList TMeasureCircleGauge::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QLatin1String(d_title));
    MeasureReport::Alignment_Block(&lines, alignment);
    MeasureReport::Probe_Block(&lines, probe_offset, probe_vector);
    MeasureReport::Heading(&lines, QStringLiteral("Feature"));
    Feature_Lines(&lines, 13);
    lines.append(QString());
    Points_Heading(&lines, QStringLiteral("        X             Y             Z             I             J"
                                          "             K             Dev"));
    for (const TPointData &point : d_points)
    {
        lines.append(Point_Row(point.xyz, point.ijk, {point.deviation}));
    }
    return lines;
}

double TMeasureCircleGauge::Magnification(double diameter, double form)
{
    if (!(form > SMALLEST_FORM))
    {
        return 1.0;
    }
    const double magnification = 0.25 * diameter / form;
    if (magnification > LARGEST_MAGNIFICATION)
    {
        return LARGEST_MAGNIFICATION;
    }
    return magnification > 1.0 ? magnification : 1.0;
}

TGraphNotes TMeasureCircleGauge::Graph_Notes() const
{
    TGraphNotes notes = TMeasureData::Graph_Notes();
    notes.magnification = Magnification(d_feature.diameter, d_feature.form);
    return notes;
}

std::vector<std::vector<TVector2>> TMeasureCircleGauge::Graph_Data() const
{
    const double magnification = Magnification(d_feature.diameter, d_feature.form);
    std::vector<TVector2> points;
    std::vector<TVector2> deviations;
    points.reserve(d_points.size() + 1);
    deviations.reserve(d_points.size() + 1);
    for (const TPointData &point : d_points)
    {
        const TVector2 position(point.xyz.x, point.xyz.y);
        const TVector2 normal(point.ijk.x, point.ijk.y);
        points.push_back(position);
        // Huge values can overflow here; a point that is not finite cannot be drawn.
        const TVector2 moved = position + (normal * point.deviation) * magnification;
        if (std::isfinite(moved.x) && std::isfinite(moved.y))
        {
            deviations.push_back(moved);
        }
    }
    // Close both outlines.
    if (!points.empty())
    {
        points.push_back(points.front());
    }
    if (!deviations.empty())
    {
        deviations.push_back(deviations.front());
    }
    return {points, deviations, deviations};
}
