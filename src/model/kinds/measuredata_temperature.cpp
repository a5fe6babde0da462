#include "model/kinds/measuredata_temperature.h"

#include "base/assertion.h"
#include "model/measuredata_grammar.h"
#include "model/measuredata_report.h"

#include <cmath>

namespace
{
const int TIME_STAMP_LENGTH = 8;

// Time stamp characters 1-2 hour, 3-4 minute, 5-6 second; the outer two are not examined.
bool Read_Reading(const QString &line, TMeasureTemperature::TSensorData *reading)
{
    const TFields fields = MeasureGrammar::Split_List(line);
    if (fields.size() != 3 || fields[0].size() != TIME_STAMP_LENGTH)
    {
        return false;
    }
    reading->sensor = MeasureGrammar::To_Integer(fields[1]);
    reading->temperature = MeasureGrammar::To_Number(fields[2]);
    if (reading->sensor == 0 || !(reading->temperature > 0.0))
    {
        return false;
    }
    const QStringView stamp = fields[0];
    reading->hour = MeasureGrammar::To_Integer(stamp.mid(1, 2));
    reading->minute = MeasureGrammar::To_Integer(stamp.mid(3, 2));
    reading->second = MeasureGrammar::To_Integer(stamp.mid(5, 2));
    return true;
}
} // namespace

TMeasureTemperature::TMeasureTemperature()
{
    file_contents = CONTENTS_TEMPERATURE;
}

bool TMeasureTemperature::Load_Data(const QByteArray &file_data)
{
    d_sensor_data.clear();
    d_sensor_ids.clear();
    d_readings_of_sensor.clear();

    TRecordReader reader(file_data, &unreadable_lines);
    if (!reader.Read_Identification(Identification_Text(TFileContents(file_contents))))
    {
        return Fail(QStringLiteral("File identification line not recognized"));
    }

    while (reader.Next_Line())
    {
        TSensorData reading;
        if (Read_Reading(reader.Line(), &reading))
        {
            d_readings_of_sensor[reading.sensor].push_back(d_sensor_data.size());
            d_sensor_data.push_back(reading);
            d_sensor_ids.insert(reading.sensor);
        }
        else
        {
            MeasureGrammar::Drop_Line();
        }
    }

    if (d_sensor_data.empty() || d_sensor_ids.empty())
    {
        return Fail(QLatin1String(MeasureMessage::DATA_MISSING));
    }
    return true;
}

std::vector<TMeasureTemperature::TSensorData> TMeasureTemperature::Get_Sensor_Data(int sensor) const
{
    std::vector<TSensorData> readings;
    const auto found = d_readings_of_sensor.find(sensor);
    if (found != d_readings_of_sensor.end())
    {
        readings.reserve(found->second.size());
        for (const size_t index : found->second)
        {
            readings.push_back(d_sensor_data[index]);
        }
    }
    return readings;
}

std::vector<double> TMeasureTemperature::Get_Sensor_Temperatures(int sensor) const
{
    std::vector<double> temperatures;
    const auto found = d_readings_of_sensor.find(sensor);
    if (found != d_readings_of_sensor.end())
    {
        temperatures.reserve(found->second.size());
        for (const size_t index : found->second)
        {
            temperatures.push_back(d_sensor_data[index].temperature);
        }
    }
    return temperatures;
}

bool TMeasureTemperature::Get_Statistics(const std::vector<double> &values, double *min, double *max,
                                         double *mean, double *stdev) const
{
    QUILLON_ASSERT(min);
    QUILLON_ASSERT(max);
    QUILLON_ASSERT(mean);
    QUILLON_ASSERT(stdev);
    *min = *max = *mean = *stdev = 0.0;
    if (values.empty())
    {
        return false;
    }

    *min = *max = values.front();
    double sum = 0.0;
    for (const double value : values)
    {
        sum += value;
        if (value < *min)
        {
            *min = value;
        }
        if (value > *max)
        {
            *max = value;
        }
    }
    const double count = static_cast<double>(values.size());
    *mean = sum / count;

    if (values.size() > 1)
    {
        double squares = 0.0;
        for (const double value : values)
        {
            squares += (value - *mean) * (value - *mean);
        }
        *stdev = std::sqrt(squares / (count - 1.0));
    }
    return true;
}

QStringList TMeasureTemperature::Text_Report() const
{
    QStringList lines;
    MeasureReport::Title(&lines, QStringLiteral("Temperature Log"));
    for (const int sensor : d_sensor_ids)
    {
        MeasureReport::Heading_Rule(&lines, QStringLiteral("Sensor: %1").arg(sensor));
        double min = 0.0;
        double max = 0.0;
        double mean = 0.0;
        double stdev = 0.0;
        if (Get_Statistics(Get_Sensor_Temperatures(sensor), &min, &max, &mean, &stdev))
        {
            lines.append(QStringLiteral("  Min:   %1 C").arg(MeasureReport::Number(min, 6, 2)));
            lines.append(QStringLiteral("  Max:   %1 C").arg(MeasureReport::Number(max, 6, 2)));
            lines.append(QStringLiteral("  Mean:  %1 C").arg(MeasureReport::Number(mean, 6, 2)));
            lines.append(QStringLiteral("  Stdev: %1 C").arg(MeasureReport::Number(stdev, 6, 2)));
        }
        else
        {
            lines.append(QStringLiteral("<Unable to calculate statistics>"));
        }
        lines.append(QString());
    }
    return lines;
}

TGraphNotes TMeasureTemperature::Graph_Notes() const
{
    TGraphNotes notes = TMeasureData::Graph_Notes();
    // Every sensor number comes from a reading, so each has its curve.
    notes.curve_numbers.assign(d_sensor_ids.begin(), d_sensor_ids.end());
    return notes;
}

std::vector<std::vector<TVector2>> TMeasureTemperature::Graph_Data() const
{
    std::vector<std::vector<TVector2>> curves;
    for (const int sensor : d_sensor_ids)
    {
        std::vector<TVector2> curve;
        for (const TSensorData &reading : Get_Sensor_Data(sensor))
        {
            const double hours = (reading.minute / 60.0 + reading.hour) + reading.second / 3600.0;
            curve.push_back(TVector2(hours, reading.temperature));
        }
        if (!curve.empty())
        {
            curves.push_back(curve);
        }
    }
    return curves;
}
