#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

struct TPresentation;

namespace GraphFile
{
// True for a file name ending in .png or .pdf, in any letter case.
bool Supported(const QString &path);

// Draws the graph of a presentation as the window would and writes it as PNG (size in pixels) or PDF
// (size in points) through the checked writer, never over one of the files in keep. Needs a
// QApplication. On failure *error holds the reason.
bool Write(const TPresentation &presentation, const QString &path, const QSize &size, QString *error,
           const QStringList &keep = {});
} // namespace GraphFile
