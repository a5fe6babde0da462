#pragma once

#include "model/kinds/measuredata_stepgaugecommon.h"

// A single gauge block measured three times: six face positions give three lengths and their mean.
class TMeasureGaugeblock : public TMeasureStepgaugeCommon
{
  public:
    TMeasureGaugeblock();

    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;

    // The datum flatness takes the place of the step gauges' reference step, mm.
    double Datum_Flatness() const { return d_reference_value; }
    const std::vector<double> &Positions() const { return d_positions; }
    const std::vector<double> &Lengths() const { return d_lengths; }

  private:
    std::vector<double> d_positions;
    std::vector<double> d_lengths;
};
