#include "model/tolerance.h"

#include "model/kindtable.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace
{
const double VALUE_LIMIT = 1.0;

// A group of digits and points; a text such as "1.2.3" or "." is not a number, which clears *all_ok.
double Group_Value(const QString &text, bool *all_ok)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    *all_ok = *all_ok && ok && std::isfinite(value);
    return ok ? value : 0.0;
}
} // namespace

TTolerance TTolerance::Default()
{
    TTolerance tolerance;
    tolerance.Update();
    return tolerance;
}

TTolerance::TExpression TTolerance::Parse_Expression(const QString &text)
{
    // Tried in this order; the character class [L,l] also lets a comma stand for the L.
    static const QRegularExpression constant(QStringLiteral("^([0-9.]{1,8})$"));
    static const QRegularExpression linear(
        QStringLiteral("^([0-9.]{1,8})[ ]{0,1}[+][ ]{0,1}([0-9.]{1,8})[ ]{0,1}[L,l]{1}[ ]{0,1}[/][ ]{0,1}"
                       "([0-9.]{1,9})$"));
    static const QRegularExpression capped(
        QStringLiteral("^([0-9.]{1,8})[ ]{0,1}[+][ ]{0,1}([0-9.]{1,8})[ ]{0,1}[L,l]{1}[ ]{0,1}[/][ ]{0,1}"
                       "([0-9.]{1,9})[ ]{0,1}[|][ ]{0,1}([0-9.]{1,8})$"));

    TExpression expression;
    const QString simplified = text.simplified().toUpper();
    if (simplified.isEmpty())
    {
        return expression;
    }
    expression.rule = EXPRESSION_NO_FORM;
    QRegularExpressionMatch match = constant.match(simplified);
    if (match.hasMatch())
    {
        expression.type = TOLERANCE_CONSTANT;
    }
    else if ((match = linear.match(simplified)).hasMatch())
    {
        expression.type = TOLERANCE_LINEAR;
    }
    else if ((match = capped.match(simplified)).hasMatch())
    {
        expression.type = TOLERANCE_LINEAR_CAPPED;
    }
    else
    {
        return expression;
    }
    bool numbers = true;
    expression.a = Group_Value(match.captured(1), &numbers);
    if (expression.type != TOLERANCE_CONSTANT)
    {
        expression.b = Group_Value(match.captured(2), &numbers);
        expression.c = Group_Value(match.captured(3), &numbers);
    }
    if (expression.type == TOLERANCE_LINEAR_CAPPED)
    {
        expression.d = Group_Value(match.captured(4), &numbers);
    }
    // A group that is no number has no value to keep.
    if (!numbers)
    {
        expression.rule = EXPRESSION_NOT_A_NUMBER;
        return expression;
    }
    expression.matched = true;

    if (expression.type != TOLERANCE_CONSTANT && !(expression.c > DIVISOR_MINIMUM))
        expression.rule = EXPRESSION_DIVISOR_TOO_SMALL;
    else if (expression.a > VALUE_LIMIT)
        expression.rule = EXPRESSION_A_ABOVE_LIMIT;
    else if (expression.b > VALUE_LIMIT)
        expression.rule = EXPRESSION_B_ABOVE_LIMIT;
    else if (expression.d > VALUE_LIMIT)
        expression.rule = EXPRESSION_D_ABOVE_LIMIT;
    else
        expression.rule = EXPRESSION_VALID;
    return expression;
}

QString TTolerance::Rule_Text(TExpressionRule rule)
{
    switch (rule)
    {
    case EXPRESSION_VALID:
        return QString();
    case EXPRESSION_EMPTY:
        return QCoreApplication::translate("TTolerance", "the expression is empty");
    case EXPRESSION_NO_FORM:
        return QCoreApplication::translate("TTolerance",
                                           "the expression is none of the forms A, A + BL/C and A + BL/C | D "
                                           "(A, B, D up to 8 and C up to 9 digits and points)");
    case EXPRESSION_NOT_A_NUMBER:
        return QCoreApplication::translate("TTolerance",
                                           "each of A, B, C and D must be one number, such as 0.012");
    case EXPRESSION_A_ABOVE_LIMIT:
        return QCoreApplication::translate("TTolerance", "A must not be greater than 1.0");
    case EXPRESSION_B_ABOVE_LIMIT:
        return QCoreApplication::translate("TTolerance", "B must not be greater than 1.0");
    case EXPRESSION_D_ABOVE_LIMIT:
        return QCoreApplication::translate("TTolerance", "D must not be greater than 1.0");
    case EXPRESSION_DIVISOR_TOO_SMALL:
        return QCoreApplication::translate("TTolerance", "C must be greater than 0.1");
    }
    return QString();
}

bool TTolerance::Temperature_Limits_Valid(double lower, double upper)
{
    const auto bounded = [](double value)
    { return std::isfinite(value) && std::fabs(value) <= TEMPERATURE_LIMIT_BOUND; };
    return bounded(lower) && bounded(upper) && lower <= upper;
}

QString TTolerance::Temperature_Limits_Rule_Text()
{
    return QCoreApplication::translate("TTolerance",
                                       "temperature limits must lie between -1000 and 1000 degrees Celsius, "
                                       "with Ts_Min not above Ts_Max");
}

bool TTolerance::Set_Expression(const QString &text)
{
    const TExpression expression = Parse_Expression(text);
    if (expression.matched)
    {
        d_tolerance_type = expression.type;
        d_tolerance_a = expression.a;
        d_tolerance_b = expression.b;
        d_tolerance_c = expression.c;
        d_tolerance_d = expression.d;
    }
    return expression.Valid();
}

double TTolerance::Tolerance_Value(double const &length) const
{
    // A travel is never negative, and neither is a limit.
    const double travel = length > 0.0 ? length : 0.0;
    const double linear = d_tolerance_c > DIVISOR_MINIMUM
                              ? d_tolerance_a + d_tolerance_b * travel / d_tolerance_c
                              : d_tolerance_a;
    double value = 0.0;
    switch (d_tolerance_type)
    {
    case TOLERANCE_CONSTANT:
        value = d_tolerance_a;
        break;
    case TOLERANCE_LINEAR:
        value = linear;
        break;
    case TOLERANCE_LINEAR_CAPPED:
        value = d_tolerance_d < linear ? d_tolerance_d : linear;
        break;
    }
    return value > 0.0 ? value : 0.0;
}

std::vector<TVector2> TTolerance::Limit_Line(double xmin, double xmax, double origin) const
{
    if (d_tolerance_type != TOLERANCE_CONSTANT && d_tolerance_type != TOLERANCE_LINEAR &&
        d_tolerance_type != TOLERANCE_LINEAR_CAPPED)
        return {};
    std::vector<double> positions{xmin};
    std::vector<double> corners;
    const bool slope = d_tolerance_type != TOLERANCE_CONSTANT && d_tolerance_c > DIVISOR_MINIMUM;
    if (slope)
        corners.push_back(origin);
    if (slope && d_tolerance_type == TOLERANCE_LINEAR_CAPPED && d_tolerance_b > 0.0)
        corners.push_back(origin +
                          Limit_Position(d_tolerance_a, d_tolerance_b, d_tolerance_c, d_tolerance_d));
    std::sort(corners.begin(), corners.end());
    for (const double corner : corners)
    {
        if (std::isfinite(corner) && xmin < corner && corner < xmax && corner != positions.back())
            positions.push_back(corner);
    }
    positions.push_back(xmax);

    std::vector<TVector2> line;
    for (const double x : positions)
        line.emplace_back(x, Tolerance_Value(x - origin));
    return line;
}

double TTolerance::Length_Origin(TMeasureData::TFileContents kind,
                                 const std::vector<std::vector<TVector2>> &curves)
{
    const TKindRow *row = KindTable::Find(kind);
    if (!row || !row->lengths_from_first_point)
        return 0.0;
    // The run's points are stored in ascending order of position.
    for (const std::vector<TVector2> &curve : curves)
    {
        if (!curve.empty())
            return std::isfinite(curve.front().x) ? curve.front().x : 0.0;
    }
    return 0.0;
}

double TTolerance::Limit_Position(double const &a, double const &b, double const &c, double const &d)
{
    if (a > d)
    {
        return 0.0;
    }
    return (d - a) / (b / c);
}

void TTolerance::Update_Type()
{
    if (d_tolerance_d > 0.0)
        d_tolerance_type = TOLERANCE_LINEAR_CAPPED;
    else if (d_tolerance_c > 0.1)
        d_tolerance_type = TOLERANCE_LINEAR;
    else
        d_tolerance_type = TOLERANCE_CONSTANT;
}

bool TTolerance::Update()
{
    Update_Type();
    return Set_Expression(Display_Text());
}

QString TTolerance::Display_Text() const
{
    const QString a = QString::number(d_tolerance_a, 'f', 4);
    const QString b = QString::number(d_tolerance_b, 'f', 4);
    // C is shown whole, unless that would round a divisor the parser took to one it refuses.
    QString c = QString::number(d_tolerance_c, 'f', 0);
    for (int decimals = 1;
         decimals <= 8 && d_tolerance_c > DIVISOR_MINIMUM && !(c.toDouble() > DIVISOR_MINIMUM); ++decimals)
        c = QString::number(d_tolerance_c, 'f', decimals);
    // The parser reads at most nine characters of C; ".10000001" is the same number as "0.10000001".
    if (c.size() > 9 && c.startsWith(QLatin1String("0.")))
        c.remove(0, 1);
    switch (d_tolerance_type)
    {
    case TOLERANCE_CONSTANT:
        return a;
    case TOLERANCE_LINEAR:
        return QStringLiteral("%1+%2L/%3").arg(a, b, c);
    case TOLERANCE_LINEAR_CAPPED:
        return QStringLiteral("%1+%2L/%3 | %4").arg(a, b, c, QString::number(d_tolerance_d, 'f', 4));
    }
    return QString();
}

double TTolerance::Temperature_Value(const QString &text, bool *is_number)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    *is_number = ok && std::isfinite(value);
    return *is_number ? value : 0.0;
}

double TTolerance::Stored_Value(const QVariant &value, double fallback)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && std::isfinite(number) ? number : fallback;
}
