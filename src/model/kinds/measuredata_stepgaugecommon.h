#pragma once

#include "model/measuredata.h"
#include "model/measuredata_report.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the step gauge and gauge block files share: their sections, records and required set, the
// nominal matching of the step gauge kinds, and the opening report blocks.
class TMeasureStepgaugeCommon : public TMeasureData
{
  public:
    struct TPointData
    {
        double nominal = 0.0;
        double actual = 0.0;
    };

    struct TLengthData
    {
        double nominal = 0.0;
        double actual = 0.0;
    };

    // First nominal value within 2.0 mm of the position, in list order (not the nearest).
    static double Get_Nominal(const double &position, const std::vector<double> &nominal_values, bool *valid);

    // The reference step position (the gauge block's datum flatness), mm.
    double Reference_Value() const { return d_reference_value; }

  protected:
    struct TLayout
    {
        const char *identification_message;
        // "Reference_Step_Position:", or the gauge block's "Datum_Flatness:".
        const char *reference_key;
        // Scales and Temperature sections; the squareness file has neither.
        bool thermal_sections;
        // The Point: record's number of parts and the part that holds the position.
        int point_parts;
        int point_index;
    };

    // Reads the file into the members and the positions; false with last_error set when the file
    // is not of the layout or a required record or section is missing.
    bool Read_File(const QByteArray &file_data, const TLayout &layout, std::vector<double> *positions);

    // Replaces each point's nominal by the matching certified position; stops at the first point
    // without a match, leaving the points before it changed.
    bool Match_Nominals(std::vector<TPointData> *points, const std::vector<double> &nominal_values);

    // Description block with or without the "Ref. Step" line.
    void Description_Block(QStringList *lines, bool with_reference_step) const;
    void Thermal_Blocks(QStringList *lines) const;

    static std::vector<TPointData> Points_From_Positions(const std::vector<double> &positions);

    TVector3 d_scale_expansion;
    QString d_equipment;
    QString d_description;
    // Reference step position, or the gauge block's datum flatness, mm.
    double d_reference_value = 0.0;
    double d_x_scale_temperature = 0.0;
    double d_y_scale_temperature = 0.0;
    double d_z_scale_temperature = 0.0;
    double d_gauge_temperature = 0.0;
};
