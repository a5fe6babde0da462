#pragma once

// Vectors and matrices as text for comparisons that show every component on a failure.

#include "mat4.h"
#include "vector2.h"
#include "vector3.h"

#include <QStringList>

#include <cmath>
#include <initializer_list>

// Rounded to 1e-9, so that rounding noise and -0 compare equal to the exact value.
inline QString Text(std::initializer_list<double> values)
{
    QStringList parts;
    for (const double value : values)
        parts << QString::number(std::round(value * 1e9) / 1e9 + 0.0, 'g', 12);
    return parts.join(QLatin1Char(' '));
}

inline QString Text(const TVector2 &v)
{
    return Text({v.x, v.y});
}

inline QString Text(const TVector3 &v)
{
    return Text({v.x, v.y, v.z});
}

inline QString Text(const TMat4 &m)
{
    return Text({m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], m[12], m[13],
                 m[14], m[15]});
}
