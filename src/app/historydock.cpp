#include "app/historydock.h"

#include "app/historygraph.h"
#include "base/checkedfile.h"
#include "model/nominalstore.h"

#include <QBuffer>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <cmath>
#include <memory>

const QString THistoryDock::WARNING_KEY = QStringLiteral("History_Warning_Percent");
const double THistoryDock::DEFAULT_WARNING_PERCENT = 80.0;

namespace
{
THistoryDock::TSaveNameFunction save_name_function;

const QString OLD_FOLDER = QStringLiteral("old");
const QSize EXPORT_IMAGE_SIZE(1200, 600);
const int EXPORT_RESOLUTION = 96;

enum TColumn
{
    COLUMN_DATE,
    COLUMN_VERDICT,
    COLUMN_PERCENT,
    COLUMN_NOTE,
    COLUMN_FILE,
    COLUMN_COUNT
};

TVerdict::TVerdictType Verdict_Type(const QString &word)
{
    for (const TVerdict::TVerdictType type :
         {TVerdict::VERDICT_PASS, TVerdict::VERDICT_FAIL, TVerdict::VERDICT_INCOMPLETE})
    {
        if (word == RunSummary::Verdict_Word(type))
            return type;
    }
    return TVerdict::VERDICT_NONE;
}

QString Clean_Absolute(const QString &path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The .dat files of one folder, any letter case, hidden ones left out.
QStringList Dat_Files(const QString &folder)
{
    QStringList paths;
    if (folder.isEmpty())
        return paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name))
        paths.append(dir.absoluteFilePath(name));
    return paths;
}

QString Date_Text(const QDateTime &time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}
} // namespace

THistoryDock::THistoryDock(TSources sources, QSettings *settings, QWidget *parent)
    : QWidget(parent), d_sources(std::move(sources)), d_settings(settings)
{
    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);

    QHBoxLayout *controls = new QHBoxLayout;
    QLabel *warning_label = new QLabel(tr("Warning at"), this);
    d_warning = new QDoubleSpinBox(this);
    d_warning->setObjectName(QStringLiteral("history_warning"));
    d_warning->setRange(1.0, 100.0);
    d_warning->setDecimals(1);
    d_warning->setSuffix(QStringLiteral(" %"));
    warning_label->setBuddy(d_warning);
    d_export_graph = new QToolButton(this);
    d_export_graph->setObjectName(QStringLiteral("history_export_graph"));
    d_export_graph->setText(tr("Export Graph..."));
    d_export_table = new QToolButton(this);
    d_export_table->setObjectName(QStringLiteral("history_export_table"));
    d_export_table->setText(tr("Export Table..."));
    controls->addWidget(warning_label);
    controls->addWidget(d_warning);
    controls->addStretch();
    controls->addWidget(d_export_graph);
    controls->addWidget(d_export_table);
    layout->addLayout(controls);

    QSplitter *splitter = new QSplitter(Qt::Vertical, this);
    d_graph = new THistoryGraph(splitter);
    d_graph->setObjectName(QStringLiteral("history_graph"));
    QWidget *lower = new QWidget(splitter);
    QVBoxLayout *lower_layout = new QVBoxLayout(lower);
    lower_layout->setContentsMargins(0, 0, 0, 0);
    d_drift_label = new QLabel(lower);
    d_drift_label->setObjectName(QStringLiteral("history_drift"));
    d_drift_label->setWordWrap(true);
    d_shown_label = new QLabel(lower);
    d_shown_label->setObjectName(QStringLiteral("history_shown"));
    d_shown_label->setWordWrap(true);
    d_table = new QTableWidget(0, COLUMN_COUNT, lower);
    d_table->setObjectName(QStringLiteral("history_table"));
    d_table->setHorizontalHeaderLabels({tr("Date"), tr("Verdict"), tr("Percent"), tr("Note"), tr("File")});
    d_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    d_table->setSelectionMode(QAbstractItemView::SingleSelection);
    d_table->verticalHeader()->hide();
    d_table->horizontalHeader()->setStretchLastSection(true);
    lower_layout->addWidget(d_drift_label);
    lower_layout->addWidget(d_shown_label);
    lower_layout->addWidget(d_table);
    splitter->addWidget(d_graph);
    splitter->addWidget(lower);
    layout->addWidget(splitter);

    d_progress = new QProgressBar(this);
    d_progress->setObjectName(QStringLiteral("history_progress"));
    d_progress->setFormat(tr("History: %v of %m files"));
    d_progress->setMaximumWidth(220);
    d_progress->hide();

    // A stored level that is not a number in range gives the default.
    bool valid = false;
    const double stored = d_settings ? d_settings->value(WARNING_KEY).toDouble(&valid) : 0.0;
    const bool usable =
        valid && std::isfinite(stored) && stored >= d_warning->minimum() && stored <= d_warning->maximum();
    d_warning->setValue(usable ? stored : DEFAULT_WARNING_PERCENT);
    d_graph->Set_Warning_Percent(d_warning->value());

    connect(d_warning, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &THistoryDock::Warning_Changed);
    connect(d_export_graph, &QToolButton::clicked, this, &THistoryDock::Export_Graph);
    connect(d_export_table, &QToolButton::clicked, this, &THistoryDock::Export_Table);
    connect(d_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Activate_Row(row); });
    connect(d_graph, &THistoryGraph::Point_Activated, this, &THistoryDock::Activate_Row);
    connect(&d_watcher, &QFutureWatcher<TRunLoad>::progressRangeChanged, d_progress, &QProgressBar::setRange);
    connect(&d_watcher, &QFutureWatcher<TRunLoad>::progressValueChanged, d_progress, &QProgressBar::setValue);
    connect(&d_watcher, &QFutureWatcher<TRunLoad>::finished, this, &THistoryDock::Scan_Finished);
    Show_Runs();
}

THistoryDock::~THistoryDock()
{
    d_watcher.disconnect(this);
    d_watcher.cancel();
    d_watcher.waitForFinished();
}

void THistoryDock::Set_Save_Name_Function(TSaveNameFunction function)
{
    save_name_function = std::move(function);
}

void THistoryDock::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // After the show, so that opening the dock never waits for a folder.
    QTimer::singleShot(0, this, &THistoryDock::Refresh);
}

QString THistoryDock::Shown_Path() const
{
    return Clean_Absolute(d_sources.file ? d_sources.file() : QString());
}

QStringList THistoryDock::Run_Paths(const QString &shown) const
{
    const QString folder = Clean_Absolute(d_sources.folder ? d_sources.folder() : QString());
    QStringList paths = Dat_Files(folder);
    if (!folder.isEmpty())
        paths += Dat_Files(folder + QLatin1Char('/') + OLD_FOLDER);
    if (!shown.isEmpty() && !paths.contains(shown))
        paths.append(shown);
    return paths;
}

bool THistoryDock::In_Old(const QString &path) const
{
    const QString folder = Clean_Absolute(d_scan_folder);
    return !folder.isEmpty() && QFileInfo(path).absolutePath() == folder + QLatin1Char('/') + OLD_FOLDER;
}

void THistoryDock::Refresh()
{
    if (!isVisible())
        return;
    if (d_watcher.isRunning())
    {
        d_scan_again = true;
        return;
    }
    d_scan_again = false;
    d_scan_shown = Shown_Path();
    d_scan_folder = d_sources.folder ? d_sources.folder() : QString();
    d_scan_paths = Run_Paths(d_scan_shown);

    // The cache cannot tell a step gauge whose nominal set came or went since it was read.
    const QStringList nominal_names = d_sources.nominals ? d_sources.nominals->File_Names() : QStringList();
    if (nominal_names != d_nominal_names)
    {
        d_cache.Clear();
        d_nominal_names = nominal_names;
    }
    d_stale = d_cache.Stale(d_scan_paths);
    if (d_stale.empty())
    {
        Show_Runs();
        return;
    }
    // The workers read a copy of the store, so that the nominal dock may change it meanwhile.
    std::shared_ptr<const TNominalStore> store;
    if (d_sources.nominals)
        store = std::make_shared<const TNominalStore>(*d_sources.nominals);
    const auto shared = std::make_shared<const TSharedNominals>(store.get());
    const TNominalSource *source = store ? shared.get() : nullptr;
    // Qt 5 needs the result type of the function spelled out.
    const std::function<TRunLoad(const TRunSummaryCache::TStale &)> load =
        [store, shared, source](const TRunSummaryCache::TStale &file)
    { return TRunLoad::Load(file.path, file.stamp, source); };
    d_progress->setRange(0, static_cast<int>(d_stale.size()));
    d_progress->setValue(0);
    d_progress->show();
    // The files are read from d_stale, which stays as it is until the scan is over.
    d_watcher.setFuture(QtConcurrent::mapped(d_stale, load));
}

void THistoryDock::Scan_Finished()
{
    d_progress->hide();
    if (d_watcher.isCanceled())
        return;
    std::vector<TRunLoad> loads;
    const QList<TRunLoad> results = d_watcher.future().results();
    loads.reserve(static_cast<size_t>(results.size()));
    for (const TRunLoad &load : results)
        loads.push_back(load);
    d_cache.Store(std::move(loads));
    Show_Runs();
    if (d_scan_again)
        Refresh();
}

void THistoryDock::Tolerance_Changed()
{
    if (d_watcher.isRunning())
        d_scan_again = true;
    else if (isVisible())
        Show_Runs();
}

void THistoryDock::Show_Runs()
{
    d_runs.clear();
    const std::vector<TRunSummary> rows =
        d_scan_paths.isEmpty()
            ? std::vector<TRunSummary>()
            : d_cache.Rows(d_scan_paths, d_sources.tolerance ? d_sources.tolerance() : TTolerance());
    const TRunSummary *shown = nullptr;
    for (const TRunSummary &row : rows)
    {
        if (row.path == d_scan_shown)
            shown = &row;
    }
    if (shown && !shown->Failed_To_Load())
    {
        // Rows come sorted by kind, identity and time: the runs of one test are oldest first.
        for (const TRunSummary &row : rows)
        {
            if (row.kind == shown->kind && row.identity == shown->identity && !row.Failed_To_Load())
                d_runs.push_back(row);
        }
    }

    if (d_scan_shown.isEmpty())
        d_shown_label->setText(tr("No file on show."));
    else if (!shown || shown->Failed_To_Load())
        d_shown_label->setText(
            tr("%1 could not be read: no runs to compare.").arg(QFileInfo(d_scan_shown).fileName()));
    else if (In_Old(d_scan_shown))
        d_shown_label->setText(
            tr("On show: %1, a run from the old folder.").arg(QFileInfo(d_scan_shown).fileName()));
    else
        d_shown_label->setText(tr("On show: %1").arg(QFileInfo(d_scan_shown).fileName()));

    std::vector<THistoryGraph::TPoint> points;
    std::vector<TDriftPoint> drift_points;
    for (std::size_t i = 0; i < d_runs.size(); ++i)
    {
        const TRunSummary &run = d_runs[i];
        if (run.percent.isEmpty())
            continue;
        THistoryGraph::TPoint point;
        point.time = run.modified;
        point.percent = run.percent.toDouble();
        point.verdict = Verdict_Type(run.verdict);
        point.row = static_cast<int>(i);
        points.push_back(point);
        drift_points.push_back({point.time, point.percent});
    }
    const TDrift drift = Drift::Project(drift_points);
    switch (drift.trend)
    {
    case TDrift::TREND_TOO_FEW:
        d_drift_text = tr("A trend needs %1 runs with a percentage or more.").arg(Drift::MINIMUM_RUNS);
        break;
    case TDrift::TREND_FLAT:
        d_drift_text = tr("The trend is flat.");
        break;
    case TDrift::TREND_FALLING:
        d_drift_text = tr("The trend is falling.");
        break;
    case TDrift::TREND_RISING:
    {
        const QString date = drift.reached.toLocalTime().toString(QStringLiteral("yyyy-MM-dd"));
        if (!drift.reached.isValid())
            d_drift_text = tr("The trend is rising but does not reach the tolerance within %1 years.")
                               .arg(Drift::HORIZON_YEARS);
        else if (drift.reached <= drift_points.back().time)
            d_drift_text = tr("The trend is rising; its line passed the tolerance around %1.").arg(date);
        else
            d_drift_text = tr("At this rate the tolerance is reached around %1").arg(date);
        break;
    }
    }
    d_drift_label->setText(d_drift_text);
    d_graph->Set_Points(std::move(points), drift);
    Fill_Table();
    d_export_graph->setEnabled(!d_runs.empty());
    d_export_table->setEnabled(!d_runs.empty());
    emit Refreshed();
}

void THistoryDock::Fill_Table()
{
    d_table->setRowCount(static_cast<int>(d_runs.size()));
    for (int i = 0; i < d_table->rowCount(); ++i)
    {
        const TRunSummary &run = d_runs[static_cast<std::size_t>(i)];
        bool has_percent = false;
        const double percent = run.percent.toDouble(&has_percent);
        const bool near = has_percent && percent >= d_warning->value() && percent <= 100.0;
        const QString name = QFileInfo(run.path).fileName();
        const QString texts[COLUMN_COUNT] = {Date_Text(run.modified), run.verdict, run.percent,
                                             near ? tr("near") : QString(),
                                             In_Old(run.path) ? OLD_FOLDER + QLatin1Char('/') + name : name};
        for (int column = 0; column < COLUMN_COUNT; ++column)
        {
            QTableWidgetItem *item = new QTableWidgetItem(texts[column]);
            item->setToolTip(run.path);
            if (run.path == d_scan_shown)
            {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            d_table->setItem(i, column, item);
        }
        const QColor colour = Verdict::Colour(Verdict_Type(run.verdict));
        if (colour.isValid())
            d_table->item(i, COLUMN_VERDICT)->setForeground(colour);
        if (near)
            d_table->item(i, COLUMN_NOTE)->setForeground(THistoryGraph::WARNING_COLOUR.darker(130));
    }
    d_table->resizeColumnsToContents();
}

void THistoryDock::Warning_Changed(double percent)
{
    if (d_settings)
        d_settings->setValue(WARNING_KEY, percent);
    d_graph->Set_Warning_Percent(percent);
    Fill_Table();
}

void THistoryDock::Activate_Row(int row)
{
    if (row >= 0 && row < static_cast<int>(d_runs.size()))
        emit Show_Run(d_runs[static_cast<std::size_t>(row)].path);
}

QString THistoryDock::Drift_Text() const
{
    return d_drift_text;
}

bool THistoryDock::Write(const QString &path, const QByteArray &bytes)
{
    QString error;
    // The runs are inputs: no export may take their place.
    if (CheckedFile::Write(path, bytes, &error, d_scan_paths))
        return true;
    QMessageBox::warning(this, tr("Export"), CheckedFile::Failure_Text(path, error));
    return false;
}

void THistoryDock::Export_Graph()
{
    const QString png_filter = tr("PNG image (*.png)");
    const QString pdf_filter = tr("PDF document (*.pdf)");
    const QString filter = png_filter + QStringLiteral(";;") + pdf_filter;
    const QString caption = tr("Export Trend Graph");
    QString chosen_filter = png_filter;
    const QString proposal = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                 .filePath(QStringLiteral("history.png"));
    QString path = save_name_function
                       ? save_name_function(caption, filter)
                       : QFileDialog::getSaveFileName(this, caption, proposal, filter, &chosen_filter);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool pdf =
        suffix == QLatin1String("pdf") || (suffix != QLatin1String("png") && chosen_filter == pdf_filter);
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
        path += pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (pdf)
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(EXPORT_RESOLUTION);
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setTitle(tr("History"));
        QPainter painter(&writer);
        d_graph->Render(&painter, QRect(0, 0, writer.width(), writer.height()));
    }
    else
    {
        QImage image(EXPORT_IMAGE_SIZE, QImage::Format_RGB32);
        QPainter painter(&image);
        d_graph->Render(&painter, image.rect());
        painter.end();
        image.save(&buffer, "PNG");
    }
    Write(path, buffer.data());
}

void THistoryDock::Export_Table()
{
    const QString filter = tr("CSV file (*.csv)");
    const QString caption = tr("Export History Table");
    const QString proposal = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                 .filePath(QStringLiteral("history.csv"));
    QString path = save_name_function ? save_name_function(caption, filter)
                                      : QFileDialog::getSaveFileName(this, caption, proposal, filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString text = RunSummary::Csv_Header();
    for (const TRunSummary &run : d_runs)
        text += RunSummary::Csv_Row(run);
    Write(path, text.toUtf8());
}
