#include "app/quillon.h"

#include "app/elidedlabel.h"
#include "app/nominalwidget.h"
#include "app/signoffactions.h"
#include "app/tolerancedialog.h"
#include "document/reportdocument.h"
#include "model/presentation.h"
#include "widgets/graphwidget.h"

#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

namespace
{
bool Same_Curves(const std::vector<std::vector<TVector2>> &first,
                 const std::vector<std::vector<TVector2>> &second)
{
    if (first.size() != second.size())
        return false;
    for (std::size_t i = 0; i < first.size(); ++i)
    {
        if (first[i].size() != second[i].size())
            return false;
        for (std::size_t j = 0; j < first[i].size(); ++j)
        {
            if (first[i][j].x != second[i][j].x || first[i][j].y != second[i][j].y)
                return false;
        }
    }
    return true;
}

// Whether two loads would show the same: a file written again with the same contents keeps its view.
bool Same_Result(const TMeasurementLoad &first, const TMeasurementLoad &second)
{
    return first.stage == second.stage && first.contents == second.contents &&
           first.report_lines == second.report_lines && Same_Curves(first.graph_data, second.graph_data);
}
} // namespace

TQuillon::TFileStamp TQuillon::TFileStamp::Of(const QString &path)
{
    const QFileInfo info(path);
    TFileStamp stamp;
    stamp.exists = info.isFile();
    if (stamp.exists)
    {
        stamp.modified = info.lastModified();
        stamp.size = info.size();
    }
    return stamp;
}

bool TQuillon::TFileStamp::operator==(const TFileStamp &other) const
{
    return exists == other.exists && modified == other.modified && size == other.size;
}

void TQuillon::Load_Data(const QString &path)
{
    d_comparing = false;
    d_compared_load = TMeasurementLoad();
    d_current_measurement.reset();
    Keep_Load(path, MeasurementLoad::Load_File(path, Nominal_Source()));
    Present_Load();
}

void TQuillon::Keep_Load(const QString &path, TMeasurementLoad load)
{
    d_current_measurement = std::move(load.record);
    d_load = std::move(load);
    d_current_file_path = path;
    d_file_stamp = TFileStamp::Of(path);
    d_file_state = FILE_ON_DISK;
    d_moved_to.clear();
    Watch_Shown_File();
}

void TQuillon::Present_Load()
{
    if (d_comparing)
    {
        Present_Comparison();
        return;
    }
    Clear_Log();
    d_graph->DeleteDataSets();
    d_graph->Clear_Coordinates();
    d_create_nominal_button->hide();

    const bool loaded = d_load.Succeeded();
    const TGraphSetup setup = Presentation::Graph_Setup(d_load.contents);
    // After a failure there is nothing to restyle.
    d_point_graph_button->setEnabled(loaded && setup.style_buttons);
    d_line_graph_button->setEnabled(loaded && setup.style_buttons);
    if (!loaded)
    {
        Show_Report(d_load.report_lines);
        // Size and open failures leave the graph's visibility as it was.
        if (d_load.stage != TMeasurementLoad::STAGE_NOT_READ)
            d_graph->hide();
        Offer_Nominal_Set();
        d_signoff->Show_Measurement(TReportSource(), d_tolerance_dialog->Tolerance());
        d_graph->UpdateGraph();
        Show_File_State();
        return;
    }

    d_graph->setVisible(setup.shown);
    const TPresentation presentation =
        Presentation::Present(d_load.contents, d_load.graph_data, d_tolerance_dialog->Tolerance(),
                              d_point_graph_button->isChecked(), d_load.graph_notes);
    const QStringList lines = d_load.report_lines + presentation.extra_lines;
    Show_Report(lines);
    Show_Graph(presentation);
    d_signoff->Show_Measurement(
        TReportSource::From_Load(d_current_file_path, d_load, d_current_measurement.get(), lines),
        d_tolerance_dialog->Tolerance());
    d_graph->UpdateGraph();
    Show_File_State();
}

void TQuillon::Show_Report(const QStringList &lines)
{
    // One call for the whole report: appending line by line costs about 0.1 ms a line. Appending also
    // drops empty lines ahead of the first text (they land in a still empty document); so does this.
    int first = 0;
    while (first < lines.size() && lines.at(first).isEmpty())
        ++first;
    d_report_pane->setPlainText(lines.mid(first).join(QLatin1Char('\n')));
    // Every report opens at its start, also a single line wider than the pane.
    Scroll_Log_Top();
    d_report_pane->horizontalScrollBar()->setValue(0);
    d_report_pane->verticalScrollBar()->setValue(0);
}

void TQuillon::Offer_Nominal_Set()
{
    if (!d_nominal_store.Missing_Set(d_load.stage, d_current_measurement.get(), &d_missing_nominal))
        return;
    QString serial = d_missing_nominal.serial;
    serial.replace(QLatin1Char('&'), QLatin1String("&&")); // no mnemonic from the serial
    d_create_nominal_button->setText(tr("Create nominal set for gauge %1").arg(serial));
    d_create_nominal_button->adjustSize();
    const QRect line = d_report_pane->cursorRect(QTextCursor(d_report_pane->document()->firstBlock()));
    d_create_nominal_button->move(line.left(), line.bottom() + line.height() / 2);
    d_create_nominal_button->show();
}

void TQuillon::Create_Nominal_Set()
{
    d_nominal_widget->Create_Nominal(d_missing_nominal.serial, d_missing_nominal.reference_step);
}

void TQuillon::Nominal_Set_Saved()
{
    if (d_current_file_path.isEmpty() || d_file_state != FILE_ON_DISK ||
        !TMeasureData::Is_Stepgauge(d_load.contents))
        return;
    if (d_comparing)
        Compare_Data(d_compared_path, d_current_file_path);
    else
        Load_Data(d_current_file_path);
}

void TQuillon::Show_Graph(const TPresentation &presentation)
{
    if (presentation.setup.shown)
        d_graph->Show(presentation.setup, presentation.data_sets, presentation.legend);
}

void TQuillon::List_Refreshed()
{
    d_measured_dock->setToolTip(QDir::toNativeSeparators(d_measured_widget->Intended_Folder()));
    Watch_Measurement_Folder();
    Check_Shown_File();
}

void TQuillon::Check_Shown_File()
{
    if (d_current_file_path.isEmpty())
        return;
    const TFileStamp stamp = TFileStamp::Of(d_current_file_path);
    if (!stamp.exists)
    {
        // The view stays; the status bar tells that the folder no longer holds the file.
        if (d_file_state == FILE_ON_DISK)
            d_file_state = d_moved_to.isEmpty() ? FILE_DELETED : FILE_MOVED;
        Show_File_State();
        return;
    }
    if (stamp == d_file_stamp)
    {
        // Back in place as it was (moved back by hand, say): nothing to read.
        d_file_state = FILE_ON_DISK;
        d_moved_to.clear();
        Watch_Shown_File();
        Show_File_State();
        return;
    }
    TMeasurementLoad load = MeasurementLoad::Load_File(d_current_file_path, Nominal_Source());
    const bool same = Same_Result(load, d_load);
    Keep_Load(d_current_file_path, std::move(load));
    if (same)
        Show_File_State();
    else
        Present_Load();
}

void TQuillon::Watch_Shown_File()
{
    // An edit in place changes the file, not its folder: the file itself is watched as well.
    if (!d_watched_file.isEmpty() && d_watched_file != d_current_file_path &&
        d_folder_watcher->files().contains(d_watched_file))
        d_folder_watcher->removePath(d_watched_file);
    d_watched_file = d_current_file_path;
    // A file replaced by renaming drops out of the watcher; it is taken up again here.
    if (!d_watched_file.isEmpty() && QFileInfo(d_watched_file).isFile() &&
        !d_folder_watcher->files().contains(d_watched_file))
        d_folder_watcher->addPath(d_watched_file);
}

QString TQuillon::File_State_Text() const
{
    if (d_current_file_path.isEmpty())
        return QString();
    // Where a file went is told by the path line above the report.
    const QString name = QFileInfo(d_current_file_path).fileName();
    if (d_load.Succeeded())
        return name;
    return tr("No verdict for %1: %2").arg(name, d_load.Failure_Reason());
}

void TQuillon::Show_File_State()
{
    d_file_state_label->setText(File_State_Text());
    d_file_path_label->setText(File_Path_Text());
}
