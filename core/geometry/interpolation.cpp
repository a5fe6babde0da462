#include "geometry/interpolation.h"

#include "base/assertion.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>

namespace
{
const double PIVOT_EPSILON = 1e-12;
const double ABSCISSA_EPSILON = 1e-6;

bool All_Finite(std::initializer_list<double> values)
{
    for (const double value : values)
    {
        if (!std::isfinite(value))
        {
            return false;
        }
    }
    return true;
}

// A polynomial of degree d is only determined by d + 1 distinct abscissae; with fewer the normal
// equations are singular and rounding would turn them into a meaningless but finite result.
bool Has_Distinct_X(const std::vector<TVector2> &points, size_t count)
{
    std::vector<double> distinct;
    for (const TVector2 &point : points)
    {
        bool known = false;
        for (const double x : distinct)
        {
            known = known || x == point.x;
        }
        if (!known)
        {
            distinct.push_back(point.x);
            if (distinct.size() >= count)
            {
                return true;
            }
        }
    }
    return false;
}

// Normal equations of a polynomial of the given degree, negated on both sides, solved for the
// coefficients; coefficients[k] belongs to x^k.
bool Fit_Polynomial(const std::vector<TVector2> &points, int degree, double *coefficients)
{
    const int rows = degree + 1;
    const int columns = rows + 1;
    std::vector<double> matrix(static_cast<size_t>(rows * columns), 0.0);
    for (int i = 0; i < rows; ++i)
    {
        for (int j = 0; j < rows; ++j)
        {
            double sum = 0.0;
            for (const TVector2 &point : points)
            {
                sum += std::pow(point.x, i + j);
            }
            matrix[static_cast<size_t>(i * columns + j)] = -sum;
        }
        double sum = 0.0;
        for (const TVector2 &point : points)
        {
            sum += point.y * std::pow(point.x, i);
        }
        matrix[static_cast<size_t>(i * columns + rows)] = -sum;
    }
    if (!Solve_Mat(rows, columns, matrix.data(), coefficients))
    {
        return false;
    }
    for (int k = 0; k < rows; ++k)
    {
        if (!std::isfinite(coefficients[k]))
        {
            return false;
        }
    }
    return true;
}

// Where x lies on the polyline given by abscissa(point): the value is then
// v[first] + t * (v[second] - v[first]) for every interpolated component v.
struct TSegment
{
    size_t first = 0;
    size_t second = 0;
    double t = 0.0;
};

template <class TPoint, class TAbscissa>
bool Find_Segment(const std::vector<TPoint> &points, const double &x, TAbscissa abscissa, TSegment *segment)
{
    if (points.size() < 2)
    {
        return false;
    }
    const size_t last = points.size() - 1;
    const double x_first = abscissa(points[0]);
    const double x_last = abscissa(points[last]);
    if (std::abs(x_last - x_first) < ABSCISSA_EPSILON)
    {
        return false;
    }

    const double t = (x - x_first) / (x_last - x_first);
    size_t first = 0;
    size_t second = 0;
    if (t < 0.0)
    {
        // Before the start: extend the first segment.
        first = 0;
        second = 1;
    }
    else if (t > 1.0)
    {
        // Past the end: extend the last segment.
        first = last;
        second = last - 1;
    }
    else
    {
        for (size_t i = 0; i < last; ++i)
        {
            const double dx = abscissa(points[i + 1]) - abscissa(points[i]);
            if (std::abs(dx) <= ABSCISSA_EPSILON)
            {
                continue;
            }
            const double local = (x - abscissa(points[i])) / dx;
            if (local >= 0.0 && local <= 1.0)
            {
                segment->first = i;
                segment->second = i + 1;
                segment->t = local;
                return true;
            }
        }
        return false;
    }

    // An end segment of zero length has no direction to extend along.
    const double dx = abscissa(points[second]) - abscissa(points[first]);
    if (std::abs(dx) <= ABSCISSA_EPSILON)
    {
        return false;
    }
    segment->first = first;
    segment->second = second;
    segment->t = (x - abscissa(points[first])) / dx;
    return true;
}

double Along(double from, double to, double t)
{
    return from + t * (to - from);
}

template <class TAbscissa, class TFirst, class TSecond>
bool Get_Value_3D(const std::vector<TVector3> &points, const double &x, TAbscissa abscissa,
                  TFirst first_component, TSecond second_component, double *first_value, double *second_value)
{
    *first_value = 0.0;
    *second_value = 0.0;
    TSegment segment;
    if (!Find_Segment(points, x, abscissa, &segment))
    {
        return false;
    }
    const TVector3 &from = points[segment.first];
    const TVector3 &to = points[segment.second];
    *first_value = Along(first_component(from), first_component(to), segment.t);
    *second_value = Along(second_component(from), second_component(to), segment.t);
    return true;
}

double X_Of(const TVector3 &point)
{
    return point.x;
}

double Y_Of(const TVector3 &point)
{
    return point.y;
}

double Z_Of(const TVector3 &point)
{
    return point.z;
}
} // namespace

bool Solve_Mat(int rows, int columns, double *matrix, double *solution)
{
    QUILLON_ASSERT(matrix);
    QUILLON_ASSERT(solution);
    QUILLON_ASSERT(rows > 0 && columns == rows + 1);

    auto at = [matrix, columns](int row, int column) -> double & { return matrix[row * columns + column]; };

    for (int i = 0; i < rows; ++i)
    {
        if (std::abs(at(i, i)) < PIVOT_EPSILON)
        {
            int swap_row = -1;
            for (int r = i + 1; r < rows && swap_row < 0; ++r)
            {
                if (std::abs(at(r, i)) > PIVOT_EPSILON)
                {
                    swap_row = r;
                }
            }
            if (swap_row < 0)
            {
                return false;
            }
            // Columns left of i are already eliminated in both rows.
            for (int column = i; column < columns; ++column)
            {
                std::swap(at(i, column), at(swap_row, column));
            }
        }
        if (std::abs(at(i, i)) < PIVOT_EPSILON)
        {
            return false;
        }

        const double pivot = at(i, i);
        for (int column = i; column < columns; ++column)
        {
            at(i, column) /= pivot;
        }
        for (int j = 0; j < rows; ++j)
        {
            if (j == i)
            {
                continue;
            }
            const double factor = at(j, i);
            for (int column = 0; column < columns; ++column)
            {
                at(j, column) -= factor * at(i, column);
            }
        }
    }

    for (int k = 0; k < rows; ++k)
    {
        solution[k] = at(k, rows);
    }
    return true;
}

bool Regression::Fit_Line(const std::vector<TVector2> &points, double *slope, double *intercept)
{
    QUILLON_ASSERT(slope);
    if (points.size() < 2 || !Has_Distinct_X(points, 2))
    {
        return false;
    }

    double sum_x = 0.0;
    double sum_y = 0.0;
    double sum_xy = 0.0;
    double sum_xx = 0.0;
    for (const TVector2 &point : points)
    {
        sum_x += point.x;
        sum_y += point.y;
        sum_xy += point.x * point.y;
        sum_xx += point.x * point.x;
    }
    const double n = static_cast<double>(points.size());
    const double fitted_slope = (n * sum_xy - sum_x * sum_y) / (n * sum_xx - sum_x * sum_x);
    const double fitted_intercept = (sum_y - fitted_slope * sum_x) / n;
    if (!All_Finite({fitted_slope, fitted_intercept}))
    {
        return false;
    }

    *slope = fitted_slope;
    if (intercept)
    {
        *intercept = fitted_intercept;
    }
    return true;
}

bool Regression::Get_Slope_Through_Zero(const std::vector<TVector2> &points, double *slope)
{
    QUILLON_ASSERT(slope);
    *slope = 0.0;
    if (points.empty())
    {
        return false;
    }

    // Points left of the origin are mirrored through it, so a line through zero gives a mean point
    // on the same line.
    double mean_x = 0.0;
    double mean_y = 0.0;
    for (const TVector2 &point : points)
    {
        if (point.x > 0.0)
        {
            mean_x += point.x;
            mean_y += point.y;
        }
        else
        {
            mean_x -= point.x;
            mean_y -= point.y;
        }
    }
    mean_x /= static_cast<double>(points.size());
    mean_y /= static_cast<double>(points.size());

    if (std::abs(mean_y) <= std::abs(mean_x) && std::abs(mean_x) >= ABSCISSA_EPSILON)
    {
        *slope = mean_y / mean_x;
        return true;
    }
    return Fit_Line(points, slope, nullptr);
}

bool Regression::Get_Endfit_Slope(const std::vector<TVector2> &points, double *slope)
{
    QUILLON_ASSERT(slope);
    *slope = 0.0;
    if (points.size() < 2)
    {
        return false;
    }
    const TVector2 &first = points.front();
    const TVector2 &last = points.back();
    if (std::abs(last.x - first.x) <= ABSCISSA_EPSILON)
    {
        return false;
    }
    *slope = (last.y - first.y) / (last.x - first.x);
    return true;
}

bool LeastSquares::Fit_Curve(const std::vector<TVector2> &points, double *a, double *b, double *c)
{
    QUILLON_ASSERT(a);
    QUILLON_ASSERT(b);
    QUILLON_ASSERT(c);
    if (points.size() < 3 || !Has_Distinct_X(points, 3))
    {
        return false;
    }

    double s0 = 0.0;
    double s1 = 0.0;
    double s2 = 0.0;
    double s3 = 0.0;
    double s4 = 0.0;
    double sy = 0.0;
    double sxy = 0.0;
    double sx2y = 0.0;
    for (const TVector2 &point : points)
    {
        const double x2 = point.x * point.x;
        s0 += 1.0;
        s1 += point.x;
        s2 += x2;
        s3 += x2 * point.x;
        s4 += x2 * x2;
        sy += point.y;
        sxy += point.x * point.y;
        sx2y += x2 * point.y;
    }

    // Cramer's rule on | s4 s3 s2 | | a |   | sx2y |
    //                  | s3 s2 s1 | | b | = | sxy  |
    //                  | s2 s1 s0 | | c |   | sy   |
    auto determinant = [](double m11, double m12, double m13, double m21, double m22, double m23, double m31,
                          double m32, double m33)
    { return m11 * (m22 * m33 - m23 * m32) - m12 * (m21 * m33 - m23 * m31) + m13 * (m21 * m32 - m22 * m31); };
    const double d = determinant(s4, s3, s2, s3, s2, s1, s2, s1, s0);
    const double fitted_a = determinant(sx2y, s3, s2, sxy, s2, s1, sy, s1, s0) / d;
    const double fitted_b = determinant(s4, sx2y, s2, s3, sxy, s1, s2, sy, s0) / d;
    const double fitted_c = determinant(s4, s3, sx2y, s3, s2, sxy, s2, s1, sy) / d;
    if (!All_Finite({fitted_a, fitted_b, fitted_c}))
    {
        return false;
    }
    *a = fitted_a;
    *b = fitted_b;
    *c = fitted_c;
    return true;
}

bool LeastSquares::Fit_Curve(const std::vector<TVector2> &points, double *a, double *b, double *c, double *d)
{
    QUILLON_ASSERT(a);
    QUILLON_ASSERT(b);
    QUILLON_ASSERT(c);
    QUILLON_ASSERT(d);
    *a = *b = *c = *d = 0.0;
    double coefficients[4] = {};
    if (points.size() < 4 || !Has_Distinct_X(points, 4) || !Fit_Polynomial(points, 3, coefficients))
    {
        return false;
    }
    *a = coefficients[3];
    *b = coefficients[2];
    *c = coefficients[1];
    *d = coefficients[0];
    return true;
}

bool LeastSquares::Fit_Curve(const std::vector<TVector2> &points, double *a, double *b, double *c, double *d,
                             double *e)
{
    QUILLON_ASSERT(a);
    QUILLON_ASSERT(b);
    QUILLON_ASSERT(c);
    QUILLON_ASSERT(d);
    QUILLON_ASSERT(e);
    *a = *b = *c = *d = *e = 0.0;
    double coefficients[5] = {};
    if (points.size() < 5 || !Has_Distinct_X(points, 5) || !Fit_Polynomial(points, 4, coefficients))
    {
        return false;
    }
    *a = coefficients[4];
    *b = coefficients[3];
    *c = coefficients[2];
    *d = coefficients[1];
    *e = coefficients[0];
    return true;
}

bool Extrapolation::Get_Value(const std::vector<TVector2> &points, const double &x, double *value)
{
    QUILLON_ASSERT(value);
    *value = 0.0;
    TSegment segment;
    if (!Find_Segment(
            points, x, [](const TVector2 &point) { return point.x; }, &segment))
    {
        return false;
    }
    *value = Along(points[segment.first].y, points[segment.second].y, segment.t);
    return true;
}

bool Extrapolation::Get_Value_XY(const std::vector<TVector3> &points, const double &z, double *x_value,
                                 double *y_value)
{
    QUILLON_ASSERT(x_value);
    QUILLON_ASSERT(y_value);
    return Get_Value_3D(points, z, Z_Of, X_Of, Y_Of, x_value, y_value);
}

bool Extrapolation::Get_Value_YZ(const std::vector<TVector3> &points, const double &x, double *y_value,
                                 double *z_value)
{
    QUILLON_ASSERT(y_value);
    QUILLON_ASSERT(z_value);
    return Get_Value_3D(points, x, X_Of, Y_Of, Z_Of, y_value, z_value);
}

bool Extrapolation::Get_Value_ZX(const std::vector<TVector3> &points, const double &y, double *x_value,
                                 double *z_value)
{
    QUILLON_ASSERT(x_value);
    QUILLON_ASSERT(z_value);
    return Get_Value_3D(points, y, Y_Of, X_Of, Z_Of, x_value, z_value);
}
