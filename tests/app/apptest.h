#pragma once

#include <QtTest>
#include <QtWidgets>

#include "app/quillon.h"
#include "tests/common/test_support.h"
#include "widgets/messagebox.h"

#include <memory>

// The window keeps its settings under the home folder: every test program gets an empty one of its own.
#define QUILLON_APP_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        QTemporaryDir home;                                                                                  \
        qputenv("HOME", home.path().toLocal8Bit());                                                          \
        QApplication application(argc, argv);                                                                \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

inline const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");

// A function, since the home folder is set when the test starts.
inline QString Settings(const QString &name = QStringLiteral("quillon_settings.ini"))
{
    return QDir::homePath() + "/.corvane/" + name;
}

// A window started on the given settings file contents; a null text starts without a file.
inline std::unique_ptr<TQuillon> Window(const QByteArray &settings = QByteArray())
{
    QFile::remove(Settings());
    if (!settings.isNull())
        Write_File(Settings(), settings);
    return std::make_unique<TQuillon>();
}

// The window started again on what the last one wrote at close.
inline std::unique_ptr<TQuillon> Restarted(std::unique_ptr<TQuillon> window)
{
    window->close();
    window.reset();
    return std::make_unique<TQuillon>();
}

inline QStringList Sorted_Files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The nominal sets of the examples, where the window looks them up.
inline bool Install_Nominal_Sets()
{
    bool written = true;
    for (const QString &name : Sorted_Files(EXAMPLES + "Nominal_Data"))
        written = written &&
                  Write_File(Settings("Nominal_Data/" + name), Read_File(EXAMPLES + "Nominal_Data/" + name));
    return written;
}

// Message boxes are answered with the given button; their texts are collected without markup, as
// "text: informative text".
inline QStringList *Answer_Boxes(int answer)
{
    static QStringList asked;
    asked.clear();
    TMessageBox::Set_Answer_Function(
        [answer](TMessageBox *box)
        {
            const QRegularExpression markup(QStringLiteral("<[^>]*>"));
            asked << box->text().remove(markup) + ": " + box->informativeText().remove(markup);
            return answer;
        });
    return &asked;
}

template <typename T> T *Child(const QObject &parent, const char *name)
{
    return parent.findChild<T *>(QLatin1String(name));
}

// The names in a list, by default the file list of a window or file list widget.
inline QStringList Listed(const QObject &parent, const char *list = "file_list")
{
    QStringList names;
    for (int i = 0; i < Child<QListWidget>(parent, list)->count(); ++i)
        names.append(Child<QListWidget>(parent, list)->item(i)->text());
    return names;
}

// Shows the widget and waits until it is on the screen.
inline bool Show_And_Wait(QWidget *widget)
{
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

// Clicks the named entry of a list as a user does, with Ctrl to add it to the selection.
inline bool Click_Item(QListWidget *list, const QString &name, Qt::KeyboardModifiers modifiers = {})
{
    QListWidgetItem *item = list->findItems(name, Qt::MatchExactly).value(0);
    if (item)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
    return item;
}

// A "row" column with one row per entry, named by the entry.
template <typename T, std::size_t N> void Add_Rows(const T (&rows)[N])
{
    QTest::addColumn<T>("row");
    for (const T &row : rows)
        QTest::newRow(row.name) << row;
}
