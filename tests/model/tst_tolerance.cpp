// The tolerance expression, the graph presentation that draws deviations against it and the verdict of
// every kind that has one.

#include "presentation.h"
#include "tolerance.h"
#include "verdict.h"

#include <QtTest>

#include <limits>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;
using TKind = TMeasureData::TFileContents;

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

struct TExpressionRow
{
    int rule;
    QString values; // empty: no form, the previous values stay
};

struct TLimitRow
{
    QString tolerance;
    TCurves curves;
    QString upper; // "none": no limit lines
};

struct TVerdictRow
{
    TKind kind;
    QString expression; // empty: the first-start tolerance, temperature limits 18 and 22
    TCurves curves;
    QString line; // empty: no verdict
};
} // namespace
Q_DECLARE_METATYPE(TExpressionRow)
Q_DECLARE_METATYPE(TLimitRow)
Q_DECLARE_METATYPE(TVerdictRow)

class TTestTolerance : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Expression_data()
    {
        QTest::addColumn<TExpressionRow>("row");
        const auto row = [](const char *text, int rule, const char *values) {
            QTest::newRow(text) << TExpressionRow{rule, QString::fromLatin1(values)};
        };
        row("0.0095", TTolerance::EXPRESSION_VALID, "0 0.0095 0 0 0");
        row("0.0095 + 0.003l/1000 | 0.0018", TTolerance::EXPRESSION_VALID, "2 0.0095 0.003 1000 0.0018");
        row(" 0.0095  +   0.003L / 1000 ", TTolerance::EXPRESSION_VALID, "1 0.0095 0.003 1000 0");
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
        QFETCH(TExpressionRow, row);
        const QString text = QString::fromLatin1(QTest::currentDataTag());
        QCOMPARE(int(TTolerance::Parse_Expression(text).rule), row.rule);
        QCOMPARE(TTolerance::Rule_Text(TTolerance::TExpressionRule(row.rule)).isEmpty(),
                 row.rule == TTolerance::EXPRESSION_VALID);
        TTolerance tolerance = TTolerance::Default();
        QCOMPARE(tolerance.Set_Expression(text), row.rule == TTolerance::EXPRESSION_VALID);
        QCOMPARE(Text(tolerance), row.values.isEmpty() ? Text(TTolerance::Default()) : row.values);
    }

    // The value at a length, and the type Update takes from C and D; re-reading the display text rounds
    // the values it shows.
    void Value_And_Update()
    {
        // "type A B C D length value"
        for (const char *row :
             {"2 0.012 0.006 1000 0.015 500 0.015", "2 0.012 0.006 1000 0.015 400 0.0144",
              "1 0.01 0.006 1000 0 2000 0.022", "1 0.01 0.006 0.1 0 2000 0.01",
              "2 0.01 0.006 0 0.005 1 0.005", "0 0.01 0.006 1000 0 2000 0.01", "7 0.01 0 0 0 1 0"})
        {
            const QStringList parts = QString::fromLatin1(row).split(QLatin1Char(' '));
            QCOMPARE(Make(QLatin1String(row)).Tolerance_Value(parts[5].toDouble()), parts[6].toDouble());
        }

        QCOMPARE(TTolerance::Default().Display_Text(), QStringLiteral("0.0120+0.0060L/1000 | 0.0150"));
        const char *const updates[][3] = {{"2 0.012 0.006 1000 0.015", "2 0.012 0.006 1000 0.015", "1"},
                                          {"0 0.012345 0.00666 999.6 0", "1 0.0123 0.0067 1000 0", "1"},
                                          {"1 1000 0.006 0.1 0", "0 1000 0.006 0.1 0", "0"}, // too long
                                          {"0 0.01 0.006 -5 0", "0 0.01 0 0 0", "1"}};
        for (const auto &row : updates)
        {
            TTolerance tolerance = Make(QLatin1String(row[0]));
            QCOMPARE(tolerance.Update(), row[2][0] == '1');
            QCOMPARE(Text(tolerance), QLatin1String(row[1]));
        }
        QVERIFY(Make(QStringLiteral("5 0 0 0 0")).Display_Text().isNull());
    }

    void Limit_Lines_data()
    {
        QTest::addColumn<TLimitRow>("row");
        const TCurves curves = {{{100, 0.001}, {1000, -0.002}}, {}, {{400, 0.003}}};
        const QString capped = QStringLiteral("2 0.012 0.006 1000 0.015");
        QTest::newRow("constant") << TLimitRow{"0 0.01 0 0 0", curves, "100,0.01 1000,0.01"};
        QTest::newRow("linear") << TLimitRow{"1 0.01 0.006 1000 0", curves, "100,0.0106 1000,0.016"};
        QTest::newRow("capped inside") << TLimitRow{capped, curves, "100,0.0126 500,0.015 1000,0.015"};
        QTest::newRow("capped beyond") << TLimitRow{capped, {{{100, 0}, {400, 0}}}, "100,0.0126 400,0.0144"};
        QTest::newRow("A above D") << TLimitRow{"2 0.02 0.006 1000 0.015", curves,
                                                "100,0.0206 0,0.015 1000,0.015"};
        QTest::newRow("Lc at the end") << TLimitRow{"2 0.5 0.5 1 1", {{{0, 0}, {1, 0}}}, "0,0.5 1,1 1,1"};
        QTest::newRow("no points") << TLimitRow{capped, {}, "0,0.012 0,0.012"};
        QTest::newRow("C 0, capped") << TLimitRow{"2 0.012 0.006 0 0.015", curves, "0,0.015 1000,0.015"};
        QTest::newRow("C 0, linear") << TLimitRow{"1 0.012 0.006 0 0", {{{0, 0}}}, ""};
        QTest::newRow("B 0, A = D") << TLimitRow{"2 0.015 0 1000 0.015", curves, "100,0.015 1000,0.015"};
        QTest::newRow("other type") << TLimitRow{"3 0.01 0 0 0", curves, "none"};
    }

    // Upper line, then the lower line with every y negated; the same in both styles.
    void Limit_Lines()
    {
        QFETCH(TLimitRow, row);
        for (const bool points : {true, false})
        {
            const TPresentation shown = Presentation::Present(TMeasureData::CONTENTS_LASER_10360, row.curves,
                                                              Make(row.tolerance), points);
            const std::size_t count = row.curves.size();
            QCOMPARE(shown.data_sets.size(), count + (row.upper == QLatin1String("none") ? 0 : 2));
            if (shown.data_sets.size() == count)
                continue;
            QCOMPARE(Points(shown.data_sets[count].dataset_points), row.upper);
            QCOMPARE(Points(shown.data_sets[count + 1].dataset_points, -1.0), row.upper);
        }
    }

    // Colours by curve position, five curves of each kind.
    void Styles()
    {
        const QString limits = QStringLiteral(" 0 #a4a4ff 0 #a4a4ff");
        const std::pair<TKind, QString> rows[] = {
            {TMeasureData::CONTENTS_STEPGAUGE_10360,
             "3 #400000 3 #004000 3 #000040 3 #202020 3 #202020" + limits},
            {TMeasureData::CONTENTS_RING_GAUGE, "0 #000000 4 #a00000 0 #c0c0c0 0 #c0c0c0 0 #c0c0c0"},
            {TMeasureData::CONTENTS_TEMPERATURE, "0 #ff0000 0 #007f00 0 #0000ff 0 #ff7f00 0 #007fff"}};
        for (const auto &row : rows)
            QCOMPARE(Set_Styles(
                         Presentation::Present(row.first, TCurves(5, {{1, 1}}), TTolerance::Default(), true)),
                     row.second);
    }

    void Ballbar()
    {
        const auto present = [](const TCurves &curves, const TTolerance &tolerance)
        { return Presentation::Present(TMeasureData::CONTENTS_BALLBAR, curves, tolerance, true); };
        const TTolerance zero = Make(QStringLiteral("0 0 0 0 0"));
        // Lengths 0 and 10 make bins 1.2 wide centred on -1, 0.2, ...; 8 is on the border of bins 7 and 8.
        TPresentation shown = present({{{0, 0}, {8, 0}}, {{10, 0}}}, zero);
        QCOMPARE(shown.extra_lines, (QStringList{QString(), "  BallBar Tolerance: 0.0000"}));
        QCOMPARE(Set_Styles(shown), QStringLiteral("2 #0000ff 1 #ff0000"));
        QCOMPARE(Points(shown.data_sets[0].dataset_points),
                 QStringLiteral("5,0 -1,0 0.2,1 1.4,0 2.6,0 3.8,0 5,0 6.2,0 7.4,0 8.6,0 9.8,1 11,0"));
        QCOMPARE(Points(shown.data_sets[1].dataset_points), QStringLiteral("5,0 5,2 5,2 5,0"));

        shown = present({{{300, 0}, {300.01, 0}}}, TTolerance::Default());
        QCOMPARE(shown.extra_lines.last(), QStringLiteral("  BallBar Tolerance: 0.0138"));
        QCOMPARE(Points(shown.data_sets[1].dataset_points),
                 QStringLiteral("299.9981,0 299.9981,2 300.0119,2 300.0119,0"));

        // Lengths 5e-7 apart and no tolerance: the line, but a width of 6e-7 is too narrow to draw.
        shown = present({{{300, 0}, {300.0000005, 0}}}, zero);
        QCOMPARE(shown.extra_lines.size(), 2);
        QVERIFY(shown.data_sets.empty());
        QVERIFY(present({{}}, zero).extra_lines.isEmpty());
    }

    // Deviations against tolerances that pass, fail, are met exactly or are zero; ballbar length ranges;
    // temperature readings against their limits.
    void Verdict_data()
    {
        QTest::addColumn<TVerdictRow>("row");
        const auto row = [](const char *tag, TKind kind, const char *expression, const TCurves &curves,
                            const char *line) {
            QTest::newRow(tag) << TVerdictRow{kind, QLatin1String(expression), curves,
                                              QString::fromUtf8(line)};
        };
        const double inf = std::numeric_limits<double>::infinity();
        const TKind laser = TMeasureData::CONTENTS_LASER_10360, ballbar = TMeasureData::CONTENTS_BALLBAR;
        const TKind temperature = TMeasureData::CONTENTS_TEMPERATURE;
        row("laser fail, worst by ratio", laser, "0.01+0.01L/1000",
            {{{100, 0.0105}, {500, 0.02}, {900, 0.0195}}},
            "Verdict: FAIL  worst deviation 0.0200 mm at 500.0000 mm is 133.3% of E MPL 0.0150 mm");
        row("exactly on E", TMeasureData::CONTENTS_STEPGAUGE_B89, "0.25", {{{100, -0.25}}, {{200, 0.125}}},
            "Verdict: PASS  worst deviation -0.2500 mm at 100.0000 mm is 100.0% of E MPL 0.2500 mm");
        row("E = 0", TMeasureData::CONTENTS_STEPGAUGE_SQUARE, "0", {{{10, 0.0}, {20, -0.002}, {30, 0.001}}},
            "Verdict: FAIL  worst deviation -0.0020 mm at 20.0000 mm is - of E MPL 0.0000 mm");
        row("no points", TMeasureData::CONTENTS_LASER_PMOVE, "0.015", {{}, {}}, "");
        row("overflowed deviation", laser, "0.015", {{{100, 0.001}, {200, inf}}}, "");
        row("ballbar fail", ballbar, "0.015", {{{100, 0}}, {{100.02, 0}}},
            "Verdict: FAIL  length range 0.0200 mm is 133.3% of tolerance 0.0150 mm");
        row("ballbar, tolerance at the middle length", ballbar, "0+1L/0.2", {{{0, 0}, {0.01, 0}, {0.004, 0}}},
            "Verdict: PASS  length range 0.0100 mm is 40.0% of tolerance 0.0250 mm");
        row("ballbar, E = 0", ballbar, "0", {{{300, 0}, {300, 0}}},
            "Verdict: PASS  length range 0.0000 mm is - of tolerance 0.0000 mm");
        row("temperatures on the limits", temperature, "", {{{0, 18.0}, {1, 20.0}}, {{0.5, 22.0}}},
            "Verdict: PASS  readings 18.00 to 22.00 °C within 18.00 to 22.00 °C");
        row("temperature outside", temperature, "", {{{0, 17.99}}, {{1, 20.0}}},
            "Verdict: FAIL  readings 17.99 to 20.00 °C outside 18.00 to 22.00 °C");
        row("kind without verdict", TMeasureData::CONTENTS_RING_GAUGE, "0.015", {{{0, 1.0}}}, "");
    }

    void Verdict()
    {
        QFETCH(TVerdictRow, row);
        TTolerance tolerance;
        if (!row.expression.isEmpty())
            QVERIFY(tolerance.Set_Expression(row.expression));
        const TVerdict verdict = Verdict::Evaluate(row.kind, row.curves, tolerance);
        QCOMPARE(verdict.line, row.line);
        QCOMPARE(verdict.verdict, row.line.isEmpty()                     ? TVerdict::VERDICT_NONE
                                  : row.line.startsWith("Verdict: PASS") ? TVerdict::VERDICT_PASS
                                                                         : TVerdict::VERDICT_FAIL);
    }
};

QTEST_APPLESS_MAIN(TTestTolerance)
#include "tst_tolerance.moc"
