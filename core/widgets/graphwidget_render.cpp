// Drawing of the graph: label formats, ticks and labels, zero lines, frames, titles and data sets. One
// routine serves the screen pixmap and any other paint device.

#include "widgets/graphwidget.h"

#include "base/assertion.h"
#include "graph/graphreduction.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
using TDataSet = TGraphWidget::TDataSet;

// Points and line ends are drawn in batches; a bounded batch keeps memory flat for any number of points.
constexpr std::size_t Batch_Size = 4096;

// Exact pixel coordinates are clamped to this before clipping; far beyond any device, well inside the
// range where double arithmetic on them is still accurate to a fraction of a pixel.
constexpr double Exact_Pixel_Limit = 1e15;

bool Is_Finite(const TVector2 &point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

double Clamp_Pixel(double value)
{
    return std::clamp(value, -Exact_Pixel_Limit, Exact_Pixel_Limit);
}

void Measure_Label(QPainter *painter, TLabelFormat &format, const QString &pattern)
{
    const QRect bounds = painter->boundingRect(QRect(), 0, format.Text(pattern, -0.5));
    format.label_width = std::max(1, bounds.width());
    format.label_height = std::max(1, bounds.height());
}

// Cuts the segment a-b to the rectangle (Liang-Barsky); false when nothing of it lies inside. Segments
// entirely inside are left untouched, so their pixels are exactly the truncated data pixels.
bool Clip_Segment(double left, double top, double right, double bottom, QPointF &a, QPointF &b)
{
    const auto inside = [&](const QPointF &p)
    { return p.x() >= left && p.x() <= right && p.y() >= top && p.y() <= bottom; };
    if (inside(a) && inside(b))
        return true;

    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const auto edge = [&](double p, double q)
    {
        if (p == 0.0)
            return q >= 0.0;
        const double t = q / p;
        if (p < 0.0)
        {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        }
        else
        {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, a.x() - left) || !edge(dx, right - a.x()) || !edge(-dy, a.y() - top) ||
        !edge(dy, bottom - a.y()))
        return false;
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

void Flush_Lines(QPainter *painter, std::vector<QLine> &lines)
{
    if (!lines.empty())
        painter->drawLines(lines.data(), static_cast<int>(lines.size()));
    lines.clear();
}

void Draw_Line_Set(QPainter *painter, const TGraphView &view, const QRect &plot, const TDataSet &data_set)
{
    // A little outside the clip rectangle, so cut ends never show.
    const double left = plot.left() - 8.0;
    const double right = plot.right() + 8.0;
    const double top = plot.top() - 8.0;
    const double bottom = plot.bottom() + 8.0;
    const bool opaque = data_set.dataset_color.alpha() == 255;

    std::vector<QLine> lines;
    lines.reserve(Batch_Size);
    TColumnMerger merger(&lines);
    const bool merge = opaque && !data_set.dataset_dashed && !painter->testRenderHint(QPainter::Antialiasing);
    QLine previous(QPoint(INT_MIN, INT_MIN), QPoint(INT_MIN, INT_MIN));
    const std::vector<TVector2> &points = data_set.dataset_points;
    for (std::size_t i = 1; i < points.size(); ++i)
    {
        // A point that is not finite breaks the line on both sides.
        if (!Is_Finite(points[i - 1]) || !Is_Finite(points[i]))
            continue;
        QPointF a(Clamp_Pixel(view.x.Exact_Pixel(points[i - 1].x)),
                  Clamp_Pixel(view.y.Exact_Pixel(points[i - 1].y)));
        QPointF b(Clamp_Pixel(view.x.Exact_Pixel(points[i].x)), Clamp_Pixel(view.y.Exact_Pixel(points[i].y)));
        if (!Clip_Segment(left, top, right, bottom, a, b))
            continue;
        const QLine line(static_cast<int>(a.x()), static_cast<int>(a.y()), static_cast<int>(b.x()),
                         static_cast<int>(b.y()));
        // Dense data repeats the same pixel segment many times; with an opaque pen once is enough.
        if (opaque && line == previous)
            continue;
        previous = line;
        if (merge)
            merger.Add(line);
        else
            lines.push_back(line);
        if (lines.size() >= Batch_Size)
            Flush_Lines(painter, lines);
    }
    merger.Finish();
    Flush_Lines(painter, lines);
}

// Pixel of a point when it can show in the plot area (with room for the largest marker), else false.
bool Marker_Pixel(const TGraphView &view, const QRect &plot, const TVector2 &point, QPoint &pixel)
{
    if (!Is_Finite(point))
        return false;
    pixel = QPoint(view.x.Pixel(point.x), view.y.Pixel(point.y));
    return pixel.x() >= plot.left() - 4 && pixel.x() <= plot.right() + 4 && pixel.y() >= plot.top() - 4 &&
           pixel.y() <= plot.bottom() + 4;
}

// Remembers the marker pixels already drawn. An opaque marker drawn twice at one pixel looks the same as
// one, so dense sets skip the repeats; translucent colours (where repeats darken) and plot areas too large
// for a flag per pixel draw every marker.
class TMarkerPixels
{
  public:
    TMarkerPixels(const QRect &plot, const QColor &color)
        : d_left(plot.left() - 4), d_top(plot.top() - 4), d_width(plot.width() + 9)
    {
        const long long area = static_cast<long long>(d_width) * (plot.height() + 9);
        if (color.alpha() == 255 && plot.width() > 0 && plot.height() > 0 && area <= 1 << 24)
            d_drawn.assign(static_cast<std::size_t>(area), false);
    }

    // True the first time a pixel is seen (and always when not tracking).
    bool First_Visit(const QPoint &pixel)
    {
        if (d_drawn.empty())
            return true;
        const std::size_t index =
            static_cast<std::size_t>(pixel.y() - d_top) * static_cast<std::size_t>(d_width) +
            static_cast<std::size_t>(pixel.x() - d_left);
        if (d_drawn[index])
            return false;
        d_drawn[index] = true;
        return true;
    }

  private:
    int d_left;
    int d_top;
    int d_width;
    std::vector<bool> d_drawn;
};

void Draw_Cross_Set(QPainter *painter, const TGraphView &view, const QRect &plot, const TDataSet &data_set)
{
    TMarkerPixels drawn(plot, data_set.dataset_color);
    std::vector<QLine> lines;
    lines.reserve(Batch_Size);
    QPoint p;
    for (const TVector2 &point : data_set.dataset_points)
    {
        if (!Marker_Pixel(view, plot, point, p) || !drawn.First_Visit(p))
            continue;
        lines.emplace_back(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
        lines.emplace_back(p.x() - 3, p.y() + 3, p.x() + 3, p.y() - 3);
        if (lines.size() >= Batch_Size)
            Flush_Lines(painter, lines);
    }
    Flush_Lines(painter, lines);
}

void Draw_Box_Set(QPainter *painter, const TGraphView &view, const QRect &plot, const TDataSet &data_set)
{
    TMarkerPixels drawn(plot, data_set.dataset_color);
    QPoint p;
    for (const TVector2 &point : data_set.dataset_points)
    {
        if (Marker_Pixel(view, plot, point, p) && drawn.First_Visit(p))
            painter->fillRect(QRect(p.x() - 3, p.y() - 3, 6, 6), data_set.dataset_color);
    }
}

void Draw_Ring_Set(QPainter *painter, const TGraphView &view, const QRect &plot, const TDataSet &data_set)
{
    const int radius = 8;
    QPen pen = painter->pen();
    pen.setWidth(2);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    for (const TVector2 &point : data_set.dataset_points)
    {
        if (!Is_Finite(point))
            continue;
        const QPoint p(view.x.Pixel(point.x), view.y.Pixel(point.y));
        if (plot.adjusted(-radius, -radius, radius, radius).contains(p))
            painter->drawEllipse(p, radius, radius);
    }
}

// Bars are unions of rectangles that all touch the row above the zero line, so with an opaque colour
// each pixel column is one run of rows; filling those runs gives the same pixels as filling every bar,
// at a cost bound by the plot width instead of the number of points times the bar height.
void Draw_Bar_Set(QPainter *painter, const TGraphView &view, const QRect &plot, const TDataSet &data_set)
{
    const std::vector<TVector2> &points = data_set.dataset_points;
    const long long count = std::count_if(points.begin(), points.end(), Is_Finite);
    if (count == 0)
        return;
    const int pw = plot.right() - plot.left() + 1;
    const int half_width = Graph_Bar_Half_Width(pw, count);
    const int zero = view.y.Pixel(0.0);
    const int first_column = plot.left() - 1;
    const int last_column = plot.right() + 1;
    const bool merge = data_set.dataset_color.alpha() == 255 && last_column >= first_column;

    std::vector<int> column_top;
    std::vector<int> column_bottom;
    if (merge)
    {
        column_top.assign(static_cast<std::size_t>(last_column - first_column + 1), INT_MAX);
        column_bottom.assign(column_top.size(), INT_MIN);
    }
    for (const TVector2 &point : points)
    {
        if (!Is_Finite(point))
            continue;
        const int px = view.x.Pixel(point.x);
        const int py = view.y.Pixel(point.y);
        if (py == zero)
            continue;
        // From the point's row to the row above the zero line; rows off the plot are cut.
        const int row1 = std::max(std::min(py, zero - 1), plot.top() - 1);
        const int row2 = std::min(std::max(py, zero - 1), plot.bottom() + 1);
        const int x1 = std::max(px - half_width, first_column);
        const int x2 = std::min(px + half_width - 1, last_column);
        if (row1 > row2 || x1 > x2)
            continue;
        if (!merge)
        {
            painter->fillRect(QRect(QPoint(x1, row1), QPoint(x2, row2)), data_set.dataset_color);
            continue;
        }
        for (int x = x1; x <= x2; ++x)
        {
            const std::size_t column = static_cast<std::size_t>(x - first_column);
            column_top[column] = std::min(column_top[column], row1);
            column_bottom[column] = std::max(column_bottom[column], row2);
        }
    }
    if (!merge)
        return;
    // Neighbouring columns with the same run become one rectangle.
    std::size_t start = 0;
    for (std::size_t column = 1; column <= column_top.size(); ++column)
    {
        if (column < column_top.size() && column_top[column] == column_top[start] &&
            column_bottom[column] == column_bottom[start])
            continue;
        if (column_top[start] <= column_bottom[start])
            painter->fillRect(
                QRect(QPoint(first_column + static_cast<int>(start), column_top[start]),
                      QPoint(first_column + static_cast<int>(column) - 1, column_bottom[start])),
                data_set.dataset_color);
        start = column;
    }
}
} // namespace

void TGraphWidget::Calculate_Legend_Display_Precision(QPainter *painter)
{
    QUILLON_ASSERT(painter);
    const QRect &plot = d_layout.plot;
    d_horizontal_format =
        TLabelFormat::For_Range(d_view.x.Value(plot.left()), d_view.x.Value(plot.right()), d_scale_mode_x);
    Measure_Label(painter, d_horizontal_format, QStringLiteral("  %1  "));
    d_vertical_format =
        TLabelFormat::For_Range(d_view.y.Value(plot.bottom()), d_view.y.Value(plot.top()), d_scale_mode_y);
    Measure_Label(painter, d_vertical_format, QStringLiteral("  %1"));
}

void TGraphWidget::Draw_Horizontal_Axis(QPainter *painter)
{
    const QRect &plot = d_layout.plot;
    const TLabelFormat &format = d_horizontal_format;
    const int w = format.label_width;
    const int hh = format.label_height;
    const auto tick = [&](int px)
    {
        painter->setPen(Qt::lightGray);
        painter->drawLine(px, plot.bottom(), px, plot.bottom() + hh / 3);
        painter->setPen(Qt::black);
    };

    if (d_scale_mode_x == SCALE_LINEAR)
    {
        const int baseline = d_layout.horizontal_label.top() + hh + hh / 2;
        for (const int px : Graph_Linear_Ticks(plot.left(), plot.right() - plot.left() + 1, w))
        {
            tick(px);
            painter->drawText(QPoint(px - w / 2, baseline), format.Text(d_view.x.Value(px)));
        }
    }
    else if (d_scale_mode_x == SCALE_INTEGER)
    {
        const int t = d_layout.horizontal_label.top() + hh;
        const double first = std::trunc(d_view.x.Value(plot.left()));
        const double last = std::trunc(d_view.x.Value(plot.right()));
        for (const double k : d_view.x.Integer_Ticks(first, last, w))
        {
            const int px = d_view.x.Pixel(k);
            tick(px);
            painter->drawText(QRect(px - w / 2, t - hh / 2, w, hh), Qt::AlignCenter | Qt::TextDontClip,
                              TLabelFormat::Integer_Text(k));
        }
    }
}

void TGraphWidget::Draw_Vertical_Axis(QPainter *painter)
{
    const QRect &plot = d_layout.plot;
    const TLabelFormat &format = d_vertical_format;
    const int vw = format.label_width;
    const int vh = format.label_height;
    const int label_right = d_layout.vertical_label.right();
    const auto tick_and_label = [&](int py, const QString &text)
    {
        painter->setPen(Qt::lightGray);
        painter->drawLine(plot.left() - vh / 2, py, plot.left(), py);
        painter->setPen(Qt::black);
        painter->drawText(
            QRect(QPoint(label_right - vw, py - vh / 2), QPoint(label_right - 1, py - vh / 2 + vh - 1)),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, text);
    };

    if (d_scale_mode_y == SCALE_LINEAR)
    {
        for (const int py : Graph_Linear_Ticks(plot.top(), plot.bottom() - plot.top() + 1, vh))
            tick_and_label(py, format.Text(d_view.y.Value(py)));
    }
    else if (d_scale_mode_y == SCALE_INTEGER)
    {
        // The integer axis counts, and a count is never negative.
        const double first = std::max(0.0, std::trunc(d_view.y.Value(plot.bottom() + 1)));
        const double last = std::trunc(d_view.y.Value(plot.top()));
        for (const double k : d_view.y.Integer_Ticks(first, last, vh))
            tick_and_label(d_view.y.Pixel(k), TLabelFormat::Integer_Text(k) + QLatin1Char(' '));
    }
}

void TGraphWidget::Draw_Titles(QPainter *painter, QFont font)
{
    painter->setPen(Qt::black);
    font.setPointSize(12);
    font.setWeight(QFont::Bold);
    painter->setFont(font);
    painter->drawText(d_layout.graph_title, Qt::AlignHCenter | Qt::AlignVCenter, d_graph_title);

    font.setPointSize(10);
    painter->setFont(font);
    painter->drawText(d_layout.horizontal_title, Qt::AlignCenter, d_horizontal_title);

    // Rotated to read from bottom to top, centred on the vertical title area.
    const QRect &area = d_layout.vertical_title;
    const int width = painter->boundingRect(QRect(), 0, d_vertical_title).width();
    painter->save();
    painter->translate((area.left() + area.right()) / 2, (area.top() + area.bottom()) / 2);
    painter->rotate(-90.0);
    painter->drawText(QPoint(-width / 2, 0), d_vertical_title);
    painter->restore();
}

void TGraphWidget::Draw_Legend(QPainter *painter)
{
    QUILLON_ASSERT(painter);
    const QFont title_font = painter->font();
    const QRect &plot = d_layout.plot;

    Draw_Horizontal_Axis(painter);
    Draw_Vertical_Axis(painter);

    painter->setPen(Qt::lightGray);
    const int x0 = d_view.x.Pixel(0.0);
    if (plot.left() < x0 && x0 < plot.right())
        painter->drawLine(x0, plot.top(), x0, plot.bottom());
    const int y0 = d_view.y.Pixel(0.0);
    if (plot.top() < y0 && y0 < plot.bottom())
        painter->drawLine(plot.left(), y0, plot.right(), y0);

    painter->setBrush(Qt::NoBrush);
    painter->setPen(Qt::darkGray);
    painter->drawRect(plot);

    if (d_draw_border)
    {
        // The outline of a rect one pixel smaller covers the first and last rows and columns.
        const QRect &widget = d_layout.widget;
        painter->setPen(Qt::black);
        painter->drawRect(QRect(widget.topLeft(), QPoint(widget.right() - 1, widget.bottom() - 1)));
    }
    Draw_Titles(painter, title_font);
}

void TGraphWidget::Draw_Graph(QPainter *painter)
{
    QUILLON_ASSERT(painter);
    if (d_data_sets.empty())
        return;
    const QRect &plot = d_layout.plot;
    painter->setClipRect(plot, Qt::ReplaceClip);
    for (const TDataSet &data_set : d_data_sets)
    {
        if (data_set.dataset_points.empty())
            continue;
        QPen pen(data_set.dataset_color);
        if (data_set.dataset_dashed)
            pen.setStyle(Qt::DashLine);
        painter->setPen(pen);
        switch (data_set.dataset_type)
        {
        case GRAPH_DEFAULT:
        case GRAPH_LINE:
            Draw_Line_Set(painter, d_view, plot, data_set);
            break;
        case GRAPH_BAR:
            Draw_Bar_Set(painter, d_view, plot, data_set);
            break;
        case GRAPH_CROSS:
            Draw_Cross_Set(painter, d_view, plot, data_set);
            break;
        case GRAPH_BOX:
            Draw_Box_Set(painter, d_view, plot, data_set);
            break;
        case GRAPH_RING:
            Draw_Ring_Set(painter, d_view, plot, data_set);
            break;
        }
    }
    painter->setClipping(false);
}

void TGraphWidget::Draw_Legend_Entries(QPainter *painter)
{
    if (d_legend_entries.empty())
        return;
    painter->save();
    // The titles leave their bold face on the painter.
    QFont font = painter->font();
    font.setBold(false);
    painter->setFont(font);
    const QFontMetrics metrics = painter->fontMetrics();
    const int line_height = metrics.height();
    const int sample = 3 * line_height;
    int text_width = 0;
    for (const TLegendEntry &entry : d_legend_entries)
        text_width = std::max(text_width, metrics.horizontalAdvance(entry.name));
    const QRect &plot = d_layout.plot;
    const QSize size(sample + text_width + line_height,
                     static_cast<int>(d_legend_entries.size()) * line_height + line_height / 2);
    // A legend that would hide more than a quarter of a small plot waits for a larger window.
    if (4LL * size.width() * size.height() > 1LL * plot.width() * plot.height())
    {
        painter->restore();
        return;
    }
    const QRect box = Legend_Box(size);

    painter->setClipRect(plot, Qt::ReplaceClip);
    painter->setPen(Qt::darkGray);
    painter->setBrush(Qt::white);
    painter->drawRect(box);
    int y = box.top() + line_height / 4;
    for (const TLegendEntry &entry : d_legend_entries)
    {
        QPen pen(entry.color);
        if (entry.dashed)
            pen.setStyle(Qt::DashLine);
        painter->setPen(pen);
        const int middle = y + line_height / 2;
        painter->drawLine(box.left() + line_height / 3, middle, box.left() + sample - line_height / 3,
                          middle);
        painter->setPen(Qt::black);
        painter->drawText(QRect(box.left() + sample, y, text_width + line_height, line_height),
                          Qt::AlignLeft | Qt::AlignVCenter, entry.name);
        y += line_height;
    }
    painter->restore();
}

QRect TGraphWidget::Legend_Box(const QSize &size) const
{
    const QRect &plot = d_layout.plot;
    const QRect corners[4] = {
        QRect(QPoint(plot.left() + 4, plot.top() + 4), size),
        QRect(QPoint(plot.right() - 4 - size.width(), plot.top() + 4), size),
        QRect(QPoint(plot.left() + 4, plot.bottom() - 4 - size.height()), size),
        QRect(QPoint(plot.right() - 4 - size.width(), plot.bottom() - 4 - size.height()), size)};
    // The corner hiding the fewest points; a sample of them will do for large sets.
    int hidden[4] = {0, 0, 0, 0};
    for (const TDataSet &data_set : d_data_sets)
    {
        const std::vector<TVector2> &points = data_set.dataset_points;
        const std::size_t stride = points.size() / 4096 + 1;
        for (std::size_t i = 0; i < points.size(); i += stride)
        {
            if (!Is_Finite(points[i]))
                continue;
            const QPoint p(d_view.x.Pixel(points[i].x), d_view.y.Pixel(points[i].y));
            for (int c = 0; c < 4; ++c)
                hidden[c] += corners[c].adjusted(-4, -4, 4, 4).contains(p);
        }
    }
    return corners[std::min_element(hidden, hidden + 4) - hidden];
}

void TGraphWidget::Draw_Note(QPainter *painter)
{
    if (d_note.isEmpty())
        return;
    painter->save();
    QFont font = painter->font();
    font.setBold(false);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const int h = painter->fontMetrics().height();
    const QRect &plot = d_layout.plot;
    // The lower left corner: the legend has the upper one.
    painter->drawText(QRect(plot.left() + h / 2, plot.bottom() - 3 * h / 2, plot.width() - h, h),
                      Qt::AlignLeft | Qt::AlignVCenter, d_note);
    painter->restore();
}

void TGraphWidget::Render_View(QPainter *painter)
{
    Calculate_Legend_Display_Precision(painter);
    Draw_Legend(painter);
    Draw_Graph(painter);
    Draw_Legend_Entries(painter);
    Draw_Note(painter);
}

void TGraphWidget::Direct_Render(QPainter *painter)
{
    QUILLON_ASSERT(painter);
    Update_Viewport_To_Data();
    Render_View(painter);
}

TGraphWidget::TRenderState TGraphWidget::Save_Render_State() const
{
    return TRenderState{d_view,         d_layout,       d_horizontal_format, d_vertical_format,
                        d_full_x_range, d_full_y_range, d_draw_border};
}

void TGraphWidget::Restore_Render_State(const TRenderState &state)
{
    d_view = state.view;
    d_layout = state.layout;
    d_horizontal_format = state.horizontal_format;
    d_vertical_format = state.vertical_format;
    d_full_x_range = state.full_x_range;
    d_full_y_range = state.full_y_range;
    d_draw_border = state.draw_border;
}

bool TGraphWidget::Paint_To_Device(QPainter *painter, const TGraphLayout &layout, bool border)
{
    const TRenderState saved = Save_Render_State();
    d_draw_border = border;
    d_layout = layout;
    Direct_Render(painter);
    Restore_Render_State(saved);
    return true;
}

bool TGraphWidget::PaintToDevice(QPainter *painter, const QRect &rect, bool border)
{
    QUILLON_ASSERT(painter);
    // The device's own metrics, so a printer's layout matches the size its text is drawn at.
    return Paint_To_Device(painter, TGraphLayout::Device(rect, painter->fontMetrics().height()), border);
}

bool TGraphWidget::PaintToDevice_GraphOnly(QPainter *painter, const QRect &rect, bool border)
{
    QUILLON_ASSERT(painter);
    const QString titles[3] = {d_vertical_title, d_horizontal_title, d_graph_title};
    d_vertical_title.clear();
    d_horizontal_title.clear();
    d_graph_title.clear();
    Paint_To_Device(painter, TGraphLayout::Device_Graph_Only(rect, painter->fontMetrics().height()), border);
    d_vertical_title = titles[0];
    d_horizontal_title = titles[1];
    d_graph_title = titles[2];
    return true;
}
