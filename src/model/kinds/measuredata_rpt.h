#pragma once

#include "model/kinds/measuredata_repeatcommon.h"

// Sphere repeatability: the centres of one reference sphere measured repeatedly, reported relative
// to the first centre with their range per axis.
class TMeasureRPT : public TMeasureRepeatCommon
{
  public:
    TMeasureRPT();

    QStringList Text_Report() const override;
    bool Load_Data(const QByteArray &file_data) override;

    // Relative to the first centre once loading succeeded.
    const std::vector<TVector3> &Centres() const { return d_positions; }

  protected:
    void Read_Measurement_Line(TRecordReader *reader) override;
};
