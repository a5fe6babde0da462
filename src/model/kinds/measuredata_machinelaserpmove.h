#pragma once

#include "model/kinds/measuredata_lasercommon.h"

// A laser data collection run along a machine axis: any number of readings, merged into one
// (position, deviation) point per position.
class TMeasureMachineLaserPMove : public TMeasureLaserCommon
{
  public:
    // Orders points by ascending position.
    struct Sort_Functor_Position
    {
        bool operator()(const TVector2 &a, const TVector2 &b) const { return a.x < b.x; }
    };

    TMeasureMachineLaserPMove();

    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;

    void Combine_Points();

    // x = position, y = deviation, mm.
    const std::vector<TVector2> &Points() const { return d_points; }

  private:
    std::vector<TVector2> d_points;
};
