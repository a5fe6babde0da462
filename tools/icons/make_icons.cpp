// Draws Quillon's icons and logo as PNG files: make_icons OUTPUT_FOLDER

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{
const QColor INK(40, 52, 80);
const QColor BAND(164, 164, 255);
const QColor CURVE(160, 0, 0);

bool Save(const QString &folder, const QString &name, int width, int height,
          const std::function<void(QPainter &, double)> &draw)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // Drawn on a 32 unit square (or the logo's own units) and scaled to the image.
        const double unit = height / 32.0;
        painter.scale(unit, unit);
        draw(painter, unit);
    }
    const QString path = folder + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
    {
        std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QPen Pen(const QColor &color, double width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Axes(QPainter &p)
{
    p.setPen(Pen(INK, 1.6));
    p.drawLine(QPointF(4, 3), QPointF(4, 28));
    p.drawLine(QPointF(4, 28), QPointF(29, 28));
}

// The tolerance band of a form: 0 constant, 1 growing with length, 2 growing and then capped.
void Tolerance_Band(QPainter &p, int form)
{
    Axes(p);
    const double mid = 16.0;
    auto half = [form](double x)
    {
        const double grow = 3.0 + (x - 5.0) * 0.35;
        if (form == 0)
            return 6.0;
        if (form == 1)
            return grow;
        return std::min(grow, 7.5);
    };
    QPainterPath upper;
    QPainterPath lower;
    for (double x = 5.0; x <= 28.0; x += 0.5)
    {
        if (x == 5.0)
        {
            upper.moveTo(x, mid - half(x));
            lower.moveTo(x, mid + half(x));
        }
        else
        {
            upper.lineTo(x, mid - half(x));
            lower.lineTo(x, mid + half(x));
        }
    }
    p.setPen(Pen(QColor(90, 90, 220), 1.8));
    p.drawPath(upper);
    p.drawPath(lower);
}

void Deviation_Curve(QPainter &p, bool line)
{
    const QPointF points[] = {{7, 18}, {11, 13}, {15, 17}, {19, 11}, {23, 14}, {27, 9}};
    if (line)
    {
        p.setPen(Pen(CURVE, 2.2));
        p.drawPolyline(points, 6);
        return;
    }
    p.setPen(Pen(CURVE, 1.8));
    for (const QPointF &point : points)
    {
        p.drawLine(point + QPointF(-2, -2), point + QPointF(2, 2));
        p.drawLine(point + QPointF(-2, 2), point + QPointF(2, -2));
    }
}

void Quill(QPainter &p, const QColor &vane, const QColor &shaft)
{
    QPainterPath feather;
    feather.moveTo(6, 27);
    feather.cubicTo(9, 16, 17, 7, 28, 3);
    feather.cubicTo(26, 12, 19, 21, 8, 25);
    feather.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vane);
    p.drawPath(feather);
    p.setPen(Pen(shaft, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(4, 29), QPointF(24, 7));
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "Usage: make_icons OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;

    ok &= Save(out, "icons/quillon.png", 64, 64,
               [](QPainter &p, double)
               {
                   QLinearGradient fill(0, 0, 0, 32);
                   fill.setColorAt(0, QColor(58, 84, 140));
                   fill.setColorAt(1, QColor(28, 40, 72));
                   p.setPen(Qt::NoPen);
                   p.setBrush(fill);
                   p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
                   p.setPen(Pen(QColor(164, 164, 255, 160), 1.0));
                   p.drawLine(QPointF(4, 22), QPointF(28, 22));
                   Quill(p, QColor(250, 250, 255), QColor(230, 90, 60));
               });

    ok &= Save(out, "images/logo.png", 100, 40,
               [](QPainter &p, double unit)
               {
                   Quill(p, QColor(58, 84, 140), QColor(200, 60, 40));
                   p.resetTransform();
                   QFont font(QStringLiteral("DejaVu Sans"));
                   font.setPixelSize(15);
                   font.setBold(true);
                   p.setFont(font);
                   p.setPen(INK);
                   p.drawText(QRectF(32 * unit * 0.9, 0, 100 - 32 * unit * 0.9, 40),
                              Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Quillon"));
               });

    ok &= Save(out, "icon16/add_icon16.png", 16, 16,
               [](QPainter &p, double)
               {
                   p.setPen(Pen(QColor(30, 140, 50), 5));
                   p.drawLine(QPointF(16, 5), QPointF(16, 27));
                   p.drawLine(QPointF(5, 16), QPointF(27, 16));
               });
    ok &= Save(out, "icon16/remove_icon16.png", 16, 16,
               [](QPainter &p, double)
               {
                   p.setPen(Pen(QColor(190, 30, 30), 5));
                   p.drawLine(QPointF(7, 7), QPointF(25, 25));
                   p.drawLine(QPointF(7, 25), QPointF(25, 7));
               });
    ok &= Save(out, "icon16/edit_icon16.png", 16, 16,
               [](QPainter &p, double)
               {
                   p.setPen(Pen(QColor(200, 140, 20), 6));
                   p.drawLine(QPointF(9, 23), QPointF(24, 8));
                   p.setPen(Pen(INK, 2.5));
                   p.drawLine(QPointF(4, 28), QPointF(8, 24));
               });
    ok &= Save(out, "icon16/refresh_icon16.png", 16, 16,
               [](QPainter &p, double)
               {
                   p.setPen(Pen(QColor(30, 100, 170), 4));
                   p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
                   p.setPen(Qt::NoPen);
                   p.setBrush(QColor(30, 100, 170));
                   const QPointF head[] = {{20, 1}, {29, 8}, {19, 13}};
                   p.drawPolygon(head, 3);
               });

    ok &= Save(out, "icon32/tolerance_icon32.png", 32, 32,
               [](QPainter &p, double)
               {
                   Tolerance_Band(p, 2);
                   Deviation_Curve(p, false);
               });
    ok &= Save(out, "icon32/pointgraph_icon32.png", 32, 32,
               [](QPainter &p, double)
               {
                   Axes(p);
                   Deviation_Curve(p, false);
               });
    ok &= Save(out, "icon32/linegraph_icon32.png", 32, 32,
               [](QPainter &p, double)
               {
                   Axes(p);
                   Deviation_Curve(p, true);
               });
    for (int form = 0; form < 3; ++form)
    {
        ok &= Save(out, QStringLiteral("icon64/tolerance%1_icon64.png").arg(form + 1), 64, 64,
                   [form](QPainter &p, double) { Tolerance_Band(p, form); });
    }
    return ok ? 0 : 1;
}
