#pragma once

#include "model/measuredata.h"

#include <QString>

#include <memory>

// Everything the program knows about a kind of measurement besides its parser, one row per kind. A new
// kind is its record class and one row here.
struct TKindRow
{
    // What the graph draws of the curves.
    enum TGraphContent
    {
        GRAPH_NONE,
        GRAPH_DEVIATIONS,       // deviation curves with the E MPL limit lines
        GRAPH_LENGTH_HISTOGRAM, // the ballbar's lengths counted in bins, with the tolerance band
        GRAPH_OUTLINES,         // a measured outline, its box and the rest in grey
        GRAPH_SENSOR_CURVES     // one coloured curve per sensor
    };

    // What the verdict judges, and so which tolerance the report names.
    enum TVerdictRule
    {
        RULE_NONE,
        RULE_DEVIATIONS,        // every deviation within E MPL at its length
        RULE_LENGTH_RANGE,      // the range of lengths within the tolerance at the middle length
        RULE_TEMPERATURE_LIMITS // every reading within the temperature limits
    };

    struct TGraph
    {
        TGraphContent content;
        const char *title;
        const char *vertical_title;
        const char *horizontal_title;
        bool lock_aspect_ratio;
        bool integer_y_scale;
        bool y_includes_zero;
        bool style_buttons; // the crosses and lines buttons apply
    };

    // Column names of the curve table (CSV and clipboard); the graph's own axis titles when null.
    struct TTable
    {
        const char *x_name;
        const char *y_name;
    };

    TMeasureData::TFileContents contents;
    // The text the first line of such a file begins with.
    const char *identification;
    // Short name in summaries, file names and command lines.
    const char *key;
    std::unique_ptr<TMeasureData> (*create)();
    TGraph graph;
    TTable table;
    TVerdictRule verdict_rule;
    bool nominal_steps;            // step positions come from the nominal store
    bool lengths_from_first_point; // E MPL lengths count from the run's first position
    // The records that tell runs of this kind apart in a summary.
    bool equipment_record;   // an Equipment_Identification record, anywhere in the file
    bool description_record; // a Description record in the Measurement section
};

namespace KindTable
{
// Rows in the order identification texts are tried; no text begins with another.
const TKindRow *Begin();
const TKindRow *End();

// The row of a kind; null for CONTENTS_UNKNOWN.
const TKindRow *Find(TMeasureData::TFileContents contents);
// The row with this short key; null when there is none.
const TKindRow *Find_Key(const QString &key);
} // namespace KindTable
