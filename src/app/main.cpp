#include "app/commandline.h"
#include "app/quillon.h"
#include "quillon_version.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace
{
void Print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The platform's notes while the application object is made; shown afterwards only when it was made.
QStringList startup_notes;

// Without a display Qt stops the program with an abort and several lines; one line and status 1 say it.
void Startup_Message(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg)
    {
        startup_notes.append(message);
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    Print(stderr,
          display.isEmpty()
              ? QCoreApplication::translate("main", "quillon: no display to open: DISPLAY is not set\n")
              : QCoreApplication::translate("main", "quillon: cannot open the display '%1'\n")
                    .arg(QString::fromLocal8Bit(display)));
    std::fflush(stderr);
    std::_Exit(1);
}

// With QUILLON_FIRST_PAINT_NOTE set, one line on standard error when the window first paints, for the
// start-up benchmark; a machine-read marker, not a message.
class TFirstPaintNote : public QObject
{
  protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
        {
            std::fputs("quillon: first paint\n", stderr);
            std::fflush(stderr);
            object->removeEventFilter(this);
        }
        return false;
    }
};
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

#ifdef __GLIBC__
    // Loading one file after another frees and takes back a few megabytes; returned to the system at
    // once, they come back as fresh pages, which took longer than the parse itself.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    // Fixing one threshold stops glibc from raising the other: the text of a file would be mapped afresh.
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
#endif
    // The viewer paints without OpenGL; the X platform would otherwise load the GL driver for the
    // first window, more than half of the time to the first paint. A value the user set is kept.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    const QtMessageHandler previous_handler = qInstallMessageHandler(Startup_Message);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous_handler);
    for (const QString &note : startup_notes)
        qWarning("%s", qPrintable(note));
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
    TFirstPaintNote first_paint_note;
    if (qEnvironmentVariableIsSet("QUILLON_FIRST_PAINT_NOTE"))
        window->installEventFilter(&first_paint_note);
    window->show();
    const int result = application.exec();
    delete window;
    return result;
}
