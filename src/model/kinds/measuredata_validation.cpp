#include "model/kinds/measuredata_validation.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

namespace
{
const int LEADING_PARTS = 2;
const int LENGTH_DECIMALS = 6;
const int WIDTH = 12;
} // namespace

TValidationCommon::TValidationCommon(const TLayout &layout) : d_layout(layout)
{
    file_contents = layout.contents;
}

int TValidationCommon::Part_Count() const
{
    return LEADING_PARTS + 3 + (d_layout.has_ijk ? 3 : 0) + (d_layout.has_diameter ? 1 : 0) + 1;
}

bool TValidationCommon::Load_Data(const QByteArray &file_data)
{
    d_results.clear();

    TRecordReader::TOptions options;
    options.keep_empty_lines = true;
    options.simplify = true;
    TRecordReader reader(file_data, &unreadable_lines, options);
    if (!reader.Read_Identification(Identification_Text(d_layout.contents)))
    {
        return Fail(QStringLiteral("Validation identification line not recognized"));
    }

    const QString keyword = QLatin1String(d_layout.keyword);
    while (reader.Next_Line())
    {
        // Lines without the keyword are the point data of the entries.
        QString entry;
        if (!reader.Key(keyword, &entry))
        {
            continue;
        }
        // One blank separates the keyword from the values.
        const TFields parts = MeasureGrammar::Split_Blanks(QStringView(entry).mid(1));
        if (parts.size() != Part_Count())
        {
            return Fail(QLatin1String(d_layout.entry_message));
        }
        d_results.push_back(To_Result(parts));
    }
    return true;
}

TValidationCommon::TResultData TValidationCommon::To_Result(const TFields &parts) const
{
    const std::vector<double> values = MeasureGrammar::To_Numbers(parts.mid(LEADING_PARTS));
    size_t next = 0;
    const auto take_vector = [&values, &next]()
    {
        const TVector3 vector(values[next], values[next + 1], values[next + 2]);
        next += 3;
        return vector;
    };

    TResultData result;
    result.xyz = take_vector();
    if (d_layout.has_ijk)
    {
        result.ijk = take_vector();
    }
    if (d_layout.has_diameter)
    {
        result.diameter = values[next++];
    }
    result.form = values[next];
    return result;
}

QString TValidationCommon::Result_Text(const TResultData &result) const
{
    QString text;
    text.reserve(128);
    text += QLatin1String("  ");
    text += QLatin1String(d_layout.keyword);
    const auto add = [&text](double value, int width, int decimals)
    {
        text += QLatin1Char(' ');
        MeasureReport::Append_Number(&text, value, width, decimals);
    };

    for (int axis = 0; axis < 3; ++axis)
    {
        add(result.xyz(axis), WIDTH, LENGTH_DECIMALS);
    }
    if (d_layout.has_ijk)
    {
        for (int axis = 0; axis < 3; ++axis)
        {
            add(result.ijk(axis), d_layout.ijk_width, d_layout.ijk_decimals);
        }
    }
    if (d_layout.has_diameter)
    {
        add(result.diameter, WIDTH, LENGTH_DECIMALS);
    }
    add(result.form, WIDTH, LENGTH_DECIMALS);
    return text;
}

QStringList TValidationCommon::Text_Report() const
{
    QStringList lines;
    lines.reserve(static_cast<int>(d_results.size()) + 9);
    MeasureReport::Title(&lines, QLatin1String(d_layout.title));
    lines.append(QLatin1String(d_layout.column_header));
    lines.append(QString(d_layout.rule_length, QLatin1Char('-')));
    lines.append(QString());
    for (const TResultData &result : d_results)
    {
        lines.append(Result_Text(result));
    }
    lines.append(QString());
    lines.append(QStringLiteral("Point data for each result included in measurement file."));
    if (d_layout.note)
    {
        lines.append(QLatin1String(d_layout.note));
    }
    return lines;
}

TValidationPlane::TValidationPlane()
    : TValidationCommon(
          {CONTENTS_VALIDATION_PLANE, "Plane", "Plane entry format not recognized.",
           "Validation Plane Results",
           "            X            Y            Z         I            J            K               Form",
           98, true, 12, 9, false,
           "Note:  Verification should be result of 3D distance to surface of calculated plane."})
{
}

TValidationLine::TValidationLine()
    : TValidationCommon(
          {CONTENTS_VALIDATION_LINE, "Line", "Line entry format not recognized.", "Validation Line Results",
           "           X            Y            Z         I            J            K               Form",
           97, true, 12, 9, false,
           "Note:  Verification should be result of 3D distance to axis of calculated line."})
{
}

TValidationCircle::TValidationCircle()
    : TValidationCommon(
          {CONTENTS_VALIDATION_CIRCLE, "Circle", "Circle entry format not recognized.",
           "Validation Circle Results",
           "             X            Y            Z         I       J       K          Diameter     Form",
           94, true, 7, 4, true, nullptr})
{
}

TValidationSphere::TValidationSphere()
    : TValidationCommon({CONTENTS_VALIDATION_SPHERE, "Sphere", "Sphere entry format not recognized.",
                         "Validation Sphere Results",
                         "             X            Y            Z           Diameter      Form", 73, false,
                         0, 0, true, nullptr})
{
}
