#include "measuredata_factory.h"

#include "measuredata_ballbar.h"
#include "measuredata_circlegauge.h"
#include "measuredata_gaugeblock.h"
#include "measuredata_machinelaser10360.h"
#include "measuredata_machinelaserpmove.h"
#include "measuredata_pftu.h"
#include "measuredata_pointrepeat.h"
#include "measuredata_probe.h"
#include "measuredata_rpt.h"
#include "measuredata_stepgauge10360.h"
#include "measuredata_stepgaugeb89.h"
#include "measuredata_stepgaugesquare.h"
#include "measuredata_temperature.h"
#include "measuredata_validation.h"

std::unique_ptr<TMeasureData> Create_Measure_Record(TMeasureData::TFileContents contents)
{
    switch (contents)
    {
    case TMeasureData::CONTENTS_STEPGAUGE_10360:
        return std::make_unique<TMeasureStepgauge10360>();
    case TMeasureData::CONTENTS_SPHERE_RPT:
        return std::make_unique<TMeasureRPT>();
    case TMeasureData::CONTENTS_POINT_REPEAT:
        return std::make_unique<TMeasurePointRepeat>();
    case TMeasureData::CONTENTS_VALIDATION_PLANE:
        return std::make_unique<TValidationPlane>();
    case TMeasureData::CONTENTS_VALIDATION_LINE:
        return std::make_unique<TValidationLine>();
    case TMeasureData::CONTENTS_VALIDATION_CIRCLE:
        return std::make_unique<TValidationCircle>();
    case TMeasureData::CONTENTS_VALIDATION_SPHERE:
        return std::make_unique<TValidationSphere>();
    case TMeasureData::CONTENTS_STEPGAUGE_B89:
        return std::make_unique<TMeasureStepgaugeB89>();
    case TMeasureData::CONTENTS_STEPGAUGE_SQUARE:
        return std::make_unique<TMeasureStepgaugeSquare>();
    case TMeasureData::CONTENTS_GAUGEBLOCK:
        return std::make_unique<TMeasureGaugeblock>();
    case TMeasureData::CONTENTS_LASER_10360:
        return std::make_unique<TMeasureMachineLaser10360>();
    case TMeasureData::CONTENTS_LASER_PMOVE:
        return std::make_unique<TMeasureMachineLaserPMove>();
    case TMeasureData::CONTENTS_BALLBAR:
        return std::make_unique<TMeasureBallbar>();
    case TMeasureData::CONTENTS_TEMPERATURE:
        return std::make_unique<TMeasureTemperature>();
    case TMeasureData::CONTENTS_PROBE:
        return std::make_unique<TMeasureProbe>();
    case TMeasureData::CONTENTS_PIN_GAUGE:
        return std::make_unique<TMeasurePin>();
    case TMeasureData::CONTENTS_RING_GAUGE:
        return std::make_unique<TMeasureRing>();
    case TMeasureData::CONTENTS_SPHERE_PFTU:
        return std::make_unique<TMeasurePFTU>();
    default:
        return nullptr;
    }
}
