#pragma once

#include "app/inputsettings.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// Edits where the measurement files are: a folder relative to the program's folder, or an absolute one.
class TMeasuredInputDialog : public QDialog
{
    Q_OBJECT

  public:
    explicit TMeasuredInputDialog(const QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TMeasuredInputDialog() override;

    void Reset(const QString &application_path, const TInputSettings &settings);
    TInputSettings Settings() const;

    // The folder picker (title, start folder) → picked folder or empty; replaceable so that the browse
    // buttons can run without a user. An empty function restores the platform's picker.
    using TFolderPicker = std::function<QString(QWidget *parent, const QString &title, const QString &start)>;
    static void Set_Folder_Picker(TFolderPicker picker);

  public slots:
    void Path_Option_Changed();
    void Browse_Relative_Path();
    void Browse_Absolute_Path();

  private:
    QString Pick_Folder(const QString &start);

    QLabel *d_application_path_label;
    QRadioButton *d_relative_radio;
    QLineEdit *d_relative_edit;
    QToolButton *d_relative_browse_button;
    QRadioButton *d_absolute_radio;
    QLineEdit *d_absolute_edit;
    QToolButton *d_absolute_browse_button;
    QPushButton *d_cancel_button;
    QPushButton *d_apply_button;

    QString d_application_path;
};
