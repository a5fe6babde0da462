// The tolerance expression, the graph presentation that draws deviations against it and the verdict of
// every kind that has one.

#include "model/presentation.h"
#include "model/tolerance.h"
#include "model/verdict.h"

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
    int unreadable;
};
} // namespace
Q_DECLARE_METATYPE(TLimitRow)
Q_DECLARE_METATYPE(TVerdictRow)

class TTestTolerance : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Expression_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("values"); // empty: no form, the previous values stay
        const auto row = [](const char *text, int rule, const char *values)
        { QTest::newRow(text) << rule << QString::fromLatin1(values); };
        row("0.0095", TTolerance::EXPRESSION_VALID, "0 0.0095 0 0 0");
        row("0.0095 + 0.003l/1000 | 0.0018", TTolerance::EXPRESSION_VALID, "2 0.0095 0.003 1000 0.0018");
        row(" 0.0095  +   0.003L / 1000 ", TTolerance::EXPRESSION_VALID, "1 0.0095 0.003 1000 0");
        row("0.01+0.006,/1000", TTolerance::EXPRESSION_VALID, "1 0.01 0.006 1000 0");
        row("0.01+0.006L/123456789", TTolerance::EXPRESSION_VALID, "1 0.01 0.006 123456789 0");
        // A group that is no number, or a divisor of 0.1 or less, makes the expression invalid.
        row("0.01+0.006L/.", TTolerance::EXPRESSION_NOT_A_NUMBER, "");
        row(".", TTolerance::EXPRESSION_NOT_A_NUMBER, "");
        row("0.01+0.006L/1000|1..5", TTolerance::EXPRESSION_NOT_A_NUMBER, "");
        row("1e", TTolerance::EXPRESSION_NO_FORM, "");
        row("0.01+0.006L/0", TTolerance::EXPRESSION_DIVISOR_TOO_SMALL, "1 0.01 0.006 0 0");
        row("0.01+0.006L/0.1|0.02", TTolerance::EXPRESSION_DIVISOR_TOO_SMALL, "2 0.01 0.006 0.1 0.02");
        row("0.01+0.006L/0.11", TTolerance::EXPRESSION_VALID, "1 0.01 0.006 0.11 0");
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
        QFETCH(int, rule);
        QFETCH(QString, values);
        const QString text = QString::fromLatin1(QTest::currentDataTag());
        QCOMPARE(int(TTolerance::Parse_Expression(text).rule), rule);
        QCOMPARE(TTolerance::Rule_Text(TTolerance::TExpressionRule(rule)).isEmpty(),
                 rule == TTolerance::EXPRESSION_VALID);
        // Every rule has words of its own.
        for (int other = TTolerance::EXPRESSION_EMPTY; other <= TTolerance::EXPRESSION_DIVISOR_TOO_SMALL;
             ++other)
            QVERIFY(other == rule || rule == TTolerance::EXPRESSION_VALID ||
                    TTolerance::Rule_Text(TTolerance::TExpressionRule(other)) !=
                        TTolerance::Rule_Text(TTolerance::TExpressionRule(rule)));
        TTolerance tolerance = TTolerance::Default();
        QCOMPARE(tolerance.Set_Expression(text), rule == TTolerance::EXPRESSION_VALID);
        QCOMPARE(Text(tolerance), values.isEmpty() ? Text(TTolerance::Default()) : values);
    }

    // The value at a length, and the type Update takes from C and D; re-reading the display text rounds
    // the values it shows.
    void Value_And_Update()
    {
        // "type A B C D length value"
        for (const char *row :
             {"2 0.012 0.006 1000 0.015 500 0.015", "2 0.012 0.006 1000 0.015 400 0.0144",
              "1 0.01 0.006 1000 0 2000 0.022", "1 0.01 0.006 0.1 0 2000 0.01",
              "2 0.01 0.006 0 0.005 1 0.005", "0 0.01 0.006 1000 0 2000 0.01", "7 0.01 0 0 0 1 0",
              // A length below 0 is no travel, and a limit is never negative.
              "1 0.01 0.006 1000 0 -1000 0.01", "0 -0.01 0 0 0 5 0", "2 0.01 0.006 1000 -0.5 5 0"})
        {
            const QStringList parts = QString::fromLatin1(row).split(QLatin1Char(' '));
            QCOMPARE(Make(QLatin1String(row)).Tolerance_Value(parts[5].toDouble()), parts[6].toDouble());
        }

        QCOMPARE(TTolerance::Default().Display_Text(), QStringLiteral("0.0120+0.0060L/1000 | 0.0150"));
        const char *const updates[][3] = {{"2 0.012 0.006 1000 0.015", "2 0.012 0.006 1000 0.015", "1"},
                                          {"0 0.012345 0.00666 999.6 0", "1 0.0123 0.0067 1000 0", "1"},
                                          {"1 1000 0.006 0.1 0", "0 1000 0.006 0.1 0", "0"}, // too long
                                          {"0 0.01 0.006 -5 0", "0 0.01 0 0 0", "1"},
                                          // A small divisor the parser took stays one it takes.
                                          {"1 0.01 0.006 0.4 0", "1 0.01 0.006 0.4 0", "1"},
                                          {"2 0.01 0.006 0.1000001 0.02", "2 0.01 0.006 0.1000001 0.02", "1"},
                                          {"1 0 1 0.10000001 0", "1 0 1 0.10000001 0", "1"}};
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
        // The line starts at the capped value and never runs back to x = 0.
        QTest::newRow("A above D") << TLimitRow{"2 0.02 0.006 1000 0.015", curves, "100,0.015 1000,0.015"};
        QTest::newRow("capped from the start")
            << TLimitRow{capped, {{{600, 0}, {1000, 0}}}, "600,0.015 1000,0.015"};
        QTest::newRow("Lc at the end") << TLimitRow{"2 0.5 0.5 1 1", {{{0, 0}, {1, 0}}}, "0,0.5 1,1"};
        QTest::newRow("Lc at the start") << TLimitRow{"2 0.5 0.5 1 1", {{{1, 0}, {2, 0}}}, "1,1 2,1"};
        QTest::newRow("no points") << TLimitRow{capped, {}, "0,0.012 0,0.012"};
        QTest::newRow("C 0, capped") << TLimitRow{"2 0.012 0.006 0 0.015", curves, "100,0.012 1000,0.012"};
        QTest::newRow("C 0, linear") << TLimitRow{"1 0.012 0.006 0 0", {{{0, 0}}}, "0,0.012 0,0.012"};
        QTest::newRow("negative lengths")
            << TLimitRow{"1 0.01 0.006 1000 0", {{{-500, 0}, {500, 0}}}, "-500,0.01 0,0.01 500,0.013"};
        QTest::newRow("B 0, A = D") << TLimitRow{"2 0.015 0 1000 0.015", curves, "100,0.015 1000,0.015"};
        QTest::newRow("other type") << TLimitRow{"3 0.01 0 0 0", curves, "none"};
    }

    // Upper line, then the lower line with every y negated; the same in both styles. A data collection
    // run measures its travel from its first position, so its line is the same shifted along x.
    void Limit_Lines()
    {
        QFETCH(TLimitRow, row);
        for (const bool points : {true, false})
        {
            const TPresentation shown = Presentation::Present(TMeasureData::CONTENTS_LASER_10360, row.curves,
                                                              Make(row.tolerance), points, {}, false);
            if (!row.curves.empty() && !row.curves.front().empty() && row.curves.front().front().x == 0.0)
            {
                TCurves shifted = row.curves;
                for (std::vector<TVector2> &curve : shifted)
                    for (TVector2 &point : curve)
                        point.x += 1000.0;
                const TPresentation run = Presentation::Present(TMeasureData::CONTENTS_LASER_PMOVE, shifted,
                                                                Make(row.tolerance), points, {}, false);
                std::vector<TVector2> line = run.data_sets.at(shifted.size()).dataset_points;
                for (TVector2 &point : line)
                    point.x -= 1000.0;
                QCOMPARE(Points(line), row.upper);
            }
            const std::size_t count = row.curves.size();
            QCOMPARE(shown.data_sets.size(), count + (row.upper == QLatin1String("none") ? 0 : 2));
            if (shown.data_sets.size() == count)
                continue;
            QCOMPARE(Points(shown.data_sets[count].dataset_points), row.upper);
            QCOMPARE(Points(shown.data_sets[count + 1].dataset_points, -1.0), row.upper);
        }
    }

    // Colours by curve position, five curves of each kind, then the limit lines (E MPL, or Ts_Max and
    // Ts_Min) and the marks of a failed verdict: red crosses, a ring.
    void Styles()
    {
        const QString limits = QStringLiteral(" 0 #a4a4ff 0 #a4a4ff");
        const std::pair<TKind, QString> rows[] = {
            {TMeasureData::CONTENTS_STEPGAUGE_10360,
             "3 #400000 3 #004000 3 #000040 3 #202020 3 #202020" + limits + " 3 #c80000 5 #c80000"},
            {TMeasureData::CONTENTS_RING_GAUGE, "0 #000000 4 #a00000 0 #c0c0c0 0 #c0c0c0 0 #c0c0c0"},
            {TMeasureData::CONTENTS_TEMPERATURE,
             "0 #ff0000 0 #007f00 0 #0000ff 0 #ff7f00 0 #007fff" + limits}};
        for (const auto &row : rows)
        {
            const TPresentation shown =
                Presentation::Present(row.first, TCurves(5, {{1, 1}}), TTolerance::Default(), true);
            QCOMPARE(Set_Styles(shown), row.second);
            // Every curve named in the legend in its own colour.
            QCOMPARE(shown.legend.size(), row.first == TMeasureData::CONTENTS_RING_GAUGE ? 0u : 5u);
            for (std::size_t i = 0; i < shown.legend.size(); ++i)
                QCOMPARE(shown.legend[i].color, shown.data_sets[i].dataset_color);
        }
        // One curve needs no legend; the temperature limits span the readings' hours.
        QVERIFY(
            Presentation::Present(TMeasureData::CONTENTS_LASER_PMOVE, {{{1, 1}}}, TTolerance::Default(), true)
                .legend.empty());
        const TPresentation log = Presentation::Present(
            TMeasureData::CONTENTS_TEMPERATURE, {{{8, 20}}, {{9.5, 21}}}, TTolerance::Default(), true);
        QCOMPARE(Points(log.data_sets[2].dataset_points) + " " + Points(log.data_sets[3].dataset_points),
                 QStringLiteral("8,22 9.5,22 8,18 9.5,18"));
    }

    void Ballbar()
    {
        const auto present = [](const TCurves &curves, const TTolerance &tolerance)
        { return Presentation::Present(TMeasureData::CONTENTS_BALLBAR, curves, tolerance, true); };
        const TTolerance zero = Make(QStringLiteral("0 0 0 0 0"));
        // Lengths 0 and 10 make bins 1.2 wide centred on -1, 0.2, ...; 8 is on the border of bins 7 and 8
        // and counts in the upper one.
        TPresentation shown = present({{{0, 0}, {8, 0}}, {{10, 0}}}, zero);
        QCOMPARE(shown.extra_lines, (QStringList{QString(), "  BallBar Tolerance: 0.0000"}));
        QCOMPARE(Set_Styles(shown), QStringLiteral("2 #0000ff 1 #ff0000"));
        QCOMPARE(Points(shown.data_sets[0].dataset_points),
                 QStringLiteral("5,0 -1,0 0.2,1 1.4,0 2.6,0 3.8,0 5,0 6.2,0 7.4,0 8.6,1 9.8,1 11,0"));
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

        // Borders at -0.5, 0.5, ... 10.5: a length on one counts in the bin above it, the last border
        // closes the last bin, lengths outside count nowhere.
        const std::vector<int> bins = Presentation::Ballbar_Bins(
            {{{-0.5, 0}, {0.5, 0}, {9.5, 0}, {10.5, 0}, {-0.6, 0}, {10.6, 0}}}, 0.0, 1.0);
        QCOMPARE(bins, (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 2}));
    }

    // Deviations against tolerances that pass, fail, are met exactly or are zero; ballbar length ranges;
    // temperature readings against their limits.
    void Verdict_data()
    {
        QTest::addColumn<TVerdictRow>("row");
        // unread: data lines of the file that could not be read
        const auto row = [](const char *tag, TKind kind, const char *expression, const TCurves &curves,
                            const char *line, int unread = 0)
        {
            QTest::newRow(tag) << TVerdictRow{kind, QLatin1String(expression), curves,
                                              QString::fromUtf8(line), unread};
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
        // A data collection run measures from its first position: 0.012 + 0.006 at 1000 mm of travel.
        row("run away from 0", TMeasureData::CONTENTS_LASER_PMOVE, "0.012+0.006L/1000",
            {{{500, 0.0}, {1500, 0.018}}},
            "Verdict: PASS  worst deviation 0.0180 mm at 1500.0000 mm is 100.0% of E MPL 0.0180 mm");
        row("run from 0", TMeasureData::CONTENTS_LASER_PMOVE, "0.012+0.006L/1000",
            {{{0, 0.0}, {1000, 0.0181}}},
            "Verdict: FAIL  worst deviation 0.0181 mm at 1000.0000 mm is 100.6% of E MPL 0.0180 mm");
        row("one unreadable line", laser, "0.015", {{{100, 0.0}}},
            "Verdict: INCOMPLETE  1 data line could not be read", 1);
        row("failing values, unreadable lines", ballbar, "0.015", {{{100, 0}}, {{101, 0}}},
            "Verdict: INCOMPLETE  12 data lines could not be read", 12);
        row("deviations outside, unreadable", laser, "0.015", {{{100, 0.5}}},
            "Verdict: INCOMPLETE  1 data line could not be read", 1);
        row("no points, unreadable", temperature, "0.015", {},
            "Verdict: INCOMPLETE  2 data lines could not be read", 2);
        row("kind without verdict, unreadable", TMeasureData::CONTENTS_RING_GAUGE, "0.015", {{{0, 1.0}}}, "",
            3);
    }

    void Temperature_Limits()
    {
        // "lower upper valid"
        for (const char *row : {"18 22 1", "22 22 1", "22.5 22 0", "-1000 1000 1", "-1000.01 0 0",
                                "0 1000.01 0", "nan 22 0", "18 inf 0"})
        {
            const QStringList parts = QString::fromLatin1(row).split(QLatin1Char(' '));
            QCOMPARE(TTolerance::Temperature_Limits_Valid(parts[0].toDouble(), parts[1].toDouble()),
                     parts[2] == QLatin1String("1"));
        }
    }

    void Verdict()
    {
        QFETCH(TVerdictRow, row);
        TTolerance tolerance;
        if (!row.expression.isEmpty())
            QVERIFY(tolerance.Set_Expression(row.expression));
        const TVerdict verdict = Verdict::Evaluate(row.kind, row.curves, tolerance, row.unreadable);
        QCOMPARE(verdict.line, row.line);
        QCOMPARE(verdict.verdict, row.line.isEmpty()                     ? TVerdict::VERDICT_NONE
                                  : row.line.startsWith("Verdict: PASS") ? TVerdict::VERDICT_PASS
                                  : row.line.startsWith("Verdict: FAIL") ? TVerdict::VERDICT_FAIL
                                                                         : TVerdict::VERDICT_INCOMPLETE);
        // Each verdict has a colour; no verdict has none.
        QCOMPARE(Verdict::Colour(verdict.verdict).isValid(), !row.line.isEmpty());

        // The worst point is the one the line names. The graph's red points are exactly the points the
        // verdict counts as outside: some when it fails on deviations, none when it passes.
        const TVector2 &worst = verdict.worst_point;
        QCOMPARE(verdict.has_worst_point, row.line.contains(QStringLiteral("worst deviation")));
        QVERIFY(!verdict.has_worst_point ||
                row.line.contains(
                    QStringLiteral("%1 mm at %2 mm").arg(worst.y, 0, 'f', 4).arg(worst.x, 0, 'f', 4)));
        const std::vector<TVector2> outside = Verdict::Outside_Points(row.kind, row.curves, tolerance);
        const bool fails_on_deviations = verdict.verdict == TVerdict::VERDICT_FAIL && verdict.has_worst_point;
        if (verdict.verdict != TVerdict::VERDICT_INCOMPLETE)
            QCOMPARE(!outside.empty(), fails_on_deviations);
        QVERIFY(!fails_on_deviations || Points(outside).contains(Points({worst})));
        const std::vector<TGraphTypes::TDataSet> marks =
            Presentation::Verdict_Marks(row.kind, row.curves, tolerance, true, row.unreadable);
        QCOMPARE(marks.size(), std::size_t(!outside.empty()) + std::size_t(verdict.has_worst_point));
        QVERIFY(outside.empty() || Points(marks.front().dataset_points) == Points(outside));
    }
};

QTEST_APPLESS_MAIN(TTestTolerance)
#include "tst_tolerance.moc"
