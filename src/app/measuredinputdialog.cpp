#include "app/measuredinputdialog.h"

#include "app/dialogbuttons.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpacerItem>
#include <QToolButton>

namespace
{
TMeasuredInputDialog::TFolderPicker &Folder_Picker()
{
    static TMeasuredInputDialog::TFolderPicker picker;
    return picker;
}

QFrame *Create_Line(QWidget *parent)
{
    QFrame *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QString From_Native(const QString &text)
{
    return QDir::fromNativeSeparators(text);
}
} // namespace

TMeasuredInputDialog::TMeasuredInputDialog(const QWidget *parent, Qt::WindowFlags flags)
    : QDialog(const_cast<QWidget *>(parent), flags)
{
    setWindowTitle(QStringLiteral("Input Settings"));
    resize(701, 229);
    QGridLayout *layout = new QGridLayout(this);

    layout->addWidget(new QLabel(tr("Application Path:"), this), 0, 0);
    d_application_path_label = new QLabel(this);
    d_application_path_label->setObjectName(QStringLiteral("application_path_label"));
    layout->addWidget(d_application_path_label, 0, 1, 1, 3);
    layout->addWidget(Create_Line(this), 1, 0, 1, 4);

    d_relative_radio = new QRadioButton(tr("Application Relative Path:"), this);
    d_relative_radio->setObjectName(QStringLiteral("relative_radio"));
    d_relative_radio->setToolTip(tr("Use path relative to application executable"));
    d_relative_edit = new QLineEdit(this);
    d_relative_edit->setObjectName(QStringLiteral("relative_edit"));
    d_relative_edit->setToolTip(tr("Relative path location"));
    d_relative_browse_button = new QToolButton(this);
    d_relative_browse_button->setObjectName(QStringLiteral("relative_browse_button"));
    d_relative_browse_button->setText(QStringLiteral("..."));
    d_relative_browse_button->setToolTip(tr("Relative path browse"));
    layout->addWidget(d_relative_radio, 2, 0);
    layout->addWidget(d_relative_edit, 2, 1, 1, 2);
    layout->addWidget(d_relative_browse_button, 2, 3);

    d_absolute_radio = new QRadioButton(tr("Absolute Path:"), this);
    d_absolute_radio->setObjectName(QStringLiteral("absolute_radio"));
    d_absolute_radio->setToolTip(tr("Use absolute path"));
    d_absolute_edit = new QLineEdit(this);
    d_absolute_edit->setObjectName(QStringLiteral("absolute_edit"));
    d_absolute_edit->setToolTip(tr("Absolute path location"));
    d_absolute_browse_button = new QToolButton(this);
    d_absolute_browse_button->setObjectName(QStringLiteral("absolute_browse_button"));
    d_absolute_browse_button->setText(QStringLiteral("..."));
    d_absolute_browse_button->setToolTip(tr("Absolute path browse"));
    layout->addWidget(d_absolute_radio, 3, 0);
    layout->addWidget(d_absolute_edit, 3, 1, 1, 2);
    layout->addWidget(d_absolute_browse_button, 3, 3);

    layout->addWidget(Create_Line(this), 4, 0, 1, 4);
    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), 5, 0, 1, 4);

    QDialogButtonBox *buttons =
        Create_Button_Box(this, tr("Cancel"), tr("Apply"), &d_cancel_button, &d_apply_button);
    d_cancel_button->setObjectName(QStringLiteral("cancel_button"));
    d_apply_button->setObjectName(QStringLiteral("apply_button"));
    d_apply_button->setDefault(true);
    layout->addWidget(buttons, 6, 0, 1, 4);

    // Radio buttons sharing a parent are exclusive.
    d_relative_radio->setChecked(true);
    Path_Option_Changed();

    connect(d_absolute_radio, &QRadioButton::toggled, this, &TMeasuredInputDialog::Path_Option_Changed);
    connect(d_relative_browse_button, &QToolButton::clicked, this,
            &TMeasuredInputDialog::Browse_Relative_Path);
    connect(d_absolute_browse_button, &QToolButton::clicked, this,
            &TMeasuredInputDialog::Browse_Absolute_Path);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

TMeasuredInputDialog::~TMeasuredInputDialog() = default;

void TMeasuredInputDialog::Reset(const QString &application_path, const TInputSettings &settings)
{
    d_application_path = application_path;
    d_application_path_label->setText(QDir::toNativeSeparators(application_path));
    d_relative_edit->setText(QDir::toNativeSeparators(settings.relative_path));
    d_absolute_edit->setText(QDir::toNativeSeparators(settings.absolute_path));
    if (settings.use_relative_path)
        d_relative_radio->setChecked(true);
    else
        d_absolute_radio->setChecked(true);
    Path_Option_Changed();
}

TInputSettings TMeasuredInputDialog::Settings() const
{
    TInputSettings settings;
    settings.relative_path = From_Native(d_relative_edit->text());
    settings.absolute_path = From_Native(d_absolute_edit->text());
    settings.use_relative_path = d_relative_radio->isChecked();
    return settings;
}

void TMeasuredInputDialog::Set_Folder_Picker(TFolderPicker picker)
{
    Folder_Picker() = std::move(picker);
}

void TMeasuredInputDialog::Path_Option_Changed()
{
    const bool relative = d_relative_radio->isChecked();
    d_relative_edit->setEnabled(relative);
    d_relative_browse_button->setEnabled(relative);
    d_absolute_edit->setEnabled(!relative);
    d_absolute_browse_button->setEnabled(!relative);
}

QString TMeasuredInputDialog::Pick_Folder(const QString &start)
{
    const QString title = tr("Select measurement input folder");
    if (Folder_Picker())
        return Folder_Picker()(this, title, start);
    return QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
}

void TMeasuredInputDialog::Browse_Relative_Path()
{
    QString relative = d_relative_edit->text();
    if (relative.startsWith(QLatin1Char('\\')) || relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    const QString picked = Pick_Folder(d_application_path + QLatin1Char('/') + relative);
    if (!picked.isEmpty())
        d_relative_edit->setText(QDir(d_application_path).relativeFilePath(picked));
}

void TMeasuredInputDialog::Browse_Absolute_Path()
{
    const QString picked = Pick_Folder(d_absolute_edit->text());
    if (!picked.isEmpty())
        d_absolute_edit->setText(picked);
}
