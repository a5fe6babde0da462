#include "model/measuredata_grammar.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <system_error>

namespace
{
// Failed conversions and dropped lines on this thread; a reader charges a change to its current line,
// so that the conversions need not know the reader.
thread_local unsigned t_unreadable_marks = 0;
} // namespace

TRecordReader::TRecordReader(const QByteArray &file_data) : TRecordReader(file_data, TOptions()) {}

TRecordReader::TRecordReader(const QByteArray &file_data, const TOptions &options)
    // Explicit size: Qt 5's QByteArray overload stops at the first NUL byte, Qt 6's does not.
    : d_options(options), d_text(QString::fromUtf8(file_data.constData(), file_data.size()))
{
    // Old Mac files end their lines with a CR alone.
    if (!d_text.contains(QLatin1Char('\n')))
    {
        d_text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
}

TRecordReader::TRecordReader(const QByteArray &file_data, int *unreadable_lines)
    : TRecordReader(file_data, unreadable_lines, TOptions())
{
}

TRecordReader::TRecordReader(const QByteArray &file_data, int *unreadable_lines, const TOptions &options)
    : TRecordReader(file_data, options)
{
    d_unreadable_target = unreadable_lines;
    *d_unreadable_target = 0;
}

TRecordReader::~TRecordReader()
{
    if (d_unreadable_target)
    {
        *d_unreadable_target = Unreadable_Lines();
    }
}

int TRecordReader::Unreadable_Lines() const
{
    return d_unreadable_lines + (d_on_line && t_unreadable_marks != d_marks_at_line ? 1 : 0);
}

void MeasureGrammar::Drop_Line()
{
    ++t_unreadable_marks;
}

namespace
{
bool Is_Wide_Space(QChar c)
{
    return c.isSpace();
}

// Qt's own white space (trimmed, simplified, toDouble), with the ASCII test inline.
inline bool Is_Space(QChar c)
{
    const unsigned u = c.unicode();
    return u == 32 || u - 9 <= 4 || (u > 127 && Is_Wide_Space(c));
}

// Narrows [first, last) to its text without the white space around it, as trimmed() would.
void Trim(const QChar **first, const QChar **last)
{
    while (*first != *last && Is_Space(**first))
    {
        ++*first;
    }
    while (*last != *first && Is_Space((*last)[-1]))
    {
        --*last;
    }
}

// simplified() written into a reused string: no allocation once it has grown.
void Set_Simplified(QString *line, const QChar *first, const QChar *last)
{
    line->resize(static_cast<int>(last - first));
    QChar *const start = line->data();
    QChar *out = start;
    bool blank = false;
    for (; first != last; ++first)
    {
        const unsigned u = first->unicode();
        if ((u > 32 && u < 127) || !Is_Space(*first))
        {
            if (blank)
            {
                *out++ = QLatin1Char(' ');
                blank = false;
            }
            *out++ = *first;
        }
        else
        {
            blank = out != start;
        }
    }
    line->resize(static_cast<int>(out - start));
}
} // namespace

bool TRecordReader::Next_Line()
{
    d_unreadable_lines = Unreadable_Lines();
    d_on_line = false;
    const QChar *const text = d_text.constData();
    while (d_position < d_text.size())
    {
        // Lines end at LF or CR LF; a final LF does not start another line.
        int end = d_text.indexOf(QLatin1Char('\n'), d_position);
        if (end < 0)
        {
            end = d_text.size();
        }
        const QChar *first = text + d_position;
        const QChar *last = text + end;
        if (last > first && last[-1] == QLatin1Char('\r'))
        {
            --last;
        }
        d_position = end + 1;

        // Simplifying keeps the first character and whether the line is empty.
        Trim(&first, &last);
        d_line.setUnicode(first, static_cast<int>(last - first));
        d_unsettled = d_options.simplify;
        if (d_line.startsWith(QLatin1Char('#')))
        {
            continue;
        }
        if (d_line.isEmpty() && !d_options.keep_empty_lines)
        {
            continue;
        }
        d_on_line = true;
        d_marks_at_line = t_unreadable_marks;
        return true;
    }
    d_line.clear();
    return false;
}

bool TRecordReader::Read_Identification(const QString &identification)
{
    return Next_Line() && Line().startsWith(identification, Qt::CaseSensitive);
}

void TRecordReader::Settle_Line() const
{
    if (d_unsettled)
    {
        d_unsettled = false;
        Set_Simplified(&d_line, d_line.constData(), d_line.constData() + d_line.size());
    }
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
    if (!d_sections.empty())
    {
        Settle_Line();
    }
    for (TSection &section : d_sections)
    {
        // Folding case keeps the length of these ASCII markers, so a line of another length differs.
        if (d_line.size() == section.begin_marker.size() &&
            d_line.compare(section.begin_marker, Qt::CaseInsensitive) == 0)
        {
            section.open = true;
            Mark_Seen(section.begin_marker);
            Update_Only_Open();
            return true;
        }
        if (d_line.size() == section.end_marker.size() &&
            d_line.compare(section.end_marker, Qt::CaseInsensitive) == 0)
        {
            section.open = false;
            Update_Only_Open();
            return true;
        }
    }
    return false;
}

void TRecordReader::Update_Only_Open()
{
    d_only_open = -1;
    for (int i = 0; i < static_cast<int>(d_sections.size()); ++i)
    {
        if (d_sections[i].open)
        {
            if (d_only_open >= 0)
            {
                d_only_open = -1;
                return;
            }
            d_only_open = i;
        }
    }
}

bool TRecordReader::Only_Open(int section) const
{
    return section >= 0 && section == d_only_open;
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

bool TRecordReader::Matches_Key(const QString &key)
{
    // Keys and nearly all lines are ASCII, where folding case is lowering A to Z; other text is left
    // to Qt's comparison.
    if (key.size() > d_line.size())
    {
        return false;
    }
    const QChar *line = d_line.constData();
    const QChar *text = key.constData();
    for (int i = 0; i < key.size(); ++i)
    {
        ushort a = line[i].unicode();
        ushort b = text[i].unicode();
        // Up to the first blank the trimmed line and the simplified one are the same.
        if ((d_unsettled && (Is_Space(line[i]) || Is_Space(text[i]))) || (a | b) >= 128)
        {
            Settle_Line();
            if (!d_line.startsWith(key, Qt::CaseInsensitive))
            {
                return false;
            }
            break;
        }
        a = (a >= 'A' && a <= 'Z') ? static_cast<ushort>(a + 32) : a;
        b = (b >= 'A' && b <= 'Z') ? static_cast<ushort>(b + 32) : b;
        if (a != b)
        {
            return false;
        }
    }
    Mark_Seen(key);
    return true;
}

void TRecordReader::Mark_Seen(const QString &key)
{
    // A record read many times, such as a point, is usually the one seen last.
    if (key == d_last_seen)
    {
        return;
    }
    if (!Seen(key))
    {
        d_seen.append(key);
    }
    d_last_seen = key;
}

bool TRecordReader::Key(const QString &key, QString *value)
{
    if (!Matches_Key(key))
    {
        return false;
    }
    if (value)
    {
        *value = Line().mid(key.size());
    }
    return true;
}

bool TRecordReader::Key(const QString &key, QStringView *value)
{
    if (!Matches_Key(key))
    {
        return false;
    }
    *value = QStringView(Line()).mid(key.size());
    return true;
}

bool TRecordReader::Key_In(int section, const QString &key, QString *value)
{
    return Only_Open(section) && Key(key, value);
}

bool TRecordReader::Key_In(int section, const QString &key, QStringView *value)
{
    return Only_Open(section) && Key(key, value);
}

bool TRecordReader::Number_In(int section, const QString &key, double *number)
{
    QStringView value;
    if (!Key_In(section, key, &value))
    {
        return false;
    }
    *number = MeasureGrammar::To_Number(value);
    return true;
}

bool TRecordReader::Vector(const QString &key, TVector3 *vector, const QString &message)
{
    QStringView value;
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
    // The record asked about is mostly the one added last.
    return (!d_seen.isEmpty() && d_seen.last() == key_or_begin_marker) ||
           d_seen.contains(key_or_begin_marker);
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

TFields TFields::mid(int first) const
{
    TFields parts;
    for (int i = first; i < size(); ++i)
    {
        parts.append(d_parts[i]);
    }
    return parts;
}

namespace
{
const double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The usual short decimal such as -12.3456 without an exponent: digits below 2^53 and at most 22 of
// them after the point are both exact doubles, so one division rounds correctly, as Qt does. False
// for anything else.
bool Short_Decimal(const QChar *first, const QChar *last, double *value)
{
    const bool negative = first != last && *first == QLatin1Char('-');
    if (first != last && (*first == QLatin1Char('-') || *first == QLatin1Char('+')))
    {
        ++first;
    }
    // More than 18 digits could pass 2^63; such texts go to the full conversion.
    if (last - first > 19)
    {
        return false;
    }
    std::uint64_t digits = 0;
    const QChar *const start = first;
    for (; first != last; ++first)
    {
        const unsigned digit = first->unicode() - 48u;
        if (digit > 9)
        {
            break;
        }
        digits = digits * 10 + digit;
    }
    int count = static_cast<int>(first - start);
    int decimals = 0;
    if (first != last)
    {
        if (*first != QLatin1Char('.'))
        {
            return false;
        }
        const QChar *const point = ++first;
        for (; first != last; ++first)
        {
            const unsigned digit = first->unicode() - 48u;
            if (digit > 9)
            {
                return false;
            }
            digits = digits * 10 + digit;
        }
        decimals = static_cast<int>(first - point);
        count += decimals;
    }
    if (count == 0 || count > 18 || digits > (std::uint64_t(1) << 53))
    {
        return false;
    }
    const double magnitude = static_cast<double>(digits) / EXACT_POWERS_OF_TEN[decimals];
    *value = negative ? -magnitude : magnitude;
    return true;
}
} // namespace

double MeasureGrammar::To_Number(QStringView text)
{
    // Plain ASCII numbers, nearly all there are, are converted here; the rest (non-ASCII blanks or
    // digits, very long texts) by Qt. Both read the same numbers, rounded correctly.
    const QChar *first = text.data();
    const QChar *last = first + text.size();
    Trim(&first, &last);
    double short_value = 0.0;
    if (Short_Decimal(first, last, &short_value))
    {
        return short_value;
    }
    char ascii[64];
    const std::ptrdiff_t length = last - first;
    bool plain = length < static_cast<std::ptrdiff_t>(sizeof ascii);
    for (std::ptrdiff_t i = 0; plain && i < length; ++i)
    {
        const ushort c = first[i].unicode();
        plain = c < 128;
        ascii[i] = static_cast<char>(c);
    }
    if (!plain)
    {
        bool ok = false;
        const double value = text.toString().toDouble(&ok);
        if (ok && std::isfinite(value))
        {
            return value;
        }
        Drop_Line();
        return 0.0;
    }
    const char *begin = ascii;
    const char *const end = ascii + length;
    // Qt accepts one leading plus sign, from_chars none.
    if (begin != end && *begin == '+')
    {
        ++begin;
        if (begin != end && (*begin == '+' || *begin == '-'))
        {
            Drop_Line();
            return 0.0;
        }
    }
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(begin, end, value);
    if (begin == end || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
    {
        Drop_Line();
        return 0.0;
    }
    return value;
}

namespace
{
int Qt_Integer(QStringView text)
{
    bool ok = false;
    const int value = text.toString().toInt(&ok);
    if (!ok)
    {
        MeasureGrammar::Drop_Line();
    }
    return value;
}
} // namespace

int MeasureGrammar::To_Integer(QStringView text)
{
    // A sign and up to nine ASCII digits between blanks is read here, anything else by Qt.
    const QChar *first = text.data();
    const QChar *last = first + text.size();
    Trim(&first, &last);
    const bool negative = first != last && *first == QLatin1Char('-');
    if (first != last && (*first == QLatin1Char('-') || *first == QLatin1Char('+')))
    {
        ++first;
    }
    int value = 0;
    const bool plain = last - first > 0 && last - first <= 9;
    for (const QChar *c = first; plain && c != last; ++c)
    {
        const ushort digit = static_cast<ushort>(c->unicode() - '0');
        if (digit > 9)
        {
            return Qt_Integer(text);
        }
        value = value * 10 + digit;
    }
    if (!plain)
    {
        return Qt_Integer(text);
    }
    return negative ? -value : value;
}

namespace
{
TFields Split_At(QStringView text, QChar separator)
{
    TFields parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        if (text[i] == separator)
        {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}
} // namespace

TFields MeasureGrammar::Split_List(QStringView text)
{
    return Split_At(text, QLatin1Char(','));
}

TFields MeasureGrammar::Split_Blanks(QStringView text)
{
    return Split_At(text, QLatin1Char(' '));
}

std::vector<double> MeasureGrammar::To_Numbers(const TFields &parts)
{
    std::vector<double> numbers;
    numbers.reserve(static_cast<size_t>(parts.size()));
    for (const QStringView part : parts)
    {
        numbers.push_back(To_Number(part));
    }
    return numbers;
}

bool MeasureGrammar::To_Vector(QStringView text, TVector3 *vector)
{
    const TFields parts = Split_List(text);
    if (parts.size() != 3)
    {
        return false;
    }
    *vector = TVector3(To_Number(parts[0]), To_Number(parts[1]), To_Number(parts[2]));
    return true;
}
