#pragma once

#include "model/drift.h"
#include "model/verdict.h"

#include <QDateTime>
#include <QRectF>
#include <QWidget>

#include <vector>

class QPainter;

// The trend of a series of runs: percent of the tolerance against the date of each run, with the
// tolerance and the warning level as lines and, for a rising trend, the fitted line.
class THistoryGraph : public QWidget
{
    Q_OBJECT

  public:
    struct TPoint
    {
        QDateTime time;
        double percent = 0.0;
        TVerdict::TVerdictType verdict = TVerdict::VERDICT_NONE;
        int row = -1; // the table row the point stands for
    };

    // The colours of the lines, so that a picture of the graph can be checked.
    static const QColor LIMIT_COLOUR;
    static const QColor WARNING_COLOUR;
    static const QColor DRIFT_COLOUR;

    explicit THistoryGraph(QWidget *parent = nullptr);

    void Set_Points(std::vector<TPoint> points, const TDrift &drift);
    void Set_Warning_Percent(double percent);
    const std::vector<TPoint> &Points() const { return d_points; }

    // Paints the whole graph into rect; the widget, the image and the PDF exports all use this.
    void Render(QPainter *painter, const QRect &rect) const;
    // Where Render puts a point and a percentage within rect.
    QPointF Position(const TPoint &point, const QRect &rect) const;
    double Y_Of(double percent, const QRect &rect) const;
    // The frame the percentages and dates are plotted in.
    QRectF Plot_Area(const QRect &rect) const;
    // The point drawn nearest to position within rect, -1 when none is close.
    int Point_At(const QPointF &position, const QRect &rect) const;

    QSize sizeHint() const override { return QSize(400, 220); }

  signals:
    void Point_Activated(int row);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

  private:
    double X_Of(const QDateTime &time, const QRectF &plot) const;
    void Time_Range(qint64 *first, qint64 *last) const;
    double Top_Percent() const;

    std::vector<TPoint> d_points;
    TDrift d_drift;
    double d_warning_percent = 80.0;
};
