#pragma once

#include "model/measuredata.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Where the load pipeline finds a step gauge's certified positions.
class TNominalSource
{
  public:
    virtual ~TNominalSource() = default;
    // The nominal positions stored for the gauge serial number; false when there are none.
    virtual bool Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const = 0;
    // Why Find_Nominal_Values gave nothing for the serial; by default that no set was found.
    virtual QString Lookup_Failure(const QString &serial) const;
};

// What loading one measurement file gives the viewer: the report pane's lines (the report, or the
// one "ERR  ..." line of the failure), the record and its graph curves.
struct TMeasurementLoad
{
    enum TStage
    {
        STAGE_NOT_READ, // size or open failure: nothing about the file is known
        STAGE_READ,     // read and classified (kind may be unknown), but not parsed
        STAGE_PARSED,   // the record parsed the file; a nominal failure may still follow
        STAGE_COMPLETE  // report and graph are ready
    };

    TStage stage = STAGE_NOT_READ;
    TMeasureData::TFileContents contents = TMeasureData::CONTENTS_UNKNOWN;
    // Created for every recognised kind, and kept when parsing failed.
    std::unique_ptr<TMeasureData> record;
    QStringList report_lines;
    std::vector<std::vector<TVector2>> graph_data;
    TGraphNotes graph_notes;

    bool Succeeded() const { return stage == STAGE_COMPLETE; }
    // Why the load failed, without the report line's "ERR  " prefix.
    QString Failure_Reason() const;
};

namespace MeasurementLoad
{
const qint64 SMALLEST_FILE_SIZE = 64;
const qint64 LARGEST_FILE_SIZE = 262144;

// Size check, reading, recognition, parsing, the nominal step of the step gauge kinds (skipped when
// nominals is null) and the report. Never throws; every failure ends in one "ERR  ..." line.
TMeasurementLoad Load_File(const QString &path, const TNominalSource *nominals);

// The steps after reading, for data already in memory.
TMeasurementLoad Load_Contents(const QByteArray &file_data, const TNominalSource *nominals);
} // namespace MeasurementLoad
