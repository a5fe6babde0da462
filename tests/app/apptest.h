#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

inline bool Write_File(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

inline QByteArray Read_File(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList Files_In(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
