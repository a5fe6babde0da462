#include "tableeditor.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using TValues = std::vector<double>;

// A block operation on a table whose cells start at 1, 2, 3, ... in storage order.
struct TBlockCase
{
    int rows, columns;
    TTableBox box;
    QString operation; // "paste", "copy", "cut", "delete", "invert"
    QString clipboard; // the text pasted, or the text expected on the clipboard
    TValues expected;  // the values afterwards, column by column
    int changes;       // Cell_Changed signals
};
Q_DECLARE_METATYPE(TBlockCase)

struct TPlanCase
{
    QString text;
    TTableBox box;
    int rows, columns;
    int written;
};
Q_DECLARE_METATYPE(TPlanCase)

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

void Select(TEditTable *table, const TTableBox &box)
{
    table->clearSelection();
    table->setRangeSelected(
        QTableWidgetSelectionRange(box.first_row, box.first_column, box.last_row, box.last_column), true);
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
    void blocks_data()
    {
        QTest::addColumn<TBlockCase>("block");
        const TValues ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("copy three rows")
            << TBlockCase{10, 1, {2, 0, 4, 0}, "copy", "3.0\n4.0\n5.0\n", ten, 0};
        QTest::newRow("copy 2x2") << TBlockCase{
            2, 2, {0, 0, 1, 1}, "copy", "1.0\t3.0\n2.0\t4.0\n", {1, 2, 3, 4}, 0};
        QTest::newRow("copy without selection") << TBlockCase{2, 1, {}, "copy", "untouched", {1, 2}, 0};
        QTest::newRow("cut") << TBlockCase{
            3, 2, {1, 0, 2, 1}, "cut", "2.0\t5.0\n3.0\t6.0\n", {1, 0, 0, 4, 0, 0}, 4};
        QTest::newRow("delete") << TBlockCase{3, 1, {0, 0, 1, 0}, "delete", "", {0, 0, 3}, 2};
        QTest::newRow("invert") << TBlockCase{2, 2, {0, 1, 1, 1}, "invert", "", {1, 2, -3, -4}, 2};
        QTest::newRow("one value across a 3x1 box")
            << TBlockCase{4, 1, {0, 0, 2, 0}, "paste", "7.5", {7.5, 7.5, 7.5, 4}, 3};
        QTest::newRow("2x2 block at the last row")
            << TBlockCase{3, 2, {2, 0, 2, 0}, "paste", "8\t9\n10\t11\n", {1, 2, 8, 4, 5, 9}, 2};
        QTest::newRow("two lines tiled over three rows")
            << TBlockCase{4, 1, {0, 0, 2, 0}, "paste", "5\n6\n", {5, 6, 5, 4}, 3};
        QTest::newRow("trailing line feeds")
            << TBlockCase{3, 1, {0, 0, 0, 0}, "paste", "5\n\n\n\n", {5, 2, 3}, 1};
        QTest::newRow("CR LF like LF")
            << TBlockCase{4, 1, {0, 0, 3, 0}, "paste", "5\r\n6\r\n\r\n", {5, 6, 5, 6}, 4};
        QTest::newRow("empty field and short line")
            << TBlockCase{2, 3, {0, 0, 0, 0}, "paste", "5\t\t7\n8\n", {5, 8, 3, 4, 7, 6}, 3};
        QTest::newRow("text, nan and inf give zero")
            << TBlockCase{3, 1, {0, 0, 0, 0}, "paste", "abc\nnan\ninf", {0, 0, 0}, 3};
        QTest::newRow("longer block stops at the box")
            << TBlockCase{3, 1, {0, 0, 1, 0}, "paste", "5\n6\n7", {5, 6, 3}, 2};
        QTest::newRow("empty clipboard") << TBlockCase{2, 1, {0, 0, 1, 0}, "paste", "\r\n\n", {1, 2}, 0};
    }

    void blocks()
    {
        QFETCH(TBlockCase, block);
        TEditTable table;
        Fill(&table, block.rows, block.columns);
        if (block.box.Is_Valid())
            Select(&table, block.box);
        QClipboard *clipboard = QApplication::clipboard();
        clipboard->setText(block.operation == "paste" ? block.clipboard : QStringLiteral("untouched"));
        QSignalSpy changes(&table, &TEditTable::Cell_Changed);
        QSignalSpy starts(&table, &TEditTable::Start_Multiple_Cell_Change);
        QSignalSpy ends(&table, &TEditTable::End_Multiple_Cell_Change);
        const QMap<QString, void (TEditTable::*)()> operations = {{"paste", &TEditTable::Edit_Paste},
                                                                  {"copy", &TEditTable::Edit_Copy},
                                                                  {"cut", &TEditTable::Edit_Cut},
                                                                  {"delete", &TEditTable::Edit_Delete},
                                                                  {"invert", &TEditTable::Edit_Invert}};
        (table.*operations.value(block.operation))();
        QCOMPARE(Values(table), block.expected);
        QCOMPARE(changes.count(), block.changes);
        if (block.operation != "paste" && !block.clipboard.isEmpty())
            QCOMPARE(clipboard->text(), block.clipboard);
        const bool bracketed = block.operation != "copy" && (block.operation != "paste" || block.changes > 0);
        QCOMPARE(starts.count(), bracketed ? 1 : 0);
        QCOMPARE(ends.count(), starts.count());
        // The cells show the stored values with the display precision.
        QCOMPARE(table.item(0, 0)->text(), QString::number(block.expected[0], 'f', 1));
    }

    // Hostile clipboards: never outside the table, and bounded by the table rather than the text.
    void plan_data()
    {
        QTest::addColumn<TPlanCase>("plan");
        const QString lines = QStringLiteral("1\t2\n").repeated(100000);
        const QString tabs = QString(1000000, QLatin1Char('\t')) + QStringLiteral("\n3");
        QTest::newRow("100,000 lines into a cell") << TPlanCase{lines, {5, 0, 5, 0}, 102, 1, 97};
        QTest::newRow("100,000 lines tiled into a box") << TPlanCase{lines, {0, 0, 9, 1}, 102, 2, 20};
        QTest::newRow("a million lines without tabs")
            << TPlanCase{QStringLiteral("1\n").repeated(1000000), {0, 0, 0, 0}, 10000, 1, 10000};
        QTest::newRow("a million tabs") << TPlanCase{tabs, {0, 0, 0, 0}, 102, 1, 1};
        QTest::newRow("a million tabs across a box") << TPlanCase{tabs, {0, 0, 3, 2}, 10, 3, 2};
        QTest::newRow("box outside the table") << TPlanCase{QStringLiteral("1"), {200, 0, 200, 0}, 102, 1, 0};
    }

    void plan()
    {
        QFETCH(TPlanCase, plan);
        QElapsedTimer timer;
        timer.start();
        const std::vector<TTablePasteValue> cells =
            Table_Paste_Plan(plan.text, plan.box, plan.rows, plan.columns);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(static_cast<int>(cells.size()), plan.written);
        for (const TTablePasteValue &cell : cells)
            QVERIFY(cell.row >= 0 && cell.row < plan.rows && cell.column >= 0 && cell.column < plan.columns);
    }

    // Typing over a cell: the text is committed on Return, Escape or focus loss when it is a number.
    void typing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("expected");
        QTest::newRow("number, Return") << "2.5" << int(Qt::Key_Return) << 2.5;
        QTest::newRow("number, Escape") << "-4" << int(Qt::Key_Escape) << -4.0;
        QTest::newRow("minus alone") << "-" << int(Qt::Key_Return) << 3.0;
        QTest::newRow("not finite") << "1e999" << int(Qt::Key_Enter) << 3.0;
    }

    void typing()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(double, expected);
        TEditTable table;
        Fill(&table, 4, 1);
        table.show();
        QApplication::setActiveWindow(&table);
        QVERIFY(QTest::qWaitForWindowActive(&table));
        table.setCurrentCell(2, 0);
        QSignalSpy changes(&table, &TEditTable::Cell_Changed);
        QTest::keyClick(&table, typed.at(0).toLatin1());
        QVERIFY(table.Line_Editor()->isVisible());
        QTest::keyClicks(table.Line_Editor(), typed.mid(1));
        QTest::keyClick(table.Line_Editor(), Qt::Key(key));
        QVERIFY(!table.Line_Editor()->isVisible());
        QCOMPARE(table.Cell_Value(2, 0), expected);
        QCOMPARE(changes.count(), expected == 3.0 ? 0 : 1);
    }

    void return_moves_and_wraps()
    {
        TEditTable table;
        QTest::keyClick(&table, Qt::Key_Return); // no rows: nothing happens
        Fill(&table, 3, 1);
        table.setCurrentCell(2, 0);
        QTest::keyClick(&table, Qt::Key_Return);
        QCOMPARE(table.currentRow(), 0);
        table.Set_Selection_Mode(TEditTable::SELECTION_MOVE_UP);
        QTest::keyClick(&table, Qt::Key_Return);
        QCOMPARE(table.currentRow(), 2);
        QCOMPARE(table.Selection_Box().first_row, 2);
        table.d_allow_invert = false;
        QCOMPARE(table.Context_Actions().size(), 4);
    }
};

QTEST_MAIN(TTestTableEditor)
#include "tst_tableeditor.moc"
