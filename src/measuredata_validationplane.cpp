#include "measuredata_validationplane.h"

TValidationPlane::TValidationPlane()
    : TValidationCommon(
          {CONTENTS_VALIDATION_PLANE, "Plane", "Plane entry format not recognized.",
           "Validation Plane Results",
           "            X            Y            Z         I            J            K               Form",
           98, true, 12, 9, false,
           "Note:  Verification should be result of 3D distance to surface of calculated plane."})
{
}
