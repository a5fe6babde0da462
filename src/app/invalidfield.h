#pragma once

#include <QString>
#include <QWidget>

// Both dialogs mark a field whose text cannot be used, and the notice saying why, in this one colour.
inline void Mark_Valid(QWidget *field, bool valid)
{
    field->setStyleSheet(valid ? QString() : QStringLiteral("background-color: rgb(255, 151, 160);"));
}
