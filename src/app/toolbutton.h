#pragma once

#include <QIcon>
#include <QToolButton>

// The icon-only square buttons of the window's tool bar and of the two docks.
inline QToolButton *Create_Tool_Button(QWidget *parent, const char *name, const QString &icon,
                                       const QString &tip, int size)
{
    QToolButton *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(size, size);
    button->setIconSize(QSize(size, size));
    button->setIcon(QIcon(icon));
    button->setToolTip(tip);
    return button;
}
