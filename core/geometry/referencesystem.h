#pragma once

#include "geometry/mat4.h"
#include "geometry/vector3.h"

// A part coordinate system built up step by step from measured directions and points, the way a
// measuring machine aligns a part. The rows 0, 1, 2 of the rotation are the part's X, Y and Z axis
// directions in machine coordinates; the origin is the part origin in machine coordinates.
class TReferenceSystem
{
  public:
    enum TAxis
    {
        XPLUS = 0,
        YPLUS,
        ZPLUS,
        XMINUS,
        YMINUS,
        ZMINUS
    };

    TReferenceSystem() = default;

    void Clear_Alignment();

    // The named axis points along direction; the other two are re-orthogonalised.
    void Skew1(const TVector3 &direction, TAxis axis_name);
    // Keeps the row of the fixed axis and turns the named axis towards direction within the plane
    // perpendicular to it.
    void Skew2(const TVector3 &direction, TAxis axis_name, TAxis fixed_axis_name);

    // Moves the origin along the axis row until its coordinate there equals that of point.
    void Set_Origin(const TVector3 &point, TAxis axis_name);
    void Offset_Origin(const double &distance, TAxis axis_name);

    // Rotates the system about one of its own axes; angle in radians.
    void Rotate(const double &angle, TAxis axis_name);

    const TVector3 &Origin() const { return d_origin; }
    const TMat4 &Rotation() const { return d_rotation; }
    const TMat4 &Inverse_Rotation() const { return d_inverse_rotation; }

    // Row 0, 1 or 2 of the rotation as a vector; the sense of the axis does not matter.
    TVector3 Axis_Row(TAxis axis_name) const;

  private:
    void Set_Row(int row, const TVector3 &v);
    void Set_Rows(const TVector3 &x_row, const TVector3 &y_row, const TVector3 &z_row);
    void Update_Inverse();

    TVector3 d_origin;
    TMat4 d_rotation;
    TMat4 d_inverse_rotation;
};
