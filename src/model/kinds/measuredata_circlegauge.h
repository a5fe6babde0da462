#pragma once

#include "model/kinds/measuredata_feature.h"

#include <vector>

// A pin or ring gauge measured as a circle: the fitted circle and every probed point with its
// normal and deviation. Pin and ring files differ only in title and kind.
class TMeasureCircleGauge : public TMeasureFeature
{
  public:
    struct TPointData
    {
        TVector3 xyz;
        TVector3 ijk;
        double deviation = 0.0;
    };

    QStringList Text_Report() const override;
    // The probed points, the same points moved along their normals by the magnified deviations,
    // and that second outline once more. A moved point that overflowed is left out.
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    TGraphNotes Graph_Notes() const override;
    bool Load_Data(const QByteArray &file_data) override;

    const std::vector<TPointData> &Points() const { return d_points; }

    // Scale of the deviations in the graph: a deviation equal to the form error is drawn as a
    // quarter of the diameter, kept between 1 and 10000.
    static double Magnification(double diameter, double form);

  protected:
    TMeasureCircleGauge(TFileContents contents, const char *title);

    void Read_Point(const TFields &parts) override;

  private:
    const char *d_title;
    std::vector<TPointData> d_points;
};

class TMeasurePin : public TMeasureCircleGauge
{
  public:
    TMeasurePin();
};

class TMeasureRing : public TMeasureCircleGauge
{
  public:
    TMeasureRing();
};
