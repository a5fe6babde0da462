#include "measuredata_validationline.h"

TValidationLine::TValidationLine()
    : TValidationCommon(
          {CONTENTS_VALIDATION_LINE, "Line", "Line entry format not recognized.", "Validation Line Results",
           "           X            Y            Z         I            J            K               Form",
           97, true, 12, 9, false,
           "Note:  Verification should be result of 3D distance to axis of calculated line."})
{
}
