#pragma once

#include "model/measuredata.h"

#include <QString>

#include <vector>

// Ballbar measured in several placements: each data line gives the two end points of the bar, the
// report compares every bar length with the mean over all placements.
class TMeasureBallbar : public TMeasureData
{
  public:
    struct TBallbarData
    {
        QString name;
        TVector3 point1;
        TVector3 point2;
        // Written by the measuring software; neither reported nor graphed.
        TVector3 vector3;
        double value1 = 0.0;
        double value2 = 0.0;
        // Distance between the two end points.
        double length = 0.0;
    };

    TMeasureBallbar();

    QStringList Text_Report() const override;
    // One curve: (length, deviation from the mean) per entry whose values are finite.
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    bool Load_Data(const QByteArray &file_data) override;

    double Mean_Length() const { return d_mean_length; }
    const std::vector<TBallbarData> &Entries() const { return d_entries; }

  private:
    // Stays 0 while there is no entry, so an empty report prints zeros.
    double d_mean_length = 0.0;
    std::vector<TBallbarData> d_entries;
};
