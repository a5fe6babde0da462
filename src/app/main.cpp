#include "commandline.h"
#include "quillon.h"
#include "quillon_version.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include <cstdio>

namespace
{
void Print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}
} // namespace

int main(int argc, char *argv[])
{
    // Help and version are answered before the application object, which needs a display.
    QStringList raw_arguments;
    for (int i = 1; i < argc; ++i)
        raw_arguments.append(QString::fromLocal8Bit(argv[i]));
    const TCommandLine early = TCommandLine::Parse(raw_arguments);
    if (early.action == TCommandLine::ACTION_HELP)
    {
        Print(stdout, TCommandLine::Usage());
        return 0;
    }
    if (early.action == TCommandLine::ACTION_VERSION)
    {
        Print(stdout, TCommandLine::Version());
        return 0;
    }

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLON_APPLICATION_ID));
    // Parsed again without the options the application object took for itself.
    const TCommandLine command_line = TCommandLine::Parse(QCoreApplication::arguments().mid(1));
    if (command_line.action == TCommandLine::ACTION_USAGE_ERROR)
    {
        Print(stderr, command_line.message + TCommandLine::Usage());
        return 2;
    }
    if (!command_line.message.isEmpty())
        Print(stderr, command_line.message);

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillon.png")));

    TQuillon *window = new TQuillon;
    if (!command_line.path.isEmpty())
        window->Open_Path(command_line.path);
    window->show();
    const int result = application.exec();
    delete window;
    return result;
}
