#include "fileremoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
// A dangling link counts too: moving onto it would replace it.
bool Taken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
} // namespace

QString FileRemoval::Old_Folder(const QString &folder)
{
    return folder + QStringLiteral("/old");
}

bool FileRemoval::Prepare_Old_Folder(const QString &folder)
{
    const QString old_folder = Old_Folder(folder);
    if (!QFileInfo::exists(old_folder) && !QDir(folder).mkdir(QStringLiteral("old")))
        return false;
    const QFileInfo info(old_folder);
    return info.isDir() && info.isWritable();
}

QString FileRemoval::Numbered_Target(const QString &folder, const QString &name, int n)
{
    QString target_name = name;
    if (n > 0)
    {
        // The dot is looked for in the name only: a dot in a folder name must not take the number.
        const QString suffix = QStringLiteral(" - ") + QString::number(n);
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            target_name.insert(dot, suffix);
        else
            target_name.append(suffix);
    }
    return Old_Folder(folder) + QLatin1Char('/') + target_name;
}

FileRemoval::TResult FileRemoval::Move_To_Old(const QString &folder, const QString &name, QString *target)
{
    const QString source = folder + QLatin1Char('/') + name;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || !Taken(source))
        return RESULT_SOURCE_MISSING;

    int n = 0;
    // A few extra rounds for names that another program takes between the check and the move.
    for (int races = 0; races < 100;)
    {
        const QString candidate = Numbered_Target(folder, name, n++);
        if (Taken(candidate))
            continue;
        // QFile::rename never replaces an existing file.
        if (QFile::rename(source, candidate))
        {
            if (target)
                *target = candidate;
            return RESULT_MOVED;
        }
        if (!Taken(source))
            return RESULT_SOURCE_MISSING;
        if (!Taken(candidate))
            return RESULT_FAILED;
        ++races;
    }
    return RESULT_FAILED;
}
