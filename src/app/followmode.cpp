#include "app/followmode.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QTimer>

TFollowMode::TFollowMode(QObject *parent, QMenu *menu) : QObject(parent)
{
    d_action = menu->addAction(tr("Follow New Files"));
    d_action->setObjectName(QStringLiteral("follow_action"));
    d_action->setCheckable(true);
    d_timer = new QTimer(this);
    d_timer->setInterval(POLL_MS);
    connect(d_timer, &QTimer::timeout, this, &TFollowMode::Poll);
    connect(d_action, &QAction::toggled, this, &TFollowMode::Set_Enabled);
}

void TFollowMode::Set_Enabled(bool enabled)
{
    d_action->setChecked(enabled);
    if (enabled == d_timer->isActive())
        return;
    d_pending.clear();
    if (enabled)
    {
        // What is there when following starts has been seen.
        d_known = Scan();
        d_timer->start();
    }
    else
        d_timer->stop();
}

bool TFollowMode::Enabled() const
{
    return d_action->isChecked();
}

void TFollowMode::Set_Folder(const QString &folder)
{
    if (folder == d_folder)
        return;
    d_folder = folder;
    d_pending.clear();
    d_known = Scan();
}

void TFollowMode::Watch_User(QWidget *widget)
{
    widget->installEventFilter(this);
    if (QAbstractScrollArea *area = qobject_cast<QAbstractScrollArea *>(widget))
        area->viewport()->installEventFilter(this);
}

bool TFollowMode::User_Busy() const
{
    return d_user_clock.isValid() && d_user_clock.elapsed() < HANDS_OFF_MS;
}

bool TFollowMode::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        User_Acted();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

QHash<QString, TFileStamp> TFollowMode::Scan() const
{
    QHash<QString, TFileStamp> stamps;
    if (d_folder.isEmpty())
        return stamps;
    const QStringList names = QDir(d_folder).entryList(QDir::Files);
    for (const QString &name : names)
    {
        if (name.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
            stamps.insert(name, TFileStamp::Of(d_folder + QLatin1Char('/') + name));
    }
    return stamps;
}

void TFollowMode::Poll()
{
    QHash<QString, TFileStamp> now;
    const bool scan = d_scan_due || !d_scan_clock.isValid() || d_scan_clock.elapsed() >= SCAN_MS;
    if (scan)
    {
        now = Scan();
        d_scan_due = false;
        d_scan_clock.start();
        for (auto it = now.cbegin(); it != now.cend(); ++it)
        {
            if (d_known.value(it.key()) == it.value())
                continue;
            // New or changed since the last look: quiet from now on, or not yet.
            TPending &pending = d_pending[it.key()];
            pending.stamp = it.value();
            pending.quiet.start();
        }
        d_known = now;
    }
    QStringList ready;
    for (auto it = d_pending.begin(); it != d_pending.end();)
    {
        const QString path = d_folder + QLatin1Char('/') + it.key();
        const TFileStamp stamp = scan ? now.value(it.key()) : TFileStamp::Of(path);
        if (!stamp.exists)
        {
            it = d_pending.erase(it);
            continue;
        }
        if (stamp != it->stamp)
        {
            it->stamp = stamp;
            it->quiet.start();
            d_known.insert(it.key(), stamp);
            ++it;
        }
        else if (it->quiet.elapsed() >= QUIET_MS)
        {
            it = d_pending.erase(it);
            ready.append(path);
        }
        else
            ++it;
    }
    // After the walk: showing a file may change what is pending.
    for (const QString &path : ready)
        emit File_Ready(path);
}
