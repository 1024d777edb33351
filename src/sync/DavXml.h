#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

// The XML of WebDAV and CalDAV (RFC 4918, 4791, 6578): the request bodies
// we send and the multistatus replies we read. A reply is a stranger's
// text: whatever it holds, reading it ends in a result or a DavError.
namespace Dav {

class DavError : public std::runtime_error {
public:
    explicit DavError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// One <response>: a resource and those of its properties the server gave
// with a 2xx status.
struct Response {
    QString href;   // as the server wrote it, resolved against the request
    int status = 0; // of the response itself (a removal in a sync report: 404), or 0
    QString etag;
    QByteArray calendarData;
    bool collection = false, calendar = false;
    QStringList components; // supported-calendar-component-set
    QString displayName;
    QString principal, homeSet; // hrefs
};

struct Multistatus {
    std::vector<Response> responses;
    QString syncToken; // of a sync-collection report
};

// base is the address the request went to: relative hrefs resolve against it
// and come out as paths (percent-encoded as the server sent them).
Multistatus ParseMultistatus(const QByteArray& xml, const QString& base);

// A DAV:error body of a refused sync-collection report.
bool IsInvalidSyncToken(const QByteArray& xml);

QByteArray PropfindDiscovery(); // principal, home set, resource type, components, name
QByteArray PropfindEtags();     // getetag and resource type
QByteArray SyncCollection(const QString& token);
QByteArray Multiget(const QStringList& hrefs);
QByteArray MakeCalendar(const QString& displayName);

} // namespace Dav
