#pragma once

#include "model/kinds/measuredata_repeatcommon.h"

// Point repeatability: one point probed repeatedly, reported relative to the first hit. The X range
// is the point repeatability, the length of the Y and Z ranges the positioning accuracy.
class TMeasurePointRepeat : public TMeasureRepeatCommon
{
  public:
    TMeasurePointRepeat();

    QStringList Text_Report() const override;
    bool Load_Data(const QByteArray &file_data) override;

    const QString &Description() const { return d_description; }
    double Move_Distance() const { return d_move_distance; }
    // Relative to the first point once loading succeeded.
    const std::vector<TVector3> &Points() const { return d_positions; }

    // Length of the Y and Z ranges.
    static double Positioning_Accuracy(const TVector3 &range);

  protected:
    void Read_Measurement_Line(TRecordReader *reader) override;

  private:
    QString d_description;
    double d_move_distance = 0.0; // mm
};
