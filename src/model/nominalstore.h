#pragma once

#include "model/measurementload.h"

#include <QString>
#include <QStringList>

#include <vector>

class TXmlFile;

// A step gauge file that failed only because its gauge has no nominal set yet: the serial a new set
// is saved under, and the reference step, where the set's first face lies.
struct TMissingNominalSet
{
    QString serial;
    double reference_step = 0.0;
};

// The library of step gauge nominal sets: one XML file "SG_<serial>" per gauge in the folder
// Nominal_Data under a base folder. Holds the listed file names and the current set (the one most
// recently loaded or set by the editor), and answers the load pipeline's lookups.
class TNominalStore : public TNominalSource
{
  public:
    TNominalStore() = default;

    // Stores the base folder, creates Nominal_Data in it when missing and lists its files.
    void Initialize(const QString &folder);
    // Rebuilds the list of nominal file names from the folder.
    void Update_Display();

    const QString &Base_Folder() const { return d_folder; }
    QString Nominal_Folder() const { return Nominal_Folder_In(d_folder); }
    static QString Nominal_Folder_In(const QString &base_folder);
    // Names beginning with "SG_" in any letter case, sorted without regard to letter case.
    const QStringList &File_Names() const { return d_file_names; }

    // The most faces a set may have; a file with more is refused as damaged.
    static constexpr int LARGEST_FACE_COUNT = 10000;

    // The values of the listed file whose name after "SG_" is the serial (blanks around the serial
    // ignored): the exact name wins, and only when there is none the first that differs in letter case
    // only. Leaves the current set alone.
    std::vector<double> Nominal_Data(const QString &serial, bool *valid) const;
    bool Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const override;
    // Says which file is damaged when the serial's file exists but cannot be read.
    QString Lookup_Failure(const QString &serial) const override;
    // The listed name Nominal_Data reads for the serial; empty when there is none.
    QString File_Name_For_Lookup(const QString &serial) const;
    // Whether a step gauge load that ended at this stage with this record failed for want of its
    // gauge's set; not for a damaged set, a set that does not match, or a serial that cannot name a file.
    bool Missing_Set(TMeasurementLoad::TStage stage, const TMeasureData *record,
                     TMissingNominalSet *missing) const;

    // Writes the current set to the file in the nominal folder, or reads the file into it.
    bool Save_Data(const QString &file_name) const;
    bool Load_Data(const QString &file_name);
    // Reader of File_Version 1; throws TXmlFileException.
    void Load_Data_V1(TXmlFile *xml_file);
    // Deletes the file from the nominal folder; false when it could not.
    bool Remove_Data(const QString &file_name) const;

    static QString File_Name_For_Serial(const QString &serial);

    const QString &Serial_Number() const { return d_serial_number; }
    const std::vector<double> &Nominal_Values() const { return d_nominal_values; }
    void Set_Nominal(const QString &serial, const std::vector<double> &nominal_values);
    // Why the last Load_Data or Save_Data failed, for the user.
    const QString &Last_Error() const { return d_last_error; }

  private:
    // Empty for a name that is not a plain file name in the nominal folder.
    QString File_Path(const QString &file_name) const;
    static bool Read_File(const QString &path, QString *serial, std::vector<double> *nominal_values,
                          QString *error = nullptr);
    static void Read_Version_1(TXmlFile *xml_file, QString *serial, std::vector<double> *nominal_values);

    QString d_folder;
    QStringList d_file_names;
    QString d_serial_number;
    std::vector<double> d_nominal_values;
    mutable QString d_last_error;
};
