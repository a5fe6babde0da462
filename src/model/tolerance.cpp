#include "tolerance.h"

#include <QRegularExpression>
#include <QVariant>

#include <cmath>

namespace
{
const double VALUE_LIMIT = 1.0;

// A group of digits and points; a text such as "1.2.3" or "." is not a number and reads as 0.
double Group_Value(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
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
    expression.matched = true;
    expression.a = Group_Value(match.captured(1));
    if (expression.type != TOLERANCE_CONSTANT)
    {
        expression.b = Group_Value(match.captured(2));
        expression.c = Group_Value(match.captured(3));
    }
    if (expression.type == TOLERANCE_LINEAR_CAPPED)
    {
        expression.d = Group_Value(match.captured(4));
    }

    if (expression.a > VALUE_LIMIT)
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
        return QStringLiteral("the expression is empty");
    case EXPRESSION_NO_FORM:
        return QStringLiteral("the expression is none of the forms A, A + BL/C and A + BL/C | D "
                              "(A, B, D up to 8 and C up to 9 digits and points)");
    case EXPRESSION_A_ABOVE_LIMIT:
        return QStringLiteral("A must not be greater than 1.0");
    case EXPRESSION_B_ABOVE_LIMIT:
        return QStringLiteral("B must not be greater than 1.0");
    case EXPRESSION_D_ABOVE_LIMIT:
        return QStringLiteral("D must not be greater than 1.0");
    }
    return QString();
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
    const double linear =
        d_tolerance_c > 0.1 ? d_tolerance_a + d_tolerance_b * length / d_tolerance_c : d_tolerance_a;
    switch (d_tolerance_type)
    {
    case TOLERANCE_CONSTANT:
        return d_tolerance_a;
    case TOLERANCE_LINEAR:
        return linear;
    case TOLERANCE_LINEAR_CAPPED:
        return d_tolerance_d < linear ? d_tolerance_d : linear;
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
    const QString c = QString::number(d_tolerance_c, 'f', 0);
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

bool TTolerance::Usable_Temperature_Limits(double lower, double upper)
{
    return lower <= upper && std::fabs(lower) <= TEMPERATURE_MAGNITUDE_LIMIT &&
           std::fabs(upper) <= TEMPERATURE_MAGNITUDE_LIMIT;
}
