// The whole widget-free load of a measurement file from its bytes: recognition, parsing, the nominal
// step and the report and curves the window shows.

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzChecks::TFuzzNominalSource nominals;
    if (size > static_cast<size_t>(MeasurementLoad::LARGEST_FILE_SIZE))
    {
        return -1;
    }
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(FuzzChecks::Bytes(data, size), &nominals);
    FuzzChecks::Check_Lines(load.report_lines);
    FuzzChecks::Check_Curves(load.graph_data);
    if (!load.Succeeded() &&
        (load.report_lines.size() != 1 || !load.report_lines.front().startsWith(QLatin1String("ERR  "))))
    {
        FuzzChecks::Fail("a failed load did not end in one error line");
    }
    if (load.record && load.record->file_contents != load.contents)
    {
        FuzzChecks::Fail("the record's kind differs from the recognised kind");
    }
    return 0;
}
