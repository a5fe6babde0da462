#include "model/drift.h"

#include <cmath>

namespace
{
const double SECONDS_PER_DAY = 86400.0;
const double DAYS_PER_YEAR = 365.25;

double Days(const QDateTime &origin, const QDateTime &time)
{
    return static_cast<double>(origin.msecsTo(time)) / (1000.0 * SECONDS_PER_DAY);
}
} // namespace

double TDrift::Percent_At(const QDateTime &time) const
{
    return intercept + slope * Days(origin, time);
}

TDrift Drift::Project(const std::vector<TDriftPoint> &points, double limit_percent)
{
    TDrift drift;
    if (static_cast<int>(points.size()) < MINIMUM_RUNS)
        return drift;

    // Days are counted from the first run, so the sums keep their precision.
    QDateTime origin = points.front().time;
    QDateTime last = origin;
    for (const TDriftPoint &point : points)
    {
        origin = std::min(origin, point.time);
        last = std::max(last, point.time);
    }
    const double n = static_cast<double>(points.size());
    double mean_x = 0.0;
    double mean_y = 0.0;
    for (const TDriftPoint &point : points)
    {
        mean_x += Days(origin, point.time) / n;
        mean_y += point.percent / n;
    }
    double sxx = 0.0;
    double sxy = 0.0;
    for (const TDriftPoint &point : points)
    {
        const double dx = Days(origin, point.time) - mean_x;
        sxx += dx * dx;
        sxy += dx * (point.percent - mean_y);
    }
    if (!(sxx > 0.0) || !std::isfinite(sxy))
        return drift;

    drift.origin = origin;
    drift.slope = sxy / sxx;
    drift.intercept = mean_y - drift.slope * mean_x;
    if (std::fabs(drift.slope) * DAYS_PER_YEAR < FLAT_PERCENT_PER_YEAR)
    {
        drift.trend = TDrift::TREND_FLAT;
        return drift;
    }
    if (drift.slope < 0.0)
    {
        drift.trend = TDrift::TREND_FALLING;
        return drift;
    }
    drift.trend = TDrift::TREND_RISING;
    const double days = (limit_percent - drift.intercept) / drift.slope;
    const double horizon = Days(origin, last) + HORIZON_YEARS * DAYS_PER_YEAR;
    if (std::isfinite(days) && days <= horizon)
        drift.reached = origin.addMSecs(static_cast<qint64>(std::llround(days * SECONDS_PER_DAY * 1000.0)));
    return drift;
}
