#pragma once

#include "document/reportdocument.h"
#include "model/tolerance.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QEvent;
class QImage;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class TGraphWidget;

// What a metrologist does with a result on show: the verdict in the status bar, the report as PDF or on
// paper, the graph as a file or on the clipboard, the report and graph data on the clipboard.
class TSignoffActions : public QObject
{
    Q_OBJECT

  public:
    // Adds its entries to file_menu before the action before, and an Edit menu after the File menu.
    TSignoffActions(QMainWindow *window, TGraphWidget *graph, QMenu *file_menu, QAction *before);
    ~TSignoffActions() override;

    // After every load, whatever its outcome.
    void Show_Measurement(const TReportSource &source, const TTolerance &tolerance);

    // The folder the last export, saved graph or print to a file went to; empty before the first. Until
    // then the save dialogs start in the folder of the file on show.
    const QString &Last_Folder() const { return d_export_folder; }
    void Set_Last_Folder(const QString &folder) { d_export_folder = folder; }

    QAction *Export_Pdf_Action() const { return d_export_pdf; }
    QAction *Print_Action() const { return d_print; }
    QAction *Save_Graph_Action() const { return d_save_graph; }
    QAction *Copy_Report_Action() const { return d_copy_report; }
    QAction *Copy_Graph_Action() const { return d_copy_graph; }
    QAction *Copy_Graph_Data_Action() const { return d_copy_graph_data; }

    // Test hooks standing in for the modal dialogs: the save dialog's answer (empty: cancelled) and the
    // print dialog's (false: cancelled). Empty functions run the real dialogs.
    using TSaveNameFunction = std::function<QString(const QString &caption, const QString &proposal)>;
    using TPrintFunction = std::function<bool(QPrinter *printer)>;
    static void Set_Save_Name_Function(TSaveNameFunction function);
    static void Set_Print_Function(TPrintFunction function);

  public slots:
    void Export_Pdf();
    void Print();
    void Save_Graph();
    void Copy_Report();
    void Copy_Graph();
    void Copy_Graph_Data();

  protected:
    // The copy key copies a selection in the report pane rather than the whole report.
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void Update_Verdict();
    void Update_Actions();
    TReportDocument Document() const;
    bool Graph_Shown() const;
    QImage Graph_Image() const;
    QString Start_Folder() const;
    QString Ask_Save_Name(const QString &caption, const QString &suffix, const QString &filter);
    void Show_Failure(const QString &text, const QString &detail);

    QMainWindow *d_window;
    TGraphWidget *d_graph;
    QPlainTextEdit *d_report_pane;
    QLabel *d_verdict_label;
    QAction *d_export_pdf;
    QAction *d_print;
    QAction *d_save_graph;
    QAction *d_copy_report;
    QAction *d_copy_graph;
    QAction *d_copy_graph_data;

    TReportSource d_source;
    TTolerance d_tolerance;
    QString d_export_folder;
};
