#include "app/nominalwidget.h"

#include "app/nominaleditordialog.h"
#include "app/toolbutton.h"
#include "model/nominalfaces.h"
#include "widgets/messagebox.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtGlobal>

TNominalWidget::TNominalWidget(const QWidget *parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget *>(parent), flags), d_store(&d_own_store)
{
    resize(511, 450);
    setWindowTitle(tr("Nominal"));

    QVBoxLayout *layout = new QVBoxLayout(this);
    d_list = new QListWidget(this);
    d_list->setObjectName(QStringLiteral("nominal_list"));
    d_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(d_list);

    QHBoxLayout *buttons = new QHBoxLayout;
    d_add_button = Create_Tool_Button(this, "add_button", QStringLiteral(":/icon16/add_icon16.png"),
                                      tr("Add Nominal"), 16);
    d_remove_button = Create_Tool_Button(this, "remove_button", QStringLiteral(":/icon16/remove_icon16.png"),
                                         tr("Remove Nominal"), 16);
    d_edit_button = Create_Tool_Button(this, "edit_button", QStringLiteral(":/icon16/edit_icon16.png"),
                                       tr("Edit Nominal"), 16);
    buttons->addWidget(d_add_button);
    buttons->addWidget(d_remove_button);
    buttons->addWidget(d_edit_button);
    buttons->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addLayout(buttons);
    d_remove_button->setEnabled(false);
    d_edit_button->setEnabled(false);

    d_message_box = new TMessageBox(this);

    connect(d_add_button, &QToolButton::clicked, this, &TNominalWidget::Add_Nominal);
    connect(d_edit_button, &QToolButton::clicked, this, &TNominalWidget::Edit_Nominal);
    connect(d_remove_button, &QToolButton::clicked, this, &TNominalWidget::Remove_Nominal);
    connect(d_list, &QListWidget::itemSelectionChanged, this, &TNominalWidget::Selection_Changed);
}

void TNominalWidget::Use_Store(TNominalStore *store)
{
    d_store = store ? store : &d_own_store;
    Update_Display();
}

void TNominalWidget::Initialize(const QString &folder)
{
    d_store->Initialize(folder);
    Update_Display();
}

void TNominalWidget::Update_Display()
{
    d_store->Update_Display();
    d_list->clear();
    d_list->addItems(d_store->File_Names());
    Selection_Changed();
}

std::vector<double> TNominalWidget::Nominal_Data(const QString &serial, bool *valid) const
{
    return d_store->Nominal_Data(serial, valid);
}

bool TNominalWidget::Save_Data(const QString &file_name)
{
    return d_store->Save_Data(file_name);
}

bool TNominalWidget::Load_Data(const QString &file_name)
{
    return d_store->Load_Data(file_name);
}

void TNominalWidget::Load_Data_V1(TXmlFile *xml_file)
{
    d_store->Load_Data_V1(xml_file);
}

void TNominalWidget::Remove_Data(const QString &file_name)
{
    d_store->Remove_Data(file_name);
}

void TNominalWidget::Add_Nominal()
{
    Edit_And_Save(QString(), std::vector<double>());
}

void TNominalWidget::Edit_Nominal()
{
    const QList<QListWidgetItem *> selected = d_list->selectedItems();
    if (selected.size() != 1)
    {
        return;
    }
    if (!Load_Data(selected.front()->text()))
    {
        qWarning("cannot load data");
        Show_Error(tr("Load Nominal File"), d_store->Last_Error());
        return;
    }
    // The editor would have nothing to show; the file stays as it is.
    if (NominalFaces::Lay_Out(d_store->Nominal_Values()).spacing == NominalFaces::SPACING_NOT_SHOWN)
    {
        Show_Error(tr("Edit Nominal File"),
                   tr("The nominal set in '%1' has %n face(s) and cannot be shown in the editor, which shows "
                      "sets of 2 to %2 faces with finite positions. The file is left as it is.",
                      nullptr, static_cast<int>(d_store->Nominal_Values().size()))
                       .arg(selected.front()->text())
                       .arg(NominalFaces::MAXIMUM_FACES));
        return;
    }
    Edit_And_Save(d_store->Serial_Number(), d_store->Nominal_Values());
}

void TNominalWidget::Remove_Nominal()
{
    const QList<QListWidgetItem *> selected = d_list->selectedItems();
    if (selected.isEmpty())
    {
        return;
    }
    if (d_message_box->Warn(tr("Remove Nominal Files"), tr("Do you want to remove selected nominal files ?"),
                            QString(), QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::Yes) != QMessageBox::Yes)
    {
        return;
    }
    for (const QListWidgetItem *item : selected)
    {
        Remove_Data(item->text());
    }
    Update_Display();
}

void TNominalWidget::Selection_Changed()
{
    const bool selected = !d_list->selectedItems().isEmpty();
    d_remove_button->setEnabled(selected);
    d_edit_button->setEnabled(selected);
}

void TNominalWidget::Create_Nominal(const QString &serial, double reference_step)
{
    Prepared_Editor()->Reset_New_Set(serial, reference_step);
    Run_Editor_And_Save();
}

void TNominalWidget::Edit_And_Save(const QString &serial, const std::vector<double> &nominals)
{
    Prepared_Editor()->Reset(serial, nominals);
    Run_Editor_And_Save();
}

TNominalEditorDialog *TNominalWidget::Prepared_Editor()
{
    if (!d_editor_dialog)
    {
        d_editor_dialog = new TNominalEditorDialog(this);
    }
    d_store->Update_Display();
    d_editor_dialog->Set_Listed_Files(d_store->File_Names());
    return d_editor_dialog;
}

void TNominalWidget::Run_Editor_And_Save()
{
    if (d_editor_dialog->exec() != QDialog::Accepted)
    {
        return;
    }
    const QString new_serial = d_editor_dialog->Serial_Number();
    d_store->Set_Nominal(new_serial, d_editor_dialog->d_nominals);
    // A set stored as sg_7 is saved back to that file for the serial 7, never beside it.
    QString file_name = NominalSerial::Listed_File(d_store->File_Names(), new_serial);
    if (file_name.isEmpty())
    {
        file_name = TNominalStore::File_Name_For_Serial(new_serial);
    }
    if (!Save_Data(file_name))
    {
        qWarning("cannot save the data");
        Show_Error(tr("Save Nominal File"), d_store->Last_Error());
        return;
    }
    Update_Display();
    emit Nominal_Saved(file_name);
}

void TNominalWidget::Show_Error(const QString &text, const QString &informative_text)
{
    d_message_box->Warn(text, informative_text.toHtmlEscaped());
}
