#include "model/kinds/measuredata_repeatcommon.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <algorithm>

TVector3 TMeasureRepeatCommon::Range(const std::vector<TVector3> &positions)
{
    if (positions.empty())
    {
        return TVector3();
    }
    TVector3 minimum = positions.front();
    TVector3 maximum = positions.front();
    for (const TVector3 &position : positions)
    {
        for (int axis = 0; axis < 3; ++axis)
        {
            minimum(axis) = std::min(minimum(axis), position(axis));
            maximum(axis) = std::max(maximum(axis), position(axis));
        }
    }
    return maximum - minimum;
}

bool TMeasureRepeatCommon::Read_File(const QByteArray &file_data, TFileContents contents)
{
    d_positions.clear();

    TRecordReader reader(file_data, &unreadable_lines);
    if (!reader.Read_Identification(Identification_Text(contents)))
    {
        return Fail(QLatin1String(MeasureMessage::ARTIFACT_IDENTIFICATION));
    }
    const int alignment_section =
        reader.Add_Section(QStringLiteral("Alignment_Begin:"), QStringLiteral("Alignment_End:"));
    // The measuring software writes the closing marker with two colons.
    const int measurement =
        reader.Add_Section(QStringLiteral("Measurement_Begin:"), QStringLiteral("Measurement_End::"));

    while (reader.Next_Line())
    {
        if (reader.Read_Section_Marker() || Read_Probe_Record(&reader, &d_probe_offset, &d_probe_vector) ||
            Read_Alignment_Record(&reader, alignment_section))
        {
            if (reader.Failed())
            {
                return Fail(reader.Error());
            }
        }
        else if (reader.Only_Open(measurement))
        {
            Read_Measurement_Line(&reader);
        }
    }

    if (!reader.Seen_All({"Alignment_Begin:", "Probe_Offset:", "Probe_Vector:", "Measurement_Begin:"}))
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    if (!d_positions.empty())
    {
        const TVector3 first = d_positions.front();
        for (TVector3 &position : d_positions)
        {
            position = position - first;
        }
    }
    return true;
}

void TMeasureRepeatCommon::Append_Position(const QString &list)
{
    const TFields parts = MeasureGrammar::Split_List(list);
    if (parts.size() == 4)
    {
        d_positions.push_back(TVector3(MeasureGrammar::To_Number(parts[1]),
                                       MeasureGrammar::To_Number(parts[2]),
                                       MeasureGrammar::To_Number(parts[3])));
    }
    else
    {
        MeasureGrammar::Drop_Line();
    }
}

void TMeasureRepeatCommon::Setup_Blocks(QStringList *lines) const
{
    MeasureReport::Alignment_Block(lines, alignment);
    MeasureReport::Probe_Block(lines, d_probe_offset, d_probe_vector);
}

void TMeasureRepeatCommon::Position_Block(QStringList *lines, const QString &heading) const
{
    MeasureReport::Heading(lines, heading);
    lines->append(QStringLiteral("        X             Y             Z"));
    lines->append(QString());
    for (const TVector3 &position : d_positions)
    {
        lines->append(Position_Text(position));
    }
    lines->append(QString());
}

QString TMeasureRepeatCommon::Position_Text(const TVector3 &position)
{
    return MeasureReport::Columns({position.x, position.y, position.z});
}
