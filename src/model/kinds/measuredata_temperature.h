#pragma once

#include "model/measuredata.h"

#include <map>
#include <set>
#include <vector>

// Readings of the machine's numbered temperature sensors over a day; reported per sensor as
// minimum, maximum, mean and standard deviation, graphed as temperature against time of day.
class TMeasureTemperature : public TMeasureData
{
  public:
    struct TSensorData
    {
        int sensor = 0;
        int hour = 0;
        int minute = 0;
        int second = 0;
        double temperature = 0.0;
    };

    TMeasureTemperature();

    QStringList Text_Report() const override;
    std::vector<std::vector<TVector2>> Graph_Data() const override;
    // Curves go by their sensor numbers.
    TGraphNotes Graph_Notes() const override;
    bool Load_Data(const QByteArray &file_data) override;

    std::vector<TSensorData> Get_Sensor_Data(int sensor) const;
    std::vector<double> Get_Sensor_Temperatures(int sensor) const;
    // Sample standard deviation (n - 1); all four results are 0 and false for no values.
    bool Get_Statistics(const std::vector<double> &values, double *min, double *max, double *mean,
                        double *stdev) const;

    const std::vector<TSensorData> &Sensor_Data() const { return d_sensor_data; }
    const std::set<int> &Sensor_Ids() const { return d_sensor_ids; }

  private:
    std::vector<TSensorData> d_sensor_data;
    std::set<int> d_sensor_ids;
    // Positions in d_sensor_data of each sensor's readings, so that a log of many sensors is not
    // walked once per sensor.
    std::map<int, std::vector<size_t>> d_readings_of_sensor;
};
