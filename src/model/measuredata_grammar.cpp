#include "measuredata_grammar.h"

#include <cmath>

TRecordReader::TRecordReader(const QByteArray &file_data) : TRecordReader(file_data, TOptions()) {}

TRecordReader::TRecordReader(const QByteArray &file_data, const TOptions &options)
    // Explicit size: Qt 5's QByteArray overload stops at the first NUL byte, Qt 6's does not.
    : d_options(options), d_text(QString::fromUtf8(file_data.constData(), file_data.size()))
{
}

bool TRecordReader::Next_Line()
{
    while (d_position < d_text.size())
    {
        // Lines end at LF or CR LF; a final LF does not start another line.
        int end = d_text.indexOf(QLatin1Char('\n'), d_position);
        if (end < 0)
        {
            end = d_text.size();
        }
        int length = end - d_position;
        if (length > 0 && d_text.at(end - 1) == QLatin1Char('\r'))
        {
            --length;
        }
        const QString raw = d_text.mid(d_position, length);
        d_position = end + 1;

        d_line = d_options.simplify ? raw.simplified() : raw.trimmed();
        if (d_line.startsWith(QLatin1Char('#')))
        {
            continue;
        }
        if (d_line.isEmpty() && !d_options.keep_empty_lines)
        {
            continue;
        }
        return true;
    }
    d_line.clear();
    return false;
}

bool TRecordReader::Read_Identification(const QString &identification)
{
    return Next_Line() && d_line.startsWith(identification, Qt::CaseSensitive);
}

int TRecordReader::Add_Section(const QString &begin_marker, const QString &end_marker)
{
    TSection section;
    section.begin_marker = begin_marker;
    section.end_marker = end_marker;
    d_sections.push_back(section);
    return static_cast<int>(d_sections.size()) - 1;
}

bool TRecordReader::Read_Section_Marker()
{
    for (TSection &section : d_sections)
    {
        if (d_line.compare(section.begin_marker, Qt::CaseInsensitive) == 0)
        {
            section.open = true;
            if (!Seen(section.begin_marker))
            {
                d_seen.append(section.begin_marker);
            }
            return true;
        }
        if (d_line.compare(section.end_marker, Qt::CaseInsensitive) == 0)
        {
            section.open = false;
            return true;
        }
    }
    return false;
}

bool TRecordReader::Only_Open(int section) const
{
    for (int i = 0; i < static_cast<int>(d_sections.size()); ++i)
    {
        if (d_sections[i].open != (i == section))
        {
            return false;
        }
    }
    return section >= 0 && section < static_cast<int>(d_sections.size());
}

bool TRecordReader::None_Open() const
{
    for (const TSection &section : d_sections)
    {
        if (section.open)
        {
            return false;
        }
    }
    return true;
}

bool TRecordReader::Key(const QString &key, QString *value)
{
    if (!d_line.startsWith(key, Qt::CaseInsensitive))
    {
        return false;
    }
    if (value)
    {
        *value = d_line.mid(key.size());
    }
    if (!Seen(key))
    {
        d_seen.append(key);
    }
    return true;
}

bool TRecordReader::Key_In(int section, const QString &key, QString *value)
{
    return Only_Open(section) && Key(key, value);
}

bool TRecordReader::Number_In(int section, const QString &key, double *number)
{
    QString value;
    if (!Key_In(section, key, &value))
    {
        return false;
    }
    *number = MeasureGrammar::To_Number(value);
    return true;
}

bool TRecordReader::Vector(const QString &key, TVector3 *vector, const QString &message)
{
    QString value;
    if (!Key(key, &value))
    {
        return false;
    }
    if (!MeasureGrammar::To_Vector(value, vector))
    {
        d_error = message;
    }
    return true;
}

bool TRecordReader::Vector_In(int section, const QString &key, TVector3 *vector, const QString &message)
{
    return Only_Open(section) && Vector(key, vector, message);
}

bool TRecordReader::Seen(const QString &key_or_begin_marker) const
{
    return d_seen.contains(key_or_begin_marker);
}

bool TRecordReader::Seen_All(std::initializer_list<const char *> keys_and_begin_markers) const
{
    for (const char *key : keys_and_begin_markers)
    {
        if (!Seen(QLatin1String(key)))
        {
            return false;
        }
    }
    return true;
}

double MeasureGrammar::To_Number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return (ok && std::isfinite(value)) ? value : 0.0;
}

int MeasureGrammar::To_Integer(const QString &text)
{
    return text.toInt();
}

QStringList MeasureGrammar::Split_List(const QString &text)
{
    return text.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

QStringList MeasureGrammar::Split_Blanks(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

std::vector<double> MeasureGrammar::To_Numbers(const QStringList &parts)
{
    std::vector<double> numbers;
    numbers.reserve(static_cast<size_t>(parts.size()));
    for (const QString &part : parts)
    {
        numbers.push_back(To_Number(part));
    }
    return numbers;
}

bool MeasureGrammar::To_Vector(const QString &text, TVector3 *vector)
{
    const QStringList parts = Split_List(text);
    if (parts.size() != 3)
    {
        return false;
    }
    *vector = TVector3(To_Number(parts[0]), To_Number(parts[1]), To_Number(parts[2]));
    return true;
}
