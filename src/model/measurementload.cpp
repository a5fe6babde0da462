#include "model/measurementload.h"

#include "model/measuredata_factory.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace
{
const char ERROR_PREFIX[] = "ERR  ";

void Set_Error_Line(TMeasurementLoad *load, const QString &message)
{
    load->report_lines = QStringList(QLatin1String(ERROR_PREFIX) + message);
}

// Gives the messages of this file a translation context that lupdate can see.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(MeasurementLoad)
};

// Why a path is no measurement file before its size is even looked at; empty when it is a regular file
// (or no path was given). The first sentence is the line the size and open checks would give.
QString Not_A_File(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0)
    {
        const int cause = errno;
        struct stat link = {};
        if (cause == ELOOP)
            return Text::tr("Cannot open measurement data file. Its symbolic links form a loop.");
        if (cause == ENOENT && ::lstat(native.constData(), &link) == 0)
            return Text::tr(
                "Input file too small to be a measurement data file. It is a symbolic link to a file "
                "that does not exist.");
        if (cause == ENOENT || cause == ENOTDIR)
            return Text::tr("Input file too small to be a measurement data file. The file does not exist.");
        return Text::tr("Cannot open measurement data file. %1.")
            .arg(QString::fromLocal8Bit(std::strerror(cause)));
    }
    if (S_ISDIR(info.st_mode))
        return Text::tr("Cannot open measurement data file. It is a folder.");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return Text::tr("Cannot open measurement data file. It is a device, not a file.");
    if (S_ISFIFO(info.st_mode))
        return Text::tr("Cannot open measurement data file. It is a FIFO (named pipe), not a file.");
    if (!S_ISREG(info.st_mode))
        return Text::tr("Cannot open measurement data file. It is not a regular file.");
    return QString();
}

// Looks up the gauge's nominal positions and hands them to the record.
bool Apply_Nominals(TMeasureData *record, const TNominalSource &nominals, QString *message)
{
    const QString serial = record->Equipment_Identification();
    std::vector<double> nominal_values;
    if (!nominals.Find_Nominal_Values(serial, &nominal_values))
    {
        *message = nominals.Lookup_Failure(serial);
        return false;
    }
    if (!record->Set_Nominal_Data(nominal_values))
    {
        *message = record->last_error;
        return false;
    }
    return true;
}
} // namespace

QString TMeasurementLoad::Failure_Reason() const
{
    QString reason = report_lines.value(0);
    if (reason.startsWith(QLatin1String(ERROR_PREFIX)))
        reason.remove(0, int(std::strlen(ERROR_PREFIX)));
    return reason;
}

QString TNominalSource::Lookup_Failure(const QString &serial) const
{
    return Text::tr("Stepgauge nominal data for gauge '%1' not found.").arg(serial);
}

TMeasurementLoad MeasurementLoad::Load_File(const QString &path, const TNominalSource *nominals)
{
    TMeasurementLoad load;

    // Checked first: a FIFO must never be opened (it would wait for a writer), and the size of a
    // folder or a device says nothing.
    const QString not_a_file = Not_A_File(path);
    if (!not_a_file.isEmpty())
    {
        Set_Error_Line(&load, not_a_file);
        return load;
    }
    // An empty path has size 0 and is reported as too small.
    const qint64 size = path.isEmpty() ? 0 : QFileInfo(path).size();
    if (size > LARGEST_FILE_SIZE)
    {
        Set_Error_Line(&load, Text::tr("Input file too large to be a measurement data file."));
        return load;
    }
    if (size < SMALLEST_FILE_SIZE)
    {
        Set_Error_Line(&load, Text::tr("Input file too small to be a measurement data file."));
        return load;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        Set_Error_Line(&load, file.error() == QFileDevice::PermissionsError
                                  ? Text::tr("Cannot open measurement data file. It cannot be read: %1.")
                                        .arg(file.errorString())
                                  : Text::tr("Cannot open measurement data file."));
        return load;
    }
    // The file may have grown since its size was taken; never read more than the limit allows.
    const QByteArray file_data = file.read(LARGEST_FILE_SIZE + 1);
    if (file.error() != QFileDevice::NoError)
    {
        Set_Error_Line(
            &load,
            Text::tr("Cannot open measurement data file. It cannot be read: %1.").arg(file.errorString()));
        return load;
    }
    file.close();
    if (file_data.size() > LARGEST_FILE_SIZE)
    {
        Set_Error_Line(&load, Text::tr("Input file too large to be a measurement data file."));
        return load;
    }
    return Load_Contents(file_data, nominals);
}

TMeasurementLoad MeasurementLoad::Load_Contents(const QByteArray &file_data, const TNominalSource *nominals)
{
    TMeasurementLoad load;
    load.stage = TMeasurementLoad::STAGE_READ;
    load.contents = TMeasureData::Determine_File_Contents(file_data);
    load.record = Create_Measure_Record(load.contents);
    if (!load.record)
    {
        Set_Error_Line(&load, Text::tr("File contents not recognized."));
        return load;
    }

    if (!load.record->Load_Data(file_data))
    {
        Set_Error_Line(&load, load.record->last_error);
        return load;
    }
    load.stage = TMeasurementLoad::STAGE_PARSED;

    if (nominals && TMeasureData::Is_Stepgauge(load.contents))
    {
        QString message;
        if (!Apply_Nominals(load.record.get(), *nominals, &message))
        {
            Set_Error_Line(&load, message);
            return load;
        }
    }

    load.report_lines = load.record->Text_Report();
    load.graph_data = load.record->Graph_Data();
    load.graph_notes = load.record->Graph_Notes();
    load.stage = TMeasurementLoad::STAGE_COMPLETE;
    return load;
}
