#include "tableeditor/tablepaste.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace
{
// Start and end (exclusive) of the fields of one line, at most 'wanted' of them. The search for tabs
// stays inside the line: a text without tabs must not be scanned to its end for every line.
void Split_Fields(const QString &text, int start, int end, int wanted,
                  std::vector<std::pair<int, int>> *fields)
{
    fields->clear();
    const QChar *characters = text.constData();
    int field_start = start;
    for (int position = start; position <= end && static_cast<int>(fields->size()) < wanted; ++position)
    {
        if (position == end || characters[position] == QLatin1Char('\t'))
        {
            fields->emplace_back(field_start, position);
            field_start = position + 1;
        }
    }
}
} // namespace

bool Parse_Table_Number(const QString &text, double *value)
{
    bool converted = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &converted);
    if (!converted || !std::isfinite(number))
    {
        return false;
    }
    *value = number;
    return true;
}

std::vector<TTablePasteValue> Table_Paste_Plan(const QString &clipboard_text, const TTableBox &box,
                                               int row_count, int column_count, TTablePasteReport *report)
{
    TTablePasteReport unused;
    if (report == nullptr)
        report = &unused;
    *report = TTablePasteReport();
    std::vector<TTablePasteValue> plan;
    if (!box.Is_Valid() || box.first_row >= row_count || box.first_column >= column_count)
    {
        return plan;
    }

    // Spreadsheets on other systems end lines with CR LF or CR alone.
    QString text(clipboard_text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    int length = text.size();
    while (length > 0 && text.at(length - 1) == QLatin1Char('\n'))
    {
        --length;
    }
    if (length == 0)
    {
        return plan;
    }
    text.truncate(length);

    // Only the lines that can land in the table are located (and where the last of them ends); the
    // rest are only counted.
    const int usable_lines = row_count - box.first_row;
    std::vector<int> line_starts(1, 0);
    int line_count = 1;
    for (int position = text.indexOf(QLatin1Char('\n')); position >= 0;
         position = text.indexOf(QLatin1Char('\n'), position + 1))
    {
        if (line_count <= usable_lines)
        {
            line_starts.push_back(position + 1);
        }
        ++line_count;
    }
    const auto line_end = [&](int line)
    {
        return line + 1 < static_cast<int>(line_starts.size())
                   ? line_starts[static_cast<size_t>(line) + 1] - 1
                   : length;
    };
    const int block_columns =
        1 +
        static_cast<int>(std::count(text.constBegin(), text.constBegin() + line_end(0), QLatin1Char('\t')));

    const int box_rows = box.Row_Count();
    const int box_columns = box.Column_Count();
    const bool single_cell = box_rows == 1 && box_columns == 1;
    int limit_row = row_count - 1;
    int limit_column = column_count - 1;
    if (!single_cell && (line_count != box_rows || block_columns != box_columns))
    {
        limit_row = std::min(limit_row, box.last_row);
        limit_column = std::min(limit_column, box.last_column);
    }
    else
    {
        report->rows_beyond = std::max(0, box.first_row + line_count - row_count);
    }

    const int wanted_fields = std::min(block_columns, limit_column - box.first_column + 1);
    std::vector<std::pair<int, int>> fields;
    for (int row_offset = 0; row_offset < box_rows; row_offset += line_count)
    {
        for (int line = 0; line < line_count; ++line)
        {
            const int row = box.first_row + row_offset + line;
            if (row > limit_row)
            {
                break;
            }
            Split_Fields(text, line_starts[static_cast<size_t>(line)], line_end(line), wanted_fields,
                         &fields);
            for (int column_offset = 0; column_offset < box_columns; column_offset += block_columns)
            {
                for (int field = 0; field < static_cast<int>(fields.size()); ++field)
                {
                    const int column = box.first_column + column_offset + field;
                    if (column > limit_column)
                    {
                        break;
                    }
                    const QString field_text = text.mid(fields[static_cast<size_t>(field)].first,
                                                        fields[static_cast<size_t>(field)].second -
                                                            fields[static_cast<size_t>(field)].first)
                                                   .trimmed();
                    if (field_text.isEmpty())
                    {
                        continue;
                    }
                    double value = 0.0;
                    if (!Parse_Table_Number(field_text, &value))
                    {
                        ++report->skipped_fields;
                        continue;
                    }
                    plan.push_back({row, column, value});
                }
            }
        }
    }
    return plan;
}
