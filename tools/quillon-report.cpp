// Prints, for each measurement file, the lines the viewer's report pane shows after loading it, and
// draws the graph the window would show.

#include "base/checkedfile.h"
#include "document/graphexport.h"
#include "model/measurementload.h"
#include "model/nominalstore.h"
#include "model/presentation.h"
#include "model/tolerance.h"
#include "quillon_version.h"
#include "tools/comparemode.h"
#include "tools/signoffoptions.h"
#include "tools/summarymode.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPair>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>

namespace
{
const char DESCRIPTION[] = "Prints the report of each measurement file, as the Quillon viewer shows it.\n"
                           "With several files each report is preceded by a line \"==> FILE <==\".\n"
                           "\n"
                           "Exit status: 0 when every file loaded, 1 when any printed an ERR line or\n"
                           "the graph, PDF or CSV file could not be written, 2 for a usage error or a\n"
                           "missing nominal folder, 3 when --verdict found a FAIL or INCOMPLETE and every\n"
                           "file loaded.";

const QSize GRAPH_SIZE_LIMIT(10000, 10000);

// What the options ask for, once they are checked.
struct TRequest
{
    QStringList files;
    QString nominal_folder; // null without --nominals
    TTolerance tolerance = TTolerance::Default();
    QString graph_path; // null without --graph
    QSize graph_size{1200, 800};
    bool point_graph = true;
};

// Standard error carries the tool's own messages only; the platform's notes (a missing runtime folder
// on a machine without a desktop session) are of no use to the caller.
void Platform_Message(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        fprintf(stderr, "%s\n", qPrintable(message));
}

void Write(QFile *out, const QString &text)
{
    out->write(text.toUtf8());
}

// Gives the messages of this file a translation context that lupdate can see.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(QuillonReport)
};

// A usage error names the offending value, but a value of a thousand characters would bury the message:
// every argument longer than the limit is shown by its start only.
QString Shorten_Values(QString message, const QStringList &arguments)
{
    const int limit = 80;
    QStringList values;
    for (const QString &argument : arguments)
    {
        values << argument;
        const int equals = argument.indexOf(QLatin1Char('='));
        if (argument.startsWith(QLatin1Char('-')) && equals > 0)
            values << argument.mid(equals + 1);
    }
    std::sort(values.begin(), values.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &value : values)
        if (value.size() > limit)
            message.replace(value, value.left(limit) + QStringLiteral("..."));
    return message;
}

// The first option given more than once, by its long name; empty when none is.
QString Repeated_Option(const QCommandLineParser &parser, const QList<QCommandLineOption> &options)
{
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption &option : options)
    {
        int count = 0;
        for (const QString &name : option.names())
            count += static_cast<int>(given.count(name));
        if (count > 1)
            return option.names().constLast();
    }
    return QString();
}

// An existing measurement file: named .dat, or with content recognised as one of the kinds. An option
// that swallowed the first of several files names one of these.
bool Is_Measurement_File(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    if (info.suffix().compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0)
        return true;
    QFile file(path);
    return info.size() <= MeasurementLoad::LARGEST_FILE_SIZE && file.open(QIODevice::ReadOnly) &&
           TMeasureData::Determine_File_Contents(file.readAll()) != TMeasureData::CONTENTS_UNKNOWN;
}

// An output may neither replace a measurement file nor share its path with another output; "-"
// (standard output) is no path. Empty when the outputs are sound, otherwise the usage error.
QString Output_Problem(const QList<QPair<QString, QString>> &outputs, const QStringList &files)
{
    for (int i = 0; i < outputs.size(); ++i)
    {
        const QString &path = outputs[i].second;
        if (path.isEmpty() || path == QLatin1String("-"))
            continue;
        for (const QString &file : files)
            if (CheckedFile::Same_File(path, file))
                return Text::tr("%1 '%2' is the measurement file '%3', which is never overwritten")
                    .arg(outputs[i].first, path, file);
        if (Is_Measurement_File(path))
            return Text::tr("%1 '%2' is a measurement file, which is never overwritten")
                .arg(outputs[i].first, path);
        for (int j = 0; j < i; ++j)
            if (!outputs[j].second.isEmpty() && CheckedFile::Same_File(path, outputs[j].second))
                return Text::tr("%1 and %2 name the same file '%3'")
                    .arg(outputs[j].first, outputs[i].first, path);
    }
    return QString();
}

// "WxH" with both between 1 and the limit; an invalid size otherwise.
QSize Graph_Size(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})[xX]([0-9]{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    const QSize size =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    return size.isEmpty() || size.width() > GRAPH_SIZE_LIMIT.width() ||
                   size.height() > GRAPH_SIZE_LIMIT.height()
               ? QSize()
               : size;
}

// The graph of one loaded file, or a message on standard error saying why there is none. False only
// when a graph was due and could not be written.
bool Write_Graph(const TRequest &request, const TMeasurementLoad &load, const TPresentation &presentation,
                 QFile *err)
{
    const QString file = request.files.constFirst();
    QString reason;
    if (!load.Succeeded())
        reason = Text::tr("'%1' did not load").arg(file);
    else if (!presentation.setup.shown)
        reason = Text::tr("measurements of the kind in '%1' have no graph").arg(file);
    else if (GraphExport::Write(presentation, request.graph_path, request.graph_size, &reason, request.files))
        return true;
    else
    {
        Write(err, Text::tr("quillon-report: cannot write graph '%1': %2\n").arg(request.graph_path, reason));
        return false;
    }
    Write(err, Text::tr("quillon-report: no graph written: %1\n").arg(reason));
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    // A reader that goes away must show as a failed write, not end the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(DESCRIPTION));
    const QCommandLineOption help_option = parser.addHelpOption();
    const QCommandLineOption version_option = parser.addVersionOption();
    const QCommandLineOption nominals_option(
        QStringLiteral("nominals"),
        Text::tr("Match step gauge measurements to the nominal sets in DIR/Nominal_Data, as the viewer "
                 "does with its settings folder; without it step gauge reports are printed as loaded, "
                 "with no nominal values."),
        QStringLiteral("DIR"));
    const QCommandLineOption tolerance_option(
        QStringLiteral("tolerance"),
        Text::tr("E MPL as typed in the viewer's tolerance dialog: A, A + BL/C or A + BL/C | D, for "
                 "example \"0.0095 + 0.003L/1000 | 0.0018\". It draws the limit lines and gives the "
                 "ballbar tolerance. Default: the viewer's first-start 0.012 + 0.006L/1000 | 0.015."),
        QStringLiteral("EXPR"));
    const QCommandLineOption graph_option(
        QStringLiteral("graph"),
        Text::tr("Draw the graph the viewer shows for the one FILE into OUT, a .png or .pdf file."),
        QStringLiteral("OUT"));
    const QCommandLineOption graph_size_option(
        QStringLiteral("graph-size"),
        Text::tr("Size of the graph: pixels for PNG, points for PDF (default 1200x800)."),
        QStringLiteral("WxH"));
    const QCommandLineOption line_option(
        QStringLiteral("line"), Text::tr("Draw step gauge and laser deviations as lines, not points."));
    parser.addOptions({nominals_option, tolerance_option, graph_option, graph_size_option, line_option});
    TSignoffOptions signoff;
    parser.addOptions(signoff.Options());
    parser.addOption(SummaryMode::Option());
    parser.addOption(CompareMode::Option());
    parser.addPositionalArgument(QStringLiteral("FILE"), Text::tr("Measurement files (.dat)."),
                                 QStringLiteral("FILE..."));

    const bool parsed = parser.parse(arguments);
    // Drawing needs a GUI application, but never a display.
    const bool drawing = parsed && parser.isSet(graph_option);
    const bool widgets = drawing || (parsed && signoff.Needs_Widgets(parser));
    if (widgets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (widgets)
        qInstallMessageHandler(Platform_Message);
    std::unique_ptr<QCoreApplication> application(widgets ? new QApplication(argc, argv)
                                                          : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("quillon-report"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

    // A usage error: one line on standard error, exit status 2.
    const auto usage_error = [&err, &arguments](QString message)
    {
        message = Shorten_Values(message, arguments.mid(1));
        if (message.endsWith(QLatin1Char('.')))
            message.chop(1);
        Write(&err, QStringLiteral("quillon-report: %1 (see --help)\n").arg(message));
        return 2;
    };
    if (!parsed)
        return usage_error(parser.errorText());
    if (parser.isSet(help_option))
    {
        Write(&out, parser.helpText());
        return 0;
    }
    if (parser.isSet(version_option))
    {
        Write(&out, QStringLiteral("quillon-report %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }

    const QString repeated = Repeated_Option(
        parser, QList<QCommandLineOption>{nominals_option, tolerance_option, graph_option, graph_size_option,
                                          line_option, help_option, version_option} +
                    signoff.Options());
    if (!repeated.isEmpty())
        return usage_error(Text::tr("option --%1 given more than once").arg(repeated));

    TRequest request;
    request.files = parser.positionalArguments();
    if (request.files.isEmpty())
        return usage_error(Text::tr("no measurement file given"));
    if (parser.isSet(tolerance_option))
    {
        const QString expression = parser.value(tolerance_option);
        const TTolerance::TExpressionRule rule = TTolerance::Parse_Expression(expression).rule;
        if (rule != TTolerance::EXPRESSION_VALID)
            return usage_error(
                QStringLiteral("tolerance \"%1\": %2").arg(expression, TTolerance::Rule_Text(rule)));
        request.tolerance.Set_Expression(expression);
    }
    if (!CompareMode::Usage_Problem(parser).isEmpty())
        return usage_error(CompareMode::Usage_Problem(parser));
    if (!SummaryMode::Usage_Problem(parser).isEmpty())
        return usage_error(SummaryMode::Usage_Problem(parser));
    const QString signoff_problem =
        signoff.Read(parser, static_cast<int>(request.files.size()), &request.tolerance);
    if (!signoff_problem.isEmpty())
        return usage_error(signoff_problem);
    if (drawing)
    {
        request.graph_path = parser.value(graph_option);
        if (!GraphExport::Supported(request.graph_path))
            return usage_error(Text::tr("graph file '%1' must end in .png or .pdf").arg(request.graph_path));
        if (request.files.size() != 1)
            return usage_error(Text::tr("--graph draws exactly one measurement file"));
        if (parser.isSet(graph_size_option) &&
            !(request.graph_size = Graph_Size(parser.value(graph_size_option))).isValid())
            return usage_error(Text::tr("graph size '%1' is not WxH with W and H from 1 to 10000")
                                   .arg(parser.value(graph_size_option)));
        request.point_graph = !parser.isSet(line_option);
    }
    else if (parser.isSet(graph_size_option) || parser.isSet(line_option))
        return usage_error(Text::tr("--graph-size and --line need --graph"));

    const QString output_problem =
        Output_Problem({{QStringLiteral("--graph"), request.graph_path},
                        {QStringLiteral("--pdf"), parser.value(QStringLiteral("pdf"))},
                        {QStringLiteral("--csv"), parser.value(QStringLiteral("csv"))}},
                       request.files);
    if (!output_problem.isEmpty())
        return usage_error(output_problem);
    // With the CSV rows on standard output nothing else may go there.
    const bool csv_to_stdout = parser.value(QStringLiteral("csv")) == QLatin1String("-");
    QFile discard(QStringLiteral("/dev/null"));
    QFile *report_out = &out;
    if (csv_to_stdout && discard.open(QIODevice::WriteOnly))
        report_out = &discard;

    // The tool only reads nominal sets, so a missing folder is an error rather than created.
    TNominalStore nominal_store;
    const TNominalSource *nominals = nullptr;
    if (parser.isSet(nominals_option))
    {
        const QString nominal_folder = parser.value(nominals_option);
        const QString folder = TNominalStore::Nominal_Folder_In(nominal_folder);
        if (nominal_folder.isEmpty() || !QFileInfo(folder).isDir())
        {
            Write(&err, Text::tr("quillon-report: no nominal folder '%1'\n").arg(folder));
            return 2;
        }
        nominal_store.Initialize(nominal_folder);
        nominals = &nominal_store;
    }

    if (CompareMode::Requested(parser))
        return CompareMode::Run(request.files, nominals, &out, &err);
    if (SummaryMode::Requested(parser))
        return SummaryMode::Run(request.files, nominals, request.tolerance,
                                parser.isSet(QStringLiteral("verdict")), &out);

    bool all_loaded = true;
    bool graph_written = true;
    bool signoff_written = true;
    bool any_fail = false;
    bool stdout_failed = false;
    for (const QString &file : request.files)
    {
        if (request.files.size() > 1)
            Write(report_out, QStringLiteral("==> %1 <==\n").arg(file));
        const TMeasurementLoad load = MeasurementLoad::Load_File(file, nominals);
        TPresentation presentation;
        if (load.Succeeded())
            presentation = Presentation::Present(load.contents, load.graph_data, request.tolerance,
                                                 request.point_graph, load.graph_notes);
        const QStringList lines = load.report_lines + presentation.extra_lines;
        for (const QString &line : lines)
            Write(report_out, line + QLatin1Char('\n'));
        signoff_written = signoff.Finish_File(file, load, lines, presentation, request.tolerance, report_out,
                                              &err, &any_fail) &&
                          signoff_written;
        if (request.files.size() > 1)
            report_out->write("\n");
        // Checked after every file: a later write may clear the device's error.
        stdout_failed = !report_out->flush() || stdout_failed;
        all_loaded = all_loaded && load.Succeeded();
        if (drawing)
            graph_written = Write_Graph(request, load, presentation, &err);
    }
    if (!out.flush() || stdout_failed)
    {
        Write(&err, Text::tr("quillon-report: cannot write to standard output: %1\n").arg(out.errorString()));
        return 1;
    }
    if (!all_loaded || !graph_written || !signoff_written)
        return 1;
    return any_fail ? 3 : 0;
}
