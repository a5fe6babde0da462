#pragma once

#include "model/measuredata.h"

#include <QString>
#include <QStringList>

#include <vector>

class TFields;

// Best-fit validation results: one entry per fitted element, written as a keyword and blank-separated
// values, each entry followed by point data lines that are not read. The plane, line, circle and
// sphere kinds are this one reader and report, set up by a layout table.
class TValidationCommon : public TMeasureData
{
  public:
    // One fit result, lengths in mm. An element without direction (sphere) or without diameter
    // (plane, line) leaves that field zero.
    struct TResultData
    {
        TVector3 xyz;
        TVector3 ijk;
        double diameter = 0.0;
        double form = 0.0;
    };

    QStringList Text_Report() const override;
    bool Load_Data(const QByteArray &file_data) override;

    const std::vector<TResultData> &Results() const { return d_results; }

  protected:
    struct TLayout
    {
        // Gives the identification text.
        TFileContents contents;
        // Case-insensitive prefix of an entry line, printed before each entry of the report.
        const char *keyword;
        const char *entry_message;
        const char *title;
        const char *column_header;
        int rule_length;
        // Direction values, printed in a field of ijk_width with ijk_decimals.
        bool has_ijk;
        int ijk_width;
        int ijk_decimals;
        bool has_diameter;
        // Closing line of the report; nullptr for none.
        const char *note;
    };

    explicit TValidationCommon(const TLayout &layout);

  private:
    // Parts an entry needs: two leading ones that are read past, then the values.
    int Part_Count() const;
    TResultData To_Result(const TFields &parts) const;
    QString Result_Text(const TResultData &result) const;

    TLayout d_layout;
    std::vector<TResultData> d_results;
};

// Best-fit plane validation results: position, normal and flatness of each fit.
class TValidationPlane : public TValidationCommon
{
  public:
    TValidationPlane();
};

// Best-fit line validation results: position, direction and straightness of each fit.
class TValidationLine : public TValidationCommon
{
  public:
    TValidationLine();
};

// Best-fit circle validation results: centre, normal, diameter and roundness of each fit.
class TValidationCircle : public TValidationCommon
{
  public:
    TValidationCircle();
};

// Best-fit sphere validation results: centre, diameter and form of each fit.
class TValidationSphere : public TValidationCommon
{
  public:
    TValidationSphere();
};
