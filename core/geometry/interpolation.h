#pragma once

#include "geometry/vector2.h"
#include "geometry/vector3.h"

#include <vector>

// Least-squares fitting and piecewise-linear interpolation over point lists. Every routine writes
// its results through out-pointers and returns false when the points do not determine a result;
// a null out-pointer where a result is required is a programming error.

// Gauss-Jordan elimination on an augmented matrix of rows x (rows + 1) doubles, row-major; the
// matrix is overwritten. False when no pivot above 1e-12 is found for a row.
bool Solve_Mat(int rows, int columns, double *matrix, double *solution);

namespace Regression
{
// Ordinary least squares y = slope * x + intercept; intercept may be null. False, writing nothing,
// with fewer than two points, when all x are equal, or when the sums leave the range of double.
bool Fit_Line(const std::vector<TVector2> &points, double *slope, double *intercept);

// Slope of a line through the origin, falling back to Fit_Line when the signed means do not give one.
bool Get_Slope_Through_Zero(const std::vector<TVector2> &points, double *slope);

// Slope between the first and the last point.
bool Get_Endfit_Slope(const std::vector<TVector2> &points, double *slope);
} // namespace Regression

namespace LeastSquares
{
// y = a x^2 + b x + c
bool Fit_Curve(const std::vector<TVector2> &points, double *a, double *b, double *c);
// y = a x^3 + b x^2 + c x + d
bool Fit_Curve(const std::vector<TVector2> &points, double *a, double *b, double *c, double *d);
// y = a x^4 + b x^3 + c x^2 + d x + e
bool Fit_Curve(const std::vector<TVector2> &points, double *a, double *b, double *c, double *d, double *e);
} // namespace LeastSquares

namespace Extrapolation
{
// Piecewise-linear through the points in list order; beyond the ends the first or last segment
// is extended.
bool Get_Value(const std::vector<TVector2> &points, const double &x, double *value);

// The same with one component of TVector3 points as abscissa and the other two interpolated.
bool Get_Value_XY(const std::vector<TVector3> &points, const double &z, double *x_value, double *y_value);
bool Get_Value_YZ(const std::vector<TVector3> &points, const double &x, double *y_value, double *z_value);
bool Get_Value_ZX(const std::vector<TVector3> &points, const double &y, double *x_value, double *z_value);
} // namespace Extrapolation
