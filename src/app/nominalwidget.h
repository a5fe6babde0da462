#pragma once

#include "model/nominalstore.h"

#include <QString>
#include <QWidget>

#include <vector>

class QListWidget;
class QToolButton;
class TMessageBox;
class TNominalEditorDialog;
class TXmlFile;

// The dock's list of step gauge nominal files with buttons to add, edit and remove sets. The files
// and the lookups are the nominal store's; this widget only shows them and runs the editor.
class TNominalWidget : public QWidget
{
    Q_OBJECT

  public:
    explicit TNominalWidget(const QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // Works on the given store (the one the window's loads look gauges up in) instead of its own, so
    // that a save is seen by the next load at once. The store must outlive the widget.
    void Use_Store(TNominalStore *store);
    TNominalStore *Store() const { return d_store; }

    void Initialize(const QString &folder);
    void Update_Display();
    std::vector<double> Nominal_Data(const QString &serial, bool *valid) const;
    bool Save_Data(const QString &file_name);
    bool Load_Data(const QString &file_name);
    void Load_Data_V1(TXmlFile *xml_file);
    void Remove_Data(const QString &file_name);

    // Runs the editor on a new set for a gauge, its first face at the reference step of the gauge's
    // measurement, and saves what it returns.
    void Create_Nominal(const QString &serial, double reference_step);

    // Created on the first add or edit.
    TNominalEditorDialog *Editor_Dialog() const { return d_editor_dialog; }

  signals:
    // A set was written to its file.
    void Nominal_Saved(const QString &file_name);

  public slots:
    void Add_Nominal();
    void Edit_Nominal();
    void Remove_Nominal();
    void Selection_Changed();

  private:
    // Runs the editor on a set and saves what it returns.
    void Edit_And_Save(const QString &serial, const std::vector<double> &nominals);
    // The editor, created on first use, knowing the files listed now.
    TNominalEditorDialog *Prepared_Editor();
    // Runs the editor as Reset left it and saves what it returns.
    void Run_Editor_And_Save();
    void Show_Error(const QString &text, const QString &informative_text);

    QListWidget *d_list;
    QToolButton *d_add_button;
    QToolButton *d_remove_button;
    QToolButton *d_edit_button;
    TNominalEditorDialog *d_editor_dialog = nullptr;
    TMessageBox *d_message_box;
    TNominalStore d_own_store;
    TNominalStore *d_store;
};
