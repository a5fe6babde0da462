#pragma once

#include "geometry/vector3.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <initializer_list>
#include <vector>

// The line grammar every measurement file kind shares: which lines are read, how the
// identification line, section markers and keyed records are matched, and how values are split
// and converted. A kind's Load_Data walks the lines with a TRecordReader and names the records it
// accepts.
class TRecordReader
{
  public:
    struct TOptions
    {
        // Probe calibration and validation files keep empty lines as data.
        bool keep_empty_lines = false;
        // Validation files fold inner runs of white space to one blank, not only trim.
        bool simplify = false;
    };

    explicit TRecordReader(const QByteArray &file_data);
    TRecordReader(const QByteArray &file_data, const TOptions &options);
    // Counts the lines that could not be read into *unreadable_lines, which holds the count once the
    // reader is gone.
    TRecordReader(const QByteArray &file_data, int *unreadable_lines);
    TRecordReader(const QByteArray &file_data, int *unreadable_lines, const TOptions &options);
    ~TRecordReader();
    TRecordReader(const TRecordReader &) = delete;
    TRecordReader &operator=(const TRecordReader &) = delete;

    // Moves to the next line that is not skipped; false at the end of the data.
    bool Next_Line();
    const QString &Line() const
    {
        Settle_Line();
        return d_line;
    }

    // Reads the first line that is not skipped and tests, case-sensitively, that it begins with
    // the identification text.
    bool Read_Identification(const QString &identification);

    // Declares a section; returns its number for Only_Open and Key_In.
    int Add_Section(const QString &begin_marker, const QString &end_marker);
    // Whole-line, case-insensitive marker test; opens or closes the section it names.
    bool Read_Section_Marker();
    bool Only_Open(int section) const;
    bool None_Open() const;

    // True when the line begins with the key (letter case ignored); the value is the rest of the
    // line after the key, not trimmed again. Marks the key as seen.
    bool Key(const QString &key, QString *value = nullptr);
    // The same with the value left in the line: valid until the next Next_Line.
    bool Key(const QString &key, QStringView *value);
    // Key, valid only while the section is the one open section.
    bool Key_In(int section, const QString &key, QString *value = nullptr);
    bool Key_In(int section, const QString &key, QStringView *value);
    // A keyed number (see To_Number).
    bool Number_In(int section, const QString &key, double *number);
    // A keyed three-value record; a malformed one stops the reader with the message.
    bool Vector(const QString &key, TVector3 *vector, const QString &message);
    bool Vector_In(int section, const QString &key, TVector3 *vector, const QString &message);

    // Whether a key was matched or the begin marker of a section was read.
    bool Seen(const QString &key_or_begin_marker) const;
    bool Seen_All(std::initializer_list<const char *> keys_and_begin_markers) const;

    // Lines so far that held a number field that did not convert or that the kind dropped as malformed
    // (MeasureGrammar::Drop_Line), each counted once.
    int Unreadable_Lines() const;

    // Set by a malformed record; the caller stops reading and reports the message.
    bool Failed() const { return !d_error.isEmpty(); }
    const QString &Error() const { return d_error; }

  private:
    struct TSection
    {
        QString begin_marker;
        QString end_marker;
        bool open = false;
    };

    bool Matches_Key(const QString &key);
    void Mark_Seen(const QString &key);
    // Simplifies the line when it is first looked at beyond its first character.
    void Settle_Line() const;
    void Update_Only_Open();

    TOptions d_options;
    QString d_text;
    int d_position = 0;
    // Reused from line to line, so that reading a line allocates nothing. With simplify it holds the
    // trimmed line until Settle_Line, since most lines are skipped on their first characters.
    mutable QString d_line;
    mutable bool d_unsettled = false;
    std::vector<TSection> d_sections;
    // The section that is open alone, or -1.
    int d_only_open = -1;
    QStringList d_seen;
    QString d_last_seen;
    QString d_error;
    int *d_unreadable_target = nullptr;
    int d_unreadable_lines = 0;
    bool d_on_line = false;
    unsigned d_marks_at_line = 0;
};

// The parts of a split line: views into the text that was split, which must outlive them.
class TFields
{
  public:
    int size() const { return static_cast<int>(d_parts.size()); }
    QStringView operator[](int index) const { return d_parts[index]; }
    const QStringView *begin() const { return d_parts.constData(); }
    const QStringView *end() const { return d_parts.constData() + d_parts.size(); }
    // The parts from first on.
    TFields mid(int first) const;
    void append(QStringView part) { d_parts.append(part); }

  private:
    QVarLengthArray<QStringView, 16> d_parts;
};

namespace MeasureGrammar
{
// The one conversion of file text to a number: C locale, blanks around the number accepted; text
// that is not a finite number (words, "nan", "inf", overflow such as 1e999, an empty field) reads as 0.0
// and makes the line being read unreadable.
double To_Number(QStringView text);

// A whole number such as a point index: decimal digits with an optional sign and blanks around;
// anything else (also "1.0" or a number out of range) reads as 0 and makes the line unreadable.
int To_Integer(QStringView text);

// Marks the line being read as malformed, one the kind drops.
void Drop_Line();

// Splits at every comma, keeping empty parts. The parts point into the text, so a temporary string
// cannot be split.
TFields Split_List(QStringView text);
TFields Split_List(QString &&text) = delete;

// Splits at every blank, keeping empty parts (for lines already simplified).
TFields Split_Blanks(QStringView text);
TFields Split_Blanks(QString &&text) = delete;

// Converts every part of a list; empty parts read as 0.0.
std::vector<double> To_Numbers(const TFields &parts);

// Exactly three comma-separated values, or false.
bool To_Vector(QStringView text, TVector3 *vector);
} // namespace MeasureGrammar
