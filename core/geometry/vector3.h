#pragma once

// Three-component vector: positions, probe offsets and directions, alignment axes.
class TVector3
{
  public:
    TVector3() = default;
    TVector3(const double &x_value, const double &y_value, const double &z_value)
        : x(x_value), y(y_value), z(z_value)
    {
    }

    double operator()(int index) const;
    double &operator()(int index);

    // Scales to unit length; the length must be above epsilon.
    TVector3 &Normal();

    // Cross product: this becomes this x v.
    TVector3 &operator*=(const TVector3 &v);

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

double operator^(const TVector3 &a, const TVector3 &b);   // dot product
TVector3 operator*(const TVector3 &a, const TVector3 &b); // cross product
TVector3 operator*(const TVector3 &v, const double &d);
TVector3 operator*(const double &d, const TVector3 &v);
TVector3 operator+(const TVector3 &a, const TVector3 &b);
TVector3 operator+(const TVector3 &v, const double &d);
TVector3 operator+(const double &d, const TVector3 &v);
TVector3 operator-(const TVector3 &a, const TVector3 &b);
TVector3 operator-(const TVector3 &v, const double &d);
TVector3 operator/(const TVector3 &v, const double &d);
