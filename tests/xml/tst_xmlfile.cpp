// The XML file: writing and reading back with attributes, documents that fail to open (hostile ones
// quickly), file access failures, and node failures with their messages.

#include "tests/common/test_support.h"
#include "xml/xmlfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace
{
const TXmlFileException::TExceptionType DATA = TXmlFileException::DATA_ERROR;
const TXmlFileException::TExceptionType ACCESS = TXmlFileException::FILE_ACCESS_ERROR;

// The message of the exception the action throws, when it is of the given type.
template <class TAction> QString Failure(TXmlFileException::TExceptionType type, TAction action)
{
    try
    {
        action();
    }
    catch (const TXmlFileException &exception)
    {
        return exception.Type() == type ? exception.Message() : "wrong type: " + exception.Message();
    }
    return QStringLiteral("no failure");
}

// One attribute a node: QDom orders several by hash. The nominal store's tests cover the rest of the form.
const char WRITTEN[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<R File_Version=\"1\">\n"
                       "    <A Text=\"a&lt;b\"/>\n"
                       "    <B Length=\"2.3\">-3</B>\n"
                       "    <C Count=\"7\">42</C>\n"
                       "</R>\n";

struct TBadRow
{
    QByteArray data;
    bool with_version;
    QString message; // empty: the parse error
};
} // namespace

Q_DECLARE_METATYPE(TBadRow)

class TTestXmlFile : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { QVERIFY(d_folder.isValid()); }

    void Writes_And_Reads_Back()
    {
        TXmlFile xml;
        xml.Reset(QStringLiteral("R"), 1);
        QDomElement root = xml.Root_Node();
        QDomElement node = xml.Create_Node(&root, QStringLiteral("A"));
        xml.Write_Attribute(&node, QStringLiteral("Text"), QStringLiteral("a<b"));
        node = xml.Create_Node(&root, QStringLiteral("B"));
        xml.Write_Text_Node(&node, -3.0, 0);
        xml.Write_Attribute(&node, QStringLiteral("Length"), 2.26, 1);
        node = xml.Create_Node(&root, QStringLiteral("C"));
        xml.Write_Text_Node(&node, 42);
        xml.Write_Attribute(&node, QStringLiteral("Count"), 7);
        xml.Set_File_Name(d_folder.filePath(QStringLiteral("round.xml")));
        xml.Write_File(false);
        QCOMPARE(Read_File(xml.File_Name()), QByteArray(WRITTEN));

        TXmlFile read;
        read.Set_File_Name(xml.File_Name());
        int version = -1;
        read.Open(QStringLiteral("R"), &version, true);
        QCOMPARE(version, 1);
        const QDomElement read_root = read.Root_Node();
        const QDomElement first = read.Get_Node(&read_root, QStringLiteral("A"), false);
        QCOMPARE(read.Read_Attribute(&first, QStringLiteral("Text"), false), QStringLiteral("a<b"));
        const QDomElement third = read.Get_Sibling_Node(&first, QStringLiteral("C"), false);
        QCOMPARE(read.Read_Text_Node(&third, false), QStringLiteral("42"));
        const QDomNode any_first = read.Get_First_Node(&read_root, false);
        QCOMPARE(read.Get_Sibling_Node(&any_first, false).nodeName(), QStringLiteral("B"));
        QVERIFY(read.Read_Attribute(&read_root, QStringLiteral("Missing"), true).isEmpty());
    }

    // Documents that fail to open, the hostile ones too, through the file and the memory path alike.
    void Bad_Documents_data()
    {
        QTest::addColumn<TBadRow>("row");
        const QByteArray no_version = "<R><Actual/></R>";
        QTest::newRow("version missing")
            << TBadRow{no_version, true, "ERR:  The 'File_Version' attribute is missing."};
        QTest::newRow("version not asked") << TBadRow{no_version, false, "no failure"};
        QTest::newRow("root case differs") << TBadRow{QByteArray("<r File_Version=\"1\"/>"), true,
                                                      "ERR:  Identification 'R' does not match 'r'"};
        QTest::newRow("empty") << TBadRow{QByteArray(), true, QString()};
        const QString secret = d_folder.filePath(QStringLiteral("secret.txt"));
        QVERIFY(Write_File(secret, "SECRET-CONTENT"));
        QTest::newRow("external entity")
            << TBadRow{"<!DOCTYPE R [<!ENTITY x SYSTEM \"" + QUrl::fromLocalFile(secret).toEncoded() +
                           "\">]><R File_Version=\"1\"><S>&x;</S></R>",
                       true, QString()};
        QTest::newRow("deep nesting")
            << TBadRow{"<R File_Version=\"1\">" + QByteArray("<a>").repeated(40000) +
                           QByteArray("</a>").repeated(40000) + "</R>",
                       true, QString()};
    }

    void Bad_Documents()
    {
        QFETCH(TBadRow, row);
        int version = 0;
        int *const asked = row.with_version ? &version : nullptr;
        TXmlFile from_data;
        const QString failure =
            Failure(DATA, [&] { from_data.Open_Data(row.data, QStringLiteral("R"), asked, false); });
        if (!row.message.isEmpty())
        {
            QCOMPARE(failure, row.message);
            return;
        }
        const QString path = d_folder.filePath(QStringLiteral("bad.xml"));
        QVERIFY(Write_File(path, row.data));
        TXmlFile from_file;
        from_file.Set_File_Name(path);
        const QString file_failure = Failure(DATA, [&] { from_file.Open(QStringLiteral("R"), asked, true); });
        const QString parse =
            QStringLiteral("^ERR:  Reference %1 XML parse error at line \\d+ column \\d+: \\S");
        QVERIFY2(QRegularExpression(parse.arg(QLatin1String("data"))).match(failure).hasMatch(),
                 qPrintable(failure));
        QVERIFY2(QRegularExpression(parse.arg(QLatin1String("file"))).match(file_failure).hasMatch(),
                 qPrintable(file_failure));
        QVERIFY(!file_failure.contains(QLatin1String("SECRET")));
    }

    void File_Failures()
    {
        TXmlFile xml;
        const QString missing = d_folder.filePath(QStringLiteral("missing.xml"));
        xml.Set_File_Name(missing);
        QCOMPARE(Failure(ACCESS, [&] { xml.Open(QStringLiteral("R"), nullptr, false); }),
                 QStringLiteral("ERR:  Cannot open file '%1' for reading.").arg(missing));
        xml.Set_File_Name(d_folder.path());
        QCOMPARE(
            Failure(ACCESS, [&] { xml.Open(QStringLiteral("R"), nullptr, false); }),
            QStringLiteral("ERR:  Cannot open file: '%1'.  Reason: Not a regular file").arg(d_folder.path()));
        const QString unreachable = d_folder.filePath(QStringLiteral("no/such/folder.xml"));
        xml.Reset(QStringLiteral("R"), 1);
        xml.Set_File_Name(unreachable);
        const QString failure = Failure(DATA, [&] { xml.Write_File(false); });
        QVERIFY2(
            failure.startsWith(QStringLiteral("ERR:  Cannot write file '%1'.  Reason: ").arg(unreachable)),
            qPrintable(failure));

        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        const QString path = d_folder.filePath(QStringLiteral("locked.xml"));
        QVERIFY(Write_File(path, "<R File_Version=\"1\"/>"));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        xml.Set_File_Name(path);
        QCOMPARE(Failure(ACCESS, [&] { xml.Open(QStringLiteral("R"), nullptr, false); }),
                 QStringLiteral("ERR:  Cannot open file '%1' for reading.").arg(path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QCOMPARE(Failure(ACCESS, [&] { xml.Write_File(false); }),
                 QStringLiteral("ERR:  Cannot open file '%1' for writing").arg(path));
    }

    void Node_Failures()
    {
        TXmlFile xml;
        xml.Open_Data("<R File_Version=\"1\"><E><F/></E><G></G><H>t</H></R>", QStringLiteral("R"), nullptr,
                      false);
        const QDomElement root = xml.Root_Node();
        const QDomElement e = xml.Get_Node(&root, QStringLiteral("E"), false);
        const QDomElement g = xml.Get_Node(&root, QStringLiteral("G"), false);
        const QDomElement h = xml.Get_Node(&root, QStringLiteral("H"), false);
        const QDomNode h_node = h;
        QDomElement null_element;
        const QDomNode null_node;
        TXmlFile out;
        out.Reset(QStringLiteral("R"), 1);
        QDomElement out_root = out.Root_Node();
        QVERIFY(xml.Read_Text_Node(&e, true).isEmpty());
        QCOMPARE(xml.Read_Text_Node(&h_node, false), QStringLiteral("t"));
        QVERIFY(xml.Get_First_Node(&null_node, true).isNull());
        QVERIFY(xml.Get_Sibling_Node(&null_node, true).isNull());

        const QStringList failures = {
            Failure(DATA, [&] { xml.Read_Text_Node(&g, false); }),
            Failure(DATA, [&] { xml.Read_Attribute(&e, QStringLiteral("a"), false); }),
            Failure(DATA, [&] { xml.Get_Node(&h_node, QStringLiteral("X"), false); }),
            Failure(DATA, [&] { xml.Get_Sibling_Node(&e, QStringLiteral("E"), false); }),
            Failure(DATA, [&] { xml.Get_First_Node(&g, false); }),
            // Node forms name the node by its local name, empty without namespace processing.
            Failure(DATA, [&] { xml.Get_Sibling_Node(&h_node, false); }),
            Failure(DATA, [&] { xml.Read_Text_Node(&null_element, true); }),
            Failure(DATA, [&] { xml.Read_Attribute(&null_node, QStringLiteral("a"), true); }),
            Failure(DATA, [&] { xml.Get_Node(&null_element, QStringLiteral("a"), true); }),
            Failure(DATA, [&] { xml.Get_Sibling_Node(&null_element, QStringLiteral("a"), true); }),
            Failure(DATA, [&] { out.Create_Node(&null_element, QStringLiteral("A")); }),
            Failure(DATA, [&] { out.Create_Node(&out_root, QString()); }),
            Failure(DATA, [&] { out.Write_Text_Node(&null_element, QStringLiteral("x")); }),
            Failure(DATA, [&] { out.Write_Text_Node(&out_root, QStringLiteral("bell\a")); }),
            Failure(DATA, [&] { out.Write_Attribute(&out_root, QString(), 1); }),
        };
        QCOMPARE(
            failures,
            QStringList(
                {"ERR:  Node Text for 'G' is not optional.",
                 "ERR:  Node attribute 'a' missing and not optional.",
                 "ERR:  Node 'X' is missing from node 'H' and not optional.",
                 "ERR:  Node 'E' is missing from node 'E' and not optional.",
                 "ERR:  Parent 'G' does not have nodes and they are not optional.",
                 "ERR:  Node '' does not have siblings and they are not optional.",
                 "ERR:  Cannot read data from a NULL node", "ERR:  Cannot read attribute from a NULL node",
                 "ERR:  Cannot get child from a NULL node", "ERR:  Cannot get sibling from a NULL node",
                 "ERR:  Cannot create node from a NULL node", "ERR:  Cannot create an unnamed node",
                 "ERR:  Cannot append data to a NULL node", "ERR:  Cannot write node 'R' with data 'bell\a'",
                 "ERR:  Cannot create an unnamed attribute"}));

        TXmlFile with_namespaces;
        with_namespaces.Open_Data("<R File_Version=\"1\"><H>t</H></R>", QStringLiteral("R"), nullptr, true);
        const QDomNode namespaced = with_namespaces.Root_Node().firstChild();
        QCOMPARE(Failure(DATA, [&] { with_namespaces.Get_Sibling_Node(&namespaced, false); }),
                 QStringLiteral("ERR:  Node 'H' does not have siblings and they are not optional."));
    }

  private:
    QTemporaryDir d_folder;
};

QTEST_GUILESS_MAIN(TTestXmlFile)
#include "tst_xmlfile.moc"
