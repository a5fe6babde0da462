#pragma once

#include "measuredata_validation.h"

// Best-fit plane validation results: position, normal and flatness of each fit.
class TValidationPlane : public TValidationCommon
{
  public:
    TValidationPlane();
};
