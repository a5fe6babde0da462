#include "widgets/graphwidget.h"

#include "base/assertion.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
bool Is_Finite(const TVector2 &point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

QPoint Event_Position(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position().toPoint();
#else
    return event->localPos().toPoint();
#endif
}

// Fixed point with five decimals; values too large for that are written with an exponent so the
// read-out keeps a sensible length.
QString Coordinate_Value(double value)
{
    if (std::fabs(value) < 1e15)
        return QString::number(value, 'f', 5);
    return QString::number(value, 'e', 5);
}

QString Format_Coordinates(double x, double y)
{
    return QStringLiteral("%1,   %2").arg(Coordinate_Value(x), Coordinate_Value(y));
}
} // namespace

TGraphWidget::TGraphWidget(const QWidget *parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget *>(parent), flags), d_coordinate_text(Format_Coordinates(0.0, 0.0))
{
    setAttribute(Qt::WA_MouseTracking);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    // Keys zoom and pan once the graph was clicked or tabbed to.
    setFocusPolicy(Qt::WheelFocus);
}

TGraphWidget::~TGraphWidget() = default;

int TGraphWidget::CreateDataSet(QColor color, TGraphType type)
{
    TDataSet data_set;
    data_set.dataset_color = color;
    data_set.dataset_type = type;
    d_data_sets.push_back(data_set);
    return static_cast<int>(d_data_sets.size()) - 1;
}

bool TGraphWidget::AddPoint(int set, const TVector2 &point)
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    d_data_sets[set].dataset_points.push_back(point);
    return true;
}

bool TGraphWidget::AddPoints(int set, const std::vector<TVector2> &points)
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    std::vector<TVector2> &target = d_data_sets[set].dataset_points;
    target.insert(target.end(), points.begin(), points.end());
    return true;
}

bool TGraphWidget::SetPoints(int set, const std::vector<TVector2> &points)
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    d_data_sets[set].dataset_points = points;
    return true;
}

bool TGraphWidget::ModifyPoint(int set, int index, const TVector2 &point)
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    QUILLON_ASSERT(index >= 0);
    QUILLON_ASSERT(index < static_cast<int>(d_data_sets[set].dataset_points.size()));
    d_data_sets[set].dataset_points[index] = point;
    return true;
}

bool TGraphWidget::DeletePoint(int set, int index)
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    QUILLON_ASSERT(index >= 0);
    QUILLON_ASSERT(index < static_cast<int>(d_data_sets[set].dataset_points.size()));
    std::vector<TVector2> &points = d_data_sets[set].dataset_points;
    points.erase(points.begin() + index);
    return true;
}

bool TGraphWidget::DeletePoints(int set)
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    d_data_sets[set].dataset_points.clear();
    return true;
}

bool TGraphWidget::DeleteDataSet(int index)
{
    QUILLON_ASSERT(index >= 0);
    QUILLON_ASSERT(index < static_cast<int>(d_data_sets.size()));
    d_data_sets.erase(d_data_sets.begin() + index);
    return true;
}

void TGraphWidget::DeleteDataSets()
{
    d_data_sets.clear();
    d_legend_entries.clear();
    d_note.clear();
}

void TGraphWidget::Show(const TGraphSetup &setup, std::vector<TDataSet> data_sets,
                        std::vector<TLegendEntry> legend)
{
    Set_Titles(setup.graph_title, setup.vertical_title, setup.horizontal_title);
    d_note = setup.note;
    d_lock_aspect_ratio = setup.lock_aspect_ratio;
    d_scale_mode_y = setup.scale_mode_y;
    EnableYIncludesZero(setup.y_includes_zero);
    d_data_sets = std::move(data_sets);
    d_legend_entries = std::move(legend);
}

void TGraphWidget::Set_Titles(const QString &graph, const QString &vertical, const QString &horizontal)
{
    d_graph_title = graph;
    d_vertical_title = vertical;
    d_horizontal_title = horizontal;
}

void TGraphWidget::Set_Scale_Modes(int x, int y)
{
    d_scale_mode_x = x;
    d_scale_mode_y = y;
}

int TGraphWidget::DataSetSize(int set) const
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    return static_cast<int>(d_data_sets[set].dataset_points.size());
}

TVector2 TGraphWidget::GetPoint(int set, int index) const
{
    QUILLON_ASSERT(set >= 0);
    QUILLON_ASSERT(set < static_cast<int>(d_data_sets.size()));
    QUILLON_ASSERT(index >= 0);
    QUILLON_ASSERT(index < static_cast<int>(d_data_sets[set].dataset_points.size()));
    return d_data_sets[set].dataset_points[index];
}

void TGraphWidget::EnableYIncludesZero(bool state)
{
    d_y_includes_zero = state;
}

void TGraphWidget::SetScaleMinimumY(const double &value, bool symmetric)
{
    d_y_symmetric = symmetric;
    d_scale_minimum_y = value > 0.0 ? value : 5e-5;
}

bool TGraphWidget::GenerateRGBColor(int index, int *red, int *green, int *blue)
{
    return Graph_RGB_Color(index, red, green, blue);
}

void TGraphWidget::UpdateGraph()
{
    if (!d_layout.widget.isValid())
        return;
    Draw_Background_Pixmap();
    update();
}

void TGraphWidget::ZoomOut()
{
    d_zoom_out_requested = true;
    update();
}

void TGraphWidget::ScaleToFit()
{
    d_scale_to_fit_requested = true;
    update();
}

void TGraphWidget::Update_Viewport_To_Data()
{
    double xmin = -5e-6;
    double xmax = 5e-6;
    double ymin = -5e-6;
    double ymax = 5e-6;
    bool first = true;
    for (const TDataSet &data_set : d_data_sets)
    {
        for (const TVector2 &point : data_set.dataset_points)
        {
            if (!Is_Finite(point))
                continue;
            if (first)
            {
                xmin = xmax = point.x;
                ymin = ymax = point.y;
                first = false;
                continue;
            }
            xmin = std::min(xmin, point.x);
            xmax = std::max(xmax, point.x);
            ymin = std::min(ymin, point.y);
            ymax = std::max(ymax, point.y);
        }
    }

    if (d_y_includes_zero)
    {
        ymax = std::max(ymax, d_scale_minimum_y);
        if (d_y_symmetric)
            ymin = std::min(ymin, -d_scale_minimum_y);
    }
    TGraphAxis::Ensure_Span(xmin, xmax);

    if (d_lock_aspect_ratio)
    {
        const QRect &plot = d_layout.plot;
        const double centre = (xmin + xmax) / 2.0;
        const double pw = std::abs(plot.right() - plot.left());
        const double ph = std::abs(plot.top() - plot.bottom());
        const double ratio = ph > 0.0 ? pw / ph : 1.0;
        xmin = centre + ymin * ratio;
        xmax = centre + ymax * ratio;
        // The y range may still be empty here; the x range must not be.
        TGraphAxis::Ensure_Span(xmin, xmax);
    }
    TGraphAxis::Ensure_Span(ymin, ymax);

    d_full_x_range = xmax - xmin;
    d_full_y_range = ymax - ymin;

    if (d_scale_mode_y == SCALE_LINEAR)
    {
        const double margin = d_full_y_range / 50.0;
        ymin -= margin;
        ymax += margin;
    }
    if (d_scale_mode_x == SCALE_LINEAR)
    {
        const double margin = d_full_x_range / 50.0;
        xmin -= margin;
        xmax += margin;
    }
    d_view.Fit(d_layout.plot, xmin, xmax, ymin, ymax);
}

void TGraphWidget::Update_Viewport_To_Rect(const QRect &rect)
{
    const int left = std::min(rect.left(), rect.right());
    const int right = std::max(rect.left(), rect.right());
    const int top = std::min(rect.top(), rect.bottom());
    const int bottom = std::max(rect.top(), rect.bottom());

    double xl = d_view.x.Value(left);
    double xr = d_view.x.Value(right);
    double yt = d_view.y.Value(top);
    double yb = d_view.y.Value(bottom);

    // Zooming out stops at 50 times the data range, about the centre of the view so that data far from
    // 0 stays in it.
    const auto limit = [](double *low, double *high, double full_range)
    {
        if (*high - *low > 50.0 * full_range)
        {
            const double centre = 0.5 * (*low + *high);
            *low = centre - 25.0 * full_range;
            *high = centre + 25.0 * full_range;
        }
    };
    limit(&xl, &xr, d_full_x_range);
    limit(&yb, &yt, d_full_y_range);
    TGraphAxis::Ensure_Span(xl, xr);
    TGraphAxis::Ensure_Span(yb, yt);
    d_view.Fit(d_layout.plot, xl, xr, yb, yt);
}

void TGraphWidget::Clear_Coordinates()
{
    d_coordinate_text = Format_Coordinates(0.0, 0.0);
}

void TGraphWidget::Draw_Background_Pixmap()
{
    // A new view: the read-out would name a point under the mouse that has moved.
    Clear_Coordinates();
    if (!d_layout.widget.isValid())
        return;
    d_pixmap = QPixmap(d_layout.widget.size());
    d_pixmap.fill(Qt::white);
    QPainter painter(&d_pixmap);
    painter.setFont(font());
    Direct_Render(&painter);
}

void TGraphWidget::Draw_Background_Scaled_Pixmap(const QRect &rect)
{
    Clear_Coordinates();
    if (d_pixmap.isNull())
        return;
    d_pixmap.fill(Qt::white);
    QPainter painter(&d_pixmap);
    painter.setFont(font());
    Update_Viewport_To_Rect(rect);
    Render_View(&painter);
}

void TGraphWidget::resizeEvent(QResizeEvent *event)
{
    d_layout = TGraphLayout::Screen(event->size(), QFontMetrics(font()).height());
    Draw_Background_Pixmap();
}

void TGraphWidget::paintEvent(QPaintEvent *event)
{
    const QRect &plot = d_layout.plot;
    if (d_scale_to_fit_requested)
    {
        d_scale_to_fit_requested = false;
        Draw_Background_Pixmap();
        update(d_layout.widget);
        return;
    }
    if (d_zoom_out_requested)
    {
        // Twice the current plot area about its centre: the view doubles in both directions.
        d_zoom_out_requested = false;
        const int w2 = 2 * (plot.right() - plot.left() + 1);
        const int h2 = 2 * (plot.bottom() - plot.top() + 1);
        const int left = (plot.left() + plot.right()) / 2 - (w2 - 1) / 2;
        const int top = (plot.top() + plot.bottom()) / 2 - (h2 - 1) / 2;
        Draw_Background_Scaled_Pixmap(QRect(QPoint(left, top), QPoint(left + w2 - 1, top + h2 - 1)));
        update(d_layout.widget);
        return;
    }

    QPainter painter(this);
    for (const QRect &rect : event->region())
    {
        if (d_pixmap.isNull())
            painter.fillRect(rect, Qt::white);
        else
            painter.drawPixmap(rect, d_pixmap, rect);
    }
    if (d_box_visible)
    {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(Box_Rect());
    }
    if (d_show_coordinates)
    {
        const QRect bounds = painter.boundingRect(QRect(), 0, d_coordinate_text);
        painter.setPen(Qt::lightGray);
        painter.drawText(Read_Out_Rect(bounds.size()), Qt::AlignLeft | Qt::AlignVCenter, d_coordinate_text);
    }
}

QRect TGraphWidget::Read_Out_Rect(const QSize &size) const
{
    const QRect &plot = d_layout.plot;
    const QRect &row = d_layout.graph_title;
    // The title's extent in the bold 12 point face it is drawn in.
    QFont title_font = font();
    title_font.setPointSize(12);
    title_font.setWeight(QFont::Bold);
    const int title_half =
        d_graph_title.isEmpty()
            ? 0
            : QFontMetrics(title_font).horizontalAdvance(d_graph_title) / 2 + size.height() / 2;
    const int top = row.top() + (row.height() - size.height()) / 2;
    // The row runs from the widget's left edge (above the vertical labels) to its right edge.
    const int gap = size.height() / 2;
    const QRect right(d_layout.widget.right() - gap - size.width(), top, size.width(), size.height());
    const QRect left(d_layout.widget.left() + gap, top, size.width(), size.height());
    if (row.height() >= size.height())
    {
        if (right.left() > row.center().x() + title_half)
            return right;
        if (left.right() < row.center().x() - title_half)
            return left;
    }
    // Inside the plot, as far from the pointer as it can be.
    const int margin = 2;
    const int x1 = plot.left() + margin;
    const int x2 = plot.right() - margin - size.width();
    const int y1 = plot.top() + margin;
    const int y2 = plot.bottom() - margin - size.height();
    const QPoint corners[4] = {{x2, y1}, {x1, y1}, {x2, y2}, {x1, y2}};
    QPoint best = corners[0];
    int best_distance = -1;
    for (const QPoint &corner : corners)
    {
        const QPoint centre = corner + QPoint(size.width() / 2, size.height() / 2);
        const int distance = (centre - d_pointer).manhattanLength();
        if (distance > best_distance)
        {
            best = corner;
            best_distance = distance;
        }
    }
    return QRect(best, size);
}

QRect TGraphWidget::Box_Rect() const
{
    return QRect(
        QPoint(std::min(d_box_first.x(), d_box_second.x()), std::min(d_box_first.y(), d_box_second.y())),
        QPoint(std::max(d_box_first.x(), d_box_second.x()), std::max(d_box_first.y(), d_box_second.y())));
}

void TGraphWidget::Invalidate_Box()
{
    // The outline covers one pixel more than the box to the right and below.
    const QRect box = Box_Rect();
    update(QRect(box.left(), box.top(), box.width() + 1, 1));
    update(QRect(box.left(), box.top(), 1, box.height() + 1));
    update(QRect(box.left(), box.bottom() + 1, box.width() + 1, 1));
    update(QRect(box.right() + 1, box.top(), 1, box.height() + 1));
}

TVector2 TGraphWidget::Pixel_To_Data(const QPoint &position) const
{
    return TVector2(d_view.x.Value(position.x()), d_view.y.Value(position.y()));
}

void TGraphWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = Event_Position(event);
    if (event->button() == Qt::LeftButton)
    {
        d_box_first = d_layout.plot.contains(position) ? position : d_layout.plot.topLeft();
        d_box_second = d_box_first;
        d_left_button_down = true;
        d_box_active = false;
    }
    else if (event->button() == Qt::RightButton)
    {
        d_box_first = d_box_second = position;
        d_panned = false;
        d_right_button_down = true;
    }
}

void TGraphWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = Event_Position(event);
    if (event->buttons() & Qt::LeftButton)
    {
        if (!d_left_button_down)
            return;
        if (d_box_active)
            Invalidate_Box();
        else
            d_box_active = d_box_visible = true;
        d_box_second = position;
        Invalidate_Box();
        return;
    }
    if (event->buttons() & Qt::RightButton)
    {
        if (d_right_button_down)
        {
            // Incremental pan: the graph follows the mouse from the last position.
            d_box_second = position;
            Draw_Background_Scaled_Pixmap(d_layout.plot.translated(d_box_first - position));
            repaint();
            d_box_first = position;
        }
        d_panned = true;
        return;
    }
    d_pointer = position;
    if (d_show_coordinates && d_layout.plot.contains(position))
    {
        const TVector2 point = Pixel_To_Data(position);
        d_coordinate_text = Format_Coordinates(point.x, point.y);
        repaint();
    }
}

void TGraphWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint position = Event_Position(event);
    if (event->button() == Qt::LeftButton)
    {
        const QPoint diagonal = d_box_second - d_box_first;
        if (d_box_active && std::abs(diagonal.x()) + std::abs(diagonal.y()) > 19)
        {
            d_box_visible = false;
            Invalidate_Box();
            Draw_Background_Scaled_Pixmap(Box_Rect());
            update(d_layout.widget);
        }
        else
        {
            if (d_box_active)
            {
                d_box_visible = false;
                Invalidate_Box();
            }
            const TVector2 point = Pixel_To_Data(position);
            emit Mouse_Click(point.x, point.y);
        }
        d_box_active = false;
        d_left_button_down = false;
    }
    else if (event->button() == Qt::RightButton)
    {
        if (d_panned)
            d_panned = false;
        else
            ZoomOut();
        d_right_button_down = false;
    }
}

void TGraphWidget::Zoom_About(const QPoint &at, double factor)
{
    const QRect &plot = d_layout.plot;
    const auto scaled = [&](int edge, int centre)
    { return centre + static_cast<int>(std::lround((edge - centre) * factor)); };
    const QRect rect(QPoint(scaled(plot.left(), at.x()), scaled(plot.top(), at.y())),
                     QPoint(scaled(plot.right(), at.x()), scaled(plot.bottom(), at.y())));
    // A box too small to map would stop at the 1e-5 floor anyway; keep at least a few pixels.
    if (rect.width() < 4 || rect.height() < 4)
        return;
    Draw_Background_Scaled_Pixmap(rect);
    update(d_layout.widget);
}

void TGraphWidget::Pan_By(double x_part, double y_part)
{
    const QRect &plot = d_layout.plot;
    const int dx = static_cast<int>(std::lround(x_part * plot.width()));
    const int dy = static_cast<int>(std::lround(-y_part * plot.height()));
    Draw_Background_Scaled_Pixmap(plot.translated(dx, dy));
    update(d_layout.widget);
}

void TGraphWidget::keyPressEvent(QKeyEvent *event)
{
    const double pan = 0.1;
    switch (event->key())
    {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom_About(d_layout.plot.center(), 0.5);
        break;
    case Qt::Key_Minus:
        ZoomOut();
        break;
    case Qt::Key_0:
    case Qt::Key_Home:
        ScaleToFit();
        break;
    case Qt::Key_Left:
        Pan_By(-pan, 0.0);
        break;
    case Qt::Key_Right:
        Pan_By(pan, 0.0);
        break;
    case Qt::Key_Up:
        Pan_By(0.0, pan);
        break;
    case Qt::Key_Down:
        Pan_By(0.0, -pan);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TGraphWidget::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y();
    const QPoint at = event->position().toPoint();
    if (steps == 0 || !d_layout.plot.contains(at))
    {
        event->ignore();
        return;
    }
    // One notch (120) zooms by a fifth; a touchpad's small steps zoom by as much less.
    Zoom_About(at, std::pow(0.8, steps / 120.0));
    event->accept();
}
