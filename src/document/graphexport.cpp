#include "document/graphexport.h"

#include "base/checkedfile.h"
#include "model/presentation.h"
#include "widgets/graphwidget.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace
{
bool Is_Pdf(const QString &path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

bool Paint_On(QPaintDevice *device, TGraphWidget *graph, const QRect &rect)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    GraphExport::Paint(&painter, graph, rect);
    return painter.end();
}
} // namespace

namespace GraphExport
{
void Paint(QPainter *painter, TGraphWidget *graph, const QRect &rect, double point_size)
{
    QFont font = painter->font();
    font.setPointSizeF(point_size);
    painter->setFont(font);
    graph->PaintToDevice(painter, rect, false);
}

QImage Image(TGraphWidget *graph, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!Paint_On(&image, graph, image.rect()))
        return QImage();
    return image;
}

bool Supported(const QString &path)
{
    return Is_Pdf(path) || path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

bool Encode(TGraphWidget *graph, const QString &path, const QSize &size, QByteArray *bytes)
{
    bytes->clear();
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    if (Is_Pdf(path))
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72); // one unit a point
        writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        return Paint_On(&writer, graph, QRect(QPoint(0, 0), size));
    }
    const QImage image = Image(graph, size);
    return !image.isNull() && image.save(&buffer, "PNG");
}

bool Write(TGraphWidget *graph, const QString &path, const QSize &size, QString *error,
           const QStringList &keep)
{
    QByteArray bytes;
    if (!Encode(graph, path, size, &bytes))
    {
        *error = QCoreApplication::translate("GraphExport", "the graph could not be drawn.");
        return false;
    }
    return CheckedFile::Write(path, bytes, error, keep);
}

bool Write(const TPresentation &presentation, const QString &path, const QSize &size, QString *error,
           const QStringList &keep)
{
    TGraphWidget graph;
    graph.Show(presentation.setup, presentation.data_sets, presentation.legend);
    return Write(&graph, path, size, error, keep);
}
} // namespace GraphExport
