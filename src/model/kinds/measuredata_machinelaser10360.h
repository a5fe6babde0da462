#pragma once

#include "model/kinds/measuredata_lasercommon.h"

// A machine axis measured with a laser to B89.4.10360: 30 numbered points pair up into 15 lengths,
// three repeats of each of five lengths.
class TMeasureMachineLaser10360 : public TMeasureLaserCommon
{
  public:
    struct TLengthData
    {
        double nominal = 0.0;
        double actual = 0.0;
    };

    // Orders measured data by ascending point number.
    struct Sort_Functor_Index
    {
        bool operator()(const TPointData &a, const TPointData &b) const { return a.index < b.index; }
    };

    TMeasureMachineLaser10360();

    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;

    void Update_Length_Data();

    const std::vector<TLengthData> &Lengths() const { return d_lengths; }

  private:
    std::vector<TLengthData> d_lengths;
};
