#pragma once

#include "model/measuredata.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the two laser interferometer kinds share: their records, the measured data entries and the
// report's Description, Alignment and Probe blocks.
class TMeasureLaserCommon : public TMeasureData
{
  public:
    enum TMeasurementType
    {
        MEASUREMENT_SCALE = 0,
        MEASUREMENT_STRAIGHTNESS_X,
        MEASUREMENT_STRAIGHTNESS_Y,
        MEASUREMENT_STRAIGHTNESS_Z,
        MEASUREMENT_ANGULAR
    };

    // One "Point:" record: a reading of the laser at one position.
    struct TPointData
    {
        double position = 0.0;
        double actual = 0.0;
        double nominal = 0.0;
        double deviation = 0.0;
        TVector3 xyz;
        int index = 0;
    };

    const TVector3 &Probe_Offset() const { return d_probe_offset; }
    const TVector3 &Start_Point() const { return d_start_point; }
    const TVector3 &Measurement_Axis() const { return d_measurement_axis; }
    bool Probe_Offsets_Valid() const { return d_probe_offsets_valid; }
    int Measurement_Type() const { return d_measurement_type; }
    const std::vector<TPointData> &Measured_Data() const { return d_measured_data; }

  protected:
    struct TLayout
    {
        // Texts looked for in the Measurement_Type: value, in the order of TMeasurementType.
        const char *type_names[5];
    };

    // Reads the file into the members; entries_before_type receives how many entries were read
    // before the first Measurement_Type: record. False with last_error set when the file is not
    // of the layout or a required record or section is missing.
    bool Read_File(const QByteArray &file_data, const TLayout &layout, size_t *entries_before_type);

    // Title, Description, Alignment and Probe blocks.
    void Report_Head(QStringList *lines, const QString &title) const;

    TVector3 d_probe_offset;
    TVector3 d_start_point;
    TVector3 d_measurement_axis;
    bool d_probe_offsets_valid = false;
    QString d_description;
    int d_measurement_type = MEASUREMENT_SCALE;
    std::vector<TPointData> d_measured_data;

  private:
    bool Read_Measurement_Type(const QString &value, const TLayout &layout);
    void Read_Point(const QString &value);
};
