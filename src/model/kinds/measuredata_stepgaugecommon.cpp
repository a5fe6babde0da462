#include "model/kinds/measuredata_stepgaugecommon.h"

#include "base/assertion.h"
#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <cmath>

namespace
{
const double NOMINAL_MATCH_TOLERANCE = 2.0; // mm
}

double TMeasureStepgaugeCommon::Get_Nominal(const double &position, const std::vector<double> &nominal_values,
                                            bool *valid)
{
    QUILLON_ASSERT(valid);
    *valid = false;
    for (const double nominal : nominal_values)
    {
        if (std::abs(nominal - position) <= NOMINAL_MATCH_TOLERANCE)
        {
            *valid = true;
            return nominal;
        }
    }
    return 0.0;
}

bool TMeasureStepgaugeCommon::Read_File(const QByteArray &file_data, const TLayout &layout,
                                        std::vector<double> *positions)
{
    TRecordReader reader(file_data, &unreadable_lines);
    if (!reader.Read_Identification(Identification_Text(TFileContents(file_contents))))
    {
        return Fail(QLatin1String(layout.identification_message));
    }

    const int scales = layout.thermal_sections ? reader.Add_Section(QStringLiteral("Scales_Begin:"),
                                                                    QStringLiteral("Scales_End:"))
                                               : -1;
    const int alignment_section =
        reader.Add_Section(QStringLiteral("Alignment_Begin:"), QStringLiteral("Alignment_End:"));
    const int temperature = layout.thermal_sections ? reader.Add_Section(QStringLiteral("Temperature_Begin:"),
                                                                         QStringLiteral("Temperature_End:"))
                                                    : -1;
    // The measuring software writes the closing marker with two colons.
    const int measurement =
        reader.Add_Section(QStringLiteral("Measurement_Begin:"), QStringLiteral("Measurement_End::"));
    const QString reference_key = QLatin1String(layout.reference_key);

    while (reader.Next_Line())
    {
        QStringView value;
        if (reader.Read_Section_Marker() ||
            reader.Key(QStringLiteral("Equipment_Identification:"), &d_equipment) ||
            Read_Probe_Record(&reader) || Read_Alignment_Record(&reader, alignment_section) ||
            reader.Number_In(temperature, QStringLiteral("X_Scale:"), &d_x_scale_temperature) ||
            reader.Number_In(temperature, QStringLiteral("Y_Scale:"), &d_y_scale_temperature) ||
            reader.Number_In(temperature, QStringLiteral("Z_Scale:"), &d_z_scale_temperature) ||
            reader.Number_In(temperature, QStringLiteral("Gauge:"), &d_gauge_temperature) ||
            reader.Number_In(scales, QStringLiteral("X_Expansion_Coefficient:"), &d_scale_expansion.x) ||
            reader.Number_In(scales, QStringLiteral("Y_Expansion_Coefficient:"), &d_scale_expansion.y) ||
            reader.Number_In(scales, QStringLiteral("Z_Expansion_Coefficient:"), &d_scale_expansion.z) ||
            reader.Key_In(measurement, QStringLiteral("Description:"), &d_description) ||
            reader.Number_In(measurement, reference_key, &d_reference_value))
        {
            if (reader.Failed())
            {
                return Fail(reader.Error());
            }
        }
        else if (reader.Key_In(measurement, QStringLiteral("Point:"), &value))
        {
            const TFields parts = MeasureGrammar::Split_List(value);
            if (parts.size() == layout.point_parts)
            {
                positions->push_back(MeasureGrammar::To_Number(parts[layout.point_index]));
            }
            else
            {
                MeasureGrammar::Drop_Line();
            }
        }
    }

    const bool complete =
        reader.Seen_All({"Equipment_Identification:", "Alignment_Begin:", "Description:", "Probe_Offset:",
                         "Probe_Vector:", "Measurement_Begin:"}) &&
        reader.Seen(reference_key) &&
        (!layout.thermal_sections || reader.Seen_All({"Scales_Begin:", "Temperature_Begin:"}));
    if (!complete)
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    return true;
}

bool TMeasureStepgaugeCommon::Match_Nominals(std::vector<TPointData> *points,
                                             const std::vector<double> &nominal_values)
{
    for (TPointData &point : *points)
    {
        bool valid = false;
        const double nominal = Get_Nominal(d_reference_value + point.actual, nominal_values, &valid);
        if (!valid)
        {
            return Fail(QStringLiteral("Nominal data not found.  Possible wrong reference step position or "
                                       "measurement error exceeds maximum allowed."));
        }
        point.nominal = nominal - d_reference_value;
    }
    return true;
}

void TMeasureStepgaugeCommon::Description_Block(QStringList *lines, bool with_reference_step) const
{
    MeasureReport::Heading(lines, QStringLiteral("Description"));
    lines->append(QStringLiteral("  Position:  %1").arg(d_description));
    lines->append(QStringLiteral("  Equipment: %1").arg(d_equipment));
    if (with_reference_step)
    {
        lines->append(
            QStringLiteral("  Ref. Step: %1 mm").arg(MeasureReport::Number(d_reference_value, 0, 3)));
    }
    lines->append(QString());
}

void TMeasureStepgaugeCommon::Thermal_Blocks(QStringList *lines) const
{
    MeasureReport::Scale_Expansion_Block(lines, d_scale_expansion);
    MeasureReport::Temperature_Block(lines, d_x_scale_temperature, d_y_scale_temperature,
                                     d_z_scale_temperature, d_gauge_temperature);
}

std::vector<TMeasureStepgaugeCommon::TPointData>
TMeasureStepgaugeCommon::Points_From_Positions(const std::vector<double> &positions)
{
    std::vector<TPointData> points;
    points.reserve(positions.size());
    for (const double position : positions)
    {
        TPointData point;
        point.nominal = position;
        point.actual = position;
        points.push_back(point);
    }
    return points;
}
