#pragma once

// Checks shared by the record tests: golden reports, damaged input and load time of large files.

#include "measuredata_factory.h"
#include "measurementload.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace MeasureChecks
{
inline QString Source_Path(const QString &relative_path)
{
    return QStringLiteral(QUILLON_SOURCE_DIR "/") + relative_path;
}

// The lines of a golden report file, one per '\n'-terminated line.
inline QStringList Read_Lines(const QString &relative_path)
{
    QFile file(Source_Path(relative_path));
    if (!file.open(QIODevice::ReadOnly))
    {
        return QStringList();
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
    {
        lines.removeLast();
    }
    return lines;
}

inline QByteArray Read_Bytes(const QString &relative_path)
{
    QFile file(Source_Path(relative_path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Compares line by line so that a failure names the first line that differs.
inline void Compare_Lines(const QStringList &actual, const QStringList &expected)
{
    const int common = static_cast<int>(std::min(actual.size(), expected.size()));
    for (int i = 0; i < common; ++i)
    {
        if (actual[i] != expected[i])
        {
            QFAIL(qPrintable(QStringLiteral("line %1 differs:\n   actual: '%2'\n expected: '%3'")
                                 .arg(QString::number(i + 1), actual[i], expected[i])));
        }
    }
    QCOMPARE(actual.size(), expected.size());
}

// Loads the example file through the viewer's pipeline and compares its report with the golden one.
inline void Check_Golden_Report(const QString &example, const QString &golden,
                                TMeasureData::TFileContents contents)
{
    const TMeasurementLoad load = MeasurementLoad::Load_File(Source_Path(example), nullptr);
    QCOMPARE(load.contents, contents);
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QVERIFY(load.graph_data.empty());
    const QStringList expected = Read_Lines(golden);
    QVERIFY2(!expected.isEmpty(), qPrintable(golden));
    Compare_Lines(load.report_lines, expected);
}

// Damages the file in many reproducible ways (bytes changed, inserted, removed, lines cut short or
// doubled). Each result goes through the viewer's pipeline and, bypassing the text check, straight
// into a record of the file's kind: it must load, or fail with one of the messages.
inline void Check_Damaged_Input(const QByteArray &file_data, const QStringList &messages)
{
    const TMeasureData::TFileContents contents = TMeasureData::Determine_File_Contents(file_data);
    QVERIFY(contents != TMeasureData::CONTENTS_UNKNOWN);
    QSet<QString> allowed;
    for (const QString &message : messages)
    {
        allowed.insert(QStringLiteral("ERR  ") + message);
    }

    static const char INTERESTING[] = ",\n\r\t #:-.0123456789eE_";
    QRandomGenerator random(20261207);
    for (int round = 0; round < 3000; ++round)
    {
        QByteArray damaged = file_data;
        const int changes = 1 + static_cast<int>(random.bounded(8));
        for (int change = 0; change < changes && !damaged.isEmpty(); ++change)
        {
            const int at = static_cast<int>(random.bounded(static_cast<quint32>(damaged.size())));
            const char byte =
                random.bounded(8) == 0
                    ? static_cast<char>(random.bounded(256))
                    : INTERESTING[random.bounded(static_cast<quint32>(sizeof(INTERESTING) - 1))];
            switch (random.bounded(5))
            {
            case 0:
                damaged[at] = byte;
                break;
            case 1:
                damaged.insert(at, byte);
                break;
            case 2:
                damaged.remove(at, 1 + static_cast<int>(random.bounded(40)));
                break;
            case 3:
                damaged.truncate(at);
                break;
            default:
            {
                const int end = damaged.indexOf('\n', at);
                damaged.insert(at, damaged.mid(at, end < 0 ? -1 : end - at + 1));
            }
            }
        }
        const TMeasurementLoad load = MeasurementLoad::Load_Contents(damaged, nullptr);
        QVERIFY(!load.report_lines.isEmpty());
        if (!load.Succeeded())
        {
            QCOMPARE(load.report_lines.size(), 1);
            const QString &line = load.report_lines.first();
            QVERIFY2(allowed.contains(line) || line == QLatin1String("ERR  File contents not recognized."),
                     qPrintable(line + QStringLiteral(" for:\n") + QString::fromLatin1(damaged)));
        }

        const std::unique_ptr<TMeasureData> record = Create_Measure_Record(contents);
        if (!record->Load_Data(damaged))
        {
            QVERIFY2(
                allowed.contains(QStringLiteral("ERR  ") + record->last_error),
                qPrintable(record->last_error + QStringLiteral(" for:\n") + QString::fromLatin1(damaged)));
        }
        QVERIFY(!record->Text_Report().isEmpty());
        // No number that is not finite reaches a graph, whatever the file held.
        for (const std::vector<TVector2> &curve : record->Graph_Data())
        {
            for (const TVector2 &point : curve)
            {
                QVERIFY2(std::isfinite(point.x) && std::isfinite(point.y),
                         qPrintable(QString::fromLatin1(damaged)));
            }
        }
    }
}

// Microseconds to parse the data and write the report with a record of the data's kind.
inline qint64 Parse_Time(const QByteArray &file_data)
{
    QElapsedTimer timer;
    timer.start();
    const std::unique_ptr<TMeasureData> record =
        Create_Measure_Record(TMeasureData::Determine_File_Contents(file_data));
    if (!record || !record->Load_Data(file_data) || record->Text_Report().isEmpty())
    {
        return -1;
    }
    return timer.nsecsElapsed() / 1000;
}

// A file of the largest accepted size, made of the head, as many entries as fit and the tail, loads
// and reports one line per entry. Parsing grows linearly: sixteen times the data takes about sixteen
// times as long (quadratic growth would be 256 times).
inline void Check_Large_File(const QByteArray &head, const std::function<QByteArray(int)> &entry,
                             const QByteArray &tail, int fixed_report_lines)
{
    const auto build = [&](qint64 size, int *count)
    {
        QByteArray data = head;
        *count = 0;
        for (QByteArray next = entry(0); data.size() + next.size() + tail.size() <= size;
             next = entry(*count))
        {
            data += next;
            ++*count;
        }
        return data + tail;
    };

    int count = 0;
    const QByteArray largest = build(MeasurementLoad::LARGEST_FILE_SIZE, &count);
    QVERIFY(largest.size() <= MeasurementLoad::LARGEST_FILE_SIZE);
    QVERIFY(count > 2000);
    QElapsedTimer timer;
    timer.start();
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(largest, nullptr);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(load.Succeeded());
    QCOMPARE(static_cast<int>(load.report_lines.size()), fixed_report_lines + count);

    // Best of several runs, taken in turn so that both sizes meet the same load of the machine.
    const QByteArray small = build(64 * 1024, &count);
    const QByteArray large = build(1024 * 1024, &count);
    qint64 small_time = std::numeric_limits<qint64>::max();
    qint64 large_time = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run)
    {
        small_time = std::min(small_time, Parse_Time(small));
        large_time = std::min(large_time, Parse_Time(large));
    }
    QVERIFY(small_time >= 0 && large_time >= 0);
    QVERIFY2(large_time <= 48 * small_time + 5000,
             qPrintable(QStringLiteral("%1 us for 1 MiB, %2 us for 64 KiB").arg(large_time).arg(small_time)));
}
} // namespace MeasureChecks
