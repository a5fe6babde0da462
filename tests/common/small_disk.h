#pragma once

// A folder on a 64 KiB tmpfs of its own, for writes that must meet a full disk. Mounting needs root;
// where it cannot be done, Mounted() is false and the test skips.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>

class TSmallDisk
{
  public:
    // On a folder of its own, or on the given existing folder.
    explicit TSmallDisk(const QString &at = QString()) : d_path(at.isEmpty() ? d_dir.path() : at)
    {
        d_mounted = d_dir.isValid() &&
                    ::mount("tmpfs", QFile::encodeName(d_path).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~TSmallDisk()
    {
        if (d_mounted)
            ::umount2(QFile::encodeName(d_path).constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk &) = delete;
    TSmallDisk &operator=(const TSmallDisk &) = delete;

    bool Mounted() const { return d_mounted; }
    QString Path(const QString &name) const { return QDir(d_path).filePath(name); }
    // Takes the space left, but for the given number of bytes.
    bool Fill(qint64 leave = 0) const
    {
        QFile filler(Path(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size())
        {
        }
        filler.close();
        if (leave > 0)
            filler.resize(qMax<qint64>(0, filler.size() - leave));
        return true;
    }

  private:
    QTemporaryDir d_dir;
    QString d_path;
    bool d_mounted = false;
};

#define QUILLON_NEED_SMALL_DISK(disk)                                                                        \
    if (!(disk).Mounted())                                                                                   \
    QSKIP("cannot mount a small tmpfs here (needs root)")
