#include "graphfile.h"

#include "graphwidget.h"
#include "presentation.h"
#include "reportdocument.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace
{
bool Is_Pdf(const QString &path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

bool Paint(TGraphWidget *graph, QPaintDevice *device, const QRect &rect)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    graph->PaintToDevice(&painter, rect, true);
    return painter.end();
}
} // namespace

namespace GraphFile
{
bool Supported(const QString &path)
{
    return Is_Pdf(path) || path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

bool Write(const TPresentation &presentation, const QString &path, const QSize &size, QString *error)
{
    TGraphWidget graph;
    ReportDocument::Show_Presentation(presentation, &graph);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = file.errorString();
        return false;
    }
    bool painted = false;
    if (Is_Pdf(path))
    {
        QPdfWriter writer(&file);
        writer.setResolution(72); // one unit a point
        writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        painted = Paint(&graph, &writer, QRect(QPoint(0, 0), size));
    }
    else
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        painted = Paint(&graph, &image, image.rect()) && image.save(&file, "PNG");
    }
    if (!painted)
    {
        file.cancelWriting();
        *error = QStringLiteral("cannot draw the graph");
        return false;
    }
    if (!file.commit())
    {
        *error = file.errorString();
        return false;
    }
    return true;
}
} // namespace GraphFile
