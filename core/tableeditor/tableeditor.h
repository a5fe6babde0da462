#pragma once

#include "tableeditor/tablepaste.h"

#include <QLineEdit>
#include <QList>
#include <QSize>
#include <QString>
#include <QTableWidget>

#include <vector>

class QAction;
class QContextMenuEvent;
class QFocusEvent;
class QKeyEvent;

// The one-cell editor shown over a table cell while a number is typed.
class TTableLineEditor : public QLineEdit
{
    Q_OBJECT

  public:
    explicit TTableLineEditor(QWidget *parent = nullptr);

    // Shows the editor (hidden until then) and gives it the focus.
    void Open();

  signals:
    void Edit_Complete();

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

  private:
    void Close();

    bool d_open = false;
};

// A table of doubles edited one cell at a time, with block cut, copy, paste, delete and sign
// inversion. The table keeps the numbers; the cells only show them rounded.
class TEditTable : public QTableWidget
{
    Q_OBJECT

  public:
    enum TEditMode
    {
        EDIT_MODE_REPLACE = 0,
        EDIT_MODE_ADD
    };

    enum TSelectionMode
    {
        SELECTION_MOVE_DOWN = 0,
        SELECTION_MOVE_UP
    };

    explicit TEditTable(QWidget *parent = nullptr);

    void Set_Cell_Count(int rows, int columns);
    void Set_Cell_Value(int row, int column, const double &value);
    // Values in storage order, column by column.
    void Set_Cell_Values(const double *values);
    double Cell_Value(int row, int column) const;
    void Set_Display_Precision(int precision);
    void Set_Edit_Mode(const TEditMode &mode) { d_edit_mode = mode; }
    void Set_Selection_Mode(const TSelectionMode &mode) { d_selection_mode = mode; }
    void Resize_Columns_To_Contents(bool set_minimum_width);

    int Row_Column_To_Offset(int row, int column) const;
    void Offset_To_Row_Column(int *row, int *column, int offset) const;

    int Row_Count() const { return d_row_count; }
    int Column_Count() const { return d_column_count; }
    int Display_Precision() const { return d_display_precision; }
    const TTableBox &Selection_Box() const { return d_selection_box; }
    // The entries of the context menu, in order (a separator stands before Invert Sign).
    QList<QAction *> Context_Actions() const;
    // The text Copy puts on the clipboard for the selection box.
    QString Box_Text() const;
    TTableLineEditor *Line_Editor() const { return d_line_editor; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    bool d_allow_invert = true;

  signals:
    void Selection_Changed();
    void Cell_Changed(int row, int column, const double &value);
    void Start_Multiple_Cell_Change(const QString &label);
    void End_Multiple_Cell_Change();
    // After a paste that left fields or rows out: what it left out, for the user.
    void Paste_Reported(const QString &message);

  public slots:
    void Table_Selection_Changed();
    void Activate_Cell(int row, int column);
    void Cell_Editor_Changed();
    void Cell_Editor_Closed();
    void Clipboard_Data_Changed();
    void Edit_Cut();
    void Edit_Copy();
    void Edit_Delete();
    void Edit_Paste();
    void Edit_Invert();

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    void Display_Cell(int row, int column);
    void Store_And_Signal(int row, int column, double value);
    void Move_Current_Row();
    int Vertical_Scroll_Width() const;

    int d_row_count = 0;
    int d_column_count = 0;
    std::vector<double> d_cell_values;
    TTableLineEditor *d_line_editor;
    QAction *d_cut_action;
    QAction *d_copy_action;
    QAction *d_paste_action;
    QAction *d_delete_action;
    QAction *d_separator_action;
    QAction *d_invert_action;
    bool d_editor_changed = false;
    TEditMode d_edit_mode = EDIT_MODE_REPLACE;
    TSelectionMode d_selection_mode = SELECTION_MOVE_DOWN;
    TTableBox d_selection_box;
    // The cell the line editor is over; kept apart from the selection box, which the table's focus
    // loss clears while the editor opens.
    int d_edit_row = -1;
    int d_edit_column = -1;
    int d_display_precision = 1;
};
