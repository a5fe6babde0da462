#include "model/kinds/measuredata_feature.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

namespace
{
// Cuts the line at the first occurrence of the key and returns the text that followed the key.
bool Take_Value(QString *line, const QString &key, QString *value)
{
    const int at = line->indexOf(key, 0, Qt::CaseSensitive);
    if (at < 0)
    {
        return false;
    }
    *value = line->mid(at + key.size());
    line->truncate(at);
    return true;
}
} // namespace

bool MeasureFeature::Read_Feature_Record(const QString &line, TFeatureData *feature, QString *message)
{
    QString rest = line;
    QString value;
    if (!Take_Value(&rest, QStringLiteral("Form:"), &value))
    {
        *message = QStringLiteral("Feature form error not found.");
        return false;
    }
    feature->form = MeasureGrammar::To_Number(value);

    if (!Take_Value(&rest, QStringLiteral("Diam:"), &value))
    {
        *message = QStringLiteral("Feature diameter not found.");
        return false;
    }
    feature->diameter = MeasureGrammar::To_Number(value);

    if (!Take_Value(&rest, QStringLiteral("XYZ:"), &value))
    {
        *message = QStringLiteral("Feature position not found.");
        return false;
    }
    if (!MeasureGrammar::To_Vector(value, &feature->xyz))
    {
        *message = QStringLiteral("Feature position not recognized.");
        return false;
    }

    feature->description = rest.trimmed();
    return true;
}

QString MeasureFeature::Labelled(const QString &label, int label_width, const QString &text)
{
    return label.rightJustified(label_width) + QLatin1String(": ") + text;
}

bool TMeasureFeature::Read_Feature_File(const QByteArray &file_data, const TFeatureLayout &layout)
{
    TRecordReader reader(file_data, &unreadable_lines);
    if (!reader.Read_Identification(Identification_Text(TFileContents(file_contents))))
    {
        return Fail(QLatin1String(MeasureMessage::ARTIFACT_IDENTIFICATION));
    }
    const int alignment_section =
        reader.Add_Section(QStringLiteral("Alignment_Begin:"), QStringLiteral("Alignment_End:"));
    // The measuring software writes the closing marker with two colons.
    const int point_section =
        reader.Add_Section(QStringLiteral("Point_Data_Begin:"), QStringLiteral("Point_Data_End::"));
    const QString feature_word = QLatin1String(layout.feature_word);

    bool feature_seen = false;
    while (reader.Next_Line())
    {
        if (reader.Read_Section_Marker() || Read_Probe_Record(&reader) || Read_Kind_Record(&reader) ||
            Read_Alignment_Record(&reader, alignment_section))
        {
            if (reader.Failed())
            {
                return Fail(reader.Error());
            }
        }
        else if (reader.None_Open())
        {
            if (reader.Line().startsWith(feature_word, Qt::CaseInsensitive))
            {
                QString message;
                if (!MeasureFeature::Read_Feature_Record(reader.Line(), &d_feature, &message))
                {
                    return Fail(message);
                }
                feature_seen = true;
            }
        }
        else if (reader.Only_Open(point_section))
        {
            Read_Point(MeasureGrammar::Split_List(reader.Line()));
        }
    }

    if (!feature_seen ||
        !reader.Seen_All({"Alignment_Begin:", "Probe_Offset:", "Probe_Vector:", "Point_Data_Begin:"}))
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    return true;
}

bool TMeasureFeature::Read_Kind_Record(TRecordReader *)
{
    return false;
}

void TMeasureFeature::Feature_Lines(QStringList *lines, int label_width) const
{
    using MeasureFeature::Labelled;
    using MeasureReport::Number;
    lines->append(Labelled(QStringLiteral("Description"), label_width, d_feature.description));
    lines->append(Labelled(QStringLiteral("XYZ"), label_width,
                           QStringLiteral("%1, %2, %3")
                               .arg(Number(d_feature.xyz.x, 0, 4), Number(d_feature.xyz.y, 0, 4),
                                    Number(d_feature.xyz.z, 0, 4))));
    lines->append(Labelled(QStringLiteral("Diam"), label_width,
                           Number(d_feature.diameter, 0, 4) + QStringLiteral(" mm")));
    lines->append(
        Labelled(QStringLiteral("Form"), label_width, Number(d_feature.form, 0, 4) + QStringLiteral(" mm")));
}

void TMeasureFeature::Points_Heading(QStringList *lines, const QString &column_header)
{
    MeasureReport::Heading(lines, QStringLiteral("Data Points"));
    lines->append(column_header);
}

QString TMeasureFeature::Point_Row(const TVector3 &xyz, const TVector3 &ijk,
                                   std::initializer_list<double> values)
{
    const QLatin1String separator(", ");
    QString row;
    row.reserve(100 + 14 * static_cast<int>(values.size()));
    MeasureReport::Append_Numbers(&row, {xyz.x, xyz.y, xyz.z}, 12, 4, separator);
    row += separator;
    MeasureReport::Append_Numbers(&row, {ijk.x, ijk.y, ijk.z}, 12, 9, separator);
    row += separator;
    MeasureReport::Append_Numbers(&row, values, 12, 4, separator);
    return row;
}
