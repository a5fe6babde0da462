#include "quillon.h"

#include "graphwidget.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

namespace
{
bool Shows_Graph(int contents)
{
    switch (contents)
    {
    case TMeasureData::CONTENTS_STEPGAUGE_10360:
    case TMeasureData::CONTENTS_STEPGAUGE_B89:
    case TMeasureData::CONTENTS_STEPGAUGE_SQUARE:
    case TMeasureData::CONTENTS_BALLBAR:
    case TMeasureData::CONTENTS_RING_GAUGE:
    case TMeasureData::CONTENTS_PIN_GAUGE:
    case TMeasureData::CONTENTS_TEMPERATURE:
    case TMeasureData::CONTENTS_LASER_10360:
    case TMeasureData::CONTENTS_LASER_PMOVE:
        return true;
    default:
        return false;
    }
}

bool Has_Graph_Styles(int contents)
{
    return TMeasureData::Is_Stepgauge(contents) || TMeasureData::Is_Laser(contents);
}
} // namespace

void TQuillon::Load_Data(const QString &path)
{
    Clear_Log();
    d_graph->DeleteDataSets();
    d_current_measurement.reset();

    TMeasurementLoad load = MeasurementLoad::Load_File(path, Nominal_Source());
    if (load.stage == TMeasurementLoad::STAGE_NOT_READ)
    {
        // Size and open failures leave the style buttons and the graph's visibility as they were.
        Show_Report(load.report_lines);
        d_graph->UpdateGraph();
        return;
    }

    d_point_graph_button->setEnabled(false);
    d_line_graph_button->setEnabled(false);
    if (!load.record)
    {
        Show_Report(load.report_lines);
        d_graph->hide();
        return;
    }
    d_graph->setVisible(Shows_Graph(load.contents));
    if (Has_Graph_Styles(load.contents))
    {
        d_point_graph_button->setEnabled(true);
        d_line_graph_button->setEnabled(true);
    }
    d_current_measurement = std::move(load.record);

    if (load.stage == TMeasurementLoad::STAGE_READ)
    {
        Show_Report(load.report_lines);
        d_graph->hide();
        return;
    }
    // From here on the file parsed: style buttons and the tolerance dialog reload this one.
    d_current_file_path = path;
    if (!load.Succeeded())
    {
        Show_Report(load.report_lines);
        d_graph->hide();
        return;
    }

    Show_Report(load.report_lines);
    Show_Graph(load);
    d_graph->UpdateGraph();
    Scroll_Log_Top();
}

void TQuillon::Show_Report(const QStringList &lines)
{
    // One call for the whole report: appending line by line costs about 0.1 ms a line.
    d_report_pane->setPlainText(lines.join(QLatin1Char('\n')));
    d_report_pane->moveCursor(QTextCursor::End);
}

void TQuillon::Show_Graph(const TMeasurementLoad &load)
{
    struct TSetup
    {
        int contents;
        const char *title;
        const char *vertical;
        const char *horizontal;
        bool lock_aspect;
        int scale_y;
        bool includes_zero;
    };
    static const TSetup setups[] = {
        {TMeasureData::CONTENTS_STEPGAUGE_10360, "Step Gauge 10360", "Deviation", "Length", false,
         TGraphWidget::SCALE_LINEAR, true},
        {TMeasureData::CONTENTS_STEPGAUGE_B89, "Step Gauge B89.4.1", "Deviation", "Length", false,
         TGraphWidget::SCALE_LINEAR, true},
        {TMeasureData::CONTENTS_STEPGAUGE_SQUARE, "Step Gauge Square", "Deviation", "Length", false,
         TGraphWidget::SCALE_LINEAR, true},
        {TMeasureData::CONTENTS_BALLBAR, "Ballbar", "Measurement Count", "Length", false,
         TGraphWidget::SCALE_INTEGER, true},
        {TMeasureData::CONTENTS_RING_GAUGE, "Ring Gauge", "Y Axis", "X Axis", true,
         TGraphWidget::SCALE_LINEAR, true},
        {TMeasureData::CONTENTS_PIN_GAUGE, "Pin Gauge", "Y Axis", "X Axis", true, TGraphWidget::SCALE_LINEAR,
         true},
        {TMeasureData::CONTENTS_TEMPERATURE, "Temperature Log", "Celsius", "Hour", false,
         TGraphWidget::SCALE_LINEAR, false},
        {TMeasureData::CONTENTS_LASER_10360, "Laser 10360", "Deviation", "Length", false,
         TGraphWidget::SCALE_LINEAR, false},
        {TMeasureData::CONTENTS_LASER_PMOVE, "Laser Data Collection", "Deviation", "Length", false,
         TGraphWidget::SCALE_LINEAR, false},
    };
    const TSetup *setup = nullptr;
    for (const TSetup &candidate : setups)
    {
        if (candidate.contents == load.contents)
            setup = &candidate;
    }
    if (!setup)
        return;
    d_graph->d_graph_title = QLatin1String(setup->title);
    d_graph->d_vertical_title = QLatin1String(setup->vertical);
    d_graph->d_horizontal_title = QLatin1String(setup->horizontal);
    d_graph->d_lock_aspect_ratio = setup->lock_aspect;
    d_graph->d_scale_mode_y = setup->scale_y;
    d_graph->EnableYIncludesZero(setup->includes_zero);

    const bool points = d_point_graph_button->isChecked();
    for (std::size_t i = 0; i < load.graph_data.size(); ++i)
    {
        const int shade = std::min<int>(static_cast<int>(i), 3);
        QColor color;
        TGraphWidget::TGraphType type = TGraphWidget::GRAPH_DEFAULT;
        if (Has_Graph_Styles(load.contents))
        {
            const int level = points ? 64 : 128;
            const QColor colors[] = {QColor(level, 0, 0), QColor(0, level, 0), QColor(0, 0, level),
                                     QColor(level / 2, level / 2, level / 2)};
            color = colors[shade];
            type = points ? TGraphWidget::GRAPH_CROSS : TGraphWidget::GRAPH_LINE;
        }
        else if (load.contents == TMeasureData::CONTENTS_TEMPERATURE)
        {
            int red = 0, green = 0, blue = 0;
            TGraphWidget::GenerateRGBColor(static_cast<int>(i), &red, &green, &blue);
            color = QColor(red, green, blue);
        }
        else if (load.contents == TMeasureData::CONTENTS_BALLBAR)
            color = QColor(0, 0, 255);
        else
        {
            const QColor colors[] = {QColor(0, 0, 0), QColor(160, 0, 0), QColor(192, 192, 192)};
            color = colors[std::min<int>(shade, 2)];
            type = i == 1 ? TGraphWidget::GRAPH_BOX : TGraphWidget::GRAPH_DEFAULT;
        }
        d_graph->AddPoints(d_graph->CreateDataSet(color, type), load.graph_data[i]);
    }
}
