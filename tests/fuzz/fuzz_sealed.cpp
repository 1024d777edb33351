// The sealed-file reader: any bytes, one password; a cheap key derivation
// at most, or the fuzzer would spend its time in it.
#include "platform/Sealed.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto plain = Sealed::Open(bytes, QStringLiteral("pw"), 2000);
    if (plain && plain->size() != bytes.size() - Sealed::HeaderSize - Sealed::TagSize)
        __builtin_trap();
    return 0;
}
