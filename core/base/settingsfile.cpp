#include "base/settingsfile.h"

#include "base/checkedfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace
{
// Larger than any settings file of ours; a bigger file is not read rather than held in memory.
constexpr qint64 LARGEST_SETTINGS_FILE = 1024 * 1024;

// Gives the messages of this file a translation context that lupdate can see.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(TSettingsFile)
};
} // namespace

TSettingsFile::TSettingsFile(const QString &path) : d_path(path)
{
    const QString copy = d_copy_folder.filePath(QStringLiteral("settings.ini"));
    const QFileInfo info(path);
    if (info.isFile() && info.size() <= LARGEST_SETTINGS_FILE)
    {
        QFile original(path);
        QFile target(copy);
        if (original.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly))
            target.write(original.readAll());
    }
    d_settings = std::make_unique<QSettings>(copy, QSettings::IniFormat);
}

bool TSettingsFile::Save(QString *error)
{
    const QFileInfo info(d_path);
    if (info.exists() && !info.isFile())
    {
        *error = Text::tr("it is not a regular file");
        return false;
    }
    d_settings->sync();
    QFile copy(d_settings->fileName());
    // A format error only means the old file was not understood; it is replaced all the same.
    if (d_settings->status() == QSettings::AccessError || !copy.open(QIODevice::ReadOnly))
    {
        *error = Text::tr("the settings could not be prepared");
        return false;
    }
    return CheckedFile::Write(d_path, copy.readAll(), error);
}
