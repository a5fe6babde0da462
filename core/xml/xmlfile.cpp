#include "xml/xmlfile.h"

#include "base/assertion.h"
#include "base/checkedfile.h"

#include <QDomImplementation>
#include <QDomProcessingInstruction>
#include <QDomText>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QXmlStreamReader>

namespace
{
// Our files are three levels deep; the limit only keeps hostile input from exhausting the stack of
// the recursive DOM code.
const int LARGEST_ELEMENT_DEPTH = 256;
const int INDENTATION = 4;

QString Prefixed(const QString &text)
{
    return QStringLiteral("ERR:  ") + text;
}

[[noreturn]] void Throw_Data_Error(const QString &text)
{
    throw TXmlFileException(Prefixed(text), TXmlFileException::DATA_ERROR);
}

[[noreturn]] void Throw_Access_Error(const QString &text)
{
    throw TXmlFileException(Prefixed(text), TXmlFileException::FILE_ACCESS_ERROR);
}

// Walks the whole input once before the DOM sees it. Entity declarations are refused outright, so
// no entity can expand (exponentially or from another file), and deep nesting stops at a limit.
// Returns false with the reader's error set.
bool Is_Safe_Document(QXmlStreamReader *reader)
{
    int depth = 0;
    while (!reader->atEnd())
    {
        switch (reader->readNext())
        {
        case QXmlStreamReader::DTD:
            if (!reader->entityDeclarations().isEmpty())
            {
                reader->raiseError(QStringLiteral("Entity declarations are not accepted."));
            }
            break;
        case QXmlStreamReader::StartElement:
            if (++depth > LARGEST_ELEMENT_DEPTH)
            {
                reader->raiseError(QStringLiteral("Elements are nested too deeply."));
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return !reader->hasError();
}

QString Number_Text(const double &value, int precision)
{
    return QStringLiteral("%1").arg(value, 0, 'f', precision);
}
} // namespace

TXmlFile::TXmlFile()
{
    // Invalid names or text then give null nodes, which the write operations report.
    QDomImplementation::setInvalidDataPolicy(QDomImplementation::ReturnNullNode);
}

void TXmlFile::Open(const QString &identification, int *version, bool namespace_processing)
{
    const QFileInfo info(d_file_name);
    if (!info.isReadable())
    {
        Throw_Access_Error(QStringLiteral("Cannot open file '%1' for reading.").arg(d_file_name));
    }
    // A pipe or device could block the open or never end.
    if (!info.isFile())
    {
        Throw_Access_Error(QStringLiteral("Cannot open file: '%1'.  Reason: %2")
                               .arg(d_file_name, QStringLiteral("Not a regular file")));
    }
    QFile file(d_file_name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        Throw_Access_Error(
            QStringLiteral("Cannot open file: '%1'.  Reason: %2").arg(d_file_name, file.errorString()));
    }
    const QByteArray data = file.readAll();
    file.close();

    Parse(data, namespace_processing, QStringLiteral("file"));
    Check_Root(identification, version);
}

void TXmlFile::Open_Data(const QByteArray &data, const QString &identification, int *version,
                         bool namespace_processing)
{
    Parse(data, namespace_processing, QStringLiteral("data"));
    Check_Root(identification, version);
}

void TXmlFile::Parse(const QByteArray &data, bool namespace_processing, const QString &source_name)
{
    QString message;
    int line = 0;
    int column = 0;

    QXmlStreamReader check(data);
    check.setNamespaceProcessing(namespace_processing);
    bool parsed = Is_Safe_Document(&check);
    if (!parsed)
    {
        message = check.errorString();
        line = static_cast<int>(check.lineNumber());
        column = static_cast<int>(check.columnNumber());
    }
    else
    {
        QXmlStreamReader reader(data);
        parsed = d_document.setContent(&reader, namespace_processing, &message, &line, &column);
    }
    if (!parsed)
    {
        d_root.clear();
        Throw_Data_Error(QStringLiteral("Reference %1 XML parse error at line %2 column %3: %4")
                             .arg(source_name)
                             .arg(line)
                             .arg(column)
                             .arg(message));
    }
}

void TXmlFile::Check_Root(const QString &identification, int *version)
{
    d_root = d_document.documentElement();
    if (d_root.tagName() != identification)
    {
        Throw_Data_Error(
            QStringLiteral("Identification '%1' does not match '%2'").arg(identification, d_root.tagName()));
    }
    d_document_type_name = d_document.doctype().name();
    d_identification = identification;

    if (version)
    {
        if (!d_root.hasAttribute(QStringLiteral("File_Version")))
        {
            Throw_Data_Error(QStringLiteral("The 'File_Version' attribute is missing."));
        }
        *version = d_root.attribute(QStringLiteral("File_Version")).toInt();
    }
}

QString TXmlFile::Read_Text_Node(const QDomElement *node, bool optional) const
{
    QUILLON_ASSERT(node);
    return Read_Text(*node, node->tagName(), optional);
}

QString TXmlFile::Read_Text_Node(const QDomNode *node, bool optional) const
{
    QUILLON_ASSERT(node);
    return Read_Text(*node, node->localName(), optional);
}

QString TXmlFile::Read_Text(const QDomNode &node, const QString &node_name, bool optional) const
{
    if (node.isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot read data from a NULL node"));
    }
    const QDomNode child = node.firstChild();
    const QString text = child.isText() ? child.nodeValue() : QString();
    if (text.isEmpty() && !optional)
    {
        Throw_Data_Error(QStringLiteral("Node Text for '%1' is not optional.").arg(node_name));
    }
    return text;
}

QString TXmlFile::Read_Attribute(const QDomElement *node, const QString &name, bool optional) const
{
    QUILLON_ASSERT(node);
    return Read_Attribute_Value(*node, name, optional);
}

QString TXmlFile::Read_Attribute(const QDomNode *node, const QString &name, bool optional) const
{
    QUILLON_ASSERT(node);
    return Read_Attribute_Value(*node, name, optional);
}

QString TXmlFile::Read_Attribute_Value(const QDomNode &node, const QString &name, bool optional) const
{
    if (node.isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot read attribute from a NULL node"));
    }
    const QDomElement element = node.toElement();
    if (!element.hasAttribute(name))
    {
        if (!optional)
        {
            Throw_Data_Error(QStringLiteral("Node attribute '%1' missing and not optional.").arg(name));
        }
        return QString();
    }
    return element.attribute(name);
}

QDomElement TXmlFile::Get_Node(const QDomElement *node, const QString &name, bool optional) const
{
    QUILLON_ASSERT(node);
    return Child_Element(*node, name, node->tagName(), optional);
}

QDomElement TXmlFile::Get_Node(const QDomNode *node, const QString &name, bool optional) const
{
    QUILLON_ASSERT(node);
    return Child_Element(*node, name, node->nodeName(), optional);
}

QDomElement TXmlFile::Child_Element(const QDomNode &node, const QString &name, const QString &node_name,
                                    bool optional) const
{
    if (node.isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot get child from a NULL node"));
    }
    const QDomElement child = node.firstChildElement(name);
    if (child.isNull() && !optional)
    {
        Throw_Data_Error(
            QStringLiteral("Node '%1' is missing from node '%2' and not optional.").arg(name, node_name));
    }
    return child;
}

QDomElement TXmlFile::Get_Sibling_Node(const QDomElement *current_node, const QString &name,
                                       bool optional) const
{
    QUILLON_ASSERT(current_node);
    if (current_node->isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot get sibling from a NULL node"));
    }
    const QDomElement sibling = current_node->nextSiblingElement(name);
    if (sibling.isNull() && !optional)
    {
        Throw_Data_Error(QStringLiteral("Node '%1' is missing from node '%2' and not optional.")
                             .arg(name, current_node->tagName()));
    }
    return sibling;
}

QDomNode TXmlFile::Get_First_Node(const QDomElement *parent, bool optional) const
{
    QUILLON_ASSERT(parent);
    return First_Child(*parent, parent->tagName(), optional);
}

QDomNode TXmlFile::Get_First_Node(const QDomNode *parent, bool optional) const
{
    QUILLON_ASSERT(parent);
    return First_Child(*parent, parent->localName(), optional);
}

QDomNode TXmlFile::First_Child(const QDomNode &parent, const QString &parent_name, bool optional) const
{
    const QDomNode child = parent.firstChild();
    if (child.isNull() && !optional)
    {
        Throw_Data_Error(
            QStringLiteral("Parent '%1' does not have nodes and they are not optional.").arg(parent_name));
    }
    return child;
}

QDomNode TXmlFile::Get_Sibling_Node(const QDomElement *current_node, bool optional) const
{
    QUILLON_ASSERT(current_node);
    return Next_Sibling(*current_node, current_node->tagName(), optional);
}

QDomNode TXmlFile::Get_Sibling_Node(const QDomNode *current_node, bool optional) const
{
    QUILLON_ASSERT(current_node);
    return Next_Sibling(*current_node, current_node->localName(), optional);
}

QDomNode TXmlFile::Next_Sibling(const QDomNode &current, const QString &current_name, bool optional) const
{
    const QDomNode sibling = current.nextSibling();
    if (sibling.isNull() && !optional)
    {
        Throw_Data_Error(
            QStringLiteral("Node '%1' does not have siblings and they are not optional.").arg(current_name));
    }
    return sibling;
}

void TXmlFile::Reset(const QString &root_name, int version)
{
    d_document.clear();
    d_document.appendChild(d_document.createProcessingInstruction(
        QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"utf-8\"")));
    Append_Root(root_name, version);
}

void TXmlFile::Reset(const QString &doctype_name, const QString &root_name, int version)
{
    d_document = QDomDocument(doctype_name);
    Append_Root(root_name, version);
}

void TXmlFile::Append_Root(const QString &root_name, int version)
{
    d_root = d_document.createElement(root_name);
    d_root.setAttribute(QStringLiteral("File_Version"), version);
    d_document.appendChild(d_root);
}

void TXmlFile::Clear()
{
    d_document.clear();
    d_root.clear();
}

QDomElement TXmlFile::Create_Node(QDomElement *parent, const QString &name)
{
    QUILLON_ASSERT(parent);
    if (parent->isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot create node from a NULL node"));
    }
    if (name.isEmpty())
    {
        Throw_Data_Error(QStringLiteral("Cannot create an unnamed node"));
    }
    QDomElement node = d_document.createElement(name);
    parent->appendChild(node);
    return node;
}

void TXmlFile::Write_Text_Node(QDomElement *node, const QString &text)
{
    QUILLON_ASSERT(node);
    if (node->isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot append data to a NULL node"));
    }
    const QDomText text_node = d_document.createTextNode(text);
    if (text_node.isNull())
    {
        Throw_Data_Error(QStringLiteral("Cannot write node '%1' with data '%2'").arg(node->tagName(), text));
    }
    node->appendChild(text_node);
}

void TXmlFile::Write_Text_Node(QDomElement *node, const double &value, int precision)
{
    Write_Text_Node(node, Number_Text(value, precision));
}

void TXmlFile::Write_Text_Node(QDomElement *node, int value)
{
    Write_Text_Node(node, QString::number(value));
}

void TXmlFile::Write_Attribute(QDomElement *node, const QString &name, const QString &value)
{
    QUILLON_ASSERT(node);
    if (name.isEmpty())
    {
        Throw_Data_Error(QStringLiteral("Cannot create an unnamed attribute"));
    }
    node->setAttribute(name, value);
}

void TXmlFile::Write_Attribute(QDomElement *node, const QString &name, const double &value, int precision)
{
    Write_Attribute(node, name, Number_Text(value, precision));
}

void TXmlFile::Write_Attribute(QDomElement *node, const QString &name, int value)
{
    Write_Attribute(node, name, QString::number(value));
}

void TXmlFile::Write_File(bool compact)
{
    const QFileInfo info(d_file_name);
    if (info.exists() && !info.isWritable())
    {
        Throw_Access_Error(QStringLiteral("Cannot open file '%1' for writing").arg(d_file_name));
    }

    QString reason;
    if (!CheckedFile::Write(d_file_name, Serialise(compact), &reason))
    {
        Throw_Data_Error(QStringLiteral("Cannot write file '%1'.  Reason: %2").arg(d_file_name, reason));
    }
}

void TXmlFile::Write_Data(QByteArray *data, bool compact)
{
    QUILLON_ASSERT(data);
    data->append(Serialise(compact));
}

QByteArray TXmlFile::Serialise(bool compact) const
{
    QByteArray data;
    {
        QTextStream stream(&data, QIODevice::WriteOnly);
        d_document.save(stream, compact ? 0 : INDENTATION, QDomNode::EncodingFromDocument);
    }
    if (compact)
    {
        data.replace('\r', QByteArray()).replace('\n', QByteArray());
    }
    return data;
}
