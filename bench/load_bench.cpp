// Times the widget-free load (recognise, parse, report lines, graph curves) of a file just under the
// largest accepted size for every kind whose file can grow that large, beside a naive Qt parse of the
// same bytes (readLine, trimmed, split at commas, toDouble of every field) taken in the same run, and
// the load of each example file. Prints medians; it is a benchmark, not a test.
//
//   load_bench [--runs N] [--kind NAME] [--examples DIR] [--write DIR] [--load-only]
//
// --write keeps the generated files; --load-only leaves out the 64 KiB loads and the example files,
// for a profiler.

#include "measurementload.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace
{
QByteArray Number(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

// Slowly varying noise of a few micrometres, the same in every run.
double Noise(int i, int salt = 0)
{
    unsigned int state =
        static_cast<unsigned int>(i) * 2654435761u + static_cast<unsigned int>(salt) * 40503u;
    state ^= state >> 13;
    state *= 1274126177u;
    return (static_cast<double>(state & 0xffff) / 65535.0 - 0.5) * 0.004;
}

QByteArray Join(std::initializer_list<QByteArray> parts, char separator)
{
    QByteArray line;
    for (const QByteArray &part : parts)
    {
        if (!line.isEmpty())
        {
            line += separator;
        }
        line += part;
    }
    return line + '\n';
}

QByteArray Point_Line(int i, double position)
{
    return "Point:" + Join({QByteArray::number(i + 1), Number(position + Noise(i), 5), Number(Noise(i, 1), 5),
                            Number(Noise(i, 2), 5)},
                           ',');
}

QByteArray Laser_Line(int i, double position)
{
    const double reading = position + Noise(i);
    return "Point:" +
           Join({QByteArray::number(i + 1), Number(position, 5), Number(reading, 5), Number(position, 5),
                 Number(position - 850.0, 4), "-400.0000", "-500.0000", Number(reading - position, 5)},
                ',');
}

QByteArray Feature_Line(int i, double radius, bool with_radius)
{
    const double angle = i * 0.1;
    QByteArray line =
        Join({Number(radius * std::cos(angle) + Noise(i), 4), Number(radius * std::sin(angle), 4), "-5.0000",
              Number(std::cos(angle), 9), Number(std::sin(angle), 9), "0.000000000"},
             ',');
    line.chop(1);
    if (with_radius)
    {
        line += ',' + Number(radius + Noise(i, 3), 4);
    }
    return line + ',' + Number(Noise(i, 4), 4) + '\n';
}

QByteArray Validation_Entry(int i, const QByteArray &feature, int values)
{
    QByteArray entry = feature + "  " + QByteArray::number(i + 1) + "  8";
    for (int v = 0; v < values; ++v)
    {
        entry += "  " + Number(100.0 * v + Noise(i, v), 6);
    }
    entry += '\n';
    for (int p = 0; p < 8; ++p)
    {
        entry += "   Point  " + QByteArray::number(p + 1) + "  " + Number(10.0 * p + Noise(i, p), 6) + "  " +
                 Number(Noise(i, p + 9), 6) + "  " + Number(-20.0 + Noise(i, p + 17), 6) + '\n';
    }
    return entry + '\n';
}

struct TKind
{
    const char *name;
    const char *example;
    // The first data line of the example begins with data_start; its data ends where data_end begins
    // (empty: at the end of the file). The generated file keeps what stands around the data.
    const char *data_start;
    const char *data_end;
    std::function<QByteArray(int)> entry;
};

const std::vector<TKind> &Kinds()
{
    static const std::vector<TKind> kinds = {
        {"stepgauge_b89", "stepgauge_b89_x_axis",
         "Point:", "Measurement_End::", [](int i) { return Point_Line(i, 50.0 * (i % 21)); }},
        {"stepgauge_square", "stepgauge_squareness_xy", "Point:", "Measurement_End::",
         [](int i)
         {
             return "Point:" + Join({QByteArray::number(i + 1), QByteArray::number(i / 13 + 1),
                                     Number(100000.0 - 2.5 * i + Noise(i), 5), Number(Noise(i, 1), 5),
                                     Number(Noise(i, 2), 5)},
                                    ',');
         }},
        {"laser_pmove", "laser_pmove_x_axis",
         "Point:", "Measurement_End::", [](int i) { return Laser_Line(i, 1.5 * i); }},
        {"ballbar", "ballbar_500mm", "XY_000", "",
         [](int i)
         {
             return Join({"P" + QByteArray::number(i), "Horizontal", Number(349.6041 + Noise(i), 4),
                          "399.8961", "-300.3450", Number(849.6022 + Noise(i, 1), 4), "399.8961", "-300.3450",
                          Number(20.07 + Noise(i, 2), 2), "19.9992", "1.000000000", "0.000000000",
                          "0.000000000"},
                         ',');
         }},
        {"temperature", "temperature_machine_day", "[070007]", "",
         [](int i)
         {
             static const char *const sensors[] = {"1", "2", "3", "4", "11", "12"};
             const int minute = i / 6;
             const QByteArray stamp =
                 QByteArray::number(100000 + (minute / 60 % 24) * 10000 + minute % 60 * 100);
             return Join({"[" + stamp + "]", sensors[i % 6], Number(20.0 + Noise(i) * 100.0, 3)}, ',');
         }},
        {"probe", "probe_tip_calibration", "T1A0B0", "# tips",
         [](int i)
         {
             return "T1A90B" + QByteArray::number(i) + "   90.0   " + Number(i % 360, 1) + "   3.9962   " +
                    Number(0.0007 + Noise(i) / 10.0, 4) + "   0.0012   -62.5007   -62.9288\n";
         }},
        {"pin_gauge", "pingauge_10mm", "4.9997",
         "Point_Data_End::", [](int i) { return Feature_Line(i, 5.0, false); }},
        {"ring_gauge", "ringgauge_25mm", "12.5009",
         "Point_Data_End::", [](int i) { return Feature_Line(i, 12.5, false); }},
        {"sphere_pftu", "sphere_pftu_25mm", "0.0021,-0.0013,12.5002",
         "Point_Data_End::", [](int i) { return Feature_Line(i, 12.5, true); }},
        {"sphere_rpt", "sphere_rpt_table_centre", "1,452", "Measurement_End::",
         [](int i)
         {
             return Join({QByteArray::number(i + 1), Number(452.11861 + Noise(i), 5),
                          Number(-210.44681 + Noise(i, 1), 5), Number(-381.99325 + Noise(i, 2), 5)},
                         ',');
         }},
        {"point_repeat", "point_repeat_table_centre_x",
         "Point:", "Measurement_End::", [](int i) { return Point_Line(i, 312.40785); }},
        {"validation_plane", "validation_plane_four_planes", "Plane", "",
         [](int i) { return Validation_Entry(i, "Plane", 7); }},
        {"validation_line", "validation_line_four_lines", "Line", "",
         [](int i) { return Validation_Entry(i, "Line", 7); }},
        {"validation_circle", "validation_circle_three_rings", "Circle", "",
         [](int i) { return Validation_Entry(i, "Circle", 8); }},
        {"validation_sphere", "validation_sphere_three_spheres", "Sphere", "",
         [](int i) { return Validation_Entry(i, "Sphere", 5); }},
    };
    return kinds;
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(2);
    }
    return file.readAll();
}

// The example with its data lines replaced by as many generated entries as fit in size bytes.
QByteArray Generate(const TKind &kind, const QByteArray &example, qint64 size)
{
    const int start = example.indexOf("\n" + QByteArray(kind.data_start)) + 1;
    const int end = *kind.data_end ? example.indexOf("\n" + QByteArray(kind.data_end)) + 1 : example.size();
    if (start <= 0 || end <= 0)
    {
        std::fprintf(stderr, "%s: no data lines in %s\n", kind.name, kind.example);
        std::exit(2);
    }
    QByteArray data = example.left(start);
    const QByteArray tail = example.mid(end);
    int count = 0;
    for (QByteArray next = kind.entry(0); data.size() + next.size() + tail.size() <= size;
         next = kind.entry(count))
    {
        data += next;
        ++count;
    }
    return data + tail;
}

// The baseline: what a plain Qt reader of the same bytes does with every line.
double Naive_Parse(const QByteArray &file_data)
{
    QTextStream stream(file_data, QIODevice::ReadOnly);
    double sum = 0.0;
    while (!stream.atEnd())
    {
        const QString line = stream.readLine().trimmed();
        const QStringList fields = line.split(QLatin1Char(','));
        for (const QString &field : fields)
        {
            sum += field.toDouble();
        }
    }
    return sum;
}

qint64 Load_Nanoseconds(const QByteArray &file_data, int *report_lines)
{
    QElapsedTimer timer;
    timer.start();
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(file_data, nullptr);
    const qint64 elapsed = timer.nsecsElapsed();
    if (!load.Succeeded())
    {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(load.report_lines.join(QLatin1Char('\n'))));
        std::exit(1);
    }
    *report_lines = static_cast<int>(load.report_lines.size());
    return elapsed;
}

qint64 Naive_Nanoseconds(const QByteArray &file_data)
{
    QElapsedTimer timer;
    timer.start();
    volatile double sum = Naive_Parse(file_data);
    (void)sum;
    return timer.nsecsElapsed();
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
        else
        {
            std::fprintf(stderr, "usage: load_bench [--runs N] [--kind NAME] [--examples DIR] [--write DIR] "
                                 "[--load-only]\n");
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
    const QByteArray example =
        Read(options.examples + QLatin1Char('/') + QLatin1String(kind.example) + QStringLiteral(".dat"));
    const QByteArray large = Generate(kind, example, MeasurementLoad::LARGEST_FILE_SIZE - 1);
    const QByteArray quarter = Generate(kind, example, MeasurementLoad::LARGEST_FILE_SIZE / 4 - 1);
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
        naive.push_back(Naive_Nanoseconds(large));
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
    Print("%-18s %7d %6d %8.3f %8.3f %7.2f %8.3f %7.2f  %s\n", kind.name, static_cast<int>(large.size()),
          lines, load_ms, naive_ms, naive_ms / load_ms, small_ms, load_ms / small_ms,
          load_ms <= 2.0 && naive_ms / load_ms >= 2.0 ? "met" : "MISSED");
}

void Bench_Examples(const TOptions &options)
{
    Print("\nexample file loads, median of %d runs, ms\n", options.runs);
    const QStringList names =
        QDir(options.examples).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
    {
        const QByteArray data = Read(options.examples + QLatin1Char('/') + name);
        int lines = 0;
        std::vector<qint64> load, naive;
        for (int run = 0; run < options.runs; ++run)
        {
            load.push_back(Load_Nanoseconds(data, &lines));
            naive.push_back(Naive_Nanoseconds(data));
        }
        Print("%-36s %6d %8.3f %8.3f\n", qPrintable(name), static_cast<int>(data.size()), Median_Ms(load),
              Median_Ms(naive));
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const TOptions options = Parse_Options(QCoreApplication::arguments());

    if (!options.load_only)
    {
        Print("load of a file just under 256 KiB per kind, median of %d runs (load, naive and 64 KiB load "
              "taken in turn)\n",
              options.runs);
        Print("%-18s %7s %6s %8s %8s %7s %8s %7s  %s\n", "kind", "bytes", "lines", "load ms", "naive ms",
              "naive/x", "64K ms", "256/64", "goal <= 2 ms, >= 2x");
    }
    for (const TKind &kind : Kinds())
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
