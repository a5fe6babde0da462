#pragma once

#include "geometry/vector2.h"
#include "model/measuredata.h"

#include <QChar>
#include <QString>
#include <vector>

namespace GraphTable
{
// A header row naming the axes, then one row per point: the curve number (from 1), x and y at full
// precision, fields split by separator (a tab for the clipboard, a comma for CSV files). A point with a
// coordinate that is not finite is left out.
QString Rows(TMeasureData::TFileContents kind, const std::vector<std::vector<TVector2>> &curves,
             QChar separator);
} // namespace GraphTable
