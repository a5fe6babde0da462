#include "interpolation.h"

#include "childprocess.h"

#include <QtTest>

Q_DECLARE_METATYPE(TVector2)

namespace
{
std::vector<TVector2> Points(std::initializer_list<TVector2> points)
{
    return std::vector<TVector2>(points);
}

// Calls that break a precondition, and the failed condition each must report.
struct TAssertCase
{
    const char *name;
    void (*action)();
    const char *condition;
};

const TAssertCase ASSERT_CASES[] = {
    {"Fit_Line",
     [] {
         Regression::Fit_Line(Points({{0, 0}, {1, 1}}), nullptr, nullptr);
     },
     "slope"},
    {"Get_Slope_Through_Zero",
     [] {
         Regression::Get_Slope_Through_Zero(Points({{1, 1}}), nullptr);
     },
     "slope"},
    {"Get_Endfit_Slope",
     [] {
         Regression::Get_Endfit_Slope(Points({{0, 0}, {1, 1}}), nullptr);
     },
     "slope"},
    {"Fit_Curve 3",
     []
     {
         double v = 0;
         LeastSquares::Fit_Curve(Points({{0, 0}, {1, 1}, {2, 4}}), &v, nullptr, &v);
     },
     "b"},
    {"Fit_Curve 4",
     []
     {
         double v = 0;
         LeastSquares::Fit_Curve(Points({}), &v, &v, &v, nullptr);
     },
     "d"},
    {"Fit_Curve 5",
     []
     {
         double v = 0;
         LeastSquares::Fit_Curve(Points({}), &v, &v, &v, &v, nullptr);
     },
     "e"},
    {"Get_Value",
     [] {
         Extrapolation::Get_Value(Points({{0, 0}, {1, 1}}), 0.5, nullptr);
     },
     "value"},
    {"Get_Value_XY",
     []
     {
         double v = 0;
         Extrapolation::Get_Value_XY({}, 0.0, &v, nullptr);
     },
     "y_value"},
    {"Get_Value_ZX",
     []
     {
         double v = 0;
         Extrapolation::Get_Value_ZX({}, 0.0, nullptr, &v);
     },
     "x_value"},
};
} // namespace

class TInterpolationTest : public QObject
{
    Q_OBJECT

  private slots:
    void Fit_Line_data();
    void Fit_Line();
    void Fit_Line_Without_Intercept();
    void Slope_Through_Zero_data();
    void Slope_Through_Zero();
    void Endfit_Slope_data();
    void Endfit_Slope();
    void Solve_Mat_data();
    void Solve_Mat();
    void Fit_Quadratic_data();
    void Fit_Quadratic();
    void Fit_Cubic_And_Quartic();
    void Fit_Higher_Degree_Refuses();
    void Get_Value_data();
    void Get_Value();
    void Get_Value_3D();
    void Null_Outputs_Assert_data();
    void Null_Outputs_Assert();
};

void TInterpolationTest::Fit_Line_data()
{
    QTest::addColumn<std::vector<TVector2>>("points");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("slope");
    QTest::addColumn<double>("intercept");

    // A failed fit must leave the outputs as they were (7 and 9 below).
    QTest::newRow("exact line") << Points({{0, 1}, {1, 3}, {2, 5}}) << true << 2.0 << 1.0;
    QTest::newRow("scattered") << Points({{1, 2}, {2, 3}, {3, 5}, {4, 4}}) << true << 0.8 << 1.5;
    QTest::newRow("two points descending") << Points({{10, 0}, {0, 5}}) << true << -0.5 << 5.0;
    QTest::newRow("no points") << Points({}) << false << 7.0 << 9.0;
    QTest::newRow("one point") << Points({{3, 4}}) << false << 7.0 << 9.0;
    QTest::newRow("all x equal") << Points({{0.1, 1}, {0.1, 2}, {0.1, 4}}) << false << 7.0 << 9.0;
    QTest::newRow("sums overflow") << Points({{1e200, 1e200}, {-1e200, 0}}) << false << 7.0 << 9.0;
}

void TInterpolationTest::Fit_Line()
{
    QFETCH(std::vector<TVector2>, points);
    QFETCH(bool, ok);
    QFETCH(double, slope);
    QFETCH(double, intercept);

    double fitted_slope = 7.0;
    double fitted_intercept = 9.0;
    QCOMPARE(Regression::Fit_Line(points, &fitted_slope, &fitted_intercept), ok);
    QVERIFY(qAbs(fitted_slope - slope) < 1e-12);
    QVERIFY(qAbs(fitted_intercept - intercept) < 1e-12);
}

void TInterpolationTest::Fit_Line_Without_Intercept()
{
    double slope = 0.0;
    QVERIFY(Regression::Fit_Line(Points({{0, 1}, {1, 3}, {2, 5}}), &slope, nullptr));
    QCOMPARE(slope, 2.0);
}

void TInterpolationTest::Slope_Through_Zero_data()
{
    QTest::addColumn<std::vector<TVector2>>("points");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("slope");

    QTest::newRow("steep falls back to fit") << Points({{1, 2}, {2, 4}}) << true << 2.0;
    QTest::newRow("mirrored through zero") << Points({{1, 0.5}, {-1, -0.5}}) << true << 0.5;
    QTest::newRow("shallow mean") << Points({{2, 0.2}, {4, 0.6}}) << true << 0.4 / 3.0;
    QTest::newRow("no points") << Points({}) << false << 0.0;
    QTest::newRow("one steep point") << Points({{1, 5}}) << false << 0.0;
    QTest::newRow("all at x zero") << Points({{0, 1}, {0, 2}}) << false << 0.0;
}

void TInterpolationTest::Slope_Through_Zero()
{
    QFETCH(std::vector<TVector2>, points);
    QFETCH(bool, ok);
    QFETCH(double, slope);

    double result = 99.0;
    QCOMPARE(Regression::Get_Slope_Through_Zero(points, &result), ok);
    QVERIFY2(qAbs(result - slope) < 1e-12, qPrintable(QString::number(result)));
}

void TInterpolationTest::Endfit_Slope_data()
{
    QTest::addColumn<std::vector<TVector2>>("points");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("slope");

    QTest::newRow("ends only") << Points({{0, 1}, {5, 9}, {10, 3}}) << true << 0.2;
    QTest::newRow("one point") << Points({{0, 1}}) << false << 0.0;
    QTest::newRow("ends too close") << Points({{0, 1}, {5, 2}, {0.0000005, 3}}) << false << 0.0;
}

void TInterpolationTest::Endfit_Slope()
{
    QFETCH(std::vector<TVector2>, points);
    QFETCH(bool, ok);
    QFETCH(double, slope);

    double result = 99.0;
    QCOMPARE(Regression::Get_Endfit_Slope(points, &result), ok);
    QVERIFY(qAbs(result - slope) < 1e-12);
}

void TInterpolationTest::Solve_Mat_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<std::vector<double>>("matrix");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<std::vector<double>>("solution");

    QTest::newRow("pivot needs row swap")
        << 2 << std::vector<double>{0, 1, 2, 1, 0, 3} << true << std::vector<double>{3, 2};
    QTest::newRow("singular") << 2 << std::vector<double>{0, 1, 2, 0, 1, 3} << false << std::vector<double>{};
    // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3 -> (2, 3, -1)
    QTest::newRow("three unknowns") << 3 << std::vector<double>{2, 1, -1, 8, -3, -1, 2, -11, -2, 1, 2, -3}
                                    << true << std::vector<double>{2, 3, -1};
    QTest::newRow("pivot vanishes after elimination")
        << 3 << std::vector<double>{1, 1, 1, 3, 1, 1, 2, 4, 2, 2, 5, 9} << false << std::vector<double>{};
}

void TInterpolationTest::Solve_Mat()
{
    QFETCH(int, rows);
    QFETCH(std::vector<double>, matrix);
    QFETCH(bool, ok);
    QFETCH(std::vector<double>, solution);

    std::vector<double> result(static_cast<size_t>(rows), 0.0);
    QCOMPARE(::Solve_Mat(rows, rows + 1, matrix.data(), result.data()), ok);
    for (size_t k = 0; k < solution.size(); ++k)
    {
        QVERIFY2(qAbs(result[k] - solution[k]) < 1e-12, qPrintable(QString::number(result[k])));
    }
}

void TInterpolationTest::Fit_Quadratic_data()
{
    QTest::addColumn<std::vector<TVector2>>("points");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<std::vector<double>>("coefficients");

    // y = 2x^2 - 3x + 1
    QTest::newRow("exact parabola") << Points({{-1, 6}, {0, 1}, {1, 0}, {2, 3}}) << true
                                    << std::vector<double>{2, -3, 1};
    // Least squares of (0,0), (1,1), (2,1), (3,0): a = -0.5, b = 1.5, c = 0
    QTest::newRow("least squares") << Points({{0, 0}, {1, 1}, {2, 1}, {3, 0}}) << true
                                   << std::vector<double>{-0.5, 1.5, 0};
    // Failures leave the outputs untouched (5, 6, 7).
    QTest::newRow("two points") << Points({{0, 0}, {1, 1}}) << false << std::vector<double>{5, 6, 7};
    QTest::newRow("two distinct x") << Points({{0, 0}, {1, 1}, {1, 2}}) << false
                                    << std::vector<double>{5, 6, 7};
}

void TInterpolationTest::Fit_Quadratic()
{
    QFETCH(std::vector<TVector2>, points);
    QFETCH(bool, ok);
    QFETCH(std::vector<double>, coefficients);

    double a = 5;
    double b = 6;
    double c = 7;
    QCOMPARE(LeastSquares::Fit_Curve(points, &a, &b, &c), ok);
    QVERIFY2(qAbs(a - coefficients[0]) < 1e-9 && qAbs(b - coefficients[1]) < 1e-9 &&
                 qAbs(c - coefficients[2]) < 1e-9,
             qPrintable(QStringLiteral("%1 %2 %3").arg(a).arg(b).arg(c)));
}

void TInterpolationTest::Fit_Cubic_And_Quartic()
{
    auto cubic = [](double x) { return x * x * x - 2 * x * x + 0.5 * x + 4; };
    auto quartic = [](double x) { return 0.25 * x * x * x * x - x * x * x + 3 * x - 1; };
    std::vector<TVector2> cubic_points;
    std::vector<TVector2> quartic_points;
    for (double x = -2; x <= 3; x += 0.5)
    {
        cubic_points.emplace_back(x, cubic(x));
        quartic_points.emplace_back(x, quartic(x));
    }

    double a = 0;
    double b = 0;
    double c = 0;
    double d = 0;
    double e = 0;
    QVERIFY(LeastSquares::Fit_Curve(cubic_points, &a, &b, &c, &d));
    QVERIFY(qAbs(a - 1) < 1e-9 && qAbs(b + 2) < 1e-9 && qAbs(c - 0.5) < 1e-9 && qAbs(d - 4) < 1e-9);

    QVERIFY(LeastSquares::Fit_Curve(quartic_points, &a, &b, &c, &d, &e));
    QVERIFY(qAbs(a - 0.25) < 1e-9 && qAbs(b + 1) < 1e-9 && qAbs(c) < 1e-9 && qAbs(d - 3) < 1e-9 &&
            qAbs(e + 1) < 1e-9);
}

void TInterpolationTest::Fit_Higher_Degree_Refuses()
{
    // Too few points, or too few distinct x, give false with all outputs zero.
    double a = 1;
    double b = 1;
    double c = 1;
    double d = 1;
    double e = 1;
    QVERIFY(!LeastSquares::Fit_Curve(Points({{0, 0}, {1, 1}, {2, 8}}), &a, &b, &c, &d));
    QCOMPARE(a + b + c + d, 0.0);

    a = b = c = d = 1;
    QVERIFY(!LeastSquares::Fit_Curve(Points({{0, 0}, {1, 1}, {2, 8}, {2, 9}, {1, 2}}), &a, &b, &c, &d));
    QCOMPARE(a + b + c + d, 0.0);

    a = b = c = d = e = 1;
    QVERIFY(!LeastSquares::Fit_Curve(Points({{0, 0}, {1, 1}, {2, 8}, {3, 27}}), &a, &b, &c, &d, &e));
    QCOMPARE(a + b + c + d + e, 0.0);

    a = b = c = d = e = 1;
    QVERIFY(!LeastSquares::Fit_Curve(Points({{0, 0}, {1, 1}, {2, 8}, {3, 27}, {3, 28}, {0, 1}}), &a, &b, &c,
                                     &d, &e));
    QCOMPARE(a + b + c + d + e, 0.0);
}

void TInterpolationTest::Get_Value_data()
{
    QTest::addColumn<std::vector<TVector2>>("points");
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    const std::vector<TVector2> line = Points({{0, 0}, {10, 10}});
    QTest::newRow("extrapolate past end") << line << 15.0 << true << 15.0;
    QTest::newRow("extrapolate before start") << line << -5.0 << true << -5.0;
    QTest::newRow("inside") << line << 2.5 << true << 2.5;

    const std::vector<TVector2> bent = Points({{0, 0}, {5, 10}, {10, 0}});
    QTest::newRow("second segment") << bent << 7.5 << true << 5.0;
    QTest::newRow("joint") << bent << 5.0 << true << 10.0;
    QTest::newRow("past end uses last segment") << bent << 12.0 << true << -4.0;
    QTest::newRow("before start uses first segment") << bent << -1.0 << true << -2.0;

    const std::vector<TVector2> descending = Points({{10, 1}, {0, 3}});
    QTest::newRow("descending list") << descending << 5.0 << true << 2.0;
    QTest::newRow("descending past end") << descending << -10.0 << true << 5.0;

    // A vertical step is skipped: the first segment that holds x wins.
    const std::vector<TVector2> step = Points({{0, 0}, {5, 5}, {5, 7}, {10, 12}});
    QTest::newRow("step at joint") << step << 5.0 << true << 5.0;
    QTest::newRow("after step") << step << 7.0 << true << 9.0;

    QTest::newRow("one point") << Points({{1, 1}}) << 1.0 << false << 0.0;
    QTest::newRow("ends share x") << Points({{0, 0}, {5, 5}, {0, 9}}) << 1.0 << false << 0.0;
    QTest::newRow("zero-length first segment") << Points({{0, 0}, {0, 5}, {10, 10}}) << -1.0 << false << 0.0;
    QTest::newRow("zero-length last segment") << Points({{0, 0}, {10, 5}, {10, 10}}) << 11.0 << false << 0.0;
    QTest::newRow("backtracking polyline takes first segment")
        << Points({{0, 0}, {2, 4}, {1, 0}, {10, 10}}) << 1.5 << true << 3.0;
}

void TInterpolationTest::Get_Value()
{
    QFETCH(std::vector<TVector2>, points);
    QFETCH(double, x);
    QFETCH(bool, ok);
    QFETCH(double, value);

    double result = 99.0;
    QCOMPARE(Extrapolation::Get_Value(points, x, &result), ok);
    QVERIFY2(qAbs(result - value) < 1e-12, qPrintable(QString::number(result)));
}

void TInterpolationTest::Get_Value_3D()
{
    const std::vector<TVector3> points = {TVector3(0, 0, 0), TVector3(10, 20, 30), TVector3(20, 20, 60)};
    double first = 0;
    double second = 0;

    QVERIFY(Extrapolation::Get_Value_XY(points, 15.0, &first, &second));
    QCOMPARE(first, 5.0);
    QCOMPARE(second, 10.0);

    QVERIFY(Extrapolation::Get_Value_YZ(points, 15.0, &first, &second));
    QCOMPARE(first, 20.0);
    QCOMPARE(second, 45.0);

    // y runs 0, 20, 20: the first segment holds y = 10.
    QVERIFY(Extrapolation::Get_Value_ZX(points, 10.0, &first, &second));
    QCOMPARE(first, 5.0);
    QCOMPARE(second, 15.0);

    QVERIFY(!Extrapolation::Get_Value_XY({TVector3(1, 2, 3)}, 3.0, &first, &second));
    QCOMPARE(first, 0.0);
    QCOMPARE(second, 0.0);
}

void TInterpolationTest::Null_Outputs_Assert_data()
{
    QTest::addColumn<int>("index");
    for (int index = 0; index < static_cast<int>(sizeof(ASSERT_CASES) / sizeof(ASSERT_CASES[0])); ++index)
    {
        QTest::newRow(ASSERT_CASES[index].name) << index;
    }
}

void TInterpolationTest::Null_Outputs_Assert()
{
    QFETCH(int, index);

    const TChildResult result = Run_In_Child(ASSERT_CASES[index].action);
    QVERIFY(result.started);
    QVERIFY(result.aborted);
    const QByteArray expected = QByteArrayLiteral("ASSERT: \"") + ASSERT_CASES[index].condition + '"';
    QVERIFY2(result.error_output.contains(expected), result.error_output.constData());
}

QTEST_APPLESS_MAIN(TInterpolationTest)

#include "tst_interpolation.moc"
