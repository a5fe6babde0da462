#pragma once

#include "measuredata_validation.h"

// Best-fit sphere validation results: centre, diameter and form of each fit.
class TValidationSphere : public TValidationCommon
{
  public:
    TValidationSphere();
};
