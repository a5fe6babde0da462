// The tolerance expression and the graph presentation that draws deviations against it.

#include "presentation.h"
#include "tolerance.h"

#include <QtTest>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;

// "type A B C D", the way the rows write a tolerance.
TTolerance Make(const QString &values)
{
    const QStringList parts = values.split(QLatin1Char(' '));
    TTolerance tolerance;
    tolerance.d_tolerance_type = TTolerance::TToleranceType(parts[0].toInt());
    tolerance.d_tolerance_a = parts[1].toDouble();
    tolerance.d_tolerance_b = parts[2].toDouble();
    tolerance.d_tolerance_c = parts[3].toDouble();
    tolerance.d_tolerance_d = parts[4].toDouble();
    return tolerance;
}

QString Text(const TTolerance &t)
{
    QStringList texts{QString::number(t.d_tolerance_type)};
    for (const double value : {t.d_tolerance_a, t.d_tolerance_b, t.d_tolerance_c, t.d_tolerance_d})
        texts << QString::number(value, 'g', 10);
    return texts.join(QLatin1Char(' '));
}

// "x,y x,y ..." with 10 significant digits, so rounding in the last place does not matter.
QString Points(const std::vector<TVector2> &points, double sign = 1.0)
{
    QStringList texts;
    for (const TVector2 &point : points)
        texts << QStringLiteral("%1,%2").arg(point.x, 0, 'g', 10).arg(sign * point.y, 0, 'g', 10);
    return texts.join(QLatin1Char(' '));
}

// "type #rrggbb" of every data set in order.
QString Set_Styles(const TPresentation &presentation)
{
    QStringList texts;
    for (const TGraphTypes::TDataSet &set : presentation.data_sets)
        texts << QString::number(set.dataset_type) + QLatin1Char(' ') + set.dataset_color.name();
    return texts.join(QLatin1Char(' '));
}

struct TExpressionCase
{
    int rule;
    QString values; // empty: no form, the previous values stay
};

struct TLimitCase
{
    QString tolerance;
    TCurves curves;
    QString upper; // "none": no limit lines
};

struct TStyleCase
{
    TMeasureData::TFileContents kind;
    bool points;
    QString styles;
};

TPresentation Present(TMeasureData::TFileContents kind, const TCurves &curves, const TTolerance &tolerance,
                      bool points = true)
{
    return Presentation::Present(kind, curves, tolerance, points);
}
} // namespace
Q_DECLARE_METATYPE(TExpressionCase)
Q_DECLARE_METATYPE(TLimitCase)
Q_DECLARE_METATYPE(TStyleCase)

class TestTolerance : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Expression_data()
    {
        QTest::addColumn<TExpressionCase>("row");
        const auto row = [](const char *text, int rule, const char *values) {
            QTest::newRow(text) << TExpressionCase{rule, QString::fromLatin1(values)};
        };
        row("0.0095", TTolerance::EXPRESSION_VALID, "0 0.0095 0 0 0");
        row("0.0095 + 0.003l/1000 | 0.0018", TTolerance::EXPRESSION_VALID, "2 0.0095 0.003 1000 0.0018");
        row(" 0.0095  +   0.003L / 1000 ", TTolerance::EXPRESSION_VALID, "1 0.0095 0.003 1000 0");
        row("0.0095+0.003L/1000", TTolerance::EXPRESSION_VALID, "1 0.0095 0.003 1000 0");
        row("0.01+0.006,/1000", TTolerance::EXPRESSION_VALID, "1 0.01 0.006 1000 0");
        row("0.01+0.006L/123456789", TTolerance::EXPRESSION_VALID, "1 0.01 0.006 123456789 0");
        row("0.01+0.006L/.", TTolerance::EXPRESSION_VALID, "1 0.01 0.006 0 0");
        row("1.2.3", TTolerance::EXPRESSION_VALID, "0 0 0 0 0");
        row("1", TTolerance::EXPRESSION_VALID, "0 1 0 0 0");
        row("1.5", TTolerance::EXPRESSION_A_ABOVE_LIMIT, "0 1.5 0 0 0");
        row("0.01+1.5L/1000", TTolerance::EXPRESSION_B_ABOVE_LIMIT, "1 0.01 1.5 1000 0");
        row("0.01+0.006L/1000|1.01", TTolerance::EXPRESSION_D_ABOVE_LIMIT, "2 0.01 0.006 1000 1.01");
        row("-0.01", TTolerance::EXPRESSION_NO_FORM, "");
        row("0.01+0.006X/1000", TTolerance::EXPRESSION_NO_FORM, "");
        row("0.0123456", TTolerance::EXPRESSION_NO_FORM, "");
        row("   ", TTolerance::EXPRESSION_EMPTY, "");
    }

    void Expression()
    {
        QFETCH(TExpressionCase, row);
        const int rule = row.rule;
        const QString &values = row.values;
        const QString text = QString::fromLatin1(QTest::currentDataTag());
        QCOMPARE(int(TTolerance::Parse_Expression(text).rule), rule);
        QCOMPARE(TTolerance::Rule_Text(TTolerance::TExpressionRule(rule)).isEmpty(),
                 rule == TTolerance::EXPRESSION_VALID);
        TTolerance tolerance = TTolerance::Default();
        QCOMPARE(tolerance.Set_Expression(text), rule == TTolerance::EXPRESSION_VALID);
        QCOMPARE(Text(tolerance), values.isEmpty() ? Text(TTolerance::Default()) : values);
    }

    void Value_And_Limit()
    {
        const struct
        {
            const char *tolerance;
            double length, value;
        } rows[] = {{"2 0.012 0.006 1000 0.015", 500, 0.015},
                    {"2 0.012 0.006 1000 0.015", 400, 0.0144},
                    {"1 0.01 0.006 1000 0", 2000, 0.022},
                    {"1 0.01 0.006 0.1 0", 2000, 0.01},
                    {"2 0.01 0.006 0 0.005", 1, 0.005},
                    {"0 0.01 0.006 1000 0", 2000, 0.01},
                    {"7 0.01 0 0 0", 1, 0}};
        for (const auto &row : rows)
            QCOMPARE(Make(QLatin1String(row.tolerance)).Tolerance_Value(row.length), row.value);
        QCOMPARE(TTolerance::Limit_Position(0.012, 0.006, 1000, 0.015), 499.99999999999983);
        QCOMPARE(TTolerance::Limit_Position(0.02, 0.006, 1000, 0.015), 0.0);
        QVERIFY(std::isinf(TTolerance::Limit_Position(0.01, 0, 1000, 0.015)));
    }

    // The type comes from C and D; re-reading the display text rounds the values it shows.
    void Update()
    {
        QCOMPARE(TTolerance::Default().Display_Text(), QStringLiteral("0.0120+0.0060L/1000 | 0.0150"));
        const char *const rows[][3] = {
            {"2 0.012 0.006 1000 0.015", "2 0.012 0.006 1000 0.015", "1"},
            {"0 0.012345 0.00666 999.6 0", "1 0.0123 0.0067 1000 0", "1"},
            {"1 1000 0.006 0.1 0", "0 1000 0.006 0.1 0", "0"}, // too long to reread
            {"0 0.01 0.006 -5 0", "0 0.01 0 0 0", "1"}};
        for (const auto &row : rows)
        {
            TTolerance tolerance = Make(QLatin1String(row[0]));
            QCOMPARE(tolerance.Update(), row[2][0] == '1');
            QCOMPARE(Text(tolerance), QLatin1String(row[1]));
        }
        QVERIFY(Make(QStringLiteral("5 0 0 0 0")).Display_Text().isNull());
    }

    void Limit_Lines_data()
    {
        QTest::addColumn<TLimitCase>("row");
        const TCurves curves = {{{100, 0.001}, {1000, -0.002}}, {}, {{400, 0.003}}};
        const QString capped = QStringLiteral("2 0.012 0.006 1000 0.015");
        QTest::newRow("constant") << TLimitCase{"0 0.01 0 0 0", curves, "100,0.01 1000,0.01"};
        QTest::newRow("linear") << TLimitCase{"1 0.01 0.006 1000 0", curves, "100,0.0106 1000,0.016"};
        QTest::newRow("capped inside") << TLimitCase{capped, curves, "100,0.0126 500,0.015 1000,0.015"};
        QTest::newRow("capped beyond") << TLimitCase{capped, {{{100, 0}, {400, 0}}}, "100,0.0126 400,0.0144"};
        QTest::newRow("A above D") << TLimitCase{"2 0.02 0.006 1000 0.015", curves,
                                                 "100,0.0206 0,0.015 1000,0.015"};
        QTest::newRow("Lc at the end") << TLimitCase{"2 0.5 0.5 1 1", {{{0, 0}, {1, 0}}}, "0,0.5 1,1 1,1"};
        QTest::newRow("no points") << TLimitCase{capped, {}, "0,0.012 0,0.012"};
        QTest::newRow("C 0, capped") << TLimitCase{"2 0.012 0.006 0 0.015", curves, "0,0.015 1000,0.015"};
        QTest::newRow("C 0, linear") << TLimitCase{"1 0.012 0.006 0 0", {{{0, 0}}}, ""};
        QTest::newRow("B 0, A = D") << TLimitCase{"2 0.015 0 1000 0.015", curves, "100,0.015 1000,0.015"};
        QTest::newRow("other type") << TLimitCase{"3 0.01 0 0 0", curves, "none"};
    }

    // Upper line, then the lower line with every y negated; the same in both styles.
    void Limit_Lines()
    {
        QFETCH(TLimitCase, row);
        for (const bool points : {true, false})
        {
            const TPresentation shown =
                Present(TMeasureData::CONTENTS_LASER_10360, row.curves, Make(row.tolerance), points);
            const std::size_t count = row.curves.size();
            QCOMPARE(shown.data_sets.size(), count + (row.upper == QLatin1String("none") ? 0 : 2));
            if (shown.data_sets.size() == count)
                continue;
            QCOMPARE(Points(shown.data_sets[count].dataset_points), row.upper);
            QCOMPARE(Points(shown.data_sets[count + 1].dataset_points, -1.0), row.upper);
        }
    }

    void Styles_data()
    {
        QTest::addColumn<TStyleCase>("row");
        const QString limits = QStringLiteral(" 0 #a4a4ff 0 #a4a4ff");
        QTest::newRow("points") << TStyleCase{TMeasureData::CONTENTS_STEPGAUGE_10360, true,
                                              "3 #400000 3 #004000 3 #000040 3 #202020 3 #202020" + limits};
        QTest::newRow("lines") << TStyleCase{TMeasureData::CONTENTS_LASER_PMOVE, false,
                                             "1 #800000 1 #008000 1 #000080 1 #404040 1 #404040" + limits};
        QTest::newRow("ring") << TStyleCase{TMeasureData::CONTENTS_RING_GAUGE, true,
                                            "0 #000000 4 #a00000 0 #c0c0c0 0 #c0c0c0 0 #c0c0c0"};
        QTest::newRow("temperature") << TStyleCase{TMeasureData::CONTENTS_TEMPERATURE, true,
                                                   "0 #ff0000 0 #007f00 0 #0000ff 0 #ff7f00 0 #007fff"};
        QTest::newRow("no graph") << TStyleCase{TMeasureData::CONTENTS_PROBE, true, ""};
    }

    // Colours by curve position; five curves each.
    void Styles()
    {
        QFETCH(TStyleCase, row);
        const TCurves curves(5, {{1, 1}});
        QCOMPARE(Set_Styles(Present(row.kind, curves, TTolerance::Default(), row.points)), row.styles);
    }

    void Ballbar()
    {
        const TTolerance zero = Make(QStringLiteral("0 0 0 0 0"));
        // Lengths 0 and 10 make bins 1.2 wide centred on -1, 0.2, ...; 8 is on the border of bins 7 and 8.
        TPresentation shown = Present(TMeasureData::CONTENTS_BALLBAR, {{{0, 0}, {8, 0}}, {{10, 0}}}, zero);
        QCOMPARE(shown.extra_lines, (QStringList{QString(), "  BallBar Tolerance: 0.0000"}));
        QCOMPARE(Set_Styles(shown), QStringLiteral("2 #0000ff 1 #ff0000"));
        QCOMPARE(Points(shown.data_sets[0].dataset_points),
                 QStringLiteral("5,0 -1,0 0.2,1 1.4,0 2.6,0 3.8,0 5,0 6.2,0 7.4,0 8.6,0 9.8,1 11,0"));
        QCOMPARE(Points(shown.data_sets[1].dataset_points), QStringLiteral("5,0 5,2 5,2 5,0"));

        shown = Present(TMeasureData::CONTENTS_BALLBAR, {{{300, 0}, {300.01, 0}}}, TTolerance::Default());
        QCOMPARE(shown.extra_lines.last(), QStringLiteral("  BallBar Tolerance: 0.0138"));
        QCOMPARE(Points(shown.data_sets[1].dataset_points),
                 QStringLiteral("299.9981,0 299.9981,2 300.0119,2 300.0119,0"));

        // Lengths 5e-7 apart and no tolerance: the line, but a width of 6e-7 is too narrow to draw.
        shown = Present(TMeasureData::CONTENTS_BALLBAR, {{{300, 0}, {300.0000005, 0}}}, zero);
        QCOMPARE(shown.extra_lines.size(), 2);
        QVERIFY(shown.data_sets.empty());
        QVERIFY(Present(TMeasureData::CONTENTS_BALLBAR, {{}}, zero).extra_lines.isEmpty());
        QCOMPARE(Presentation::Ballbar_Bins({{{0.5, 0}, {0.6, 0}, {10.4, 0}}}, 0, 1),
                 (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    }
};

QTEST_APPLESS_MAIN(TestTolerance)
#include "tst_tolerance.moc"
