#pragma once

#include <QString>

// Where the measurement files are: a folder relative to the program's folder, or an absolute one.
struct TInputSettings
{
    QString relative_path;
    QString absolute_path;
    bool use_relative_path = false;
};
