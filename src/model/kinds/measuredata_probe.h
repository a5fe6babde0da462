#pragma once

#include "model/measuredata.h"

#include <QStringList>

// Probe tip calibration: the alignment, the calibration sphere's nominal diameter and the
// measuring software's result text, kept line by line and printed unchanged.
class TMeasureProbe : public TMeasureData
{
  public:
    TMeasureProbe();

    QStringList Text_Report() const override;
    bool Load_Data(const QByteArray &file_data) override;

    double Nominal_Sphere_Diameter() const { return d_nominal_sphere_diameter; }
    const QStringList &Results() const { return d_results; }

  private:
    double d_nominal_sphere_diameter = 0.0;
    QStringList d_results;
};
