#pragma once

// What every harness checks after each input, and the nominal source the measurement harnesses share.

#include "model/measurementload.h"
#include "model/nominalstore.h"

#include <QByteArray>
#include <QDir>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace FuzzChecks
{
[[noreturn]] inline void Fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline QByteArray Bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size));
}

inline void Check_Curves(const std::vector<std::vector<TVector2>> &curves)
{
    for (const std::vector<TVector2> &curve : curves)
    {
        for (const TVector2 &point : curve)
        {
            if (!std::isfinite(point.x) || !std::isfinite(point.y))
            {
                Fail("a curve point is not finite");
            }
        }
    }
}

inline void Check_Lines(const QStringList &lines)
{
    for (const QString &line : lines)
    {
        if (line.contains(QChar(0)))
        {
            Fail("a report line holds NUL");
        }
    }
}

// The example nominal sets by serial; any other serial that is a comma list of numbers gives those
// numbers, so that the fuzzer reaches the matching of nominal positions with values of its own.
class TFuzzNominalSource : public TNominalSource
{
  public:
    TFuzzNominalSource()
    {
        TNominalStore store;
        store.Initialize(QStringLiteral(QUILLON_SOURCE_DIR "/examples"));
        for (const QString &name : store.File_Names())
        {
            bool valid = false;
            const QString serial = name.mid(3);
            d_sets[serial] = store.Nominal_Data(serial, &valid);
        }
    }

    bool Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const override
    {
        const auto found = d_sets.find(serial.trimmed());
        if (found != d_sets.end())
        {
            *nominal_values = found->second;
            return true;
        }
        nominal_values->clear();
        for (const QString &part : serial.split(QLatin1Char(',')))
        {
            bool converted = false;
            const double value = part.toDouble(&converted);
            if (!converted || !std::isfinite(value))
            {
                return false;
            }
            nominal_values->push_back(value);
        }
        return true;
    }

  private:
    std::map<QString, std::vector<double>> d_sets;
};
} // namespace FuzzChecks
