#include "model/kinds/measuredata_ballbar.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <cmath>

namespace
{
const int DATA_FIELD_COUNT = 13;

TVector3 Vector_From(const std::vector<double> &values, size_t first)
{
    return TVector3(values[first], values[first + 1], values[first + 2]);
}
} // namespace

TMeasureBallbar::TMeasureBallbar()
{
    file_contents = CONTENTS_BALLBAR;
}

bool TMeasureBallbar::Load_Data(const QByteArray &file_data)
{
    d_entries.clear();

    TRecordReader reader(file_data, &unreadable_lines);
    if (!reader.Read_Identification(Identification_Text(TFileContents(file_contents))))
    {
        return Fail(QLatin1String(MeasureMessage::ARTIFACT_IDENTIFICATION));
    }

    // name, (unused), point1 x y z, point2 x y z, value1, value2, vector3 x y z
    double length_sum = 0.0;
    while (reader.Next_Line())
    {
        const TFields fields = MeasureGrammar::Split_List(reader.Line());
        if (fields.size() != DATA_FIELD_COUNT)
        {
            MeasureGrammar::Drop_Line();
            continue;
        }
        // The name and the unused field are text, so only the rest is converted.
        std::vector<double> values(2, 0.0);
        const std::vector<double> numbers = MeasureGrammar::To_Numbers(fields.mid(2));
        values.insert(values.end(), numbers.begin(), numbers.end());
        TBallbarData entry;
        entry.name = fields[0].toString();
        entry.point1 = Vector_From(values, 2);
        entry.point2 = Vector_From(values, 5);
        entry.value1 = values[8];
        entry.value2 = values[9];
        entry.vector3 = Vector_From(values, 10);
        const TVector3 difference = entry.point2 - entry.point1;
        entry.length = std::sqrt(difference ^ difference);
        length_sum += entry.length;
        d_entries.push_back(entry);
    }

    if (!d_entries.empty())
    {
        d_mean_length = length_sum / static_cast<double>(d_entries.size());
    }
    return true;
}

QStringList TMeasureBallbar::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("ASME B89.4.1 Ballbar Measurement"));
    MeasureReport::Heading(&lines, QStringLiteral("Ballbar Measurements"));
    lines.append(QStringLiteral("    Position        Actual    Deviation"));
    lines.append(QString());

    double minimum = 0.0;
    double maximum = 0.0;
    for (size_t i = 0; i < d_entries.size(); ++i)
    {
        const TBallbarData &entry = d_entries[i];
        if (i == 0)
        {
            minimum = maximum = entry.length;
        }
        else if (entry.length < minimum)
        {
            minimum = entry.length;
        }
        else if (entry.length > maximum)
        {
            maximum = entry.length;
        }
        // One arg() call: a name holding "%2" must not be replaced again.
        lines.append(QStringLiteral("%1  %2 %3")
                         .arg(entry.name.rightJustified(12), MeasureReport::Number(entry.length, 12, 4),
                              MeasureReport::Number(entry.length - d_mean_length, 12, 4)));
    }

    lines.append(QString());
    lines.append(QStringLiteral("  Minimum Length: %1 mm").arg(MeasureReport::Number(minimum, 0, 4)));
    lines.append(QStringLiteral("  Maximum Length: %1 mm").arg(MeasureReport::Number(maximum, 0, 4)));
    lines.append(QStringLiteral("  Mean Length:    %1 mm").arg(MeasureReport::Number(d_mean_length, 0, 4)));
    lines.append(
        QStringLiteral("  Length Range:   %1 mm").arg(MeasureReport::Number(maximum - minimum, 0, 4)));
    return lines;
}

std::vector<std::vector<TVector2>> TMeasureBallbar::Graph_Data() const
{
    std::vector<TVector2> lengths;
    lengths.reserve(d_entries.size());
    for (const TBallbarData &entry : d_entries)
    {
        // A length that overflowed is reported but cannot be graphed; it also makes the mean, and
        // so every deviation, infinite.
        const TVector2 point(entry.length, entry.length - d_mean_length);
        if (std::isfinite(point.x) && std::isfinite(point.y))
        {
            lengths.push_back(point);
        }
    }
    return {lengths};
}
