#pragma once

#include "geometry/vector2.h"

#include <cstddef>
#include <vector>

// Repeated readings and repeated lengths. Readings of one position are merged: sorted, split into
// runs in which each reading lies close to the one before it, and each run averaged. Lengths
// measured as consecutive repeats become one deviation curve per repeat.
namespace MeasureRuns
{
// joins(previous, next) tells whether next belongs to the run of previous; merge(first, last)
// makes one item of the run [first, last).
template <class T, class TJoins, class TMerge>
std::vector<T> Merge_Runs(const std::vector<T> &sorted, TJoins joins, TMerge merge)
{
    std::vector<T> merged;
    size_t begin = 0;
    for (size_t i = 1; i <= sorted.size(); ++i)
    {
        if (i == sorted.size() || !joins(sorted[i - 1], sorted[i]))
        {
            merged.push_back(merge(sorted.begin() + static_cast<std::ptrdiff_t>(begin),
                                   sorted.begin() + static_cast<std::ptrdiff_t>(i)));
            begin = i;
        }
    }
    return merged;
}

// Mean of value(item) over [first, last), which is not empty.
template <class TIterator, class TValue> double Mean(TIterator first, TIterator last, TValue value)
{
    double sum = 0.0;
    std::ptrdiff_t count = 0;
    for (TIterator item = first; item != last; ++item, ++count)
    {
        sum += value(*item);
    }
    return sum / static_cast<double>(count);
}

// Points taken in pairs (0, 1), (2, 3), ...: each pair is one length, second minus first. Pairs do
// not overlap; an odd last point is left out.
template <class TLength, class TPoint> std::vector<TLength> Pair_Lengths(const std::vector<TPoint> &points)
{
    std::vector<TLength> lengths;
    lengths.reserve(points.size() / 2);
    for (size_t i = 0; i + 1 < points.size(); i += 2)
    {
        TLength length;
        length.nominal = points[i + 1].nominal - points[i].nominal;
        length.actual = points[i + 1].actual - points[i].actual;
        lengths.push_back(length);
    }
    return lengths;
}

// Lengths stored as groups of repeat_count consecutive repeats of one length: curve r holds the
// deviation (actual - nominal) of repeat r of every length, at the first repeat's measured length
// so that the repeats line up. An incomplete last group is left out.
template <class TLength>
std::vector<std::vector<TVector2>> Repeat_Curves(const std::vector<TLength> &lengths, size_t repeat_count)
{
    std::vector<std::vector<TVector2>> curves(repeat_count);
    for (size_t first = 0; first + repeat_count <= lengths.size(); first += repeat_count)
    {
        const double x = lengths[first].actual;
        for (size_t repeat = 0; repeat < repeat_count; ++repeat)
        {
            const TLength &length = lengths[first + repeat];
            curves[repeat].push_back(TVector2(x, length.actual - length.nominal));
        }
    }
    return curves;
}
} // namespace MeasureRuns
