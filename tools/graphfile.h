#pragma once

#include <QSize>
#include <QString>

struct TPresentation;

namespace GraphFile
{
// True for a file name ending in .png or .pdf, in any letter case.
bool Supported(const QString &path);

// Draws the graph of a presentation as the window would and writes it as PNG (size in pixels) or PDF
// (size in points). An existing file is replaced only by a complete one. Needs a QApplication.
bool Write(const TPresentation &presentation, const QString &path, const QSize &size, QString *error);
} // namespace GraphFile
