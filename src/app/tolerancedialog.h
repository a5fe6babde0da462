#pragma once

#include "model/tolerance.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class QShowEvent;

// Edits the E MPL expression and the temperature limits. Invalid input is shown in pale red with the
// rule it breaks and cannot be accepted. The values follow the text as it is typed; Cancel and Escape
// put back the values the dialog opened with.
class TToleranceDialog : public QDialog
{
    Q_OBJECT

  public:
    using TToleranceType = TTolerance::TToleranceType;
    static constexpr TToleranceType TOLERANCE_CONSTANT = TTolerance::TOLERANCE_CONSTANT;
    static constexpr TToleranceType TOLERANCE_LINEAR = TTolerance::TOLERANCE_LINEAR;
    static constexpr TToleranceType TOLERANCE_LINEAR_CAPPED = TTolerance::TOLERANCE_LINEAR_CAPPED;

    explicit TToleranceDialog(QWidget *parent = nullptr);

    const TTolerance &Tolerance() const { return d_tolerance; }
    double Tolerance_Value(double const &length) const { return d_tolerance.Tolerance_Value(length); }
    double Limit_Position(double const &a, double const &b, double const &c, double const &d) const
    {
        return TTolerance::Limit_Position(a, b, c, d);
    }

    void Set_Tolerance_Type(TToleranceType const &type) { d_tolerance.d_tolerance_type = type; }
    void Set_Tolerance_A(double const &value) { d_tolerance.d_tolerance_a = value; }
    void Set_Tolerance_B(double const &value) { d_tolerance.d_tolerance_b = value; }
    void Set_Tolerance_C(double const &value) { d_tolerance.d_tolerance_c = value; }
    void Set_Tolerance_D(double const &value) { d_tolerance.d_tolerance_d = value; }
    void Set_Lower_Temperature_Limit(double const &value);
    void Set_Upper_Temperature_Limit(double const &value);

    void Update();
    void Update_Display();
    bool Analysis_Tolerance();

    // The seven settings keys: read in order through the setters and then Update(), or written.
    void Restore_Settings(const QSettings &settings);
    void Save_Settings(QSettings *settings) const;

    // True while no field is shown red.
    bool Fields_Valid() const { return d_fields_valid; }

  public slots:
    void Tolerance_Changed();
    // Refused while a field is red.
    void accept() override;
    void reject() override;

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    QWidget *Create_Samples();
    QWidget *Create_Definitions();
    QLayout *Create_Fields();
    QList<QLineEdit *> Fields() const;

    TTolerance d_tolerance;
    QLineEdit *d_expression_edit = nullptr;
    QLineEdit *d_upper_temperature_edit = nullptr;
    QLineEdit *d_lower_temperature_edit = nullptr;
    QPushButton *d_accept_button = nullptr;
    QPushButton *d_cancel_button = nullptr;
    QLabel *d_expression_rule_label = nullptr;
    QLabel *d_temperature_rule_label = nullptr;

    // What the dialog held when it was opened, put back by Cancel.
    TTolerance d_opened_tolerance;
    QStringList d_opened_texts;
    bool d_fields_valid = false;
};
