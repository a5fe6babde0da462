#include "model/kindtable.h"

#include "model/kinds/measuredata_ballbar.h"
#include "model/kinds/measuredata_circlegauge.h"
#include "model/kinds/measuredata_gaugeblock.h"
#include "model/kinds/measuredata_machinelaser10360.h"
#include "model/kinds/measuredata_machinelaserpmove.h"
#include "model/kinds/measuredata_pftu.h"
#include "model/kinds/measuredata_pointrepeat.h"
#include "model/kinds/measuredata_probe.h"
#include "model/kinds/measuredata_rpt.h"
#include "model/kinds/measuredata_stepgauge10360.h"
#include "model/kinds/measuredata_stepgaugeb89.h"
#include "model/kinds/measuredata_stepgaugesquare.h"
#include "model/kinds/measuredata_temperature.h"
#include "model/kinds/measuredata_validation.h"
#include "model/measuredata_factory.h"

#include <QCoreApplication>

#include <iterator>

namespace
{
template <class TRecord> std::unique_ptr<TMeasureData> Create()
{
    return std::make_unique<TRecord>();
}

using TRow = TKindRow;
using TData = TMeasureData;

// Graph texts are marked for lupdate here and translated where the graph is set up.
constexpr TRow::TGraph NO_GRAPH = {TRow::GRAPH_NONE, nullptr, nullptr, nullptr, false, false, true, false};
constexpr TRow::TTable AXIS_TITLES = {nullptr, nullptr};
constexpr TRow::TTable PLAIN_XY = {"X", "Y"};

constexpr TRow::TGraph Deviation_Graph(const char *title, bool y_includes_zero)
{
    return {TRow::GRAPH_DEVIATIONS,
            title,
            QT_TRANSLATE_NOOP("QuillonGraph", "Deviation"),
            QT_TRANSLATE_NOOP("QuillonGraph", "Length"),
            false,
            false,
            y_includes_zero,
            true};
}

constexpr TRow::TGraph Outline_Graph(const char *title)
{
    return {TRow::GRAPH_OUTLINES,
            title,
            QT_TRANSLATE_NOOP("QuillonGraph", "Y Axis"),
            QT_TRANSLATE_NOOP("QuillonGraph", "X Axis"),
            true,
            false,
            true,
            false};
}

const TRow ROWS[] = {
    {TData::CONTENTS_STEPGAUGE_10360, "B89.4.10360_Raw_Measurement:Version=2:Type=Five_Gauge",
     "stepgauge_10360", Create<TMeasureStepgauge10360>,
     Deviation_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Step Gauge 10360"), true), AXIS_TITLES,
     TRow::RULE_DEVIATIONS, true, false, true, true},
    {TData::CONTENTS_STEPGAUGE_B89, "B89.4.1_Raw_Measurement:Version=1:Type=Step_Gauge", "stepgauge_b89",
     Create<TMeasureStepgaugeB89>,
     Deviation_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Step Gauge B89.4.1"), true), AXIS_TITLES,
     TRow::RULE_DEVIATIONS, true, false, true, true},
    {TData::CONTENTS_STEPGAUGE_SQUARE, "Stepgauge_Raw_Measurement:Version=1:Type=Squareness",
     "stepgauge_squareness", Create<TMeasureStepgaugeSquare>,
     Deviation_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Step Gauge Square"), true), AXIS_TITLES,
     TRow::RULE_DEVIATIONS, true, false, true, true},
    {TData::CONTENTS_GAUGEBLOCK, "B89.4.10360_Raw_Measurement:Version=1:Type=Single_Gauge", "gaugeblock",
     Create<TMeasureGaugeblock>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, true, true},
    {TData::CONTENTS_SPHERE_RPT, "B89.4.10360_Raw_Measurement:Version=2:Type=Sphere_Repeat", "sphere_rpt",
     Create<TMeasureRPT>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_SPHERE_PFTU, "B89.4.10360_Raw_Measurement:Version=1:Type=Sphere_Pftu", "sphere_pftu",
     Create<TMeasurePFTU>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
    // The ballbar's curve table holds lengths and their deviation from the mean, not the counts drawn.
    {TData::CONTENTS_BALLBAR,
     "B89.4.1_Data:Version=1:Type=BallBar",
     "ballbar",
     Create<TMeasureBallbar>,
     {TRow::GRAPH_LENGTH_HISTOGRAM, QT_TRANSLATE_NOOP("QuillonGraph", "Ballbar"),
      QT_TRANSLATE_NOOP("QuillonGraph", "Measurement Count"), QT_TRANSLATE_NOOP("QuillonGraph", "Length"),
      false, true, true, false},
     {"Length", "Deviation"},
     TRow::RULE_LENGTH_RANGE,
     false,
     false,
     false,
     false},
    {TData::CONTENTS_POINT_REPEAT, "Artifact_Measurement:Version=1:Type=Point_Repeat", "point_repeat",
     Create<TMeasurePointRepeat>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, true},
    {TData::CONTENTS_RING_GAUGE, "Artifact_Measurement:Version=1:Type=Ring_Gauge", "ring_gauge",
     Create<TMeasureRing>, Outline_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Ring Gauge")), AXIS_TITLES,
     TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_PIN_GAUGE, "Artifact_Measurement:Version=1:Type=Pin_Gauge", "pin_gauge",
     Create<TMeasurePin>, Outline_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Pin Gauge")), AXIS_TITLES,
     TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_PROBE, "Artifact_Measurement:Version=1:Type=Tip_Calibration", "probe_calibration",
     Create<TMeasureProbe>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_TEMPERATURE,
     "Temperature_Log:Version=1:Type=Machine_Sensors",
     "temperature",
     Create<TMeasureTemperature>,
     {TRow::GRAPH_SENSOR_CURVES, QT_TRANSLATE_NOOP("QuillonGraph", "Temperature Log"),
      QT_TRANSLATE_NOOP("QuillonGraph", "Celsius"), QT_TRANSLATE_NOOP("QuillonGraph", "Hour"), false, false,
      false, false},
     AXIS_TITLES,
     TRow::RULE_TEMPERATURE_LIMITS,
     false,
     false,
     false,
     false},
    {TData::CONTENTS_LASER_10360, "B89.4.10360_Raw_Measurement:Version=1:Type=Machine_And_Laser",
     "laser_10360", Create<TMeasureMachineLaser10360>,
     Deviation_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Laser 10360"), false), AXIS_TITLES,
     TRow::RULE_DEVIATIONS, false, false, false, true},
    {TData::CONTENTS_LASER_PMOVE, "PMove_Raw_Measurement:Version=1:Type=Machine_And_Laser", "laser_pmove",
     Create<TMeasureMachineLaserPMove>,
     Deviation_Graph(QT_TRANSLATE_NOOP("QuillonGraph", "Laser Data Collection"), false), AXIS_TITLES,
     TRow::RULE_DEVIATIONS, false, true, false, true},
    {TData::CONTENTS_VALIDATION_SPHERE, "Best_Fit_Validation:Version=1:Type=Sphere", "validation_sphere",
     Create<TValidationSphere>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_VALIDATION_PLANE, "Best_Fit_Validation:Version=1:Type=Plane", "validation_plane",
     Create<TValidationPlane>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_VALIDATION_CIRCLE, "Best_Fit_Validation:Version=1:Type=Circle", "validation_circle",
     Create<TValidationCircle>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
    {TData::CONTENTS_VALIDATION_LINE, "Best_Fit_Validation:Version=1:Type=Line", "validation_line",
     Create<TValidationLine>, NO_GRAPH, PLAIN_XY, TRow::RULE_NONE, false, false, false, false},
};
} // namespace

const TKindRow *KindTable::Begin()
{
    return std::begin(ROWS);
}

const TKindRow *KindTable::End()
{
    return std::end(ROWS);
}

const TKindRow *KindTable::Find(TMeasureData::TFileContents contents)
{
    for (const TKindRow &row : ROWS)
    {
        if (row.contents == contents)
            return &row;
    }
    return nullptr;
}

const TKindRow *KindTable::Find_Key(const QString &key)
{
    for (const TKindRow &row : ROWS)
    {
        if (key == QLatin1String(row.key))
            return &row;
    }
    return nullptr;
}

std::unique_ptr<TMeasureData> Create_Measure_Record(TMeasureData::TFileContents contents)
{
    const TKindRow *row = KindTable::Find(contents);
    return row ? row->create() : nullptr;
}
