#include "childprocess.h"
#include "xmlfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace
{
struct TFailure
{
    QString message;
    int type = -1;
};

template <class TAction> TFailure Failure_Of(TAction action)
{
    try
    {
        action();
    }
    catch (const TXmlFileException &exception)
    {
        return {exception.Message(), exception.Type()};
    }
    return {};
}

bool Write_Bytes(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

const char NOMINAL_WRITTEN[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                               "<Step_Gauge_Nominal File_Version=\"1\">\n"
                               "    <Serial_Number>AB 12</Serial_Number>\n"
                               "    <Actual>\n"
                               "        <Index_0>1.500</Index_0>\n"
                               "        <Index_1>-3</Index_1>\n"
                               "        <Index_2>42</Index_2>\n"
                               "    </Actual>\n"
                               "    <Empty/>\n"
                               "</Step_Gauge_Nominal>\n";

void Build_Nominal(TXmlFile *xml)
{
    xml->Reset(QStringLiteral("Step_Gauge_Nominal"), 1);
    QDomElement root = xml->Root_Node();
    QDomElement serial = xml->Create_Node(&root, QStringLiteral("Serial_Number"));
    xml->Write_Text_Node(&serial, QStringLiteral("AB 12"));
    QDomElement actual = xml->Create_Node(&root, QStringLiteral("Actual"));
    QDomElement index = xml->Create_Node(&actual, QStringLiteral("Index_0"));
    xml->Write_Text_Node(&index, 1.5, 3);
    index = xml->Create_Node(&actual, QStringLiteral("Index_1"));
    xml->Write_Text_Node(&index, -3.0, 0);
    index = xml->Create_Node(&actual, QStringLiteral("Index_2"));
    xml->Write_Text_Node(&index, 42);
    xml->Create_Node(&root, QStringLiteral("Empty"));
}

QByteArray Billion_Laughs()
{
    QByteArray data = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol0 \"lol\">\n";
    for (int i = 1; i < 10; ++i)
    {
        data += QByteArray("<!ENTITY lol") + QByteArray::number(i) + " \"" +
                QByteArray("&lol" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    }
    return data + "]>\n<Step_Gauge_Nominal File_Version=\"1\">&lol9;</Step_Gauge_Nominal>\n";
}
} // namespace

class TTestXmlFile : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(d_folder.isValid()); }

    void writes_indented_and_compact()
    {
        TXmlFile xml;
        Build_Nominal(&xml);
        QByteArray indented;
        xml.Write_Data(&indented, false);
        QCOMPARE(indented, QByteArray(NOMINAL_WRITTEN));

        xml.Set_File_Name(d_folder.filePath(QStringLiteral("indented.xml")));
        xml.Write_File(false);
        QFile file(xml.File_Name());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(NOMINAL_WRITTEN));

        // Line breaks inside text vanish too in a compact write.
        QDomElement root = xml.Root_Node();
        QDomElement note = xml.Create_Node(&root, QStringLiteral("Note"));
        xml.Write_Text_Node(&note, QStringLiteral("two\r\nlines"));
        QByteArray compact;
        xml.Write_Data(&compact, true);
        QVERIFY(!compact.contains('\n') && !compact.contains('\r'));
        QVERIFY(compact.startsWith(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><Step_Gauge_Nominal File_Version=\"1\">"
            "<Serial_Number>AB 12</Serial_Number><Actual><Index_0>1.500</Index_0>"));
        QVERIFY(compact.contains("<Note>two"));
    }

    void writes_attributes_and_doctype()
    {
        TXmlFile xml;
        xml.Reset(QStringLiteral("Calibration"), QStringLiteral("Root"), 3);
        QDomElement root = xml.Root_Node();
        xml.Write_Attribute(&root, QStringLiteral("Text"), QStringLiteral("a<b"));
        xml.Write_Attribute(&root, QStringLiteral("Length"), 2.26, 1);
        xml.Write_Attribute(&root, QStringLiteral("Count"), 7);
        QByteArray data;
        xml.Write_Data(&data, false);
        // The DOM writes attributes in no fixed order, so they are checked by reading them back.
        QVERIFY2(data.startsWith("<!DOCTYPE Calibration>\n<Root "), data.constData());

        TXmlFile read;
        int version = 0;
        read.Open_Data(data, QStringLiteral("Root"), &version, false);
        QCOMPARE(version, 3);
        QCOMPARE(read.Document_Type_Name(), QStringLiteral("Calibration"));
        QCOMPARE(read.Identification(), QStringLiteral("Root"));
        const QDomElement read_root = read.Root_Node();
        QCOMPARE(read.Read_Attribute(&read_root, QStringLiteral("Text"), false), QStringLiteral("a<b"));
        QCOMPARE(read.Read_Attribute(&read_root, QStringLiteral("Length"), false), QStringLiteral("2.3"));
        QCOMPARE(read.Read_Attribute(&read_root, QStringLiteral("Count"), false), QStringLiteral("7"));
    }

    void opens_and_reads_back()
    {
        TXmlFile xml;
        Build_Nominal(&xml);
        xml.Set_File_Name(d_folder.filePath(QStringLiteral("round.xml")));
        xml.Write_File(false);

        TXmlFile read;
        read.Set_File_Name(xml.File_Name());
        int version = -1;
        read.Open(QStringLiteral("Step_Gauge_Nominal"), &version, true);
        QCOMPARE(version, 1);
        QVERIFY(read.Document_Type_Name().isEmpty());
        const QDomElement root = read.Root_Node();
        const QDomElement serial = read.Get_Node(&root, QStringLiteral("Serial_Number"), false);
        QCOMPARE(read.Read_Text_Node(&serial, false), QStringLiteral("AB 12"));
        const QDomElement actual = read.Get_Node(&root, QStringLiteral("Actual"), false);
        const QDomElement first = read.Get_Node(&actual, QStringLiteral("Index_0"), false);
        const QDomElement third = read.Get_Sibling_Node(&first, QStringLiteral("Index_2"), false);
        QCOMPARE(read.Read_Text_Node(&third, false), QStringLiteral("42"));
        const QDomNode any_first = read.Get_First_Node(&actual, false);
        const QDomNode any_second = read.Get_Sibling_Node(&any_first, false);
        QCOMPARE(any_second.nodeName(), QStringLiteral("Index_1"));
        QCOMPARE(read.Read_Attribute(&root, QStringLiteral("File_Version"), false), QStringLiteral("1"));
        QVERIFY(read.Read_Attribute(&root, QStringLiteral("Missing"), true).isEmpty());
        QVERIFY(read.Get_Node(&root, QStringLiteral("Missing"), true).isNull());
    }

    void open_data_failures_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("with_version");
        QTest::addColumn<QString>("message");

        const QByteArray no_version = "<Step_Gauge_Nominal><Actual/></Step_Gauge_Nominal>";
        QTest::newRow("version missing")
            << no_version << true << "ERR:  The 'File_Version' attribute is missing.";
        QTest::newRow("version not asked") << no_version << false << QString();
        QTest::newRow("root case differs")
            << QByteArray("<step_gauge_nominal File_Version=\"1\"/>") << true
            << "ERR:  Identification 'Step_Gauge_Nominal' does not match 'step_gauge_nominal'";
        QTest::newRow("not closed") << QByteArray("<Step_Gauge_Nominal File_Version=\"1\">") << true
                                    << "parse";
        QTest::newRow("empty") << QByteArray() << true << "parse";
    }

    void open_data_failures()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, with_version);
        QFETCH(QString, message);
        TXmlFile xml;
        int version = 0;
        const TFailure failure = Failure_Of(
            [&] {
                xml.Open_Data(data, QStringLiteral("Step_Gauge_Nominal"), with_version ? &version : nullptr,
                              true);
            });
        if (message == QLatin1String("parse"))
        {
            QVERIFY2(
                QRegularExpression(
                    QStringLiteral("^ERR:  Reference data XML parse error at line \\d+ column \\d+: \\S"))
                    .match(failure.message)
                    .hasMatch(),
                qPrintable(failure.message));
        }
        else
        {
            QCOMPARE(failure.message, message);
        }
        QCOMPARE(failure.type, message.isEmpty() ? -1 : int(TXmlFileException::DATA_ERROR));
    }

    void non_numeric_version_reads_as_zero()
    {
        TXmlFile xml;
        int version = -1;
        xml.Open_Data("<R File_Version=\"two\"/>", QStringLiteral("R"), &version, false);
        QCOMPARE(version, 0);
    }

    // Hostile documents end in the parse error, quickly, through the file and the memory path.
    void hostile_documents_data()
    {
        QTest::addColumn<QByteArray>("data");

        const QString secret = d_folder.filePath(QStringLiteral("secret.txt"));
        QVERIFY(Write_Bytes(secret, "SECRET-CONTENT"));
        const QByteArray secret_url = QUrl::fromLocalFile(secret).toEncoded();

        QTest::newRow("entity expansion") << Billion_Laughs();
        QTest::newRow("external entity") << QByteArray("<!DOCTYPE R [<!ENTITY x SYSTEM \"" + secret_url +
                                                       "\">]><R File_Version=\"1\"><S>&x;</S></R>");
        QTest::newRow("external parameter entity") << QByteArray(
            "<!DOCTYPE R [<!ENTITY % p SYSTEM \"" + secret_url + "\"> %p;]><R File_Version=\"1\"/>");
        QTest::newRow("deep nesting")
            << QByteArray("<R File_Version=\"1\">" + QByteArray("<a>").repeated(40000) +
                          QByteArray("</a>").repeated(40000) + "</R>");
        QByteArray junk(256 * 1024, '\0');
        QRandomGenerator generator(7);
        for (char &byte : junk)
        {
            byte = static_cast<char>(generator.bounded(256));
        }
        QTest::newRow("256 KiB junk") << junk;
        QTest::newRow("256 KiB of open tags") << QByteArray("<R>").repeated(256 * 1024 / 3);
    }

    void hostile_documents()
    {
        QFETCH(QByteArray, data);
        const QString path = d_folder.filePath(QStringLiteral("hostile.xml"));
        QVERIFY(Write_Bytes(path, data));

        QElapsedTimer timer;
        timer.start();
        TXmlFile from_file;
        from_file.Set_File_Name(path);
        int version = 0;
        const TFailure file_failure =
            Failure_Of([&] { from_file.Open(QStringLiteral("R"), &version, true); });
        TXmlFile from_data;
        const TFailure data_failure =
            Failure_Of([&] { from_data.Open_Data(data, QStringLiteral("R"), &version, false); });
        QVERIFY2(timer.elapsed() < 10000, "hostile input took too long");

        QVERIFY2(
            file_failure.message.startsWith(QLatin1String("ERR:  Reference file XML parse error at line ")),
            qPrintable(file_failure.message));
        QVERIFY2(
            data_failure.message.startsWith(QLatin1String("ERR:  Reference data XML parse error at line ")),
            qPrintable(data_failure.message));
        QCOMPARE(file_failure.type, int(TXmlFileException::DATA_ERROR));
        QVERIFY(!file_failure.message.contains(QLatin1String("SECRET")));
    }

    void file_access_failures()
    {
        const QString missing = d_folder.filePath(QStringLiteral("missing.xml"));
        TXmlFile xml;
        xml.Set_File_Name(missing);
        TFailure failure = Failure_Of([&] { xml.Open(QStringLiteral("R"), nullptr, false); });
        QCOMPARE(failure.message, QStringLiteral("ERR:  Cannot open file '%1' for reading.").arg(missing));
        QCOMPARE(failure.type, int(TXmlFileException::FILE_ACCESS_ERROR));

        xml.Set_File_Name(d_folder.path());
        failure = Failure_Of([&] { xml.Open(QStringLiteral("R"), nullptr, false); });
        QVERIFY2(failure.message.startsWith(
                     QStringLiteral("ERR:  Cannot open file: '%1'.  Reason: ").arg(d_folder.path())),
                 qPrintable(failure.message));
        QCOMPARE(failure.type, int(TXmlFileException::FILE_ACCESS_ERROR));

        const QString unreachable = d_folder.filePath(QStringLiteral("no/such/folder.xml"));
        xml.Reset(QStringLiteral("R"), 1);
        xml.Set_File_Name(unreachable);
        failure = Failure_Of([&] { xml.Write_File(false); });
        QVERIFY2(failure.message.startsWith(
                     QStringLiteral("ERR:  Cannot write file '%1'.  Reason: ").arg(unreachable)),
                 qPrintable(failure.message));
        QCOMPARE(failure.type, int(TXmlFileException::DATA_ERROR));
    }

    void read_only_file_failures()
    {
        if (::geteuid() == 0)
        {
            QSKIP("file permissions do not bind the superuser");
        }
        const QString path = d_folder.filePath(QStringLiteral("locked.xml"));
        QVERIFY(Write_Bytes(path, "<R File_Version=\"1\"/>"));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        TXmlFile xml;
        xml.Set_File_Name(path);
        TFailure failure = Failure_Of([&] { xml.Open(QStringLiteral("R"), nullptr, false); });
        QCOMPARE(failure.message, QStringLiteral("ERR:  Cannot open file '%1' for reading.").arg(path));

        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        xml.Reset(QStringLiteral("R"), 2);
        failure = Failure_Of([&] { xml.Write_File(false); });
        QCOMPARE(failure.message, QStringLiteral("ERR:  Cannot open file '%1' for writing").arg(path));
        QCOMPARE(failure.type, int(TXmlFileException::FILE_ACCESS_ERROR));
    }

    void read_failures()
    {
        TXmlFile xml;
        xml.Open_Data("<R File_Version=\"1\"><E><F/></E><G></G><H>t</H></R>", QStringLiteral("R"), nullptr,
                      false);
        const QDomElement root = xml.Root_Node();
        const QDomElement e = xml.Get_Node(&root, QStringLiteral("E"), false);
        const QDomElement g = xml.Get_Node(&root, QStringLiteral("G"), false);
        const QDomElement h = xml.Get_Node(&root, QStringLiteral("H"), false);
        const QDomNode h_node = h;
        const QDomElement null_element;
        const QDomNode null_node;

        QVERIFY(xml.Read_Text_Node(&e, true).isEmpty());
        QVERIFY(xml.Read_Text_Node(&g, true).isEmpty());
        QCOMPARE(xml.Read_Text_Node(&h_node, false), QStringLiteral("t"));
        QVERIFY(xml.Get_First_Node(&null_node, true).isNull());
        QVERIFY(xml.Get_Sibling_Node(&null_node, true).isNull());

        const QList<QPair<TFailure, QString>> cases = {
            {Failure_Of([&] { xml.Read_Text_Node(&e, false); }), "ERR:  Node Text for 'E' is not optional."},
            {Failure_Of([&] { xml.Read_Text_Node(&g, false); }), "ERR:  Node Text for 'G' is not optional."},
            {Failure_Of([&] { xml.Read_Attribute(&e, QStringLiteral("a"), false); }),
             "ERR:  Node attribute 'a' missing and not optional."},
            {Failure_Of([&] { xml.Get_Node(&e, QStringLiteral("X"), false); }),
             "ERR:  Node 'X' is missing from node 'E' and not optional."},
            {Failure_Of([&] { xml.Get_Node(&h_node, QStringLiteral("X"), false); }),
             "ERR:  Node 'X' is missing from node 'H' and not optional."},
            {Failure_Of([&] { xml.Get_Sibling_Node(&e, QStringLiteral("E"), false); }),
             "ERR:  Node 'E' is missing from node 'E' and not optional."},
            {Failure_Of([&] { xml.Get_First_Node(&g, false); }),
             "ERR:  Parent 'G' does not have nodes and they are not optional."},
            {Failure_Of([&] { xml.Get_Sibling_Node(&h, false); }),
             "ERR:  Node 'H' does not have siblings and they are not optional."},
            // Node forms name the node by its local name, empty without namespace processing.
            {Failure_Of([&] { xml.Get_Sibling_Node(&h_node, false); }),
             "ERR:  Node '' does not have siblings and they are not optional."},
            {Failure_Of([&] { xml.Read_Text_Node(&null_element, true); }),
             "ERR:  Cannot read data from a NULL node"},
            {Failure_Of([&] { xml.Read_Text_Node(&null_node, true); }),
             "ERR:  Cannot read data from a NULL node"},
            {Failure_Of([&] { xml.Read_Attribute(&null_node, QStringLiteral("a"), true); }),
             "ERR:  Cannot read attribute from a NULL node"},
            {Failure_Of([&] { xml.Get_Node(&null_element, QStringLiteral("a"), true); }),
             "ERR:  Cannot get child from a NULL node"},
            {Failure_Of([&] { xml.Get_Sibling_Node(&null_element, QStringLiteral("a"), true); }),
             "ERR:  Cannot get sibling from a NULL node"},
        };
        for (const auto &item : cases)
        {
            QCOMPARE(item.first.message, item.second);
            QCOMPARE(item.first.type, int(TXmlFileException::DATA_ERROR));
        }

        TXmlFile with_namespaces;
        with_namespaces.Open_Data("<R File_Version=\"1\"><H>t</H></R>", QStringLiteral("R"), nullptr, true);
        const QDomNode namespaced = with_namespaces.Root_Node().firstChild();
        QCOMPARE(Failure_Of([&] { with_namespaces.Get_Sibling_Node(&namespaced, false); }).message,
                 QStringLiteral("ERR:  Node 'H' does not have siblings and they are not optional."));
    }

    void write_failures()
    {
        TXmlFile xml;
        xml.Reset(QStringLiteral("R"), 1);
        QDomElement root = xml.Root_Node();
        QDomElement null_element;
        const QList<QPair<TFailure, QString>> cases = {
            {Failure_Of([&] { xml.Create_Node(&null_element, QStringLiteral("A")); }),
             "ERR:  Cannot create node from a NULL node"},
            {Failure_Of([&] { xml.Create_Node(&root, QString()); }), "ERR:  Cannot create an unnamed node"},
            {Failure_Of([&] { xml.Write_Text_Node(&null_element, QStringLiteral("x")); }),
             "ERR:  Cannot append data to a NULL node"},
            {Failure_Of([&] { xml.Write_Text_Node(&root, QStringLiteral("bell\a")); }),
             "ERR:  Cannot write node 'R' with data 'bell\a'"},
            {Failure_Of([&] { xml.Write_Attribute(&root, QString(), 1); }),
             "ERR:  Cannot create an unnamed attribute"},
        };
        for (const auto &item : cases)
        {
            QCOMPARE(item.first.message, item.second);
            QCOMPARE(item.first.type, int(TXmlFileException::DATA_ERROR));
        }
    }

    void null_pointer_preconditions()
    {
        using TAction = void (*)();
        const QList<QPair<TAction, QByteArray>> cases = {
            {+[] { TXmlFile().Read_Text_Node(static_cast<const QDomElement *>(nullptr), true); }, "node"},
            {+[] { TXmlFile().Read_Attribute(static_cast<const QDomNode *>(nullptr), QString(), true); },
             "node"},
            {+[] { TXmlFile().Get_Node(static_cast<const QDomNode *>(nullptr), QString(), true); }, "node"},
            {+[] { TXmlFile().Get_Sibling_Node(nullptr, QStringLiteral("A"), true); }, "current_node"},
            {+[] { TXmlFile().Get_First_Node(static_cast<const QDomElement *>(nullptr), true); }, "parent"},
            {+[] { TXmlFile().Create_Node(nullptr, QStringLiteral("A")); }, "parent"},
            {+[] { TXmlFile().Write_Text_Node(nullptr, 1); }, "node"},
            {+[] { TXmlFile().Write_Attribute(nullptr, QStringLiteral("a"), 1); }, "node"},
            {+[] { TXmlFile().Write_Data(nullptr, false); }, "data"},
        };
        for (const auto &item : cases)
        {
            const TChildResult result = Run_In_Child(item.first);
            QVERIFY(result.started && result.aborted);
            QVERIFY2(result.error_output.contains("\"" + item.second + "\""),
                     result.error_output.constData());
        }
    }

  private:
    QTemporaryDir d_folder;
};

QTEST_GUILESS_MAIN(TTestXmlFile)
#include "tst_xmlfile.moc"
