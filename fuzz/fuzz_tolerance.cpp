// The tolerance expression as the user types it: parsing, Update(), the E MPL over the lengths a
// graph spans, and the limit lines drawn from it.

#include "fuzz/fuzz_checks.h"
#include "model/presentation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 256)
    {
        return -1;
    }
    TTolerance tolerance;
    if (!tolerance.Set_Expression(QString::fromUtf8(FuzzChecks::Bytes(data, size))))
    {
        return 0;
    }
    // What the dialog then shows (C rounded to a whole number) must still be valid.
    if (!tolerance.Update())
    {
        FuzzChecks::Fail("a valid expression's display text is not valid");
    }
    for (double length = 0.0; length <= 3000.0; length += 37.5)
    {
        const double value = tolerance.Tolerance_Value(length);
        if (!std::isfinite(value) || value < 0.0)
        {
            FuzzChecks::Fail("E MPL is not a finite amount");
        }
    }
    static const std::vector<std::vector<TVector2>> curves = {
        {{0.0, 0.001}, {600.0, -0.002}, {1200.0, 0.004}}};
    for (const TMeasureData::TFileContents kind :
         {TMeasureData::CONTENTS_STEPGAUGE_10360, TMeasureData::CONTENTS_LASER_PMOVE})
    {
        for (const TGraphTypes::TDataSet &set :
             Presentation::Present(kind, curves, tolerance, false).data_sets)
        {
            FuzzChecks::Check_Curves({set.dataset_points});
        }
    }
    return 0;
}
