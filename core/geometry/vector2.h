#pragma once

// Two-component vector: graph points and fitted point lists.
class TVector2
{
  public:
    TVector2() = default;
    TVector2(const double &x_value, const double &y_value) : x(x_value), y(y_value) {}

    double operator()(int index) const;
    double &operator()(int index);

    // Scales to unit length; the length must be above epsilon.
    TVector2 &Normal();

    static bool Is_Point_In_Triangle(const TVector2 &p, const TVector2 &a, const TVector2 &b,
                                     const TVector2 &c);

    double x = 0.0;
    double y = 0.0;
};

double operator^(const TVector2 &a, const TVector2 &b); // dot product
TVector2 operator*(const TVector2 &v, const double &d);
TVector2 operator*(const double &d, const TVector2 &v);
TVector2 operator+(const TVector2 &a, const TVector2 &b);
TVector2 operator+(const TVector2 &v, const double &d);
TVector2 operator+(const double &d, const TVector2 &v);
TVector2 operator-(const TVector2 &a, const TVector2 &b);
TVector2 operator-(const TVector2 &v, const double &d);
TVector2 operator/(const TVector2 &v, const double &d);
