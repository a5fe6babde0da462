#include "geometry/vector3.h"

#include "base/assertion.h"

#include <cmath>
#include <limits>

double TVector3::operator()(int index) const
{
    // One index check for both forms; the reference is only read.
    return const_cast<TVector3 &>(*this)(index);
}

double &TVector3::operator()(int index)
{
    switch (index)
    {
    case 0:
        return x;
    case 1:
        return y;
    case 2:
        return z;
    default:
        QUILLON_ASSERT(false);
    }
}

TVector3 &TVector3::Normal()
{
    const double Length = std::sqrt(x * x + y * y + z * z);
    QUILLON_ASSERT(Length > std::numeric_limits<double>::epsilon());
    x /= Length;
    y /= Length;
    z /= Length;
    return *this;
}

TVector3 &TVector3::operator*=(const TVector3 &v)
{
    const TVector3 a(*this);
    x = a.y * v.z - a.z * v.y;
    y = a.z * v.x - a.x * v.z;
    z = a.x * v.y - a.y * v.x;
    return *this;
}

double operator^(const TVector3 &a, const TVector3 &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

TVector3 operator*(const TVector3 &a, const TVector3 &b)
{
    TVector3 result(a);
    result *= b;
    return result;
}

TVector3 operator*(const TVector3 &v, const double &d)
{
    return TVector3(v.x * d, v.y * d, v.z * d);
}

TVector3 operator*(const double &d, const TVector3 &v)
{
    return v * d;
}

TVector3 operator+(const TVector3 &a, const TVector3 &b)
{
    return TVector3(a.x + b.x, a.y + b.y, a.z + b.z);
}

TVector3 operator+(const TVector3 &v, const double &d)
{
    return TVector3(v.x + d, v.y + d, v.z + d);
}

TVector3 operator+(const double &d, const TVector3 &v)
{
    return v + d;
}

TVector3 operator-(const TVector3 &a, const TVector3 &b)
{
    return TVector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

TVector3 operator-(const TVector3 &v, const double &d)
{
    return TVector3(v.x - d, v.y - d, v.z - d);
}

TVector3 operator/(const TVector3 &v, const double &d)
{
    QUILLON_ASSERT(d > std::numeric_limits<double>::epsilon());
    return TVector3(v.x / d, v.y / d, v.z / d);
}
