#include "graphfile.h"

#include "checkedfile.h"
#include "graphwidget.h"
#include "presentation.h"
#include "reportdocument.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

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

bool Write(const TPresentation &presentation, const QString &path, const QSize &size, QString *error,
           const QStringList &keep)
{
    TGraphWidget graph;
    ReportDocument::Show_Presentation(presentation, &graph);

    QByteArray bytes;
    bool painted = false;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (Is_Pdf(path))
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(72); // one unit a point
            writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            painted = Paint(&graph, &writer, QRect(QPoint(0, 0), size));
        }
        else
        {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            painted = Paint(&graph, &image, image.rect()) && image.save(&buffer, "PNG");
        }
    }
    if (!painted)
    {
        *error = QCoreApplication::translate("GraphFile", "cannot draw the graph");
        return false;
    }
    return CheckedFile::Write(path, bytes, error, keep);
}
} // namespace GraphFile
