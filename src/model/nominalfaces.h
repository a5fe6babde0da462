#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The arithmetic of the nominal editor: the ideal face positions of a step gauge from its pitch and
// length, the pitch of a stored set, and the deviations in micrometres shown for its faces.
namespace NominalFaces
{
// A set beyond this many faces is refused rather than generated (an end of 1e9 or "1e300").
const int MAXIMUM_FACES = 10000;
const double MINIMUM_INCREMENT = 1.0;
const double MINIMUM_END = 2.0;

enum TPitchState
{
    PITCH_VALID = 0,
    PITCH_INCREMENT_INVALID, // below 1 mm or not a finite number
    PITCH_END_INVALID        // below 2 mm, not a finite number, or too many faces
};

// A field's number: text that is not a number counts as 0; "nan" and "inf" stay non-finite so that
// the pitch check refuses them.
double Read_Number(const QString &text);

// How the editor can show a stored set.
enum TSpacing
{
    SPACING_EVEN = 0, // faces at whole increments from the first: deviations can be shown
    SPACING_UNEVEN,   // shown only as positions, each row named by its face's stored position
    SPACING_NOT_SHOWN // fewer than two faces, more than the editor's limit, or a value not finite
};

// A face counts as at its ideal place when it is nearer than this, half the 0.1 mm the increment is
// rounded to: a gauge's real deviations are micrometres, a missing face is a whole increment.
const double EVEN_TOLERANCE = 0.05;

struct TLayout
{
    TSpacing spacing = SPACING_NOT_SHOWN;
    // The pitch fields: the derived pitch for an even set; for an uneven one the first two faces'
    // distance and the last face's position, both rounded to 0.1 mm.
    double increment = 0.0;
    double end = 0.0;
    // Each row's label in millimetres: the ideal positions of an even set, the stored positions
    // (from the first face) of an uneven one.
    std::vector<double> labels;
    // Of an uneven set, the first face away from its ideal place at even_increment, or 1 with
    // even_increment 0 when the first faces are too close for any increment.
    int uneven_face = -1;
    double even_increment = 0.0;
};

TLayout Lay_Out(const std::vector<double> &nominals);

// Increment (the first two values' distance rounded to 0.1 mm) and end ((n - 1) increments) of a
// stored set; false when the set has fewer than two values or gives an invalid pitch.
bool Derive_Pitch(const std::vector<double> &nominals, double *increment, double *end);

// The faces from start to end at the increment: their count is rounded, so the last may pass the end.
// Positions start at 0 and are accumulated by repeated addition. Empty unless the pitch is valid.
TPitchState Generate_Faces(double start, double increment, double end, std::vector<double> *positions);

// The ideal positions 0, increment, 2 increment, ... of count faces.
std::vector<double> Face_Positions(double increment, int count);

// Deviation in micrometres of a face from its ideal position, both taken from the first face.
double Deviation_Micrometres(double value, double first_value, double position);

// The value of face 'face' after a deviation in micrometres is entered for it: the ideal position
// reckoned from the first face plus the deviation. The first face itself is placed at its value
// rounded to 0.1 mm plus the deviation.
double Value_From_Deviation(const std::vector<double> &nominals, const std::vector<double> &positions,
                            int face, double micrometres);
} // namespace NominalFaces

// Serial numbers as names of nominal files.
namespace NominalSerial
{
// Why the serial cannot name a nominal file; empty when it can.
QString Problem(const QString &serial);

// The listed nominal file whose name after "SG_" is the serial in any letter case; empty when none.
QString Listed_File(const QStringList &file_names, const QString &serial);
} // namespace NominalSerial
