#include "geometry/referencesystem.h"

#include "base/assertion.h"

#include <cmath>
#include <limits>

namespace
{
const double EPSILON = std::numeric_limits<double>::epsilon();

double Length(const TVector3 &v)
{
    return std::sqrt(v ^ v);
}

int Row_Of(TReferenceSystem::TAxis axis_name)
{
    return static_cast<int>(axis_name) % 3;
}

// Where Skew2 stores s (the new direction of the named axis) and t (the third axis) for each pair of
// fixed row and named axis. Pairs on the same row set nothing and are absent.
struct TSkew2Rows
{
    int fixed_row;
    TReferenceSystem::TAxis axis_name;
    int s_row;
    double s_sign;
    int t_row;
    double t_sign;
};

const TSkew2Rows SKEW2_ROWS[] = {
    {0, TReferenceSystem::YPLUS, 1, 1.0, 2, 1.0},  {0, TReferenceSystem::YMINUS, 1, -1.0, 2, -1.0},
    {0, TReferenceSystem::ZPLUS, 2, 1.0, 1, -1.0}, {0, TReferenceSystem::ZMINUS, 2, -1.0, 1, 1.0},
    {1, TReferenceSystem::XPLUS, 0, 1.0, 2, -1.0}, {1, TReferenceSystem::XMINUS, 0, -1.0, 2, 1.0},
    {1, TReferenceSystem::ZPLUS, 2, 1.0, 0, 1.0},  {1, TReferenceSystem::ZMINUS, 2, -1.0, 0, -1.0},
    {2, TReferenceSystem::XPLUS, 0, 1.0, 1, 1.0},  {2, TReferenceSystem::XMINUS, 0, -1.0, 1, -1.0},
    {2, TReferenceSystem::YPLUS, 1, 1.0, 0, -1.0}, {2, TReferenceSystem::YMINUS, 1, -1.0, 0, 1.0},
};
} // namespace

void TReferenceSystem::Clear_Alignment()
{
    d_origin = TVector3();
    d_rotation.Identity();
    d_inverse_rotation.Identity();
}

void TReferenceSystem::Skew1(const TVector3 &direction, TAxis axis_name)
{
    if (!(Length(direction) > EPSILON))
    {
        return;
    }

    TVector3 p(direction);
    p.Normal();

    const TVector3 rx = Axis_Row(XPLUS);
    const TVector3 ry = Axis_Row(YPLUS);
    const TVector3 rz = Axis_Row(ZPLUS);

    TVector3 s;
    TVector3 t;
    switch (Row_Of(axis_name))
    {
    case 0:
        s = rz * p;
        t = p * ry;
        break;
    case 1:
        s = rx * p;
        t = p * rz;
        break;
    default:
        s = ry * p;
        t = p * rx;
        break;
    }

    // Build from the better conditioned of the two candidates.
    if (Length(s) > Length(t))
    {
        s.Normal();
        t = p * s;
    }
    else
    {
        t.Normal();
        s = t * p;
    }

    switch (axis_name)
    {
    case XPLUS:
        Set_Rows(p, s, t);
        break;
    case YPLUS:
        Set_Rows(t, p, s);
        break;
    case ZPLUS:
        Set_Rows(s, t, p);
        break;
    case XMINUS:
        Set_Rows(p * -1.0, s, t * -1.0);
        break;
    case YMINUS:
        Set_Rows(t * -1.0, p * -1.0, s);
        break;
    case ZMINUS:
        Set_Rows(s, t * -1.0, p * -1.0);
        break;
    }
    Update_Inverse();
}

void TReferenceSystem::Skew2(const TVector3 &direction, TAxis axis_name, TAxis fixed_axis_name)
{
    QUILLON_ASSERT(fixed_axis_name != axis_name);

    if (!(Length(direction) > EPSILON))
    {
        return;
    }

    const TVector3 f = Axis_Row(fixed_axis_name);
    TVector3 t = f * direction;
    if (!(Length(t) > EPSILON))
    {
        return;
    }
    t.Normal();
    const TVector3 s = t * f; // unit part of direction perpendicular to f

    const int fixed_row = Row_Of(fixed_axis_name);
    for (const TSkew2Rows &rows : SKEW2_ROWS)
    {
        if (rows.fixed_row == fixed_row && rows.axis_name == axis_name)
        {
            Set_Row(rows.s_row, s * rows.s_sign);
            Set_Row(rows.t_row, t * rows.t_sign);
            break;
        }
    }
    Update_Inverse();
}

void TReferenceSystem::Set_Origin(const TVector3 &point, TAxis axis_name)
{
    const TVector3 a = Axis_Row(axis_name);
    d_origin = d_origin - a * ((d_origin - point) ^ a);
}

void TReferenceSystem::Offset_Origin(const double &distance, TAxis axis_name)
{
    d_origin = d_origin + Axis_Row(axis_name) * distance;
}

void TReferenceSystem::Rotate(const double &angle, TAxis axis_name)
{
    TVector3 v = d_rotation * Axis_Row(axis_name);
    v.Normal();
    d_rotation.Rotate(v, angle);
    Update_Inverse();
}

TVector3 TReferenceSystem::Axis_Row(TAxis axis_name) const
{
    const int base = 4 * Row_Of(axis_name);
    return TVector3(d_rotation[base], d_rotation[base + 1], d_rotation[base + 2]);
}

void TReferenceSystem::Set_Row(int row, const TVector3 &v)
{
    d_rotation[4 * row] = v.x;
    d_rotation[4 * row + 1] = v.y;
    d_rotation[4 * row + 2] = v.z;
}

void TReferenceSystem::Set_Rows(const TVector3 &x_row, const TVector3 &y_row, const TVector3 &z_row)
{
    Set_Row(0, x_row);
    Set_Row(1, y_row);
    Set_Row(2, z_row);
}

void TReferenceSystem::Update_Inverse()
{
    d_inverse_rotation = d_rotation;
    d_inverse_rotation.Transpose();
}
