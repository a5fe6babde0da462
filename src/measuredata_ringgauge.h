#pragma once

#include "measuredata_pingauge.h"

// A ring gauge file reads, reports and graphs exactly like a pin gauge file.
class TMeasureRing : public TMeasureCircleGauge
{
  public:
    TMeasureRing();
};
