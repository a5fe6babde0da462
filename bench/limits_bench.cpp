// Times the hostile and large inputs the unit tests check for their outcome only: deeply nested XML,
// clipboards of a million lines or tabs, a folder of 10,000 files listed at once and a report of 10,000
// lines with a graph written as PDF. Prints each figure against its goal; it is a benchmark, not a test.
//
//   limits_bench [--runs N]

#include "app/measuredwidget.h"
#include "document/reportdocument.h"
#include "tableeditor/tablepaste.h"
#include "widgets/graphwidget.h"
#include "xml/xmlfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{
// Best of runs, in milliseconds: on a busy machine the quickest run says most about the code.
double Best_Ms(int runs, const std::function<void()> &action)
{
    double best = 1e300;
    for (int run = 0; run < runs; ++run)
    {
        QElapsedTimer timer;
        timer.start();
        action();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) * 1e-6);
    }
    return best;
}

void Print(const char *what, double ms, double goal_ms)
{
    std::printf("%-44s %10.1f ms  goal %7.0f ms  %s\n", what, ms, goal_ms, ms <= goal_ms ? "met" : "MISSED");
}
} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    int runs = 3;
    const QStringList arguments = QApplication::arguments();
    const int at = arguments.indexOf(QStringLiteral("--runs"));
    if (at > 0 && at + 1 < arguments.size())
        runs = std::max(1, arguments.at(at + 1).toInt());

    const QByteArray nested = "<R File_Version=\"1\">" + QByteArray("<a>").repeated(40000) +
                              QByteArray("</a>").repeated(40000) + "</R>";
    Print("XML nested 40,000 deep, refused",
          Best_Ms(runs,
                  [&]
                  {
                      TXmlFile xml;
                      int version = 0;
                      try
                      {
                          xml.Open_Data(nested, QStringLiteral("R"), &version, false);
                      }
                      catch (const TXmlFileException &)
                      {
                      }
                  }),
          10000);

    const struct
    {
        const char *name;
        QString text;
        TTableBox box;
        int rows, columns;
    } pastes[] = {
        {"paste 100,000 lines into a cell", QStringLiteral("1\t2\n").repeated(100000), {5, 0, 5, 0}, 102, 1},
        {"paste a million lines", QStringLiteral("1\n").repeated(1000000), {0, 0, 0, 0}, 10000, 1},
        {"paste a million tabs across a box",
         QString(1000000, QLatin1Char('\t')) + QStringLiteral("\n3"),
         {0, 0, 3, 2},
         10,
         3}};
    for (const auto &paste : pastes)
        Print(paste.name,
              Best_Ms(runs, [&] { Table_Paste_Plan(paste.text, paste.box, paste.rows, paste.columns); }),
              1000);

    QTemporaryDir folder;
    for (int i = 0; i < 10000; ++i)
    {
        QFile file(folder.filePath(QString::number(i) + QStringLiteral(".dat")));
        if (!file.open(QIODevice::WriteOnly) || file.write("x") != 1)
        {
            std::fprintf(stderr, "limits_bench: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    int listed = 0;
    Print("list a folder of 10,000 files",
          Best_Ms(runs,
                  [&]
                  {
                      TMeasuredWidget widget;
                      widget.Set_Input_Settings({QString(), folder.path(), false});
                      listed = widget.findChild<QListWidget *>(QStringLiteral("file_list"))->count();
                  }),
          1000);
    if (listed != 10000)
        std::printf("  (listed %d files)\n", listed);

    TGraphWidget graph;
    graph.AddPoints(graph.CreateDataSet(QColor(64, 0, 0), TGraphWidget::GRAPH_CROSS),
                    {{0, 0.001}, {400, -0.02}});
    TReportDocument document;
    document.file_name = QStringLiteral("bench_x.dat");
    document.title = QStringLiteral("ASME B89.4.10360 Stepgauge Measurement");
    document.graph = &graph;
    for (int i = 0; i < 10000; ++i)
        document.report_lines.append(QStringLiteral("%1  %2").arg(i, 5).arg(i * 0.0001, 12, 'f', 4));
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    bool written = true;
    Print("PDF of 10,000 lines and a graph",
          Best_Ms(runs,
                  [&]
                  {
                      QString error;
                      written = ReportDocument::Write_Pdf(document, pdf, QPageSize::A4, &error) && written;
                  }),
          15000);
    if (!written)
        std::printf("  (the PDF was not written)\n");
    return 0;
}
