#include "model/kinds/measuredata_pftu.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

namespace
{
const int POINT_PART_COUNT = 8;
}

TMeasurePFTU::TMeasurePFTU()
{
    file_contents = CONTENTS_SPHERE_PFTU;
}

bool TMeasurePFTU::Load_Data(const QByteArray &file_data)
{
    d_points.clear();
    return Read_Feature_File(file_data, TFeatureLayout{"Sphere"});
}

bool TMeasurePFTU::Read_Kind_Record(TRecordReader *reader)
{
    QString value;
    if (!reader->Key(QStringLiteral("Nominal_Sphere_Radius:"), &value))
    {
        return false;
    }
    d_nominal_radius = MeasureGrammar::To_Number(value);
    return true;
}

void TMeasurePFTU::Read_Point(const TFields &parts)
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
    point.radius = values[6];
    point.deviation = values[7];
    d_points.push_back(point);
}

QStringList TMeasurePFTU::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("ASME B89.4.10360 Pftu"));
    MeasureReport::Alignment_Block(&lines, alignment);
    MeasureReport::Probe_Block(&lines, probe_offset, probe_vector);
    MeasureReport::Heading(&lines, QStringLiteral("Feature"));
    const int label_width = 14;
    lines.append(
        MeasureFeature::Labelled(QStringLiteral("Nominal Rad."), label_width,
                                 MeasureReport::Number(d_nominal_radius, 0, 4) + QStringLiteral(" mm")));
    Feature_Lines(&lines, label_width);
    lines.append(QString());
    Points_Heading(&lines, QStringLiteral("        X             Y             Z             I             J"
                                          "             K           Radius         Dev"));
    for (const TPointData &point : d_points)
    {
        lines.append(Point_Row(point.xyz, point.ijk, {point.radius, point.deviation}));
    }
    return lines;
}
