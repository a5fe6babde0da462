#pragma once

#include "geometry/vector2.h"
#include "model/measuredata.h"
#include "model/verdict.h"

#include <QDateTime>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;
class TGraphWidget;
class TTolerance;
struct TMeasurementLoad;
struct TPresentation;

// Everything a filed report shows: a header block, the report text, the graph and page numbers.
struct TReportDocument
{
    QString file_name;
    QString title;
    QDateTime modified;
    QString equipment;
    QString tolerance;
    QString verdict;
    TVerdict::TVerdictType verdict_mark = TVerdict::VERDICT_NONE; // chooses the verdict's colour
    QStringList report_lines;
    // Drawn as vectors when set; the widget's on-screen view is left as it was.
    TGraphWidget *graph = nullptr;
};

// What the document of a measurement needs of its load, kept after the load itself is gone.
struct TReportSource
{
    QString path;
    TMeasureData::TFileContents contents = TMeasureData::CONTENTS_UNKNOWN;
    bool loaded = false; // the report is complete
    QString equipment;
    QStringList report_lines; // as the report pane shows them
    std::vector<std::vector<TVector2>> curves;
    int unreadable_lines = 0; // data lines of the file that could not be read

    // record is the load's record, also when the caller has taken it over.
    static TReportSource From_Load(const QString &path, const TMeasurementLoad &load,
                                   const TMeasureData *record, const QStringList &report_lines);
};

namespace ReportDocument
{
// Dots per inch of a device drawn for paper: coarse enough that the graph's pixel-sized marks (crosses,
// boxes) stay visible; text is drawn as outlines whatever the resolution.
constexpr int PAPER_RESOLUTION = 150;

// The document of a loaded measurement with its verdict. The tolerance is shown for the kinds the verdict
// judges against it. The graph is left for the caller to set.
TReportDocument Measurement_Document(const TReportSource &source, const TTolerance &tolerance);

// Draws the document on the device, opening pages as needed. Returns the number of pages, 0 when the
// device cannot be painted on.
int Render(const TReportDocument &document, QPagedPaintDevice *device);

// Writes the document as a PDF through the checked writer: an existing file is replaced only by a
// complete one, and never when it is one of the files in keep. On failure error holds a message for the
// user.
bool Write_Pdf(const TReportDocument &document, const QString &path, QPageSize::PageSizeId page_size,
               QString *error, const QStringList &keep = {});
} // namespace ReportDocument
