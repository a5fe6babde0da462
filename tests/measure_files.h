#pragma once

// Small inline measurement files for the record tests: built from lines, with lines removed or
// replaced, and the records of the laser kinds.

#include "vector2.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>

Q_DECLARE_METATYPE(TVector2)

namespace MeasureFiles
{
// A file from its lines, LF terminated.
inline QByteArray File(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n')).toLatin1() + '\n';
}

// The lines without those that begin with line_start.
inline QStringList Without(QStringList lines, const QString &line_start)
{
    for (int i = lines.size() - 1; i >= 0; --i)
    {
        if (lines[i].startsWith(line_start))
        {
            lines.removeAt(i);
        }
    }
    return lines;
}

// The lines with those that begin with line_start replaced by line.
inline QStringList Replacing(QStringList lines, const QString &line_start, const QString &line)
{
    for (QString &text : lines)
    {
        if (text.startsWith(line_start))
        {
            text = line;
        }
    }
    return lines;
}

// A laser file: identification, the records before the measurement section, then the measurement
// section with its description and the given lines.
inline QStringList Laser_File_Lines(const QString &identification, const QString &type,
                                    const QStringList &measurement)
{
    QStringList lines = {identification,
                         QStringLiteral("Probe_Offsets_Valid:Yes"),
                         QStringLiteral("Probe_Offset:0,0,-150"),
                         QStringLiteral("Start_Point:-850,-400,-500"),
                         QStringLiteral("Measurement_Axis:1,0,0"),
                         QStringLiteral("Measurement_Type:") + type,
                         QStringLiteral("Measurement_Begin:"),
                         QStringLiteral("Description:X axis")};
    lines += measurement;
    lines += QStringLiteral("Measurement_End::");
    return lines;
}

// "Point:" index, position, actual, nominal, x, y, z, deviation.
inline QString Laser_Point(int index, double position, double actual, double nominal, double deviation)
{
    return QStringLiteral("Point:%1,%2,%3,%4,-850,-400,-500,%5")
        .arg(index)
        .arg(position, 0, 'f', 5)
        .arg(actual, 0, 'f', 5)
        .arg(nominal, 0, 'f', 5)
        .arg(deviation, 0, 'f', 5);
}
} // namespace MeasureFiles
