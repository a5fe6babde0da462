#include "app/nominaleditordialog.h"

#include "app/dialogbuttons.h"
#include "app/invalidfield.h"
#include "base/assertion.h"
#include "model/nominalfaces.h"
#include "tableeditor/tableeditor.h"
#include "widgets/messagebox.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace
{
TNominalEditorDialog::TRunFunction &Run_Function()
{
    static TNominalEditorDialog::TRunFunction function;
    return function;
}

QString Millimetres(double value)
{
    return QStringLiteral("%1").arg(value, 0, 'f', 3);
}

// Two field numbers are the same pitch; "nan" read twice is no change either.
bool Same_Number(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool Same_Values(const std::vector<double> &a, const std::vector<double> &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), Same_Number);
}

// Why Deviation mode is not offered for an uneven set.
QString Uneven_Reason(const NominalFaces::TLayout &layout)
{
    if (layout.even_increment > 0.0)
    {
        const int face = layout.uneven_face;
        return TNominalEditorDialog::tr(
                   "Deviations need evenly spaced faces. The face at %1 mm is not at %2 mm, "
                   "where an increment of %3 mm places it, so this set is edited as "
                   "actual positions. A new Increment or End generates an evenly spaced set.")
            .arg(Millimetres(layout.labels[static_cast<size_t>(face)]),
                 Millimetres(face * layout.even_increment), Millimetres(layout.even_increment));
    }
    return TNominalEditorDialog::tr(
               "Deviations need faces at least %1 mm apart over at least %2 mm. The first two "
               "faces of this set are %3 mm apart, so it is edited as actual positions.")
        .arg(Millimetres(NominalFaces::MINIMUM_INCREMENT), Millimetres(NominalFaces::MINIMUM_END),
             Millimetres(layout.labels[1]));
}

QFrame *Separator(QWidget *parent, QFrame::Shape shape)
{
    QFrame *line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLineEdit *Field(QWidget *parent, const char *name, const QString &text)
{
    QLineEdit *field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    field->setAlignment(Qt::AlignCenter);
    return field;
}
} // namespace

TNominalEditorDialog::TNominalEditorDialog(const QWidget *parent, Qt::WindowFlags flags)
    : QDialog(const_cast<QWidget *>(parent), flags),
      d_increment_in_force(std::numeric_limits<double>::quiet_NaN()),
      d_end_in_force(std::numeric_limits<double>::quiet_NaN())
{
    setWindowTitle(tr("Stepgauge Nominal Editor Dialog"));
    resize(500, 580);

    QGridLayout *grid = new QGridLayout(this);
    const auto label = [this](const QString &text, Qt::Alignment alignment)
    {
        QLabel *item = new QLabel(text, this);
        item->setAlignment(alignment | Qt::AlignVCenter);
        return item;
    };

    d_serial_edit = Field(this, "serial_edit", QStringLiteral("90210"));
    d_start_edit = Field(this, "start_edit", QStringLiteral("0.000"));
    d_start_edit->setReadOnly(true);
    d_increment_edit = Field(this, "increment_edit", QStringLiteral("10.000"));
    d_end_edit = Field(this, "end_edit", QStringLiteral("1010.000"));
    d_actual_radio = new QRadioButton(tr("Actual (mm)"), this);
    d_actual_radio->setObjectName(QStringLiteral("actual_radio"));
    d_deviation_radio = new QRadioButton(tr("Deviation (um)"), this);
    d_deviation_radio->setObjectName(QStringLiteral("deviation_radio"));
    d_deviation_radio->setChecked(true);

    grid->addWidget(label(tr("Serial Number:"), Qt::AlignRight), 0, 0);
    grid->addWidget(d_serial_edit, 0, 1);
    const QList<QPair<QString, QLineEdit *>> pitch_rows = {
        {tr("Start:"), d_start_edit}, {tr("Increment:"), d_increment_edit}, {tr("End:"), d_end_edit}};
    for (int row = 0; row < pitch_rows.size(); ++row)
    {
        grid->addWidget(label(pitch_rows[row].first, Qt::AlignRight), row + 1, 0);
        grid->addWidget(pitch_rows[row].second, row + 1, 1);
        grid->addWidget(label(tr("mm"), Qt::AlignLeft), row + 1, 2);
    }
    grid->addWidget(Separator(this, QFrame::VLine), 1, 3, 3, 1);
    grid->addWidget(label(tr("Edit Mode:"), Qt::AlignLeft), 1, 4);
    grid->addWidget(d_actual_radio, 2, 4);
    grid->addWidget(d_deviation_radio, 3, 4);
    grid->addWidget(Separator(this, QFrame::HLine), 4, 0, 1, 5);

    d_notice = new QLabel(this);
    d_notice->setObjectName(QStringLiteral("notice"));
    d_notice->setWordWrap(true);
    Mark_Valid(d_notice, false);
    d_notice->hide();
    grid->addWidget(d_notice, 5, 0, 1, 5);

    d_table = new TEditTable(this);
    d_table->setObjectName(QStringLiteral("table"));
    d_table->Set_Edit_Mode(TEditTable::EDIT_MODE_REPLACE);
    d_table->Set_Selection_Mode(TEditTable::SELECTION_MOVE_DOWN);
    d_table->d_allow_invert = false;
    grid->addWidget(d_table, 6, 0, 1, 5);
    grid->addWidget(Separator(this, QFrame::HLine), 7, 0, 1, 5);

    QDialogButtonBox *buttons =
        Create_Button_Box(this, tr("Cancel"), tr("Save"), &d_cancel_button, &d_save_button);
    d_cancel_button->setObjectName(QStringLiteral("cancel_button"));
    d_save_button->setObjectName(QStringLiteral("save_button"));
    for (QPushButton *button : {d_cancel_button, d_save_button})
    {
        button->setAutoDefault(false);
    }
    grid->addWidget(buttons, 8, 0, 1, 5);

    d_message_box = new TMessageBox(this);

    connect(d_increment_edit, &QLineEdit::editingFinished, this, &TNominalEditorDialog::Update_Editor);
    connect(d_end_edit, &QLineEdit::editingFinished, this, &TNominalEditorDialog::Update_Editor);
    connect(d_actual_radio, &QRadioButton::toggled, this, &TNominalEditorDialog::Toggle_Mode);
    connect(d_table, &TEditTable::Cell_Changed, this, &TNominalEditorDialog::Cell_Changed);
    connect(d_table, &TEditTable::Start_Multiple_Cell_Change, this, [this] { d_multiple_change = true; });
    connect(d_table, &TEditTable::End_Multiple_Cell_Change, this,
            [this]
            {
                d_multiple_change = false;
                Check_Spacing();
            });
    connect(d_table, &TEditTable::Paste_Reported, this,
            [this](const QString &message)
            {
                d_message_box->Warn(
                    tr("Paste"), message.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));
            });
    connect(d_serial_edit, &QLineEdit::textChanged, this, &TNominalEditorDialog::Serial_Changed);
    // Cancel discards at once; Escape and closing the window ask first.
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { QDialog::reject(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &TNominalEditorDialog::accept);
}

void TNominalEditorDialog::Reset(const QString &serial_number, const std::vector<double> &nominals)
{
    d_edited_serial = serial_number;
    d_reset_serial = serial_number;
    d_serial_edit->setText(serial_number);
    Show_Set(nominals, serial_number.isEmpty() && nominals.empty());
    d_reset_nominals = d_nominals;
}

void TNominalEditorDialog::Reset_New_Set(const QString &serial_number, double first_face)
{
    d_edited_serial.clear();
    d_reset_serial = serial_number;
    d_serial_edit->setText(serial_number);
    Show_Set(std::vector<double>(), true, std::isfinite(first_face) ? first_face : 0.0);
    d_reset_nominals = d_nominals;
}

QString TNominalEditorDialog::Serial_Number() const
{
    return d_serial_edit->text();
}

void TNominalEditorDialog::Initialize_Editor(const std::vector<double> &nominals)
{
    Show_Set(nominals, nominals.empty());
}

QString TNominalEditorDialog::Not_Shown_Reason(const std::vector<double> &nominals)
{
    if (NominalFaces::Lay_Out(nominals).spacing != NominalFaces::SPACING_NOT_SHOWN)
    {
        return QString();
    }
    return tr("This nominal set has %n face(s) and cannot be shown in the editor, which shows sets of 2 to "
              "%1 faces with finite positions. It cannot be saved from here; its file is left as it is.",
              nullptr, static_cast<int>(std::min<size_t>(nominals.size(), std::numeric_limits<int>::max())))
        .arg(NominalFaces::MAXIMUM_FACES);
}

void TNominalEditorDialog::Show_Set(const std::vector<double> &nominals, bool new_set, double first_face)
{
    d_nominals = nominals;
    const NominalFaces::TLayout layout = NominalFaces::Lay_Out(nominals);
    // Start names where the first face lies, so that a new pitch keeps the set where it is.
    if (!new_set)
        first_face = layout.spacing == NominalFaces::SPACING_NOT_SHOWN ? 0.0 : nominals.front();
    d_start_edit->setText(Millimetres(first_face));
    Set_Not_Shown(new_set ? QString() : Not_Shown_Reason(nominals));
    if (new_set || layout.spacing == NominalFaces::SPACING_NOT_SHOWN)
    {
        d_increment_edit->setText(QStringLiteral("10.000"));
        d_end_edit->setText(QStringLiteral("1010.000"));
        if (new_set)
        {
            Regenerate(true);
            return;
        }
        // Nothing generated: the given set stays as it is.
        Note_Pitch_In_Force();
        Mark_Fields(true, true);
        d_table->Set_Cell_Count(0, 0);
        d_positions.clear();
        return;
    }
    QString reason;
    if (layout.spacing == NominalFaces::SPACING_UNEVEN)
    {
        reason = Uneven_Reason(layout);
    }
    else if (d_actual_forced)
    {
        const QSignalBlocker blocker(d_actual_radio);
        d_deviation_radio->setChecked(true);
        d_actual_forced = false;
    }
    Set_Deviation_Available(reason);
    d_increment_edit->setText(Millimetres(layout.increment));
    d_end_edit->setText(Millimetres(layout.end));
    Note_Pitch_In_Force();
    Mark_Fields(true, true);
    Prepare_Table(layout.labels);
    Show_Values();
    d_table->Resize_Columns_To_Contents(false);
}

void TNominalEditorDialog::Set_Not_Shown(const QString &reason)
{
    d_not_shown_reason = reason;
    const bool shown = reason.isEmpty();
    d_notice->setText(reason.toHtmlEscaped());
    d_notice->setVisible(!shown);
    d_table->setVisible(shown);
    for (QWidget *widget : std::initializer_list<QWidget *>{d_increment_edit, d_end_edit, d_actual_radio})
    {
        widget->setEnabled(shown);
    }
    d_deviation_radio->setEnabled(shown);
    Serial_Changed(d_serial_edit->text());
}

void TNominalEditorDialog::Set_Deviation_Available(const QString &reason)
{
    d_deviation_radio->setEnabled(reason.isEmpty());
    d_deviation_radio->setToolTip(reason);
    if (!reason.isEmpty() && !Actual_Mode())
    {
        const QSignalBlocker blocker(d_actual_radio);
        d_actual_radio->setChecked(true);
        d_actual_forced = true;
    }
}

// Entries in Actual mode can make a set uneven, or even again.
void TNominalEditorDialog::Check_Spacing()
{
    if (!Actual_Mode() || !d_not_shown_reason.isEmpty())
    {
        return;
    }
    const NominalFaces::TLayout layout = NominalFaces::Lay_Out(d_nominals);
    Set_Deviation_Available(layout.spacing == NominalFaces::SPACING_UNEVEN ? Uneven_Reason(layout)
                                                                           : QString());
}

bool TNominalEditorDialog::Changed() const
{
    return Serial_Number() != d_reset_serial || !Same_Values(d_nominals, d_reset_nominals);
}

void TNominalEditorDialog::Update_Editor()
{
    if (!d_not_shown_reason.isEmpty())
    {
        return;
    }
    Regenerate(false);
}

void TNominalEditorDialog::Toggle_Mode(bool /*state*/)
{
    if (!d_not_shown_reason.isEmpty())
    {
        return;
    }
    d_actual_forced = false;
    const std::vector<double> nominals(d_nominals);
    Initialize_Editor(nominals);
}

void TNominalEditorDialog::Cell_Changed(int row, int column, const double &value)
{
    if (column != 0)
    {
        return;
    }
    QUILLON_ASSERT(static_cast<unsigned int>(row) < d_nominals.size());
    const size_t face = static_cast<size_t>(row);
    // The table shows positions relative to the first face, so an entry is taken back the same way.
    if (Actual_Mode())
    {
        d_nominals[face] = row == 0 ? value : d_nominals[0] + value;
    }
    else
    {
        d_nominals[face] = NominalFaces::Value_From_Deviation(d_nominals, d_positions, row, value);
    }
    // Every other row is shown relative to the first face.
    if (row == 0)
    {
        d_start_edit->setText(Millimetres(d_nominals[0]));
        Show_Values();
    }
    if (!d_multiple_change)
    {
        Check_Spacing();
    }
}

void TNominalEditorDialog::Serial_Changed(const QString &text)
{
    d_save_button->setEnabled(!text.isEmpty() && d_not_shown_reason.isEmpty());
}

void TNominalEditorDialog::accept()
{
    if (!d_not_shown_reason.isEmpty())
    {
        d_message_box->Warn(tr("Save Nominal File"), d_not_shown_reason.toHtmlEscaped());
        return;
    }
    const QString serial = Serial_Number();
    const QString problem = NominalSerial::Problem(serial);
    if (!problem.isEmpty())
    {
        d_message_box->Warn(tr("Invalid Serial Number"), problem.toHtmlEscaped());
        return;
    }
    const QString listed = NominalSerial::Listed_File(d_listed_files, serial);
    if (!listed.isEmpty() && serial.compare(d_edited_serial, Qt::CaseInsensitive) != 0)
    {
        const QString question =
            tr("The nominal file '%1' exists. Do you want to replace it?").arg(listed.toHtmlEscaped());
        if (d_message_box->Warn(tr("Replace Nominal File"), question, QString(),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        {
            return;
        }
    }
    QDialog::accept();
}

void TNominalEditorDialog::reject()
{
    if (Changed() && d_message_box->Warn(
                         tr("Discard Changes"),
                         tr("The entries of this nominal set have changed. Do you want to discard them?"),
                         QString(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    {
        return;
    }
    QDialog::reject();
}

void TNominalEditorDialog::keyPressEvent(QKeyEvent *event)
{
    // The button box makes Save the default button when shown; Return in a field or the table must
    // still not end the editing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TNominalEditorDialog::Set_Run_Function(TRunFunction function)
{
    Run_Function() = std::move(function);
}

int TNominalEditorDialog::exec()
{
    if (Run_Function())
    {
        setResult(QDialog::Rejected);
        return Run_Function()(this);
    }
    return QDialog::exec();
}

void TNominalEditorDialog::Regenerate(bool always)
{
    const double start = NominalFaces::Read_Number(d_start_edit->text());
    const double increment = NominalFaces::Read_Number(d_increment_edit->text());
    const double end = NominalFaces::Read_Number(d_end_edit->text());
    if (!always && Same_Number(increment, d_increment_in_force) && Same_Number(end, d_end_in_force))
    {
        return;
    }
    d_increment_in_force = increment;
    d_end_in_force = end;

    // End is the length from the first face, as the stored sets show it.
    std::vector<double> positions;
    const NominalFaces::TPitchState state = NominalFaces::Generate_Faces(0.0, increment, end, &positions);
    Mark_Fields(state != NominalFaces::PITCH_INCREMENT_INVALID, state != NominalFaces::PITCH_END_INVALID);
    if (state != NominalFaces::PITCH_VALID)
    {
        d_table->Set_Cell_Count(0, 0);
        d_positions.clear();
        return;
    }
    d_nominals = positions;
    for (double &value : d_nominals)
        value += start;
    Set_Deviation_Available(QString());
    Prepare_Table(positions);
    Show_Values();
    d_table->Resize_Columns_To_Contents(false);
}

void TNominalEditorDialog::Prepare_Table(const std::vector<double> &positions)
{
    d_positions = positions;
    const int rows = static_cast<int>(positions.size());
    d_table->Set_Cell_Count(rows, 1);
    if (rows == 0)
    {
        return;
    }
    const bool actual = Actual_Mode();
    d_table->horizontalHeaderItem(0)->setText(actual ? tr("Actual (mm)") : tr("Deviation (um)"));
    d_table->Set_Display_Precision(actual ? 4 : 1);
    for (int row = 0; row < rows; ++row)
    {
        d_table->verticalHeaderItem(row)->setText(Millimetres(positions[static_cast<size_t>(row)]));
    }
}

void TNominalEditorDialog::Show_Values()
{
    const bool actual = Actual_Mode();
    const int rows = std::min(d_table->Row_Count(), static_cast<int>(d_nominals.size()));
    for (int row = 0; row < rows; ++row)
    {
        const size_t face = static_cast<size_t>(row);
        const double value =
            actual ? d_nominals[face] - d_nominals[0]
                   : NominalFaces::Deviation_Micrometres(d_nominals[face], d_nominals[0], d_positions[face]);
        d_table->Set_Cell_Value(row, 0, value);
    }
}

void TNominalEditorDialog::Mark_Fields(bool increment_valid, bool end_valid)
{
    Mark_Valid(d_increment_edit, increment_valid);
    Mark_Valid(d_end_edit, end_valid);
}

void TNominalEditorDialog::Note_Pitch_In_Force()
{
    d_increment_in_force = NominalFaces::Read_Number(d_increment_edit->text());
    d_end_in_force = NominalFaces::Read_Number(d_end_edit->text());
}

bool TNominalEditorDialog::Actual_Mode() const
{
    return d_actual_radio->isChecked();
}
