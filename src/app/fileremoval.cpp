#include "app/fileremoval.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
enum TStep
{
    STEP_DONE,
    STEP_NAME_TAKEN, // another program took the target meanwhile: try the next name
    STEP_FAILED      // nothing changed: the source is in place and no copy is left
};

QString System_Reason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

// Copies a regular file into a target that must not exist yet; on any failure the partial copy goes.
TStep Copy_Across(const QString &source, const QString &target, QString *reason)
{
    const int in = ::open(Native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
    {
        *reason = System_Reason();
        return STEP_FAILED;
    }
    struct stat info = {};
    const int out = ::fstat(in, &info) == 0 && S_ISREG(info.st_mode)
                        ? ::open(Native(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)
                        : -1;
    if (out < 0)
    {
        const bool taken = errno == EEXIST;
        *reason = S_ISREG(info.st_mode) ? System_Reason()
                                        : QCoreApplication::translate("FileRemoval", "not a regular file");
        ::close(in);
        return taken ? STEP_NAME_TAKEN : STEP_FAILED;
    }
    char buffer[65536];
    bool copied = true;
    for (ssize_t got; copied && (got = ::read(in, buffer, sizeof buffer)) != 0;)
    {
        copied = got > 0;
        for (ssize_t done = 0; copied && done < got;)
        {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            copied = put > 0;
            done += put;
        }
    }
    copied = copied && ::fsync(out) == 0;
    if (!copied)
        *reason = System_Reason();
    copied = ::close(out) == 0 && copied;
    ::close(in);
    if (copied && ::unlink(Native(source).constData()) == 0)
        return STEP_DONE;
    if (copied)
        *reason = System_Reason();
    ::unlink(Native(target).constData());
    return STEP_FAILED;
}

// A hard link never replaces a file; across file systems (or where links are not supported) the data
// is copied instead.
TStep Move(const QString &source, const QString &target, QString *reason)
{
    if (::link(Native(source).constData(), Native(target).constData()) == 0)
    {
        if (::unlink(Native(source).constData()) == 0)
            return STEP_DONE;
        *reason = System_Reason();
        ::unlink(Native(target).constData());
        return STEP_FAILED;
    }
    if (errno == EEXIST)
        return STEP_NAME_TAKEN;
    if (errno == EXDEV || errno == EPERM || errno == EOPNOTSUPP)
        return Copy_Across(source, target, reason);
    *reason = System_Reason();
    return STEP_FAILED;
}

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

FileRemoval::TResult FileRemoval::Move_To_Old(const QString &folder, const QString &name, QString *target,
                                              QString *reason)
{
    const QString source = folder + QLatin1Char('/') + name;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || !Taken(source))
        return RESULT_SOURCE_MISSING;

    QString unused;
    if (reason == nullptr)
        reason = &unused;
    int n = 0;
    // A few extra rounds for names that another program takes between the check and the move.
    for (int races = 0; races < 100;)
    {
        const QString candidate = Numbered_Target(folder, name, n++);
        if (Taken(candidate))
            continue;
        const TStep step = Move(source, candidate, reason);
        if (step == STEP_DONE)
        {
            if (target)
                *target = candidate;
            return RESULT_MOVED;
        }
        if (!Taken(source))
            return RESULT_SOURCE_MISSING;
        if (step == STEP_FAILED)
            return RESULT_FAILED;
        ++races;
    }
    *reason = QCoreApplication::translate("FileRemoval", "no free name in the 'old' folder");
    return RESULT_FAILED;
}
