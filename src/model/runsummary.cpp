#include "model/runsummary.h"

#include "model/kindtable.h"
#include "model/measuredata_grammar.h"
#include "model/tolerance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtConcurrent>

#include <algorithm>
#include <functional>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#include <tuple>

namespace
{
const QString ERR_WORD = QStringLiteral("ERR");

QDateTime Utc_Time(qint64 milliseconds)
{
    return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC);
}

// Everything of the tolerance a verdict depends on.
std::vector<double> Tolerance_Key(const TTolerance &tolerance)
{
    return {static_cast<double>(tolerance.d_tolerance_type),
            tolerance.d_tolerance_a,
            tolerance.d_tolerance_b,
            tolerance.d_tolerance_c,
            tolerance.d_tolerance_d,
            tolerance.d_lower_temperature_limit,
            tolerance.d_upper_temperature_limit};
}

void Find_In(const QString &folder, QStringList *files)
{
    // Without QDir::Hidden hidden entries are left out; symbolic links to folders are not followed.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
    {
        const QString path = folder + QLatin1Char('/') + entry.fileName();
        if (entry.isDir())
        {
            if (!entry.isSymLink())
                Find_In(path, files);
        }
        else if (entry.suffix().compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0)
            files->append(path);
    }
}
} // namespace

bool TRunSummary::Failed_To_Load() const
{
    return verdict == ERR_WORD;
}

bool TRunSummary::Not_Passed() const
{
    return !verdict.isEmpty() && !Failed_To_Load() &&
           verdict != RunSummary::Verdict_Word(TVerdict::VERDICT_PASS);
}

QString RunSummary::Kind_Key(TMeasureData::TFileContents contents)
{
    const TKindRow *row = KindTable::Find(contents);
    return row ? QLatin1String(row->key) : QStringLiteral("unknown");
}

QString RunSummary::Identity(TMeasureData::TFileContents contents, const QByteArray &file_data)
{
    const TKindRow *row = KindTable::Find(contents);
    if (!row || (!row->equipment_record && !row->description_record))
        return QString();
    // Read as the records read them: the last of a repeated record counts.
    TRecordReader reader(file_data);
    const int measurement =
        reader.Add_Section(QStringLiteral("Measurement_Begin:"), QStringLiteral("Measurement_End::"));
    QString equipment;
    QString description;
    while (reader.Next_Line())
    {
        if (reader.Read_Section_Marker())
            continue;
        if (row->equipment_record && reader.Key(QStringLiteral("Equipment_Identification:"), &equipment))
            continue;
        if (row->description_record)
            reader.Key_In(measurement, QStringLiteral("Description:"), &description);
    }
    QStringList parts;
    for (const QString &text : {equipment.trimmed(), description.trimmed()})
    {
        if (!text.isEmpty())
            parts.append(text);
    }
    return parts.join(QStringLiteral("; "));
}

QString RunSummary::Verdict_Word(TVerdict::TVerdictType verdict)
{
    // Every verdict state has its word here.
    switch (verdict)
    {
    case TVerdict::VERDICT_NONE:
        return QString();
    case TVerdict::VERDICT_PASS:
        return QStringLiteral("PASS");
    case TVerdict::VERDICT_FAIL:
        return QStringLiteral("FAIL");
    case TVerdict::VERDICT_INCOMPLETE:
        return QStringLiteral("INCOMPLETE");
    }
    return QString();
}

QString RunSummary::Percent(const TVerdict &verdict)
{
    // Only a pass or a fail is a share of the tolerance.
    if (verdict.verdict != TVerdict::VERDICT_PASS && verdict.verdict != TVerdict::VERDICT_FAIL)
        return QString();
    static const QRegularExpression percent(QStringLiteral("\\b([0-9]+\\.[0-9])%"));
    return percent.match(verdict.line).captured(1);
}

QString RunSummary::Error_Word()
{
    return ERR_WORD;
}

bool RunSummary::Less(const TRunSummary &a, const TRunSummary &b)
{
    const qint64 a_time = a.modified.isValid() ? a.modified.toMSecsSinceEpoch() : 0;
    const qint64 b_time = b.modified.isValid() ? b.modified.toMSecsSinceEpoch() : 0;
    return std::tie(a.kind, a.identity, a_time, a.path) < std::tie(b.kind, b.identity, b_time, b.path);
}

void RunSummary::Sort(std::vector<TRunSummary> *rows)
{
    std::sort(rows->begin(), rows->end(), Less);
}

QStringList RunSummary::Find_Files(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return QStringList(path);
    QStringList files;
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    Find_In(folder, &files);
    return files;
}

QString RunSummary::Csv_Field(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString RunSummary::Csv_Header()
{
    return QStringLiteral("Modified,Kind,Identity,Verdict,Percent,File\n");
}

QString RunSummary::Csv_Row(const TRunSummary &row)
{
    const QStringList fields = {
        Modified_Text(row.modified), row.kind, row.identity, row.verdict, row.percent, row.path};
    QStringList quoted;
    for (const QString &field : fields)
        quoted.append(Csv_Field(field));
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString RunSummary::Modified_Text(const QDateTime &modified)
{
    return modified.isValid() ? modified.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"))
                              : QString();
}

TFileStamp TFileStamp::Of(const QString &path)
{
    TFileStamp stamp;
#ifdef Q_OS_UNIX
    // QFileInfo turns every time into local time first, which costs more than the status call itself.
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = status.st_size;
    stamp.modified = static_cast<qint64>(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
#endif
    return stamp;
}

TRunLoad TRunLoad::Load(const QString &path, const TFileStamp &stamp, const TNominalSource *nominals)
{
    TRunLoad run;
    run.path = path;
    run.stamp = stamp;
    QFile file(path);
    if (!stamp.exists || stamp.size < MeasurementLoad::SMALLEST_FILE_SIZE ||
        stamp.size > MeasurementLoad::LARGEST_FILE_SIZE || !file.open(QIODevice::ReadOnly))
        return run;
    // The file may have changed since it was stamped: the limits hold for what is read.
    const QByteArray file_data = file.read(MeasurementLoad::LARGEST_FILE_SIZE + 1);
    if (file_data.size() < MeasurementLoad::SMALLEST_FILE_SIZE ||
        file_data.size() > MeasurementLoad::LARGEST_FILE_SIZE)
        return run;

    TMeasurementLoad load = MeasurementLoad::Load_Contents(file_data, nominals);
    run.contents = load.contents;
    run.loaded = load.Succeeded();
    if (run.loaded)
    {
        run.identity = RunSummary::Identity(load.contents, file_data);
        run.unreadable_lines = load.record ? load.record->unreadable_lines : 0;
        run.graph_data = std::move(load.graph_data);
    }
    return run;
}

TRunSummary TRunLoad::Summary(const TTolerance &tolerance) const
{
    TRunSummary row;
    row.path = path;
    if (stamp.exists)
        row.modified = Utc_Time(stamp.modified);
    row.kind = RunSummary::Kind_Key(contents);
    if (!loaded)
    {
        row.verdict = RunSummary::Error_Word();
        return row;
    }
    row.identity = identity;
    const TVerdict verdict = Verdict::Evaluate(contents, graph_data, tolerance, unreadable_lines);
    row.verdict = RunSummary::Verdict_Word(verdict.verdict);
    row.percent = RunSummary::Percent(verdict);
    return row;
}

std::vector<TRunSummaryCache::TStale> TRunSummaryCache::Stale(const QStringList &paths) const
{
    std::vector<TStale> stale;
    for (const QString &path : paths)
    {
        const TFileStamp stamp = TFileStamp::Of(path);
        const auto found = d_loads.constFind(path);
        if (found == d_loads.constEnd() || found->stamp != stamp)
            stale.push_back({path, stamp});
    }
    return stale;
}

std::vector<TRunLoad> TRunSummaryCache::Load(const std::vector<TStale> &stale, const TNominalSource *nominals)
{
    const TSharedNominals shared(nominals);
    const TNominalSource *source = nominals ? &shared : nullptr;
    // Qt 5 needs the result type of the function spelled out.
    const std::function<TRunLoad(const TStale &)> load = [source](const TStale &file)
    { return TRunLoad::Load(file.path, file.stamp, source); };
    return QtConcurrent::blockingMapped<std::vector<TRunLoad>>(stale, load);
}

void TRunSummaryCache::Store(std::vector<TRunLoad> loads)
{
    for (TRunLoad &load : loads)
        d_loads.insert(load.path, std::move(load));
    d_changed = d_changed || !loads.empty();
}

std::vector<TRunSummary> TRunSummaryCache::Scan(const QStringList &paths, const TNominalSource *nominals,
                                                const TTolerance &tolerance)
{
    Store(Load(Stale(paths), nominals));
    return Rows(paths, tolerance);
}

std::vector<TRunSummary> TRunSummaryCache::Rows(const QStringList &paths, const TTolerance &tolerance)
{
    const std::vector<double> tolerance_key = Tolerance_Key(tolerance);
    if (!d_changed && paths == d_last_paths && tolerance_key == d_last_tolerance)
        return d_last_rows;
    std::vector<TRunSummary> rows;
    rows.reserve(static_cast<size_t>(paths.size()));
    for (const QString &path : paths)
    {
        const auto found = d_loads.constFind(path);
        if (found != d_loads.constEnd())
            rows.push_back(found->Summary(tolerance));
    }
    RunSummary::Sort(&rows);
    d_last_paths = paths;
    d_last_tolerance = tolerance_key;
    d_last_rows = rows;
    d_changed = false;
    return rows;
}

void TRunSummaryCache::Clear()
{
    d_loads.clear();
    d_last_rows.clear();
    d_changed = true;
}

bool TSharedNominals::Find_Nominal_Values(const QString &serial, std::vector<double> *nominal_values) const
{
    std::lock_guard<std::mutex> lock(d_mutex);
    auto found = d_entries.find(serial);
    if (found == d_entries.end())
    {
        TEntry entry;
        entry.found = d_source->Find_Nominal_Values(serial, &entry.values);
        found = d_entries.insert(serial, entry);
    }
    *nominal_values = found->values;
    return found->found;
}
