#pragma once

#include "model/kinds/measuredata_stepgaugecommon.h"

// Step gauge measured for squareness: repeated readings of a step are merged, every step is
// measured from the first one, and a line through the deviations gives the squareness slope.
class TMeasureStepgaugeSquare : public TMeasureStepgaugeCommon
{
  public:
    // Orders points by ascending measured position.
    struct TPointData_Sort
    {
        bool operator()(const TPointData &a, const TPointData &b) const { return a.actual < b.actual; }
    };

    TMeasureStepgaugeSquare();

    QString Equipment_Identification() const override { return d_equipment; }
    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;
    bool Set_Nominal_Data(const std::vector<double> &nominal_values) override;

    void Consolidate_Points();
    void Update_Length_Data();

    // Fitted deviation per measured length, mm/mm, and the deviation at length zero, mm.
    double Slope() const { return d_slope; }
    double Intercept() const { return d_intercept; }
    const std::vector<TPointData> &Points() const { return d_points; }
    const std::vector<TLengthData> &Lengths() const { return d_lengths; }

  private:
    double d_slope = 0.0;
    double d_intercept = 0.0;
    std::vector<TPointData> d_points;
    std::vector<TLengthData> d_lengths;
};
