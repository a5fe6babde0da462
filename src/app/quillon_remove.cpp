#include "app/quillon.h"

#include "app/fileremoval.h"
#include "widgets/messagebox.h"

#include <QFileInfo>

void TQuillon::Remove_Data(const QString &folder, const QStringList &names)
{
    if (folder.isEmpty() || names.isEmpty())
        return;
    if (d_message_box->Warn(tr("Remove Measured Files"),
                            tr("Do you want to remove selected measurement files ?"),
                            tr("Measurement files are not deleted but moved to the 'old' folder"),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;

    // Every move would fail the same way: say so once.
    if (!FileRemoval::Prepare_Old_Folder(folder))
    {
        Report_Removal_Error(FileRemoval::Old_Folder(folder));
        return;
    }
    bool moved = false;
    for (const QString &name : names)
    {
        QString target;
        QString reason;
        const FileRemoval::TResult result = FileRemoval::Move_To_Old(folder, name, &target, &reason);
        // The file on show keeps its view; the status bar names where it went.
        if (result == FileRemoval::RESULT_MOVED && folder + QLatin1Char('/') + name == Current_File_Path())
            d_moved_to = QFileInfo(target).fileName();
        moved = moved || result == FileRemoval::RESULT_MOVED;
        // The next moves would most likely fail alike (a full disk): one message, and stop.
        if (result == FileRemoval::RESULT_FAILED)
        {
            Report_Removal_Error(tr("%1\n\n%2").arg(folder + QLatin1Char('/') + name, reason));
            break;
        }
    }
    // Also when the folder could not be watched.
    if (moved)
        Update_File_List();
}

void TQuillon::Report_Removal_Error(const QString &path)
{
    d_message_box->Warn(tr("Remove Error"), tr("Unable to remove the selected file."), path);
}
