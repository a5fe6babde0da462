#pragma once

#include "app/inputsettings.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QToolButton;
class TMeasuredInputDialog;

// The list of measurement files in the measurement folder, with buttons to remove the selected files,
// edit the folder settings and refresh the list.
class TMeasuredWidget : public QWidget
{
    Q_OBJECT

  public:
    using TInputSettings = ::TInputSettings;

    explicit TMeasuredWidget(const QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TMeasuredWidget() override;

    TInputSettings Input_Settings() const { return d_input_settings; }
    void Set_Input_Settings(const TInputSettings &settings);
    void Refresh_File_List();

    // Absolute path of the listed folder; empty when the settings name no usable folder.
    const QString &Measurement_Folder() const { return d_measurement_folder; }
    const QString &Application_Path() const { return d_application_path; }

    // Selects the named file (which loads it) when it is listed; false when it is not.
    bool Select_File(const QString &name);
    // Shows the named file in bold until it is selected.
    void Mark_File(const QString &name);
    bool Marked(const QString &name) const { return d_marked.contains(name); }
    QStringList Selected_Names() const;

    // The folder the settings name, also when it does not exist: for messages and the tool tip.
    QString Intended_Folder() const;
    // Before any folder was chosen the empty list tells how to choose one.
    void Set_First_Start(bool first_start);
    // What stands in the empty list's place; empty while files are listed.
    QString Empty_Text() const;

  signals:
    void Load_Data(const QString &path);
    // Two files selected together, in the list's order.
    void Compare_Data(const QString &first, const QString &second);
    void Remove_Data(const QString &folder, const QStringList &names);
    void File_Path_Changed();
    // After every refresh, so that the folder watcher can take a folder that was made again.
    void File_List_Refreshed();

  public slots:
    void Remove_Clicked();
    void Edit_Clicked();
    void Refresh_Clicked();
    void Selection_Changed();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QString Resolve_Folder() const;
    void Show_Mark(QListWidgetItem *item) const;
    void Show_Empty_Text();

    QListWidget *d_file_list;
    QToolButton *d_remove_button;
    QToolButton *d_edit_button;
    QToolButton *d_refresh_button;
    TMeasuredInputDialog *d_input_dialog = nullptr;
    QLabel *d_empty_label;
    bool d_first_start = false;

    QString d_application_path;
    QString d_measurement_folder;
    TInputSettings d_input_settings;
    QSet<QString> d_marked;
};
