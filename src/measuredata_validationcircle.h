#pragma once

#include "measuredata_validation.h"

// Best-fit circle validation results: centre, normal, diameter and roundness of each fit.
class TValidationCircle : public TValidationCommon
{
  public:
    TValidationCircle();
};
