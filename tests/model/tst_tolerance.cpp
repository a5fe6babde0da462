// The tolerance expression and the graph presentation that draws deviations against it.

#include "presentation.h"
#include "tolerance.h"

#include <QtTest>

#include <limits>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;
const double INF = std::numeric_limits<double>::infinity();

TTolerance Tolerance(TTolerance::TToleranceType type, double a, double b, double c, double d)
{
    TTolerance tolerance;
    tolerance.d_tolerance_type = type;
    tolerance.d_tolerance_a = a;
    tolerance.d_tolerance_b = b;
    tolerance.d_tolerance_c = c;
    tolerance.d_tolerance_d = d;
    return tolerance;
}

// "x,y x,y ..." with 10 significant digits, so rounding in the last place does not matter.
QString Points(const std::vector<TVector2> &points)
{
    QStringList texts;
    for (const TVector2 &point : points)
        texts << QStringLiteral("%1,%2").arg(point.x, 0, 'g', 10).arg(point.y, 0, 'g', 10);
    return texts.join(QLatin1Char(' '));
}

// "type r,g,b" of every data set in order.
QString Set_Styles(const TPresentation &presentation)
{
    QStringList texts;
    for (const TGraphTypes::TDataSet &set : presentation.data_sets)
    {
        const QColor &color = set.dataset_color;
        texts << QStringLiteral("%1 %2,%3,%4")
                     .arg(set.dataset_type)
                     .arg(color.red())
                     .arg(color.green())
                     .arg(color.blue());
    }
    return texts.join(QStringLiteral("; "));
}

struct TExpressionCase
{
    QString text;
    TTolerance::TExpressionRule rule;
    TTolerance::TToleranceType type;
    std::vector<double> abcd;
};

struct TValueCase
{
    TTolerance tolerance;
    double length;
    double value;
};

struct TLimitCase
{
    TTolerance tolerance;
    TCurves curves;
    QString upper;
};

struct TStyleCase
{
    TMeasureData::TFileContents kind;
    bool point_graph;
    int curve_count;
    QString styles;
};
} // namespace
Q_DECLARE_METATYPE(TExpressionCase)
Q_DECLARE_METATYPE(TValueCase)
Q_DECLARE_METATYPE(TLimitCase)
Q_DECLARE_METATYPE(TStyleCase)

class TestTolerance : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Expression_data()
    {
        using T = TTolerance;
        QTest::addColumn<TExpressionCase>("row");
        const auto row = [](const char *name, const QString &text, T::TExpressionRule rule,
                            T::TToleranceType type, std::vector<double> abcd) {
            QTest::newRow(name) << TExpressionCase{text, rule, type, std::move(abcd)};
        };
        row("constant", "0.0095", T::EXPRESSION_VALID, T::TOLERANCE_CONSTANT, {0.0095, 0, 0, 0});
        row("capped, lower-case l", "0.0095 + 0.003l/1000 | 0.0018", T::EXPRESSION_VALID,
            T::TOLERANCE_LINEAR_CAPPED, {0.0095, 0.003, 1000, 0.0018});
        row("runs of blanks", " 0.0095  +   0.003L / 1000 ", T::EXPRESSION_VALID, T::TOLERANCE_LINEAR,
            {0.0095, 0.003, 1000, 0});
        row("no blanks", "0.0095+0.003L/1000", T::EXPRESSION_VALID, T::TOLERANCE_LINEAR,
            {0.0095, 0.003, 1000, 0});
        row("comma for L", "0.01+0.006,/1000", T::EXPRESSION_VALID, T::TOLERANCE_LINEAR,
            {0.01, 0.006, 1000, 0});
        row("nine digits of C", "0.01+0.006L/123456789", T::EXPRESSION_VALID, T::TOLERANCE_LINEAR,
            {0.01, 0.006, 123456789, 0});
        row("point as C", "0.01+0.006L/.", T::EXPRESSION_VALID, T::TOLERANCE_LINEAR, {0.01, 0.006, 0, 0});
        row("two points read 0", "1.2.3", T::EXPRESSION_VALID, T::TOLERANCE_CONSTANT, {0, 0, 0, 0});
        row("A 1 is allowed", "1", T::EXPRESSION_VALID, T::TOLERANCE_CONSTANT, {1, 0, 0, 0});
        row("A above 1", "1.5", T::EXPRESSION_A_ABOVE_LIMIT, T::TOLERANCE_CONSTANT, {1.5, 0, 0, 0});
        row("B above 1", "0.01+1.5L/1000", T::EXPRESSION_B_ABOVE_LIMIT, T::TOLERANCE_LINEAR,
            {0.01, 1.5, 1000, 0});
        row("D above 1", "0.01+0.006L/1000|1.01", T::EXPRESSION_D_ABOVE_LIMIT, T::TOLERANCE_LINEAR_CAPPED,
            {0.01, 0.006, 1000, 1.01});
        row("negative", "-0.01", T::EXPRESSION_NO_FORM, T::TOLERANCE_CONSTANT, {});
        row("other letter", "0.01+0.006X/1000", T::EXPRESSION_NO_FORM, T::TOLERANCE_CONSTANT, {});
        row("nine digits of A", "0.0123456", T::EXPRESSION_NO_FORM, T::TOLERANCE_CONSTANT, {});
        row("blank", "   ", T::EXPRESSION_EMPTY, T::TOLERANCE_CONSTANT, {});
    }

    void Expression()
    {
        QFETCH(TExpressionCase, row);
        const TTolerance::TExpression expression = TTolerance::Parse_Expression(row.text);
        QCOMPARE(expression.rule, row.rule);
        QVERIFY(!TTolerance::Rule_Text(row.rule).isEmpty() || row.rule == TTolerance::EXPRESSION_VALID);

        TTolerance tolerance = TTolerance::Default();
        const TTolerance before = tolerance;
        QCOMPARE(tolerance.Set_Expression(row.text), expression.Valid());
        const auto values = [](const TTolerance &t) {
            return std::vector<double>{t.d_tolerance_a, t.d_tolerance_b, t.d_tolerance_c, t.d_tolerance_d};
        };
        // Without a form the previous values stay.
        QCOMPARE(tolerance.d_tolerance_type, row.abcd.empty() ? before.d_tolerance_type : row.type);
        QCOMPARE(values(tolerance), row.abcd.empty() ? values(before) : row.abcd);
    }

    void Value_data()
    {
        QTest::addColumn<TValueCase>("row");
        const TTolerance capped = TTolerance::Default();
        QTest::newRow("capped, reaches D") << TValueCase{capped, 500, 0.015};
        QTest::newRow("capped, below D") << TValueCase{capped, 400, 0.0144};
        QTest::newRow("linear") << TValueCase{Tolerance(TTolerance::TOLERANCE_LINEAR, 0.01, 0.006, 1000, 0),
                                              2000, 0.022};
        QTest::newRow("linear, C 0.1")
            << TValueCase{Tolerance(TTolerance::TOLERANCE_LINEAR, 0.01, 0.006, 0.1, 0), 2000, 0.01};
        QTest::newRow("capped, C 0") << TValueCase{
            Tolerance(TTolerance::TOLERANCE_LINEAR_CAPPED, 0.01, 0.006, 0, 0.005), 1, 0.005};
        QTest::newRow("constant") << TValueCase{
            Tolerance(TTolerance::TOLERANCE_CONSTANT, 0.01, 0.006, 1000, 0), 2000, 0.01};
        QTest::newRow("other type") << TValueCase{Tolerance(TTolerance::TToleranceType(7), 0.01, 0, 0, 0), 1,
                                                  0};
    }

    void Value()
    {
        QFETCH(TValueCase, row);
        QCOMPARE(row.tolerance.Tolerance_Value(row.length), row.value);
    }

    void Limit_Position()
    {
        QCOMPARE(TTolerance::Limit_Position(0.012, 0.006, 1000, 0.015), 499.99999999999983);
        QCOMPARE(TTolerance::Limit_Position(0.02, 0.006, 1000, 0.015), 0.0);
        QCOMPARE(TTolerance::Limit_Position(0.01, 0, 1000, 0.015), INF);
    }

    // The type comes from C and D; re-reading the display text rounds the values it shows.
    void Update()
    {
        const TTolerance first = TTolerance::Default();
        QCOMPARE(first.Display_Text(), QStringLiteral("0.0120+0.0060L/1000 | 0.0150"));
        QCOMPARE(first.d_tolerance_type, TTolerance::TOLERANCE_LINEAR_CAPPED);

        TTolerance tolerance = Tolerance(TTolerance::TOLERANCE_CONSTANT, 0.012345, 0.00666, 999.6, 0);
        QVERIFY(tolerance.Update());
        QCOMPARE(tolerance.Display_Text(), QStringLiteral("0.0123+0.0067L/1000"));
        QCOMPARE(tolerance.d_tolerance_a, 0.0123);

        tolerance = Tolerance(TTolerance::TOLERANCE_LINEAR, 1000, 0.006, 0.1, 0);
        QVERIFY(!tolerance.Update()); // too long for its group: unrounded, invalid
        QCOMPARE(tolerance.d_tolerance_type, TTolerance::TOLERANCE_CONSTANT);
        QCOMPARE(tolerance.d_tolerance_b, 0.006);

        tolerance = Tolerance(TTolerance::TOLERANCE_CONSTANT, 0.01, 0.006, -5, 0);
        QVERIFY(tolerance.Update());
        QCOMPARE(tolerance.Display_Text(), QStringLiteral("0.0100"));
        QVERIFY(Tolerance(TTolerance::TToleranceType(5), 0, 0, 0, 0).Display_Text().isNull());

        const QVariantList stored = {QVariant(), "nan", "inf", "-inf", "text", "1e999", "0.5", -3};
        QStringList restored;
        for (const QVariant &value : stored)
            restored << QString::number(TTolerance::Stored_Value(value, 9));
        QCOMPARE(restored.join(QLatin1Char(' ')), QStringLiteral("9 9 9 9 9 9 0.5 -3"));
    }

    void Limit_Lines_data()
    {
        QTest::addColumn<TLimitCase>("row");
        using T = TTolerance;
        const TCurves curves = {{{100, 0.001}, {1000, -0.002}}, {}, {{400, 0.003}}};
        const TCurves shorter = {{{100, 0.001}, {400, 0.002}}};
        QTest::newRow("constant") << TLimitCase{Tolerance(T::TOLERANCE_CONSTANT, 0.01, 0, 0, 0), curves,
                                                "100,0.01 1000,0.01"};
        QTest::newRow("linear") << TLimitCase{Tolerance(T::TOLERANCE_LINEAR, 0.01, 0.006, 1000, 0), curves,
                                              "100,0.0106 1000,0.016"};
        QTest::newRow("capped inside") << TLimitCase{T::Default(), curves, "100,0.0126 500,0.015 1000,0.015"};
        QTest::newRow("capped beyond") << TLimitCase{T::Default(), shorter, "100,0.0126 400,0.0144"};
        QTest::newRow("A above D") << TLimitCase{
            Tolerance(T::TOLERANCE_LINEAR_CAPPED, 0.02, 0.006, 1000, 0.015), curves,
            "100,0.0206 0,0.015 1000,0.015"};
        QTest::newRow("no points") << TLimitCase{T::Default(), {}, "0,0.012 0,0.012"};
        QTest::newRow("C 0, capped") << TLimitCase{
            Tolerance(T::TOLERANCE_LINEAR_CAPPED, 0.012, 0.006, 0, 0.015), curves, "0,0.015 1000,0.015"};
        QTest::newRow("C 0, linear") << TLimitCase{
            Tolerance(T::TOLERANCE_LINEAR, 0.012, 0.006, 0, 0), {{{0, 0}}}, ""};
        QTest::newRow("B 0, A = D") << TLimitCase{
            Tolerance(T::TOLERANCE_LINEAR_CAPPED, 0.015, 0, 1000, 0.015), curves, "100,0.015 1000,0.015"};
        QTest::newRow("other type") << TLimitCase{Tolerance(T::TToleranceType(3), 0.01, 0, 0, 0), curves,
                                                  "none"};
    }

    void Limit_Lines()
    {
        QFETCH(TLimitCase, row);
        const TPresentation shown =
            Presentation::Present(TMeasureData::CONTENTS_LASER_10360, row.curves, row.tolerance, true);
        const std::size_t curves = row.curves.size();
        if (row.upper == QLatin1String("none"))
        {
            QCOMPARE(shown.data_sets.size(), curves);
            return;
        }
        QCOMPARE(shown.data_sets.size(), curves + 2);
        std::vector<TVector2> lower = shown.data_sets[curves + 1].dataset_points;
        for (TVector2 &point : lower)
            point.y = -point.y;
        QCOMPARE(Points(shown.data_sets[curves].dataset_points), row.upper);
        QCOMPARE(Points(lower), row.upper);
        // The other style changes only the curves' sets.
        const TPresentation lines =
            Presentation::Present(TMeasureData::CONTENTS_LASER_10360, row.curves, row.tolerance, false);
        QCOMPARE(Points(lines.data_sets[curves + 1].dataset_points),
                 Points(shown.data_sets[curves + 1].dataset_points));
        QCOMPARE(shown.setup.graph_title, QStringLiteral("Laser 10360"));
    }

    void Styles_data()
    {
        QTest::addColumn<TStyleCase>("row");
        const QString limits = QStringLiteral("; 0 164,164,255; 0 164,164,255");
        QTest::newRow("points") << TStyleCase{TMeasureData::CONTENTS_STEPGAUGE_10360, true, 5,
                                              "3 64,0,0; 3 0,64,0; 3 0,0,64; 3 32,32,32; 3 32,32,32" +
                                                  limits};
        QTest::newRow("lines") << TStyleCase{TMeasureData::CONTENTS_LASER_PMOVE, false, 4,
                                             "1 128,0,0; 1 0,128,0; 1 0,0,128; 1 64,64,64" + limits};
        QTest::newRow("ring") << TStyleCase{TMeasureData::CONTENTS_RING_GAUGE, true, 4,
                                            "0 0,0,0; 4 160,0,0; 0 192,192,192; 0 192,192,192"};
        QTest::newRow("temperature") << TStyleCase{TMeasureData::CONTENTS_TEMPERATURE, true, 4,
                                                   "0 255,0,0; 0 0,127,0; 0 0,0,255; 0 255,127,0"};
        QTest::newRow("no graph") << TStyleCase{TMeasureData::CONTENTS_PROBE, true, 2, ""};
    }

    void Styles()
    {
        QFETCH(TStyleCase, row);
        const TCurves curves(row.curve_count, {{1, 1}});
        QCOMPARE(Set_Styles(Presentation::Present(row.kind, curves, TTolerance::Default(), row.point_graph)),
                 row.styles);
    }

    void Ballbar()
    {
        const TTolerance zero = Tolerance(TTolerance::TOLERANCE_CONSTANT, 0, 0, 0, 0);
        // Lengths 0 and 10 make bins 1.2 wide centred on -1, 0.2, ...; 8 lies on the border of bins 7 and 8.
        TPresentation shown =
            Presentation::Present(TMeasureData::CONTENTS_BALLBAR, {{{0, 0}, {8, 0}}, {{10, 0}}}, zero, true);
        QCOMPARE(shown.extra_lines, (QStringList{QString(), "  BallBar Tolerance: 0.0000"}));
        QCOMPARE(Set_Styles(shown), QStringLiteral("2 0,0,255; 1 255,0,0"));
        QCOMPARE(Points(shown.data_sets[0].dataset_points),
                 QStringLiteral("5,0 -1,0 0.2,1 1.4,0 2.6,0 3.8,0 5,0 6.2,0 7.4,0 8.6,0 9.8,1 11,0"));
        QCOMPARE(Points(shown.data_sets[1].dataset_points), QStringLiteral("5,0 5,2 5,2 5,0"));

        shown = Presentation::Present(TMeasureData::CONTENTS_BALLBAR, {{{300, 0}, {300.01, 0}}},
                                      TTolerance::Default(), true);
        QCOMPARE(shown.extra_lines.last(), QStringLiteral("  BallBar Tolerance: 0.0138"));
        QCOMPARE(Points(shown.data_sets[1].dataset_points),
                 QStringLiteral("299.9981,0 299.9981,2 300.0119,2 300.0119,0"));

        // All lengths equal and no tolerance: the line, but nothing to draw.
        shown = Presentation::Present(TMeasureData::CONTENTS_BALLBAR, {{{300, 0}, {300, 0}}}, zero, true);
        QCOMPARE(shown.extra_lines.size(), 2);
        QVERIFY(shown.data_sets.empty());
        QVERIFY(
            Presentation::Present(TMeasureData::CONTENTS_BALLBAR, {{}}, zero, true).extra_lines.isEmpty());
        QCOMPARE(Presentation::Ballbar_Bins({{{0.5, 0}, {0.6, 0}, {10.4, 0}}}, 0, 1),
                 (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    }
};

QTEST_APPLESS_MAIN(TestTolerance)
#include "tst_tolerance.moc"
