// The filed report: a header block, the graph and the report text on as many pages as it needs, each page
// numbered. Lines are laid out before anything is drawn, so every page knows the page count.

#include "document/reportdocument.h"

#include "base/checkedfile.h"
#include "document/graphexport.h"
#include "model/kindtable.h"
#include "model/measurementload.h"
#include "model/presentation.h"
#include "model/tolerance.h"
#include "model/verdict.h"
#include "widgets/graphwidget.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr double TEXT_POINT_SIZE = 9.0;
// Below this the text is wrapped rather than shrunk further, so absurdly long lines stay legible.
constexpr double SMALLEST_TEXT_POINT_SIZE = 4.0;
constexpr double HEADER_POINT_SIZE = 10.0;
constexpr double VERDICT_POINT_SIZE = 9.0;
constexpr double TITLE_POINT_SIZE = 14.0;
constexpr double GRAPH_POINT_SIZE = 8.0;
constexpr double FOOTER_POINT_SIZE = 8.0;
constexpr double PDF_MARGIN_MILLIMETRES = 15.0;

QFont Sans_Font(double point_size, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(point_size);
    font.setBold(bold);
    // Any letter spacing turns ligatures off, so "fi" stays two letters for search and copy in the PDF.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64.0);
    return font;
}

QFont Fixed_Font(double point_size)
{
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(point_size);
    return font;
}

struct THeaderRow
{
    QString label;
    QString value;
};

// Where everything goes, in device units of the page's paint area.
struct TLayout
{
    double width = 0.0;
    double body_bottom = 0.0;
    QFont text_font;
    double line_height = 1.0;
    double text_ascent = 0.0;
    QStringList lines;
    double graph_top = 0.0;
    double graph_height = 0.0;
    double first_text_top = 0.0;
    int first_page_lines = 0;
    int lines_per_page = 1;
    int pages = 1;
};

std::vector<THeaderRow> Header_Rows(const TReportDocument &document)
{
    std::vector<THeaderRow> rows = {
        {QCoreApplication::translate("ReportDocument", "File:"), document.file_name}};
    if (document.modified.isValid())
        rows.push_back({QCoreApplication::translate("ReportDocument", "Modified:"),
                        document.modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
    if (!document.equipment.trimmed().isEmpty())
        rows.push_back(
            {QCoreApplication::translate("ReportDocument", "Equipment:"), document.equipment.trimmed()});
    if (!document.tolerance.isEmpty())
        rows.push_back({QCoreApplication::translate("ReportDocument", "Tolerance:"), document.tolerance});
    return rows;
}

double Widest(const QStringList &lines, const QFontMetricsF &metrics, int *index)
{
    double widest = 0.0;
    for (int i = 0; i < lines.size(); ++i)
    {
        const double advance = metrics.horizontalAdvance(lines.at(i));
        if (advance > widest)
        {
            widest = advance;
            *index = i;
        }
    }
    return widest;
}

// The largest font, up to the normal size, at which the widest line fits; lines that do not fit even at
// the smallest size are wrapped.
QFont Fitted_Font(const QStringList &lines, double width, const QPaintDevice *device, QStringList *fitted)
{
    QFont font = Fixed_Font(TEXT_POINT_SIZE);
    int widest_index = 0;
    double widest = Widest(lines, QFontMetricsF(font, device), &widest_index);
    // Glyph advances do not scale exactly with the size, hence the few rounds.
    for (int round = 0; round < 8 && widest > width && font.pointSizeF() > SMALLEST_TEXT_POINT_SIZE; ++round)
    {
        const double size = font.pointSizeF() * width / widest * 0.99;
        font.setPointSizeF(std::max(SMALLEST_TEXT_POINT_SIZE, size));
        widest = QFontMetricsF(font, device).horizontalAdvance(lines.at(widest_index));
    }

    const QFontMetricsF metrics(font, device);
    fitted->clear();
    fitted->reserve(lines.size());
    for (const QString &line : lines)
    {
        QString rest = line;
        while (metrics.horizontalAdvance(rest) > width && rest.size() > 1)
        {
            int count = std::max(1, static_cast<int>(rest.size() * width / metrics.horizontalAdvance(rest)));
            while (count > 1 && metrics.horizontalAdvance(rest.left(count)) > width)
                --count;
            fitted->append(rest.left(count));
            rest = rest.mid(count);
        }
        fitted->append(rest);
    }
    return font;
}

double Header_Height(const TReportDocument &document, double width, const QPaintDevice *device);

// Breaks between words, and inside a word only when it is wider than the rectangle. Returns the height;
// draws only when painter is set.
double Draw_Paragraph(QPainter *painter, const QFont &font, const QRectF &rect, const QString &value,
                      const QPaintDevice *device)
{
    QTextLayout layout(value, font, const_cast<QPaintDevice *>(device));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0.0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
    {
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0.0, height));
        height += line.height();
    }
    layout.endLayout();
    if (painter)
        layout.draw(painter, rect.topLeft());
    return height;
}

TLayout Lay_Out(const TReportDocument &document, const QPaintDevice *device)
{
    TLayout layout;
    layout.width = device->width();
    const QFontMetricsF footer(Sans_Font(FOOTER_POINT_SIZE, false), device);
    layout.body_bottom = device->height() - 2.0 * footer.lineSpacing();

    layout.text_font = Fitted_Font(document.report_lines, layout.width, device, &layout.lines);
    const QFontMetricsF text(layout.text_font, device);
    layout.line_height = std::max(1.0, text.lineSpacing());
    layout.text_ascent = text.ascent();

    const double gap = text.lineSpacing();
    double top = Header_Height(document, layout.width, device) + gap;
    if (document.graph)
    {
        layout.graph_top = top;
        // A header that fills the page leaves no room, and no graph.
        layout.graph_height = std::max(0.0, std::min(layout.width * 0.6, (layout.body_bottom - top) * 0.6));
        top += layout.graph_height + gap;
    }
    layout.first_text_top = top;
    layout.first_page_lines = std::max(0, static_cast<int>((layout.body_bottom - top) / layout.line_height));
    layout.lines_per_page = std::max(1, static_cast<int>(layout.body_bottom / layout.line_height));
    const int rest = std::max(0, static_cast<int>(layout.lines.size()) - layout.first_page_lines);
    layout.pages = 1 + (rest + layout.lines_per_page - 1) / layout.lines_per_page;
    return layout;
}

// Draws the header from the top of the page, or only measures it when painter is null.
double Draw_Header(QPainter *painter, const TReportDocument &document, double width,
                   const QPaintDevice *device)
{
    double y = 0.0;
    const auto text = [&](const QFont &font, const QRectF &rect, const QString &value)
    { return Draw_Paragraph(painter, font, rect, value, device); };

    if (!document.title.isEmpty())
    {
        const QFont title = Sans_Font(TITLE_POINT_SIZE, true);
        y += text(title, QRectF(0.0, y, width, 1e6), document.title);
        y += 0.5 * QFontMetricsF(title, device).lineSpacing();
    }

    const QFont label_font = Sans_Font(HEADER_POINT_SIZE, true);
    const QFont value_font = Sans_Font(HEADER_POINT_SIZE, false);
    const std::vector<THeaderRow> rows = Header_Rows(document);
    double label_width = 0.0;
    for (const THeaderRow &row : rows)
        label_width = std::max(label_width, QFontMetricsF(label_font, device).horizontalAdvance(row.label));
    label_width += QFontMetricsF(label_font, device).averageCharWidth() * 2.0;
    for (const THeaderRow &row : rows)
    {
        text(label_font, QRectF(0.0, y, label_width, 1e6), row.label);
        y += text(value_font, QRectF(label_width, y, width - label_width, 1e6), row.value);
    }

    if (!document.verdict.isEmpty())
    {
        y += 0.5 * QFontMetricsF(value_font, device).lineSpacing();
        if (painter)
        {
            const QColor colour = Verdict::Colour(document.verdict_mark);
            painter->setPen(colour.isValid() ? colour : QColor(Qt::black));
        }
        y += text(Sans_Font(VERDICT_POINT_SIZE, true), QRectF(0.0, y, width, 1e6), document.verdict);
        if (painter)
            painter->setPen(Qt::black);
    }
    y += 0.5 * QFontMetricsF(value_font, device).lineSpacing();
    if (painter)
        painter->drawLine(QPointF(0.0, y), QPointF(width, y));
    return y;
}

double Header_Height(const TReportDocument &document, double width, const QPaintDevice *device)
{
    return Draw_Header(nullptr, document, width, device);
}

void Draw_Footer(QPainter *painter, const TLayout &layout, const QPaintDevice *device, int page)
{
    painter->setFont(Sans_Font(FOOTER_POINT_SIZE, false));
    const QRectF area(0.0, layout.body_bottom, layout.width, device->height() - layout.body_bottom);
    painter->drawText(
        area, Qt::AlignHCenter | Qt::AlignBottom,
        QCoreApplication::translate("ReportDocument", "Page %1 of %2").arg(page).arg(layout.pages));
}

void Draw_Lines(QPainter *painter, const TLayout &layout, double top, int first, int count)
{
    painter->setFont(layout.text_font);
    const int end = std::min(static_cast<int>(layout.lines.size()), first + count);
    for (int i = first; i < end; ++i)
        painter->drawText(QPointF(0.0, top + (i - first) * layout.line_height + layout.text_ascent),
                          layout.lines.at(i));
}
} // namespace

TReportSource TReportSource::From_Load(const QString &path, const TMeasurementLoad &load,
                                       const TMeasureData *record, const QStringList &report_lines)
{
    TReportSource source;
    source.path = path;
    source.contents = load.contents;
    source.loaded = load.Succeeded();
    if (record)
    {
        source.equipment = record->Equipment_Identification();
        source.unreadable_lines = record->unreadable_lines;
    }
    source.report_lines = report_lines;
    if (source.loaded)
        source.curves = load.graph_data;
    return source;
}

namespace ReportDocument
{
TReportDocument Measurement_Document(const TReportSource &source, const TTolerance &tolerance)
{
    TReportDocument document;
    const QFileInfo file(source.path);
    document.file_name = file.fileName();
    if (file.exists())
        document.modified = file.lastModified();
    // Every report opens with its kind's title.
    if (source.loaded && !source.report_lines.isEmpty())
        document.title = source.report_lines.first();
    document.equipment = source.equipment;
    const TKindRow *row = KindTable::Find(source.contents);
    switch (row ? row->verdict_rule : TKindRow::RULE_NONE)
    {
    case TKindRow::RULE_DEVIATIONS:
    case TKindRow::RULE_LENGTH_RANGE:
        document.tolerance =
            QCoreApplication::translate("ReportDocument", "E MPL = %1").arg(tolerance.Display_Text());
        break;
    case TKindRow::RULE_TEMPERATURE_LIMITS:
        document.tolerance =
            QCoreApplication::translate("ReportDocument", "Ts_Min %1 \u00b0C, Ts_Max %2 \u00b0C")
                .arg(QString::number(tolerance.d_lower_temperature_limit, 'f', 2),
                     QString::number(tolerance.d_upper_temperature_limit, 'f', 2));
        break;
    case TKindRow::RULE_NONE:
        break;
    }
    if (source.loaded)
    {
        const TVerdict verdict =
            Verdict::Evaluate(source.contents, source.curves, tolerance, source.unreadable_lines);
        document.verdict = verdict.line;
        document.verdict_mark = verdict.verdict;
    }
    document.report_lines = source.report_lines;
    return document;
}

int Render(const TReportDocument &document, QPagedPaintDevice *device)
{
    QPainter painter;
    if (!device || !painter.begin(device))
        return 0;
    const TLayout layout = Lay_Out(document, device);

    painter.setPen(Qt::black);
    Draw_Header(&painter, document, layout.width, device);
    if (document.graph && layout.graph_height >= 1.0)
    {
        painter.setFont(Sans_Font(GRAPH_POINT_SIZE, false));
        const QRect area(0, static_cast<int>(layout.graph_top), static_cast<int>(layout.width),
                         static_cast<int>(layout.graph_height));
        GraphExport::Paint(&painter, document.graph, area, GRAPH_POINT_SIZE);
        painter.setPen(Qt::black);
    }
    Draw_Lines(&painter, layout, layout.first_text_top, 0, layout.first_page_lines);
    Draw_Footer(&painter, layout, device, 1);

    for (int page = 2; page <= layout.pages; ++page)
    {
        if (!device->newPage())
        {
            painter.end();
            return 0;
        }
        Draw_Lines(&painter, layout, 0.0, layout.first_page_lines + (page - 2) * layout.lines_per_page,
                   layout.lines_per_page);
        Draw_Footer(&painter, layout, device, page);
    }
    return painter.end() ? layout.pages : 0;
}

bool Write_Pdf(const TReportDocument &document, const QString &path, QPageSize::PageSizeId page_size,
               QString *error, const QStringList &keep)
{
    QByteArray bytes;
    int pages = 0;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(PAPER_RESOLUTION);
        writer.setTitle(document.file_name);
        writer.setCreator(QStringLiteral("Quillon"));
        const double margin = PDF_MARGIN_MILLIMETRES;
        writer.setPageLayout(QPageLayout(QPageSize(page_size), QPageLayout::Portrait,
                                         QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter));
        pages = Render(document, &writer);
    }
    QString reason;
    if (pages == 0)
        reason = QCoreApplication::translate("ReportDocument", "the report could not be drawn.");
    else if (CheckedFile::Write(path, bytes, &reason, keep))
        return true;
    *error = CheckedFile::Failure_Text(path, reason);
    return false;
}
} // namespace ReportDocument
