#include "app/historygraph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

const QColor THistoryGraph::LIMIT_COLOUR(220, 0, 0);
const QColor THistoryGraph::WARNING_COLOUR(255, 170, 0);
const QColor THistoryGraph::DRIFT_COLOUR(90, 90, 200);

namespace
{
const qint64 DAY_MS = 86400000;
const int MARKER_RADIUS = 5;
const int PICK_DISTANCE = 8;
const int LEFT_MARGIN = 48;
const int RIGHT_MARGIN = 12;
const int TOP_MARGIN = 10;
const int BOTTOM_MARGIN = 26;

// A step of the date axis: so many days, months or years.
struct TDateStep
{
    int days;
    int months;
    int years;
    const char *format;
};

const TDateStep DATE_STEPS[] = {
    {1, 0, 0, "yyyy-MM-dd"}, {2, 0, 0, "yyyy-MM-dd"}, {7, 0, 0, "yyyy-MM-dd"}, {14, 0, 0, "yyyy-MM-dd"},
    {0, 1, 0, "yyyy-MM"},    {0, 2, 0, "yyyy-MM"},    {0, 3, 0, "yyyy-MM"},    {0, 6, 0, "yyyy-MM"},
    {0, 0, 1, "yyyy"},       {0, 0, 2, "yyyy"},       {0, 0, 5, "yyyy"},       {0, 0, 10, "yyyy"},
    {0, 0, 25, "yyyy"},      {0, 0, 50, "yyyy"},      {0, 0, 100, "yyyy"},
};

qint64 Step_Days(const TDateStep &step)
{
    return step.days + step.months * 30 + step.years * 365;
}

// The first tick at or after the date, on a boundary of the step.
QDate First_Tick(const QDate &date, const TDateStep &step)
{
    if (step.days)
    {
        // Weeks start on Mondays, shorter steps on any day.
        QDate tick = date;
        if (step.days >= 7)
            tick = tick.addDays((8 - tick.dayOfWeek()) % 7);
        return tick;
    }
    if (step.months)
    {
        QDate tick(date.year(), 1, 1);
        while (tick < date)
            tick = tick.addMonths(step.months);
        return tick;
    }
    int year = date.year() - date.year() % step.years;
    QDate tick(year, 1, 1);
    while (tick < date)
        tick = tick.addYears(step.years);
    return tick;
}

QDate Next_Tick(const QDate &tick, const TDateStep &step)
{
    if (step.days)
        return tick.addDays(step.days);
    if (step.months)
        return tick.addMonths(step.months);
    return tick.addYears(step.years);
}
} // namespace

THistoryGraph::THistoryGraph(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(140);
    setToolTip(tr("Double-click a point to show its run"));
}

void THistoryGraph::Set_Points(std::vector<TPoint> points, const TDrift &drift)
{
    d_points = std::move(points);
    d_drift = drift;
    update();
}

void THistoryGraph::Set_Warning_Percent(double percent)
{
    d_warning_percent = percent;
    update();
}

void THistoryGraph::Time_Range(qint64 *first, qint64 *last) const
{
    if (d_points.empty())
    {
        *last = QDateTime::currentMSecsSinceEpoch();
        *first = *last - 30 * DAY_MS;
        return;
    }
    *first = d_points.front().time.toMSecsSinceEpoch();
    *last = *first;
    for (const TPoint &point : d_points)
    {
        *first = std::min(*first, point.time.toMSecsSinceEpoch());
        *last = std::max(*last, point.time.toMSecsSinceEpoch());
    }
    // A little room on both sides, and a day at least, so that no point sits on the frame.
    const qint64 room = std::max<qint64>((*last - *first) / 20, DAY_MS);
    *first -= room;
    *last += room;
}

double THistoryGraph::Top_Percent() const
{
    double top = std::max(110.0, d_warning_percent + 10.0);
    for (const TPoint &point : d_points)
        top = std::max(top, point.percent * 1.05);
    return std::ceil(top / 10.0) * 10.0;
}

QRectF THistoryGraph::Plot_Area(const QRect &rect) const
{
    return QRectF(rect.left() + LEFT_MARGIN, rect.top() + TOP_MARGIN,
                  std::max(1, rect.width() - LEFT_MARGIN - RIGHT_MARGIN),
                  std::max(1, rect.height() - TOP_MARGIN - BOTTOM_MARGIN));
}

double THistoryGraph::X_Of(const QDateTime &time, const QRectF &plot) const
{
    qint64 first = 0;
    qint64 last = 0;
    Time_Range(&first, &last);
    return plot.left() + plot.width() * static_cast<double>(time.toMSecsSinceEpoch() - first) /
                             static_cast<double>(last - first);
}

double THistoryGraph::Y_Of(double percent, const QRect &rect) const
{
    const QRectF plot = Plot_Area(rect);
    // Whole pixels, so that the level lines are crisp.
    return std::round(plot.bottom() - plot.height() * percent / Top_Percent());
}

QPointF THistoryGraph::Position(const TPoint &point, const QRect &rect) const
{
    return QPointF(std::round(X_Of(point.time, Plot_Area(rect))), Y_Of(point.percent, rect));
}

int THistoryGraph::Point_At(const QPointF &position, const QRect &rect) const
{
    int nearest = -1;
    double best = PICK_DISTANCE * PICK_DISTANCE;
    for (const TPoint &point : d_points)
    {
        const QPointF offset = Position(point, rect) - position;
        const double distance = QPointF::dotProduct(offset, offset);
        if (distance <= best)
        {
            best = distance;
            nearest = point.row;
        }
    }
    return nearest;
}

void THistoryGraph::Render(QPainter *painter, const QRect &rect) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(rect, Qt::white);
    const QRectF plot = Plot_Area(rect);
    const QFontMetrics metrics(painter->font());

    // Percent axis: a grid every so many percent, labelled.
    const double top = Top_Percent();
    const double step = top > 400.0 ? 100.0 : top > 200.0 ? 50.0 : 20.0;
    painter->setPen(QColor(225, 225, 225));
    for (double percent = 0.0; percent <= top + 1e-9; percent += step)
    {
        const double y = Y_Of(percent, rect);
        painter->setPen(QColor(225, 225, 225));
        painter->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter->setPen(Qt::black);
        painter->drawText(QRectF(rect.left(), y - metrics.height() / 2.0, LEFT_MARGIN - 4, metrics.height()),
                          Qt::AlignRight | Qt::AlignVCenter, tr("%1%").arg(percent));
    }

    // Date axis: the finest step whose labels do not crowd each other.
    qint64 first = 0;
    qint64 last = 0;
    Time_Range(&first, &last);
    const QDateTime first_time = QDateTime::fromMSecsSinceEpoch(first);
    const QDateTime last_time = QDateTime::fromMSecsSinceEpoch(last);
    const double span_days = static_cast<double>(last - first) / DAY_MS;
    const int label_width = metrics.horizontalAdvance(QStringLiteral("0000-00-00")) + 12;
    const double room = std::max(1.0, plot.width() / label_width);
    const TDateStep *date_step = &DATE_STEPS[std::size(DATE_STEPS) - 1];
    for (const TDateStep &candidate : DATE_STEPS)
    {
        if (span_days / static_cast<double>(Step_Days(candidate)) <= room)
        {
            date_step = &candidate;
            break;
        }
    }
    for (QDate tick = First_Tick(first_time.date(), *date_step); QDateTime(tick.startOfDay()) <= last_time;
         tick = Next_Tick(tick, *date_step))
    {
        const double x = std::round(X_Of(tick.startOfDay(), plot));
        if (x < plot.left())
            continue;
        painter->setPen(QColor(225, 225, 225));
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter->setPen(Qt::black);
        painter->drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        painter->drawText(QRectF(x - label_width / 2.0, plot.bottom() + 4, label_width, metrics.height()),
                          Qt::AlignHCenter | Qt::AlignTop, tick.toString(QLatin1String(date_step->format)));
    }
    painter->setPen(Qt::black);
    painter->drawRect(plot);

    // The levels, over the grid and under the points.
    painter->setPen(QPen(WARNING_COLOUR, 2));
    painter->drawLine(QPointF(plot.left() + 1, Y_Of(d_warning_percent, rect)),
                      QPointF(plot.right() - 1, Y_Of(d_warning_percent, rect)));
    painter->setPen(QPen(LIMIT_COLOUR, 2));
    painter->drawLine(QPointF(plot.left() + 1, Y_Of(100.0, rect)),
                      QPointF(plot.right() - 1, Y_Of(100.0, rect)));

    if (d_drift.trend == TDrift::TREND_RISING)
    {
        painter->save();
        painter->setClipRect(plot);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(DRIFT_COLOUR, 1.5, Qt::DashLine));
        const double to_percent = 1.0 / Top_Percent() * plot.height();
        painter->drawLine(QPointF(plot.left(), plot.bottom() - d_drift.Percent_At(first_time) * to_percent),
                          QPointF(plot.right(), plot.bottom() - d_drift.Percent_At(last_time) * to_percent));
        painter->restore();
    }

    // Shapes as well as colours: a circle passes, a cross fails.
    for (const TPoint &point : d_points)
    {
        const QPointF centre = Position(point, rect);
        const QColor colour = Verdict::Colour(point.verdict);
        painter->setPen(QPen(colour.isValid() ? colour : QColor(Qt::black), 2));
        painter->setBrush(Qt::NoBrush);
        if (point.verdict == TVerdict::VERDICT_FAIL)
        {
            const QPointF a(MARKER_RADIUS, MARKER_RADIUS);
            const QPointF b(MARKER_RADIUS, -MARKER_RADIUS);
            painter->drawLine(centre - a, centre + a);
            painter->drawLine(centre - b, centre + b);
        }
        else
            painter->drawEllipse(centre, MARKER_RADIUS, MARKER_RADIUS);
    }
    painter->restore();
}

void THistoryGraph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Render(&painter, rect());
}

void THistoryGraph::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int row = Point_At(event->pos(), rect());
    if (row >= 0)
        emit Point_Activated(row);
    else
        QWidget::mouseDoubleClickEvent(event);
}
