#include "model/kinds/measuredata_lasercommon.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

namespace
{
// A point record holds its number, then position, actual, nominal, x, y, z and deviation.
const int POINT_PARTS = 8;
} // namespace

bool TMeasureLaserCommon::Read_File(const QByteArray &file_data, const TLayout &layout,
                                    size_t *entries_before_type)
{
    *entries_before_type = 0;
    TRecordReader reader(file_data, &unreadable_lines);
    if (!reader.Read_Identification(Identification_Text(TFileContents(file_contents))))
    {
        return Fail(QStringLiteral("Machine_Laser identification line not recognized"));
    }
    const int measurement =
        reader.Add_Section(QStringLiteral("Measurement_Begin:"), QStringLiteral("Measurement_End::"));

    bool type_seen = false;
    while (reader.Next_Line())
    {
        QString value;
        if (reader.Key(QStringLiteral("Probe_Offsets_Valid:"), &value))
        {
            // Only a "Yes" sets the flag; any other value leaves it as it was.
            d_probe_offsets_valid =
                d_probe_offsets_valid || value.contains(QLatin1String("Yes"), Qt::CaseInsensitive);
        }
        else if (reader.Vector(QStringLiteral("Probe_Offset:"), &d_probe_offset,
                               QStringLiteral("Probe offset data not recognized.")) ||
                 reader.Vector(QStringLiteral("Start_Point:"), &d_start_point,
                               QStringLiteral("Start point data not recognized.")) ||
                 reader.Vector(QStringLiteral("Measurement_Axis:"), &d_measurement_axis,
                               QStringLiteral("Measurement Axis data not recognized.")))
        {
            if (reader.Failed())
            {
                return Fail(reader.Error());
            }
        }
        else if (reader.Key(QStringLiteral("Measurement_Type:"), &value))
        {
            if (!Read_Measurement_Type(value, layout))
            {
                return Fail(QStringLiteral("Measurement Type not recognized."));
            }
            if (!type_seen)
            {
                *entries_before_type = d_measured_data.size();
                type_seen = true;
            }
        }
        else if (reader.Key_In(measurement, QStringLiteral("Point:"), &value))
        {
            Read_Point(value);
        }
        else if (!reader.Read_Section_Marker())
        {
            reader.Key_In(measurement, QStringLiteral("Description:"), &d_description);
        }
    }
    if (!type_seen)
    {
        *entries_before_type = d_measured_data.size();
    }

    if (!reader.Seen_All({"Probe_Offsets_Valid:", "Probe_Offset:", "Start_Point:", "Measurement_Axis:",
                          "Measurement_Type:", "Description:", "Measurement_Begin:"}))
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    return true;
}

bool TMeasureLaserCommon::Read_Measurement_Type(const QString &value, const TLayout &layout)
{
    for (int type = MEASUREMENT_SCALE; type <= MEASUREMENT_ANGULAR; ++type)
    {
        if (value.contains(QLatin1String(layout.type_names[type]), Qt::CaseInsensitive))
        {
            d_measurement_type = type;
            return true;
        }
    }
    return false;
}

void TMeasureLaserCommon::Read_Point(const QString &value)
{
    const TFields parts = MeasureGrammar::Split_List(value);
    if (parts.size() < POINT_PARTS)
    {
        MeasureGrammar::Drop_Line();
        return;
    }
    TPointData entry;
    entry.index = MeasureGrammar::To_Integer(parts[0]);
    entry.position = MeasureGrammar::To_Number(parts[1]);
    entry.actual = MeasureGrammar::To_Number(parts[2]);
    entry.nominal = MeasureGrammar::To_Number(parts[3]);
    entry.xyz = TVector3(MeasureGrammar::To_Number(parts[4]), MeasureGrammar::To_Number(parts[5]),
                         MeasureGrammar::To_Number(parts[6]));
    entry.deviation = MeasureGrammar::To_Number(parts[7]);
    d_measured_data.push_back(entry);
}

void TMeasureLaserCommon::Report_Head(QStringList *lines, const QString &title) const
{
    static const char *const TYPE_TEXTS[5] = {"Scale", "Straightness in X", "Straightness in Y",
                                              "Straightness in Z", "Angular"};
    using MeasureReport::Number;

    MeasureReport::Title(lines, title);

    MeasureReport::Heading(lines, QStringLiteral("Description"));
    lines->append(QStringLiteral("  Position:         %1").arg(d_description));
    lines->append(
        QStringLiteral("  Measurement_Type: %1").arg(QLatin1String(TYPE_TEXTS[d_measurement_type])));
    lines->append(QString());

    MeasureReport::Heading(lines, QStringLiteral("Alignment"));
    lines->append(QStringLiteral("  Start Point: %1, %2, %3")
                      .arg(Number(d_start_point.x, 12, 4), Number(d_start_point.y, 12, 4),
                           Number(d_start_point.z, 12, 4)));
    lines->append(QStringLiteral("  Direction:   %1, %2, %3")
                      .arg(Number(d_measurement_axis.x, 12, 9), Number(d_measurement_axis.y, 12, 9),
                           Number(d_measurement_axis.z, 12, 9)));
    lines->append(QString());

    MeasureReport::Heading(lines, QStringLiteral("Probe"));
    lines->append(d_probe_offsets_valid ? QStringLiteral("  Valid:  Yes") : QStringLiteral("  Valid:  No"));
    lines->append(QStringLiteral("  Offset:      %1, %2, %3")
                      .arg(Number(d_probe_offset.x, 12, 4), Number(d_probe_offset.y, 12, 4),
                           Number(d_probe_offset.z, 12, 4)));
    lines->append(QString());
}
