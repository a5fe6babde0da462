#include "measuredata_factory.h"

#include "measuredata_stepgauge10360.h"

std::unique_ptr<TMeasureData> Create_Measure_Record(TMeasureData::TFileContents contents)
{
    switch (contents)
    {
    case TMeasureData::CONTENTS_STEPGAUGE_10360:
        return std::make_unique<TMeasureStepgauge10360>();
    default:
        return nullptr;
    }
}
