#include "model/graphtable.h"

#include "model/kindtable.h"
#include "model/presentation.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

QString GraphTable::Rows(TMeasureData::TFileContents kind, const std::vector<std::vector<TVector2>> &curves,
                         QChar separator)
{
    const TKindRow *row = KindTable::Find(kind);
    const TGraphSetup setup = Presentation::Graph_Setup(kind);
    const QString x_name = !row                ? QStringLiteral("X")
                           : row->table.x_name ? QString::fromLatin1(row->table.x_name)
                                               : setup.horizontal_title;
    const QString y_name = !row                ? QStringLiteral("Y")
                           : row->table.y_name ? QString::fromLatin1(row->table.y_name)
                                               : setup.vertical_title;
    // Shortest text that reads back as the same double.
    const auto number = [](double value)
    { return QString::number(value, 'g', QLocale::FloatingPointShortest); };

    QString rows = QStringList{QStringLiteral("Curve"), x_name, y_name}.join(separator) + QLatin1Char('\n');
    for (std::size_t curve = 0; curve < curves.size(); ++curve)
    {
        for (const TVector2 &point : curves[curve])
        {
            // "inf" or "nan" in a table would be read back as text or as a number by accident.
            if (!std::isfinite(point.x) || !std::isfinite(point.y))
                continue;
            rows += QString::number(curve + 1) + separator + number(point.x) + separator + number(point.y) +
                    QLatin1Char('\n');
        }
    }
    return rows;
}
