#include "app/measuredwidget.h"

#include "app/measuredinputdialog.h"
#include "app/toolbutton.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

TMeasuredWidget::TMeasuredWidget(const QWidget *parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget *>(parent), flags)
{
    resize(511, 450);
    QVBoxLayout *layout = new QVBoxLayout(this);

    d_file_list = new QListWidget(this);
    d_file_list->setObjectName(QStringLiteral("file_list"));
    d_file_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Many thousands of names are listed in one pass; uniform rows spare the list measuring each one.
    d_file_list->setUniformItemSizes(true);
    layout->addWidget(d_file_list);
    // Over the empty list rather than in its place, so the list keeps its focus and its size.
    d_empty_label = new QLabel(d_file_list->viewport());
    d_empty_label->setObjectName(QStringLiteral("empty_list_label"));
    d_empty_label->setTextFormat(Qt::PlainText);
    d_empty_label->setWordWrap(true);
    d_empty_label->setAlignment(Qt::AlignCenter);
    d_empty_label->setMargin(8);
    {
        // Grey, so it reads as a note and not as a listed name.
        QPalette palette = d_empty_label->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Disabled, QPalette::Text));
        d_empty_label->setPalette(palette);
    }
    d_empty_label->hide();
    d_file_list->viewport()->installEventFilter(this);
    d_file_list->installEventFilter(this);

    QHBoxLayout *button_row = new QHBoxLayout;
    d_remove_button = Create_Tool_Button(this, "remove_button", QStringLiteral(":/icon16/remove_icon16.png"),
                                         tr("Remove Measurement"), 16);
    d_edit_button = Create_Tool_Button(this, "edit_button", QStringLiteral(":/icon16/edit_icon16.png"),
                                       tr("Edit Search Path"), 16);
    d_refresh_button = Create_Tool_Button(
        this, "refresh_button", QStringLiteral(":/icon16/refresh_icon16.png"), QStringLiteral("Refresh"), 16);
    d_remove_button->setEnabled(false);
    button_row->addWidget(d_remove_button);
    button_row->addWidget(d_edit_button);
    button_row->addWidget(d_refresh_button);
    button_row->addStretch();
    layout->addLayout(button_row);

    d_application_path = QCoreApplication::applicationDirPath();
    d_input_settings.relative_path = QStringLiteral("/Measurement_Data");
    d_input_settings.absolute_path = QStringLiteral("/Measurement_Data");
    d_input_settings.use_relative_path = false;

    connect(d_remove_button, &QToolButton::clicked, this, &TMeasuredWidget::Remove_Clicked);
    connect(d_edit_button, &QToolButton::clicked, this, &TMeasuredWidget::Edit_Clicked);
    connect(d_refresh_button, &QToolButton::clicked, this, &TMeasuredWidget::Refresh_Clicked);
    connect(d_file_list, &QListWidget::itemSelectionChanged, this, &TMeasuredWidget::Selection_Changed);

    setFocusProxy(d_file_list);
}

TMeasuredWidget::~TMeasuredWidget() = default;

void TMeasuredWidget::Set_Input_Settings(const TInputSettings &settings)
{
    d_input_settings = settings;
    Refresh_File_List();
}

QString TMeasuredWidget::Resolve_Folder() const
{
    if (d_input_settings.use_relative_path)
    {
        // Always below the application folder, even with a leading "/"; a folder that is not there
        // lists nothing, so that nothing else is listed (or removed) in its place.
        QString relative = d_input_settings.relative_path;
        while (relative.startsWith(QLatin1Char('/')))
            relative.remove(0, 1);
        const QString path = QDir::cleanPath(d_application_path + QLatin1Char('/') + relative);
        return QFileInfo(path).isDir() ? path : QString();
    }
    // Anything but an absolute path would name the process's working folder: list nothing then.
    if (!QDir::isAbsolutePath(d_input_settings.absolute_path))
        return QString();
    return QDir(d_input_settings.absolute_path).absolutePath();
}

QStringList TMeasuredWidget::Selected_Names() const
{
    QStringList names;
    const QList<QListWidgetItem *> items = d_file_list->selectedItems();
    for (const QListWidgetItem *item : items)
        names.append(item->text());
    return names;
}

void TMeasuredWidget::Refresh_File_List()
{
    d_measurement_folder = Resolve_Folder();

    QStringList names;
    if (!d_measurement_folder.isEmpty())
    {
        const QStringList entries =
            QDir(d_measurement_folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        names.reserve(entries.size());
        for (const QString &entry : entries)
        {
            if (entry.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
                names.append(entry);
        }
    }

    // The files still listed stay selected, so a refresh alone never loads or drops the file on show.
    const QStringList selected = Selected_Names();
    const QSet<QString> keep(selected.cbegin(), selected.cend());
    const QString current = d_file_list->currentItem() ? d_file_list->currentItem()->text() : QString();
    const int scrolled = d_file_list->verticalScrollBar()->value();
    {
        const QSignalBlocker blocker(d_file_list);
        d_file_list->clear();
        d_file_list->addItems(names);
        for (int row = 0;
             row < d_file_list->count() && (!keep.isEmpty() || !current.isEmpty() || !d_marked.isEmpty());
             ++row)
        {
            QListWidgetItem *item = d_file_list->item(row);
            if (item->text() == current)
                d_file_list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
            if (keep.contains(item->text()))
                item->setSelected(true);
            Show_Mark(item);
        }
        d_file_list->verticalScrollBar()->setValue(scrolled);
    }
    const QStringList reselected = Selected_Names();
    if (QSet<QString>(reselected.cbegin(), reselected.cend()) != keep)
        Selection_Changed();
    else
        d_remove_button->setEnabled(!selected.isEmpty());
    Show_Empty_Text();
    emit File_List_Refreshed();
}

QString TMeasuredWidget::Intended_Folder() const
{
    if (d_input_settings.use_relative_path)
    {
        QString relative = d_input_settings.relative_path;
        while (relative.startsWith(QLatin1Char('/')))
            relative.remove(0, 1);
        return QDir::cleanPath(d_application_path + QLatin1Char('/') + relative);
    }
    return d_input_settings.absolute_path;
}

void TMeasuredWidget::Set_First_Start(bool first_start)
{
    d_first_start = first_start;
    Show_Empty_Text();
}

QString TMeasuredWidget::Empty_Text() const
{
    if (d_file_list->count() > 0)
        return QString();
    const QString folder = QDir::toNativeSeparators(Intended_Folder());
    if (d_measurement_folder.isEmpty() || !QFileInfo(d_measurement_folder).isDir())
    {
        if (d_first_start)
            return tr("No measurement folder chosen yet.\n\nChoose the folder that holds your measurement "
                      "files with File \u2192 Open Folder... (Ctrl+O), or drop it on this window.");
        return tr("%1 does not exist\n\nChoose another folder with File \u2192 Open Folder...").arg(folder);
    }
    return tr("No measurement files in %1\n\nChoose another folder with File \u2192 Open Folder...")
        .arg(folder);
}

void TMeasuredWidget::Show_Empty_Text()
{
    const QString text = Empty_Text();
    d_empty_label->setText(text);
    d_empty_label->resize(d_file_list->viewport()->size());
    d_empty_label->setVisible(!text.isEmpty());
}

bool TMeasuredWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d_file_list->viewport() && event->type() == QEvent::Resize)
        d_empty_label->resize(d_file_list->viewport()->size());
    // Delete removes the selection through the same question as the button, only from the list itself.
    if (watched == d_file_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Delete))
    {
        Remove_Clicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TMeasuredWidget::Select_File(const QString &name)
{
    const QList<QListWidgetItem *> items = d_file_list->findItems(name, Qt::MatchExactly);
    if (items.isEmpty())
        return false;
    d_file_list->setCurrentItem(items.first(), QItemSelectionModel::ClearAndSelect);
    d_file_list->scrollToItem(items.first());
    return true;
}

void TMeasuredWidget::Mark_File(const QString &name)
{
    d_marked.insert(name);
    const QList<QListWidgetItem *> items = d_file_list->findItems(name, Qt::MatchExactly);
    for (QListWidgetItem *item : items)
        Show_Mark(item);
}

void TMeasuredWidget::Show_Mark(QListWidgetItem *item) const
{
    QFont font = item->font();
    font.setBold(d_marked.contains(item->text()));
    item->setFont(font);
}

void TMeasuredWidget::Remove_Clicked()
{
    const QStringList names = Selected_Names();
    if (!names.isEmpty())
        emit Remove_Data(d_measurement_folder, names);
}

void TMeasuredWidget::Edit_Clicked()
{
    if (!d_input_dialog)
        d_input_dialog = new TMeasuredInputDialog(this);
    d_input_dialog->Reset(d_application_path, d_input_settings);
    if (d_input_dialog->exec() != QDialog::Accepted)
        return;
    d_input_settings = d_input_dialog->Settings();
    Refresh_File_List();
    emit File_Path_Changed();
}

void TMeasuredWidget::Refresh_Clicked()
{
    Refresh_File_List();
}

void TMeasuredWidget::Selection_Changed()
{
    const QList<QListWidgetItem *> items = d_file_list->selectedItems();
    // A marked file has been seen once the user selects it.
    for (QListWidgetItem *item : items)
    {
        if (d_marked.remove(item->text()))
            Show_Mark(item);
    }
    if (items.size() == 1)
        emit Load_Data(d_measurement_folder + QLatin1Char('/') + items.first()->text());
    if (items.size() == 2)
    {
        // selectedItems() is in the order of selecting; the list's order is the one to keep.
        const bool in_order = d_file_list->row(items.at(0)) < d_file_list->row(items.at(1));
        emit Compare_Data(d_measurement_folder + QLatin1Char('/') + items.at(in_order ? 0 : 1)->text(),
                          d_measurement_folder + QLatin1Char('/') + items.at(in_order ? 1 : 0)->text());
    }
    d_remove_button->setEnabled(!items.isEmpty());
}
