// The report's number formatting and the file's number conversion against Qt's own, value by value.

#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <random>

// Every magnitude (any bit pattern now and then, or one of 2^-60 to 2^40), exact ties at the rounding
// digit, negatives that round to zero, the edge of 64-bit results, values near 1e15 and 1e308.
static double Value(std::mt19937_64 &random, int decimals)
{
    const std::uint64_t bits = random();
    const double sign = (bits & 1) ? -1.0 : 1.0;
    const double fraction = static_cast<double>(bits >> 11) / 9007199254740992.0;
    const double unit = std::pow(10.0, -decimals);
    std::uint64_t pattern = bits;
    if (bits % 64 > 4)
        pattern = (bits & ~(std::uint64_t(0x7ff) << 52)) | (std::uint64_t(963 + bits % 101) << 52);
    double any = 0.0;
    std::memcpy(&any, &pattern, sizeof any);
    const double values[] = {
        any,
        sign * fraction * std::pow(10.0, static_cast<int>(bits % 41) - 20),
        sign * std::ldexp(static_cast<double>(bits % 100000 * 2 + 1), -(decimals + 1)),
        -fraction * unit,
        sign * std::nextafter(1.8446744073709552e19 * unit, static_cast<double>(bits % 3) * 1e20),
        sign * (1e15 + static_cast<double>(bits % 2001) - 1000.0) * (bits % 16 ? 1.0 : 1e293),
        sign * std::round(fraction * 1e6) / 1e6 + (bits % 5 ? 0.0 : 2.5e-5)};
    return values[bits % 7];
}

class TTestNumberFormat : public QObject
{
    Q_OBJECT

  private slots:
    void Format_As_Qt()
    {
        std::mt19937_64 random(20261207);
        for (int i = 0; i < 1200000; ++i)
        {
            const int decimals = static_cast<int>(random() % 14);
            const int width = static_cast<int>(random() % 3) * 12;
            const double value = i < 2 ? (i ? 0.125 : 2.5) : Value(random, decimals);
            const QString expected = QStringLiteral("%1").arg(value, width, 'f', decimals);
            const QString actual = MeasureReport::Number(value, width, decimals);
            if (actual != expected)
                QFAIL(qPrintable(QStringLiteral("%1 (%2, %3): '%4' instead of '%5'")
                                     .arg(QString::number(value, 'g', 17), QString::number(width),
                                          QString::number(decimals), actual, expected)));
        }
    }

    // Runs of numbers appended to a line at once, with the values Qt formats itself among them and
    // runs long enough to fill the gathering buffer more than once.
    void Append_Runs_As_Qt()
    {
        std::mt19937_64 random(26);
        for (int i = 0; i < 20000; ++i)
        {
            const int decimals = static_cast<int>(random() % 14);
            const int width = i % 50 ? static_cast<int>(random() % 3) * 12 : 500;
            const QLatin1String separator = i % 7 == 0 ? QLatin1String(" | between | ")
                                            : i % 3    ? QLatin1String(", ")
                                                       : QLatin1String();
            double values[12];
            for (double &value : values)
                value = random() % 6 ? Value(random, decimals) : 1e300 * static_cast<double>(random() % 3);
            QString expected = QStringLiteral("head");
            for (int v = 0; v < 12; ++v)
                expected += (v ? QString(separator) : QString()) +
                            QStringLiteral("%1").arg(values[v], width, 'f', decimals);
            QString actual = QStringLiteral("head");
            MeasureReport::Append_Numbers(&actual,
                                          {values[0], values[1], values[2], values[3], values[4], values[5],
                                           values[6], values[7], values[8], values[9], values[10],
                                           values[11]},
                                          width, decimals, separator);
            QCOMPARE(actual, expected);
        }
    }

    // Short texts of the characters numbers are made of, and printed doubles of every magnitude, read as
    // numbers and as whole numbers.
    void Read_As_Qt()
    {
        const char alphabet[] = " \t+-.eE0123456789iInNaf,x";
        std::mt19937_64 random(7);
        for (int i = 0; i < 600000; ++i)
        {
            QString text;
            if (i % 2)
                text = QString::number(Value(random, 4), "egf"[i % 3], static_cast<int>(random() % 20));
            for (int length = i % 2 ? 0 : static_cast<int>(random() % 12); length > 0; --length)
                text += QLatin1Char(alphabet[random() % (sizeof alphabet - 1)]);
            bool ok = false;
            const double qt = text.toDouble(&ok);
            const double expected = ok && std::isfinite(qt) ? qt : 0.0;
            const double actual = MeasureGrammar::To_Number(text);
            if (MeasureGrammar::To_Integer(text) != text.toInt())
                QFAIL(qPrintable(QStringLiteral("'%1' read as the whole number %2 instead of %3")
                                     .arg(text)
                                     .arg(MeasureGrammar::To_Integer(text))
                                     .arg(text.toInt())));
            if (std::memcmp(&actual, &expected, sizeof actual) != 0)
                QFAIL(qPrintable(
                    QStringLiteral("'%1' read as %2 instead of %3")
                        .arg(text, QString::number(actual, 'g', 17), QString::number(expected, 'g', 17))));
        }
    }
};

QTEST_APPLESS_MAIN(TTestNumberFormat)
#include "tst_numberformat.moc"
