#pragma once

#include "app/measuredwidget.h"
#include "model/measuredata.h"
#include "model/measurementload.h"
#include "model/nominalstore.h"

#include <QDateTime>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QCloseEvent;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QFileSystemWatcher;
class QFont;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class TSettingsFile;
class QTimer;
class QToolButton;
class TElidedLabel;
class TFollowMode;
class TGraphWidget;
class THistoryDock;
class TMessageBox;
class TSignoffActions;
class TNominalWidget;
class TToleranceDialog;
struct TPresentation;

// The viewer's main window: the report pane and graph of the file on show, the measurement file list
// and the nominal store in docks, the tool bar, and the settings file read at start and written at close.
class TQuillon : public QMainWindow
{
    Q_OBJECT

  public:
    explicit TQuillon(const QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TQuillon() override;

    void Clear_Log();
    void Add_Log_Text(const QString &text);
    void Scroll_Log_Top();

    // Lists a folder, or the folder of a .dat file and shows that file, for this run only: the stored
    // measurement folder is written back at close unless the user changes it. False for anything else.
    bool Open_Path(const QString &path);

    const QString &Current_File_Path() const { return d_current_file_path; }
    const QString &Settings_Folder() const { return d_settings_folder; }
    const QString &Watched_Folder() const { return d_watched_folder; }
    const TMeasureData *Current_Measurement() const { return d_current_measurement.get(); }
    // What the status bar says of the file on show: its name, or why it has no verdict.
    QString File_State_Text() const;

    // --- Where am I, open and recent, help (quillon_menus.cpp) ---
    // The line above the report: the file on show with its folder and time, or where it went.
    QString File_Path_Text() const;
    const QStringList &Recent_Folders() const { return d_recent_folders; }
    QString About_Text() const;
    QString Shortcuts_Text() const;
    // Test hook standing in for the folder and file pickers: (folder wanted, start folder) -> the
    // answer, empty when cancelled. An empty function runs the real dialogs.
    using TOpenNameFunction = std::function<QString(bool folder, const QString &start)>;
    static void Set_Open_Name_Function(TOpenNameFunction function);

  public slots:
    void Open_Folder();
    void Open_File();
    void Show_About();
    void Show_Shortcuts();

  public slots:
    void Load_Data(const QString &path);
    // Two runs of one measurement together; the newer becomes the file on show.
    void Compare_Data(const QString &first, const QString &second);
    void Update_File_List();
    void Measure_File_Path_Changed();
    void Remove_Data(const QString &folder, const QStringList &names);
    void Edit_Tolerance();
    void Toggle_Line_Graph_Type(bool state);
    void Toggle_Point_Graph_Type(bool state);
    // Opens the nominal editor on a new set for the gauge of the file on show.
    void Create_Nominal_Set();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

  private:
    void Open_Settings();
    void Restore_Geometry();
    void Build_Central_Area(const QFont &report_font, const QFont &notice_font);
    void Build_Tool_Bar();
    void Build_Menus_And_Docks();
    QWidget *Create_Nominal_Widget();
    void Create_Tolerance_Dialog();
    void Restore_Input_Settings();
    void Restore_Tolerance_Settings();
    void Initialize_Nominal_Store();
    void Save_Input_Settings();
    void Save_Tolerance_Settings();
    void Make_Connections();
    // The runs of the test on show, in a dock of their own.
    void Build_History_Dock();

    // Keeps exactly the file list's folder registered with the watcher, also after it was made again.
    void Watch_Measurement_Folder();
    void Folder_Changed();

    const TNominalSource *Nominal_Source() const { return &d_nominal_store; }
    // Titles, options and data sets of the graph for a loaded file.
    void Show_Graph(const TPresentation &presentation);
    void Show_Report(const QStringList &lines);
    // Below the error line of a step gauge file whose gauge has no nominal set: the button that
    // creates one.
    void Offer_Nominal_Set();
    // A saved set may be the one the step gauge file on show lacked or uses.
    void Nominal_Set_Saved();
    void Report_Removal_Error(const QString &path);

    // The file on show as last read: whether it is there, when it was written and its size.
    struct TFileStamp
    {
        bool exists = false;
        QDateTime modified;
        qint64 size = -1;

        static TFileStamp Of(const QString &path);
        bool operator==(const TFileStamp &other) const;
    };
    enum TFileState
    {
        FILE_ON_DISK,
        FILE_MOVED, // by this window, to d_moved_to
        FILE_DELETED
    };

    // Takes a load over as the one on show; the window keeps it until the next load.
    void Keep_Load(const QString &path, TMeasurementLoad load);
    // Shows the kept load with the present style and tolerance, without reading the file again.
    void Present_Load();
    void List_Refreshed();
    // Follows the file on show on disk: read again when it changed, marked when it went away.
    void Check_Shown_File();
    void Watch_Shown_File();
    void Show_File_State();
    void Present_Comparison();
    void Connect_Follow_Mode();
    // A file the measuring machine has finished writing: shown, or marked while the user looks around.
    void Show_New_File(const QString &path);

    // --- quillon_menus.cpp ---
    void Build_File_Menu(QMenu *file_menu);
    void Build_Help_Menu();
    void Remember_Folder(const QString &folder);
    void Update_Recent_Menu();
    void Restore_View_Settings();
    void Save_View_Settings();
    QString Ask_Open_Name(bool folder);

    QAction *d_quit_action = nullptr;
    QPlainTextEdit *d_report_pane = nullptr;
    QPushButton *d_create_nominal_button = nullptr;
    TMissingNominalSet d_missing_nominal;
    QToolButton *d_tolerance_button = nullptr;
    QToolButton *d_point_graph_button = nullptr;
    QToolButton *d_line_graph_button = nullptr;
    TMeasuredWidget *d_measured_widget = nullptr;
    QDockWidget *d_nominal_dock = nullptr;
    TNominalWidget *d_nominal_widget = nullptr;
    QDockWidget *d_measured_dock = nullptr;
    TGraphWidget *d_graph = nullptr;
    TMessageBox *d_message_box = nullptr;
    TToleranceDialog *d_tolerance_dialog = nullptr;
    TSignoffActions *d_signoff = nullptr;
    THistoryDock *d_history = nullptr;
    std::unique_ptr<TSettingsFile> d_settings_file;
    QSettings *d_settings = nullptr; // the settings file's values
    QFileSystemWatcher *d_folder_watcher = nullptr;
    // Coalesces a burst of folder changes into one refresh.
    QTimer *d_refresh_timer = nullptr;

    std::unique_ptr<TMeasureData> d_current_measurement;
    QString d_current_file_path;
    // The last load, its record moved into d_current_measurement; restyling and a new tolerance use it.
    TMeasurementLoad d_load;
    TFileStamp d_file_stamp;
    TFileState d_file_state = FILE_ON_DISK;
    QString d_moved_to; // the name the file on show was given in "old"
    QString d_watched_file;
    TElidedLabel *d_file_state_label = nullptr;
    TElidedLabel *d_file_path_label = nullptr;
    QAction *d_open_folder_action = nullptr;
    QAction *d_open_file_action = nullptr;
    QMenu *d_recent_menu = nullptr;
    QStringList d_recent_folders;
    QString d_settings_folder;
    QString d_watched_folder;
    TNominalStore d_nominal_store;
    // While two runs are shown together: the older one; the newer is the file on show.
    TFollowMode *d_follow = nullptr;
    bool d_comparing = false;
    QString d_compared_path;
    TMeasurementLoad d_compared_load;

    // The input settings as read at start, written back at close while a folder opened from the command
    // line or by a drop is in force.
    TMeasuredWidget::TInputSettings d_stored_input_settings;
    bool d_input_settings_temporary = false;
};
