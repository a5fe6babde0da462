#include "quillon.h"

#include "graphwidget.h"
#include "presentation.h"
#include "reportdocument.h"
#include "signoffactions.h"
#include "tolerancedialog.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

void TQuillon::Load_Data(const QString &path)
{
    Clear_Log();
    d_graph->DeleteDataSets();
    d_current_measurement.reset();
    d_signoff->Show_Measurement(TReportSource(), d_tolerance_dialog->Tolerance());

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
    const TGraphSetup setup = Presentation::Graph_Setup(load.contents);
    d_graph->setVisible(setup.shown);
    if (setup.style_buttons)
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

    const TPresentation presentation = Presentation::Present(
        load.contents, load.graph_data, d_tolerance_dialog->Tolerance(), d_point_graph_button->isChecked());
    const QStringList lines = load.report_lines + presentation.extra_lines;
    Show_Report(lines);
    Show_Graph(presentation);
    d_signoff->Show_Measurement(TReportSource::From_Load(path, load, d_current_measurement.get(), lines),
                                d_tolerance_dialog->Tolerance());
    d_graph->UpdateGraph();
    Scroll_Log_Top();
}

void TQuillon::Show_Report(const QStringList &lines)
{
    // One call for the whole report: appending line by line costs about 0.1 ms a line. Appending also
    // drops empty lines ahead of the first text (they land in a still empty document); so does this.
    int first = 0;
    while (first < lines.size() && lines.at(first).isEmpty())
        ++first;
    d_report_pane->setPlainText(lines.mid(first).join(QLatin1Char('\n')));
    d_report_pane->moveCursor(QTextCursor::End);
}

void TQuillon::Show_Graph(const TPresentation &presentation)
{
    if (presentation.setup.shown)
        ReportDocument::Show_Presentation(presentation, d_graph);
}
