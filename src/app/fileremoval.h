#pragma once

#include <QString>

// Moves measurement files into the sub-folder "old" of their folder without ever replacing a file
// there: a name already taken gets " - 1", " - 2", ... before its extension.
namespace FileRemoval
{
enum TResult
{
    RESULT_MOVED,
    RESULT_SOURCE_MISSING, // gone meanwhile: nothing to do
    RESULT_FAILED          // the source is still in place
};

// Makes folder/old when missing. False when it cannot be made, is not a folder or cannot take files.
bool Prepare_Old_Folder(const QString &folder);
QString Old_Folder(const QString &folder);

// The base target with the collision number n inserted before the name's last "." (or appended).
QString Numbered_Target(const QString &folder, const QString &name, int n);

// Moves folder/name to the first free target. *target receives the path used when moved. A move that
// fails for another reason than a name taken meanwhile leaves no copy behind and gives its *reason.
TResult Move_To_Old(const QString &folder, const QString &name, QString *target = nullptr,
                    QString *reason = nullptr);
} // namespace FileRemoval
