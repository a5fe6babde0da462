#pragma once

#include <QString>

#include <vector>

// A block of table cells, inclusive at both ends; all fields -1 when nothing is selected.
struct TTableBox
{
    int first_row = -1;
    int first_column = -1;
    int last_row = -1;
    int last_column = -1;

    bool Is_Valid() const
    {
        return first_row >= 0 && first_column >= 0 && last_row >= first_row && last_column >= first_column;
    }
    int Row_Count() const { return last_row - first_row + 1; }
    int Column_Count() const { return last_column - first_column + 1; }
};

// One value a paste writes into a cell.
struct TTablePasteValue
{
    int row;
    int column;
    double value;
};

// A finite number in the C locale, blanks around it allowed; "nan", "inf" and overflow are not numbers.
bool Parse_Table_Number(const QString &text, double *value);

// What a paste left out, for the user.
struct TTablePasteReport
{
    int skipped_fields = 0; // fields that are not numbers: their cells keep their values
    int rows_beyond = 0;    // lines of the block below the table's last row
};

// The cells that pasting tab- and newline-separated text into the box of a table of the given size
// writes, in the order written. The block is repeated across a box larger than itself; a single-cell
// box takes the whole block as far as the table reaches. Fields that are not numbers and empty fields
// are skipped. The work is bounded by the size of the table, not of the text, so no text can make a
// paste slow or write outside the table.
std::vector<TTablePasteValue> Table_Paste_Plan(const QString &text, const TTableBox &box, int row_count,
                                               int column_count, TTablePasteReport *report = nullptr);
