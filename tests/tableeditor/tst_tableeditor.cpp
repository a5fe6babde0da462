// The numeric table editor: block operations on a selection, paste plans from hostile clipboards,
// typing over a cell and moving on Return.

#include "tableeditor/tableeditor.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

using TValues = std::vector<double>;
using TOperation = void (TEditTable::*)();

// A block operation on a table whose cells start at 1, 2, 3, ... in storage order.
struct TBlockCase
{
    int rows, columns;
    TTableBox box;
    TOperation operation;
    QString clipboard; // the text pasted, or the text expected on the clipboard
    TValues expected;  // the values afterwards, column by column
    int changes;       // Cell_Changed signals
    // What a paste says it left out: fields that are not numbers, rows below the table.
    QString report = QString();
};
Q_DECLARE_METATYPE(TBlockCase)

namespace
{
void Fill(TEditTable *table, int rows, int columns)
{
    table->Set_Cell_Count(rows, columns);
    TValues values;
    for (int i = 0; i < rows * columns; ++i)
        values.push_back(i + 1);
    table->Set_Cell_Values(values.data());
}

TValues Values(const TEditTable &table)
{
    TValues values;
    for (int column = 0; column < table.Column_Count(); ++column)
        for (int row = 0; row < table.Row_Count(); ++row)
            values.push_back(table.Cell_Value(row, column));
    return values;
}
} // namespace

class TTestTableEditor : public QObject
{
    Q_OBJECT

  private slots:
    void Blocks_data()
    {
        QTest::addColumn<TBlockCase>("block");
        const auto row = [](const char *tag, const TBlockCase &block) { QTest::newRow(tag) << block; };
        const TValues ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const TOperation paste = &TEditTable::Edit_Paste, copy = &TEditTable::Edit_Copy,
                         cut = &TEditTable::Edit_Cut, invert = &TEditTable::Edit_Invert;
        row("copy three rows", {10, 1, {2, 0, 4, 0}, copy, "3.0\n4.0\n5.0\n", ten, 0});
        row("cut", {3, 2, {1, 0, 2, 1}, cut, "2.0\t5.0\n3.0\t6.0\n", {1, 0, 0, 4, 0, 0}, 4});
        row("delete", {3, 1, {0, 0, 1, 0}, &TEditTable::Edit_Delete, "", {0, 0, 3}, 2});
        row("invert", {2, 2, {0, 1, 1, 1}, invert, "", {1, 2, -3, -4}, 2});
        row("one value across a 3x1 box", {4, 1, {0, 0, 2, 0}, paste, "7.5", {7.5, 7.5, 7.5, 4}, 3});
        const QString skipped =
            QStringLiteral("%1 pasted field(s) not a number: the cells keep their values.");
        const QString beyond = QStringLiteral("1 pasted row(s) beyond the end of the table: not pasted.");
        row("2x2 block at the last row",
            {3, 2, {2, 0, 2, 0}, paste, "8\t9\n10\t11\n", {1, 2, 8, 4, 5, 9}, 2, beyond});
        row("two lines tiled over three rows", {4, 1, {0, 0, 2, 0}, paste, "5\n6\n", {5, 6, 5, 4}, 3});
        row("CR LF like LF", {4, 1, {0, 0, 3, 0}, paste, "5\r\n6\r\n\r\n", {5, 6, 5, 6}, 4});
        row("empty field and short line", {2, 3, {0, 0, 0, 0}, paste, "5\t\t7\n8\n", {5, 8, 3, 4, 7, 6}, 3});
        row("text, nan and inf leave their cells",
            {4, 1, {0, 0, 0, 0}, paste, "abc\n2.1\nnan\ninf", {1, 2.1, 3, 4}, 1, skipped.arg(3)});
        const QString both = skipped.arg(1) + QLatin1Char('\n') + beyond;
        row("skipped and beyond",
            {4, 2, {1, 0, 1, 0}, paste, "a\n4\n5\n6", {1, 2, 4, 5, 5, 6, 7, 8}, 2, both});
        row("empty clipboard", {2, 1, {0, 0, 1, 0}, paste, "\r\n\n", {1, 2}, 0});
    }

    void Blocks()
    {
        QFETCH(TBlockCase, block);
        TEditTable table;
        Fill(&table, block.rows, block.columns);
        const TTableBox &box = block.box;
        table.setRangeSelected(
            QTableWidgetSelectionRange(box.first_row, box.first_column, box.last_row, box.last_column), true);
        const bool pasted = block.operation == &TEditTable::Edit_Paste;
        QClipboard *clipboard = QApplication::clipboard();
        clipboard->setText(pasted ? block.clipboard : QStringLiteral("untouched"));
        QSignalSpy changes(&table, &TEditTable::Cell_Changed);
        QSignalSpy starts(&table, &TEditTable::Start_Multiple_Cell_Change);
        QSignalSpy ends(&table, &TEditTable::End_Multiple_Cell_Change);
        QSignalSpy reports(&table, &TEditTable::Paste_Reported);
        (table.*block.operation)();
        QCOMPARE(Values(table), block.expected);
        QCOMPARE(changes.count(), block.changes);
        if (!pasted && !block.clipboard.isEmpty())
            QCOMPARE(clipboard->text(), block.clipboard);
        const bool bracketed = block.operation != &TEditTable::Edit_Copy && (!pasted || block.changes > 0);
        QCOMPARE(starts.count(), bracketed ? 1 : 0);
        QCOMPARE(ends.count(), starts.count());
        QCOMPARE(reports.count(), block.report.isEmpty() ? 0 : 1);
        QCOMPARE(reports.value(0).value(0).toString(), block.report);
        // The cells show the stored values with the display precision.
        QCOMPARE(table.item(0, 0)->text(), QString::number(block.expected[0], 'f', 1));
    }

    // Hostile clipboards: never outside the table, and bounded by the table rather than the text.
    void Paste_Plan()
    {
        const QString lines = QStringLiteral("1\t2\n").repeated(100000);
        const QString tabs = QString(1000000, QLatin1Char('\t')) + QStringLiteral("\n3");
        const struct
        {
            const char *name;
            QString text;
            TTableBox box;
            int rows, columns, written;
        } plans[] = {
            {"100,000 lines into a cell", lines, {5, 0, 5, 0}, 102, 1, 97},
            {"100,000 lines tiled into a box", lines, {0, 0, 9, 1}, 102, 2, 20},
            {"a million lines", QStringLiteral("1\n").repeated(1000000), {0, 0, 0, 0}, 10000, 1, 10000},
            {"a million tabs", tabs, {0, 0, 0, 0}, 102, 1, 1},
            {"a million tabs across a box", tabs, {0, 0, 3, 2}, 10, 3, 2},
            {"box outside the table", QStringLiteral("1"), {200, 0, 200, 0}, 102, 1, 0}};
        for (const auto &plan : plans)
        {
            const std::vector<TTablePasteValue> cells =
                Table_Paste_Plan(plan.text, plan.box, plan.rows, plan.columns);
            QVERIFY2(static_cast<int>(cells.size()) == plan.written, plan.name);
            for (const TTablePasteValue &cell : cells)
                QVERIFY(cell.row >= 0 && cell.row < plan.rows && cell.column >= 0 &&
                        cell.column < plan.columns);
        }
    }

    // Typing over a cell: the text is committed on Return, Escape or Enter when it is a finite number.
    // Return outside the editor moves down, or up, wrapping at the ends; without rows it does nothing.
    void Typing_And_Return()
    {
        TEditTable table;
        table.show();
        QApplication::setActiveWindow(&table);
        QVERIFY(QTest::qWaitForWindowActive(&table));
        QTest::keyClick(&table, Qt::Key_Return);
        const struct
        {
            const char *typed;
            Qt::Key key;
            double value;
        } rows[] = {{"2.5", Qt::Key_Return, 2.5},
                    {"-4", Qt::Key_Escape, -4.0},
                    {"-", Qt::Key_Return, 3.0},
                    {"1e999", Qt::Key_Enter, 3.0}};
        for (const auto &row : rows)
        {
            Fill(&table, 4, 1);
            table.setCurrentCell(2, 0);
            QSignalSpy changes(&table, &TEditTable::Cell_Changed);
            QTest::keyClick(&table, row.typed[0]);
            QVERIFY(table.Line_Editor()->isVisible());
            QTest::keyClicks(table.Line_Editor(), QLatin1String(row.typed + 1));
            QTest::keyClick(table.Line_Editor(), row.key);
            QVERIFY2(!table.Line_Editor()->isVisible() && table.Cell_Value(2, 0) == row.value, row.typed);
            QCOMPARE(changes.count(), row.value == 3.0 ? 0 : 1);
        }
        table.setCurrentCell(3, 0);
        QTest::keyClick(&table, Qt::Key_Return);
        QCOMPARE(table.currentRow(), 0);
        table.Set_Selection_Mode(TEditTable::SELECTION_MOVE_UP);
        QTest::keyClick(&table, Qt::Key_Return);
        QCOMPARE(QPoint(table.currentRow(), table.Selection_Box().first_row), QPoint(3, 3));
        table.d_allow_invert = false;
        QCOMPARE(table.Context_Actions().size(), 4);
    }
};

QTEST_MAIN(TTestTableEditor)
#include "tst_tableeditor.moc"
