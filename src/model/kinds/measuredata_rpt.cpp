#include "model/kinds/measuredata_rpt.h"

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

TMeasureRPT::TMeasureRPT()
{
    file_contents = CONTENTS_SPHERE_RPT;
}

bool TMeasureRPT::Load_Data(const QByteArray &file_data)
{
    return Read_File(file_data, CONTENTS_SPHERE_RPT);
}

void TMeasureRPT::Read_Measurement_Line(TRecordReader *reader)
{
    // Every line of the section is a centre: a leading field that is read past, then x, y, z.
    Append_Position(reader->Line());
}

QStringList TMeasureRPT::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("ASME B89.4.10360 Rpt"));
    Setup_Blocks(&lines);
    Position_Block(&lines, QStringLiteral("Sphere Center"));
    lines.append(QStringLiteral("Range:"));
    lines.append(Position_Text(Range(d_positions)) + QStringLiteral(" mm"));
    return lines;
}
