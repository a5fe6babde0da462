// Pasting any text into the numeric table editor: the paste plan on its own for any selection, and
// the offscreen table of a few sizes reading the clipboard. The first two bytes choose the table and
// the selection, the rest is the clipboard text.

#include "tableeditor/tableeditor.h"

#include <QApplication>
#include <QClipboard>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{
[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

struct TTables
{
    TTables()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_tablepaste";
        static char *argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
        const int sizes[][2] = {{1, 1}, {7, 1}, {12, 3}};
        for (const auto &size : sizes)
        {
            tables.push_back(std::make_unique<TEditTable>());
            tables.back()->Set_Cell_Count(size[0], size[1]);
        }
    }

    std::unique_ptr<QApplication> application;
    std::vector<std::unique_ptr<TEditTable>> tables;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TTables tables;
    if (size < 2 || size > 65536)
    {
        return -1;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 2), static_cast<int>(size - 2));

    // The plan alone, for a box anywhere in a table of 0 to 15 rows and 0 to 3 columns.
    const int rows = data[0] & 15;
    const int columns = (data[0] >> 4) & 3;
    TTableBox box;
    box.first_row = (data[1] & 3) - 1;
    box.first_column = ((data[1] >> 2) & 1);
    box.last_row = box.first_row + ((data[1] >> 3) & 7);
    box.last_column = box.first_column + ((data[1] >> 6) & 1);
    for (const TTablePasteValue &paste : Table_Paste_Plan(text, box, rows, columns))
    {
        if (paste.row < 0 || paste.row >= rows || paste.column < 0 || paste.column >= columns ||
            !std::isfinite(paste.value))
        {
            Fail("the plan writes outside the table or a value that is not finite");
        }
    }

    // The table, with the same box where it fits.
    TEditTable &table = *tables.tables[data[0] % tables.tables.size()];
    const std::vector<double> zeros(static_cast<size_t>(table.Row_Count() * table.Column_Count()), 0.0);
    table.Set_Cell_Values(zeros.data());
    table.clearSelection();
    if (box.Is_Valid() && box.first_row < table.Row_Count() && box.first_column < table.Column_Count())
    {
        table.setRangeSelected(
            QTableWidgetSelectionRange(box.first_row, box.first_column,
                                       std::min(box.last_row, table.Row_Count() - 1),
                                       std::min(box.last_column, table.Column_Count() - 1)),
            true);
    }
    QApplication::clipboard()->setText(text);
    table.Edit_Paste();
    for (int row = 0; row < table.Row_Count(); ++row)
    {
        for (int column = 0; column < table.Column_Count(); ++column)
        {
            if (!std::isfinite(table.Cell_Value(row, column)))
            {
                Fail("a cell holds a value that is not finite");
            }
        }
    }
    return 0;
}
