#include "app/tolerancedialog.h"

#include "app/dialogbuttons.h"
#include "app/invalidfield.h"
#include "model/verdict.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QTextEdit>
#include <QVBoxLayout>

namespace
{
const char DEFINITIONS[] =
    "<p><b><u>E Mpl</u></b></p>"
    "<p>Tolerance expression for the step gauge measurement. The expression can be entered as a single "
    "value, a length expression, or a length expression with an upper limit. The following are examples "
    "of the three expression forms:</p>"
    "<p><i>0.0095</i><br><i>0.0095 + 0.003L/1000</i><br><i>0.0095 + 0.003L/1000 | 0.0018</i></p>"
    "<p><b><u>Ts_Max</u></b></p>"
    "<p>Upper limit for temperature. Temperature is entered in celsius.</p>"
    "<p><b><u>Ts_Min</u></b></p>"
    "<p>Lower limit for temperature. Temperature is entered in celsius.</p>";

// Sets a field's text without running the parse for that change.
void Set_Quietly(QLineEdit *edit, const QString &text)
{
    const bool blocked = edit->blockSignals(true);
    edit->setText(text);
    edit->blockSignals(blocked);
}

QLabel *Field_Label(const QString &text, QWidget *parent)
{
    QLabel *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *Rule_Label(const char *name, QWidget *parent)
{
    QLabel *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A broken rule reads in the colour of a failed verdict.
    label->setStyleSheet(Verdict::Colour_Style(TVerdict::VERDICT_FAIL));
    return label;
}

QLineEdit *Field(const char *name, const QString &text, QWidget *parent)
{
    QLineEdit *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}
} // namespace

TToleranceDialog::TToleranceDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Tolerance Editor Dialog"));
    resize(701, 501);

    QGridLayout *layout = new QGridLayout(this);
    layout->addWidget(Create_Samples(), 0, 0);
    layout->addWidget(Create_Definitions(), 0, 1);
    layout->addLayout(Create_Fields(), 1, 0, 1, 2);

    QFrame *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line, 2, 0, 1, 2);

    QDialogButtonBox *buttons =
        Create_Button_Box(this, tr("Cancel"), tr("Accept"), &d_cancel_button, &d_accept_button);
    d_accept_button->setObjectName(QStringLiteral("accept_button"));
    d_cancel_button->setObjectName(QStringLiteral("cancel_button"));
    d_cancel_button->setAutoDefault(false);
    d_accept_button->setAutoDefault(false);
    // Return presses Accept from any field, and does nothing while Accept is disabled.
    d_accept_button->setDefault(true);
    layout->addWidget(buttons, 3, 0, 1, 2);

    Tolerance_Changed();

    for (QLineEdit *edit : Fields())
        connect(edit, &QLineEdit::textChanged, this, &TToleranceDialog::Tolerance_Changed);
    connect(buttons, &QDialogButtonBox::accepted, this, &TToleranceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TToleranceDialog::reject);
}

QList<QLineEdit *> TToleranceDialog::Fields() const
{
    return {d_expression_edit, d_upper_temperature_edit, d_lower_temperature_edit};
}

QWidget *TToleranceDialog::Create_Samples()
{
    QGroupBox *box = new QGroupBox(tr("Sample Tolerances"), this);
    QGridLayout *grid = new QGridLayout(box);
    const char *const samples[3][2] = {{":/icon64/tolerance1_icon64.png", "E Mpl = A"},
                                       {":/icon64/tolerance2_icon64.png", "E Mpl = A + BL/C"},
                                       {":/icon64/tolerance3_icon64.png", "E Mpl = A + BL/C | D"}};
    for (int row = 0; row < 3; ++row)
    {
        QLabel *icon = new QLabel(box);
        icon->setFixedSize(64, 64);
        icon->setPixmap(QPixmap(QLatin1String(samples[row][0])));
        grid->addWidget(icon, row, 0);
        grid->addWidget(new QLabel(QLatin1String(samples[row][1]), box), row, 1);
    }
    return box;
}

QWidget *TToleranceDialog::Create_Definitions()
{
    QGroupBox *box = new QGroupBox(tr("Definitions"), this);
    QVBoxLayout *column = new QVBoxLayout(box);
    int top = 0;
    column->getContentsMargins(nullptr, &top, nullptr, nullptr);
    column->setContentsMargins(3, top, 3, 3);

    QTextEdit *text = new QTextEdit(box);
    text->setReadOnly(true);
    text->setFrameShape(QFrame::NoFrame);
    QPalette palette = text->palette();
    palette.setColor(QPalette::Base, Qt::white);
    text->setPalette(palette);
    text->setHtml(QString::fromLatin1(DEFINITIONS));
    column->addWidget(text);
    return box;
}

QLayout *TToleranceDialog::Create_Fields()
{
    QGridLayout *grid = new QGridLayout;
    d_expression_edit = Field("expression_edit", QStringLiteral("0.012 + 0.006L/1000"), this);
    d_upper_temperature_edit = Field("upper_temperature_edit", QStringLiteral("22.00"), this);
    d_lower_temperature_edit = Field("lower_temperature_edit", QStringLiteral("18.00"), this);
    d_upper_temperature_edit->setMaximumWidth(51);
    d_lower_temperature_edit->setMaximumWidth(51);
    grid->addWidget(Field_Label(tr("E Mpl:"), this), 0, 0);
    grid->addWidget(d_expression_edit, 0, 1);
    grid->addWidget(Field_Label(tr("Ts_Max:"), this), 0, 2);
    grid->addWidget(d_upper_temperature_edit, 0, 3);
    grid->addWidget(Field_Label(tr("Ts_Min:"), this), 0, 4);
    grid->addWidget(d_lower_temperature_edit, 0, 5);

    // Under the red fields: the rule their text breaks.
    d_expression_rule_label = Rule_Label("expression_rule_label", this);
    d_temperature_rule_label = Rule_Label("temperature_rule_label", this);
    grid->addWidget(d_expression_rule_label, 1, 1);
    grid->addWidget(d_temperature_rule_label, 1, 2, 1, 4);
    grid->setColumnStretch(1, 1);
    return grid;
}

void TToleranceDialog::Set_Lower_Temperature_Limit(double const &value)
{
    d_tolerance.d_lower_temperature_limit = value;
    Set_Quietly(d_lower_temperature_edit, QString::number(value, 'f', 2));
}

void TToleranceDialog::Set_Upper_Temperature_Limit(double const &value)
{
    d_tolerance.d_upper_temperature_limit = value;
    Set_Quietly(d_upper_temperature_edit, QString::number(value, 'f', 2));
}

void TToleranceDialog::Update()
{
    d_tolerance.Update_Type();
    Update_Display();
    Analysis_Tolerance();
}

void TToleranceDialog::Update_Display()
{
    const QString text = d_tolerance.Display_Text();
    if (!text.isNull())
        Set_Quietly(d_expression_edit, text);
}

bool TToleranceDialog::Analysis_Tolerance()
{
    bool upper_number = false;
    bool lower_number = false;
    const double upper = TTolerance::Temperature_Value(d_upper_temperature_edit->text(), &upper_number);
    const double lower = TTolerance::Temperature_Value(d_lower_temperature_edit->text(), &lower_number);
    d_tolerance.d_upper_temperature_limit = upper;
    d_tolerance.d_lower_temperature_limit = lower;
    const bool ordered = upper > lower;
    const bool upper_valid = upper_number && upper <= TTolerance::UPPER_TEMPERATURE_MAXIMUM;
    const bool lower_valid = lower_number && lower >= TTolerance::LOWER_TEMPERATURE_MINIMUM;
    Mark_Valid(d_upper_temperature_edit, ordered && upper_valid);
    Mark_Valid(d_lower_temperature_edit, ordered && lower_valid);
    QStringList temperature_rules;
    if (!upper_valid)
        temperature_rules << tr("Ts_Max must be a number not above %1")
                                 .arg(TTolerance::UPPER_TEMPERATURE_MAXIMUM, 0, 'f', 1);
    if (!lower_valid)
        temperature_rules << tr("Ts_Min must be a number not below %1")
                                 .arg(TTolerance::LOWER_TEMPERATURE_MINIMUM, 0, 'f', 1);
    if (!ordered)
        temperature_rules << tr("Ts_Max must be above Ts_Min");
    d_temperature_rule_label->setText(temperature_rules.join(QLatin1Char('\n')));

    const QString expression = d_expression_edit->text();
    const bool valid = d_tolerance.Set_Expression(expression);
    Mark_Valid(d_expression_edit, valid);
    // The words the report tool prints for the same text.
    d_expression_rule_label->setText(
        valid ? QString() : TTolerance::Rule_Text(TTolerance::Parse_Expression(expression).rule));

    d_fields_valid = valid && temperature_rules.isEmpty();
    d_accept_button->setEnabled(d_fields_valid);
    return valid;
}

void TToleranceDialog::Tolerance_Changed()
{
    Analysis_Tolerance();
}

void TToleranceDialog::showEvent(QShowEvent *event)
{
    d_opened_tolerance = d_tolerance;
    d_opened_texts.clear();
    for (const QLineEdit *edit : Fields())
        d_opened_texts << edit->text();
    // Typing goes to the expression, not to the read-only definitions before it.
    d_expression_edit->setFocus();
    d_expression_edit->selectAll();
    QDialog::showEvent(event);
}

void TToleranceDialog::accept()
{
    if (d_fields_valid)
        QDialog::accept();
}

void TToleranceDialog::reject()
{
    if (d_opened_texts.isEmpty())
    {
        QDialog::reject();
        return;
    }
    const QList<QLineEdit *> fields = Fields();
    for (int i = 0; i < fields.size() && i < d_opened_texts.size(); ++i)
        Set_Quietly(fields.at(i), d_opened_texts.at(i));
    // The colours and rules follow the texts; the values are exactly those held at opening.
    Analysis_Tolerance();
    d_tolerance = d_opened_tolerance;
    QDialog::reject();
}

void TToleranceDialog::Restore_Settings(const QSettings &settings)
{
    bool ok = false;
    const int type = settings.value(QStringLiteral("Tolerance_Type")).toInt(&ok);
    Set_Tolerance_Type(static_cast<TToleranceType>(ok ? type : 0));
    const auto stored = [&settings](const char *key, double fallback)
    { return TTolerance::Stored_Value(settings.value(QLatin1String(key)), fallback); };
    Set_Tolerance_A(stored("Tolerance_A", TTolerance::DEFAULT_A));
    Set_Tolerance_B(stored("Tolerance_B", TTolerance::DEFAULT_B));
    Set_Tolerance_C(stored("Tolerance_C", TTolerance::DEFAULT_C));
    Set_Tolerance_D(stored("Tolerance_D", TTolerance::DEFAULT_D));
    double upper = stored("Tolerance_Upper_Temperature_Limit", TTolerance::DEFAULT_UPPER_TEMPERATURE);
    double lower = stored("Tolerance_Lower_Temperature_Limit", TTolerance::DEFAULT_LOWER_TEMPERATURE);
    // Limits in the wrong order or far beyond any machine hall are damaged settings: start afresh.
    if (!TTolerance::Temperature_Limits_Valid(lower, upper))
    {
        upper = TTolerance::DEFAULT_UPPER_TEMPERATURE;
        lower = TTolerance::DEFAULT_LOWER_TEMPERATURE;
    }
    Set_Upper_Temperature_Limit(upper);
    Set_Lower_Temperature_Limit(lower);
    Update();
}

void TToleranceDialog::Save_Settings(QSettings *settings) const
{
    settings->setValue(QStringLiteral("Tolerance_Type"), static_cast<int>(d_tolerance.d_tolerance_type));
    settings->setValue(QStringLiteral("Tolerance_A"), d_tolerance.d_tolerance_a);
    settings->setValue(QStringLiteral("Tolerance_B"), d_tolerance.d_tolerance_b);
    settings->setValue(QStringLiteral("Tolerance_C"), d_tolerance.d_tolerance_c);
    settings->setValue(QStringLiteral("Tolerance_D"), d_tolerance.d_tolerance_d);
    settings->setValue(QStringLiteral("Tolerance_Upper_Temperature_Limit"),
                       d_tolerance.d_upper_temperature_limit);
    settings->setValue(QStringLiteral("Tolerance_Lower_Temperature_Limit"),
                       d_tolerance.d_lower_temperature_limit);
}
