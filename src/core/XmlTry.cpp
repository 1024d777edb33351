#include "XmlTry.h"

#include "platform/FileWriter.h"
#include "platform/Sealed.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <pugixml.hpp>
#include <unordered_map>
#include <vector>
#include <zlib.h>

namespace {

// deflate cannot expand data more than about 1032 to 1: a header claiming
// more than that from the file's size is a damaged or hostile file.
constexpr qint64 kMaxRatio = 1032;
// Whitespace-only text is dropped by default; attribute line breaks stay.
constexpr unsigned kParseOptions = pugi::parse_default & ~pugi::parse_wconv_attribute;

struct BufferWriter : pugi::xml_writer {
    QByteArray data;
    void write(const void* p, size_t size) override {
        data.append(static_cast<const char*>(p), static_cast<qsizetype>(size));
    }
};

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

} // namespace

struct Txmltry::Index {
    std::unordered_map<const void*, std::vector<pugi::xml_node>> children;
};

Txmltry::Txmltry(std::function<void(const QString&)> errorBox)
    : m_doc(std::make_unique<pugi::xml_document>()), m_errorBox(std::move(errorBox)),
      m_index(std::make_unique<Index>()) {}

Txmltry::~Txmltry() = default;

void Txmltry::Invalidate() const {
    m_index->children.clear();
}

namespace {
// The length of a reference to U+0000 ("&#0;", "&#x00;") at d, else 0.
qsizetype nulReferenceAt(const char* d, const char* end) {
    const char* i = d + 2;
    if (i < end && (*i == 'x' || *i == 'X'))
        ++i;
    const char* digits = i;
    while (i < end && *i == '0')
        ++i;
    return i > digits && i < end && *i == ';' ? i + 1 - d : 0;
}

// A reference to NUL would end the value there, cutting the text: it goes
// and the rest stays, as the writer leaves NUL out.
void dropNulReferences(QByteArray& bytes) {
    qsizetype at = bytes.indexOf("&#");
    const char* end = bytes.constData() + bytes.size();
    while (at >= 0 && !nulReferenceAt(bytes.constData() + at, end))
        at = bytes.indexOf("&#", at + 2);
    if (at < 0)
        return;
    char* d = bytes.data();
    end = d + bytes.size();
    char* out = d + at;
    for (const char* i = out; i < end;) {
        const qsizetype skip = *i == '&' && i + 1 < end && i[1] == '#' ? nulReferenceAt(i, end) : 0;
        if (skip)
            i += skip;
        else
            *out++ = *i++;
    }
    bytes.truncate(out - d);
}
} // namespace

void Txmltry::parse(QByteArray bytes) {
    Invalidate();
    // Parsed in place: the values point into the one buffer, which the
    // document keeps, so a large file is held once, not twice.
    auto doc = std::make_unique<pugi::xml_document>();
    bytes.detach();
    dropNulReferences(bytes);
    const pugi::xml_parse_result r = doc->load_buffer_inplace(bytes.data(), size_t(bytes.size()),
                                                              kParseOptions, pugi::encoding_utf8);
    if (!r || !doc->document_element())
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "The XML is not well formed: %1")
                .arg(QString::fromUtf8(r.description())));
    m_doc = std::move(doc);
    m_buffer = std::move(bytes);
}

void Txmltry::LoadXml(const QString& text) {
    parse(text.toUtf8());
}

QByteArray Txmltry::ReadContainer(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "Cannot open \"%1\".").arg(fileName));
    if (!Sealed::IsSealed(f.peek(Sealed::HeaderSize)))
        return DecodeContainer(f);
    QByteArray plain;
    try {
        plain = Sealed::Unseal(f.readAll(), fileName);
    } catch (const Sealed::WrongFilePassword& e) {
        throw XmlPasswordError(QString::fromStdString(e.what()));
    }
    QBuffer in(&plain);
    in.open(QIODevice::ReadOnly);
    return DecodeContainer(in);
}

QByteArray Txmltry::DecodeContainer(QIODevice& f) {
    const QByteArray header = f.read(8);
    if (header.size() != 8)
        throw XmlFileError(QCoreApplication::translate("Interchange", "The file is too short."));
    const qint64 length = qFromLittleEndian<qint64>(header.constData());
    const qint64 streamSize = f.size() - 8;
    if (length <= 0 || streamSize <= 0 || length > streamSize * kMaxRatio + 1024)
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "The file's length field is not valid."));

    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "The decompressor could not start."));
    QByteArray out;
    QByteArray in;
    bool ended = false;
    int rc = Z_OK;
    while (out.size() < length && !ended) {
        in = f.read(64 * 1024);
        if (in.isEmpty())
            break; // the stream stopped short
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(in.size());
        while (z.avail_in > 0 && out.size() < length) {
            // The output grows with what the stream really yields, never to
            // the claimed length up front.
            const qsizetype chunk = qMin<qint64>(length - out.size(), 256 * 1024);
            const qsizetype old = out.size();
            // Doubling, but never past the length: the buffer ends at the
            // size of the text, not up to twice it.
            if (out.capacity() < old + chunk)
                out.reserve(qMin<qint64>(length, qMax<qint64>(2 * out.capacity(), old + chunk)));
            out.resize(old + chunk);
            z.next_out = reinterpret_cast<Bytef*>(out.data() + old);
            z.avail_out = uInt(chunk);
            rc = inflate(&z, Z_NO_FLUSH);
            out.resize(old + chunk - qsizetype(z.avail_out));
            if (rc == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (rc != Z_OK && rc != Z_BUF_ERROR) {
                inflateEnd(&z);
                throw XmlFileError(
                    QCoreApplication::translate("Interchange", "The compressed data is damaged."));
            }
            if (rc == Z_BUF_ERROR && z.avail_in > 0 && z.avail_out > 0) {
                inflateEnd(&z);
                throw XmlFileError(
                    QCoreApplication::translate("Interchange", "The compressed data is damaged."));
            }
        }
    }
    inflateEnd(&z);
    if (out.size() < length)
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "The compressed data ends early."));
    return out;
}

void Txmltry::LoadFile(const QString& fileName, bool compressed) {
    if (compressed) {
        parse(ReadContainer(fileName));
        return;
    }
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "Cannot open \"%1\".").arg(fileName));
    parse(f.readAll());
}

QByteArray Txmltry::Serialise() const {
    BufferWriter w;
    m_doc->save(w, "", pugi::format_raw, pugi::encoding_utf8);
    return w.data;
}

QByteArray Txmltry::Compress(const QByteArray& xml) {
    QByteArray out(8, Qt::Uninitialized);
    qToLittleEndian<qint64>(xml.size(), out.data());
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK)
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "The compressor could not start."));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(xml.constData()));
    z.avail_in = uInt(xml.size());
    const uLong bound = deflateBound(&z, uLong(xml.size()));
    out.resize(8 + qsizetype(bound));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + 8);
    z.avail_out = uInt(bound);
    const int rc = deflate(&z, Z_FINISH);
    const qsizetype written = qsizetype(bound - z.avail_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "The data could not be compressed."));
    out.resize(8 + written);
    return out;
}

void Txmltry::SaveFile(const QString& fileName, bool compressed) const {
    const QByteArray data =
        Sealed::SealIfProtected(compressed ? Compress(Serialise()) : Serialise());
    // Written beside and then put in place: a failed write never leaves a
    // half file where a good one was.
    if (!FileWriter::TryWrite(fileName, data))
        throw XmlFileError(
            QCoreApplication::translate("Interchange", "Cannot write \"%1\".").arg(fileName));
}

pugi::xml_node Txmltry::Child(pugi::xml_node node, int position) const {
    auto& list = m_index->children[node.internal_object()];
    if (list.empty() && node.first_child()) {
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
            list.push_back(c);
    }
    if (position < 0 || position >= int(list.size()))
        return pugi::xml_node();
    return list[size_t(position)];
}

pugi::xml_node Txmltry::FindNode(const QString& path) const {
    pugi::xml_node node = m_doc->document_element();
    const qsizetype comma = path.indexOf(u',');
    if (comma < 0)
        return node;
    QString remainder = path.mid(comma + 1);
    const qsizetype steps = path.count(u',');
    for (qsizetype s = 0; s < steps; ++s) {
        QString component;
        const qsizetype next = remainder.indexOf(u',');
        if (s == steps - 1 || next < 0) {
            component = remainder;
        } else {
            component = remainder.left(next);
            remainder = remainder.mid(next + 1);
        }
        const qsizetype hash = component.indexOf(u'#');
        if (hash >= 0) {
            bool ok = false;
            const int n = component.mid(hash + 1).toInt(&ok, 10);
            if (!ok)
                throw XmlFileError(
                    QCoreApplication::translate("Interchange", "'%1' is not a valid integer value")
                        .arg(component.mid(hash + 1)));
            if (pugi::xml_node c = Child(node, n))
                node = c;
        } else {
            const QByteArray name = utf8(component);
            for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
                if (name == c.name()) {
                    node = c;
                    break;
                }
        }
    }
    return node;
}

int Txmltry::ChildCount(const QString& path) const {
    const pugi::xml_node node = FindNode(path);
    Child(node, 0); // builds the position list once
    return int(m_index->children[node.internal_object()].size());
}

QString Txmltry::GetAttr(const QString& path, const QString& name) const {
    const pugi::xml_attribute a = FindNode(path).attribute(utf8(name).constData());
    if (!a) {
        if (m_errorBox)
            m_errorBox(path + QStringLiteral(": ") + name +
                       QCoreApplication::translate("Interchange", " not Exist !"));
        return QString();
    }
    return QString::fromUtf8(a.value());
}

bool Txmltry::SetAttr(const QString& path, const QString& name, const QString& value) {
    pugi::xml_attribute a = FindNode(path).attribute(utf8(name).constData());
    if (!a) {
        if (m_errorBox)
            m_errorBox(path + QStringLiteral(": ") + name +
                       QCoreApplication::translate("Interchange", " not Exist !"));
        return false;
    }
    a.set_value(utf8(value).constData());
    return true;
}
