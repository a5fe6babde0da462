#include "tableeditor/tableeditor.h"

#include "base/assertion.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

TTableLineEditor::TTableLineEditor(QWidget *parent) : QLineEdit(parent)
{
    hide();
    setFrame(true);
    setAlignment(Qt::AlignRight);
}

void TTableLineEditor::Open()
{
    if (isHidden())
    {
        d_open = true;
        show();
        setFocus();
    }
}

void TTableLineEditor::Close()
{
    // Hiding the focused editor moves the focus away, which comes back here; d_open is cleared first.
    if (!d_open)
    {
        return;
    }
    d_open = false;
    hide();
    emit Edit_Complete();
}

void TTableLineEditor::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
    {
        Close();
    }
    QLineEdit::keyPressEvent(event);
    // Escape commits like Return; passed on, it would also close the dialog around the table and
    // throw away everything entered there.
    if (key == Qt::Key_Escape)
    {
        event->accept();
    }
}

void TTableLineEditor::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    Close();
}

TEditTable::TEditTable(QWidget *parent) : QTableWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    d_line_editor = new TTableLineEditor(this);

    d_cut_action = new QAction(tr("&Cut"), this);
    d_copy_action = new QAction(tr("C&opy"), this);
    d_paste_action = new QAction(tr("&Paste"), this);
    d_delete_action = new QAction(tr("&Delete"), this);
    d_separator_action = new QAction(this);
    d_separator_action->setSeparator(true);
    d_invert_action = new QAction(tr("&Invert Sign"), this);
    d_paste_action->setEnabled(false);

    connect(d_cut_action, &QAction::triggered, this, &TEditTable::Edit_Cut);
    connect(d_copy_action, &QAction::triggered, this, &TEditTable::Edit_Copy);
    connect(d_paste_action, &QAction::triggered, this, &TEditTable::Edit_Paste);
    connect(d_delete_action, &QAction::triggered, this, &TEditTable::Edit_Delete);
    connect(d_invert_action, &QAction::triggered, this, &TEditTable::Edit_Invert);
    connect(this, &QTableWidget::itemSelectionChanged, this, &TEditTable::Table_Selection_Changed);
    connect(d_line_editor, &QLineEdit::textChanged, this, &TEditTable::Cell_Editor_Changed);
    connect(d_line_editor, &TTableLineEditor::Edit_Complete, this, &TEditTable::Cell_Editor_Closed);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TEditTable::Clipboard_Data_Changed);
}

void TEditTable::Set_Cell_Count(int rows, int columns)
{
    clear();
    setRowCount(0);
    setColumnCount(0);
    d_cell_values = std::vector<double>();
    d_row_count = 0;
    d_column_count = 0;
    d_selection_box = TTableBox();
    d_edit_row = -1;
    d_edit_column = -1;
    if (rows < 1 || columns < 1)
    {
        return;
    }

    const QRect text_rect = QFontMetrics(QApplication::font()).boundingRect(QStringLiteral("99999j999^"));
    d_cell_values.assign(static_cast<size_t>(rows) * static_cast<size_t>(columns), 0.0);
    d_row_count = rows;
    d_column_count = columns;

    setUpdatesEnabled(false);
    setRowCount(rows);
    setColumnCount(columns);
    for (int row = 0; row < rows; ++row)
    {
        QTableWidgetItem *header = new QTableWidgetItem;
        header->setData(Qt::TextAlignmentRole, static_cast<int>(Qt::AlignRight));
        setVerticalHeaderItem(row, header);
        for (int column = 0; column < columns; ++column)
        {
            QTableWidgetItem *cell = new QTableWidgetItem;
            cell->setTextAlignment(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            setItem(row, column, cell);
        }
        setRowHeight(row, text_rect.height() + 8);
    }
    for (int column = 0; column < columns; ++column)
    {
        setHorizontalHeaderItem(column, new QTableWidgetItem);
        setColumnWidth(column, text_rect.width() + 4);
    }
    setUpdatesEnabled(true);
}

void TEditTable::Set_Cell_Value(int row, int column, const double &value)
{
    d_cell_values[static_cast<size_t>(Row_Column_To_Offset(row, column))] = value;
    Display_Cell(row, column);
}

void TEditTable::Set_Cell_Values(const double *values)
{
    QUILLON_ASSERT(values);
    d_cell_values.assign(values, values + d_cell_values.size());
    clearSelection();
    setUpdatesEnabled(false);
    for (int column = 0; column < d_column_count; ++column)
    {
        for (int row = 0; row < d_row_count; ++row)
        {
            Display_Cell(row, column);
        }
    }
    setUpdatesEnabled(true);
}

double TEditTable::Cell_Value(int row, int column) const
{
    return d_cell_values[static_cast<size_t>(Row_Column_To_Offset(row, column))];
}

void TEditTable::Set_Display_Precision(int precision)
{
    d_display_precision = precision;
    clearSelection();
    setUpdatesEnabled(false);
    for (int row = 0; row < d_row_count; ++row)
    {
        for (int column = 0; column < d_column_count; ++column)
        {
            Display_Cell(row, column);
        }
    }
    setUpdatesEnabled(true);
}

void TEditTable::Resize_Columns_To_Contents(bool set_minimum_width)
{
    resizeColumnsToContents();
    if (set_minimum_width)
    {
        int width = 2 + verticalHeader()->sizeHint().width();
        for (int column = 0; column < columnCount(); ++column)
        {
            width += columnWidth(column);
        }
        if (verticalScrollBar()->isVisible())
        {
            width += Vertical_Scroll_Width();
        }
        setMinimumWidth(width);
    }
}

int TEditTable::Row_Column_To_Offset(int row, int column) const
{
    QUILLON_ASSERT(d_row_count);
    QUILLON_ASSERT(d_column_count);
    QUILLON_ASSERT(row >= 0 && row < d_row_count && column >= 0 && column < d_column_count);
    return column * d_row_count + row;
}

void TEditTable::Offset_To_Row_Column(int *row, int *column, int offset) const
{
    QUILLON_ASSERT(d_row_count);
    QUILLON_ASSERT(d_column_count);
    QUILLON_ASSERT(offset < (d_row_count * d_column_count));
    *column = offset / d_row_count;
    *row = offset - *column * d_row_count;
}

QList<QAction *> TEditTable::Context_Actions() const
{
    QList<QAction *> actions = {d_cut_action, d_copy_action, d_paste_action, d_delete_action};
    if (d_allow_invert)
    {
        actions << d_separator_action << d_invert_action;
    }
    return actions;
}

QString TEditTable::Box_Text() const
{
    QString text;
    if (!d_selection_box.Is_Valid())
    {
        return text;
    }
    for (int row = d_selection_box.first_row; row <= d_selection_box.last_row; ++row)
    {
        for (int column = d_selection_box.first_column; column <= d_selection_box.last_column; ++column)
        {
            if (column > d_selection_box.first_column)
            {
                text += QLatin1Char('\t');
            }
            text += QStringLiteral("%1").arg(Cell_Value(row, column), 0, 'f', d_display_precision);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QSize TEditTable::sizeHint() const
{
    int side = verticalHeader()->sizeHint().width() + Vertical_Scroll_Width();
    for (int column = 0; column < columnCount(); ++column)
    {
        side += columnWidth(column);
    }
    return QSize(side, side);
}

QSize TEditTable::minimumSizeHint() const
{
    const int side = verticalHeader()->sizeHint().width() + Vertical_Scroll_Width();
    return QSize(side, side);
}

void TEditTable::Table_Selection_Changed()
{
    TTableBox box;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    for (const QTableWidgetSelectionRange &range : ranges)
    {
        if (!box.Is_Valid())
        {
            box = {range.topRow(), range.leftColumn(), range.bottomRow(), range.rightColumn()};
            continue;
        }
        box.first_row = std::min(box.first_row, range.topRow());
        box.first_column = std::min(box.first_column, range.leftColumn());
        box.last_row = std::max(box.last_row, range.bottomRow());
        box.last_column = std::max(box.last_column, range.rightColumn());
    }
    d_selection_box = box;
    emit Selection_Changed();
}

void TEditTable::Activate_Cell(int row, int column)
{
    if (row < 0 || column < 0 || row >= d_row_count || column >= d_column_count)
    {
        return;
    }
    d_line_editor->resize(columnWidth(column), rowHeight(row));
    d_line_editor->move(columnViewportPosition(column) + verticalHeader()->width() + 1,
                        rowViewportPosition(row) + horizontalHeader()->height() + 1);
    d_line_editor->Open();
    d_editor_changed = false;
    d_edit_row = row;
    d_edit_column = column;
}

void TEditTable::Cell_Editor_Changed()
{
    d_editor_changed = true;
}

void TEditTable::Cell_Editor_Closed()
{
    setFocus();
    if (d_editor_changed && d_edit_row >= 0 && d_edit_column >= 0 && d_edit_row < d_row_count &&
        d_edit_column < d_column_count)
    {
        const QString text = d_line_editor->text();
        d_line_editor->blockSignals(true);
        d_line_editor->clear();
        d_line_editor->blockSignals(false);
        double value = 0.0;
        if (Parse_Table_Number(text, &value))
        {
            Store_And_Signal(d_edit_row, d_edit_column, value);
        }
    }
    d_editor_changed = false;
    d_edit_row = -1;
    d_edit_column = -1;
}

void TEditTable::Clipboard_Data_Changed()
{
    d_paste_action->setEnabled(!QApplication::clipboard()->text().isEmpty());
}

void TEditTable::Edit_Cut()
{
    // A client's Cell_Changed may change the selection; the loop keeps the box it started with.
    const TTableBox box = d_selection_box;
    if (!box.Is_Valid())
    {
        return;
    }
    const QString text = Box_Text();
    emit Start_Multiple_Cell_Change(tr("Cut values"));
    for (int row = box.first_row; row <= box.last_row; ++row)
    {
        for (int column = box.first_column; column <= box.last_column; ++column)
        {
            Set_Cell_Value(row, column, 0.0);
            emit Cell_Changed(row, column, 0.0);
        }
    }
    emit End_Multiple_Cell_Change();
    QApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void TEditTable::Edit_Copy()
{
    if (d_selection_box.Is_Valid())
    {
        QApplication::clipboard()->setText(Box_Text(), QClipboard::Clipboard);
    }
}

void TEditTable::Edit_Delete()
{
    // A client's Cell_Changed may change the selection; the loop keeps the box it started with.
    const TTableBox box = d_selection_box;
    if (!box.Is_Valid())
    {
        return;
    }
    emit Start_Multiple_Cell_Change(tr("Delete values"));
    for (int row = box.first_row; row <= box.last_row; ++row)
    {
        for (int column = box.first_column; column <= box.last_column; ++column)
        {
            Set_Cell_Value(row, column, 0.0);
            emit Cell_Changed(row, column, 0.0);
        }
    }
    emit End_Multiple_Cell_Change();
}

void TEditTable::Edit_Paste()
{
    if (!d_selection_box.Is_Valid())
    {
        return;
    }
    const QString text = QApplication::clipboard()->text(QClipboard::Clipboard);
    TTablePasteReport report;
    const std::vector<TTablePasteValue> plan =
        Table_Paste_Plan(text, d_selection_box, d_row_count, d_column_count, &report);
    if (!plan.empty())
    {
        emit Start_Multiple_Cell_Change(tr("Paste values"));
        setUpdatesEnabled(false);
        for (const TTablePasteValue &paste : plan)
        {
            Store_And_Signal(paste.row, paste.column, paste.value);
        }
        setUpdatesEnabled(true);
        emit End_Multiple_Cell_Change();
    }
    QStringList left_out;
    if (report.skipped_fields > 0)
        left_out << tr("%n pasted field(s) not a number: the cells keep their values.", nullptr,
                       report.skipped_fields);
    if (report.rows_beyond > 0)
        left_out << tr("%n pasted row(s) beyond the end of the table: not pasted.", nullptr,
                       report.rows_beyond);
    if (!left_out.isEmpty())
        emit Paste_Reported(left_out.join(QLatin1Char('\n')));
}

void TEditTable::Edit_Invert()
{
    // A client's Cell_Changed may change the selection; the loop keeps the box it started with.
    const TTableBox box = d_selection_box;
    if (!box.Is_Valid())
    {
        return;
    }
    emit Start_Multiple_Cell_Change(tr("Invert Sign"));
    for (int row = box.first_row; row <= box.last_row; ++row)
    {
        for (int column = box.first_column; column <= box.last_column; ++column)
        {
            const double value = -Cell_Value(row, column);
            Set_Cell_Value(row, column, value);
            emit Cell_Changed(row, column, value);
        }
    }
    emit End_Multiple_Cell_Change();
}

void TEditTable::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
    {
        Move_Current_Row();
        event->accept();
        return;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Plus || key == Qt::Key_Minus ||
        key == Qt::Key_Period)
    {
        if (currentRow() >= 0 && currentColumn() >= 0)
        {
            Activate_Cell(currentRow(), currentColumn());
            d_line_editor->setText(event->text());
        }
        event->accept();
        return;
    }
    if (key == Qt::Key_Delete)
    {
        Edit_Delete();
        event->accept();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier &&
        (key == Qt::Key_V || key == Qt::Key_X || key == Qt::Key_C))
    {
        if (key == Qt::Key_V)
        {
            Edit_Paste();
        }
        else if (key == Qt::Key_X)
        {
            Edit_Cut();
        }
        else
        {
            Edit_Copy();
        }
        event->accept();
        return;
    }
    event->ignore();
}

void TEditTable::focusOutEvent(QFocusEvent *event)
{
    QTableWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && d_selection_box.Is_Valid())
    {
        const QItemSelection cells(model()->index(d_selection_box.first_row, d_selection_box.first_column),
                                   model()->index(d_selection_box.last_row, d_selection_box.last_column));
        selectionModel()->select(cells, QItemSelectionModel::Deselect);
    }
}

void TEditTable::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addActions(Context_Actions());
    menu.exec(event->globalPos());
}

void TEditTable::Display_Cell(int row, int column)
{
    if (QTableWidgetItem *cell = item(row, column))
    {
        cell->setText(QStringLiteral("%1").arg(Cell_Value(row, column), 0, 'f', d_display_precision));
    }
}

void TEditTable::Store_And_Signal(int row, int column, double value)
{
    if (d_edit_mode == EDIT_MODE_ADD)
    {
        value += Cell_Value(row, column);
    }
    // A sum past the range of doubles is not stored: the cell keeps a number it can show.
    if (!std::isfinite(value))
    {
        return;
    }
    Set_Cell_Value(row, column, value);
    emit Cell_Changed(row, column, value);
}

void TEditTable::Move_Current_Row()
{
    if (d_row_count == 0)
    {
        return;
    }
    const int row = currentRow();
    const int column = std::max(currentColumn(), 0);
    int next = 0;
    if (d_selection_mode == SELECTION_MOVE_DOWN)
    {
        next = row + 1 < d_row_count ? row + 1 : 0;
    }
    else
    {
        next = row > 0 ? row - 1 : d_row_count - 1;
    }
    setCurrentCell(next, column, QItemSelectionModel::ClearAndSelect);
}

int TEditTable::Vertical_Scroll_Width() const
{
    return verticalScrollBar()->sizeHint().width();
}
