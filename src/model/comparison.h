#pragma once

#include "geometry/vector2.h"
#include "model/measuredata.h"
#include "model/measurementload.h"

#include <QString>
#include <QStringList>

#include <vector>

// One matched pair of points of two runs: the curve (from 1), A's position and both deviations.
struct TComparisonRow
{
    int curve = 0;
    double position = 0.0;
    double a = 0.0;
    double b = 0.0;

    double Change() const { return b - a; }
};

// Two runs of one measurement matched point by point, or why they cannot be.
struct TComparison
{
    enum TProblemType
    {
        PROBLEM_NONE,
        PROBLEM_LOAD_FAILED,
        PROBLEM_KIND_NOT_COMPARABLE, // the kind draws no deviations against position
        PROBLEM_DIFFERENT_KINDS,
        PROBLEM_CURVE_COUNT,
        PROBLEM_POINT_COUNT,
        PROBLEM_POSITION, // a matched pair lies more than POSITION_LIMIT apart
        PROBLEM_NO_POINTS
    };

    TProblemType problem = PROBLEM_NONE;
    QString reason; // one line naming the problem; empty when comparable
    std::vector<TComparisonRow> rows;

    bool Comparable() const { return problem == PROBLEM_NONE; }
    // The row with the largest |B - A|, the first of equals; -1 without rows.
    int Largest_Change() const;
};

namespace Comparison
{
const double POSITION_LIMIT = 1.0; // mm

// The step gauge and laser kinds: deviations drawn against position.
bool Comparable_Kind(TMeasureData::TFileContents kind);

// Matches points by curve and by order within the curve.
TComparison Compare_Curves(const std::vector<std::vector<TVector2>> &a,
                           const std::vector<std::vector<TVector2>> &b);

// Two loaded files, named in the reasons as given.
TComparison Compare(const QString &name_a, const TMeasurementLoad &a, const QString &name_b,
                    const TMeasurementLoad &b);

// The comparison table of comparable runs, paths as given.
QStringList Table(const TComparison &comparison, const QString &path_a, const QString &path_b);
} // namespace Comparison
