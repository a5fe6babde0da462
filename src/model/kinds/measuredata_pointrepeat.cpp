#include "model/kinds/measuredata_pointrepeat.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <cmath>

TMeasurePointRepeat::TMeasurePointRepeat()
{
    file_contents = CONTENTS_POINT_REPEAT;
}

bool TMeasurePointRepeat::Load_Data(const QByteArray &file_data)
{
    return Read_File(file_data, CONTENTS_POINT_REPEAT);
}

void TMeasurePointRepeat::Read_Measurement_Line(TRecordReader *reader)
{
    QString value;
    if (reader->Key(QStringLiteral("Description:"), &d_description))
    {
        return;
    }
    if (reader->Key(QStringLiteral("Move Distance:"), &value))
    {
        d_move_distance = MeasureGrammar::To_Number(value);
        return;
    }
    if (reader->Key(QStringLiteral("Point:")))
    {
        // The key shares the first part with a value that is not used.
        Append_Position(reader->Line());
    }
}

double TMeasurePointRepeat::Positioning_Accuracy(const TVector3 &range)
{
    // hypot: no overflow in the squares of very large ranges.
    return std::hypot(range.y, range.z);
}

QStringList TMeasurePointRepeat::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("Point Repeatability"));
    MeasureReport::Heading(&lines, QStringLiteral("Description"));
    lines.append(QStringLiteral("Description:   %1").arg(d_description));
    lines.append(QStringLiteral("Move Distance: %1").arg(MeasureReport::Number(d_move_distance, 0, 3)));
    lines.append(QString());
    Setup_Blocks(&lines);
    Position_Block(&lines, QStringLiteral("Points"));
    const TVector3 range = Range(d_positions);
    lines.append(QStringLiteral("Point Repeatability:  %1 mm").arg(MeasureReport::Number(range.x, 0, 4)));
    lines.append(QStringLiteral("Positioning Accuracy: %1 mm")
                     .arg(MeasureReport::Number(Positioning_Accuracy(range), 0, 4)));
    return lines;
}
