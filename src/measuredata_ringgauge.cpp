#include "measuredata_ringgauge.h"

TMeasureRing::TMeasureRing()
    : TMeasureCircleGauge(CONTENTS_RING_GAUGE, "Artifact_Measurement:Version=1:Type=Ring_Gauge",
                          "Ring Gauge Measurement")
{
}
