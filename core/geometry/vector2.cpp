#include "geometry/vector2.h"

#include "base/assertion.h"

#include <cmath>
#include <limits>

double TVector2::operator()(int index) const
{
    // One index check for both forms; the reference is only read.
    return const_cast<TVector2 &>(*this)(index);
}

double &TVector2::operator()(int index)
{
    switch (index)
    {
    case 0:
        return x;
    case 1:
        return y;
    default:
        QUILLON_ASSERT(false);
    }
}

TVector2 &TVector2::Normal()
{
    const double Length = std::sqrt(x * x + y * y);
    QUILLON_ASSERT(Length > std::numeric_limits<double>::epsilon());
    x /= Length;
    y /= Length;
    return *this;
}

bool TVector2::Is_Point_In_Triangle(const TVector2 &p, const TVector2 &a, const TVector2 &b,
                                    const TVector2 &c)
{
    double s = a.y * c.x - a.x * c.y + (c.y - a.y) * p.x + (a.x - c.x) * p.y;
    double t = a.x * b.y - a.y * b.x + (a.y - b.y) * p.x + (b.x - a.x) * p.y;

    if ((s < 0) != (t < 0))
    {
        return false;
    }

    double area = -b.y * c.x + a.y * (c.x - b.x) + a.x * (b.y - c.y) + b.x * c.y;
    if (area < 0)
    {
        s = -s;
        t = -t;
        area = -area;
    }
    return s > 0 && t > 0 && (s + t) <= area;
}

double operator^(const TVector2 &a, const TVector2 &b)
{
    return a.x * b.x + a.y * b.y;
}

TVector2 operator*(const TVector2 &v, const double &d)
{
    return TVector2(v.x * d, v.y * d);
}

TVector2 operator*(const double &d, const TVector2 &v)
{
    return v * d;
}

TVector2 operator+(const TVector2 &a, const TVector2 &b)
{
    return TVector2(a.x + b.x, a.y + b.y);
}

TVector2 operator+(const TVector2 &v, const double &d)
{
    return TVector2(v.x + d, v.y + d);
}

TVector2 operator+(const double &d, const TVector2 &v)
{
    return v + d;
}

TVector2 operator-(const TVector2 &a, const TVector2 &b)
{
    return TVector2(a.x - b.x, a.y - b.y);
}

TVector2 operator-(const TVector2 &v, const double &d)
{
    return TVector2(v.x - d, v.y - d);
}

TVector2 operator/(const TVector2 &v, const double &d)
{
    QUILLON_ASSERT(d > std::numeric_limits<double>::epsilon());
    return TVector2(v.x / d, v.y / d);
}
