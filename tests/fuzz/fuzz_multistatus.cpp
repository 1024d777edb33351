// The WebDAV multistatus reader: whatever a server sends, a result or a
// DavError. Input: the body of a reply.
#include "sync/DavXml.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const Dav::Multistatus ms =
            Dav::ParseMultistatus(bytes, QStringLiteral("https://example.org/cal/tasks/"));
        for (const Dav::Response& r : ms.responses)
            if (r.status < 0 || r.calendarData.size() > bytes.size())
                __builtin_trap();
    } catch (const Dav::DavError&) {
    }
    Dav::IsInvalidSyncToken(bytes);
    return 0;
}
