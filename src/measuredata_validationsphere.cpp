#include "measuredata_validationsphere.h"

TValidationSphere::TValidationSphere()
    : TValidationCommon({CONTENTS_VALIDATION_SPHERE, "Sphere", "Sphere entry format not recognized.",
                         "Validation Sphere Results",
                         "             X            Y            Z           Diameter      Form", 73, false,
                         0, 0, true, nullptr})
{
}
