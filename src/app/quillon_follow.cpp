#include "app/quillon.h"

#include "app/followmode.h"
#include "widgets/graphwidget.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace
{
const int NEW_FILE_MESSAGE_MS = 5000;
}

void TQuillon::Connect_Follow_Mode()
{
    d_follow->Watch_User(d_measured_widget->findChild<QListWidget *>(QStringLiteral("file_list")));
    d_follow->Watch_User(d_report_pane);
    d_follow->Watch_User(d_graph);
    connect(d_follow, &TFollowMode::File_Ready, this, &TQuillon::Show_New_File);
}

void TQuillon::Show_New_File(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    // A file that appeared may not be listed yet.
    d_measured_widget->Refresh_File_List();
    if (d_follow->User_Busy())
    {
        d_measured_widget->Mark_File(name);
        return;
    }
    if (!d_measured_widget->Select_File(name))
        return;
    // Selecting the file already selected loads nothing: its new contents are read here.
    if (d_comparing || d_current_file_path != path || !(d_file_stamp == TFileStamp::Of(path)))
        Load_Data(path);
    statusBar()->showMessage(tr("Showing new file %1").arg(name), NEW_FILE_MESSAGE_MS);
}
