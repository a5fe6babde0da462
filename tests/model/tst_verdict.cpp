// The verdict of every kind that has one, against tolerances that pass, fail, are met exactly or are zero.

#include "tolerance.h"
#include "verdict.h"

#include <QtTest>
#include <limits>

namespace
{
using TCurves = std::vector<std::vector<TVector2>>;

struct TVerdictRow
{
    TMeasureData::TFileContents kind;
    QString expression; // empty: the first-start tolerance, temperature limits 18 and 22
    TCurves curves;
    TVerdict::TVerdictType verdict;
    QString line;
};

void Row(const char *tag, TMeasureData::TFileContents kind, const char *expression, const TCurves &curves,
         TVerdict::TVerdictType verdict, const char *line)
{
    QTest::newRow(tag) << TVerdictRow{kind, QLatin1String(expression), curves, verdict,
                                      QString::fromUtf8(line)};
}
} // namespace
Q_DECLARE_METATYPE(TVerdictRow)

class TestVerdict : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void Evaluate_data();
    void Evaluate();
};

void TestVerdict::Evaluate_data()
{
    QTest::addColumn<TVerdictRow>("row");
    const auto pass = TVerdict::VERDICT_PASS;
    const auto fail = TVerdict::VERDICT_FAIL;
    const auto none = TVerdict::VERDICT_NONE;
    const double inf = std::numeric_limits<double>::infinity();

    Row("step gauge pass", TMeasureData::CONTENTS_STEPGAUGE_10360, "0.015",
        {{{0, 0.001}, {400, -0.0123}}, {{200, 0.005}}}, pass,
        "Verdict: PASS  worst deviation -0.0123 mm at 400.0000 mm is 82.0% of E MPL 0.0150 mm");
    Row("laser fail, worst by ratio", TMeasureData::CONTENTS_LASER_10360, "0.01+0.01L/1000",
        {{{100, 0.0105}, {500, 0.02}, {900, 0.0195}}}, fail,
        "Verdict: FAIL  worst deviation 0.0200 mm at 500.0000 mm is 133.3% of E MPL 0.0150 mm");
    Row("exactly on E", TMeasureData::CONTENTS_STEPGAUGE_B89, "0.25", {{{100, -0.25}, {200, 0.125}}}, pass,
        "Verdict: PASS  worst deviation -0.2500 mm at 100.0000 mm is 100.0% of E MPL 0.2500 mm");
    Row("E = 0", TMeasureData::CONTENTS_STEPGAUGE_SQUARE, "0", {{{10, 0.0}, {20, -0.002}, {30, 0.001}}}, fail,
        "Verdict: FAIL  worst deviation -0.0020 mm at 20.0000 mm is - of E MPL 0.0000 mm");
    Row("no points", TMeasureData::CONTENTS_LASER_PMOVE, "0.015", {{}, {}}, none, "");
    Row("overflowed deviation", TMeasureData::CONTENTS_LASER_10360, "0.015", {{{100, 0.001}, {200, inf}}},
        none, "");

    Row("ballbar fail", TMeasureData::CONTENTS_BALLBAR, "0.015", {{{100, 0}}, {{100.02, 0}}}, fail,
        "Verdict: FAIL  length range 0.0200 mm is 133.3% of tolerance 0.0150 mm");
    Row("ballbar, tolerance at the middle length", TMeasureData::CONTENTS_BALLBAR, "0+1L/0.2",
        {{{0, 0}, {0.01, 0}, {0.004, 0}}}, pass,
        "Verdict: PASS  length range 0.0100 mm is 40.0% of tolerance 0.0250 mm");
    Row("ballbar, E = 0", TMeasureData::CONTENTS_BALLBAR, "0", {{{300, 0}, {300, 0}}}, pass,
        "Verdict: PASS  length range 0.0000 mm is - of tolerance 0.0000 mm");
    Row("ballbar without points", TMeasureData::CONTENTS_BALLBAR, "0.015", {{}}, none, "");

    Row("temperatures within", TMeasureData::CONTENTS_TEMPERATURE, "",
        {{{0.5, 19.12}, {1.0, 20.0}}, {{0.5, 21.4}}}, pass,
        "Verdict: PASS  readings 19.12 to 21.40 °C within 18.00 to 22.00 °C");
    Row("temperatures on the limits", TMeasureData::CONTENTS_TEMPERATURE, "", {{{0, 18.0}, {1, 22.0}}}, pass,
        "Verdict: PASS  readings 18.00 to 22.00 °C within 18.00 to 22.00 °C");
    Row("temperature outside", TMeasureData::CONTENTS_TEMPERATURE, "", {{{0, 17.99}}, {{1, 20.0}}}, fail,
        "Verdict: FAIL  readings 17.99 to 20.00 °C outside 18.00 to 22.00 °C");
    Row("kind without verdict", TMeasureData::CONTENTS_RING_GAUGE, "0.015", {{{0, 1.0}}}, none, "");
}

void TestVerdict::Evaluate()
{
    QFETCH(TVerdictRow, row);
    TTolerance tolerance;
    if (!row.expression.isEmpty())
        QVERIFY(tolerance.Set_Expression(row.expression));
    const TVerdict verdict = Verdict::Evaluate(row.kind, row.curves, tolerance);
    QCOMPARE(verdict.line, row.line);
    QCOMPARE(verdict.verdict, row.verdict);
}

QTEST_APPLESS_MAIN(TestVerdict)
#include "tst_verdict.moc"
