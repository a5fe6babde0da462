// The checked writer: what it does with new, existing, special and protected paths, and that a full
// disk fails the write and keeps the old file.

#include "base/checkedfile.h"
#include "tests/common/small_disk.h"
#include "tests/common/test_support.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class TCheckedFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir d_dir;
    QString Path(const QString &name) const { return d_dir.filePath(name); }

  private slots:
    void Same_File_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("same");
        QVERIFY(Write_File(Path("a.dat"), "a") && Write_File(Path("b.dat"), "b") &&
                QDir().mkpath(Path("sub")));
        QVERIFY(::link(QFile::encodeName(Path("a.dat")), QFile::encodeName(Path("hard.dat"))) == 0);
        QVERIFY(QFile::link(Path("a.dat"), Path("soft.dat")));
        const auto row = [](const char *name, const char *first, const char *second, bool same)
        { QTest::newRow(name) << QString(first) << QString(second) << same; };
        row("itself", "a.dat", "a.dat", true);
        row("other file", "a.dat", "b.dat", false);
        row("through ..", "sub/../a.dat", "a.dat", true);
        row("hard link", "hard.dat", "a.dat", true);
        row("symbolic link", "soft.dat", "a.dat", true);
        row("new file, two spellings", "sub/../new.pdf", "new.pdf", true);
        row("new file and existing", "new.pdf", "a.dat", false);
    }

    void Same_File()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, same);
        QCOMPARE(CheckedFile::Same_File(Path(first), Path(second)), same);
    }

    void Destinations_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("keep");
        QTest::addColumn<QString>("error"); // empty: written
        QVERIFY(Write_File(Path("old.csv"), "old") && Write_File(Path("run.dat"), "measured") &&
                QDir().mkpath(Path("folder")));
        QVERIFY(QFile::link(Path("run.dat"), Path("link.pdf")));
        QTest::newRow("new file") << Path("new.csv") << QString() << QString();
        QTest::newRow("existing file") << Path("old.csv") << QString() << QString();
        QTest::newRow("input by its name") << Path("folder/../run.dat") << Path("run.dat")
                                           << "it is a file that was read, which is never replaced";
        QTest::newRow("input through a link")
            << Path("link.pdf") << Path("run.dat") << "it is a file that was read, which is never replaced";
        QTest::newRow("folder") << Path("folder") << QString() << "it is a folder";
        QTest::newRow("missing folder") << Path("nowhere/x.csv") << QString() << "No such file or directory";
        QTest::newRow("/dev/null") << "/dev/null" << QString() << QString();
        QTest::newRow("/dev/full") << "/dev/full" << QString() << "No space left on device";
        if (::mknod(QFile::encodeName(Path("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
            QTest::newRow("device node") << Path("null") << QString() << QString();
    }

    void Destinations()
    {
        QFETCH(QString, path);
        QFETCH(QString, keep);
        QFETCH(QString, error);
        const QFileInfo before(path);
        const QByteArray old = before.isFile() ? Read_File(path) : QByteArray();
        QString reason;
        const bool written = CheckedFile::Write(path, "new content", &reason, QStringList{keep});
        QCOMPARE(written, error.isEmpty());
        QVERIFY2(reason.contains(error), qPrintable(reason));
        const QFileInfo after(path);
        if (!before.exists() || before.isFile())
            QCOMPARE(Read_File(path), written         ? QByteArray("new content")
                                      : old.isEmpty() ? "<unreadable>"
                                                      : old);
        else
            QCOMPARE(after.isFile(), false); // a device stays a device
        QCOMPARE(QDir(d_dir.path()).entryList({"*.csv.*", "*.dat.*", "*.pdf.*"}, QDir::Files), QStringList());
    }

    void Fifo_Is_Written_Not_Replaced()
    {
        const QByteArray fifo = QFile::encodeName(Path("pipe"));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QString error;
        QVERIFY2(CheckedFile::Write(Path("pipe"), "through the pipe", &error), qPrintable(error));
        char buffer[64] = {};
        QCOMPARE(QByteArray(buffer, static_cast<int>(::read(reader, buffer, sizeof buffer))),
                 "through the pipe");
        ::close(reader);
        struct stat info = {};
        QVERIFY(::stat(fifo.constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    }

    void Full_Disk_Keeps_Old_File()
    {
        TSmallDisk disk;
        QUILLON_NEED_SMALL_DISK(disk);
        QVERIFY(Write_File(disk.Path("graph.csv"), "the old rows"));
        QVERIFY(disk.Fill(8 * 1024));
        QString error;
        // Small enough for the process's buffer, so only the checked flush can see the disk is full.
        QVERIFY(!CheckedFile::Write(disk.Path("graph.csv"), QByteArray(12 * 1024, 'r'), &error));
        QVERIFY2(error.contains("No space left on device"), qPrintable(error));
        QCOMPARE(Read_File(disk.Path("graph.csv")), "the old rows");
        QCOMPARE(QDir(disk.Path(".")).entryList(QDir::Files), QStringList{"graph.csv"});
        QVERIFY(CheckedFile::Write(disk.Path("small.csv"), "fits", &error));
    }
};
QTEST_GUILESS_MAIN(TCheckedFileTest)
#include "tst_checkedfile.moc"
