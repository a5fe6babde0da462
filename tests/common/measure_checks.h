#pragma once

// What the record tests share: example files, line edits, loading a record of a kind, comparisons that
// print both sides, and the texts of the messages several kinds write.

#include "model/measuredata_factory.h"
#include "tests/common/test_support.h"

#include <QStringList>
#include <QTest>

#include <cmath>
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

using TValues = std::vector<double>;
using TCurves = std::vector<std::vector<TVector2>>;

inline QByteArray Example(const QString &name)
{
    return Read_File(Source_Path(QStringLiteral("examples/") + name + QStringLiteral(".dat")));
}

// Line edits; a line matches when it begins with line_start. Without removes every match, Replaced
// puts text (one line or more) in place of the first, Inserted puts it before the first. A line_start
// that matches nothing is a mistake in the test and stops it, so that no row passes for a wrong reason.
inline QByteArray Edited(const QByteArray &data, const QByteArray &line_start, const QByteArray *text,
                         bool insert)
{
    QList<QByteArray> lines;
    bool found = false;
    for (const QByteArray &line : data.split('\n'))
    {
        const bool match = line.startsWith(line_start) && (!text || !found);
        found = found || match;
        if (match && text)
            lines.append(*text);
        if (!match || insert)
            lines.append(line);
    }
    if (!found)
        qFatal("no line begins with %s", line_start.constData());
    return lines.join('\n');
}

inline QByteArray Without(const QByteArray &data, const QByteArray &line_start)
{
    return Edited(data, line_start, nullptr, false);
}

inline QByteArray Replaced(const QByteArray &data, const QByteArray &line_start, const QByteArray &text)
{
    return Edited(data, line_start, &text, false);
}

inline QByteArray Inserted(const QByteArray &data, const QByteArray &line_start, const QByteArray &text)
{
    return Edited(data, line_start, &text, true);
}

// A record of the kind that has loaded the file. Its last_error is the message of a failed load, or
// says so when the result of the load and the message disagree.
inline std::unique_ptr<TMeasureData> Loaded(int kind, const QByteArray &file)
{
    std::unique_ptr<TMeasureData> record =
        Create_Measure_Record(static_cast<TMeasureData::TFileContents>(kind));
    if (record->Load_Data(file) == record->last_error.isEmpty())
        return record;
    record->last_error = QStringLiteral("load result and message disagree: ") + record->last_error;
    return record;
}

// A record kind, a file and what loading it must give: the message (empty: it loads) and values the
// test reads from the record.
struct TLoadRow
{
    int kind;
    QByteArray file;
    QString message;
    TValues values;
};

// Equal within 1e-9; a failure prints both lists.
inline void Compare_Values(const TValues &actual, const TValues &expected)
{
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i)
        same = std::abs(actual[i] - expected[i]) <= 1e-9;
    const auto text = [](const TValues &values)
    {
        QStringList texts;
        for (const double value : values)
            texts += QString::number(value, 'g', 12);
        return texts.join(QStringLiteral(", "));
    };
    QVERIFY2(same, qPrintable(QStringLiteral("(%1) instead of (%2)").arg(text(actual), text(expected))));
}

// x and y of every point of the curves, one curve after the other.
inline TValues Flat(const TCurves &curves)
{
    TValues values;
    for (const std::vector<TVector2> &curve : curves)
        for (const TVector2 &point : curve)
            values.insert(values.end(), {point.x, point.y});
    return values;
}

inline std::vector<int> Sizes(const TCurves &curves)
{
    std::vector<int> sizes;
    for (const std::vector<TVector2> &curve : curves)
        sizes.push_back(static_cast<int>(curve.size()));
    return sizes;
}
} // namespace MeasureChecks

Q_DECLARE_METATYPE(MeasureChecks::TLoadRow)
