#include "model/nominalfaces.h"

#include "base/assertion.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace
{
double Round_To_Tenth(double value)
{
    return std::trunc(value * 10.0 + 0.5) / 10.0;
}
} // namespace

double NominalFaces::Read_Number(const QString &text)
{
    bool converted = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &converted);
    return converted ? value : 0.0;
}

bool NominalFaces::Derive_Pitch(const std::vector<double> &nominals, double *increment, double *end)
{
    QUILLON_ASSERT(increment && end);
    if (nominals.size() < 2 || nominals.size() > static_cast<size_t>(MAXIMUM_FACES))
    {
        return false;
    }
    *increment = Round_To_Tenth(nominals[1] - nominals[0]);
    *end = static_cast<double>(nominals.size() - 1) * *increment;
    return std::isfinite(*increment) && std::isfinite(*end) && *increment >= MINIMUM_INCREMENT &&
           *end >= MINIMUM_END;
}

NominalFaces::TLayout NominalFaces::Lay_Out(const std::vector<double> &nominals)
{
    TLayout layout;
    if (nominals.size() < 2 || nominals.size() > static_cast<size_t>(MAXIMUM_FACES))
    {
        return layout;
    }
    std::vector<double> stored;
    stored.reserve(nominals.size());
    for (const double value : nominals)
    {
        stored.push_back(value - nominals.front());
        // A difference of two finite values can still overflow.
        if (!std::isfinite(value) || !std::isfinite(stored.back()))
        {
            return layout;
        }
    }
    if (Derive_Pitch(nominals, &layout.increment, &layout.end))
    {
        layout.labels = Face_Positions(layout.increment, static_cast<int>(nominals.size()));
        for (size_t face = 0; face < stored.size(); ++face)
        {
            if (!(std::fabs(stored[face] - layout.labels[face]) < EVEN_TOLERANCE))
            {
                layout.uneven_face = static_cast<int>(face);
                layout.even_increment = layout.increment;
                break;
            }
        }
        if (layout.uneven_face < 0)
        {
            layout.spacing = SPACING_EVEN;
            return layout;
        }
    }
    else
    {
        layout.uneven_face = 1;
    }
    layout.spacing = SPACING_UNEVEN;
    // Rounded half away from zero: a descending set's fields show its own distances.
    layout.increment = std::round(stored[1] * 10.0) / 10.0;
    layout.end = std::round(stored.back() * 10.0) / 10.0;
    layout.labels = stored;
    return layout;
}

NominalFaces::TPitchState NominalFaces::Generate_Faces(double start, double increment, double end,
                                                       std::vector<double> *positions)
{
    QUILLON_ASSERT(positions);
    positions->clear();
    if (!std::isfinite(increment) || increment < MINIMUM_INCREMENT)
    {
        return PITCH_INCREMENT_INVALID;
    }
    if (!std::isfinite(end) || end < MINIMUM_END || !std::isfinite(start))
    {
        return PITCH_END_INVALID;
    }
    // Counted in doubles first: an end of 1e300 must not reach an integer conversion.
    const double count = std::trunc((end - start) / increment + 0.5) + 1.0;
    if (!(count >= 1.0 && count <= MAXIMUM_FACES))
    {
        return PITCH_END_INVALID;
    }
    *positions = Face_Positions(increment, static_cast<int>(count));
    return PITCH_VALID;
}

std::vector<double> NominalFaces::Face_Positions(double increment, int count)
{
    std::vector<double> positions;
    positions.reserve(static_cast<size_t>(std::max(count, 0)));
    double position = 0.0;
    for (int face = 0; face < count; ++face)
    {
        positions.push_back(position);
        position += increment;
    }
    return positions;
}

double NominalFaces::Deviation_Micrometres(double value, double first_value, double position)
{
    return (value - first_value - position) * 1000.0;
}

double NominalFaces::Value_From_Deviation(const std::vector<double> &nominals,
                                          const std::vector<double> &positions, int face, double micrometres)
{
    QUILLON_ASSERT(face >= 0 && static_cast<size_t>(face) < nominals.size() &&
                   static_cast<size_t>(face) < positions.size());
    // The other faces' deviations are reckoned from the first face, so it keeps its own base.
    if (face == 0)
    {
        return Round_To_Tenth(nominals[0]) + micrometres / 1000.0;
    }
    return nominals[0] + positions[static_cast<size_t>(face)] + micrometres / 1000.0;
}

QString NominalSerial::Problem(const QString &serial)
{
    if (serial.isEmpty())
    {
        return QCoreApplication::translate("NominalSerial", "Enter the serial number of the gauge.");
    }
    if (serial.trimmed() != serial)
    {
        return QCoreApplication::translate("NominalSerial",
                                           "The serial number must not begin or end with a blank.");
    }
    if (serial.contains(QLatin1String("..")))
    {
        return QCoreApplication::translate("NominalSerial", "The serial number must not contain \"..\".");
    }
    // Characters that no file name can hold here or on the other common systems.
    const QString refused = QStringLiteral("/\\<>:\"|?*");
    for (const QChar character : serial)
    {
        if (refused.contains(character))
        {
            return QCoreApplication::translate("NominalSerial",
                                               "The serial number must not contain the character '%1'.")
                .arg(character);
        }
        if (character.category() == QChar::Other_Control || character.category() == QChar::Other_Format)
        {
            return QCoreApplication::translate("NominalSerial",
                                               "The serial number must not contain control characters.");
        }
    }
    if (QStringLiteral("SG_%1").arg(serial).toUtf8().size() > 255)
    {
        return QCoreApplication::translate("NominalSerial", "The serial number is too long for a file name.");
    }
    return QString();
}

QString NominalSerial::Listed_File(const QStringList &file_names, const QString &serial)
{
    for (const QString &name : file_names)
    {
        if (name.mid(3).compare(serial, Qt::CaseInsensitive) == 0)
        {
            return name;
        }
    }
    return QString();
}
