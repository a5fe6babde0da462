#pragma once

#include <QCommandLineParser>
#include <QString>

#include <initializer_list>

// --summary and --compare print something other than the reports, so an option that asks for another
// output cannot go with them.
namespace OutputMode
{
// Empty when --MODE is not given or none of others is; otherwise the usage error for the first one given.
QString Conflict(const QCommandLineParser &parser, const char *mode,
                 std::initializer_list<const char *> others);
} // namespace OutputMode
