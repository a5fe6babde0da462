#include "model/verdict.h"

#include "model/kindtable.h"
#include "model/tolerance.h"

#include <cmath>
#include <limits>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;

QString Fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString Percent(double value, double limit)
{
    return limit > 0.0 ? Fixed(100.0 * value / limit, 1) + QLatin1Char('%') : QStringLiteral("-");
}

TVerdict Make(bool pass, const QString &reason)
{
    TVerdict verdict;
    verdict.verdict = pass ? TVerdict::VERDICT_PASS : TVerdict::VERDICT_FAIL;
    verdict.line =
        QStringLiteral("Verdict: %1  %2").arg(pass ? QStringLiteral("PASS") : QStringLiteral("FAIL"), reason);
    return verdict;
}

// How far a deviation uses up its limit; a deviation beyond a limit of 0 or less outranks every ratio.
double Ratio(double deviation, double limit)
{
    if (limit > 0.0)
        return std::fabs(deviation) / limit;
    return std::fabs(deviation) > limit ? std::numeric_limits<double>::infinity() : 0.0;
}

// The one rule both the verdict and the red points of the graph apply.
bool Within(double deviation, double limit)
{
    return std::fabs(deviation) <= limit;
}

TVerdict Deviations(TMeasureData::TFileContents kind, const TCurves &curves, const TTolerance &tolerance)
{
    const double origin = TTolerance::Length_Origin(kind, curves);
    bool found = false;
    bool pass = true;
    TVector2 worst;
    double worst_limit = 0.0;
    double worst_ratio = -1.0;
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            const double limit = tolerance.Tolerance_Value(point.x - origin);
            if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(limit))
                return TVerdict();
            pass = pass && Within(point.y, limit);
            const double ratio = Ratio(point.y, limit);
            // Among deviations beyond a zero limit the largest one is the worst.
            if (!found || ratio > worst_ratio ||
                (ratio == worst_ratio && std::fabs(point.y) > std::fabs(worst.y)))
            {
                worst = point;
                worst_limit = limit;
                worst_ratio = ratio;
            }
            found = true;
        }
    }
    if (!found)
        return TVerdict();
    TVerdict verdict = Make(pass, QStringLiteral("worst deviation %1 mm at %2 mm is %3 of E MPL %4 mm")
                                      .arg(Fixed(worst.y, 4), Fixed(worst.x, 4),
                                           Percent(std::fabs(worst.y), worst_limit), Fixed(worst_limit, 4)));
    verdict.has_worst_point = true;
    verdict.worst_point = worst;
    return verdict;
}

// The smallest and largest of one coordinate over every point; false without points or with any
// value that is not finite.
bool Extent(const TCurves &curves, double TVector2::*coordinate, double *low, double *high)
{
    bool found = false;
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            const double value = point.*coordinate;
            if (!std::isfinite(value))
                return false;
            *low = found ? std::fmin(*low, value) : value;
            *high = found ? std::fmax(*high, value) : value;
            found = true;
        }
    }
    return found;
}

TVerdict Ballbar(const TCurves &curves, const TTolerance &tolerance)
{
    double low = 0.0;
    double high = 0.0;
    if (!Extent(curves, &TVector2::x, &low, &high))
        return TVerdict();
    const double range = high - low;
    const double limit = tolerance.Tolerance_Value((low + high) * 0.5);
    if (!std::isfinite(range) || !std::isfinite(limit))
        return TVerdict();
    return Make(range <= limit, QStringLiteral("length range %1 mm is %2 of tolerance %3 mm")
                                    .arg(Fixed(range, 4), Percent(range, limit), Fixed(limit, 4)));
}

TVerdict Temperatures(const TCurves &curves, const TTolerance &tolerance)
{
    double low = 0.0;
    double high = 0.0;
    const double minimum = tolerance.d_lower_temperature_limit;
    const double maximum = tolerance.d_upper_temperature_limit;
    if (!Extent(curves, &TVector2::y, &low, &high) || !std::isfinite(minimum) || !std::isfinite(maximum))
        return TVerdict();
    const bool pass = low >= minimum && high <= maximum;
    return Make(pass, QStringLiteral("readings %1 to %2 \u00b0C %3 %4 to %5 \u00b0C")
                          .arg(Fixed(low, 2), Fixed(high, 2),
                               pass ? QStringLiteral("within") : QStringLiteral("outside"), Fixed(minimum, 2),
                               Fixed(maximum, 2)));
}
} // namespace

TVerdict Verdict::Evaluate(TMeasureData::TFileContents kind, const TCurves &curves,
                           const TTolerance &tolerance, int unreadable_lines)
{
    const TKindRow *row = KindTable::Find(kind);
    const TKindRow::TVerdictRule rule = row ? row->verdict_rule : TKindRow::RULE_NONE;
    if (rule != TKindRow::RULE_NONE && unreadable_lines > 0)
    {
        TVerdict verdict;
        verdict.verdict = TVerdict::VERDICT_INCOMPLETE;
        verdict.line = unreadable_lines == 1
                           ? QStringLiteral("Verdict: INCOMPLETE  1 data line could not be read")
                           : QStringLiteral("Verdict: INCOMPLETE  %1 data lines could not be read")
                                 .arg(unreadable_lines);
        return verdict;
    }
    switch (rule)
    {
    case TKindRow::RULE_DEVIATIONS:
        return Deviations(kind, curves, tolerance);
    case TKindRow::RULE_LENGTH_RANGE:
        return Ballbar(curves, tolerance);
    case TKindRow::RULE_TEMPERATURE_LIMITS:
        return Temperatures(curves, tolerance);
    case TKindRow::RULE_NONE:
        break;
    }
    return TVerdict();
}

std::vector<TVector2> Verdict::Outside_Points(TMeasureData::TFileContents kind, const TCurves &curves,
                                              const TTolerance &tolerance)
{
    std::vector<TVector2> outside;
    const TKindRow *row = KindTable::Find(kind);
    if (!row || row->verdict_rule != TKindRow::RULE_DEVIATIONS)
        return outside;
    const double origin = TTolerance::Length_Origin(kind, curves);
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            if (std::isfinite(point.x) && std::isfinite(point.y) &&
                !Within(point.y, tolerance.Tolerance_Value(point.x - origin)))
                outside.push_back(point);
        }
    }
    return outside;
}

QColor Verdict::Colour(TVerdict::TVerdictType verdict)
{
    switch (verdict)
    {
    case TVerdict::VERDICT_PASS:
        return QColor(0, 128, 0);
    case TVerdict::VERDICT_FAIL:
        return QColor(200, 0, 0);
    case TVerdict::VERDICT_INCOMPLETE:
        return QColor(224, 112, 0);
    case TVerdict::VERDICT_NONE:
        break;
    }
    return QColor();
}

QString Verdict::Colour_Style(TVerdict::TVerdictType verdict)
{
    const QColor colour = Colour(verdict);
    return colour.isValid() ? QStringLiteral("color: rgb(%1, %2, %3);")
                                  .arg(colour.red())
                                  .arg(colour.green())
                                  .arg(colour.blue())
                            : QString();
}
