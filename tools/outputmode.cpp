#include "tools/outputmode.h"

#include <QCoreApplication>

QString OutputMode::Conflict(const QCommandLineParser &parser, const char *mode,
                             std::initializer_list<const char *> others)
{
    if (!parser.isSet(QLatin1String(mode)))
        return QString();
    for (const char *option : others)
    {
        if (parser.isSet(QLatin1String(option)))
            return QCoreApplication::translate("QuillonReport", "--%1 cannot be used with --%2")
                .arg(QLatin1String(option), QLatin1String(mode));
    }
    return QString();
}
