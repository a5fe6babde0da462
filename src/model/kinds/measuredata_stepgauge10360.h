#pragma once

#include "model/kinds/measuredata_stepgaugecommon.h"

// Step gauge measured with the five-gauge procedure: 36 positions paired into 18 lengths, three
// repeats of each of six lengths.
class TMeasureStepgauge10360 : public TMeasureStepgaugeCommon
{
  public:
    TMeasureStepgauge10360();

    QString Equipment_Identification() const override { return d_equipment; }
    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;
    bool Set_Nominal_Data(const std::vector<double> &nominal_values) override;

    void Update_Length_Data();

    const std::vector<TPointData> &Points() const { return d_points; }
    const std::vector<TLengthData> &Lengths() const { return d_lengths; }

  private:
    std::vector<TPointData> d_points;
    std::vector<TLengthData> d_lengths;
};
