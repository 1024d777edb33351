#include "DavXml.h"

#include <QCoreApplication>
#include <QUrl>
#include <pugixml.hpp>

namespace Dav {

namespace {

constexpr const char* kDav = "DAV:";
constexpr const char* kCalDav = "urn:ietf:params:xml:ns:caldav";

// The namespace of a prefix, from the nearest declaration above.
QByteArray namespaceOf(pugi::xml_node n, const QByteArray& prefix) {
    const QByteArray attr = prefix.isEmpty() ? QByteArray("xmlns") : "xmlns:" + prefix;
    for (; n; n = n.parent())
        if (pugi::xml_attribute a = n.attribute(attr.constData()))
            return a.value();
    return {};
}

bool is(pugi::xml_node n, const char* ns, const char* local) {
    if (n.type() != pugi::node_element)
        return false;
    const QByteArray name(n.name());
    const qsizetype colon = name.indexOf(':');
    const QByteArray prefix = colon < 0 ? QByteArray() : name.left(colon);
    if (name.mid(colon + 1) != local)
        return false;
    return namespaceOf(n, prefix) == ns;
}

pugi::xml_node child(pugi::xml_node n, const char* ns, const char* local) {
    for (pugi::xml_node c : n.children())
        if (is(c, ns, local))
            return c;
    return {};
}

QString text(pugi::xml_node n) {
    return QString::fromUtf8(n.child_value()).trimmed();
}

// "HTTP/1.1 404 Not Found" -> 404; anything but an HTTP status -> 0
int statusCode(pugi::xml_node n) {
    const QStringList parts = text(n).split(u' ', Qt::SkipEmptyParts);
    const int code = parts.size() >= 2 ? parts.at(1).toInt() : 0;
    return code >= 100 && code <= 599 ? code : 0;
}

QString resolve(const QString& base, const QString& href) {
    const QUrl url = QUrl(base).resolved(QUrl(href.trimmed()));
    return url.path(QUrl::FullyEncoded);
}

void readProp(pugi::xml_node prop, const QString& base, Response& r) {
    for (pugi::xml_node p : prop.children()) {
        if (is(p, kDav, "getetag")) {
            r.etag = text(p);
        } else if (is(p, kDav, "resourcetype")) {
            r.collection = bool(child(p, kDav, "collection"));
            r.calendar = bool(child(p, kCalDav, "calendar"));
        } else if (is(p, kDav, "displayname")) {
            r.displayName = text(p);
        } else if (is(p, kDav, "current-user-principal")) {
            if (pugi::xml_node h = child(p, kDav, "href"))
                r.principal = resolve(base, text(h));
        } else if (is(p, kCalDav, "calendar-home-set")) {
            if (pugi::xml_node h = child(p, kDav, "href"))
                r.homeSet = resolve(base, text(h));
        } else if (is(p, kCalDav, "supported-calendar-component-set")) {
            for (pugi::xml_node c : p.children())
                if (is(c, kCalDav, "comp"))
                    r.components << QString::fromUtf8(c.attribute("name").value()).toUpper();
        } else if (is(p, kCalDav, "calendar-data")) {
            r.calendarData = QByteArray(p.child_value());
        }
    }
}

pugi::xml_node parse(pugi::xml_document& doc, const QByteArray& xml) {
    // No DOCTYPE or entity of the sender's is expanded: pugixml knows none.
    const pugi::xml_parse_result ok =
        doc.load_buffer(xml.constData(), size_t(xml.size()), pugi::parse_default);
    if (!ok)
        throw DavError(QCoreApplication::translate("Dav", "The server's reply is not XML: %1")
                           .arg(QString::fromUtf8(ok.description())));
    return doc.document_element();
}

QByteArray escaped(const QString& s) {
    return s.toUtf8()
        .replace('&', "&amp;")
        .replace('<', "&lt;")
        .replace('>', "&gt;")
        .replace('"', "&quot;");
}

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

} // namespace

Multistatus ParseMultistatus(const QByteArray& xml, const QString& base) {
    pugi::xml_document doc;
    const pugi::xml_node root = parse(doc, xml);
    if (!is(root, kDav, "multistatus"))
        throw DavError(
            QCoreApplication::translate("Dav", "The server's reply is no WebDAV multistatus."));
    Multistatus out;
    for (pugi::xml_node n : root.children()) {
        if (is(n, kDav, "sync-token")) {
            out.syncToken = text(n);
            continue;
        }
        if (!is(n, kDav, "response"))
            continue;
        Response r;
        pugi::xml_node href = child(n, kDav, "href");
        if (!href)
            continue;
        r.href = resolve(base, text(href));
        if (pugi::xml_node s = child(n, kDav, "status"))
            r.status = statusCode(s);
        for (pugi::xml_node ps : n.children()) {
            if (!is(ps, kDav, "propstat"))
                continue;
            const int code = statusCode(child(ps, kDav, "status"));
            if (code >= 200 && code < 300)
                readProp(child(ps, kDav, "prop"), base, r);
        }
        out.responses.push_back(std::move(r));
    }
    return out;
}

bool IsInvalidSyncToken(const QByteArray& xml) {
    pugi::xml_document doc;
    try {
        const pugi::xml_node root = parse(doc, xml);
        return is(root, kDav, "error") && child(root, kDav, "valid-sync-token");
    } catch (const DavError&) {
        return false;
    }
}

QByteArray PropfindDiscovery() {
    return kHead + "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                   "<d:prop><d:current-user-principal/><c:calendar-home-set/><d:resourcetype/>"
                   "<c:supported-calendar-component-set/><d:displayname/></d:prop>"
                   "</d:propfind>";
}

QByteArray PropfindEtags() {
    return kHead + "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/><d:resourcetype/>"
                   "</d:prop></d:propfind>";
}

QByteArray SyncCollection(const QString& token) {
    return kHead + "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" + escaped(token) +
           "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
           "</d:sync-collection>";
}

QByteArray Multiget(const QStringList& hrefs) {
    QByteArray body = kHead + "<c:calendar-multiget xmlns:d=\"DAV:\""
                              " xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                              "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
    for (const QString& h : hrefs)
        body += "<d:href>" + escaped(h) + "</d:href>";
    return body + "</c:calendar-multiget>";
}

QByteArray MakeCalendar(const QString& displayName) {
    return kHead +
           "<c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
           "<d:set><d:prop><d:displayname>" +
           escaped(displayName) +
           "</d:displayname><c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
           "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";
}

} // namespace Dav
