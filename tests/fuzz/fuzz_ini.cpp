// The settings file: reads of any bytes, then a write, which must leave
// its key readable with its value and every other line as it was.
#include "FuzzSupport.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::WriteInput("zvConf.ini", data, size);
    const IniFile ini(path);
    for (const char* key : {"hintSize", "visitWeb", "Left", ""}) {
        (void)ini.readString(QStringLiteral("option"), QLatin1String(key), QStringLiteral("d"));
        (void)ini.readInteger(QStringLiteral("form"), QLatin1String(key), 7);
        (void)ini.readBool(QStringLiteral("task"), QLatin1String(key), true);
    }
    try {
        ini.writeString(QStringLiteral("option"), QStringLiteral("hintSize"),
                        QStringLiteral("v17"));
    } catch (const IniWriteError&) {
        __builtin_trap(); // a readable, writable file in a writable folder
    }
    if (ini.readString(QStringLiteral("option"), QStringLiteral("hintSize"), QString()) !=
        QLatin1String("v17"))
        __builtin_trap();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray after = f.readAll();
    // Never more than the line it wrote, a section line and line breaks.
    if (after.size() > qsizetype(size) + 40)
        __builtin_trap();
    return 0;
}
