#include "IniFile.h"

#include "FileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

// The file's bytes: empty when there is no file, nothing when there is one
// that cannot be read.
std::optional<QByteArray> readBytes(const QString& path) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        return f.readAll();
    if (f.exists())
        return std::nullopt;
    return QByteArray();
}

// The file's lines as bytes, each with its own CR if it has one: a write
// changes its own line and hands every other one back as it was.
struct Lines {
    QList<QByteArray> items;
    bool finalBreak = true; // the last line ends with a line break
    QByteArray eol = "\n";

    explicit Lines(const QByteArray& bytes) {
        if (bytes.isEmpty())
            return;
        items = bytes.split('\n');
        finalBreak = bytes.endsWith('\n');
        if (finalBreak)
            items.removeLast();
        if (!items.isEmpty() && items.front().endsWith('\r'))
            eol = "\r\n";
    }
    QByteArray bytes() const {
        QByteArray all = items.join('\n');
        if (finalBreak && !items.isEmpty())
            all += '\n';
        return all;
    }
    static QString text(const QByteArray& line) { return QString::fromUtf8(line).trimmed(); }
};

QStringList readLines(const QString& path) {
    QStringList lines;
    for (const QByteArray& line : Lines(readBytes(path).value_or(QByteArray())).items)
        lines << Lines::text(line);
    return lines;
}

// A change that keeps the length and lies inside one disk sector, as a
// flipped switch does, is written over the old bytes. A sector is written
// whole or not at all, so a crash leaves the old text or the new one; and
// the file keeps its blocks, where a replacement costs an allocation, a
// forced write-back and, on discarding file systems, a discard of the old
// blocks. False when this does not apply or fails: the caller replaces.
bool overwriteInPlace(const QByteArray& path, const QByteArray& old, const QByteArray& data) {
    constexpr qsizetype sector = 512;
    if (old.size() != data.size())
        return false;
    qsizetype first = 0, last = data.size() - 1;
    while (first <= last && old[first] == data[first])
        ++first;
    while (last > first && old[last] == data[last])
        --last;
    if (first > last || first / sector != last / sector)
        return false;
    const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    for (qsizetype at = first; ok && at <= last;) {
        const ssize_t n = ::pwrite(fd, data.constData() + at, size_t(last + 1 - at), off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        at += n;
    }
    return ::close(fd) == 0 && ok;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a "[section]" line, or a null string for any other line.
QString sectionName(const QString& trimmed) {
    if (!trimmed.startsWith(u'['))
        return QString();
    const qsizetype close = trimmed.indexOf(u']');
    const QString name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return name.isNull() ? QStringLiteral("") : name;
}

bool splitKey(const QString& trimmed, QString* key, QString* value) {
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq < 0 || trimmed.startsWith(u';'))
        return false;
    *key = trimmed.left(eq).trimmed();
    if (value)
        *value = trimmed.mid(eq + 1).trimmed();
    return true;
}

} // namespace

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    bool inSection = false;
    for (const QString& t : readLines(m_path)) {
        const QString name = sectionName(t);
        if (!name.isNull()) {
            inSection = sameName(name, section);
            continue;
        }
        QString k, v;
        if (!inSection || !splitKey(t, &k, &v) || !sameName(k, key))
            continue;
        // Matching quotes around a value are not part of it.
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        return v.left(MaxValue);
    }
    return def.left(MaxValue);
}

int IniFile::parseInteger(const QString& text, int def) {
    bool ok = false;
    if (text.size() > 2 && text.startsWith(u'0') && (text.at(1) == u'x' || text.at(1) == u'X')) {
        const uint v = text.mid(2).toUInt(&ok, 16);
        return ok ? static_cast<int>(v) : def;
    }
    const int v = text.toInt(&ok, 10);
    return ok ? v : def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    return parseInteger(readString(section, key, QString()), def);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
    writeStrings(section, {{key, value}});
}

namespace {
// Sets key in the lines of a file, as the profile functions do.
void setKey(Lines& lines, const QString& section, const QString& key, const QString& value) {
    const QByteArray entry = (key + u'=' + value).toUtf8();
    QList<QByteArray>& items = lines.items;

    qsizetype sectionAt = -1, insertAt = -1;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString t = Lines::text(items.at(i));
        const QString name = sectionName(t);
        if (!name.isNull()) {
            if (sectionAt >= 0)
                break; // the section ended without the key
            if (sameName(name, section))
                sectionAt = insertAt = i;
            continue;
        }
        if (sectionAt < 0)
            continue;
        QString k;
        if (splitKey(t, &k, nullptr) && sameName(k, key)) {
            items[i] = entry + (items[i].endsWith('\r') ? "\r" : "");
            return;
        }
        if (!t.isEmpty())
            insertAt = i;
    }
    const QByteArray cr = lines.eol.size() > 1 ? "\r" : "";
    if (sectionAt >= 0) {
        items.insert(insertAt + 1, entry + cr);
    } else {
        if (!items.isEmpty() && !Lines::text(items.back()).isEmpty())
            items << cr;
        items << '[' + section.toUtf8() + ']' + cr << entry + cr;
    }
    // A line added at the end is ended, as every line the program writes.
    lines.finalBreak = lines.finalBreak || sectionAt < 0 || insertAt + 2 >= items.size();
}

} // namespace

void IniFile::writeStrings(const QString& section,
                           const QList<QPair<QString, QString>>& values) const {
    const auto fail = [this] {
        throw IniWriteError(
            QCoreApplication::translate("Settings", "Unable to write to %1").arg(m_path));
    };
    // A file that cannot be read is not taken for an empty one: the write
    // would replace every setting with one key.
    const std::optional<QByteArray> read = readBytes(m_path);
    if (!read)
        fail();
    const QByteArray& old = *read;
    Lines lines(old);
    for (const auto& [key, value] : values)
        setKey(lines, section, key, value);

    // Otherwise written beside and renamed over the old file: a reader or a crash never
    // sees half a file. No forced flush to disk, and plain system calls
    // rather than the file classes' extra status calls: settings change on
    // every view toggle and must stay instant.
    const QByteArray data = lines.bytes();
    const QByteArray path = QFile::encodeName(m_path);
    if (data == old)
        return;
    // The folder may let a rename replace a file its owner made read-only.
    if (::access(path.constData(), F_OK) == 0 && ::access(path.constData(), W_OK) != 0)
        fail();
    if (overwriteInPlace(path, old, data))
        return;
    FileWriter::RemoveStaleTemps(m_path);
    if (!FileWriter::TryWrite(m_path, data, FileWriter::Sync::Quick))
        fail();
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) const {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) const {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
