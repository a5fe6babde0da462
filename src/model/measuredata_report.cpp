#include "model/measuredata_report.h"

#include <QChar>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{
__extension__ typedef unsigned __int128 TWide;

const std::uint64_t POWERS_OF_TEN[] = {1u,           10u,           100u,          1000u,      10000u,
                                       100000u,      1000000u,      10000000u,     100000000u, 1000000000u,
                                       10000000000u, 100000000000u, 1000000000000u};
const int MOST_DECIMALS = 12;

// value rounded to decimals places as a whole number of units of 10^-decimals, from the exact binary
// value with an exact tie rounded away from zero (as Qt does; printf would round it to even). False
// when the result does not fit 64 bits or the value is not finite: Qt formats those itself.
bool Scaled_Magnitude(double value, int decimals, std::uint64_t *scaled)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > MOST_DECIMALS)
    {
        return false;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased_exponent = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    int exponent = -1074;
    if (biased_exponent != 0)
    {
        mantissa |= std::uint64_t(1) << 52;
        exponent = biased_exponent - 1075;
    }
    // |value| = mantissa * 2^exponent exactly; the product below stays under 2^93.
    const TWide product = TWide(mantissa) * POWERS_OF_TEN[decimals];
    TWide result = 0;
    if (exponent >= 0)
    {
        // From 2^64 up the result cannot fit.
        if (exponent > 11)
        {
            return false;
        }
        result = product << exponent;
    }
    else if (exponent > -100)
    {
        const int shift = -exponent;
        result = product >> shift;
        const TWide remainder = product - (result << shift);
        if (remainder >= (TWide(1) << (shift - 1)))
        {
            ++result;
        }
    }
    // Below 2^-100 even the largest scale leaves less than half a unit: the result is 0.
    if (result > TWide(~std::uint64_t(0)))
    {
        return false;
    }
    *scaled = static_cast<std::uint64_t>(result);
    return true;
}
} // namespace

namespace
{
// The longest text Format writes: the sign, 20 digits, the point and the filling of a report column.
const int LONGEST_FORMATTED = 48;

// The fixed-point text of a value whose scaled magnitude fits 64 bits, right-aligned in width, written
// to out; returns its length. The length is known first, so the digits go straight to their places from
// the right, two at a time: the decimals, the point, the whole part, then the sign (kept when a negative
// value rounds to zero, as Qt keeps it).
int Format(char16_t *out, double value, std::uint64_t scaled, int width, int decimals)
{
    static const char PAIRS[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::uint64_t whole = scaled / POWERS_OF_TEN[decimals];
    int whole_digits = 1;
    for (std::uint64_t rest = whole; rest >= 10; rest /= 10)
    {
        ++whole_digits;
    }
    const bool negative = value < 0.0;
    const int length = (negative ? 1 : 0) + whole_digits + (decimals > 0 ? decimals + 1 : 0);
    const int filling = width > length ? width - length : 0;
    // The room left for a number always holds sixteen blanks; the digits overwrite the extra ones.
    static const char16_t BLANKS[16] = {u' ', u' ', u' ', u' ', u' ', u' ', u' ', u' ',
                                        u' ', u' ', u' ', u' ', u' ', u' ', u' ', u' '};
    if (filling <= 16)
    {
        std::memcpy(out, BLANKS, sizeof BLANKS);
        out += filling;
    }
    else
    {
        for (int i = 0; i < filling; ++i)
        {
            *out++ = u' ';
        }
    }
    char16_t *last = out + length;
    if (decimals > 0)
    {
        std::uint64_t fraction = scaled - whole * POWERS_OF_TEN[decimals];
        int decimal = 0;
        // Up to nine decimals fit 32 bits, where dividing by 100 is cheaper.
        if (fraction <= 0xffffffffu)
        {
            std::uint32_t small = static_cast<std::uint32_t>(fraction);
            for (; decimal + 2 <= decimals; decimal += 2)
            {
                const char *pair = PAIRS + 2 * (small % 100);
                small /= 100;
                *--last = static_cast<char16_t>(pair[1]);
                *--last = static_cast<char16_t>(pair[0]);
            }
            fraction = small;
        }
        for (; decimal + 2 <= decimals; decimal += 2)
        {
            const char *pair = PAIRS + 2 * (fraction % 100);
            fraction /= 100;
            *--last = static_cast<char16_t>(pair[1]);
            *--last = static_cast<char16_t>(pair[0]);
        }
        if (decimal < decimals)
        {
            *--last = static_cast<char16_t>('0' + fraction);
        }
        *--last = u'.';
    }
    while (whole >= 10)
    {
        const char *pair = PAIRS + 2 * (whole % 100);
        whole /= 100;
        *--last = static_cast<char16_t>(pair[1]);
        *--last = static_cast<char16_t>(pair[0]);
    }
    if (last != out + (negative ? 1 : 0))
    {
        *--last = static_cast<char16_t>('0' + whole);
    }
    if (negative)
    {
        out[0] = u'-';
    }
    return filling + length;
}
} // namespace

void MeasureReport::Append_Number(QString *line, double value, int width, int decimals)
{
    Append_Numbers(line, {value}, width, decimals, QLatin1String());
}

void MeasureReport::Append_Numbers(QString *line, std::initializer_list<double> values, int width,
                                   int decimals, QLatin1String separator)
{
    // The texts are gathered here and appended at once: growing the line number by number cost more
    // than the formatting.
    char16_t buffer[512];
    const int room = (width > LONGEST_FORMATTED ? width : LONGEST_FORMATTED) + 8;
    int used = 0;
    // Widened once, not before every number.
    char16_t separator_text[8];
    const int separator_size = separator.size() <= 8 ? separator.size() : 0;
    for (int i = 0; i < separator_size; ++i)
    {
        separator_text[i] = static_cast<char16_t>(static_cast<unsigned char>(separator.data()[i]));
    }
    const auto flush = [&]()
    {
        if (used > 0)
        {
            line->append(reinterpret_cast<const QChar *>(buffer), used);
        }
        used = 0;
    };
    bool first = true;
    for (const double value : values)
    {
        if (used + room > static_cast<int>(sizeof buffer / sizeof buffer[0]))
        {
            flush();
        }
        if (!first)
        {
            if (separator_size == separator.size())
            {
                for (int i = 0; i < separator_size; ++i)
                {
                    buffer[used++] = separator_text[i];
                }
            }
            else
            {
                flush();
                line->append(separator);
            }
        }
        first = false;
        std::uint64_t scaled = 0;
        if (room <= static_cast<int>(sizeof buffer / sizeof buffer[0]) &&
            Scaled_Magnitude(value, decimals, &scaled))
        {
            used += Format(buffer + used, value, scaled, width, decimals);
        }
        else
        {
            flush();
            line->append(QStringLiteral("%1").arg(value, width, 'f', decimals));
        }
    }
    flush();
}

QString MeasureReport::Number(double value, int width, int decimals)
{
    QString text;
    text.reserve(width > 24 ? width : 24);
    Append_Number(&text, value, width, decimals);
    return text;
}

QString MeasureReport::Degrees()
{
    return QString(QChar(0x02DA)) + QLatin1Char('C');
}

void MeasureReport::Title(QStringList *lines, const QString &title)
{
    lines->append(title);
    lines->append(QString(64, QLatin1Char('=')));
    lines->append(QString());
}

void MeasureReport::Heading(QStringList *lines, const QString &heading)
{
    Heading_Rule(lines, heading);
    lines->append(QString());
}

void MeasureReport::Heading_Rule(QStringList *lines, const QString &heading)
{
    lines->append(heading);
    lines->append(QString(44, QLatin1Char('-')));
}

QString MeasureReport::Columns(std::initializer_list<double> values)
{
    QString line;
    line.reserve(static_cast<int>(values.size()) * 16);
    Append_Numbers(&line, values, 12, 4, QLatin1String("  "));
    return line;
}

void MeasureReport::Deviation_Heading(QStringList *lines, const QString &heading)
{
    Heading(lines, heading);
    lines->append(QStringLiteral("     Nominal        Actual      Deviation"));
    lines->append(QString());
}

void MeasureReport::Deviation_Line(QStringList *lines, double nominal, double actual)
{
    lines->append(Columns({nominal, actual, actual - nominal}));
}

void MeasureReport::Alignment_Lines(QStringList *lines, const TMat4 &alignment)
{
    static const char *const LABELS[4] = {"  X Axis: %1, %2, %3", "  Y Axis: %1, %2, %3",
                                          "  Z Axis: %1, %2, %3", "  Origin: %1, %2, %3"};
    for (int row = 0; row < 4; ++row)
    {
        const int decimals = row < 3 ? 9 : 4;
        lines->append(QString::fromLatin1(LABELS[row])
                          .arg(Number(alignment[4 * row], 12, decimals),
                               Number(alignment[4 * row + 1], 12, decimals),
                               Number(alignment[4 * row + 2], 12, decimals)));
    }
}

void MeasureReport::Alignment_Block(QStringList *lines, const TMat4 &alignment)
{
    Heading(lines, QStringLiteral("Alignment"));
    Alignment_Lines(lines, alignment);
    lines->append(QString());
}

void MeasureReport::Probe_Block(QStringList *lines, const TVector3 &offset, const TVector3 &vector)
{
    Heading(lines, QStringLiteral("Probe"));
    lines->append(QStringLiteral("  Offset: %1, %2, %3")
                      .arg(Number(offset.x, 12, 4), Number(offset.y, 12, 4), Number(offset.z, 12, 4)));
    lines->append(QStringLiteral("  Vector: %1, %2, %3")
                      .arg(Number(vector.x, 12, 9), Number(vector.y, 12, 9), Number(vector.z, 12, 9)));
    lines->append(QString());
}

void MeasureReport::Scale_Expansion_Block(QStringList *lines, const TVector3 &expansion)
{
    const QString unit = QStringLiteral(" um/m/") + Degrees();
    Heading(lines, QStringLiteral("Scale Expansion Coefficients"));
    lines->append(QStringLiteral("  X Axis: ") + Number(expansion.x, 0, 1) + unit);
    lines->append(QStringLiteral("  Y Axis: ") + Number(expansion.y, 0, 1) + unit);
    lines->append(QStringLiteral("  Z Axis: ") + Number(expansion.z, 0, 1) + unit);
    lines->append(QString());
}

void MeasureReport::Temperature_Block(QStringList *lines, double x_scale, double y_scale, double z_scale,
                                      double part)
{
    const QString unit = QLatin1Char(' ') + Degrees();
    Heading(lines, QStringLiteral("Axis and Part Temperature"));
    lines->append(QStringLiteral("  X Axis: ") + Number(x_scale, 0, 2) + unit);
    lines->append(QStringLiteral("  Y Axis: ") + Number(y_scale, 0, 2) + unit);
    lines->append(QStringLiteral("  Z Axis: ") + Number(z_scale, 0, 2) + unit);
    lines->append(QStringLiteral("  Part:   ") + Number(part, 0, 2) + unit);
    lines->append(QString());
}
