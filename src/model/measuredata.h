#pragma once

#include "geometry/mat4.h"
#include "geometry/vector2.h"
#include "geometry/vector3.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class TRecordReader;

// Base of every measurement record: one derived class per file kind parses its file, writes its
// text report and supplies its graph curves.
// What the graph tells of a record's curves besides their points.
struct TGraphNotes
{
    std::vector<int> curve_numbers; // the number each curve goes by (a sensor); empty: counted from 1
    double magnification = 0.0;     // the scale the deviations are drawn at; 0: drawn as they are
    int unreadable_lines = 0;       // the record's, so the graph marks no worst point of an unjudged file
};

class TMeasureData
{
  public:
    enum TFileEncoding
    {
        ENCODING_UNKNOWN = 0,
        ENCODING_ASCII
    };

    enum TFileContents
    {
        CONTENTS_UNKNOWN = 0,
        CONTENTS_STEPGAUGE_10360 = 1,
        CONTENTS_STEPGAUGE_B89 = 2,
        CONTENTS_STEPGAUGE_SQUARE = 3,
        CONTENTS_GAUGEBLOCK = 4,
        CONTENTS_POINT_REPEAT = 5,
        CONTENTS_SPHERE_RPT = 6,
        CONTENTS_SPHERE_PFTU = 7,
        CONTENTS_BALLBAR = 8,
        CONTENTS_RING_GAUGE = 9,
        CONTENTS_PIN_GAUGE = 10,
        CONTENTS_PROBE = 11,
        CONTENTS_TEMPERATURE = 12,
        CONTENTS_LASER_10360 = 13,
        CONTENTS_LASER_PMOVE = 14,
        CONTENTS_VALIDATION_PLANE = 15,
        CONTENTS_VALIDATION_SPHERE = 16,
        CONTENTS_VALIDATION_CIRCLE = 17,
        CONTENTS_VALIDATION_LINE = 18
    };

    TMeasureData() = default;
    virtual ~TMeasureData() = 0;

    virtual QString Equipment_Identification() const;
    virtual QStringList Text_Report() const;
    virtual std::vector<std::vector<TVector2>> Graph_Data() const;
    virtual bool Load_Data(const QByteArray &file_data) = 0;
    virtual bool Set_Nominal_Data(const std::vector<double> &nominal_values);
    virtual TGraphNotes Graph_Notes() const;

    static TFileEncoding Determine_File_Encoding(const QByteArray &file_data);
    static TFileContents Determine_File_Contents(const QByteArray &file_data);
    // The identification text of a kind; empty for CONTENTS_UNKNOWN.
    static QString Identification_Text(TFileContents contents);

    // The kinds whose step positions come from the nominal store.
    static bool Is_Stepgauge(int contents);

    int file_contents = CONTENTS_UNKNOWN;
    TMat4 alignment;
    TVector3 probe_offset;
    TVector3 probe_vector;
    QString last_error;
    // Data lines the last Load_Data could not read: dropped as malformed or holding a number field that
    // did not convert. The report leaves them out; a verdict cannot rest on such a file.
    int unreadable_lines = 0;

  protected:
    TMeasureData(const TMeasureData &) = default;
    TMeasureData &operator=(const TMeasureData &) = default;

    // Sets last_error and returns false, so a parser can end with "return Fail(...)".
    bool Fail(const QString &message);

    // "Probe_Offset:" and "Probe_Vector:", valid anywhere, into probe_offset and probe_vector.
    bool Read_Probe_Record(TRecordReader *reader);
    // The same records into a kind's own offset and vector.
    static bool Read_Probe_Record(TRecordReader *reader, TVector3 *offset, TVector3 *vector);
    // "X_Axis:", "Y_Axis:", "Z_Axis:", "Translation:" while only the alignment section is open.
    bool Read_Alignment_Record(TRecordReader *reader, int alignment_section);
};

// Messages shared by several kinds.
namespace MeasureMessage
{
extern const char *const DATA_MISSING;
extern const char *const STEPGAUGE_IDENTIFICATION;
extern const char *const ARTIFACT_IDENTIFICATION;
} // namespace MeasureMessage
