#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The INI settings file, read at start and written at close through the checked writer. QSettings works
// on a private copy, so it never opens the real path itself: a FIFO or a device there can neither hang
// the start nor be replaced, and a full disk keeps the old file.
class TSettingsFile
{
  public:
    explicit TSettingsFile(const QString &path);

    QSettings *Settings() const { return d_settings.get(); }
    const QString &Path() const { return d_path; }
    // Writes the values to the real path. False, with the reason in *error, when it could not be written;
    // only a regular file (or none) is ever written.
    bool Save(QString *error);

  private:
    QString d_path;
    QTemporaryDir d_copy_folder;
    std::unique_ptr<QSettings> d_settings;
};
