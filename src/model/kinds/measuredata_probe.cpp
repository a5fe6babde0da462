#include "model/kinds/measuredata_probe.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

namespace
{
const char DIAMETER_KEY[] = "Nominal_Sphere_Diameter:";
}

TMeasureProbe::TMeasureProbe()
{
    file_contents = CONTENTS_PROBE;
}

bool TMeasureProbe::Load_Data(const QByteArray &file_data)
{
    d_results.clear();

    // Empty lines are part of the result text's layout, so they are kept.
    TRecordReader::TOptions options;
    options.keep_empty_lines = true;
    TRecordReader reader(file_data, &unreadable_lines, options);
    if (!reader.Read_Identification(Identification_Text(TFileContents(file_contents))))
    {
        return Fail(QLatin1String(MeasureMessage::ARTIFACT_IDENTIFICATION));
    }
    const int alignment_section =
        reader.Add_Section(QStringLiteral("Alignment_Begin:"), QStringLiteral("Alignment_End:"));
    const QString diameter_key = QLatin1String(DIAMETER_KEY);

    while (reader.Next_Line())
    {
        QString value;
        if (reader.Read_Section_Marker())
        {
            continue;
        }
        if (reader.Key(diameter_key, &value))
        {
            d_nominal_sphere_diameter = MeasureGrammar::To_Number(value);
        }
        else if (reader.Only_Open(alignment_section))
        {
            if (Read_Alignment_Record(&reader, alignment_section) && reader.Failed())
            {
                return Fail(reader.Error());
            }
        }
        else if (reader.Seen(diameter_key))
        {
            // Everything after the diameter is result text, whatever it looks like.
            d_results.append(reader.Line());
        }
    }

    if (!reader.Seen_All({"Alignment_Begin:", DIAMETER_KEY}))
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    return true;
}

QStringList TMeasureProbe::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("Probe Calibration Results"));
    MeasureReport::Alignment_Block(&lines, alignment);
    MeasureReport::Heading(&lines, QStringLiteral("Sphere"));
    lines.append(
        QStringLiteral("  Diameter:     %1 mm").arg(MeasureReport::Number(d_nominal_sphere_diameter, 0, 4)));
    lines.append(QString());
    MeasureReport::Heading_Rule(&lines, QStringLiteral("Results"));
    lines.append(d_results);
    return lines;
}
