#include "model/presentation.h"

#include "model/kindtable.h"
#include "model/verdict.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;
using TDataSet = TGraphTypes::TDataSet;

TDataSet Data_Set(const QColor &color, TGraphTypes::TGraphType type, std::vector<TVector2> points = {})
{
    TDataSet set;
    set.dataset_points = std::move(points);
    set.dataset_color = color;
    set.dataset_type = type;
    return set;
}

// Smallest and largest x over all points; false when there is no point.
bool X_Extent(const TCurves &curves, double *xmin, double *xmax)
{
    bool found = false;
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            *xmin = found ? std::min(*xmin, point.x) : point.x;
            *xmax = found ? std::max(*xmax, point.x) : point.x;
            found = true;
        }
    }
    return found;
}

const QColor LIMIT_COLOR(164, 164, 255);

QString Tr(const char *text)
{
    return QCoreApplication::translate("Presentation", text);
}

// A legend only where there is more than one curve to tell apart; called when the data sets are the curves.
void Add_Legend(const TGraphNotes &notes, const char *name, TPresentation *presentation)
{
    const std::vector<TDataSet> &sets = presentation->data_sets;
    if (sets.size() < 2)
        return;
    for (std::size_t i = 0; i < sets.size(); ++i)
    {
        const int number = i < notes.curve_numbers.size() ? notes.curve_numbers[i] : static_cast<int>(i) + 1;
        presentation->legend.push_back({Tr(name).arg(number), sets[i].dataset_color, false});
    }
}

// A limit point that is not finite (a position beyond the range of doubles) cannot be drawn.
TDataSet Limit_Line(const std::vector<TVector2> &points, double sign)
{
    TDataSet set = Data_Set(LIMIT_COLOR, TGraphTypes::GRAPH_DEFAULT);
    for (const TVector2 &point : points)
    {
        const TVector2 signed_point(point.x, sign * point.y);
        if (std::isfinite(signed_point.x) && std::isfinite(signed_point.y))
        {
            set.dataset_points.push_back(signed_point);
        }
    }
    return set;
}

void Add_Deviations(TMeasureData::TFileContents kind, const TCurves &curves, const TTolerance &tolerance,
                    bool point_graph, TPresentation *presentation)
{
    static const QColor point_colors[4] = {{64, 0, 0}, {0, 64, 0}, {0, 0, 64}, {32, 32, 32}};
    static const QColor line_colors[4] = {{128, 0, 0}, {0, 128, 0}, {0, 0, 128}, {64, 64, 64}};
    for (std::size_t i = 0; i < curves.size(); ++i)
    {
        const std::size_t slot = std::min<std::size_t>(i, 3);
        presentation->data_sets.push_back(
            point_graph ? Data_Set(point_colors[slot], TGraphTypes::GRAPH_CROSS, curves[i])
                        : Data_Set(line_colors[slot], TGraphTypes::GRAPH_LINE, curves[i]));
    }
    Add_Legend(TGraphNotes(), QT_TRANSLATE_NOOP("Presentation", "Run %1"), presentation);

    double xmin = 0.0;
    double xmax = 0.0;
    X_Extent(curves, &xmin, &xmax);
    const std::vector<TVector2> upper =
        tolerance.Limit_Line(xmin, xmax, TTolerance::Length_Origin(kind, curves));
    if (upper.empty())
        return;
    presentation->data_sets.push_back(Limit_Line(upper, 1.0));
    presentation->data_sets.push_back(Limit_Line(upper, -1.0));
}

void Add_Ballbar(const TCurves &curves, const TTolerance &tolerance, TPresentation *presentation)
{
    double xmin = 0.0;
    double xmax = 0.0;
    if (!X_Extent(curves, &xmin, &xmax))
    {
        return;
    }
    const double range = xmax - xmin;
    const double mid = (xmin + xmax) * 0.5;
    const double tol = tolerance.Tolerance_Value(mid);
    presentation->extra_lines << QString() << QStringLiteral("  BallBar Tolerance: %1").arg(tol, 0, 'f', 4);

    const double width = 1.2 * std::max(tol, range);
    const double low = mid - 0.5 * width;
    const double step = ((mid + 0.5 * width) - low) / 10.0;
    if (!(width > 1e-6))
    {
        return;
    }
    const std::vector<int> bins = Presentation::Ballbar_Bins(curves, low, step);
    TDataSet bars = Data_Set(QColor(0, 0, 255), TGraphTypes::GRAPH_BAR, {{mid, 0.0}});
    for (std::size_t j = 0; j < bins.size(); ++j)
    {
        bars.dataset_points.emplace_back(low + static_cast<double>(j) * step, bins[j]);
    }
    const double top = *std::max_element(bins.begin(), bins.end()) + 1.0;
    presentation->data_sets.push_back(bars);
    presentation->data_sets.push_back(Data_Set(
        QColor(255, 0, 0), TGraphTypes::GRAPH_LINE,
        {{mid - tol / 2.0, 0.0}, {mid - tol / 2.0, top}, {mid + tol / 2.0, top}, {mid + tol / 2.0, 0.0}}));
}

void Add_Outlines(const TCurves &curves, TPresentation *presentation)
{
    for (std::size_t i = 0; i < curves.size(); ++i)
    {
        if (i == 0)
            presentation->data_sets.push_back(
                Data_Set(QColor(0, 0, 0), TGraphTypes::GRAPH_DEFAULT, curves[i]));
        else if (i == 1)
            presentation->data_sets.push_back(Data_Set(QColor(160, 0, 0), TGraphTypes::GRAPH_BOX, curves[i]));
        else
            presentation->data_sets.push_back(
                Data_Set(QColor(192, 192, 192), TGraphTypes::GRAPH_DEFAULT, curves[i]));
    }
}

void Add_Temperatures(const TCurves &curves, const TTolerance &tolerance, const TGraphNotes &notes,
                      TPresentation *presentation)
{
    for (std::size_t i = 0; i < curves.size(); ++i)
    {
        int red = 0;
        int green = 0;
        int blue = 0;
        Graph_RGB_Color(static_cast<int>(std::min<std::size_t>(i, 97)), &red, &green, &blue);
        presentation->data_sets.push_back(
            Data_Set(QColor(red, green, blue), TGraphTypes::GRAPH_DEFAULT, curves[i]));
    }
    Add_Legend(notes, QT_TRANSLATE_NOOP("Presentation", "Sensor %1"), presentation);

    // Ts_Min and Ts_Max across the readings' time span.
    double xmin = 0.0;
    double xmax = 0.0;
    if (!X_Extent(curves, &xmin, &xmax))
        return;
    for (const double limit : {tolerance.d_upper_temperature_limit, tolerance.d_lower_temperature_limit})
        presentation->data_sets.push_back(Limit_Line({{xmin, limit}, {xmax, limit}}, 1.0));
}
} // namespace

TGraphSetup Presentation::Graph_Setup(TMeasureData::TFileContents kind)
{
    TGraphSetup setup;
    const TKindRow *row = KindTable::Find(kind);
    if (!row || row->graph.content == TKindRow::GRAPH_NONE)
        return setup;
    setup.shown = true;
    setup.style_buttons = row->graph.style_buttons;
    setup.graph_title = QCoreApplication::translate("QuillonGraph", row->graph.title);
    setup.vertical_title = QCoreApplication::translate("QuillonGraph", row->graph.vertical_title);
    setup.horizontal_title = QCoreApplication::translate("QuillonGraph", row->graph.horizontal_title);
    setup.lock_aspect_ratio = row->graph.lock_aspect_ratio;
    setup.scale_mode_y = row->graph.integer_y_scale ? TGraphTypes::SCALE_INTEGER : TGraphTypes::SCALE_LINEAR;
    setup.y_includes_zero = row->graph.y_includes_zero;
    return setup;
}

TPresentation Presentation::Present(TMeasureData::TFileContents kind, const TCurves &curves,
                                    const TTolerance &tolerance, bool point_graph, const TGraphNotes &notes,
                                    bool verdict_marks)
{
    TPresentation presentation;
    presentation.setup = Graph_Setup(kind);
    const TKindRow *row = KindTable::Find(kind);
    switch (row ? row->graph.content : TKindRow::GRAPH_NONE)
    {
    case TKindRow::GRAPH_DEVIATIONS:
    {
        Add_Deviations(kind, curves, tolerance, point_graph, &presentation);
        if (!verdict_marks)
            break;
        const std::vector<TDataSet> marks =
            Verdict_Marks(kind, curves, tolerance, point_graph, notes.unreadable_lines);
        presentation.data_sets.insert(presentation.data_sets.end(), marks.begin(), marks.end());
        break;
    }
    case TKindRow::GRAPH_LENGTH_HISTOGRAM:
        Add_Ballbar(curves, tolerance, &presentation);
        break;
    case TKindRow::GRAPH_OUTLINES:
        Add_Outlines(curves, &presentation);
        if (notes.magnification > 0.0)
            presentation.setup.note = Magnification_Text(notes.magnification);
        break;
    case TKindRow::GRAPH_SENSOR_CURVES:
        Add_Temperatures(curves, tolerance, notes, &presentation);
        break;
    case TKindRow::GRAPH_NONE:
        break;
    }
    return presentation;
}

std::vector<TDataSet> Presentation::Verdict_Marks(TMeasureData::TFileContents kind, const TCurves &curves,
                                                  const TTolerance &tolerance, bool point_graph,
                                                  int unreadable_lines)
{
    std::vector<TDataSet> marks;
    std::vector<TVector2> outside = Verdict::Outside_Points(kind, curves, tolerance);
    if (!outside.empty())
        marks.push_back(Data_Set(Verdict::Colour(TVerdict::VERDICT_FAIL),
                                 point_graph ? TGraphTypes::GRAPH_CROSS : TGraphTypes::GRAPH_BOX,
                                 std::move(outside)));
    const TVerdict verdict = Verdict::Evaluate(kind, curves, tolerance, unreadable_lines);
    if (verdict.has_worst_point)
        marks.push_back(
            Data_Set(Verdict::Colour(verdict.verdict), TGraphTypes::GRAPH_RING, {verdict.worst_point}));
    return marks;
}

QString Presentation::Magnification_Text(double magnification)
{
    // Two significant digits: 2487 reads 2500, 1.37 reads 1.4.
    const int digits = static_cast<int>(std::floor(std::log10(magnification)));
    const double unit = std::pow(10.0, digits - 1);
    const double rounded = std::round(magnification / unit) * unit;
    return Tr("\u00d7%1").arg(QString::number(rounded, 'g', 6));
}

std::vector<int> Presentation::Ballbar_Bins(const TCurves &curves, double low, double step)
{
    // Each border computed once, so that neighbouring bins share it exactly.
    std::vector<double> borders;
    for (int k = 0; k <= 11; ++k)
        borders.push_back(low + (static_cast<double>(k) - 0.5) * step);
    std::vector<int> bins(11, 0);
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            if (!(point.x >= borders.front() && point.x <= borders.back()))
                continue;
            // The first border above the length closes its bin; the last border closes the last bin.
            const auto above = std::upper_bound(borders.begin(), borders.end(), point.x);
            const std::size_t j =
                std::min<std::size_t>(static_cast<std::size_t>(above - borders.begin()) - 1, 10);
            ++bins[j];
        }
    }
    return bins;
}
