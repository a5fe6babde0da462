// One record kind's parser on any bytes after its identification line (the harness is compiled once
// per kind with QUILLON_FUZZ_KIND set to the kind's short key), so no time is spent on recognition.

#include "fuzz/fuzz_checks.h"

#include "model/kindtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzChecks::TFuzzNominalSource nominals;
    static const TKindRow *const kind = KindTable::Find_Key(QStringLiteral(QUILLON_FUZZ_KIND));
    if (!kind)
    {
        FuzzChecks::Fail("the harness was built for a kind the table does not have");
    }
    static const QByteArray identification = kind->identification;

    QByteArray file_data = FuzzChecks::Bytes(data, size);
    // The viewer hands a record only files of plain text.
    if (TMeasureData::Determine_File_Encoding(file_data) != TMeasureData::ENCODING_ASCII)
    {
        return -1;
    }
    // Example files carry the line already.
    if (!file_data.startsWith(identification))
    {
        file_data.prepend(identification + '\n');
    }
    std::unique_ptr<TMeasureData> record = kind->create();
    if (!record->Load_Data(file_data))
    {
        if (record->last_error.isEmpty())
        {
            FuzzChecks::Fail("a failed load left no message");
        }
        return 0;
    }
    if (kind->nominal_steps)
    {
        std::vector<double> nominal_values;
        if (nominals.Find_Nominal_Values(record->Equipment_Identification(), &nominal_values) &&
            !record->Set_Nominal_Data(nominal_values))
        {
            return 0;
        }
    }
    FuzzChecks::Check_Lines(record->Text_Report());
    FuzzChecks::Check_Curves(record->Graph_Data());
    return 0;
}
