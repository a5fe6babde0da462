#pragma once

#include "model/measuredata.h"

#include <memory>

// The record class of each file kind; nullptr for a kind without one (unknown, or not built).
std::unique_ptr<TMeasureData> Create_Measure_Record(TMeasureData::TFileContents contents);
