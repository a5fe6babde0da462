#pragma once

#include "model/measuredata.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

class TFields;

class TRecordReader;

// A fitted feature as the measuring software writes it on one line:
// "<description> XYZ:x,y,z Diam:d Form:f".
struct TFeatureData
{
    QString description;
    TVector3 xyz;
    double diameter = 0.0;
    double form = 0.0;
};

namespace MeasureFeature
{
// Reads the keys from the end of the line backwards ("Form:", then "Diam:" and "XYZ:" in what is
// left before it), so the keys must stand in that order. Values read before a failure stay in
// feature; the failure's message goes to message.
bool Read_Feature_Record(const QString &line, TFeatureData *feature, QString *message);

// Label right-aligned in label_width characters, then ": " and the text.
QString Labelled(const QString &label, int label_width, const QString &text);
} // namespace MeasureFeature

// Pin, ring and sphere form files: an Alignment section, the probe, one feature record outside
// the sections and a Point_Data section of probed points.
class TMeasureFeature : public TMeasureData
{
  public:
    const TFeatureData &Feature() const { return d_feature; }

  protected:
    struct TFeatureLayout
    {
        // The feature record is the line outside the sections that begins with this word.
        const char *feature_word;
    };

    // The whole load except the points, which go one by one to Read_Point.
    bool Read_Feature_File(const QByteArray &file_data, const TFeatureLayout &layout);
    // A record of the kind valid anywhere in the file, besides the probe records.
    virtual bool Read_Kind_Record(TRecordReader *reader);
    // One line of the point data section, split at commas.
    virtual void Read_Point(const TFields &parts) = 0;

    // The four feature lines (description, XYZ, Diam, Form), labels right-aligned in label_width.
    void Feature_Lines(QStringList *lines, int label_width) const;
    // "Data Points" heading, the column header, then one row per point.
    static void Points_Heading(QStringList *lines, const QString &column_header);
    // Position and normal, then the further values, each right-aligned in 12 characters.
    static QString Point_Row(const TVector3 &xyz, const TVector3 &ijk, std::initializer_list<double> values);

    TFeatureData d_feature;
};
