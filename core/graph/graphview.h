#pragma once

#include "geometry/vector2.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// The arithmetic behind the graph widget: data-to-pixel mapping, area layout, label formats and tick
// positions. Nothing here paints, so every rule can be checked without a widget.

// What a graph holds: point sets, how each is drawn and how an axis is scaled. The graph widget
// inherits these names (TGraphWidget::GRAPH_LINE), and code that builds a graph without a widget uses
// them from here.
struct TGraphTypes
{
    enum TGraphType
    {
        GRAPH_DEFAULT = 0,
        GRAPH_LINE = 1,
        GRAPH_BAR = 2,
        GRAPH_CROSS = 3,
        GRAPH_BOX = 4,
        GRAPH_RING = 5 // a circle around each point, to single it out
    };

    enum TScaleMode
    {
        SCALE_LINEAR = 1,
        SCALE_INTEGER = 2
    };

    struct TDataSet
    {
        std::vector<TVector2> dataset_points;
        QColor dataset_color;
        TGraphType dataset_type = GRAPH_DEFAULT;
        bool dataset_dashed = false; // lines and marks drawn with a dashed pen
    };

    // One line of the legend drawn in a corner of the plot: a sample of the pen, then the name.
    struct TLegendEntry
    {
        QString name;
        QColor color;
        bool dashed = false;
    };
};

// How a graph is set up for a kind of measurement: shown or hidden, titles and axis options.
struct TGraphSetup
{
    bool shown = false;
    bool style_buttons = false; // the point and line graph buttons apply to the kind
    QString graph_title;
    QString vertical_title;
    QString horizontal_title;
    bool lock_aspect_ratio = false;
    int scale_mode_y = TGraphTypes::SCALE_LINEAR;
    bool y_includes_zero = true;
    // A short text in the plot's lower left corner, such as the scale the deviations are drawn at.
    QString note;
};

// One axis of the view: pixel = value * scale + offset.
struct TGraphAxis
{
    double scale = 1.0;
    double offset = 0.0;

    // Maps lo onto pixel_lo and hi onto pixel_hi. The caller guarantees lo < hi (see Ensure_Span) and
    // distinct pixels, so scale is finite and never zero.
    void Fit(double lo, double hi, int pixel_lo, int pixel_hi);

    double Exact_Pixel(double value) const { return value * scale + offset; }
    // Truncated toward zero; values far off the screen are clamped first so the int stays defined.
    int Pixel(double value) const;
    double Value(double pixel) const { return (pixel - offset) / scale; }

    // Integers first..last whose pixels lie more than spacing apart, walking from first. Skips runs of
    // integers without visiting them, so an axis covering 1e300 units costs no more than a short one.
    std::vector<double> Integer_Ticks(double first, double last, int spacing) const;

    // Widens a range that is too short to map: first by the fixed 1e-5 rule, then (for huge values
    // whose spacing swallows 1e-5) relative to the magnitude. Bounds are kept within +-Limit so that
    // spans, margins and zoom factors stay finite.
    static void Ensure_Span(double &lo, double &hi);
    static double Bounded(double value);
    static constexpr double Limit = 1e306;
};

struct TGraphView
{
    TGraphAxis x;
    TGraphAxis y{-1.0, 0.0};

    // xmin on the plot's left edge, xmax on its right edge, ymin on its bottom edge, ymax on its top.
    void Fit(const QRect &plot, double xmin, double xmax, double ymin, double ymax);
};

// Pixel areas of the graph, each with inclusive corners.
struct TGraphLayout
{
    QRect widget;
    QRect plot;
    QRect vertical_title;
    QRect vertical_label;
    QRect horizontal_label;
    QRect horizontal_title;
    QRect graph_title;

    // h is the height of the font in use.
    static TGraphLayout Screen(const QSize &size, int h);
    static TGraphLayout Device(const QRect &rect, int h);
    static TGraphLayout Device_Graph_Only(const QRect &rect, int h);
};

// How the labels of one axis are written and how large a sample label is.
struct TLabelFormat
{
    int field_width = 8;
    int precision = 4;
    char format = 'f';
    int label_width = -1;
    int label_height = -1;

    // lo and hi are the data values at the two ends of the visible axis.
    static TLabelFormat For_Range(double lo, double hi, int scale_mode);

    QString Text(double value) const;
    QString Text(const QString &pattern, double value) const;
    static QString Integer_Text(double value);
};

// Pixels of n evenly spaced ticks along length pixels starting at first, n = length / spacing. A single
// tick goes to the first pixel; none when not even one label fits.
std::vector<int> Graph_Linear_Ticks(int first, int length, int spacing);

// Half width of the bars of a bar set with count points in a plot pw pixels wide.
int Graph_Bar_Half_Width(int pw, long long count);

// The colour sequence of data sets: six hues per intensity, green halved. False and black for an
// index outside 0..96.
bool Graph_RGB_Color(int index, int *red, int *green, int *blue);
