#include "graph/graphreduction.h"

#include <algorithm>
#include <atomic>

namespace
{
std::atomic<bool> g_merging_enabled{true};
} // namespace

TColumnMerger::TColumnMerger(std::vector<QLine> *out) : d_out(out) {}

void TColumnMerger::Set_Enabled(bool enabled)
{
    g_merging_enabled = enabled;
}

bool TColumnMerger::Enabled()
{
    return g_merging_enabled;
}

void TColumnMerger::Add(const QLine &line)
{
    if (!g_merging_enabled)
    {
        d_out->push_back(line);
        return;
    }
    if (line.x1() == line.x2())
    {
        const int top = std::min(line.y1(), line.y2());
        const int bottom = std::max(line.y1(), line.y2());
        // Rows that overlap or touch the open run join it; one past the end is still contiguous.
        if (d_open && line.x1() == d_column && top <= d_bottom + 1 && bottom + 1 >= d_top)
        {
            d_top = std::min(d_top, top);
            d_bottom = std::max(d_bottom, bottom);
            return;
        }
        Finish();
        d_open = true;
        d_column = line.x1();
        d_top = top;
        d_bottom = bottom;
        return;
    }
    // Slanted segments join columns; dense data repeats the same one, which paints nothing new.
    if (d_has_previous && line == d_previous)
    {
        return;
    }
    d_previous = line;
    d_has_previous = true;
    d_out->push_back(line);
}

void TColumnMerger::Finish()
{
    if (d_open)
    {
        d_out->emplace_back(d_column, d_top, d_column, d_bottom);
        d_open = false;
    }
}
