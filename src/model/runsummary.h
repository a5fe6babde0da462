#pragma once

#include "geometry/vector2.h"
#include "model/measuredata.h"
#include "model/measurementload.h"
#include "model/verdict.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <mutex>
#include <vector>

class TTolerance;

// One measurement file in the summary of a set of runs.
struct TRunSummary
{
    QString path;
    QDateTime modified; // UTC; invalid when the file could not be found
    QString kind;       // the kind's short key
    QString identity;   // empty for ERR rows
    QString verdict;    // PASS, FAIL, INCOMPLETE, ERR, or empty for kinds without a verdict
    QString percent;    // "82.0", or empty

    bool Failed_To_Load() const;
    // A verdict that does not sign the run off (FAIL, INCOMPLETE).
    bool Not_Passed() const;
};

namespace RunSummary
{
// The short key of a kind, "unknown" for CONTENTS_UNKNOWN.
QString Kind_Key(TMeasureData::TFileContents contents);
// The Equipment_Identification and Description record texts of the file, trimmed, joined by "; ".
QString Identity(TMeasureData::TFileContents contents, const QByteArray &file_data);
// The word the verdict line begins with, empty without a verdict.
QString Verdict_Word(TVerdict::TVerdictType verdict);
// The percentage the verdict line prints with one decimal; empty when it prints none.
QString Percent(const TVerdict &verdict);
// The word of a failed load.
QString Error_Word();

// Kind, identity, modification time, path.
bool Less(const TRunSummary &a, const TRunSummary &b);
void Sort(std::vector<TRunSummary> *rows);

// The .dat files (any letter case) under a folder, recursively, as paths below the folder as given;
// hidden entries and symbolic links to folders are skipped. A path that is not a folder is its own
// result.
QStringList Find_Files(const QString &path);

// Comma-separated values: a field is quoted only when it must be, lines end in LF.
QString Csv_Field(const QString &text);
QString Csv_Header();
QString Csv_Row(const TRunSummary &row);
QString Modified_Text(const QDateTime &modified);
} // namespace RunSummary

// A file's size and modification time, from one status call.
struct TFileStamp
{
    bool exists = false;
    qint64 size = -1;
    qint64 modified = 0; // milliseconds since the epoch

    static TFileStamp Of(const QString &path);
    bool operator==(const TFileStamp &other) const
    {
        return exists == other.exists && size == other.size && modified == other.modified;
    }
    bool operator!=(const TFileStamp &other) const { return !(*this == other); }
};

// What loading a file gives the summary before any tolerance is applied: the part worth caching.
struct TRunLoad
{
    QString path;
    TFileStamp stamp;
    TMeasureData::TFileContents contents = TMeasureData::CONTENTS_UNKNOWN;
    QString identity;
    bool loaded = false;
    int unreadable_lines = 0; // data lines the parser could not read: no pass or fail then
    std::vector<std::vector<TVector2>> graph_data;

    // Loads the file as stamped; safe to call from several threads at once when the nominal source is.
    static TRunLoad Load(const QString &path, const TFileStamp &stamp, const TNominalSource *nominals);
    // The row under the tolerance.
    TRunSummary Summary(const TTolerance &tolerance) const;
};

// Loads of files kept by path and redone when the file's size or modification time changes. A change
// of the nominal sets is not seen: call Clear then.
class TRunSummaryCache
{
  public:
    struct TStale
    {
        QString path;
        TFileStamp stamp;
    };

    // The paths whose cached load is missing or out of date, with their stamps now.
    std::vector<TStale> Stale(const QStringList &paths) const;
    // Loads the stale files on every core; blocks.
    static std::vector<TRunLoad> Load(const std::vector<TStale> &stale, const TNominalSource *nominals);
    void Store(std::vector<TRunLoad> loads);
    // Loads what is stale, then gives the rows sorted. Blocks.
    std::vector<TRunSummary> Scan(const QStringList &paths, const TNominalSource *nominals,
                                  const TTolerance &tolerance);
    // The rows of the paths from the cache, sorted; paths not cached are left out.
    std::vector<TRunSummary> Rows(const QStringList &paths, const TTolerance &tolerance);
    void Clear();
    int Count() const { return static_cast<int>(d_loads.size()); }

  private:
    QHash<QString, TRunLoad> d_loads;
    // The last rows, given again while neither the paths, the files nor the tolerance change.
    QStringList d_last_paths;
    std::vector<double> d_last_tolerance;
    std::vector<TRunSummary> d_last_rows;
    bool d_changed = true;
};

// A nominal source for concurrent loads: asks the wrapped one once per serial, under a lock.
class TSharedNominals : public TNominalSource
{
  public:
    explicit TSharedNominals(const TNominalSource *source) : d_source(source) {}
    bool Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const override;

  private:
    struct TEntry
    {
        bool found = false;
        std::vector<double> values;
    };
    const TNominalSource *d_source;
    mutable QHash<QString, TEntry> d_entries;
    mutable std::mutex d_mutex;
};
