#include "model/nominalstore.h"

#include "base/assertion.h"
#include "model/kinds/measuredata_stepgaugecommon.h"
#include "model/nominalfaces.h"
#include "xml/xmlfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace
{
const char NOMINAL_FOLDER[] = "Nominal_Data";
const char FILE_PREFIX[] = "SG_";
const char IDENTIFICATION[] = "Step_Gauge_Nominal";
const int FILE_VERSION = 1;
const int DECIMALS = 5;
// Some 60 bytes a face as written, with room for hand edits and comments.
const qint64 LARGEST_FILE_SIZE = 4 * 1024 * 1024;
} // namespace

void TNominalStore::Initialize(const QString &folder)
{
    d_folder = folder;
    if (!d_folder.isEmpty())
    {
        QDir(d_folder).mkdir(QLatin1String(NOMINAL_FOLDER));
    }
    Update_Display();
}

QString TNominalStore::Nominal_Folder_In(const QString &base_folder)
{
    return base_folder + QLatin1Char('/') + QLatin1String(NOMINAL_FOLDER);
}

void TNominalStore::Update_Display()
{
    d_file_names.clear();
    if (d_folder.isEmpty())
    {
        return;
    }
    const QStringList names =
        QDir(Nominal_Folder()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names)
    {
        if (name.startsWith(QLatin1String(FILE_PREFIX), Qt::CaseInsensitive))
        {
            d_file_names.append(name);
        }
    }
}

QString TNominalStore::File_Name_For_Lookup(const QString &serial) const
{
    // The whole name after the prefix must be the serial: a suffix match would hand the values
    // of gauge 110 to gauge 10 whenever SG_10 is missing.
    const QString wanted = serial.trimmed();
    if (wanted.isEmpty())
        return QString();
    const QString exact = File_Name_For_Serial(wanted);
    if (d_file_names.contains(exact))
        return exact;
    const int prefix_length = static_cast<int>(qstrlen(FILE_PREFIX));
    for (const QString &name : d_file_names)
    {
        if (name.mid(prefix_length).compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

bool TNominalStore::Missing_Set(TMeasurementLoad::TStage stage, const TMeasureData *record,
                                TMissingNominalSet *missing) const
{
    QUILLON_ASSERT(missing);
    if (stage != TMeasurementLoad::STAGE_PARSED || !record ||
        !TMeasureData::Is_Stepgauge(record->file_contents))
        return false;
    const auto *stepgauge = dynamic_cast<const TMeasureStepgaugeCommon *>(record);
    if (!stepgauge)
        return false;
    const QString serial = stepgauge->Equipment_Identification().trimmed();
    if (!NominalSerial::Problem(serial).isEmpty() || !File_Name_For_Lookup(serial).isEmpty())
        return false;
    missing->serial = serial;
    missing->reference_step = stepgauge->Reference_Value();
    return true;
}

std::vector<double> TNominalStore::Nominal_Data(const QString &serial, bool *valid) const
{
    QUILLON_ASSERT(valid);
    *valid = false;
    std::vector<double> nominal_values;
    const QString name = File_Name_For_Lookup(serial);
    const QString path = name.isEmpty() ? QString() : File_Path(name);
    QString file_serial;
    *valid = !path.isEmpty() && Read_File(path, &file_serial, &nominal_values);
    if (!*valid)
        nominal_values.clear();
    return nominal_values;
}

QString TNominalStore::Lookup_Failure(const QString &serial) const
{
    const QString name = File_Name_For_Lookup(serial);
    QString file_serial;
    std::vector<double> values;
    QString error;
    if (name.isEmpty() || Read_File(File_Path(name), &file_serial, &values, &error))
        return TNominalSource::Lookup_Failure(serial);
    return QCoreApplication::translate("TNominalStore",
                                       "Stepgauge nominal data for gauge '%1' is damaged: file '%2': %3")
        .arg(serial, File_Path(name), error);
}

bool TNominalStore::Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const
{
    QUILLON_ASSERT(nominal_values);
    bool valid = false;
    *nominal_values = Nominal_Data(serial, &valid);
    return valid;
}

bool TNominalStore::Save_Data(const QString &file_name) const
{
    const QString path = File_Path(file_name);
    d_last_error.clear();
    if (path.isEmpty())
    {
        d_last_error = QCoreApplication::translate("TNominalStore", "ERR:  Not a nominal file name: '%1'")
                           .arg(file_name);
        return false;
    }
    try
    {
        TXmlFile xml_file;
        xml_file.Set_File_Name(path);
        xml_file.Reset(QLatin1String(IDENTIFICATION), FILE_VERSION);
        QDomElement root = xml_file.Root_Node();
        QDomElement serial_node = xml_file.Create_Node(&root, QStringLiteral("Serial_Number"));
        xml_file.Write_Text_Node(&serial_node, d_serial_number);
        QDomElement actual = xml_file.Create_Node(&root, QStringLiteral("Actual"));
        for (size_t i = 0; i < d_nominal_values.size(); ++i)
        {
            QDomElement index_node = xml_file.Create_Node(&actual, QStringLiteral("Index_%1").arg(i));
            xml_file.Write_Text_Node(&index_node, d_nominal_values[i], DECIMALS);
        }
        xml_file.Write_File(false);
    }
    catch (const TXmlFileException &exception)
    {
        d_last_error = exception.Message();
        return false;
    }
    return true;
}

bool TNominalStore::Load_Data(const QString &file_name)
{
    const QString path = File_Path(file_name);
    QString serial;
    std::vector<double> nominal_values;
    d_last_error.clear();
    if (path.isEmpty())
    {
        d_last_error = QCoreApplication::translate("TNominalStore", "ERR:  Not a nominal file name: '%1'")
                           .arg(file_name);
        return false;
    }
    if (!Read_File(path, &serial, &nominal_values, &d_last_error))
    {
        return false;
    }
    d_serial_number = serial;
    d_nominal_values = nominal_values;
    return true;
}

void TNominalStore::Load_Data_V1(TXmlFile *xml_file)
{
    QUILLON_ASSERT(xml_file);
    Read_Version_1(xml_file, &d_serial_number, &d_nominal_values);
}

bool TNominalStore::Remove_Data(const QString &file_name) const
{
    const QString path = File_Path(file_name);
    return !path.isEmpty() && QFile::remove(path);
}

QString TNominalStore::File_Name_For_Serial(const QString &serial)
{
    return QLatin1String(FILE_PREFIX) + serial;
}

void TNominalStore::Set_Nominal(const QString &serial, const std::vector<double> &nominal_values)
{
    d_serial_number = serial;
    d_nominal_values = nominal_values;
}

QString TNominalStore::File_Path(const QString &file_name) const
{
    // A serial with a path separator must not write, read or delete outside the nominal folder.
    if (d_folder.isEmpty() || file_name.isEmpty() || file_name.contains(QLatin1Char('/')) ||
        file_name == QLatin1String(".") || file_name == QLatin1String(".."))
    {
        return QString();
    }
    return Nominal_Folder() + QLatin1Char('/') + file_name;
}

bool TNominalStore::Read_File(const QString &path, QString *serial, std::vector<double> *nominal_values,
                              QString *error)
{
    try
    {
        // A file of the largest set is well below this; a bigger one is not parsed at all.
        if (QFileInfo(path).size() > LARGEST_FILE_SIZE)
        {
            throw TXmlFileException(
                QCoreApplication::translate("TNominalStore", "ERR:  More than %1 faces: the file is damaged")
                    .arg(LARGEST_FACE_COUNT),
                TXmlFileException::DATA_ERROR);
        }
        TXmlFile xml_file;
        xml_file.Set_File_Name(path);
        int version = 0;
        xml_file.Open(QLatin1String(IDENTIFICATION), &version, true);
        if (version != FILE_VERSION)
        {
            throw TXmlFileException(
                QCoreApplication::translate("TNominalStore", "ERR:  File version not recognized"),
                TXmlFileException::DATA_ERROR);
        }
        Read_Version_1(&xml_file, serial, nominal_values);
    }
    catch (const TXmlFileException &exception)
    {
        if (error)
        {
            *error = exception.Message();
        }
        return false;
    }
    return true;
}

void TNominalStore::Read_Version_1(TXmlFile *xml_file, QString *serial, std::vector<double> *nominal_values)
{
    nominal_values->clear();
    const QDomElement root = xml_file->Root_Node();
    const QDomElement serial_node = xml_file->Get_Node(&root, QStringLiteral("Serial_Number"), false);
    *serial = xml_file->Read_Text_Node(&serial_node, false);
    const QDomElement actual = xml_file->Get_Node(&root, QStringLiteral("Actual"), false);

    // Values follow Index_0, Index_1, ... and end at the first missing index. A text that is not a
    // finite number is skipped.
    QDomElement index_node = xml_file->Get_Node(&actual, QStringLiteral("Index_0"), true);
    for (int next = 1; !index_node.isNull(); ++next)
    {
        bool converted = false;
        const double value = xml_file->Read_Text_Node(&index_node, false).toDouble(&converted);
        if (converted && std::isfinite(value))
        {
            if (nominal_values->size() == static_cast<size_t>(LARGEST_FACE_COUNT))
            {
                throw TXmlFileException(QCoreApplication::translate(
                                            "TNominalStore", "ERR:  More than %1 faces: the file is damaged")
                                            .arg(LARGEST_FACE_COUNT),
                                        TXmlFileException::DATA_ERROR);
            }
            nominal_values->push_back(value);
        }
        index_node = xml_file->Get_Sibling_Node(&index_node, QStringLiteral("Index_%1").arg(next), true);
    }
}
