#include "geometry/mat4.h"

#include <cmath>
#include <utility>

void TMat4::Set(const double *values)
{
    for (int i = 0; i < 16; ++i)
    {
        d_m[i] = values[i];
    }
}

void TMat4::Identity()
{
    for (int i = 0; i < 16; ++i)
    {
        d_m[i] = (i % 5 == 0) ? 1.0 : 0.0;
    }
}

void TMat4::Transpose()
{
    std::swap(d_m[1], d_m[4]);
    std::swap(d_m[2], d_m[8]);
    std::swap(d_m[3], d_m[12]);
    std::swap(d_m[6], d_m[9]);
    std::swap(d_m[7], d_m[13]);
    std::swap(d_m[11], d_m[14]);
}

void TMat4::Normal()
{
    for (int row = 0; row < 3; ++row)
    {
        TVector3 v(d_m[4 * row], d_m[4 * row + 1], d_m[4 * row + 2]);
        v.Normal();
        d_m[4 * row] = v.x;
        d_m[4 * row + 1] = v.y;
        d_m[4 * row + 2] = v.z;
    }
}

void TMat4::Rotate(const TVector3 &axis, const double &angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double u = 1.0 - c;
    const double x = axis.x;
    const double y = axis.y;
    const double z = axis.z;

    TMat4 r;
    r[0] = x * x * u + c;
    r[1] = x * y * u + z * s;
    r[2] = x * z * u - y * s;
    r[4] = x * y * u - z * s;
    r[5] = y * y * u + c;
    r[6] = y * z * u + x * s;
    r[8] = x * z * u + y * s;
    r[9] = y * z * u - x * s;
    r[10] = z * z * u + c;

    *this *= r;
}

TMat4 &TMat4::operator*=(const TMat4 &n)
{
    double result[16];
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
            {
                sum += n.d_m[4 * r + k] * d_m[4 * k + c];
            }
            result[4 * r + c] = sum;
        }
    }
    Set(result);
    return *this;
}

TMat4 operator*(const TMat4 &a, const TMat4 &b)
{
    TMat4 result(a);
    result *= b;
    return result;
}

TVector3 operator*(const TMat4 &m, const TVector3 &p)
{
    return TVector3(m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
                    m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]);
}
