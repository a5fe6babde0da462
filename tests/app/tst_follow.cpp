// Following the measuring machine: a file written in pieces is shown once it is complete, never half
// written, and only marked while the user has just selected a file by hand.

#include "tests/app/apptest.h"

#include "app/measuredwidget.h"
#include "app/quillon.h"

namespace
{
const QString EXAMPLES = QStringLiteral(QUILLON_SOURCE_DIR "/examples/");
const QString NEW_NAME = QStringLiteral("new_run.dat");

// Writes the example in three pieces 200 ms apart, as a measuring program does. The window must not have
// shown the file before the last piece: false when it did.
bool Write_In_Pieces(const TQuillon &window, const QString &path)
{
    const QByteArray data = Read_File(EXAMPLES + "laser_pmove_x_axis.dat");
    const int piece = static_cast<int>(data.size()) / 3;
    for (int i = 0; i < 3; ++i)
    {
        QFile file(path);
        if (!file.open(QIODevice::Append) || file.write(data.mid(i * piece, i == 2 ? -1 : piece)) < 0)
            return false;
        file.close();
        if (window.Current_File_Path() == path)
            return false;
        if (i < 2)
            QTest::qWait(200);
    }
    return true;
}
} // namespace

class TTestFollow : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void init()
    {
        QVERIFY(d_dir.isValid());
        QFile::remove(d_dir.filePath(NEW_NAME));
        QVERIFY(Write_File(d_dir.filePath("earlier.dat"), Read_File(EXAMPLES + "laser_10360_x_axis.dat")));
    }

    void Shows_Complete_File()
    {
        TQuillon window;
        QVERIFY(window.Open_Path(d_dir.path()) && Show_And_Wait(&window));
        QAction *follow = Child<QAction>(window, "follow_action");
        QVERIFY(follow && follow->isCheckable() && !follow->isChecked());
        follow->trigger();
        QSignalSpy loads(window.findChild<TMeasuredWidget *>(), &TMeasuredWidget::Load_Data);

        const QString path = d_dir.filePath(NEW_NAME);
        QVERIFY(Write_In_Pieces(window, path));
        QCOMPARE(loads.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(window.Current_File_Path(), path, 3000);
        QCOMPARE(loads.count(), 1);
        QVERIFY(
            !Child<QPlainTextEdit>(window, "report_pane")->toPlainText().startsWith(QLatin1String("ERR")));
        QCOMPARE(window.findChild<QStatusBar *>()->currentMessage(),
                 QStringLiteral("Showing new file new_run.dat"));
        QVERIFY(!window.findChild<TMeasuredWidget *>()->Marked(NEW_NAME));
        window.close();
        QVERIFY(
            Read_File(window.Settings_Folder() + "/quillon_settings.ini").contains("Follow_New_Files=true"));
    }

    void Hand_Selection_Keeps_View()
    {
        TQuillon window;
        QVERIFY(window.Open_Path(d_dir.path()) && Show_And_Wait(&window));
        Child<QAction>(window, "follow_action")->setChecked(true);

        QListWidget *list = Child<QListWidget>(window, "file_list");
        QVERIFY(Click_Item(list, "earlier.dat"));
        const QString chosen = d_dir.filePath("earlier.dat");
        QCOMPARE(window.Current_File_Path(), chosen);

        const QString path = d_dir.filePath(NEW_NAME);
        QVERIFY(Write_In_Pieces(window, path));
        const TMeasuredWidget *files = window.findChild<TMeasuredWidget *>();
        QTRY_VERIFY_WITH_TIMEOUT(files->Marked(NEW_NAME), 3000);
        QCOMPARE(window.Current_File_Path(), chosen);
        QListWidgetItem *marked = list->findItems(NEW_NAME, Qt::MatchExactly).value(0);
        QVERIFY(marked && marked->font().bold());

        // Looking at it ends the mark.
        QVERIFY(Click_Item(list, NEW_NAME));
        QCOMPARE(window.Current_File_Path(), path);
        QVERIFY(!files->Marked(NEW_NAME));
        QVERIFY(!list->findItems(NEW_NAME, Qt::MatchExactly).value(0)->font().bold());
    }

  private:
    QTemporaryDir d_dir;
};

QUILLON_APP_TEST_MAIN(TTestFollow)
#include "tst_follow.moc"
