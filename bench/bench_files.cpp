#include "bench/bench_files.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>

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

} // namespace

const std::vector<TKind> &BenchFiles::Kinds()
{
    static const std::vector<TKind> kinds = {
        {"stepgauge_b89", "stepgauge_b89_x_axis",
         "Point:", "Measurement_End::", [](int i) { return Point_Line(i, 50.0 * (i % 21)); }},
        {"stepgauge_square", "stepgauge_squareness_xy", "Point:", "Measurement_End::",
         [](int i)
         {
             return "Point:" + Join({QByteArray::number(i + 1), QByteArray::number(i / 13 + 1),
                                     Number(50.0 * (i % 13) + Noise(i), 5), Number(Noise(i, 1), 5),
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

QByteArray BenchFiles::Read(const QString &path)
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
QByteArray BenchFiles::Generate(const TKind &kind, const QByteArray &example, qint64 size)
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
