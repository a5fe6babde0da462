#pragma once

#include "model/runsummary.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QTimer;

// Follows the measuring machine: a .dat file that appears or changes in the measurement folder is
// reported once its size and modification time have stayed the same for a while, so that a file the
// machine writes in pieces is never taken half-written.
class TFollowMode : public QObject
{
    Q_OBJECT

  public:
    static constexpr int QUIET_MS = 500;
    static constexpr int POLL_MS = 100;
    // A folder of thousands of files is looked through this often; the files being written every poll.
    static constexpr int SCAN_MS = 1000;
    // The user's own looking around (a selection, a scroll, a zoom) keeps the view this long.
    static constexpr int HANDS_OFF_MS = 10000;

    // Adds the checkable "Follow New Files" entry to menu.
    TFollowMode(QObject *parent, QMenu *menu);

    void Set_Enabled(bool enabled);
    bool Enabled() const;
    // The folder to follow; the files in it now are taken as seen.
    void Set_Folder(const QString &folder);
    // Watches the widget (and its viewport, for scroll areas) for the user's clicks, keys and wheel.
    void Watch_User(QWidget *widget);
    // The folder's entries changed: looked through at the next poll.
    void Folder_Changed() { d_scan_due = true; }
    void User_Acted() { d_user_clock.start(); }
    bool User_Busy() const;

    QAction *Action() const { return d_action; }

  signals:
    // A new or changed file that has stayed unchanged for QUIET_MS.
    void File_Ready(const QString &path);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct TPending
    {
        TFileStamp stamp;
        QElapsedTimer quiet;
    };

    QHash<QString, TFileStamp> Scan() const;
    void Poll();

    QAction *d_action;
    QTimer *d_timer;
    QString d_folder;
    QHash<QString, TFileStamp> d_known;
    QHash<QString, TPending> d_pending;
    QElapsedTimer d_user_clock;
    QElapsedTimer d_scan_clock;
    bool d_scan_due = true;
};
