// The XML reader: parse, then walk by the paths the readers use.
#include "core/XmlTry.h"

#include <cstdint>
#include <pugixml.hpp>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int boxes = 0;
    Txmltry xml([&boxes](const QString&) { ++boxes; });
    try {
        xml.LoadXml(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
        for (const char* section : {"zarvik,tasks", "zarvik,memos", "zarvik"}) {
            const int n = xml.ChildCount(QLatin1String(section));
            for (int i = 0; i < n && i < 64; ++i) {
                const QString path =
                    QLatin1String(section) + QStringLiteral(",x#") + QString::number(i);
                (void)xml.GetAttr(path, QStringLiteral("tid"));
                xml.SetAttr(path, QStringLiteral("content"), QStringLiteral("it's"));
            }
        }
        (void)xml.GetAttr(QStringLiteral("zarvik"), QStringLiteral("app"));
        (void)xml.FindNode(QStringLiteral("zarvik,tasks,task#-1,memo#99999999999"));
        (void)xml.Serialise();
    } catch (const XmlFileError&) {
    }
    return 0;
}
