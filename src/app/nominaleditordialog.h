#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TEditTable;
class TMessageBox;

// Creates or edits one step gauge nominal set: the serial number and the position of every face,
// entered as positions in millimetres or as deviations in micrometres from the ideal positions.
class TNominalEditorDialog : public QDialog
{
    Q_OBJECT

  public:
    explicit TNominalEditorDialog(const QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // An empty serial with no values starts a new set at the default pitch; any other set of fewer
    // than two faces is shown as one the editor cannot show, and cannot be saved.
    void Reset(const QString &serial_number, const std::vector<double> &nominals);
    // A new set for a gauge at the default pitch, its first face at the given position (a file's
    // reference step).
    void Reset_New_Set(const QString &serial_number, double first_face);
    QString Serial_Number() const;
    // No values start a new set at the default pitch.
    void Initialize_Editor(const std::vector<double> &nominals);

    // Why a set cannot be shown in the editor (too few or too many faces, a value not finite); empty
    // when it can.
    static QString Not_Shown_Reason(const std::vector<double> &nominals);
    // The nominal files already listed, so that saving over another gauge's set asks first.
    void Set_Listed_Files(const QStringList &file_names) { d_listed_files = file_names; }

    // When set, exec() calls this function instead of running the dialog modally (tests answer the
    // dialog through it). Pass an empty function to restore.
    using TRunFunction = std::function<int(TNominalEditorDialog *dialog)>;
    static void Set_Run_Function(TRunFunction function);
    int exec() override;

    // The face positions in millimetres, one per table row.
    std::vector<double> d_nominals;

  public slots:
    void Update_Editor();
    void Toggle_Mode(bool state);
    void Cell_Changed(int row, int column, const double &value);
    void Serial_Changed(const QString &text);
    // Refuses a serial that cannot name a file, and asks before replacing another gauge's set.
    void accept() override;
    // Asks before changed entries are discarded (Escape, closing the window); Cancel discards at once.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    // A new set is generated with its first face at first_face; a given set starts where its first face is.
    void Show_Set(const std::vector<double> &nominals, bool new_set, double first_face = 0.0);
    // A set that cannot be shown: no table, no pitch or mode to change, no Save.
    void Set_Not_Shown(const QString &reason);
    // Deviations need evenly spaced faces; without them the table is in Actual mode.
    void Set_Deviation_Available(const QString &reason);
    void Check_Spacing();
    bool Changed() const;
    void Regenerate(bool always);
    // Gives the table one row per position, with the header and precision of the mode.
    void Prepare_Table(const std::vector<double> &positions);
    // Shows d_nominals in the table without signals.
    void Show_Values();
    void Mark_Fields(bool increment_valid, bool end_valid);
    void Note_Pitch_In_Force();
    bool Actual_Mode() const;

    QLineEdit *d_serial_edit;
    QLineEdit *d_start_edit;
    QLineEdit *d_increment_edit;
    QLineEdit *d_end_edit;
    QRadioButton *d_actual_radio;
    QRadioButton *d_deviation_radio;
    TEditTable *d_table;
    QPushButton *d_cancel_button;
    QPushButton *d_save_button;
    QLabel *d_notice;
    TMessageBox *d_message_box;

    // The ideal position of each row's face, from the first face.
    std::vector<double> d_positions;
    // The increment and end the table was built from: leaving a field without changing its number
    // must not throw the set away.
    double d_increment_in_force;
    double d_end_in_force;
    // The serial of the set being edited (empty for a new set), and the serial Reset showed.
    QString d_edited_serial;
    QString d_reset_serial;
    // The set as Reset gave it (or generated it), to tell whether anything was changed.
    std::vector<double> d_reset_nominals;
    QString d_not_shown_reason;
    // Actual mode was chosen for an uneven set, not by the user: the next even set gets Deviation back.
    bool d_actual_forced = false;
    bool d_multiple_change = false;
    QStringList d_listed_files;
};
