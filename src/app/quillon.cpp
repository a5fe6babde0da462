#include "app/quillon.h"

#include "app/elidedlabel.h"
#include "app/followmode.h"
#include "app/historydock.h"
#include "app/nominalwidget.h"
#include "app/signoffactions.h"
#include "app/tolerancedialog.h"
#include "app/toolbutton.h"
#include "base/checkedfile.h"
#include "base/settingsfile.h"
#include "quillon_version.h"
#include "widgets/graphwidget.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

// Outside any namespace, as the resource macro needs. The resources live in a static library, where
// only a call keeps them from being left out by the linker.
static void Register_Resources()
{
    Q_INIT_RESOURCE(quillon);
}

namespace
{
const QPoint DEFAULT_POSITION(30, 30);
const QSize DEFAULT_SIZE(801, 601);
// Long enough to gather a burst of files written by a measuring program, short enough to feel immediate.
const int REFRESH_DELAY_MS = 250;

// Settings values of the wrong type (hand edits, damaged files) give the default.
// Far beyond any screen, and small enough that position plus size cannot overflow an int.
const int GEOMETRY_LIMIT = 1000000;

QPoint Read_Point(const QSettings &settings, const QString &key, const QPoint &fallback)
{
    const QVariant value = settings.value(key);
    if (value.userType() != QMetaType::QPoint)
        return fallback;
    const QPoint point = value.toPoint();
    return qAbs(point.x()) < GEOMETRY_LIMIT && qAbs(point.y()) < GEOMETRY_LIMIT ? point : fallback;
}

QSize Read_Size(const QSettings &settings, const QString &key, const QSize &fallback)
{
    const QVariant value = settings.value(key);
    if (value.userType() != QMetaType::QSize)
        return fallback;
    const QSize size = value.toSize();
    const bool usable = size.width() > 0 && size.height() > 0 && size.width() < GEOMETRY_LIMIT &&
                        size.height() < GEOMETRY_LIMIT;
    return usable ? size : fallback;
}

QString Read_String(const QSettings &settings, const QString &key, const QString &fallback)
{
    const QVariant value = settings.value(key);
    return value.userType() == QMetaType::QString ? value.toString() : fallback;
}

bool Read_Bool(const QSettings &settings, const QString &key, bool fallback)
{
    const QVariant value = settings.value(key);
    if (value.userType() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

QDockWidget *Create_Dock(QMainWindow *window, const char *name, const QString &title, QWidget *contents)
{
    QDockWidget *dock = new QDockWidget(title, window);
    dock->setObjectName(QLatin1String(name));
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setWidget(contents);
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);
    return dock;
}

// The folder or .dat file of a drop; empty when the drop carries neither.
QString Dropped_Path(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
        return QString();
    const QFileInfo info(data->urls().first().toLocalFile());
    if (info.isDir() ||
        (info.isFile() && info.fileName().endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)))
        return info.absoluteFilePath();
    return QString();
}
} // namespace

TQuillon::TQuillon(const QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(const_cast<QWidget *>(parent), flags)
{
    Register_Resources();
    QFont report_font(QStringLiteral("courier new"));
    report_font.setFixedPitch(true);
    QFont notice_font(QStringLiteral("Helvetica"), 8);
    notice_font.setItalic(true);

    Open_Settings();
    d_folder_watcher = new QFileSystemWatcher(this);
    d_refresh_timer = new QTimer(this);
    d_refresh_timer->setSingleShot(true);
    d_refresh_timer->setInterval(REFRESH_DELAY_MS);
    Restore_Geometry();

    Build_Central_Area(report_font, notice_font);
    Build_Tool_Bar();
    setStatusBar(new QStatusBar(this));
    d_file_state_label = new TElidedLabel(this);
    d_file_state_label->setObjectName(QStringLiteral("file_state_label"));
    statusBar()->addWidget(d_file_state_label);

    Build_Menus_And_Docks();
    Create_Tolerance_Dialog();

    Restore_Input_Settings();
    Restore_Tolerance_Settings();
    d_follow->Set_Enabled(Read_Bool(*d_settings, QStringLiteral("Follow_New_Files"), false));
    Restore_View_Settings();

    d_message_box = new TMessageBox(this);
    d_current_measurement.reset();
    {
        // The style kept from the last run, the point graph at first start.
        const bool point = Read_Bool(*d_settings, QStringLiteral("Graph_Point_Style"), true);
        d_line_graph_button->setChecked(!point);
        d_point_graph_button->setChecked(point);
    }
    d_line_graph_button->setEnabled(false);
    d_point_graph_button->setEnabled(false);

    Initialize_Nominal_Store();

    setWindowTitle(QStringLiteral("Quillon - Version " QUILLON_VERSION));
    setAcceptDrops(true);
    Make_Connections();
    Build_History_Dock();
    d_measured_widget->setFocus();
}

TQuillon::~TQuillon() = default;

void TQuillon::Open_Settings()
{
    QDir home(QDir::homePath());
    if (!home.exists(QStringLiteral(".corvane")))
        home.mkdir(QStringLiteral(".corvane"));
    // Named even when it could not be made: the settings then simply cannot be written.
    d_settings_folder = home.absoluteFilePath(QStringLiteral(".corvane"));
    d_settings_file =
        std::make_unique<TSettingsFile>(d_settings_folder + QStringLiteral("/quillon_settings.ini"));
    d_settings = d_settings_file->Settings();
}

void TQuillon::Restore_Geometry()
{
    const QPoint position = Read_Point(*d_settings, QStringLiteral("Mainwindow_Position"), DEFAULT_POSITION);
    const QSize size = Read_Size(*d_settings, QStringLiteral("Mainwindow_Size"), DEFAULT_SIZE);

    QRect visible;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        visible = QRect(position, size).intersected(screen->availableGeometry());
    if (visible.isValid() && visible.right() - visible.left() > 99 && visible.bottom() - visible.top() > 99)
    {
        resize(visible.size());
        move(visible.topLeft());
    }
    else
    {
        resize(DEFAULT_SIZE);
        move(DEFAULT_POSITION);
    }
}

void TQuillon::Build_Central_Area(const QFont &report_font, const QFont &notice_font)
{
    QWidget *central = new QWidget(this);
    QVBoxLayout *layout = new QVBoxLayout(central);

    // Which file is on show, from which folder, and of when.
    d_file_path_label = new TElidedLabel(central);
    d_file_path_label->setObjectName(QStringLiteral("file_path_label"));
    d_file_path_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(d_file_path_label);

    QSplitter *splitter = new QSplitter(Qt::Vertical, central);
    d_report_pane = new QPlainTextEdit(splitter);
    d_report_pane->setObjectName(QStringLiteral("report_pane"));
    d_report_pane->setFont(report_font);
    d_report_pane->document()->setUndoRedoEnabled(false);
    d_report_pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    d_report_pane->setReadOnly(true);
    // On the pane itself, so that it stands right under the error line it answers.
    d_create_nominal_button = new QPushButton(d_report_pane->viewport());
    d_create_nominal_button->setObjectName(QStringLiteral("create_nominal_button"));
    d_create_nominal_button->setAutoDefault(false);
    // A button's own font, not the report's fixed-pitch one.
    d_create_nominal_button->setFont(QApplication::font(d_create_nominal_button));
    d_create_nominal_button->hide();
    d_graph = new TGraphWidget(splitter);
    d_graph->setObjectName(QStringLiteral("graph"));
    d_graph->setMinimumHeight(150);
    d_graph->Set_Titles(QString(), QStringLiteral("Deviation"), QStringLiteral("Length"));
    splitter->addWidget(d_report_pane);
    splitter->addWidget(d_graph);
    layout->addWidget(splitter);

    QWidget *bottom_row = new QWidget(central);
    QGridLayout *bottom_layout = new QGridLayout(bottom_row);
    bottom_layout->setContentsMargins(0, 0, 0, 0);
    QLabel *logo = new QLabel(bottom_row);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setMinimumSize(100, 40);
    logo->setMaximumSize(100, 40);
    logo->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    QLabel *notice = new QLabel(tr("Quillon measurement viewer - free to use and share"), bottom_row);
    notice->setFont(notice_font);
    notice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bottom_layout->addWidget(logo, 0, 0);
    bottom_layout->addWidget(notice, 0, 1);
    layout->addWidget(bottom_row);

    setCentralWidget(central);
}

void TQuillon::Build_Tool_Bar()
{
    QToolBar *tool_bar = new QToolBar(this);
    tool_bar->setObjectName(QStringLiteral("toolBar"));
    tool_bar->setWindowTitle(QStringLiteral("toolBar"));
    tool_bar->setIconSize(QSize(32, 32));
    addToolBar(Qt::TopToolBarArea, tool_bar);

    d_tolerance_button =
        Create_Tool_Button(tool_bar, "tolerance_button", QStringLiteral(":/icon32/tolerance_icon32.png"),
                           tr("Set Stepgauge Measurement Tolerance"), 32);
    d_point_graph_button =
        Create_Tool_Button(tool_bar, "point_graph_button", QStringLiteral(":/icon32/pointgraph_icon32.png"),
                           tr("Show Stepgauge Point Graph"), 32);
    d_line_graph_button =
        Create_Tool_Button(tool_bar, "line_graph_button", QStringLiteral(":/icon32/linegraph_icon32.png"),
                           tr("Show Stepgauge Line Graph"), 32);
    d_point_graph_button->setCheckable(true);
    d_line_graph_button->setCheckable(true);
    tool_bar->addWidget(d_tolerance_button);
    tool_bar->addWidget(d_point_graph_button);
    tool_bar->addWidget(d_line_graph_button);
}

void TQuillon::Build_Menus_And_Docks()
{
    d_quit_action = new QAction(tr("Quit"), this);
    d_quit_action->setShortcut(QKeySequence::Quit);
    QMenu *file_menu = menuBar()->addMenu(tr("&File"));
    file_menu->setObjectName(QStringLiteral("file_menu"));
    Build_File_Menu(file_menu);
    file_menu->addAction(d_quit_action);
    QMenu *view_menu = menuBar()->addMenu(tr("&View"));
    view_menu->setObjectName(QStringLiteral("view_menu"));

    d_nominal_dock = Create_Dock(this, "nominal_dock", tr("Stepgauge Nominal"), Create_Nominal_Widget());
    d_measured_widget = new TMeasuredWidget(this);
    d_measured_dock = Create_Dock(this, "measured_dock", tr("Measurement Files"), d_measured_widget);
    view_menu->addAction(d_nominal_dock->toggleViewAction());
    view_menu->addAction(d_measured_dock->toggleViewAction());
    d_follow = new TFollowMode(this, view_menu);
    d_signoff = new TSignoffActions(this, d_graph, file_menu, d_quit_action);
    Build_Help_Menu();
}

QWidget *TQuillon::Create_Nominal_Widget()
{
    // The dock edits the store the loads look gauges up in, so a saved set is used at the next load.
    d_nominal_widget = new TNominalWidget(this);
    d_nominal_widget->Use_Store(&d_nominal_store);
    return d_nominal_widget;
}

void TQuillon::Create_Tolerance_Dialog()
{
    d_tolerance_dialog = new TToleranceDialog(this);
}

void TQuillon::Restore_Input_Settings()
{
    TMeasuredWidget::TInputSettings settings;
    settings.relative_path =
        Read_String(*d_settings, QStringLiteral("Input_Relative_Path"), QStringLiteral("Measurement_Data"));
    settings.absolute_path = Read_String(*d_settings, QStringLiteral("Input_Absolute_Path"),
                                         d_settings_folder + QStringLiteral("/Measurement_Data"));
    settings.use_relative_path = Read_Bool(*d_settings, QStringLiteral("Input_Use_Relative_Path"), false);
    d_stored_input_settings = settings;
    // No folder was ever stored: the empty list tells how to choose one.
    d_measured_widget->Set_First_Start(!d_settings->contains(QStringLiteral("Input_Absolute_Path")) &&
                                       !d_settings->contains(QStringLiteral("Input_Use_Relative_Path")));
    d_measured_widget->Set_Input_Settings(settings);
    d_measured_dock->setToolTip(QDir::toNativeSeparators(d_measured_widget->Intended_Folder()));
    Watch_Measurement_Folder();
}

void TQuillon::Restore_Tolerance_Settings()
{
    d_tolerance_dialog->Restore_Settings(*d_settings);
}

void TQuillon::Initialize_Nominal_Store()
{
    d_nominal_widget->Initialize(d_settings_folder);
}

void TQuillon::Save_Input_Settings()
{
    const TMeasuredWidget::TInputSettings settings =
        d_input_settings_temporary ? d_stored_input_settings : d_measured_widget->Input_Settings();
    d_settings->setValue(QStringLiteral("Input_Relative_Path"), settings.relative_path);
    d_settings->setValue(QStringLiteral("Input_Absolute_Path"), settings.absolute_path);
    d_settings->setValue(QStringLiteral("Input_Use_Relative_Path"), settings.use_relative_path);
}

void TQuillon::Save_Tolerance_Settings()
{
    d_tolerance_dialog->Save_Settings(d_settings);
}

void TQuillon::Make_Connections()
{
    connect(d_quit_action, &QAction::triggered, this, &QWidget::close);
    connect(d_measured_widget, &TMeasuredWidget::Load_Data, this, &TQuillon::Load_Data);
    connect(d_measured_widget, &TMeasuredWidget::Compare_Data, this, &TQuillon::Compare_Data);
    connect(d_point_graph_button, &QToolButton::toggled, this, &TQuillon::Toggle_Point_Graph_Type);
    connect(d_line_graph_button, &QToolButton::toggled, this, &TQuillon::Toggle_Line_Graph_Type);
    connect(d_folder_watcher, &QFileSystemWatcher::directoryChanged, this, &TQuillon::Folder_Changed);
    connect(d_folder_watcher, &QFileSystemWatcher::fileChanged, this, &TQuillon::Folder_Changed);
    connect(d_measured_widget, &TMeasuredWidget::File_Path_Changed, this,
            &TQuillon::Measure_File_Path_Changed);
    connect(d_measured_widget, &TMeasuredWidget::Remove_Data, this, &TQuillon::Remove_Data);
    connect(d_tolerance_button, &QToolButton::clicked, this, &TQuillon::Edit_Tolerance);
    connect(d_measured_widget, &TMeasuredWidget::File_List_Refreshed, this, &TQuillon::List_Refreshed);
    connect(d_refresh_timer, &QTimer::timeout, this, &TQuillon::Update_File_List);
    connect(d_create_nominal_button, &QPushButton::clicked, this, &TQuillon::Create_Nominal_Set);
    connect(d_nominal_widget, &TNominalWidget::Nominal_Saved, this, &TQuillon::Nominal_Set_Saved);
    Connect_Follow_Mode();
}

void TQuillon::Build_History_Dock()
{
    THistoryDock::TSources sources;
    sources.file = [this] { return d_current_file_path; };
    sources.folder = [this] { return d_measured_widget->Measurement_Folder(); };
    sources.tolerance = [this] { return d_tolerance_dialog->Tolerance(); };
    sources.nominals = &d_nominal_store;
    d_history = new THistoryDock(sources, d_settings, this);
    QDockWidget *dock = Create_Dock(this, "history_dock", tr("History"), d_history);
    dock->hide();
    QAction *show = dock->toggleViewAction();
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    // The View menu is the one that shows the other docks.
    for (QAction *menu : menuBar()->actions())
    {
        if (menu->menu() && menu->menu()->actions().contains(d_measured_dock->toggleViewAction()))
            menu->menu()->addAction(show);
    }
    statusBar()->addPermanentWidget(d_history->Progress_Bar());
    // A run from the history is shown as any file is; the measurement folder stays.
    connect(d_history, &THistoryDock::Show_Run, this,
            [this](const QString &path)
            {
                Load_Data(path);
                d_history->Refresh();
            });
    // Queued, so that the window has taken the new file on show first.
    connect(d_measured_widget, &TMeasuredWidget::Load_Data, d_history, &THistoryDock::Refresh,
            Qt::QueuedConnection);
    connect(d_measured_widget, &TMeasuredWidget::File_List_Refreshed, d_history, &THistoryDock::Refresh);
    connect(d_tolerance_dialog, &QDialog::accepted, d_history, &THistoryDock::Tolerance_Changed);
}

void TQuillon::Clear_Log()
{
    d_report_pane->clear();
}

void TQuillon::Add_Log_Text(const QString &text)
{
    d_report_pane->moveCursor(QTextCursor::End);
    d_report_pane->appendPlainText(text);
}

void TQuillon::Scroll_Log_Top()
{
    d_report_pane->moveCursor(QTextCursor::Start);
}

bool TQuillon::Open_Path(const QString &path)
{
    const QFileInfo info(path);
    const bool is_file =
        info.isFile() && info.fileName().endsWith(QLatin1String(".dat"), Qt::CaseInsensitive);
    if (!info.isDir() && !is_file)
        return false;

    TMeasuredWidget::TInputSettings settings = d_measured_widget->Input_Settings();
    settings.absolute_path = QDir::cleanPath(is_file ? info.absolutePath() : info.absoluteFilePath());
    settings.use_relative_path = false;
    d_measured_widget->Set_First_Start(false);
    d_measured_widget->Set_Input_Settings(settings);
    d_input_settings_temporary = true;
    Remember_Folder(settings.absolute_path);
    // A file the list does not show (a hidden one) is still shown when asked for by name.
    if (is_file && !d_measured_widget->Select_File(info.fileName()))
        Load_Data(info.absoluteFilePath());
    return true;
}

void TQuillon::Update_File_List()
{
    d_measured_widget->Refresh_File_List();
}

void TQuillon::Measure_File_Path_Changed()
{
    // The user chose the folder: it is stored at close from now on.
    d_input_settings_temporary = false;
    d_measured_widget->Set_First_Start(false);
    Remember_Folder(d_measured_widget->Intended_Folder());
    Watch_Measurement_Folder();
}

void TQuillon::Watch_Measurement_Folder()
{
    const QString folder = d_measured_widget->Measurement_Folder();
    if (!d_watched_folder.isEmpty() && folder != d_watched_folder &&
        d_folder_watcher->directories().contains(d_watched_folder))
        d_folder_watcher->removePath(d_watched_folder);
    d_watched_folder = folder;
    d_follow->Set_Folder(folder);
    // A folder that was deleted drops out of the watcher; once made again it is taken up here.
    if (!folder.isEmpty() && QFileInfo(folder).isDir() && !d_folder_watcher->directories().contains(folder))
        d_folder_watcher->addPath(folder);
}

void TQuillon::Folder_Changed()
{
    d_follow->Folder_Changed();
    // Started only when idle, so that a long burst still refreshes now and then.
    if (!d_refresh_timer->isActive())
        d_refresh_timer->start();
}

void TQuillon::Edit_Tolerance()
{
    // A cancelled dialog holds what it opened with, so nothing changes.
    if (d_tolerance_dialog->exec() == QDialog::Accepted)
        Present_Load();
}

void TQuillon::Toggle_Line_Graph_Type(bool state)
{
    {
        const QSignalBlocker blocker(d_point_graph_button);
        d_point_graph_button->setChecked(!state);
    }
    Present_Load();
}

void TQuillon::Toggle_Point_Graph_Type(bool state)
{
    {
        const QSignalBlocker blocker(d_line_graph_button);
        d_line_graph_button->setChecked(!state);
    }
    Present_Load();
}

void TQuillon::closeEvent(QCloseEvent *event)
{
    d_current_measurement.reset();
    if (!d_watched_folder.isEmpty() && d_folder_watcher->directories().contains(d_watched_folder))
        d_folder_watcher->removePath(d_watched_folder);
    if (!d_watched_file.isEmpty() && d_folder_watcher->files().contains(d_watched_file))
        d_folder_watcher->removePath(d_watched_file);
    d_refresh_timer->stop();

    d_settings->setValue(QStringLiteral("Mainwindow_Position"), pos());
    d_settings->setValue(QStringLiteral("Mainwindow_Size"), size());
    Save_Input_Settings();
    Save_Tolerance_Settings();
    d_settings->setValue(QStringLiteral("Follow_New_Files"), d_follow->Enabled());
    Save_View_Settings();
    QString error;
    if (!d_settings_file->Save(&error))
        qWarning("%s", qPrintable(CheckedFile::Failure_Text(d_settings_file->Path(), error)));
    event->accept();
}

// A drop is taken as a copy: a source that was asked to move would delete the file after the drop.
void TQuillon::dragEnterEvent(QDragEnterEvent *event)
{
    if (!Dropped_Path(event->mimeData()).isEmpty() && (event->possibleActions() & Qt::CopyAction))
    {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void TQuillon::dropEvent(QDropEvent *event)
{
    const QString path = Dropped_Path(event->mimeData());
    if (path.isEmpty() || !(event->possibleActions() & Qt::CopyAction))
        return;
    event->setDropAction(Qt::CopyAction);
    if (Open_Path(path))
        event->accept();
}
