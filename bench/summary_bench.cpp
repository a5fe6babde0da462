// Times the summary of a folder of measurement files: 10,000 files of 2 to 8 KiB, a mix of kinds made
// from the examples (step gauge, gauge block and laser 10360 files are the examples themselves), with a
// quarter of them in the "old" sub-folder. Prints the first scan and the cached re-scan against their
// goals; it is a benchmark, not a test.
//
//   summary_bench [--files N] [--runs N] [--examples DIR]

#include "bench/bench_files.h"
#include "model/nominalstore.h"
#include "model/runsummary.h"
#include "model/tolerance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{
const double FIRST_SCAN_GOAL = 1.0;
const double RESCAN_GOAL = 0.1;

struct TSource
{
    QString name;
    QByteArray example;
    const TKind *kind; // null: the example as it is
};

void Write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
    {
        std::fprintf(stderr, "summary_bench: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Processor time of every thread of the process: on a busy machine the wall-clock time says little.
double Processor_Seconds()
{
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

const char *Goal(double seconds, double goal)
{
    return seconds <= goal ? "met" : "MISSED";
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    int file_count = 10000;
    int runs = 5;
    QString examples = QStringLiteral(QUILLON_SOURCE_DIR "/examples");
    const QStringList arguments = application.arguments();
    for (int i = 1; i < arguments.size(); ++i)
    {
        const bool has_value = i + 1 < arguments.size();
        if (arguments[i] == QLatin1String("--files") && has_value)
            file_count = std::max(1, arguments[++i].toInt());
        else if (arguments[i] == QLatin1String("--runs") && has_value)
            runs = std::max(1, arguments[++i].toInt());
        else if (arguments[i] == QLatin1String("--examples") && has_value)
            examples = arguments[++i];
        else
        {
            std::fprintf(stderr, "usage: summary_bench [--files N] [--runs N] [--examples DIR]\n");
            return 2;
        }
    }

    std::vector<TSource> sources;
    for (const TKind &kind : BenchFiles::Kinds())
        sources.push_back({QLatin1String(kind.name),
                           BenchFiles::Read(examples + QLatin1Char('/') + QLatin1String(kind.example) +
                                            QStringLiteral(".dat")),
                           &kind});
    for (const char *name : {"stepgauge_10360_x_front", "gaugeblock_500mm_x_axis", "laser_10360_x_axis"})
        sources.push_back(
            {QLatin1String(name),
             BenchFiles::Read(examples + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".dat")),
             nullptr});

    QTemporaryDir folder;
    if (!folder.isValid() || !QDir(folder.path()).mkdir(QStringLiteral("old")))
    {
        std::fprintf(stderr, "summary_bench: no temporary folder\n");
        return 1;
    }
    qint64 bytes = 0;
    for (int i = 0; i < file_count; ++i)
    {
        const TSource &source = sources[static_cast<size_t>(i) % sources.size()];
        // Sizes spread over 2 to 8 KiB.
        const qint64 size = 2048 + (static_cast<qint64>(i) * 7919) % 6144;
        const QByteArray data =
            source.kind ? BenchFiles::Generate(*source.kind, source.example, size) : source.example;
        const QString sub = i % 4 == 3 ? QStringLiteral("/old/") : QStringLiteral("/");
        Write(folder.path() + sub +
                  QStringLiteral("%1_%2.dat").arg(source.name).arg(i, 5, 10, QLatin1Char('0')),
              data);
        bytes += data.size();
    }

    TNominalStore nominals;
    nominals.Initialize(examples);
    const TTolerance tolerance = TTolerance::Default();
    std::vector<double> first;
    std::vector<double> again;
    std::vector<double> first_processor;
    std::vector<double> again_processor;
    size_t rows = 0;
    int errors = 0;
    for (int run = 0; run < runs; ++run)
    {
        TRunSummaryCache cache;
        QElapsedTimer timer;
        double processor = Processor_Seconds();
        timer.start();
        std::vector<TRunSummary> summary =
            cache.Scan(RunSummary::Find_Files(folder.path()), &nominals, tolerance);
        first.push_back(timer.nsecsElapsed() * 1e-9);
        first_processor.push_back(Processor_Seconds() - processor);
        processor = Processor_Seconds();
        timer.restart();
        summary = cache.Scan(RunSummary::Find_Files(folder.path()), &nominals, tolerance);
        again.push_back(timer.nsecsElapsed() * 1e-9);
        again_processor.push_back(Processor_Seconds() - processor);
        rows = summary.size();
        errors = static_cast<int>(std::count_if(summary.begin(), summary.end(),
                                                [](const TRunSummary &row) { return row.Failed_To_Load(); }));
    }
    std::printf("%d files, %.1f KiB on average, %zu rows (%d ERR), %d threads, %d runs (medians)\n",
                file_count, bytes / 1024.0 / file_count, rows, errors, QThread::idealThreadCount(), runs);
    const double first_scan = Median(first);
    const double rescan = Median(again);
    std::printf("first scan      %8.3f s  goal %.1f s  %-6s  processor time %.3f s\n", first_scan,
                FIRST_SCAN_GOAL, Goal(first_scan, FIRST_SCAN_GOAL), Median(first_processor));
    std::printf("cached re-scan  %8.3f s  goal %.1f s  %-6s  processor time %.3f s\n", rescan, RESCAN_GOAL,
                Goal(rescan, RESCAN_GOAL), Median(again_processor));
    return 0;
}
