#pragma once

#include "geometry/mat4.h"
#include "geometry/vector3.h"

#include <QString>
#include <QStringList>

#include <vector>

#include <initializer_list>

// Report blocks that several kinds print the same way: a title with its '=' rule, blocks of a
// heading with a '-' rule, and the common Alignment, Probe, scale and temperature blocks.
namespace MeasureReport
{
// Fixed-point, right-aligned in a field of width characters (0: no filling, never cut); the same text
// as QString::arg(value, width, 'f', decimals).
QString Number(double value, int width, int decimals);
// Number appended to a line, without a string of its own.
void Append_Number(QString *line, double value, int width, int decimals);
// Numbers of one format appended to a line, the separator between them.
void Append_Numbers(QString *line, std::initializer_list<double> values, int width, int decimals,
                    QLatin1String separator);

// The degree unit of temperatures, "˚C" (U+02DA before C).
QString Degrees();

// Title, a rule of 64 '=', an empty line.
void Title(QStringList *lines, const QString &title);
// Block heading, a rule of 44 '-', an empty line.
void Heading(QStringList *lines, const QString &heading);
// Block heading and its rule, for blocks whose lines follow the rule directly.
void Heading_Rule(QStringList *lines, const QString &heading);

// Numbers in columns of width 12 with 4 decimals, two blanks apart: the measured data lines.
QString Columns(std::initializer_list<double> values);
// Heading followed by the column header "Nominal  Actual  Deviation" and an empty line.
void Deviation_Heading(QStringList *lines, const QString &heading);
// Nominal, actual and actual - nominal.
void Deviation_Line(QStringList *lines, double nominal, double actual);
// Deviation heading and one line per item (anything with nominal and actual); no closing empty line.
template <class TData>
void Deviation_Block(QStringList *lines, const QString &heading, const std::vector<TData> &data)
{
    Deviation_Heading(lines, heading);
    for (const TData &item : data)
    {
        Deviation_Line(lines, item.nominal, item.actual);
    }
}

// The four axis and origin lines of the alignment, without heading or closing empty line.
void Alignment_Lines(QStringList *lines, const TMat4 &alignment);
void Alignment_Block(QStringList *lines, const TMat4 &alignment);
void Probe_Block(QStringList *lines, const TVector3 &offset, const TVector3 &vector);
void Scale_Expansion_Block(QStringList *lines, const TVector3 &expansion);
void Temperature_Block(QStringList *lines, double x_scale, double y_scale, double z_scale, double part);
} // namespace MeasureReport
