#pragma once

// Helpers shared by the measurement record tests: inline files, example and golden files, a fixed
// nominal source, mutated-file robustness and load-time growth.

#include "measuredata.h"
#include "measurementload.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(TVector2)

namespace MeasureTest
{
// A file from its lines, LF terminated.
inline QByteArray File(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n')).toLatin1() + '\n';
}

// The lines without those that begin with line_start.
inline QStringList Without(QStringList lines, const QString &line_start)
{
    for (int i = lines.size() - 1; i >= 0; --i)
    {
        if (lines[i].startsWith(line_start))
        {
            lines.removeAt(i);
        }
    }
    return lines;
}

// The lines with those that begin with line_start replaced by line.
inline QStringList Replacing(QStringList lines, const QString &line_start, const QString &line)
{
    for (QString &text : lines)
    {
        if (text.startsWith(line_start))
        {
            text = line;
        }
    }
    return lines;
}

inline QString Example_Path(const QString &name)
{
    return QStringLiteral(QUILLON_SOURCE_DIR "/examples/") + name;
}

inline QByteArray Read_File(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        return QByteArray();
    }
    return file.readAll();
}

// Expected report lines, one per line of tests/data/<relative_path>.
inline QStringList Golden_Lines(const QString &relative_path)
{
    const QByteArray data = Read_File(QStringLiteral(QUILLON_SOURCE_DIR "/tests/data/") + relative_path);
    QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
    {
        lines.removeLast();
    }
    return lines;
}

// Compares line by line so that a failure names the first differing line.
inline bool Same_Lines(const QStringList &actual, const QStringList &expected, QString *difference)
{
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
    {
        if (actual[i] != expected[i])
        {
            *difference =
                QStringLiteral("line %1: '%2' expected '%3'").arg(i + 1).arg(actual[i], expected[i]);
            return false;
        }
    }
    if (actual.size() != expected.size())
    {
        *difference = QStringLiteral("%1 lines, expected %2").arg(actual.size()).arg(expected.size());
        return false;
    }
    return true;
}

// A laser file: identification, the records before the measurement section, then the measurement
// section with its description and the given lines.
inline QStringList Laser_File_Lines(const QString &identification, const QString &type,
                                    const QStringList &measurement)
{
    QStringList lines = {identification,
                         QStringLiteral("Probe_Offsets_Valid:Yes"),
                         QStringLiteral("Probe_Offset:0,0,-150"),
                         QStringLiteral("Start_Point:-850,-400,-500"),
                         QStringLiteral("Measurement_Axis:1,0,0"),
                         QStringLiteral("Measurement_Type:") + type,
                         QStringLiteral("Measurement_Begin:"),
                         QStringLiteral("Description:X axis")};
    lines += measurement;
    lines += QStringLiteral("Measurement_End::");
    return lines;
}

// "Point:" index, position, actual, nominal, x, y, z, deviation.
inline QString Laser_Point(int index, double position, double actual, double nominal, double deviation)
{
    return QStringLiteral("Point:%1,%2,%3,%4,-850,-400,-500,%5")
        .arg(index)
        .arg(position, 0, 'f', 5)
        .arg(actual, 0, 'f', 5)
        .arg(nominal, 0, 'f', 5)
        .arg(deviation, 0, 'f', 5);
}

// Nominal positions of one gauge.
class TFixedNominals : public TNominalSource
{
public:
    TFixedNominals(const QString &serial, const std::vector<double> &values)
        : d_serial(serial), d_values(values)
    {
    }

    bool Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const override
    {
        if (serial != d_serial)
        {
            return false;
        }
        *nominal_values = d_values;
        return true;
    }

private:
    QString d_serial;
    std::vector<double> d_values;
};

inline bool All_Finite(const std::vector<std::vector<TVector2>> &curves)
{
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            if (!std::isfinite(point.x) || !std::isfinite(point.y))
            {
                return false;
            }
        }
    }
    return true;
}

// Loads many damaged copies of a good file (bytes changed, lines dropped, doubled or cut, commas
// and markers inserted): each must load or fail with one of the allowed messages, and a loaded
// record must report and graph finite values.
template <class TRecord>
void Check_Mutations(const QByteArray &good_file, const QStringList &allowed_messages)
{
    static const char *const INSERTS[] = {",",
                                          ",,",
                                          "\n",
                                          "Measurement_Begin:\n",
                                          "Measurement_End::\n",
                                          "Alignment_Begin:\n",
                                          "nan",
                                          "1e999",
                                          "-",
                                          "\r",
                                          "\t",
                                          "#"};
    QRandomGenerator random(4711);
    for (int round = 0; round < 400; ++round)
    {
        QByteArray file = good_file;
        const int edits = 1 + static_cast<int>(random.bounded(6));
        for (int edit = 0; edit < edits && !file.isEmpty(); ++edit)
        {
            const int at = static_cast<int>(random.bounded(file.size()));
            switch (random.bounded(5))
            {
            case 0:
                file[at] = static_cast<char>(random.bounded(256));
                break;
            case 1:
                file.remove(at, static_cast<int>(random.bounded(40)));
                break;
            case 2:
                file.insert(at,
                            INSERTS[random.bounded(static_cast<int>(sizeof(INSERTS) / sizeof(INSERTS[0])))]);
                break;
            case 3:
            {
                // Double a line.
                const int start = file.lastIndexOf('\n', at) + 1;
                const int end = file.indexOf('\n', at);
                file.insert(start, file.mid(start, (end < 0 ? file.size() : end + 1) - start));
                break;
            }
            default:
                file.truncate(at);
                break;
            }
        }

        TRecord record;
        if (!record.Load_Data(file))
        {
            QVERIFY2(allowed_messages.contains(record.last_error),
                     qPrintable(QStringLiteral("round %1: '%2'").arg(round).arg(record.last_error)));
        }
        const QStringList report = record.Text_Report();
        QVERIFY(!report.isEmpty());
        for (const QString &line : report)
        {
            // The description and equipment lines are file text and may hold anything.
            if (line.startsWith(QLatin1String("  Position:")) ||
                line.startsWith(QLatin1String("  Equipment:")))
            {
                continue;
            }
            QVERIFY2(!line.contains(QLatin1String("nan")) && !line.contains(QLatin1String("inf")),
                     qPrintable(line));
        }
        QVERIFY2(All_Finite(record.Graph_Data()), qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

// Best of several load times of the file, in milliseconds.
template <class TRecord> double Load_Milliseconds(const QByteArray &file, int runs)
{
    double best = 1e9;
    for (int run = 0; run < runs; ++run)
    {
        QElapsedTimer timer;
        timer.start();
        TRecord record;
        record.Load_Data(file);
        record.Text_Report();
        record.Graph_Data();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// Loading grows no faster than n log n: a file of many points near the largest accepted size
// loads in well under a second, and one of sixteen times as many points takes less than 100 times
// as long: linear work takes about 16 times (more when the larger file no longer fits the caches),
// quadratic work 256 times. The wide margin absorbs timing noise on a busy machine.
template <class TRecord>
void Check_Load_Growth(const std::function<QByteArray(int points)> &make_file, int points)
{
    const QByteArray full = make_file(points);
    const QByteArray sixteen_times = make_file(16 * points);
    QVERIFY2(full.size() <= MeasurementLoad::LARGEST_FILE_SIZE &&
                 full.size() > MeasurementLoad::LARGEST_FILE_SIZE / 2,
             qPrintable(QString::number(full.size())));
    const double full_time = Load_Milliseconds<TRecord>(full, 5);
    const double sixteen_times_time = Load_Milliseconds<TRecord>(sixteen_times, 2);
    QVERIFY2(full_time < 1000.0, qPrintable(QString::number(full_time)));
    QVERIFY2(sixteen_times_time < 100.0 * std::max(full_time, 2.0),
             qPrintable(QStringLiteral("%1 ms against %2 ms").arg(sixteen_times_time).arg(full_time)));
}
} // namespace MeasureTest
