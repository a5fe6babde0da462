#include "app/quillon.h"

#include "app/comparisonview.h"
#include "app/signoffactions.h"
#include "app/tolerancedialog.h"
#include "document/reportdocument.h"
#include "model/comparison.h"
#include "widgets/graphwidget.h"

#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>

void TQuillon::Compare_Data(const QString &first, const QString &second)
{
    const bool first_older = ComparisonView::Written_Before(first, second);
    const QString &older = first_older ? first : second;
    const QString &newer = first_older ? second : first;
    d_current_measurement.reset();
    d_compared_path = older;
    d_compared_load = MeasurementLoad::Load_File(older, Nominal_Source());
    d_comparing = true;
    Keep_Load(newer, MeasurementLoad::Load_File(newer, Nominal_Source()));
    Present_Load();
}

void TQuillon::Present_Comparison()
{
    Clear_Log();
    d_create_nominal_button->hide();
    d_graph->DeleteDataSets();
    d_graph->Clear_Coordinates();

    const QString older_name = QFileInfo(d_compared_path).fileName();
    const QString newer_name = QFileInfo(d_current_file_path).fileName();
    const TComparison comparison = Comparison::Compare(older_name, d_compared_load, newer_name, d_load);
    const TGraphSetup setup = Presentation::Graph_Setup(d_load.contents);
    d_point_graph_button->setEnabled(comparison.Comparable() && setup.style_buttons);
    d_line_graph_button->setEnabled(comparison.Comparable() && setup.style_buttons);
    if (!comparison.Comparable())
    {
        Show_Report({tr("Cannot compare %1 and %2: %3").arg(older_name, newer_name, comparison.reason)});
        d_graph->hide();
        d_signoff->Show_Measurement(TReportSource(), d_tolerance_dialog->Tolerance());
        d_graph->UpdateGraph();
        Show_File_State();
        return;
    }

    const QStringList lines = Comparison::Table(comparison, older_name, newer_name);
    Show_Report(lines);
    const TComparisonGraph graph = ComparisonView::Present(
        d_load.contents, d_compared_load.graph_data, d_load.graph_data, d_tolerance_dialog->Tolerance(),
        d_point_graph_button->isChecked(), older_name, newer_name);
    d_graph->setVisible(graph.presentation.setup.shown);
    Show_Graph(graph.presentation);
    // The newer run is the one signed off; its export carries the table and both runs' graph.
    d_signoff->Show_Measurement(
        TReportSource::From_Load(d_current_file_path, d_load, d_current_measurement.get(), lines),
        d_tolerance_dialog->Tolerance());
    d_graph->UpdateGraph();
    Show_File_State();
}
