#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

class XmlFileError : public std::runtime_error {
public:
    explicit XmlFileError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// A file sealed with a password that was not given.
class XmlPasswordError : public XmlFileError {
public:
    using XmlFileError::XmlFileError;
};

// One XML document addressed by comma-separated paths such as
// "zarvik,tasks,task#3", stored in the interchange container: an 8-byte
// little-endian length, then a zlib stream of that many bytes of UTF-8 XML.
class Txmltry {
public:
    // errorBox shows the missing-attribute message; none: not shown.
    explicit Txmltry(std::function<void(const QString&)> errorBox = {});
    ~Txmltry();
    Txmltry(const Txmltry&) = delete;
    Txmltry& operator=(const Txmltry&) = delete;

    void LoadXml(const QString& text); // throws XmlFileError
    void LoadFile(const QString& fileName, bool compressed = true);
    void SaveFile(const QString& fileName, bool compressed = true) const;

    pugi::xml_node FindNode(const QString& path) const;
    int ChildCount(const QString& path) const;
    QString GetAttr(const QString& path, const QString& name) const;
    bool SetAttr(const QString& path, const QString& name, const QString& value);

    pugi::xml_document& document() { return *m_doc; }
    // The serialised document as it goes into the container.
    QByteArray Serialise() const;
    // Reads a container file's XML bytes; every damaged form is refused.
    static QByteArray ReadContainer(const QString& fileName);
    static QByteArray DecodeContainer(class QIODevice& in);
    static QByteArray Compress(const QByteArray& xml); // the container bytes
    // Children of node by position, without walking from the first each time.
    pugi::xml_node Child(pugi::xml_node node, int position) const;
    // Forget positions after the document changed.
    void Invalidate() const;

private:
    void parse(QByteArray utf8);
    std::unique_ptr<pugi::xml_document> m_doc;
    QByteArray m_buffer; // the parsed text, which the document points into
    std::function<void(const QString&)> m_errorBox;
    struct Index;
    std::unique_ptr<Index> m_index;
};
