#pragma once

#include "geometry/vector3.h"

// 4 x 4 matrix of doubles, row-major: element (r, c) is d_m[4 * r + c].
// The translation of a transform lies in elements 3, 7 and 11.
class TMat4
{
  public:
    TMat4() { Identity(); }
    explicit TMat4(const double *values) { Set(values); }

    void Set(const double *values);
    void Identity();
    void Transpose();
    // Normalises rows 0, 1 and 2 as 3-vectors; each must have a length above epsilon.
    void Normal();
    // Rotation about an axis (taken as passed, not normalised) by an angle in radians.
    void Rotate(const TVector3 &axis, const double &angle);

    // This matrix m becomes n * m.
    TMat4 &operator*=(const TMat4 &n);

    double operator[](int index) const { return d_m[index]; }
    double &operator[](int index) { return d_m[index]; }

  private:
    double d_m[16];
};

TMat4 operator*(const TMat4 &a, const TMat4 &b);       // b * a, as a copy of a multiplied in place by b
TVector3 operator*(const TMat4 &m, const TVector3 &p); // affine point transform, row 3 ignored
