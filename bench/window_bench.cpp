// Times the viewer window: its start to the first paint with the resident memory then, and the path
// from choosing a file to its report and graph painted, for every example file and for a file just
// under the largest accepted size of each kind. Offscreen unless QT_QPA_PLATFORM says otherwise; the
// settings go to a temporary home folder. Prints medians; it is a benchmark, not a test.
//
//   window_bench [--runs N] [--start-only] [--kind NAME]
//
// --start-only stops after the first paint, so that the whole process can be timed from outside;
// --kind times only the 256 KiB file of that kind, for a profiler.

#include "app/quillon.h"
#include "bench/bench_files.h"
#include "model/measurementload.h"
#include "widgets/graphwidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{
QElapsedTimer g_clock;

// The offscreen platform warns about every window geometry change; the figures matter here.
void Quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The example nominal sets in the settings folder, so that the step gauge files show their reports.
void Copy_Nominal_Sets(const QString &home, const QString &examples)
{
    const QString target = home + QStringLiteral("/.corvane/Nominal_Data/");
    QDir().mkpath(target);
    const QDir source(examples + QStringLiteral("Nominal_Data"));
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), target + name);
}

// Notes the first paint of each watched widget after Reset.
class TPaintWatch : public QObject
{
  public:
    void Watch(QWidget *widget)
    {
        widget->installEventFilter(this);
        d_widgets.push_back(widget);
    }
    void Reset() { d_painted.clear(); }
    // Every watched widget that is visible has painted.
    bool All_Painted() const
    {
        for (QWidget *widget : d_widgets)
        {
            if (widget->isVisible() &&
                std::find(d_painted.begin(), d_painted.end(), widget) == d_painted.end())
                return false;
        }
        return true;
    }

  protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            d_painted.push_back(object);
        return false;
    }

  private:
    std::vector<QWidget *> d_widgets;
    std::vector<QObject *> d_painted;
};

// Processes events until the watched widgets have painted; false after a second without.
bool Wait_For_Paint(const TPaintWatch &watch)
{
    QElapsedTimer timer;
    timer.start();
    while (!watch.All_Painted())
    {
        if (timer.elapsed() > 1000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Kibibytes of a line of /proc/self/status such as "VmRSS:".
long Status_Kib(const char *key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n'))
    {
        if (line.startsWith(key))
            return line.mid(static_cast<int>(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Processor time of the process, which a busy machine stretches less than the clock.
double Processor_Ms()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct TTimes
{
    double wall = 0.0;
    double processor = 0.0;
};

// Milliseconds from asking the window for the file (or, with second, two files together) to its report
// pane and graph painted.
TTimes Click_To_Shown(TQuillon &window, TPaintWatch &watch, const QString &path, const QString &second = {})
{
    watch.Reset();
    QElapsedTimer timer;
    timer.start();
    const double processor = Processor_Ms();
    if (second.isEmpty())
        window.Load_Data(path);
    else
        window.Compare_Data(path, second);
    if (!Wait_For_Paint(watch))
    {
        std::fprintf(stderr, "%s was not painted\n", qPrintable(path));
        std::exit(1);
    }
    return {timer.nsecsElapsed() / 1e6, Processor_Ms() - processor};
}

// Two runs of a 256 KiB step gauge file shown together against one of them alone.
void Bench_Comparison(TQuillon &window, TPaintWatch &watch, const QString &first, const QString &second,
                      const QString &other, int runs)
{
    std::vector<double> one[2];
    std::vector<double> two[2];
    for (int run = 0; run < runs; ++run)
    {
        Click_To_Shown(window, watch, other);
        const TTimes single = Click_To_Shown(window, watch, first);
        Click_To_Shown(window, watch, other);
        const TTimes together = Click_To_Shown(window, watch, first, second);
        one[0].push_back(single.wall);
        one[1].push_back(single.processor);
        two[0].push_back(together.wall);
        two[1].push_back(together.processor);
    }
    const bool compared =
        window.findChild<QPlainTextEdit *>()->toPlainText().startsWith(QLatin1String("Comparison"));
    std::printf("\ntwo 256 KiB step gauge files shown together against one, median of %d runs\n", runs);
    std::printf("one: %.2f ms (processor %.2f ms); two together: %.2f ms (processor %.2f ms); ratio %.2f%s\n",
                Median(one[0]), Median(one[1]), Median(two[0]), Median(two[1]),
                Median(two[0]) / Median(one[0]), compared ? "" : " (not compared)");
}

void Bench_Files(TQuillon &window, TPaintWatch &watch, const QStringList &paths, int runs)
{
    for (const QString &path : paths)
    {
        std::vector<double> wall;
        std::vector<double> processor;
        for (int run = 0; run < runs; ++run)
        {
            // Another file in between, so that every run shows the file afresh.
            Click_To_Shown(window, watch, paths.value(paths.indexOf(path) == 0 ? 1 : 0));
            const TTimes times = Click_To_Shown(window, watch, path);
            wall.push_back(times.wall);
            processor.push_back(times.processor);
        }
        std::printf("%-36s %7lld %8.2f %8.2f  %s\n", qPrintable(QFileInfo(path).fileName()),
                    static_cast<long long>(QFileInfo(path).size()), Median(wall), Median(processor),
                    window.findChild<QPlainTextEdit *>()->toPlainText().startsWith(QLatin1String("ERR"))
                        ? "(error line)"
                        : "");
        std::fflush(stdout);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    g_clock.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString examples = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");
    Copy_Nominal_Sets(home.path(), examples);
    qInstallMessageHandler(Quiet);

    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
    const QStringList arguments = QCoreApplication::arguments();
    const int runs_index = arguments.indexOf(QStringLiteral("--runs"));
    const int runs = runs_index > 0 ? std::max(1, arguments.value(runs_index + 1).toInt()) : 21;

    TQuillon window;
    TPaintWatch watch;
    watch.Watch(&window);
    window.show();
    if (!Wait_For_Paint(watch))
        return 1;
    const double start_ms = g_clock.nsecsElapsed() / 1e6;
    std::printf("start to first paint: %.1f ms from main; resident %.1f MB (peak %.1f MB)\n", start_ms,
                Status_Kib("VmRSS:") / 1024.0, Status_Kib("VmHWM:") / 1024.0);
    std::fflush(stdout);
    if (arguments.contains(QStringLiteral("--start-only")))
        return 0;

    TPaintWatch shown;
    shown.Watch(window.findChild<QPlainTextEdit *>()->viewport());
    shown.Watch(window.findChild<TGraphWidget *>());

    QStringList example_paths;
    for (const QString &name : QDir(examples).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name))
        example_paths.append(examples + name);
    std::printf("\nclick to shown (load, report pane and graph painted), median of %d runs: clock ms, "
                "processor ms\n",
                runs);
    const int kind_index = arguments.indexOf(QStringLiteral("--kind"));
    const QString only_kind = kind_index > 0 ? arguments.value(kind_index + 1) : QString();
    if (only_kind.isEmpty())
        Bench_Files(window, shown, example_paths, runs);

    QStringList large_paths;
    for (const TKind &kind : BenchFiles::Kinds())
    {
        if (!only_kind.isEmpty() && only_kind != QLatin1String(kind.name) && !large_paths.isEmpty())
            continue;
        const QString path = home.filePath(QLatin1String(kind.name) + QStringLiteral(".dat"));
        QFile file(path);
        const QByteArray data = BenchFiles::Generate(
            kind, BenchFiles::Read(examples + QLatin1String(kind.example) + QStringLiteral(".dat")),
            MeasurementLoad::LARGEST_FILE_SIZE - 1);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return 2;
        large_paths.append(path);
    }
    std::printf("\nthe same for a file just under 256 KiB\n");
    if (!only_kind.isEmpty())
    {
        Bench_Files(window, shown, large_paths, runs);
        return 0;
    }
    Bench_Files(window, shown, large_paths, runs);
    const QString second_run = home.filePath(QStringLiteral("stepgauge_second_run.dat"));
    QFile::copy(large_paths.value(0), second_run);
    Bench_Comparison(window, shown, large_paths.value(0), second_run, large_paths.value(1), runs);
    std::printf("\nresident %.1f MB (peak %.1f MB) after all loads\n", Status_Kib("VmRSS:") / 1024.0,
                Status_Kib("VmHWM:") / 1024.0);
    return 0;
}
