#pragma once

#include "model/kinds/measuredata_stepgaugecommon.h"

// Step gauge measured to B89.4.1: any number of step positions, in runs along the gauge.
class TMeasureStepgaugeB89 : public TMeasureStepgaugeCommon
{
  public:
    TMeasureStepgaugeB89();

    QString Equipment_Identification() const override { return d_equipment; }
    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;
    bool Set_Nominal_Data(const std::vector<double> &nominal_values) override;

    const std::vector<TPointData> &Points() const { return d_points; }

  private:
    std::vector<TPointData> d_points;
};
