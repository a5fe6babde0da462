#include "quillon.h"

#include "fileremoval.h"
#include "messagebox.h"

void TQuillon::Remove_Data(const QString &folder, const QStringList &names)
{
    if (folder.isEmpty() || names.isEmpty())
        return;
    d_message_box->setText(QStringLiteral("Remove Measured Files"));
    d_message_box->setInformativeText(QStringLiteral("Do you want to remove selected measurement files ?"));
    d_message_box->setDetailedText(
        QStringLiteral("Measurement files are not deleted but moved to the 'old' folder"));
    d_message_box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    d_message_box->setDefaultButton(QMessageBox::Yes);
    d_message_box->setIcon(QMessageBox::Warning);
    if (d_message_box->exec() != QMessageBox::Yes)
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
        const FileRemoval::TResult result = FileRemoval::Move_To_Old(folder, name);
        if (result == FileRemoval::RESULT_FAILED)
            Report_Removal_Error(folder + QLatin1Char('/') + name);
        moved = moved || result == FileRemoval::RESULT_MOVED;
    }
    // Also when the folder could not be watched.
    if (moved)
        Update_File_List();
}

void TQuillon::Report_Removal_Error(const QString &path)
{
    d_message_box->setText(QStringLiteral("Remove Error"));
    d_message_box->setInformativeText(QStringLiteral("Unable to remove the selected file."));
    d_message_box->setDetailedText(path);
    d_message_box->setStandardButtons(QMessageBox::Ok);
    d_message_box->setDefaultButton(QMessageBox::Ok);
    d_message_box->setIcon(QMessageBox::Warning);
    d_message_box->exec();
}
