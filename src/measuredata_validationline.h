#pragma once

#include "measuredata_validation.h"

// Best-fit line validation results: position, direction and straightness of each fit.
class TValidationLine : public TValidationCommon
{
  public:
    TValidationLine();
};
