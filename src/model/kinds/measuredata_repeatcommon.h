#pragma once

#include "model/measuredata.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the sphere repeatability and point repeatability files share: the Alignment and Measurement
// sections, probe values kept in the kind's own members, positions stored relative to the first one,
// and the per-axis range of those positions.
class TMeasureRepeatCommon : public TMeasureData
{
  public:
    // The probe values this file gave; the base record's probe members stay zero for these kinds.
    const TVector3 &Probe_Offset() const { return d_probe_offset; }
    const TVector3 &Probe_Vector() const { return d_probe_vector; }

    // Largest minus smallest value of each axis; zero without positions.
    static TVector3 Range(const std::vector<TVector3> &positions);

  protected:
    // Reads the identification, sections and probe records; every other line read while only the
    // Measurement section is open goes to Read_Measurement_Line. On success the positions are made
    // relative to the first one.
    bool Read_File(const QByteArray &file_data, TFileContents contents);
    virtual void Read_Measurement_Line(TRecordReader *reader) = 0;

    // A comma list of exactly four parts: parts 1 to 3 are x, y and z; other counts are ignored.
    void Append_Position(const QString &list);

    // Alignment and Probe blocks, with this kind's probe values.
    void Setup_Blocks(QStringList *lines) const;
    // Heading, column header, one line per position and a closing empty line.
    void Position_Block(QStringList *lines, const QString &heading) const;
    // x, y and z right-aligned in 12 characters with 4 decimals, two blanks apart.
    static QString Position_Text(const TVector3 &position);

    TVector3 d_probe_offset;
    TVector3 d_probe_vector;
    std::vector<TVector3> d_positions;
};
