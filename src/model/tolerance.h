#pragma once

#include "geometry/vector2.h"
#include "model/measuredata.h"

#include <QString>
#include <vector>

class QVariant;

// The E MPL of step gauge and laser measurements as a function of the measured length L, in one of
// three forms, with the temperature limits entered beside it. A plain value: the tolerance dialog
// wraps it, the presentation and the report tool read it.
class TTolerance
{
  public:
    enum TToleranceType : int
    {
        TOLERANCE_CONSTANT = 0,     // A
        TOLERANCE_LINEAR = 1,       // A + B·L/C
        TOLERANCE_LINEAR_CAPPED = 2 // min(A + B·L/C, D)
    };

    // Why an expression text is not a valid tolerance.
    enum TExpressionRule
    {
        EXPRESSION_VALID,
        EXPRESSION_EMPTY,
        EXPRESSION_NO_FORM,      // the previous values stay
        EXPRESSION_NOT_A_NUMBER, // a group such as "1.2.3" or "."
        EXPRESSION_A_ABOVE_LIMIT,
        EXPRESSION_B_ABOVE_LIMIT,
        EXPRESSION_D_ABOVE_LIMIT,
        EXPRESSION_DIVISOR_TOO_SMALL // C of 0.1 or less in a length form
    };

    // What one expression text reads as. Type and values are meaningful only when matched.
    struct TExpression
    {
        TExpressionRule rule = EXPRESSION_EMPTY;
        bool matched = false;
        TToleranceType type = TOLERANCE_CONSTANT;
        double a = 0.0;
        double b = 0.0;
        double c = 0.0;
        double d = 0.0;

        bool Valid() const { return rule == EXPRESSION_VALID; }
    };

    // The first-start values, as the settings' defaults give them.
    static constexpr double DEFAULT_A = 0.012;
    static constexpr double DEFAULT_B = 0.006;
    static constexpr double DEFAULT_C = 1000.0;
    static constexpr double DEFAULT_D = 0.015;
    static constexpr double DEFAULT_UPPER_TEMPERATURE = 22.0;
    static constexpr double DEFAULT_LOWER_TEMPERATURE = 18.0;
    static constexpr double UPPER_TEMPERATURE_MAXIMUM = 30.0;
    static constexpr double LOWER_TEMPERATURE_MINIMUM = 10.0;
    // Stored or given temperature limits beyond this, in either direction, are not limits of a machine.
    static constexpr double TEMPERATURE_LIMIT_BOUND = 1000.0;
    // The smallest length divisor C of the length forms is above this.
    static constexpr double DIVISOR_MINIMUM = 0.1;

    // The first-start tolerance: the default values with the type Update() derives from them.
    static TTolerance Default();

    static TExpression Parse_Expression(const QString &text);
    // A sentence naming the rule, for messages outside the dialog and under its expression field.
    static QString Rule_Text(TExpressionRule rule);

    // Temperature limits are usable when both are finite, within the bound and Ts_Min is not above Ts_Max.
    static bool Temperature_Limits_Valid(double lower, double upper);
    // The rule those limits break, as a sentence.
    static QString Temperature_Limits_Rule_Text();

    // Stores what the text reads as when it matches a form, valid or not; returns whether it is valid.
    bool Set_Expression(const QString &text);

    // E MPL at a length: the one place it is computed. A length below 0 reads as 0, and the result is
    // never negative.
    double Tolerance_Value(double const &length) const;
    // The upper limit line over the positions xmin to xmax, E MPL of the travel from origin: the ends and,
    // strictly between them, the corners at origin and where the cap is reached. Empty for a type outside
    // the three forms.
    std::vector<TVector2> Limit_Line(double xmin, double xmax, double origin) const;
    // The position the measured length counts from: a data collection run measures its travel from its
    // first position, every other kind from 0.
    static double Length_Origin(TMeasureData::TFileContents kind,
                                const std::vector<std::vector<TVector2>> &curves);
    // The length at which a + b·L/c reaches d; 0 when a > d. Not guarded against b = 0 or c = 0.
    static double Limit_Position(double const &a, double const &b, double const &c, double const &d);

    // The type that C and D imply: capped when D > 0, else linear when C > 0.1, else constant.
    void Update_Type();
    // Update_Type(), then re-reads the display text, which rounds the values to what it shows.
    bool Update();
    // The expression as the dialog writes it; a null string for a type outside the three forms.
    QString Display_Text() const;

    // A temperature field's value: 0 when the text is not a finite number.
    static double Temperature_Value(const QString &text, bool *is_number);

    // A stored setting as a finite double, or fallback when it is absent, text or not finite.
    static double Stored_Value(const QVariant &value, double fallback);

    TToleranceType d_tolerance_type = TOLERANCE_LINEAR_CAPPED;
    double d_tolerance_a = DEFAULT_A;
    double d_tolerance_b = DEFAULT_B;
    double d_tolerance_c = DEFAULT_C;
    double d_tolerance_d = DEFAULT_D;
    double d_lower_temperature_limit = DEFAULT_LOWER_TEMPERATURE;
    double d_upper_temperature_limit = DEFAULT_UPPER_TEMPERATURE;
};
