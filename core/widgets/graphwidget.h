#pragma once

#include "geometry/vector2.h"
#include "graph/graphview.h"

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QPaintEvent;
class QPainter;
class QResizeEvent;

// A 2-D graph of several point sets with automatic scaling, zoom box, pan and zoom-out. The graph is
// rendered into a background pixmap only when data, size or view change; paint events copy from it.
class TGraphWidget : public QWidget, public TGraphTypes
{
    Q_OBJECT

  public:
    explicit TGraphWidget(const QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TGraphWidget() override;

    int CreateDataSet(QColor color, TGraphType type);
    bool AddPoint(int set, const TVector2 &point);
    bool AddPoints(int set, const std::vector<TVector2> &points);
    bool SetPoints(int set, const std::vector<TVector2> &points);
    bool ModifyPoint(int set, int index, const TVector2 &point);
    bool DeletePoint(int set, int index);
    bool DeletePoints(int set);
    bool DeleteDataSet(int index);
    void DeleteDataSets();
    int DataSetSize(int set) const;
    TVector2 GetPoint(int set, int index) const;

    void EnableYIncludesZero(bool state);
    void SetScaleMinimumY(const double &value, bool symmetric);
    static bool GenerateRGBColor(int index, int *red, int *green, int *blue);
    void UpdateGraph();

    // View computations; public so that the mapping can be checked without painting.
    void Update_Viewport_To_Data();
    void Update_Viewport_To_Rect(const QRect &rect);

    // Rendering (graphwidget_render.cpp).
    void Calculate_Legend_Display_Precision(QPainter *painter);
    void Draw_Legend(QPainter *painter);
    void Draw_Graph(QPainter *painter);
    void Direct_Render(QPainter *painter);
    bool PaintToDevice(QPainter *painter, const QRect &rect, bool border);
    bool PaintToDevice_GraphOnly(QPainter *painter, const QRect &rect, bool border);

    // Read-only views of the state for callers that inspect the graph.
    const TGraphView &View() const { return d_view; }
    const TGraphLayout &Layout() const { return d_layout; }
    const TLabelFormat &Horizontal_Label_Format() const { return d_horizontal_format; }
    const TLabelFormat &Vertical_Label_Format() const { return d_vertical_format; }
    double Full_X_Range() const { return d_full_x_range; }
    double Full_Y_Range() const { return d_full_y_range; }
    const QString &Coordinate_Text() const { return d_coordinate_text; }
    // Puts the read-out back to its start, for when what it showed no longer holds (a new view).
    void Clear_Coordinates();
    const QPixmap &Background_Pixmap() const { return d_pixmap; }
    bool Box_Visible() const { return d_box_visible; }

    // The graph of one measurement: titles, axis options, data sets in drawing order and the legend
    // (empty: none). Does not redraw; the caller ends with UpdateGraph().
    void Show(const TGraphSetup &setup, std::vector<TDataSet> data_sets,
              std::vector<TLegendEntry> legend = {});

    const std::vector<TDataSet> &Data_Sets() const { return d_data_sets; }
    const std::vector<TLegendEntry> &Legend_Entries() const { return d_legend_entries; }
    void Set_Legend_Entries(std::vector<TLegendEntry> entries) { d_legend_entries = std::move(entries); }
    const QString &Graph_Title() const { return d_graph_title; }
    const QString &Vertical_Title() const { return d_vertical_title; }
    const QString &Horizontal_Title() const { return d_horizontal_title; }
    const QString &Note() const { return d_note; }
    void Set_Titles(const QString &graph, const QString &vertical, const QString &horizontal);
    int Scale_Mode_X() const { return d_scale_mode_x; }
    int Scale_Mode_Y() const { return d_scale_mode_y; }
    void Set_Scale_Modes(int x, int y);
    bool Lock_Aspect_Ratio() const { return d_lock_aspect_ratio; }
    void Set_Lock_Aspect_Ratio(bool lock) { d_lock_aspect_ratio = lock; }

    // Shows the part of the view around the pixel at, factor times as large in both directions (below 1
    // zooms in); the data under that pixel stays under it.
    void Zoom_About(const QPoint &at, double factor);
    // Moves the view by a part of the plot area's width and height (positive: towards larger values).
    void Pan_By(double x_part, double y_part);

  public slots:
    void ZoomOut();
    void ScaleToFit();

  signals:
    void Mouse_Click(const double &x, const double &y);

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // + and - zoom about the centre, 0 or Home show all data, arrows pan; the wheel zooms about the pointer.
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

  private:
    // Everything a render may change, so that rendering to another device can put it back.
    struct TRenderState
    {
        TGraphView view;
        TGraphLayout layout;
        TLabelFormat horizontal_format;
        TLabelFormat vertical_format;
        double full_x_range;
        double full_y_range;
        bool draw_border;
    };

    void Draw_Background_Pixmap();
    void Draw_Background_Scaled_Pixmap(const QRect &rect);
    void Render_View(QPainter *painter);
    void Draw_Horizontal_Axis(QPainter *painter);
    void Draw_Vertical_Axis(QPainter *painter);
    void Draw_Titles(QPainter *painter, QFont font);
    void Draw_Legend_Entries(QPainter *painter);
    void Draw_Note(QPainter *painter);
    // Where a legend of that size hides the least data: one of the plot's corners, the upper left first.
    QRect Legend_Box(const QSize &size) const;
    // Where the coordinate read-out of that size goes: beside the graph title when there is room, else
    // in the plot's corner farthest from the pointer.
    QRect Read_Out_Rect(const QSize &size) const;
    bool Paint_To_Device(QPainter *painter, const TGraphLayout &layout, bool border);
    TRenderState Save_Render_State() const;
    void Restore_Render_State(const TRenderState &state);

    QRect Box_Rect() const;
    void Invalidate_Box();
    TVector2 Pixel_To_Data(const QPoint &position) const;

    TGraphView d_view;
    TGraphLayout d_layout;
    QPoint d_pointer; // last mouse position over the widget
    QPoint d_box_first;
    QPoint d_box_second;

    TLabelFormat d_horizontal_format;
    TLabelFormat d_vertical_format;
    double d_full_x_range = 1e-5;
    double d_full_y_range = 1e-5;

    QPixmap d_pixmap;
    QString d_coordinate_text;

    bool d_box_visible = false;
    bool d_left_button_down = false;
    bool d_box_active = false;
    bool d_right_button_down = false;
    bool d_panned = false;
    bool d_show_coordinates = true;
    bool d_y_includes_zero = true;
    bool d_y_symmetric = true;
    bool d_draw_border = true;
    bool d_scale_to_fit_requested = false;
    bool d_zoom_out_requested = false;

    double d_scale_minimum_y = 5e-6;

    std::vector<TDataSet> d_data_sets;
    // Cleared with the data sets it describes.
    std::vector<TLegendEntry> d_legend_entries;
    QString d_vertical_title = QStringLiteral("V Title");
    QString d_horizontal_title = QStringLiteral("H Title");
    QString d_graph_title = QStringLiteral("Sample Graph");
    QString d_note;
    int d_scale_mode_x = SCALE_LINEAR;
    int d_scale_mode_y = SCALE_LINEAR;
    bool d_lock_aspect_ratio = false;
};
