#pragma once

#include <QLine>

#include <vector>

// Shortens the segment list of a dense line set without changing its pixels. With one opaque colour,
// a solid one-pixel pen with square caps and no antialiasing, every segment paints a set of pixels that
// includes both ends, and the order of painting does not matter; so the segments of a column of pixels
// that overlap or touch paint exactly what one segment over their joint extent paints. A million points
// across a plot a thousand pixels wide become a few thousand segments.
class TColumnMerger
{
  public:
    // Appends the reduced segments to *out; the caller may empty it between calls to Add.
    explicit TColumnMerger(std::vector<QLine> *out);

    void Add(const QLine &line);
    // Hands out the segment still being extended; call before drawing the last of *out.
    void Finish();

    // Off, every segment is passed on as it comes: the drawing before merging, for comparisons.
    static void Set_Enabled(bool enabled);
    static bool Enabled();

  private:
    std::vector<QLine> *d_out;
    bool d_open = false;
    int d_column = 0;
    int d_top = 0;
    int d_bottom = 0;
    QLine d_previous;
    bool d_has_previous = false;
};
