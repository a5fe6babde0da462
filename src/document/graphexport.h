#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;
class TGraphWidget;
struct TPresentation;

// The graph as a picture or a file: the window's Save Graph As and Copy Graph, quillon-report --graph and
// the report document all draw it here, so they show the same graph with the same text size.
namespace GraphExport
{
// Text size of the graph's titles and labels, in points.
constexpr double TEXT_POINT_SIZE = 9.0;

// Draws the graph into a rectangle of an open painter, its text at point_size. The widget's own view on
// screen is left as it was.
void Paint(QPainter *painter, TGraphWidget *graph, const QRect &rect, double point_size = TEXT_POINT_SIZE);

// The graph as an opaque image of size pixels on white.
QImage Image(TGraphWidget *graph, const QSize &size);

// True for a file name ending in .png or .pdf, in any letter case.
bool Supported(const QString &path);

// The graph as the file the path's ending names: a PNG of size pixels, or a PDF of one page of size
// points without margins, which the graph fills. False when it could not be drawn.
bool Encode(TGraphWidget *graph, const QString &path, const QSize &size, QByteArray *bytes);

// Encodes the graph and writes it through the checked writer, never over one of the files in keep. On
// failure *error holds the reason.
bool Write(TGraphWidget *graph, const QString &path, const QSize &size, QString *error,
           const QStringList &keep = {});
// The same for the graph of a presentation, drawn as the window would. Needs a QApplication.
bool Write(const TPresentation &presentation, const QString &path, const QSize &size, QString *error,
           const QStringList &keep = {});
} // namespace GraphExport
