#include "base/checkedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace
{
// Gives the messages of this file a translation context that lupdate can see.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(CheckedFile)
};

// The path with its folder resolved (links, "..") so that a file not yet made compares equal to another
// spelling of the same name.
QString Resolved(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

// Writes all of data and checks that it left the process's buffers; a full disk shows up here at the
// latest, never after a commit.
bool Put(QFileDevice *file, const QByteArray &data, QString *error)
{
    errno = 0;
    if (file->write(data) == data.size() && file->flush() && file->error() == QFileDevice::NoError)
        return true;
    // Qt loses the system's reason when a buffered write fails in the flush.
    *error = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file->errorString();
    return false;
}

bool Write_Direct(const QString &path, const QByteArray &data, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = file.errorString();
        return false;
    }
    if (!Put(&file, data, error))
        return false;
    file.close();
    return true;
}

bool Write_Replacing(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = file.errorString();
        return false;
    }
    if (!Put(&file, data, error))
    {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
    {
        *error = file.errorString();
        return false;
    }
    return true;
}
} // namespace

namespace CheckedFile
{
bool Same_File(const QString &first, const QString &second)
{
    struct stat a = {};
    struct stat b = {};
    const bool first_exists = ::stat(QFile::encodeName(first).constData(), &a) == 0;
    const bool second_exists = ::stat(QFile::encodeName(second).constData(), &b) == 0;
    if (first_exists && second_exists)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    return first_exists == second_exists && Resolved(first) == Resolved(second);
}

QString Failure_Text(const QString &path, const QString &reason)
{
    return Text::tr("Cannot write '%1': %2").arg(path, reason);
}

bool Write(const QString &path, const QByteArray &data, QString *error, const QStringList &keep)
{
    QString reason;
    if (error == nullptr)
        error = &reason;
    if (path.isEmpty())
    {
        *error = Text::tr("no file name");
        return false;
    }
    for (const QString &input : keep)
    {
        if (!input.isEmpty() && Same_File(path, input))
        {
            *error = Text::tr("it is a file that was read, which is never replaced");
            return false;
        }
    }
    const QFileInfo info(path);
    if (info.isDir())
    {
        *error = Text::tr("it is a folder");
        return false;
    }
    // A device or a FIFO is the destination itself: replacing it by a regular file would break it.
    if (info.exists() && !info.isFile())
        return Write_Direct(path, data, error);
    return Write_Replacing(path, data, error);
}
} // namespace CheckedFile
