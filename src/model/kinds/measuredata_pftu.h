#pragma once

#include "model/kinds/measuredata_feature.h"

#include <vector>

// Probing form test on a sphere: the nominal radius, the fitted sphere and every probed point with
// its normal, radius and deviation. Reported as text only.
class TMeasurePFTU : public TMeasureFeature
{
  public:
    struct TPointData
    {
        TVector3 xyz;
        TVector3 ijk;
        double radius = 0.0;
        double deviation = 0.0;
    };

    TMeasurePFTU();

    QStringList Text_Report() const override;
    bool Load_Data(const QByteArray &file_data) override;

    // 0 when the file has no nominal radius record.
    double Nominal_Radius() const { return d_nominal_radius; }
    const std::vector<TPointData> &Points() const { return d_points; }

  protected:
    bool Read_Kind_Record(TRecordReader *reader) override;
    void Read_Point(const TFields &parts) override;

  private:
    double d_nominal_radius = 0.0;
    std::vector<TPointData> d_points;
};
