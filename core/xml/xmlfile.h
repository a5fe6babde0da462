#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QDomNode>
#include <QString>

// Every failure of TXmlFile; the message begins with "ERR:  ".
class TXmlFileException
{
  public:
    enum TExceptionType
    {
        FILE_ACCESS_ERROR = 0,
        DATA_ERROR = 1
    };

    TXmlFileException(const QString &message, TExceptionType type) : d_message(message), d_type(type) {}

    const QString &Message() const { return d_message; }
    TExceptionType Type() const { return d_type; }

  private:
    QString d_message;
    TExceptionType d_type;
};

// A DOM document for small versioned XML data files: read with a root name and File_Version check,
// navigate with optional or mandatory items, build and write indented or on one line. One object
// serves one read or one write.
class TXmlFile
{
  public:
    TXmlFile();
    TXmlFile(const TXmlFile &) = delete;
    TXmlFile &operator=(const TXmlFile &) = delete;

    const QString &File_Name() const { return d_file_name; }
    void Set_File_Name(const QString &file_name) { d_file_name = file_name; }
    QDomElement Root_Node() const { return d_root; }
    const QString &Identification() const { return d_identification; }
    const QString &Document_Type_Name() const { return d_document_type_name; }

    void Open(const QString &identification, int *version, bool namespace_processing);
    void Open_Data(const QByteArray &data, const QString &identification, int *version,
                   bool namespace_processing);

    QString Read_Text_Node(const QDomElement *node, bool optional) const;
    QString Read_Text_Node(const QDomNode *node, bool optional) const;
    QString Read_Attribute(const QDomElement *node, const QString &name, bool optional) const;
    QString Read_Attribute(const QDomNode *node, const QString &name, bool optional) const;
    QDomElement Get_Node(const QDomElement *node, const QString &name, bool optional) const;
    QDomElement Get_Node(const QDomNode *node, const QString &name, bool optional) const;
    QDomElement Get_Sibling_Node(const QDomElement *current_node, const QString &name, bool optional) const;
    QDomNode Get_First_Node(const QDomElement *parent, bool optional) const;
    QDomNode Get_First_Node(const QDomNode *parent, bool optional) const;
    QDomNode Get_Sibling_Node(const QDomElement *current_node, bool optional) const;
    QDomNode Get_Sibling_Node(const QDomNode *current_node, bool optional) const;

    void Reset(const QString &root_name, int version);
    void Reset(const QString &doctype_name, const QString &root_name, int version);
    void Clear();

    QDomElement Create_Node(QDomElement *parent, const QString &name);
    void Write_Text_Node(QDomElement *node, const QString &text);
    void Write_Text_Node(QDomElement *node, const double &value, int precision);
    void Write_Text_Node(QDomElement *node, int value);
    void Write_Attribute(QDomElement *node, const QString &name, const QString &value);
    void Write_Attribute(QDomElement *node, const QString &name, const double &value, int precision);
    void Write_Attribute(QDomElement *node, const QString &name, int value);

    void Write_File(bool compact);
    void Write_Data(QByteArray *data, bool compact);

  private:
    void Parse(const QByteArray &data, bool namespace_processing, const QString &source_name);
    void Check_Root(const QString &identification, int *version);
    void Append_Root(const QString &root_name, int version);
    QByteArray Serialise(bool compact) const;

    QString Read_Text(const QDomNode &node, const QString &node_name, bool optional) const;
    QString Read_Attribute_Value(const QDomNode &node, const QString &name, bool optional) const;
    QDomElement Child_Element(const QDomNode &node, const QString &name, const QString &node_name,
                              bool optional) const;
    QDomNode First_Child(const QDomNode &parent, const QString &parent_name, bool optional) const;
    QDomNode Next_Sibling(const QDomNode &current, const QString &current_name, bool optional) const;

    QDomDocument d_document;
    QDomElement d_root;
    QString d_file_name;
    QString d_identification;
    QString d_document_type_name;
};
