// The whole widget-free load of a measurement file from its bytes: recognition, parsing, the nominal
// step, the report and curves, and what the window and the report tool make of them: the graph's
// data sets, the lines after the report and the verdict.

#include "fuzz/fuzz_checks.h"
#include "model/presentation.h"
#include "model/verdict.h"

#include <ctime>

namespace
{
// Loading is linear in the input. Processor time, not the clock, so a busy machine does not fail it;
// the budget is some eight times what the slowest kind (a temperature log of many sensors) takes per
// byte in the sanitizer build, so only a blow-up fails it.
constexpr double BUDGET_SECONDS = 0.1;
constexpr double BUDGET_SECONDS_PER_BYTE = 50e-6;

void Check_Time(std::clock_t start, size_t size)
{
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    if (seconds > BUDGET_SECONDS + BUDGET_SECONDS_PER_BYTE * static_cast<double>(size))
    {
        FuzzChecks::Fail("the load took longer than linear in its size");
    }
}

void Check_Presentation(const TMeasurementLoad &load, size_t size)
{
    // The three forms of tolerance, chosen by the input so that every input sees the same one.
    static const char *const EXPRESSIONS[] = {"0.012+0.006L/1000 | 0.015", "0.005+0.01L/1000", "0.01"};
    TTolerance tolerance;
    tolerance.Set_Expression(QLatin1String(EXPRESSIONS[size % 3]));
    tolerance.Update();

    const TPresentation presentation =
        Presentation::Present(load.contents, load.graph_data, tolerance, size % 2);
    for (const TGraphTypes::TDataSet &set : presentation.data_sets)
    {
        FuzzChecks::Check_Curves({set.dataset_points});
    }
    FuzzChecks::Check_Lines(presentation.extra_lines);
    const TVerdict verdict = Verdict::Evaluate(load.contents, load.graph_data, tolerance,
                                               load.record ? load.record->unreadable_lines : 0);
    if (load.record && load.record->unreadable_lines < 0)
    {
        FuzzChecks::Fail("a negative count of unreadable lines");
    }
    FuzzChecks::Check_Lines({verdict.line});
    if ((verdict.verdict == TVerdict::VERDICT_NONE) != verdict.line.isEmpty())
    {
        FuzzChecks::Fail("a verdict without its line, or a line without a verdict");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzChecks::TFuzzNominalSource nominals;
    if (size > static_cast<size_t>(MeasurementLoad::LARGEST_FILE_SIZE))
    {
        return -1;
    }
    const std::clock_t start = std::clock();
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(FuzzChecks::Bytes(data, size), &nominals);
    FuzzChecks::Check_Lines(load.report_lines);
    FuzzChecks::Check_Curves(load.graph_data);
    if (!load.Succeeded())
    {
        if (load.report_lines.size() != 1 || !load.report_lines.front().startsWith(QLatin1String("ERR  ")))
        {
            FuzzChecks::Fail("a failed load did not end in one error line");
        }
        Check_Time(start, size);
        return 0;
    }
    if (load.record->file_contents != load.contents)
    {
        FuzzChecks::Fail("the record's kind differs from the recognised kind");
    }
    Check_Presentation(load, size);
    Check_Time(start, size);
    return 0;
}
