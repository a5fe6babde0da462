#pragma once

#include <QDateTime>

#include <vector>

// Where a series of runs is heading: a least-squares line of percent of tolerance against time.
struct TDrift
{
    enum TTrend
    {
        TREND_TOO_FEW, // fewer than MINIMUM_RUNS runs, or all at one time
        TREND_RISING,
        TREND_FALLING,
        TREND_FLAT
    };

    TTrend trend = TREND_TOO_FEW;
    // The fitted line: percent = intercept + slope * (days since origin).
    QDateTime origin;
    double intercept = 0.0;
    double slope = 0.0; // percent per day
    // Rising only: when the line reaches the limit; invalid when that lies beyond the horizon.
    QDateTime reached;

    double Percent_At(const QDateTime &time) const;
};

struct TDriftPoint
{
    QDateTime time;
    double percent = 0.0;
};

namespace Drift
{
const int MINIMUM_RUNS = 4;
// A line that moves less than this many percentage points a year is flat.
const double FLAT_PERCENT_PER_YEAR = 1.0;
// A crossing further than this many years after the last run is no date worth showing.
const int HORIZON_YEARS = 100;

TDrift Project(const std::vector<TDriftPoint> &points, double limit_percent = 100.0);
} // namespace Drift
