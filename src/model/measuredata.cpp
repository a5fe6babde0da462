#include "model/measuredata.h"

#include "model/kindtable.h"
#include "model/measuredata_grammar.h"

#include <QCoreApplication>
#include <QLatin1String>
#include <QtEndian>

#include <cstdint>

namespace
{
bool Is_Text_Byte(unsigned char byte)
{
    return byte == 9 || byte == 10 || byte == 13 || (byte >= 32 && byte <= 127);
}

} // namespace

const char *const MeasureMessage::DATA_MISSING = "Data missing from measurement file.";
const char *const MeasureMessage::STEPGAUGE_IDENTIFICATION = "Stepgauge identification line not recognized";
const char *const MeasureMessage::ARTIFACT_IDENTIFICATION = "Artifact identification line not recognized";

TMeasureData::~TMeasureData() = default;

QString TMeasureData::Equipment_Identification() const
{
    return QString();
}

QStringList TMeasureData::Text_Report() const
{
    return QStringList();
}

std::vector<std::vector<TVector2>> TMeasureData::Graph_Data() const
{
    return std::vector<std::vector<TVector2>>();
}

TGraphNotes TMeasureData::Graph_Notes() const
{
    TGraphNotes notes;
    notes.unreadable_lines = unreadable_lines;
    return notes;
}

bool TMeasureData::Set_Nominal_Data(const std::vector<double> &)
{
    return false;
}

TMeasureData::TFileEncoding TMeasureData::Determine_File_Encoding(const QByteArray &file_data)
{
    // Eight bytes at a time: a byte of 128 or above shows its high bit, a byte below 32 borrows into
    // it. Only the bytes so marked, mostly line ends, are looked at one by one.
    const char *data = file_data.constData();
    const qsizetype size = file_data.size();
    const std::uint64_t high_bits = 0x8080808080808080u;
    const std::uint64_t blanks = 0x2020202020202020u;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8)
    {
        const std::uint64_t word = qFromLittleEndian<quint64>(data + i);
        std::uint64_t marked = (word | (((word | high_bits) - blanks) ^ high_bits)) & high_bits;
        while (marked != 0)
        {
            // Read as little-endian, the lowest marked bit belongs to the first marked byte.
            const int byte = __builtin_ctzll(marked) / 8;
            if (!Is_Text_Byte(static_cast<unsigned char>(data[i + byte])))
            {
                return ENCODING_UNKNOWN;
            }
            marked &= marked - 1;
        }
    }
    for (; i < size; ++i)
    {
        if (!Is_Text_Byte(static_cast<unsigned char>(data[i])))
        {
            return ENCODING_UNKNOWN;
        }
    }
    return ENCODING_ASCII;
}

TMeasureData::TFileContents TMeasureData::Determine_File_Contents(const QByteArray &file_data)
{
    if (Determine_File_Encoding(file_data) != ENCODING_ASCII || file_data.isEmpty())
    {
        return CONTENTS_UNKNOWN;
    }

    int end = file_data.indexOf('\n');
    if (end < 0)
    {
        end = file_data.size();
    }
    const QString first_line = QString::fromLatin1(file_data.constData(), end).trimmed();

    for (const TKindRow *row = KindTable::Begin(); row != KindTable::End(); ++row)
    {
        if (first_line.startsWith(QLatin1String(row->identification), Qt::CaseSensitive))
        {
            return row->contents;
        }
    }
    return CONTENTS_UNKNOWN;
}

QString TMeasureData::Identification_Text(TFileContents contents)
{
    const TKindRow *row = KindTable::Find(contents);
    return row ? QString(QLatin1String(row->identification)) : QString();
}

bool TMeasureData::Is_Stepgauge(int contents)
{
    const TKindRow *row = KindTable::Find(static_cast<TFileContents>(contents));
    return row && row->nominal_steps;
}

bool TMeasureData::Fail(const QString &message)
{
    last_error = message;
    return false;
}

bool TMeasureData::Read_Probe_Record(TRecordReader *reader)
{
    return Read_Probe_Record(reader, &probe_offset, &probe_vector);
}

bool TMeasureData::Read_Probe_Record(TRecordReader *reader, TVector3 *offset, TVector3 *vector)
{
    return reader->Vector(QStringLiteral("Probe_Offset:"), offset,
                          QCoreApplication::translate("TMeasureData", "Probe offset data not recognized.")) ||
           reader->Vector(QStringLiteral("Probe_Vector:"), vector,
                          QCoreApplication::translate("TMeasureData", "Probe vector data not recognized."));
}

bool TMeasureData::Read_Alignment_Record(TRecordReader *reader, int alignment_section)
{
    if (!reader->Only_Open(alignment_section))
    {
        return false;
    }
    static const char *const KEYS[4] = {"X_Axis:", "Y_Axis:", "Z_Axis:", "Translation:"};
    static const char *const MESSAGES[4] = {
        "X Alignment data not recognized.", "Y Alignment data not recognized.",
        "Z Alignment data not recognized.", "Alignment translation data not recognized."};
    for (int row = 0; row < 4; ++row)
    {
        TVector3 values;
        if (reader->Vector(QLatin1String(KEYS[row]), &values, QLatin1String(MESSAGES[row])))
        {
            if (!reader->Failed())
            {
                alignment[4 * row] = values.x;
                alignment[4 * row + 1] = values.y;
                alignment[4 * row + 2] = values.z;
            }
            return true;
        }
    }
    return false;
}
