#include "tolerancedialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QSpacerItem>
#include <QTextEdit>
#include <QVBoxLayout>

namespace
{
const QString INVALID_STYLE = QStringLiteral("background-color: rgb(255, 151, 160);");

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

void Set_Valid(QLineEdit *edit, bool valid)
{
    edit->setStyleSheet(valid ? QString() : INVALID_STYLE);
}

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
    setWindowTitle(QStringLiteral("Tolerance Editor Dialog"));
    resize(701, 501);

    QGridLayout *layout = new QGridLayout(this);
    layout->addWidget(Create_Samples(), 0, 0);
    layout->addWidget(Create_Definitions(), 0, 1);
    layout->addLayout(Create_Fields(), 1, 0, 1, 2);

    QFrame *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line, 2, 0, 1, 2);

    QHBoxLayout *buttons = new QHBoxLayout;
    buttons->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    d_cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    d_cancel_button->setObjectName(QStringLiteral("cancel_button"));
    d_accept_button = new QPushButton(QStringLiteral("Accept"), this);
    d_accept_button->setObjectName(QStringLiteral("accept_button"));
    for (QPushButton *button : {d_cancel_button, d_accept_button})
    {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons, 3, 0, 1, 2);

    Tolerance_Changed();

    for (QLineEdit *edit : {d_expression_edit, d_upper_temperature_edit, d_lower_temperature_edit})
        connect(edit, &QLineEdit::textChanged, this, &TToleranceDialog::Tolerance_Changed);
    connect(d_cancel_button, &QPushButton::clicked, this, &QDialog::reject);
    connect(d_accept_button, &QPushButton::clicked, this, &QDialog::accept);
}

QWidget *TToleranceDialog::Create_Samples()
{
    QGroupBox *box = new QGroupBox(QStringLiteral("Sample Tolerances"), this);
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
    QGroupBox *box = new QGroupBox(QStringLiteral("Definitions"), this);
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
    QHBoxLayout *row = new QHBoxLayout;
    d_expression_edit = Field("expression_edit", QStringLiteral("0.012 + 0.006L/1000"), this);
    d_upper_temperature_edit = Field("upper_temperature_edit", QStringLiteral("22.00"), this);
    d_lower_temperature_edit = Field("lower_temperature_edit", QStringLiteral("18.00"), this);
    d_upper_temperature_edit->setMaximumWidth(51);
    d_lower_temperature_edit->setMaximumWidth(51);
    row->addWidget(Field_Label(QStringLiteral("E Mpl:"), this));
    row->addWidget(d_expression_edit);
    row->addWidget(Field_Label(QStringLiteral("Ts_Max:"), this));
    row->addWidget(d_upper_temperature_edit);
    row->addWidget(Field_Label(QStringLiteral("Ts_Min:"), this));
    row->addWidget(d_lower_temperature_edit);
    return row;
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
    d_tolerance.d_upper_temperature_limit =
        TTolerance::Temperature_Value(d_upper_temperature_edit->text(), &upper_number);
    d_tolerance.d_lower_temperature_limit =
        TTolerance::Temperature_Value(d_lower_temperature_edit->text(), &lower_number);
    const bool ordered = d_tolerance.d_upper_temperature_limit > d_tolerance.d_lower_temperature_limit;
    Set_Valid(d_upper_temperature_edit,
              ordered && upper_number &&
                  d_tolerance.d_upper_temperature_limit <= TTolerance::UPPER_TEMPERATURE_MAXIMUM);
    Set_Valid(d_lower_temperature_edit,
              ordered && lower_number &&
                  d_tolerance.d_lower_temperature_limit >= TTolerance::LOWER_TEMPERATURE_MINIMUM);

    const bool valid = d_tolerance.Set_Expression(d_expression_edit->text());
    Set_Valid(d_expression_edit, valid);
    return valid;
}

void TToleranceDialog::Tolerance_Changed()
{
    Analysis_Tolerance();
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
    Set_Upper_Temperature_Limit(
        stored("Tolerance_Upper_Temperature_Limit", TTolerance::DEFAULT_UPPER_TEMPERATURE));
    Set_Lower_Temperature_Limit(
        stored("Tolerance_Lower_Temperature_Limit", TTolerance::DEFAULT_LOWER_TEMPERATURE));
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
