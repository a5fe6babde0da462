#pragma once

// Helpers shared by the record tests: example and golden report files, and damaged copies of a
// file for the "any bytes" checks.

#include "measuredata_factory.h"
#include "measurementload.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTest>

#include <memory>

namespace ArtifactTest
{
inline QString Source_Path(const QString &relative)
{
    return QStringLiteral(QUILLON_SOURCE_DIR "/") + relative;
}

inline QByteArray Read_File(const QString &relative)
{
    QFile file(Source_Path(relative));
    if (!file.open(QIODevice::ReadOnly))
    {
        return QByteArray();
    }
    return file.readAll();
}

// A golden report holds one report line per text line, each ended by LF.
inline QStringList Golden_Lines(const QString &relative)
{
    QString text = QString::fromUtf8(Read_File(relative));
    if (text.endsWith(QLatin1Char('\n')))
    {
        text.chop(1);
    }
    return text.split(QLatin1Char('\n'));
}

// Compares line by line so that a failure names the first differing line.
inline bool Same_Lines(const QStringList &actual, const QStringList &expected)
{
    const int common = qMin(actual.size(), expected.size());
    for (int i = 0; i < common; ++i)
    {
        if (actual[i] != expected[i])
        {
            qWarning("line %d differs:\n  actual:   '%s'\n  expected: '%s'", i + 1, qPrintable(actual[i]),
                     qPrintable(expected[i]));
            return false;
        }
    }
    if (actual.size() != expected.size())
    {
        qWarning("line counts differ: %d actual, %d expected", int(actual.size()), int(expected.size()));
        return false;
    }
    return true;
}

// Copies of data with random bytes overwritten (printable ones, or any byte value), ranges cut out
// or repeated, or the end cut off.
inline QList<QByteArray> Damaged_Copies(const QByteArray &data, int count)
{
    QRandomGenerator random(20240611u);
    QList<QByteArray> copies;
    for (int n = 0; n < count; ++n)
    {
        QByteArray copy = data;
        const int size = copy.size();
        const int at = size > 0 ? random.bounded(size) : 0;
        const int span = 1 + random.bounded(64);
        switch (n % 5)
        {
        case 4:
            for (int i = 0; i < 1 + random.bounded(8); ++i)
            {
                copy[random.bounded(size)] = static_cast<char>(random.bounded(256));
            }
            break;
        case 0:
            for (int i = 0; i < 1 + random.bounded(8); ++i)
            {
                // Printable bytes, so the file still reads as text and reaches the parser.
                copy[random.bounded(size)] = static_cast<char>(32 + random.bounded(96));
            }
            break;
        case 1:
            copy.remove(at, span);
            break;
        case 2:
            copy.insert(at, copy.mid(at, span));
            break;
        default:
            copy.truncate(at);
            break;
        }
        copies.append(copy);
    }
    return copies;
}

// Every damaged copy of the file loads cleanly or fails with one of the allowed messages, through
// the load pipeline and, for bytes the pipeline turns away, through the record itself.
inline void Check_Damaged_Copies(const QString &relative, const QStringList &allowed_messages)
{
    const QByteArray data = Read_File(relative);
    QVERIFY(!data.isEmpty());
    const TMeasureData::TFileContents kind = TMeasureData::Determine_File_Contents(data);
    int parsed = 0;
    for (const QByteArray &copy : Damaged_Copies(data, 500))
    {
        const std::unique_ptr<TMeasureData> record = Create_Measure_Record(kind);
        QVERIFY(record);
        if (!record->Load_Data(copy))
        {
            QVERIFY2(allowed_messages.contains(record->last_error), qPrintable(record->last_error));
        }
        record->Text_Report();
        record->Graph_Data();

        const TMeasurementLoad load = MeasurementLoad::Load_Contents(copy, nullptr);
        if (load.contents == TMeasureData::CONTENTS_UNKNOWN)
        {
            continue;
        }
        ++parsed;
        QVERIFY(load.record);
        if (!load.Succeeded())
        {
            QVERIFY2(allowed_messages.contains(load.record->last_error), qPrintable(load.record->last_error));
            QCOMPARE(load.report_lines, QStringList(QStringLiteral("ERR  ") + load.record->last_error));
        }
        else
        {
            QVERIFY(!load.report_lines.isEmpty());
        }
    }
    // Most copies keep their first line and so reach the parser.
    QVERIFY(parsed > 200);
}
} // namespace ArtifactTest
