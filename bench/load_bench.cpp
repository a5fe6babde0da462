// Times the widget-free load (recognise, parse, report lines, graph curves) of a file just under the
// largest accepted size for every kind whose file can grow that large, beside a naive Qt parse of the
// same bytes (readLine, trimmed, split at commas or blanks, toDouble of every field) taken in the same run,
// and the load of each example file. Prints medians; it is a benchmark, not a test.
//
//   load_bench [--runs N] [--kind NAME] [--examples DIR] [--write DIR] [--load-only] [--cpu]
//
// --write keeps the generated files; --load-only leaves out the 64 KiB loads and the example files,
// for a profiler; --cpu times by the processor time of the thread instead of the wall clock.

#include "bench/bench_files.h"
#include "model/measurementload.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <ctime>
#include <functional>
#include <vector>

namespace
{
// The baseline: what a plain Qt reader of the same bytes does with every line. Kinds whose values stand
// between blanks (probe calibration, validation) are split at blanks, so that the baseline converts
// every value as the real parse does rather than failing on whole lines at once.
double Naive_Parse(const QByteArray &file_data, bool blank_separated)
{
    QTextStream stream(file_data, QIODevice::ReadOnly);
    double sum = 0.0;
    while (!stream.atEnd())
    {
        const QString line = blank_separated ? stream.readLine().simplified() : stream.readLine().trimmed();
        const QStringList fields = line.split(blank_separated ? QLatin1Char(' ') : QLatin1Char(','));
        for (const QString &field : fields)
        {
            sum += field.toDouble();
        }
    }
    return sum;
}

// With --cpu the processor time of this thread: on a machine shared with builds the wall clock also
// counts the time other processes held the processor.
bool g_cpu_clock = false;

qint64 Now_Nanoseconds()
{
    timespec now{};
    clock_gettime(g_cpu_clock ? CLOCK_THREAD_CPUTIME_ID : CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

qint64 Load_Nanoseconds(const QByteArray &file_data, int *report_lines)
{
    const qint64 start = Now_Nanoseconds();
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(file_data, nullptr);
    const qint64 elapsed = Now_Nanoseconds() - start;
    if (!load.Succeeded())
    {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(load.report_lines.join(QLatin1Char('\n'))));
        std::exit(1);
    }
    *report_lines = static_cast<int>(load.report_lines.size());
    return elapsed;
}

qint64 Naive_Nanoseconds(const QByteArray &file_data, bool blank_separated)
{
    const qint64 start = Now_Nanoseconds();
    volatile double sum = Naive_Parse(file_data, blank_separated);
    (void)sum;
    return Now_Nanoseconds() - start;
}

double Median_Ms(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2) / 1e6;
}

struct TOptions
{
    int runs = 51;
    QString kind;
    QString examples = QStringLiteral(QUILLON_SOURCE_DIR "/examples");
    QString write;
    bool load_only = false;
};

TOptions Parse_Options(const QStringList &arguments)
{
    TOptions options;
    for (int i = 1; i < arguments.size(); ++i)
    {
        const QString &argument = arguments[i];
        const bool has_value = i + 1 < arguments.size();
        if (argument == QLatin1String("--runs") && has_value)
            options.runs = std::max(1, arguments[++i].toInt());
        else if (argument == QLatin1String("--kind") && has_value)
            options.kind = arguments[++i];
        else if (argument == QLatin1String("--examples") && has_value)
            options.examples = arguments[++i];
        else if (argument == QLatin1String("--write") && has_value)
            options.write = arguments[++i];
        else if (argument == QLatin1String("--load-only"))
            options.load_only = true;
        else if (argument == QLatin1String("--cpu"))
            g_cpu_clock = true;
        else
        {
            std::fprintf(stderr, "usage: load_bench [--runs N] [--kind NAME] [--examples DIR] [--write DIR] "
                                 "[--load-only] [--cpu]\n");
            std::exit(2);
        }
    }
    return options;
}

void Print(const char *format, ...) __attribute__((format(printf, 1, 2)));
void Print(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::fflush(stdout);
}

void Bench_Kind(const TKind &kind, const TOptions &options)
{
    const QByteArray example = BenchFiles::Read(options.examples + QLatin1Char('/') +
                                                QLatin1String(kind.example) + QStringLiteral(".dat"));
    const QByteArray large = BenchFiles::Generate(kind, example, MeasurementLoad::LARGEST_FILE_SIZE - 1);
    const QByteArray quarter =
        BenchFiles::Generate(kind, example, MeasurementLoad::LARGEST_FILE_SIZE / 4 - 1);
    const bool blank_separated = !kind.entry(0).contains(',');
    if (!options.write.isEmpty())
    {
        QFile file(options.write + QLatin1Char('/') + QLatin1String(kind.name) + QStringLiteral(".dat"));
        if (!file.open(QIODevice::WriteOnly) || file.write(large) != large.size())
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            std::exit(2);
        }
    }

    int lines = 0;
    std::vector<qint64> load, naive, small;
    for (int run = 0; run < options.runs; ++run)
    {
        load.push_back(Load_Nanoseconds(large, &lines));
        naive.push_back(Naive_Nanoseconds(large, blank_separated));
        if (!options.load_only)
        {
            int small_lines = 0;
            small.push_back(Load_Nanoseconds(quarter, &small_lines));
        }
    }
    if (options.load_only)
    {
        Print("%-18s %7d %8.3f %8.3f\n", kind.name, static_cast<int>(large.size()), Median_Ms(load),
              Median_Ms(naive));
        return;
    }
    const double load_ms = Median_Ms(load);
    const double naive_ms = Median_Ms(naive);
    const double small_ms = Median_Ms(small);
    Print("%-18s %7d %6d %8.3f %8.3f %7.2f %8.3f %7.2f  %s%s\n", kind.name, static_cast<int>(large.size()),
          lines, load_ms, naive_ms, naive_ms / load_ms, small_ms, load_ms / small_ms,
          load_ms <= 1.5 && naive_ms / load_ms >= 2.5 ? "met" : "MISSED",
          blank_separated ? "  (naive: blanks)" : "");
}

void Bench_Examples(const TOptions &options)
{
    Print("\nexample file loads, median of %d runs, ms\n", options.runs);
    const QStringList names =
        QDir(options.examples).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
    {
        const QByteArray data = BenchFiles::Read(options.examples + QLatin1Char('/') + name);
        int lines = 0;
        std::vector<qint64> load, naive;
        for (int run = 0; run < options.runs; ++run)
        {
            load.push_back(Load_Nanoseconds(data, &lines));
            naive.push_back(Naive_Nanoseconds(data, !data.contains(',')));
        }
        Print("%-36s %6d %8.3f %8.3f\n", qPrintable(name), static_cast<int>(data.size()), Median_Ms(load),
              Median_Ms(naive));
    }
}
} // namespace

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // The viewer keeps freed heap for the next file (see its main); the loads here run under the same.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    // Fixing one threshold stops glibc from raising the other: the text of a file would be mapped afresh.
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
#endif
    QCoreApplication application(argc, argv);
    const TOptions options = Parse_Options(QCoreApplication::arguments());

    if (!options.load_only)
    {
        Print("load of a file just under 256 KiB per kind, median of %d runs (load, naive and 64 KiB load "
              "taken in turn), %s\n",
              options.runs, g_cpu_clock ? "thread processor time" : "wall clock");
        Print("%-18s %7s %6s %8s %8s %7s %8s %7s  %s\n", "kind", "bytes", "lines", "load ms", "naive ms",
              "naive/x", "64K ms", "256/64", "goal <= 1.5 ms, >= 2.5x");
    }
    for (const TKind &kind : BenchFiles::Kinds())
    {
        if (options.kind.isEmpty() || options.kind == QLatin1String(kind.name))
        {
            Bench_Kind(kind, options);
        }
    }
    if (!options.load_only && options.kind.isEmpty())
    {
        Bench_Examples(options);
    }
    return 0;
}
