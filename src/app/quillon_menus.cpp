// The window's orientation and desktop conventions: the line naming the file on show, opening folders and
// files, the recent folders, the help menu and the view state kept between runs.

#include "app/quillon.h"

#include "app/elidedlabel.h"
#include "app/signoffactions.h"
#include "quillon_version.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
TQuillon::TOpenNameFunction open_name_function;

// A short menu: the folders a metrologist moves between in a week.
const int RECENT_FOLDER_COUNT = 8;

const char RECENT_FOLDERS_KEY[] = "Recent_Folders";
const char POINT_STYLE_KEY[] = "Graph_Point_Style";
const char NOMINAL_DOCK_KEY[] = "Nominal_Dock_Visible";
const char MEASURED_DOCK_KEY[] = "Measured_Dock_Visible";
const char EXPORT_FOLDER_KEY[] = "Export_Folder";

bool Stored_Bool(const QSettings &settings, const char *key, bool fallback)
{
    const QString text = settings.value(QLatin1String(key)).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

QAction *Create_Action(QObject *parent, const char *name, const QString &text, const QKeySequence &key)
{
    QAction *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    return action;
}
} // namespace

void TQuillon::Set_Open_Name_Function(TOpenNameFunction function)
{
    open_name_function = std::move(function);
}

QString TQuillon::File_Path_Text() const
{
    if (d_current_file_path.isEmpty())
        return QString();
    const QString path = QDir::toNativeSeparators(d_current_file_path);
    switch (d_file_state)
    {
    case FILE_MOVED:
        return tr("%1: moved to old/%2").arg(path, d_moved_to);
    case FILE_DELETED:
        return tr("%1: deleted").arg(path);
    case FILE_ON_DISK:
        break;
    }
    const QString time = d_file_stamp.modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    // Files removed earlier are kept in the "old" sub-folder; one shown from there is not a current result.
    const bool in_old = QFileInfo(d_current_file_path).absoluteDir().dirName() == QLatin1String("old");
    return in_old ? tr("%1   modified %2   (in old)").arg(path, time)
                  : tr("%1   modified %2").arg(path, time);
}

void TQuillon::Build_File_Menu(QMenu *file_menu)
{
    d_open_folder_action =
        Create_Action(this, "open_folder_action", tr("Open &Folder..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    d_open_file_action = Create_Action(this, "open_file_action", tr("&Open File..."),
                                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    d_recent_menu = new QMenu(tr("&Recent Folders"), file_menu);
    d_recent_menu->setObjectName(QStringLiteral("recent_menu"));
    file_menu->addAction(d_open_folder_action);
    file_menu->addAction(d_open_file_action);
    file_menu->addMenu(d_recent_menu);
    file_menu->addSeparator();
    connect(d_open_folder_action, &QAction::triggered, this, &TQuillon::Open_Folder);
    connect(d_open_file_action, &QAction::triggered, this, &TQuillon::Open_File);
}

void TQuillon::Build_Help_Menu()
{
    QMenu *help_menu = menuBar()->addMenu(tr("&Help"));
    help_menu->setObjectName(QStringLiteral("help_menu"));
    QAction *shortcuts = Create_Action(this, "shortcuts_action", tr("&Keyboard Shortcuts"),
                                       QKeySequence(QKeySequence::HelpContents));
    // F1 on every platform, whatever the platform's own help key.
    if (shortcuts->shortcut() != QKeySequence(Qt::Key_F1))
        shortcuts->setShortcuts({QKeySequence(Qt::Key_F1), shortcuts->shortcut()});
    QAction *about = Create_Action(this, "about_action", tr("&About Quillon"), QKeySequence());
    help_menu->addAction(shortcuts);
    help_menu->addSeparator();
    help_menu->addAction(about);
    connect(shortcuts, &QAction::triggered, this, &TQuillon::Show_Shortcuts);
    connect(about, &QAction::triggered, this, &TQuillon::Show_About);
}

QString TQuillon::Ask_Open_Name(bool folder)
{
    QString start = d_measured_widget->Measurement_Folder();
    if (start.isEmpty())
        start = QDir::homePath();
    if (open_name_function)
        return open_name_function(folder, start);
    if (folder)
        return QFileDialog::getExistingDirectory(this, tr("Open Folder"), start, QFileDialog::ShowDirsOnly);
    return QFileDialog::getOpenFileName(this, tr("Open File"), start,
                                        tr("Measurement files (*.dat *.DAT);;All files (*)"));
}

void TQuillon::Open_Folder()
{
    const QString folder = Ask_Open_Name(true);
    // Chosen in the window, unlike a folder given for one run: it is the measurement folder from now on.
    if (!folder.isEmpty() && Open_Path(folder))
        d_input_settings_temporary = false;
}

void TQuillon::Open_File()
{
    const QString file = Ask_Open_Name(false);
    if (file.isEmpty())
        return;
    if (Open_Path(file))
        d_input_settings_temporary = false;
    else
        d_message_box->Warn(tr("%1 is not a measurement file.").arg(QDir::toNativeSeparators(file)),
                            tr("Measurement files end in .dat."));
}

void TQuillon::Remember_Folder(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QString clean = QDir::cleanPath(folder);
    d_recent_folders.removeAll(clean);
    d_recent_folders.prepend(clean);
    while (d_recent_folders.size() > RECENT_FOLDER_COUNT)
        d_recent_folders.removeLast();
    Update_Recent_Menu();
}

void TQuillon::Update_Recent_Menu()
{
    d_recent_menu->clear();
    for (int i = 0; i < d_recent_folders.size(); ++i)
    {
        const QString folder = d_recent_folders.at(i);
        QAction *action = d_recent_menu->addAction(tr("&%1  %2").arg(i + 1).arg(
            QDir::toNativeSeparators(folder).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        connect(action, &QAction::triggered, this,
                [this, folder]()
                {
                    if (Open_Path(folder))
                        d_input_settings_temporary = false;
                    else
                        d_message_box->Warn(tr("%1 does not exist").arg(QDir::toNativeSeparators(folder)),
                                            QString());
                });
    }
    d_recent_menu->addSeparator();
    QAction *clear = d_recent_menu->addAction(tr("&Clear"));
    clear->setObjectName(QStringLiteral("clear_recent_action"));
    clear->setEnabled(!d_recent_folders.isEmpty());
    connect(clear, &QAction::triggered, this,
            [this]()
            {
                d_recent_folders.clear();
                Update_Recent_Menu();
            });
}

void TQuillon::Restore_View_Settings()
{
    const QVariant recent = d_settings->value(QLatin1String(RECENT_FOLDERS_KEY));
    d_recent_folders.clear();
    for (const QString &folder : recent.toStringList())
    {
        if (!folder.isEmpty() && !d_recent_folders.contains(folder) &&
            d_recent_folders.size() < RECENT_FOLDER_COUNT)
            d_recent_folders.append(folder);
    }
    Update_Recent_Menu();
    if (!Stored_Bool(*d_settings, NOMINAL_DOCK_KEY, true))
        d_nominal_dock->hide();
    if (!Stored_Bool(*d_settings, MEASURED_DOCK_KEY, true))
        d_measured_dock->hide();
    d_signoff->Set_Last_Folder(d_settings->value(QLatin1String(EXPORT_FOLDER_KEY)).toString());
}

void TQuillon::Save_View_Settings()
{
    d_settings->setValue(QLatin1String(RECENT_FOLDERS_KEY), d_recent_folders);
    d_settings->setValue(QLatin1String(POINT_STYLE_KEY), d_point_graph_button->isChecked());
    // Open unless closed: a window that was never shown has docks that were never shown either.
    const auto open = [](const QDockWidget *dock)
    { return !dock->testAttribute(Qt::WA_WState_ExplicitShowHide) || !dock->isHidden(); };
    d_settings->setValue(QLatin1String(NOMINAL_DOCK_KEY), open(d_nominal_dock));
    d_settings->setValue(QLatin1String(MEASURED_DOCK_KEY), open(d_measured_dock));
    d_settings->setValue(QLatin1String(EXPORT_FOLDER_KEY), d_signoff->Last_Folder());
}

QString TQuillon::About_Text() const
{
    return tr("Quillon %1\n"
              "Viewer for the result files of coordinate measuring machine verification measurements.\n\n"
              "Qt %2 (built with Qt %3)\n"
              "Licence: free to use and share\n"
              "Programs: %4\n"
              "Settings and nominal sets: %5")
        .arg(QStringLiteral(QUILLON_VERSION), QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
             QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
             QDir::toNativeSeparators(d_settings_folder));
}

void TQuillon::Show_About()
{
    // Not modal to the event loop: open() returns at once.
    QMessageBox *box =
        new QMessageBox(QMessageBox::Information, tr("About Quillon"), About_Text(), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("about_box"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString TQuillon::Shortcuts_Text() const
{
    // The keys are written by Qt in the platform's notation.
    const auto key = [](const QKeySequence &sequence) { return sequence.toString(QKeySequence::NativeText); };
    const QList<QPair<QString, QString>> rows = {
        {key(d_open_folder_action->shortcut()), tr("Open a measurement folder")},
        {key(d_open_file_action->shortcut()), tr("Open a measurement file")},
        {key(d_signoff->Export_Pdf_Action()->shortcut()), tr("Export the report as PDF")},
        {key(d_signoff->Print_Action()->shortcut()), tr("Print the report")},
        {key(d_signoff->Save_Graph_Action()->shortcut()), tr("Save the graph as an image or PDF")},
        {key(d_signoff->Copy_Report_Action()->shortcut()), tr("Copy the report (or the selected text)")},
        {key(d_signoff->Copy_Graph_Action()->shortcut()), tr("Copy the graph as an image")},
        {key(d_signoff->Copy_Graph_Data_Action()->shortcut()), tr("Copy the graph's data as a table")},
        {key(QKeySequence(QKeySequence::Delete)), tr("Remove the selected files (in the file list)")},
        {key(QKeySequence(Qt::Key_F1)), tr("Show this list")},
        {key(d_quit_action->shortcut()), tr("Quit")},
        {tr("+ / -"), tr("Graph: zoom in or out about the centre")},
        {tr("0 or Home"), tr("Graph: show all data")},
        {tr("Arrow keys"), tr("Graph: move the view")},
        {tr("Mouse wheel"), tr("Graph: zoom about the pointer")},
        {tr("Left drag"), tr("Graph: zoom into a box")},
        {tr("Right drag / right click"), tr("Graph: move the view / zoom out")},
    };
    QStringList lines;
    for (const auto &row : rows)
        lines << tr("%1\t%2").arg(row.first, row.second);
    return lines.join(QLatin1Char('\n'));
}

void TQuillon::Show_Shortcuts()
{
    if (QDialog *open = findChild<QDialog *>(QStringLiteral("shortcuts_dialog")))
    {
        open->raise();
        open->activateWindow();
        return;
    }
    QDialog *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("shortcuts_dialog"));
    dialog->setWindowTitle(tr("Keyboard Shortcuts"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QVBoxLayout *layout = new QVBoxLayout(dialog);
    QString rows;
    for (const QString &line : Shortcuts_Text().split(QLatin1Char('\n')))
    {
        const QStringList cells = line.split(QLatin1Char('\t'));
        rows += QStringLiteral("<tr><td><b>%1</b></td><td>&nbsp;&nbsp;%2</td></tr>")
                    .arg(cells.value(0).toHtmlEscaped(), cells.value(1).toHtmlEscaped());
    }
    QLabel *table = new QLabel(QStringLiteral("<table>%1</table>").arg(rows), dialog);
    table->setTextFormat(Qt::RichText);
    layout->addWidget(table);
    QDialogButtonBox *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->show();
}
