#include "model/comparison.h"

#include "model/kindtable.h"
#include "model/measuredata_report.h"
#include "model/runsummary.h"

#include <QCoreApplication>

#include <cmath>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;

// Gives the messages of this file a translation context that lupdate can see.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(Comparison)
};

TComparison Problem(TComparison::TProblemType problem, const QString &reason)
{
    TComparison comparison;
    comparison.problem = problem;
    comparison.reason = reason;
    return comparison;
}

QString Mm(double value)
{
    return MeasureReport::Number(value, 0, 4);
}
} // namespace

int TComparison::Largest_Change() const
{
    int largest = -1;
    for (std::size_t i = 0; i < rows.size(); ++i)
    {
        if (largest < 0 ||
            std::fabs(rows[i].Change()) > std::fabs(rows[static_cast<std::size_t>(largest)].Change()))
            largest = static_cast<int>(i);
    }
    return largest;
}

bool Comparison::Comparable_Kind(TMeasureData::TFileContents kind)
{
    // The kinds that draw deviations against position: step gauges and laser runs.
    const TKindRow *row = KindTable::Find(kind);
    return row && row->verdict_rule == TKindRow::RULE_DEVIATIONS;
}

TComparison Comparison::Compare_Curves(const TCurves &a, const TCurves &b)
{
    if (a.size() != b.size())
        return Problem(
            TComparison::PROBLEM_CURVE_COUNT,
            Text::tr("the runs have different numbers of curves: %1 and %2").arg(a.size()).arg(b.size()));
    TComparison comparison;
    for (std::size_t curve = 0; curve < a.size(); ++curve)
    {
        if (a[curve].size() != b[curve].size())
            return Problem(TComparison::PROBLEM_POINT_COUNT,
                           Text::tr("curve %1 has different numbers of points: %2 and %3")
                               .arg(curve + 1)
                               .arg(a[curve].size())
                               .arg(b[curve].size()));
        for (std::size_t point = 0; point < a[curve].size(); ++point)
        {
            const TVector2 &pa = a[curve][point];
            const TVector2 &pb = b[curve][point];
            // Written so that a position that is not a number is never near another.
            if (!(std::fabs(pb.x - pa.x) <= Comparison::POSITION_LIMIT))
                return Problem(TComparison::PROBLEM_POSITION,
                               Text::tr("point %1 of curve %2 lies at %3 mm and %4 mm, more than 1 mm apart")
                                   .arg(point + 1)
                                   .arg(curve + 1)
                                   .arg(Mm(pa.x), Mm(pb.x)));
            comparison.rows.push_back({static_cast<int>(curve + 1), pa.x, pa.y, pb.y});
        }
    }
    if (comparison.rows.empty())
        return Problem(TComparison::PROBLEM_NO_POINTS, Text::tr("the runs have no points to compare"));
    return comparison;
}

TComparison Comparison::Compare(const QString &name_a, const TMeasurementLoad &a, const QString &name_b,
                                const TMeasurementLoad &b)
{
    const std::pair<const QString *, const TMeasurementLoad *> runs[2] = {{&name_a, &a}, {&name_b, &b}};
    for (const auto &run : runs)
    {
        if (!run.second->Succeeded())
            return Problem(TComparison::PROBLEM_LOAD_FAILED,
                           Text::tr("'%1' did not load: %2").arg(*run.first, run.second->Failure_Reason()));
    }
    if (a.contents != b.contents)
        return Problem(TComparison::PROBLEM_DIFFERENT_KINDS,
                       Text::tr("the files hold different kinds of measurement: %1 and %2")
                           .arg(RunSummary::Kind_Key(a.contents), RunSummary::Kind_Key(b.contents)));
    if (!Comparable_Kind(a.contents))
        return Problem(TComparison::PROBLEM_KIND_NOT_COMPARABLE,
                       Text::tr("%1 measurements have no deviations along positions to compare")
                           .arg(RunSummary::Kind_Key(a.contents)));
    return Compare_Curves(a.graph_data, b.graph_data);
}

QStringList Comparison::Table(const TComparison &comparison, const QString &path_a, const QString &path_b)
{
    QStringList lines;
    lines << Text::tr("Comparison of deviations in mm") << Text::tr("  A: %1").arg(path_a)
          << Text::tr("  B: %1").arg(path_b) << QString();
    lines << Text::tr("Curve    Position           A           B       B - A");
    for (const TComparisonRow &row : comparison.rows)
    {
        QString line = QStringLiteral("%1").arg(row.curve, 5);
        for (const double value : {row.position, row.a, row.b, row.Change()})
        {
            // A number wider than its column still stands apart from its neighbour.
            const QString field = MeasureReport::Number(value, 12, 4);
            if (!field.startsWith(QLatin1Char(' ')))
                line += QLatin1Char(' ');
            line += field;
        }
        lines << line;
    }
    const int largest = comparison.Largest_Change();
    if (largest >= 0)
    {
        const TComparisonRow &row = comparison.rows[static_cast<std::size_t>(largest)];
        lines << QString()
              << Text::tr("Largest change: %1 mm at %2 mm (curve %3)")
                     .arg(Mm(row.Change()), Mm(row.position))
                     .arg(row.curve);
    }
    return lines;
}
