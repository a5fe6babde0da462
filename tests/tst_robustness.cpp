// Every example file, cut, thinned, repeated and corrupted in many ways, must load cleanly or end in
// one "ERR  ..." line: never a crash, a hang or an assertion. Run under the sanitizers in CI.

#include "measurementload.h"

#include <QtTest>

#include <random>

namespace
{
QStringList Example_Files()
{
    QDir examples(QStringLiteral(QUILLON_SOURCE_DIR "/examples"));
    QStringList files;
    for (const QString &name : examples.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name))
    {
        files.append(examples.filePath(name));
    }
    return files;
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Loads the data and checks the pipeline's promise; also reads the failed record's report and graph,
// which the viewer never does but which must be safe on whatever the parser left behind.
void Check_Load(const QByteArray &data, const char *what)
{
    const TMeasurementLoad load = MeasurementLoad::Load_Contents(data, nullptr);
    QVERIFY2(!load.report_lines.isEmpty(), what);
    if (!load.Succeeded())
    {
        QVERIFY2(load.report_lines.size() == 1 &&
                     load.report_lines.first().startsWith(QStringLiteral("ERR  ")),
                 what);
        QVERIFY2(load.report_lines.first().size() > 5, what);
    }
    if (load.record)
    {
        load.record->Text_Report();
        for (const auto &curve : load.record->Graph_Data())
        {
            QVERIFY2(curve.size() < size_t(1) << 24, what);
        }
    }
}
} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT

  private Q_SLOTS:

    void Examples_Load();
    void Cut_At_Every_Line();
    void Each_Line_Removed_Or_Doubled();
    void Random_Corruption();
    void Repeated_Records_Up_To_The_Size_Limit();
};

void TestRobustness::Examples_Load()
{
    QVERIFY(!Example_Files().isEmpty());
    for (const QString &path : Example_Files())
    {
        const TMeasurementLoad load = MeasurementLoad::Load_File(path, nullptr);
        QVERIFY2(load.Succeeded(),
                 qPrintable(path + QLatin1String(": ") + load.report_lines.join(QLatin1Char('\n'))));
        QVERIFY(load.contents != TMeasureData::CONTENTS_UNKNOWN);
        QCOMPARE(load.record->file_contents == 0 || load.record->file_contents == load.contents, true);
    }
}

void TestRobustness::Cut_At_Every_Line()
{
    for (const QString &path : Example_Files())
    {
        const QByteArray data = Read(path);
        for (int end = data.indexOf('\n'); end >= 0; end = data.indexOf('\n', end + 1))
        {
            Check_Load(data.left(end), qPrintable(path));
            Check_Load(data.left(end + 1) + "\r", qPrintable(path));
        }
    }
}

void TestRobustness::Each_Line_Removed_Or_Doubled()
{
    for (const QString &path : Example_Files())
    {
        const QList<QByteArray> lines = Read(path).split('\n');
        for (int i = 0; i < lines.size(); ++i)
        {
            QList<QByteArray> removed = lines;
            removed.removeAt(i);
            Check_Load(removed.join('\n'), qPrintable(path));

            QList<QByteArray> doubled = lines;
            doubled.insert(i, lines[i]);
            Check_Load(doubled.join('\n'), qPrintable(path));

            // Values cut off after their key, or replaced by text that is not a number.
            QList<QByteArray> emptied = lines;
            const int colon = lines[i].indexOf(':');
            if (colon > 0 && i > 0)
            {
                emptied[i] = lines[i].left(colon + 1);
                Check_Load(emptied.join('\n'), qPrintable(path));
                emptied[i] = lines[i].left(colon + 1) + "nan,inf,-1e999,,x,1e308,-1e308,1e-320";
                Check_Load(emptied.join('\n'), qPrintable(path));
            }
        }
    }
}

void TestRobustness::Random_Corruption()
{
    std::mt19937 random(20261207);
    const char replacements[] = {',', ':', '\n', '\r', ' ', '#', '-', '9', 'e', '.', '\t'};
    for (const QString &path : Example_Files())
    {
        const QByteArray data = Read(path);
        for (int round = 0; round < 300; ++round)
        {
            QByteArray corrupted = data;
            const int changes = 1 + static_cast<int>(random() % 8);
            for (int change = 0; change < changes; ++change)
            {
                const int at = static_cast<int>(random() % static_cast<unsigned>(corrupted.size()));
                corrupted[at] = replacements[random() % sizeof(replacements)];
            }
            Check_Load(corrupted, qPrintable(path));
        }
    }
}

void TestRobustness::Repeated_Records_Up_To_The_Size_Limit()
{
    // Every data line of an example repeated until the file reaches the size limit: loading must
    // stay fast (linear or n log n) and clean.
    for (const QString &path : Example_Files())
    {
        const QList<QByteArray> lines = Read(path).split('\n');
        QByteArray body;
        QByteArray head;
        QByteArray tail;
        for (int i = 0; i < lines.size(); ++i)
        {
            (i < lines.size() / 2 ? head : tail).append(lines[i] + '\n');
        }
        body = tail.left(tail.indexOf('\n') + 1);
        QByteArray big = head;
        while (big.size() + body.size() + tail.size() < MeasurementLoad::LARGEST_FILE_SIZE)
        {
            big.append(body);
        }
        big.append(tail);
        QElapsedTimer timer;
        timer.start();
        Check_Load(big, qPrintable(path));
        QVERIFY2(timer.elapsed() < 10000, qPrintable(path));
    }
}

QTEST_GUILESS_MAIN(TestRobustness)
#include "tst_robustness.moc"
