#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every file the program writes goes through here, so that a full disk or a vanished folder can never
// leave a truncated file behind while reporting success, and so that no output replaces an input.
namespace CheckedFile
{
// Writes data to path. A regular file (or a new one) is replaced only by the complete data: it is
// written to a temporary file whose flush is checked before it takes the old one's place. An existing
// path that is not a regular file (a device, a FIFO) is written to directly and never replaced. A path
// that names one of the files in keep (after links are resolved) is refused. On failure the old file is
// untouched and *error says why, without the path.
bool Write(const QString &path, const QByteArray &data, QString *error, const QStringList &keep = {});

// True when both paths name the same file: the same device and inode for files that exist (so hard and
// symbolic links and ".." are seen through), otherwise the same absolute path after resolving the
// folder that would hold it.
bool Same_File(const QString &first, const QString &second);

// The message for a failed write, naming the file: "Cannot write '%1': %2".
QString Failure_Text(const QString &path, const QString &reason);
} // namespace CheckedFile
