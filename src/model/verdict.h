#pragma once

#include "geometry/vector2.h"
#include "model/measuredata.h"

#include <QColor>
#include <QString>
#include <vector>

class TTolerance;

// Whether a measurement passes against the tolerance, and the one line that says why.
struct TVerdict
{
    enum TVerdictType
    {
        VERDICT_NONE, // the kind has no verdict, or there is nothing to judge
        VERDICT_PASS,
        VERDICT_FAIL,
        VERDICT_INCOMPLETE // lines of the file could not be read, so nothing is judged
    };

    TVerdictType verdict = VERDICT_NONE;
    QString line; // empty for VERDICT_NONE
    // The deviation the line names (step gauge and laser kinds), where the graph draws it.
    bool has_worst_point = false;
    TVector2 worst_point;
};

namespace Verdict
{
// Step gauge and laser kinds: every deviation within E MPL at its length. Ballbar: the length range within
// the tolerance at the middle length. Temperature log: every reading within the tolerance's temperature
// limits. No verdict for other kinds, for curves without points, or when any value it would judge is not
// finite, so an overflowed value can never pass. A kind with a verdict whose file had unreadable lines is
// INCOMPLETE, whatever its values.
TVerdict Evaluate(TMeasureData::TFileContents kind, const std::vector<std::vector<TVector2>> &curves,
                  const TTolerance &tolerance, int unreadable_lines);

// The points of the step gauge and laser kinds the verdict counts as outside E MPL, in curve order; empty
// for other kinds.
std::vector<TVector2> Outside_Points(TMeasureData::TFileContents kind,
                                     const std::vector<std::vector<TVector2>> &curves,
                                     const TTolerance &tolerance);

// The colour a verdict is shown in; invalid (the default text colour) for VERDICT_NONE.
QColor Colour(TVerdict::TVerdictType verdict);
// The same colour as a style sheet for text; empty for VERDICT_NONE.
QString Colour_Style(TVerdict::TVerdictType verdict);
} // namespace Verdict
