#pragma once

#include "model/runsummary.h"
#include "model/tolerance.h"

#include <QFutureWatcher>
#include <QWidget>

#include <functional>
#include <vector>

class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QSettings;
class QTableWidget;
class QToolButton;
class TNominalStore;
class THistoryGraph;

// The runs of the test on show, gathered from the measurement folder and its "old" folder: a table,
// a trend graph against the tolerance and where the trend is heading. Files are read off the GUI
// thread and kept in a cache, so following the folder and the tolerance costs little.
class THistoryDock : public QWidget
{
    Q_OBJECT

  public:
    // Where the history gets the file on show, the measurement folder and the tolerance from.
    struct TSources
    {
        std::function<QString()> file;
        std::function<QString()> folder;
        std::function<TTolerance()> tolerance;
        const TNominalStore *nominals = nullptr;
    };

    // The row the warning level is stored under in the settings.
    static const QString WARNING_KEY;
    static const double DEFAULT_WARNING_PERCENT;

    THistoryDock(TSources sources, QSettings *settings, QWidget *parent = nullptr);
    ~THistoryDock() override;

    // Shown in the status bar while files are read.
    QProgressBar *Progress_Bar() const { return d_progress; }
    THistoryGraph *Graph() const { return d_graph; }
    const std::vector<TRunSummary> &Runs() const { return d_runs; }
    bool Scanning() const { return d_watcher.isRunning(); }
    // The text under the graph that tells where the trend goes.
    QString Drift_Text() const;

    // A test hook standing in for the save dialog: its answer (empty: cancelled). Empty: the dialog.
    using TSaveNameFunction = std::function<QString(const QString &caption, const QString &filter)>;
    static void Set_Save_Name_Function(TSaveNameFunction function);

  public slots:
    // Reads what changed in the folders and shows the runs again; nothing while the dock is hidden.
    void Refresh();
    // The percentages under a new tolerance, without reading any file again.
    void Tolerance_Changed();
    void Export_Graph();
    void Export_Table();

  signals:
    // A run the user asked to see.
    void Show_Run(const QString &path);
    void Refreshed();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    QStringList Run_Paths(const QString &shown) const;
    void Scan_Finished();
    void Show_Runs();
    void Fill_Table();
    void Activate_Row(int row);
    void Warning_Changed(double percent);
    bool In_Old(const QString &path) const;
    QString Shown_Path() const;
    bool Write(const QString &path, const QByteArray &bytes);

    TSources d_sources;
    QSettings *d_settings;
    THistoryGraph *d_graph = nullptr;
    QLabel *d_drift_label = nullptr;
    QLabel *d_shown_label = nullptr;
    QTableWidget *d_table = nullptr;
    QDoubleSpinBox *d_warning = nullptr;
    QToolButton *d_export_graph = nullptr;
    QToolButton *d_export_table = nullptr;
    QProgressBar *d_progress = nullptr;

    TRunSummaryCache d_cache;
    QFutureWatcher<TRunLoad> d_watcher;
    std::vector<TRunSummaryCache::TStale> d_stale; // what the running scan reads
    QStringList d_scan_paths;                      // all the paths of the running or last scan
    QString d_scan_shown;                          // the file on show when it started
    QString d_scan_folder;                         // and the measurement folder
    QStringList d_nominal_names;                   // the nominal sets the cache was filled with
    bool d_scan_again = false;
    std::vector<TRunSummary> d_runs; // the runs of the test on show, oldest first
    QString d_drift_text;
};
