#pragma once

// What the record tests share: the example files, line edits of a file, comparisons that name the
// first difference, the texts of the messages several kinds write, and the check that a file of the
// largest size loads and that parsing grows linearly with the file.

#include "measuredata_factory.h"
#include "measurementload.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace MeasureChecks
{
// Written out here, not taken from the product, so that a changed text fails.
const QString DATA_MISSING = QStringLiteral("Data missing from measurement file.");
const QString STEPGAUGE_IDENTIFICATION = QStringLiteral("Stepgauge identification line not recognized");
const QString ARTIFACT_IDENTIFICATION = QStringLiteral("Artifact identification line not recognized");
const QString PROBE_OFFSET = QStringLiteral("Probe offset data not recognized.");
const QString PROBE_VECTOR = QStringLiteral("Probe vector data not recognized.");
const QString X_ALIGNMENT = QStringLiteral("X Alignment data not recognized.");
const QString Y_ALIGNMENT = QStringLiteral("Y Alignment data not recognized.");
const QString Z_ALIGNMENT = QStringLiteral("Z Alignment data not recognized.");
const QString TRANSLATION = QStringLiteral("Alignment translation data not recognized.");

inline QString Source_Path(const QString &relative_path)
{
    return QStringLiteral(QUILLON_SOURCE_DIR "/") + relative_path;
}

inline QByteArray Read_Source(const QString &relative_path)
{
    QFile file(Source_Path(relative_path));
    if (!file.open(QIODevice::ReadOnly))
    {
        qFatal("cannot read %s", qPrintable(relative_path));
    }
    return file.readAll();
}

// examples/<name>.dat
inline QByteArray Example(const QString &name)
{
    return Read_Source(QStringLiteral("examples/") + name + QStringLiteral(".dat"));
}

// Line edits; a line matches when it begins with line_start. Without removes every match, Replaced
// puts text (one line or more) in place of the first, Inserted puts it before the first. A line_start
// that matches nothing is a mistake in the test and stops it, so that no row passes for a wrong reason.
inline QByteArray Edited(const QByteArray &data, const QByteArray &line_start, const QByteArray &text,
                         bool insert)
{
    QList<QByteArray> lines;
    bool found = false;
    for (const QByteArray &line : data.split('\n'))
    {
        if (!line.startsWith(line_start) || (found && !text.isNull()))
        {
            lines.append(line);
            continue;
        }
        found = true;
        if (!text.isNull())
        {
            lines.append(text);
        }
        if (insert)
        {
            lines.append(line);
        }
    }
    if (!found)
    {
        qFatal("no line begins with %s", line_start.constData());
    }
    return lines.join('\n');
}

inline QByteArray Without(const QByteArray &data, const QByteArray &line_start)
{
    return Edited(data, line_start, QByteArray(), false);
}

inline QByteArray Replaced(const QByteArray &data, const QByteArray &line_start, const QByteArray &text)
{
    return Edited(data, line_start, text.isNull() ? QByteArray("") : text, false);
}

inline QByteArray Inserted(const QByteArray &data, const QByteArray &line_start, const QByteArray &text)
{
    return Edited(data, line_start, text.isNull() ? QByteArray("") : text, true);
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

// Equal within 1e-9; a failure prints both lists.
inline void Compare_Values(const std::vector<double> &actual, const std::vector<double> &expected)
{
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i)
    {
        same = std::abs(actual[i] - expected[i]) <= 1e-9;
    }
    const auto text = [](const std::vector<double> &values)
    {
        QStringList texts;
        for (const double value : values)
        {
            texts += QString::number(value, 'g', 12);
        }
        return texts.join(QStringLiteral(", "));
    };
    QVERIFY2(same, qPrintable(QStringLiteral("(%1) instead of (%2)").arg(text(actual), text(expected))));
}

// Microseconds to parse the data, write the report and make the graph with a record of the data's kind.
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
    record->Graph_Data();
    return timer.nsecsElapsed() / 1000;
}

// A file of the largest accepted size, made of the head, as many entries as fit and the tail, loads
// and reports lines_per_entry lines per entry. Parsing grows linearly: sixteen times the data takes
// about sixteen times as long (quadratic growth would be 256 times).
inline void Check_Large_File(const QByteArray &head, const std::function<QByteArray(int)> &entry,
                             const QByteArray &tail, int fixed_report_lines, int lines_per_entry = 1)
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
    QVERIFY(count > 1000);
    QElapsedTimer timer;
    timer.start();
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(largest, nullptr);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(load.Succeeded(), qPrintable(load.report_lines.join(QLatin1Char('\n'))));
    QCOMPARE(static_cast<int>(load.report_lines.size()), fixed_report_lines + lines_per_entry * count);

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
