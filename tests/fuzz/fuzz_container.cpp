// The container decode: an 8-byte length, then a zlib stream.
#include "core/XmlTry.h"

#include <QBuffer>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    try {
        const QByteArray xml = Txmltry::DecodeContainer(in);
        // What comes out was really in the stream: at most its ratio.
        if (xml.size() > qsizetype(size) * 1032 + 1024)
            __builtin_trap();
    } catch (const XmlFileError&) {
    }
    return 0;
}
