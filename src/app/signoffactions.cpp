#include "app/signoffactions.h"

#include "app/elidedlabel.h"
#include "base/checkedfile.h"
#include "document/graphexport.h"
#include "model/graphtable.h"
#include "model/presentation.h"
#include "model/verdict.h"
#include "widgets/graphwidget.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStatusBar>

namespace
{
TSignoffActions::TSaveNameFunction save_name_function;
TSignoffActions::TPrintFunction print_function;

// The graph as an image or file (pixels, or points in a PDF): large enough for a slide, with the window's
// own proportions.
const QSize GRAPH_IMAGE_SIZE(1600, 1000);

QAction *Create_Action(QObject *parent, const char *name, const QString &text, const QKeySequence &key)
{
    QAction *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setEnabled(false);
    return action;
}

// Paints while a long export runs; the cursor tells the user to wait.
class TWaitCursor
{
  public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};
} // namespace

TSignoffActions::TSignoffActions(QMainWindow *window, TGraphWidget *graph, QMenu *file_menu, QAction *before)
    : QObject(window), d_window(window), d_graph(graph)
{
    d_export_pdf = Create_Action(this, "export_pdf_action", tr("&Export Report as PDF..."),
                                 QKeySequence(QKeySequence::Save));
    d_print = Create_Action(this, "print_action", tr("&Print..."), QKeySequence(QKeySequence::Print));
    d_save_graph = Create_Action(this, "save_graph_action", tr("Save &Graph As..."),
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    d_copy_report =
        Create_Action(this, "copy_report_action", tr("&Copy Report"), QKeySequence(QKeySequence::Copy));
    d_copy_graph = Create_Action(this, "copy_graph_action", tr("Copy &Graph"),
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    d_copy_graph_data = Create_Action(this, "copy_graph_data_action", tr("Copy Graph &Data"),
                                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));

    file_menu->insertActions(before, {d_export_pdf, d_print, d_save_graph});
    file_menu->insertSeparator(before);
    QMenu *edit_menu = new QMenu(tr("&Edit"), window);
    edit_menu->setObjectName(QStringLiteral("edit_menu"));
    edit_menu->addActions({d_copy_report, d_copy_graph, d_copy_graph_data});
    const QList<QAction *> menus = window->menuBar()->actions();
    const int file_index = static_cast<int>(menus.indexOf(file_menu->menuAction()));
    window->menuBar()->insertMenu(menus.value(file_index + 1), edit_menu);

    d_report_pane = window->findChild<QPlainTextEdit *>(QStringLiteral("report_pane"));
    if (d_report_pane)
        d_report_pane->installEventFilter(this);

    d_verdict_label = new TElidedLabel(window);
    d_verdict_label->setObjectName(QStringLiteral("verdict_label"));
    window->statusBar()->addPermanentWidget(d_verdict_label);

    connect(d_export_pdf, &QAction::triggered, this, &TSignoffActions::Export_Pdf);
    connect(d_print, &QAction::triggered, this, &TSignoffActions::Print);
    connect(d_save_graph, &QAction::triggered, this, &TSignoffActions::Save_Graph);
    connect(d_copy_report, &QAction::triggered, this, &TSignoffActions::Copy_Report);
    connect(d_copy_graph, &QAction::triggered, this, &TSignoffActions::Copy_Graph);
    connect(d_copy_graph_data, &QAction::triggered, this, &TSignoffActions::Copy_Graph_Data);
}

TSignoffActions::~TSignoffActions() = default;

bool TSignoffActions::eventFilter(QObject *watched, QEvent *event)
{
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (watched != d_report_pane || !key || !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy) ||
        !d_report_pane->textCursor().hasSelection())
        return QObject::eventFilter(watched, event);
    // Taking the override keeps the window's Copy Report shortcut from firing; the press copies.
    event->accept();
    if (event->type() == QEvent::KeyPress)
        d_report_pane->copy();
    return event->type() == QEvent::KeyPress;
}

void TSignoffActions::Set_Save_Name_Function(TSaveNameFunction function)
{
    save_name_function = std::move(function);
}

void TSignoffActions::Set_Print_Function(TPrintFunction function)
{
    print_function = std::move(function);
}

void TSignoffActions::Show_Measurement(const TReportSource &source, const TTolerance &tolerance)
{
    d_source = source;
    d_tolerance = tolerance;
    Update_Verdict();
    Update_Actions();
}

void TSignoffActions::Update_Verdict()
{
    const TVerdict verdict = d_source.loaded ? Verdict::Evaluate(d_source.contents, d_source.curves,
                                                                 d_tolerance, d_source.unreadable_lines)
                                             : TVerdict();
    d_verdict_label->setText(verdict.line);
    d_verdict_label->setStyleSheet(Verdict::Colour_Style(verdict.verdict));
}

bool TSignoffActions::Graph_Shown() const
{
    return d_source.loaded && Presentation::Graph_Setup(d_source.contents).shown;
}

void TSignoffActions::Update_Actions()
{
    d_export_pdf->setEnabled(d_source.loaded);
    d_print->setEnabled(d_source.loaded);
    d_copy_report->setEnabled(d_source.loaded);
    d_save_graph->setEnabled(Graph_Shown());
    d_copy_graph->setEnabled(Graph_Shown());
    d_copy_graph_data->setEnabled(Graph_Shown());
}

TReportDocument TSignoffActions::Document() const
{
    TReportDocument document = ReportDocument::Measurement_Document(d_source, d_tolerance);
    if (Graph_Shown())
        document.graph = d_graph;
    return document;
}

QImage TSignoffActions::Graph_Image() const
{
    return GraphExport::Image(d_graph, GRAPH_IMAGE_SIZE);
}

QString TSignoffActions::Start_Folder() const
{
    if (!d_export_folder.isEmpty() && QFileInfo(d_export_folder).isDir())
        return d_export_folder;
    const QFileInfo shown(d_source.path);
    if (!d_source.path.isEmpty() && shown.absoluteDir().exists())
        return shown.absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString TSignoffActions::Ask_Save_Name(const QString &caption, const QString &suffix, const QString &filter)
{
    const QString proposal =
        QDir(Start_Folder()).filePath(QFileInfo(d_source.path).completeBaseName() + suffix);
    QString chosen_filter;
    QString name = save_name_function
                       ? save_name_function(caption, proposal)
                       : QFileDialog::getSaveFileName(d_window, caption, proposal, filter, &chosen_filter);
    if (name.isEmpty())
        return name;
    // A name typed without an ending gets the one of the chosen type.
    if (QFileInfo(name).suffix().isEmpty())
        name += chosen_filter.contains(QLatin1String("*.pdf")) ? QStringLiteral(".pdf") : suffix;
    d_export_folder = QFileInfo(name).absolutePath();
    return name;
}

void TSignoffActions::Show_Failure(const QString &text, const QString &detail)
{
    TMessageBox box(d_window);
    box.setWindowTitle(tr("Quillon"));
    box.Warn(text, detail);
}

void TSignoffActions::Export_Pdf()
{
    if (!d_source.loaded)
        return;
    const QString name = Ask_Save_Name(tr("Export Report as PDF"), QStringLiteral(".pdf"), tr("PDF (*.pdf)"));
    if (name.isEmpty())
        return;
    QString error;
    bool written = false;
    {
        const TWaitCursor wait;
        written = ReportDocument::Write_Pdf(Document(), name, QPageSize::A4, &error, {d_source.path});
    }
    if (!written)
        Show_Failure(tr("The report was not exported."), error);
}

void TSignoffActions::Print()
{
    if (!d_source.loaded)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(ReportDocument::PAPER_RESOLUTION);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QFileInfo(d_source.path).fileName());
    if (print_function)
    {
        if (!print_function(&printer))
            return;
    }
    else
    {
        // The dialog proposes a file in the working folder: for the run of the dialog that is the start
        // folder of the other save dialogs.
        const QString working = QDir::currentPath();
        QDir::setCurrent(Start_Folder());
        QPrintDialog dialog(&printer, d_window);
        const int answer = dialog.exec();
        QDir::setCurrent(working);
        if (answer != QDialog::Accepted)
            return;
    }
    if (!printer.outputFileName().isEmpty())
        d_export_folder = QFileInfo(printer.outputFileName()).absolutePath();
    int pages = 0;
    {
        const TWaitCursor wait;
        pages = ReportDocument::Render(Document(), &printer);
    }
    if (pages == 0)
        Show_Failure(tr("The report was not printed."), tr("The printer could not be used."));
}

void TSignoffActions::Save_Graph()
{
    if (!Graph_Shown())
        return;
    const QString name =
        Ask_Save_Name(tr("Save Graph As"), QStringLiteral(".png"), tr("PNG image (*.png);;PDF (*.pdf)"));
    if (name.isEmpty())
        return;
    QString reason;
    if (!GraphExport::Write(d_graph, name, GRAPH_IMAGE_SIZE, &reason, {d_source.path}))
        Show_Failure(tr("The graph was not saved."), CheckedFile::Failure_Text(name, reason));
}

void TSignoffActions::Copy_Report()
{
    if (d_source.loaded)
        QApplication::clipboard()->setText(d_source.report_lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TSignoffActions::Copy_Graph()
{
    if (Graph_Shown())
        QApplication::clipboard()->setImage(Graph_Image());
}

void TSignoffActions::Copy_Graph_Data()
{
    if (Graph_Shown())
        QApplication::clipboard()->setText(
            GraphTable::Rows(d_source.contents, d_source.curves, QLatin1Char('\t')));
}
