#include "graph/graphview.h"

#include "base/assertion.h"

#include <algorithm>
#include <cmath>

namespace
{
// Pixels further out than this are never visible; clamping keeps every double-to-int conversion defined.
constexpr double PIXEL_LIMIT = 1 << 30;

// Beyond this magnitude fixed-point labels would print hundreds of digits, most of them noise.
constexpr double FIXED_LABEL_LIMIT = 1e15;

// A safety net for the tick loop; a real axis never comes near it.
constexpr std::size_t Tick_Limit = 1 << 16;

double Next_Integer(double value)
{
    const double next = std::floor(value) + 1.0;
    return next > value ? next : std::nextafter(value, HUGE_VAL);
}

// trunc(log10(value)) for value > 0, kept in a range that converts to int safely.
int Decimal_Digits(double value)
{
    const double digits = std::trunc(std::log10(value));
    if (!(digits > -400.0))
        return -400;
    return digits < 400.0 ? static_cast<int>(digits) : 400;
}
} // namespace

void TGraphAxis::Fit(double lo, double hi, int pixel_lo, int pixel_hi)
{
    scale = (static_cast<double>(pixel_hi) - pixel_lo) / (hi - lo);
    offset = pixel_lo - lo * scale;
}

int TGraphAxis::Pixel(double value) const
{
    const double pixel = value * scale + offset;
    if (!(pixel > -PIXEL_LIMIT))
        return -static_cast<int>(PIXEL_LIMIT);
    if (pixel > PIXEL_LIMIT)
        return static_cast<int>(PIXEL_LIMIT);
    return static_cast<int>(pixel);
}

std::vector<double> TGraphAxis::Integer_Ticks(double first, double last, int spacing) const
{
    std::vector<double> ticks;
    if (!(first <= last))
        return ticks;

    const double direction = scale > 0.0 ? 1.0 : -1.0;
    double tick = first;
    long long tick_pixel = Pixel(tick);
    const auto far = [&](double value) { return std::llabs(Pixel(value) - tick_pixel) > spacing; };

    ticks.push_back(tick);
    while (tick < last && ticks.size() < Tick_Limit && far(last))
    {
        // Smallest integer after tick whose pixel is far enough: bisect between tick (too close) and a
        // value a few pixels beyond the spacing (far enough), since pixels grow monotonically.
        double lo = tick;
        double hi = std::ceil(Value(static_cast<double>(tick_pixel) + direction * (spacing + 2)));
        if (!(hi > lo) || hi > last || !far(hi))
            hi = last;
        for (double next = Next_Integer(lo); next < hi; next = Next_Integer(lo))
        {
            double middle = std::floor(lo / 2.0 + hi / 2.0);
            if (middle <= lo || middle >= hi)
                middle = next;
            (far(middle) ? hi : lo) = middle;
        }
        tick = hi;
        tick_pixel = Pixel(tick);
        ticks.push_back(tick);
    }
    return ticks;
}

double TGraphAxis::Bounded(double value)
{
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -Limit, Limit);
}

void TGraphAxis::Ensure_Span(double &lo, double &hi)
{
    lo = Bounded(lo);
    hi = Bounded(hi);
    if (hi - lo < 1e-5)
    {
        hi += 5e-6;
        lo -= 5e-6;
    }
    // Near 1e10 and above, 5e-6 is below the spacing of doubles and the range would stay empty.
    const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
    if (!(hi - lo > magnitude * 4e-15))
    {
        const double centre = lo / 2.0 + hi / 2.0;
        lo = centre - magnitude * 5e-13;
        hi = centre + magnitude * 5e-13;
    }
}

void TGraphView::Fit(const QRect &plot, double xmin, double xmax, double ymin, double ymax)
{
    // A plot area squeezed to nothing by a tiny widget still gets a usable, correctly oriented mapping.
    x.Fit(xmin, xmax, plot.left(), std::max(plot.right(), plot.left() + 1));
    y.Fit(ymin, ymax, std::max(plot.bottom(), plot.top() + 1), plot.top());
}

namespace
{
QRect Area(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}
} // namespace

TGraphLayout TGraphLayout::Screen(const QSize &size, int h)
{
    const int w = size.width();
    const int H = size.height();
    TGraphLayout layout;
    layout.widget = Area(0, 0, w - 1, H - 1);
    layout.plot = Area(7 * h, 2 * h, w - 2 * h, H - 4 * h);
    layout.vertical_title = Area(0, 2 * h, 2 * h, H - 4 * h);
    layout.vertical_label = Area(2 * h, 0, 6 * h, H - 2 * h);
    layout.horizontal_label = Area(6 * h, H - 4 * h, w, H - 2 * h);
    layout.horizontal_title = Area(7 * h, H - 2 * h, w - 2 * h, H);
    layout.graph_title = Area(7 * h, 0, w, 2 * h);
    return layout;
}

TGraphLayout TGraphLayout::Device(const QRect &rect, int h)
{
    const int X = rect.x();
    const int Y = rect.y();
    const int W = rect.width();
    const int H = rect.height();
    TGraphLayout layout;
    layout.widget = rect;
    layout.plot = Area(X + 6 * h, Y + 2 * h, X + W - 2 * h, Y + H - 4 * h);
    layout.vertical_title = Area(X, Y + 2 * h, X + 2 * h, Y + H - 4 * h);
    layout.vertical_label = Area(X + 2 * h, Y, X + 6 * h, Y + H - 2 * h);
    layout.horizontal_label = Area(X + 6 * h, Y + H - 4 * h, X + W, Y + H - 2 * h);
    layout.horizontal_title = Area(X + 6 * h, Y + H - 2 * h, X + W - 2 * h, Y + H);
    layout.graph_title = Area(X + 7 * h, Y, X + W, Y + 2 * h);
    return layout;
}

TGraphLayout TGraphLayout::Device_Graph_Only(const QRect &rect, int h)
{
    const int X = rect.x();
    const int Y = rect.y();
    const int W = rect.width();
    const int H = rect.height();
    TGraphLayout layout;
    layout.widget = rect;
    layout.plot = Area(X + 6 + 4 * h, Y + 6, X + W - 2 * h, Y + H - 6 - 2 * h);
    layout.vertical_title = Area(X, Y + 6, X + 6, Y + H - 6 - 2 * h);
    layout.vertical_label = Area(X + 6, Y, X + 6 + 4 * h, Y + H - 6);
    layout.horizontal_label = Area(X + 6 + 4 * h, Y + H - 6 - 2 * h, X + W, Y + H - 6);
    layout.horizontal_title = Area(X + 6 + 4 * h, Y + H - 6, X + W - 2 * h, Y + H);
    layout.graph_title = Area(X + 12, Y, X + W, Y + 6);
    return layout;
}

TLabelFormat TLabelFormat::For_Range(double lo, double hi, int scale_mode)
{
    TLabelFormat format;
    if (scale_mode != TGraphTypes::SCALE_LINEAR)
    {
        format.field_width = 5;
        format.precision = 0;
        return format;
    }
    const double span = std::max(1.0, hi - lo);
    const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
    if (!(magnitude > 1.0))
        return format;

    const int span_digits = Decimal_Digits(span);
    const int magnitude_digits = Decimal_Digits(magnitude);
    if (magnitude < FIXED_LABEL_LIMIT)
    {
        format.precision = std::max(4 - span_digits, 0);
        format.field_width = magnitude_digits + format.precision + 2;
    }
    else
    {
        // Exponent form with enough digits to tell neighbouring ticks apart, as far as doubles can.
        format.format = 'e';
        format.precision = std::clamp(magnitude_digits - span_digits + 1, 1, 14);
        format.field_width = format.precision + 8;
    }
    return format;
}

QString TLabelFormat::Text(double value) const
{
    return Text(QStringLiteral("%1"), value);
}

QString TLabelFormat::Text(const QString &pattern, double value) const
{
    return pattern.arg(value, field_width, format, precision, QLatin1Char(' '));
}

QString TLabelFormat::Integer_Text(double value)
{
    if (std::fabs(value) < FIXED_LABEL_LIMIT)
        return QString::number(static_cast<qlonglong>(value));
    return QString::number(value, 'g', 15);
}

std::vector<int> Graph_Linear_Ticks(int first, int length, int spacing)
{
    std::vector<int> ticks;
    const int count = length / std::max(spacing, 1);
    if (count < 1)
        return ticks;
    if (count == 1)
    {
        ticks.push_back(first);
        return ticks;
    }
    const double step = static_cast<double>(length) / (count - 1);
    ticks.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        ticks.push_back(first + static_cast<int>(i * step));
    return ticks;
}

int Graph_Bar_Half_Width(int pw, long long count)
{
    return static_cast<int>(std::max<long long>(1, pw / (2 * std::max(count, 1LL)) - 1));
}

bool Graph_RGB_Color(int index, int *red, int *green, int *blue)
{
    static const int intensities[16] = {255, 128, 192, 64, 160, 224, 96,  32,
                                        144, 112, 176, 80, 208, 48,  240, 16};
    static const int hues[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};

    QUILLON_ASSERT(red && green && blue);
    if (index < 0 || index > 96)
    {
        *red = *green = *blue = 0;
        return false;
    }
    const int intensity = index < 96 ? intensities[index / 6] : 0;
    const int *hue = hues[index % 6];
    *red = hue[0] * intensity;
    *green = (hue[1] * intensity) / 2;
    *blue = hue[2] * intensity;
    return true;
}
