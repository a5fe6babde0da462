// A nominal file being saved when the program is killed: whatever the moment, the file that is left
// is the complete old or the complete new set, never missing and never cut.

#include "nominalstore.h"
#include "test_support.h"

#include <QRandomGenerator>
#include <QtTest>

#include <limits>

namespace
{
const QString FILE_NAME = QStringLiteral("SG_K-17");

// Enough faces that one save takes long enough to be interrupted part way.
std::vector<double> Values(int count, double offset)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
        values.push_back(10.0 * i + offset);
    return values;
}

// Saves the set in a child process and kills it after delay_us (never, when negative); returns
// whether the child was killed before it finished.
bool Save_In_Child(TNominalStore *store, const std::vector<double> &values, qint64 delay_us)
{
    const pid_t pid = fork();
    if (pid == 0)
    {
        store->Set_Nominal(QStringLiteral("K-17"), values);
        _exit(store->Save_Data(FILE_NAME) ? 0 : 1);
    }
    if (delay_us >= 0)
    {
        usleep(static_cast<useconds_t>(delay_us));
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}
} // namespace

class TTestCrashSafety : public QObject
{
    Q_OBJECT

  private slots:
    void Killed_While_Saving()
    {
        QTemporaryDir folder;
        TNominalStore store;
        store.Initialize(folder.path());
        const QString path = store.Nominal_Folder() + QLatin1Char('/') + FILE_NAME;
        const std::vector<double> old_values = Values(1000, 0.0), new_values = Values(1500, 0.12345);

        // The quickest of a few whole saves, so that most kills land inside one.
        qint64 save_us = std::numeric_limits<qint64>::max();
        for (int run = 0; run < 3; ++run)
        {
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!Save_In_Child(&store, new_values, -1));
            save_us = std::min(save_us, timer.nsecsElapsed() / 1000);
        }
        const QByteArray new_bytes = Read_File(path);
        store.Set_Nominal(QStringLiteral("K-17"), old_values);
        QVERIFY(store.Save_Data(FILE_NAME));
        const QByteArray old_bytes = Read_File(path);
        QVERIFY(new_bytes.contains("<Index_1499>") && old_bytes.contains("<Index_999>"));

        int killed = 0, old_left = 0, new_left = 0;
        QRandomGenerator random(17);
        for (int round = 0; killed < 200 && round < 2000; ++round)
        {
            killed += Save_In_Child(&store, new_values, random.bounded(static_cast<int>(save_us * 2)));
            const QByteArray left = Read_File(path);
            QVERIFY2(left == old_bytes || left == new_bytes,
                     qPrintable(QStringLiteral("round %1 left %2 bytes").arg(round).arg(left.size())));
            old_left += left == old_bytes;
            new_left += left == new_bytes;
            store.Update_Display();
            // The lookup the load makes finds the whole set.
            bool valid = false;
            const size_t found = store.Nominal_Data(QStringLiteral("k-17"), &valid).size();
            QVERIFY(valid && found == (left == old_bytes ? old_values : new_values).size());
            QVERIFY(store.Save_Data(FILE_NAME));
        }
        // Some saves were cut short and some completed: the moments cover the whole save.
        QVERIFY2(
            old_left > 0 && new_left > 0 && killed == 200,
            qPrintable(QStringLiteral("old %1, new %2, killed %3").arg(old_left).arg(new_left).arg(killed)));
    }
};

QTEST_GUILESS_MAIN(TTestCrashSafety)
#include "tst_crashsafety.moc"
