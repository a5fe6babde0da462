#include "measurementload.h"

#include "measuredata_factory.h"

#include <QFile>
#include <QFileInfo>

namespace
{
void Set_Error_Line(TMeasurementLoad *load, const QString &message)
{
    load->report_lines = QStringList(QStringLiteral("ERR  ") + message);
}

// Looks up the gauge's nominal positions and hands them to the record.
bool Apply_Nominals(TMeasureData *record, const TNominalSource &nominals, QString *message)
{
    const QString serial = record->Equipment_Identification();
    std::vector<double> nominal_values;
    if (!nominals.Find_Nominal_Values(serial, &nominal_values))
    {
        *message = QStringLiteral("Stepgauge nominal data for gauge '%1' not found.").arg(serial);
        return false;
    }
    if (!record->Set_Nominal_Data(nominal_values))
    {
        *message = record->last_error;
        return false;
    }
    return true;
}
} // namespace

TMeasurementLoad MeasurementLoad::Load_File(const QString &path, const TNominalSource *nominals)
{
    TMeasurementLoad load;

    // A missing file or an empty path has size 0 and is reported as too small.
    const qint64 size = path.isEmpty() ? 0 : QFileInfo(path).size();
    if (size > LARGEST_FILE_SIZE)
    {
        Set_Error_Line(&load, QStringLiteral("Input file too large to be a measurement data file."));
        return load;
    }
    if (size < SMALLEST_FILE_SIZE)
    {
        Set_Error_Line(&load, QStringLiteral("Input file too small to be a measurement data file."));
        return load;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        Set_Error_Line(&load, QStringLiteral("Cannot open measurement data file."));
        return load;
    }
    // The file may have grown since its size was taken; never read more than the limit allows.
    const QByteArray file_data = file.read(LARGEST_FILE_SIZE + 1);
    file.close();
    if (file_data.size() > LARGEST_FILE_SIZE)
    {
        Set_Error_Line(&load, QStringLiteral("Input file too large to be a measurement data file."));
        return load;
    }
    return Load_Contents(file_data, nominals);
}

TMeasurementLoad MeasurementLoad::Load_Contents(const QByteArray &file_data, const TNominalSource *nominals)
{
    TMeasurementLoad load;
    load.stage = TMeasurementLoad::STAGE_READ;
    load.contents = TMeasureData::Determine_File_Contents(file_data);
    load.record = Create_Measure_Record(load.contents);
    if (!load.record)
    {
        Set_Error_Line(&load, QStringLiteral("File contents not recognized."));
        return load;
    }

    if (!load.record->Load_Data(file_data))
    {
        Set_Error_Line(&load, load.record->last_error);
        return load;
    }
    load.stage = TMeasurementLoad::STAGE_PARSED;

    if (nominals && TMeasureData::Is_Stepgauge(load.contents))
    {
        QString message;
        if (!Apply_Nominals(load.record.get(), *nominals, &message))
        {
            Set_Error_Line(&load, message);
            return load;
        }
    }

    load.report_lines = load.record->Text_Report();
    load.graph_data = load.record->Graph_Data();
    load.stage = TMeasurementLoad::STAGE_COMPLETE;
    return load;
}
