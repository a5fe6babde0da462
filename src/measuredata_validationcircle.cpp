#include "measuredata_validationcircle.h"

TValidationCircle::TValidationCircle()
    : TValidationCommon(
          {CONTENTS_VALIDATION_CIRCLE, "Circle", "Circle entry format not recognized.",
           "Validation Circle Results",
           "             X            Y            Z         I       J       K          Diameter     Form",
           94, true, 7, 4, true, nullptr})
{
}
